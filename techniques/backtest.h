// The back-test of the technique windows (Techniques tab, "Back-test"):
// for each technique alone, for the two limits and for every check together,
// how many of the imported past results and how many of all the tickets of
// the game (every set of 5 numbers of 1..N with every pair of 2 stars of
// 1..M) it lets through, counted exactly; and the walk-forward, which learns
// the windows anew before each of the last results from the results before
// it alone and checks that result against them.
//
// Everything is worked out on copies: no window, table, association matrix,
// past result, limit or gadget of the program changes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "techniques/technique_ids.h"

// What the checks of a simple ticket read: every technique window, the most
// numbers a ticket may share with one past result and the longest run of
// consecutive numbers.
struct CheckWindows {
  int64_t max[TECHNIQUE_COUNT];
  int64_t min[TECHNIQUE_COUNT];
  int64_t max_common_numbers;
  int64_t max_number_sequence;
};

// One row of the back-test table. A row shows the bounds it has a field for:
// a technique checked by its maximum alone and the two limits show their
// maximum only, the associations and all the techniques no bound at all.
struct BacktestRow {
  std::string key;      // the catalogue key, max_number_sequence, max_common_numbers, associations, all
  std::string caption;  // as the window shows it, in the language in force
  bool has_min = false;
  int64_t min = 0;
  bool has_max = false;
  int64_t max = 0;
  int64_t past_inside = 0;
  int64_t past_total = 0;
  int64_t tickets_inside = 0;
  int64_t tickets_total = 0;
};

// The walk-forward over the last `results` past results.
struct BacktestWalk {
  int64_t results = 0;  // 0: none was made (too few past results, or aborted)
  int64_t passed = 0;
  double mean_ticket_share = 0;  // the mean of the shares of all tickets kept, 0..1
  std::vector<uint8_t> marks;    // one per walked result, oldest first: 1 passed, 0 failed
};

extern std::vector<BacktestRow> g_backtest_rows;
extern BacktestWalk g_backtest_walk;

// The walk-forward needs this many past results at least, and learns each
// window from 20 results at least; it walks 100 results unless told.
constexpr int64_t WALK_FORWARD_FEWEST_PAST_RESULTS = 30;
constexpr int64_t WALK_FORWARD_FEWEST_RESULTS = 10;
constexpr int64_t WALK_FORWARD_LEARNED_FROM_AT_LEAST = 20;
constexpr int64_t WALK_FORWARD_DEFAULT_RESULTS = 100;

// The windows and limits as the Techniques-tab fields hold them, read as
// Generate Draws takes them in (read_technique_windows), into a copy.
CheckWindows check_windows_in_fields();

// Both are long operations: they poll one event per step and stop when the
// player confirms an abort, returning 0 with nothing kept; 1 when done.
//
// g_backtest_rows for these windows, the imported past results and the game
// size in force: every technique the checks test, in catalogue order, then
// max_number_sequence, max_common_numbers, associations (only while the
// option "Use special techniques for simple draws" is on) and all. A past
// result is checked for common numbers against the results before it alone,
// a ticket of the game against every past result.
int64_t count_backtest_table(const CheckWindows& windows);
// g_backtest_walk for the last `results` past results (1 .. imported): before
// each of them the windows are learned from the results before it (the
// passes of Learn), narrowed as Remove narrows them at `threshold`, and
// given `max_common_numbers`; the result is checked against them, and every
// ticket of the game too (its common numbers against the results before it).
int64_t walk_forward(int64_t results, int64_t max_common_numbers, int64_t threshold);

// The table and the walk-forward as the saved file holds them: UTF-8, LF line
// ends, the header line, one line per row, then the walk-forward's line.
std::string backtest_table_csv();

// The "Back-test" button: refuses without past results, otherwise counts,
// opens window 960 and runs its own loop until it is closed.
void show_backtest_window();
