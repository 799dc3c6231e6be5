// The back-test on the real history (data/past_results.txt, 1,698 results)
// after Learn and Remove at 1 %, on one core: the table for the windows in
// the fields (goal < 2 s), counted first as the first press of "Back-test"
// counts it and then again with the histograms of the game already kept; the
// walk-forward of the last 100 results (goal < 10 s); and the whole press,
// from the button to the window waiting for the player.
//
// Run: build/bench/backtest_bench [results walked, default 100]
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/app.h"
#include "bench/bench_support.h"
#include "core/core.h"
#include "core/ids.h"
#include "core/text.h"
#include "techniques/backtest.h"
#include "techniques/tab_gadgets.h"
#include "techniques/techniques.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

double seconds_since(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

const char* verdict(bool met) { return met ? "met" : "MISSED"; }

void print_row(const std::string& key) {
  for (const BacktestRow& row : g_backtest_rows)
    if (row.key == key)
      std::printf("  %-20s %4s..%-4s past %lld/%lld, tickets %lld/%lld\n", key.c_str(),
                  row.has_min ? str_int(row.min).c_str() : "", row.has_max ? str_int(row.max).c_str() : "",
                  static_cast<long long>(row.past_inside), static_cast<long long>(row.past_total),
                  static_cast<long long>(row.tickets_inside), static_cast<long long>(row.tickets_total));
}

}  // namespace

int main(int argc, char** argv) {
  const int64_t walked = argc > 1 ? std::atoll(argv[1]) : WALK_FORWARD_DEFAULT_RESULTS;
  const std::string dir = start_program_in_fresh_folder();
  if (dir.empty()) return 1;

  ui_set_state(GADGET_PANEL, TAB_TECHNIQUES);
  ui_test_push_file_answer(std::string(KESTROVA_SOURCE_DIR) + "/data/past_results.txt");
  import_draws_database();
  learn_techniques();
  ui_set_text(GADGET_REMOVE_THRESHOLD, "1");
  remove_weak_outcomes();
  std::printf("back-test on %lld past results, after Learn and Remove at 1 %%\n",
              static_cast<long long>(g_database_draw_count));

  auto t0 = std::chrono::steady_clock::now();
  count_backtest_table(check_windows_in_fields());
  const double first_table = seconds_since(t0);
  t0 = std::chrono::steady_clock::now();
  count_backtest_table(check_windows_in_fields());
  const double later_table = seconds_since(t0);
  std::printf("  table, first count (with the game's histograms): %.3f s (goal < 2 s): %s\n", first_table,
              verdict(first_table < 2.0));
  std::printf("  table, counted again:                          %.3f s\n", later_table);
  print_row("sum_numbers");
  print_row("max_common_numbers");
  print_row("all");

  t0 = std::chrono::steady_clock::now();
  walk_forward(walked, val_int(ui_text(GADGET_MAX_COMMON_NUMBERS)), ui_state(GADGET_REMOVE_THRESHOLD));
  const double walk = seconds_since(t0);
  std::printf("  walk-forward of the last %lld results: %.3f s (goal < 10 s for 100): %s\n",
              static_cast<long long>(walked), walk, verdict(walked != 100 || walk < 10.0));
  std::printf("    %lld of %lld passed, mean share of all tickets kept %.6f\n",
              static_cast<long long>(g_backtest_walk.passed), static_cast<long long>(g_backtest_walk.results),
              g_backtest_walk.mean_ticket_share);

  // The press: from the button to the window's own loop, which the idle hook
  // closes at once.
  double press = -1;
  t0 = std::chrono::steady_clock::now();
  ui_test_set_idle_hook([&] {
    if (press < 0 && ui_window_exists(WINDOW_BACKTEST) && ui_count_items(GADGET_BACKTEST_TABLE) > 0) {
      press = seconds_since(t0);
      ui_test_click(GADGET_BACKTEST_CLOSE);
    }
  });
  show_backtest_window();
  ui_test_set_idle_hook(nullptr);
  std::printf("  the press, table and walk-forward of %lld results: %.3f s\n",
              static_cast<long long>(std::min(WALK_FORWARD_DEFAULT_RESULTS, g_database_draw_count - 20)), press);

  std::filesystem::current_path("/");
  std::filesystem::remove_all(dir);
  return 0;
}
