// Draws files at 100,000 tickets through the real operations: the main
// window built offscreen, the save dialog answered through the test seam,
// and every opened ticket added as a row of the Main tab's list. Each
// operation runs several times; the table shows the best and the median.
//
// Run: build/bench/draws_files_bench [tickets, default 100000] [runs, default 5]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "bench/bench_support.h"
#include "core/core.h"
#include "core/files.h"
#include "core/text.h"
#include "draws/draws.h"
#include "draws/main_tab_ids.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

// `count` different simple tickets, in the order a generation might list them.
void list_tickets(int64_t count) {
  ui_clear_items(GADGET_DRAW_LIST);
  forget_listed_tickets();
  g_draw_count = 0;
  size_draw_list(count);
  for (int a = 1; a <= 46 && g_draw_count < count; ++a)
    for (int b = a + 1; b <= 47 && g_draw_count < count; ++b)
      for (int c = b + 1; c <= 48 && g_draw_count < count; ++c)
        for (int d = c + 1; d <= 49 && g_draw_count < count; ++d) {
          ++g_draw_count;
          add_draw_to_list(str_int(a) + "," + str_int(b) + "," + str_int(c) + "," + str_int(d) +
                               ",50",
                           str_int(1 + g_draw_count % 11) + ",12");
        }
}

struct Timing {
  double best;
  double median;
};

Timing time_runs(int runs, const std::function<void()>& prepare, const std::function<void()>& run) {
  std::vector<double> seconds;
  for (int r = 0; r < runs; ++r) {
    if (prepare) prepare();
    auto t0 = std::chrono::steady_clock::now();
    run();
    seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
  std::sort(seconds.begin(), seconds.end());
  return {seconds.front(), seconds[seconds.size() / 2]};
}

void row(const char* what, Timing t, double goal) {
  std::printf("%-34s | %8.3f | %8.3f | %s %g s\n", what, t.best, t.median,
              t.median < goal ? "under" : "OVER", goal);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const int64_t tickets = argc > 1 ? std::atoll(argv[1]) : 100000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  const std::string dir = start_program_in_fresh_folder();
  if (dir.empty()) return 1;

  const std::string path = dir + "/bench.draws.txt";
  const std::string extract = dir + "/bench.txt";
  list_tickets(tickets);
  if (g_draw_count != tickets) {
    std::printf("only %lld tickets could be listed\n", static_cast<long long>(g_draw_count));
    return 1;
  }

  std::printf("%lld simple tickets, %d runs each (seconds)\n\n", static_cast<long long>(tickets),
              runs);
  std::printf("%-34s | %8s | %8s |\n", "operation", "best", "median");
  // Save As over the previous run's file: dialog, overwrite question, write,
  // fsync, rename, recent files.
  Timing save = time_runs(
      runs,
      [&] {
        ui_test_push_file_answer(path);
        if (std::filesystem::exists(path)) ui_test_push_message_answer(UI_ANSWER_YES);
      },
      [] { save_draws_file(0, 1); });
  row("Save As (dialog, write, rename)", save, 1.0);
  Timing save_back = time_runs(runs, nullptr, [] { save_draws_file(1, 0); });
  row("Save to the known file", save_back, 1.0);
  const uintmax_t bytes = std::filesystem::file_size(path);

  // Open: the list emptied, 100,000 tickets read and added as rows.
  Timing open = time_runs(runs, nullptr, [&] { open_draws_file(path); });
  row("Open (read, fill the list)", open, 1.0);
  if (g_draw_count != tickets || ui_count_items(GADGET_DRAW_LIST) != tickets) {
    std::printf("open listed %lld tickets, %d rows\n", static_cast<long long>(g_draw_count),
                ui_count_items(GADGET_DRAW_LIST));
    return 1;
  }

  Timing text = time_runs(
      runs,
      [&] {
        ui_test_push_file_answer(extract);
        if (std::filesystem::exists(extract)) ui_test_push_message_answer(UI_ANSWER_YES);
      },
      [] { extract_draws_to_text(); });
  row("Extract (dialog, write, rename)", text, 1.0);

  std::printf("\ndraws file %.2f MB, extract %.2f MB; messages shown: %zu (the overwrite questions)\n",
              bytes / 1e6, std::filesystem::file_size(extract) / 1e6, ui_test_messages().size());

  // Each save first reads its folder once for the leftovers of killed
  // saves: the main settings saved alone in their folder, then beside
  // 10,000 other files and 100 such leftovers, made again before each run.
  std::printf("\n%-34s | %8s | %8s |\n", "Save Prefs (454 bytes)", "best", "median");
  Timing prefs_alone = time_runs(runs, nullptr, [] { save_main_prefs(); });
  row("the settings files alone", prefs_alone, 0.05);
  for (int i = 0; i < 10000; ++i) {
    FILE* f = std::fopen((dir + "/settings/other" + str_int(i) + ".txt").c_str(), "wb");
    if (f == nullptr) return 1;
    std::fclose(f);
  }
  Timing prefs_crowded = time_runs(
      runs,
      [&] {
        for (int i = 0; i < 100; ++i) {
          std::string name = dir + "/settings/" + staged_file_name(static_cast<uint64_t>(100000 + i));
          FILE* f = std::fopen(name.c_str(), "wb");
          if (f != nullptr) std::fclose(f);
        }
      },
      [] { save_main_prefs(); });
  row("10,000 files, 100 leftovers", prefs_crowded, 0.05);
  int64_t left = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir + "/settings"))
    if (is_staged_file_name(entry.path().filename().string())) ++left;
  if (left != 0) {
    std::printf("%lld leftovers stayed\n", static_cast<long long>(left));
    return 1;
  }

  // A file of 1,000,000 tickets that are 10 different ones over and over:
  // the set of listed tickets holds each once, so opening stays linear.
  const std::string repeated = dir + "/repeated.draws.txt";
  {
    const int64_t repeated_count = 1000000;
    std::string text = "LOTTODRAWSFILE-1.01\r\n  Cost:0.00 EUR\r\n  Repeated:0\r\nTechniques:0\r\n"
                       "(Max Common Numbers:0)\r\n" + str_int(repeated_count) +
                       "\r\n5\r\n2\r\n2022-02-22 18:05:09\r\n";
    for (int64_t i = 1; i <= repeated_count; ++i)
      text += "#:" + str_int(i) + "\r\n1,2,3,4," + str_int(5 + i % 10) + "\r\n1,2\r\n";
    FILE* f = std::fopen(repeated.c_str(), "wb");
    if (f == nullptr || std::fwrite(text.data(), 1, text.size(), f) != text.size()) return 1;
    std::fclose(f);
  }
  std::printf("\n%-34s | %8s | %8s |\n", "1,000,000 tickets, 10 different", "best", "median");
  Timing open_repeated = time_runs(std::min(runs, 3), nullptr, [&] { open_draws_file(repeated); });
  row("Open (read, fill the list)", open_repeated, 2.0);
  if (g_draw_count != 1000000) {
    std::printf("open listed %lld tickets\n", static_cast<long long>(g_draw_count));
    return 1;
  }
  std::filesystem::current_path("/");
  std::filesystem::remove_all(dir);
  return 0;
}
