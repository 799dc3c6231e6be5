// How cheap the gadget layer is where the program leans on it: polling for
// events inside long loops, and filling the draw list one ticket at a time.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "ui/ui.h"

namespace {

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

long resident_kb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return 0;
}

std::string ticket_row(int n) {
  // 26 cells as the draw list holds them: number, 11 numbers, 12 stars, 2 hits.
  std::string row = std::to_string(n);
  for (int c = 1; c <= 11; ++c) row += '\n' + (c <= 5 ? std::to_string((n * 7 + c * 3) % 50 + 1) : "");
  for (int c = 1; c <= 12; ++c) row += '\n' + (c <= 2 ? std::to_string((n + c) % 12 + 1) : "");
  row += "\n0\n0";
  return row;
}

}  // namespace

int main() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (!ui_init()) {
    std::fprintf(stderr, "the toolkit does not start\n");
    return 1;
  }
  ui_open_window(0, 0, 0, 1366, 700, "bench", UI_WINDOW_CAPTION);
  ui_list(26, 4, 15, 985, 434, "#", 95, UI_LIST_CHECKBOXES | UI_LIST_FULL_ROW);
  for (int c = 1; c <= 25; ++c) ui_add_list_column(26, c, std::to_string(c), 34);
  ui_delay(50);

  // 1. Polling with nothing queued.
  constexpr long kPolls = 200'000'000;
  auto start = std::chrono::steady_clock::now();
  long events = 0;
  for (long i = 0; i < kPolls; ++i)
    if (ui_poll_event() != UI_EVENT_NONE) ++events;
  double poll_seconds = seconds_since(start);

  // 2. 100,000 rows of 26 cells, appended one at a time to the shown list,
  // with one poll after each as the generator does; ends once all are shown.
  constexpr int kRows = 100'000;
  std::string rows_text[64];
  for (int i = 0; i < 64; ++i) rows_text[i] = ticket_row(i);
  long memory_before = resident_kb();
  start = std::chrono::steady_clock::now();
  for (int r = 0; r < kRows; ++r) {
    ui_add_item(26, -1, rows_text[r & 63]);
    ui_poll_event();
  }
  ui_delay(0);
  double append_seconds = seconds_since(start);
  long memory_after = resident_kb();

  start = std::chrono::steady_clock::now();
  ui_clear_items(26);
  ui_delay(0);
  double clear_seconds = seconds_since(start);

  // 3. The same with 5 us of the program's own work per row (a generator
  // testing candidates): what the layer adds to that work.
  auto busy = [](double us) {
    auto until = std::chrono::steady_clock::now() + std::chrono::nanoseconds(long(us * 1000));
    while (std::chrono::steady_clock::now() < until) {
    }
  };
  start = std::chrono::steady_clock::now();
  for (int r = 0; r < kRows; ++r) busy(5);
  double work_seconds = seconds_since(start);
  ui_clear_items(26);
  ui_delay(0);
  start = std::chrono::steady_clock::now();
  for (int r = 0; r < kRows; ++r) {
    busy(5);
    ui_add_item(26, -1, rows_text[r & 63]);
    ui_poll_event();
  }
  ui_delay(0);
  double loaded_seconds = seconds_since(start);

  std::printf("| measure | result |\n|---|---|\n");
  std::printf("| ui_poll_event, nothing queued | %.1f M calls/s (%.2f ns a call) |\n",
              kPolls / poll_seconds / 1e6, poll_seconds / kPolls * 1e9);
  std::printf("| append %d rows x 26 cells, shown, one poll each | %.3f s (%.2f us a row) |\n",
              kRows, append_seconds, append_seconds / kRows * 1e6);
  std::printf("| memory of those rows | %.1f MB (%.0f bytes a row) |\n",
              (memory_after - memory_before) / 1024.0,
              (memory_after - memory_before) * 1024.0 / kRows);
  std::printf("| clear the %d rows | %.3f s |\n", kRows, clear_seconds);
  std::printf("| the same append with 5 us of work a row | %.3f s (the work alone %.3f s) |\n",
              loaded_seconds, work_seconds);
  if (events) std::printf("(%ld unexpected events)\n", events);
  ui_shutdown();
  return 0;
}
