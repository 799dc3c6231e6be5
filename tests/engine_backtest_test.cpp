// The back-test's counts against readings of the techniques of this test's
// own: the statistics written out from their definitions on the boards
// (never the catalogue's sets), every ticket of a small game walked by brute
// force, the sum of numbers of the full game by a dynamic program, the other
// counts of the full game by binomials, and past results and a walk-forward
// worked by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/state.h"
#include "draws/draws.h"
#include "support/engine_support.h"
#include "support/technique_reading.h"
#include "techniques/backtest.h"
#include "techniques/catalogue.h"
#include "techniques/techniques.h"

namespace {

// The windows of a CheckWindows, by key.
Windows by_key(const CheckWindows& c) {
  Windows w;
  for (const TechniqueRow& row : g_technique_catalogue)
    if (row.check != CHECK_NONE) w.window[row.key] = {c.min[row.id], c.max[row.id]};
  w.longest_run = c.max_number_sequence;
  w.common = c.max_common_numbers;
  return w;
}

// ---- the game and its past results -------------------------------------------

struct PastResult {
  Numbers numbers;
  Stars stars;
};

std::string entry_text(const PastResult& r) {
  auto two = [](int64_t v) { return std::string(v < 10 ? "0" : "") + std::to_string(v); };
  std::string text;
  for (int64_t v : r.numbers) text += two(v) + " ";
  return text + two(r.stars[0]) + " " + two(r.stars[1]);
}

void set_results(const std::vector<PastResult>& results) {
  std::vector<std::string> entries;
  for (const PastResult& r : results) entries.push_back(entry_text(r));
  set_database(entries);
}

const BacktestRow& row_of(const std::string& key) {
  for (const BacktestRow& row : g_backtest_rows)
    if (row.key == key) return row;
  ADD_FAILURE() << "no row " << key;
  static BacktestRow none;
  return none;
}

// Every window at its widest for tickets (nothing rejected), as a start.
CheckWindows wide_windows() {
  CheckWindows w{};
  for (int t = 0; t < TECHNIQUE_COUNT; ++t) {
    w.min[t] = 0;
    w.max[t] = 300;
  }
  w.max_common_numbers = 5;
  w.max_number_sequence = 5;
  return w;
}

class EngineBacktest : public ::testing::Test {
 protected:
  void SetUp() override { start_engine_test(); }
  void use_game(int64_t numbers, int64_t stars) {
    g_highest_number = numbers;
    g_highest_star = stars;
  }
};

// ---- a small game, every ticket checked by brute force ----------------------------

// A game of 18 numbers and 6 stars (8,568 number sets, 15 star pairs) and five
// past results; windows of every kind, some narrow. Each row must keep
// exactly the tickets that its technique alone keeps when read off its
// definition, and "all" exactly those that every check keeps, the common
// numbers counted against every past result.
TEST_F(EngineBacktest, EveryRowOfASmallGameAgreesWithABruteForceCount) {
  use_game(18, 6);
  const std::vector<PastResult> results = {
      {{1, 5, 9, 13, 17}, {1, 4}}, {{2, 3, 4, 11, 18}, {2, 6}}, {{1, 5, 9, 13, 16}, {3, 5}},
      {{6, 7, 12, 14, 15}, {1, 2}}, {{3, 8, 10, 16, 17}, {5, 6}},
  };
  set_results(results);
  CheckWindows c = wide_windows();
  auto set = [&](TechniqueId t, int64_t min, int64_t max) {
    c.min[t] = min;
    c.max[t] = max;
  };
  set(T_sum_numbers, 30, 60);
  set(T_decades, 2, 2);
  set(T_primes, 4, 2);  // checked by the maximum alone: the minimum 4 is never read
  set(T_tallest_first, 0, 6);
  set(T_max_distance, 0, 7);
  set(T_even, 1, 4);
  set(T_ring_2, 0, 2);
  set(T_ending_3, 0, 0);
  set(T_distance_2_3, 2, 9);
  set(T_row_3, 0, 1);
  set(T_right_diagonal_5, 0, 1);
  set(T_half_high, 1, 5);
  set(T_sum_stars, 4, 9);
  set(T_star_row_2, 0, 1);
  set(T_star_column_3, 0, 0);
  c.max_number_sequence = 2;
  c.max_common_numbers = 3;
  ASSERT_EQ(count_backtest_table(c), 1);

  const Windows w = by_key(c);
  std::vector<Numbers> earlier;
  for (const PastResult& r : results) earlier.push_back(r.numbers);
  const int64_t number_sets = 8568, pairs = 15;
  for (const auto& [key, statistic] : number_statistics()) {
    int64_t kept = 0;
    for_each_numbers(18, [&](const Numbers& x) { kept += inside(w, key, statistic(x)) ? 1 : 0; });
    EXPECT_EQ(row_of(key).tickets_inside, kept * pairs) << key;
    EXPECT_EQ(row_of(key).tickets_total, number_sets * pairs) << key;
    int64_t past = 0;
    for (const PastResult& r : results) past += inside(w, key, statistic(r.numbers)) ? 1 : 0;
    EXPECT_EQ(row_of(key).past_inside, past) << key;
    EXPECT_EQ(row_of(key).past_total, 5) << key;
  }
  for (const auto& [key, statistic] : star_statistics()) {
    int64_t kept = 0;
    for_each_stars(6, [&](const Stars& s) { kept += inside(w, key, statistic(s)) ? 1 : 0; });
    EXPECT_EQ(row_of(key).tickets_inside, kept * number_sets) << key;
  }
  int64_t free_of_common = 0, runs_kept = 0, all_numbers = 0, all_stars = 0;
  for_each_numbers(18, [&](const Numbers& x) {
    free_of_common += std::all_of(earlier.begin(), earlier.end(), [&](const Numbers& r) { return shared(x, r) <= 3; });
    runs_kept += run_allowed(w, longest_run(x)) ? 1 : 0;
    all_numbers += numbers_pass(w, x, earlier) ? 1 : 0;
  });
  for_each_stars(6, [&](const Stars& s) { all_stars += stars_pass(w, s) ? 1 : 0; });
  EXPECT_EQ(row_of("max_common_numbers").tickets_inside, free_of_common * pairs);
  EXPECT_EQ(row_of("max_number_sequence").tickets_inside, runs_kept * pairs);
  ASSERT_GT(all_numbers, 0);
  ASSERT_GT(all_stars, 0);
  EXPECT_EQ(row_of("all").tickets_inside, all_numbers * all_stars);

  // Past results through every check, each against the results before it.
  int64_t past_all = 0;
  for (size_t j = 0; j < results.size(); ++j) {
    const std::vector<Numbers> before(earlier.begin(), earlier.begin() + static_cast<std::ptrdiff_t>(j));
    past_all += numbers_pass(w, results[j].numbers, before) && stars_pass(w, results[j].stars) ? 1 : 0;
  }
  EXPECT_EQ(row_of("all").past_inside, past_all);
  // The rows in their order: the checked techniques, the two limits, the
  // associations while the techniques option is on (no check reads them:
  // they keep everything), all.
  ASSERT_EQ(g_use_special_techniques, 1);
  ASSERT_EQ(g_backtest_rows.size(), 73u + 4u);
  EXPECT_EQ(g_backtest_rows.front().key, "sum_numbers");
  EXPECT_EQ(g_backtest_rows[72].key, "star_column_3");
  EXPECT_EQ(g_backtest_rows[73].key, "max_number_sequence");
  EXPECT_EQ(g_backtest_rows[74].key, "max_common_numbers");
  EXPECT_EQ(g_backtest_rows[75].key, "associations");
  EXPECT_EQ(g_backtest_rows[75].past_inside, 5);
  EXPECT_EQ(g_backtest_rows[75].tickets_inside, number_sets * pairs);
  EXPECT_EQ(g_backtest_rows[76].key, "all");
  g_use_special_techniques = 0;
  ASSERT_EQ(count_backtest_table(c), 1);
  ASSERT_EQ(g_backtest_rows.size(), 73u + 3u);
  EXPECT_EQ(g_backtest_rows[74].key, "max_common_numbers");
  EXPECT_EQ(g_backtest_rows[75].key, "all");
  EXPECT_EQ(g_backtest_rows[75].tickets_inside, all_numbers * all_stars);
}

// ---- the full game, counted by hand -----------------------------------------------

// Three past results of the full game and windows set by hand; each figure
// below is worked out in its comment.
TEST_F(EngineBacktest, ThreePastResultsAndTheFullGameCountedByHand) {
  set_results({
      {{1, 2, 3, 4, 5}, {1, 2}},       // sum 15, 2 even, run 5, stars sum 3
      {{2, 3, 4, 5, 40}, {6, 12}},     // sum 54, 3 even, shares 4 with the first
      {{10, 21, 32, 43, 50}, {7, 8}},  // sum 156, 3 even, shares nothing
  });
  CheckWindows c = wide_windows();
  c.min[T_sum_numbers] = 50;
  c.max[T_sum_numbers] = 160;
  c.min[T_even] = 3;
  c.max[T_even] = 3;
  c.min[T_sum_stars] = 10;
  c.max[T_sum_stars] = 23;
  c.max_number_sequence = 1;
  c.max_common_numbers = 3;
  ASSERT_EQ(count_backtest_table(c), 1);
  const int64_t sets = 2118760, pairs = 66;

  // Sums 54 and 156 lie in 50..160, 15 does not.
  EXPECT_EQ(row_of("sum_numbers").past_inside, 2);
  EXPECT_EQ(row_of("sum_numbers").past_total, 3);
  const std::vector<int64_t> sums = five_number_sums();
  int64_t in_window = 0, all_sums = 0;
  for (int64_t s = 0; s <= 240; ++s) {
    all_sums += sums[s];
    if (s >= 50 && s <= 160) in_window += sums[s];
  }
  ASSERT_EQ(all_sums, sets);
  EXPECT_EQ(row_of("sum_numbers").tickets_inside, in_window * pairs);
  EXPECT_EQ(row_of("sum_numbers").tickets_total, 139838160);
  // Further sum windows against the program.
  for (auto [min, max] : {std::pair<int64_t, int64_t>{15, 15}, {100, 100}, {127, 128}, {44, 222}, {240, 240}, {0, 14}}) {
    c.min[T_sum_numbers] = min;
    c.max[T_sum_numbers] = max;
    ASSERT_EQ(count_backtest_table(c), 1);
    int64_t expected = 0;
    for (int64_t s = min; s <= max; ++s) expected += sums[s];
    EXPECT_EQ(row_of("sum_numbers").tickets_inside, expected * pairs) << min << ".." << max;
  }

  // Exactly 3 of 5 even: C(25, 3) C(25, 2) number sets; the second and third
  // results.
  EXPECT_EQ(row_of("even").tickets_inside, binomial(25, 3) * binomial(25, 2) * pairs);
  EXPECT_EQ(row_of("even").past_inside, 2);
  // Star sums of 10 to 23: the 66 pairs less those summing to 3..9
  // (1+2 .. 4+5: 1, 1, 2, 2, 3, 3, 4 pairs = 16); results 2 and 3 (18, 15).
  EXPECT_EQ(row_of("sum_stars").tickets_inside, (66 - 16) * sets);
  EXPECT_EQ(row_of("sum_stars").past_inside, 2);
  // No two consecutive numbers: C(46, 5) sets; only the third result.
  EXPECT_EQ(row_of("max_number_sequence").tickets_inside, binomial(46, 5) * pairs);
  EXPECT_EQ(row_of("max_number_sequence").past_inside, 1);
  // At most 3 numbers shared with one result: the first result has nothing
  // before it and the third shares nothing, the second shares 2, 3, 4 and 5
  // with the first. Of the tickets, those with 4 or 5 numbers of one result
  // are out: 1 + 5 x 45 = 226 for each. No set holds 4 of the third and 4 of
  // another; a set holds 4 of the first and 4 of the second when it holds
  // 2, 3, 4, 5 (46 sets, the fifth number any other) or three of them with
  // both 1 and 40 (4 sets): 3 x 226 - 50 = 628 sets are out.
  EXPECT_EQ(row_of("max_common_numbers").past_inside, 2);
  EXPECT_EQ(row_of("max_common_numbers").tickets_inside, (sets - 628) * pairs);
  EXPECT_EQ(row_of("max_common_numbers").max, 3);
  EXPECT_FALSE(row_of("max_common_numbers").has_min);
}

// ---- a walk-forward worked by hand -------------------------------------------------

// Twenty past results alternate two results A and B, then come A, E, C and
// B, and those four are walked. Before each walked result every technique
// has seen A's value at least ten times and B's ten times (each of them at
// 23 % or more of the commonest, the gaps counted four to a result), so
// Remove at 10 % keeps both and Learn's window is the span of the two. E
// and C, each seen once before the later walks (9 % or less), are struck
// where they lie outside, and the windows stay those spans; Remove sets the
// decades to 3..4 and the run to 2. E lies inside every span, C's sum (15)
// outside 43..68. With no limit on common numbers A, E and B pass and C
// fails; with 4, A and B share all five numbers with a result before them,
// E shares 4 with A and passes. Sixteen number sets lie inside the spans;
// the shares are counted by brute force with those windows, the common
// numbers against the results before each walked one (E among them from the
// third walk on).
TEST_F(EngineBacktest, AWalkForwardOfFourResultsWorkedByHand) {
  use_game(20, 6);
  const PastResult a = {{5, 11, 13, 19, 20}, {1, 4}};  // sum 68, decades 3, a run of 2
  const PastResult b = {{2, 3, 8, 10, 20}, {2, 6}};    // sum 43
  const PastResult e = {{5, 10, 13, 19, 20}, {1, 5}};
  const PastResult c = {{1, 2, 3, 4, 5}, {3, 5}};
  std::vector<PastResult> results;
  for (int i = 0; i < 10; ++i) {
    results.push_back(a);
    results.push_back(b);
  }
  results.insert(results.end(), {a, e, c, b});
  set_results(results);

  Windows w;
  for (const auto& [key, statistic] : number_statistics())
    w.window[key] = std::minmax(statistic(a.numbers), statistic(b.numbers));
  for (const auto& [key, statistic] : star_statistics())
    w.window[key] = std::minmax(statistic(a.stars), statistic(b.stars));
  w.window["decades"] = {3, 4};
  w.longest_run = 2;
  ASSERT_EQ(w.window["sum_numbers"], (std::pair<int64_t, int64_t>{43, 68}));
  int64_t inside_spans = 0;
  for_each_numbers(20, [&](const Numbers& x) { inside_spans += numbers_pass(w, x, {}) ? 1 : 0; });
  ASSERT_EQ(inside_spans, 16);
  ASSERT_TRUE(numbers_pass(w, e.numbers, {}) && stars_pass(w, e.stars));

  const double tickets = 15504.0 * 15.0;  // C(20, 5) x C(6, 2)
  int64_t stars_kept = 0;
  for_each_stars(6, [&](const Stars& s) { stars_kept += stars_pass(w, s) ? 1 : 0; });
  for (int64_t limit : {5, 4}) {
    SCOPED_TRACE(limit);
    w.common = limit;
    ASSERT_EQ(walk_forward(4, limit, 10), 1);
    EXPECT_EQ(g_backtest_walk.results, 4);
    EXPECT_EQ(g_backtest_walk.marks, limit == 5 ? std::vector<uint8_t>({1, 1, 0, 1}) : std::vector<uint8_t>({0, 1, 0, 0}));
    EXPECT_EQ(g_backtest_walk.passed, limit == 5 ? 3 : 1);
    double shares = 0;
    std::vector<int64_t> kept_by_walk;
    for (size_t walked = 20; walked < 24; ++walked) {
      std::vector<Numbers> before;
      for (size_t r = 0; r < walked; ++r) before.push_back(results[r].numbers);
      int64_t kept = 0;
      for_each_numbers(20, [&](const Numbers& x) { kept += numbers_pass(w, x, before) ? 1 : 0; });
      kept_by_walk.push_back(kept);
      shares += static_cast<double>(kept * stars_kept) / tickets;
    }
    // With 4, A and B are out from the first walk on and E from the third.
    EXPECT_EQ(kept_by_walk, limit == 5 ? std::vector<int64_t>({16, 16, 16, 16}) : std::vector<int64_t>({14, 14, 13, 13}));
    EXPECT_NEAR(g_backtest_walk.mean_ticket_share, shares / 4, 1e-12);
  }
}

// The walk-forward works on copies: Learn's tables, the windows, the limits
// and the past results are as they were.
TEST_F(EngineBacktest, TheWalkForwardAndTheTableLeaveTheProgramsStateAlone) {
  set_results({{{3, 17, 22, 41, 50}, {2, 11}}, {{5, 9, 23, 30, 44}, {4, 7}}, {{1, 12, 19, 33, 48}, {3, 9}}});
  for (int i = 0; i < 30; ++i) g_database_draws.push_back(g_database_draws[1 + i % 3]);
  g_database_draw_count = static_cast<int64_t>(g_database_draws.size()) - 1;
  g_techniques[T_sum_numbers].cells.assign(241, OutcomeStat{7, 42});
  g_techniques[T_sum_numbers].min = 60;
  g_techniques[T_sum_numbers].max = 70;
  g_max_number_sequence = 4;
  g_max_common_numbers = 1;
  const std::vector<std::string> draws = g_database_draws;
  const int64_t rejections = g_common_rejections;
  ASSERT_EQ(walk_forward(10, 3, 1), 1);
  ASSERT_EQ(count_backtest_table(wide_windows()), 1);
  EXPECT_EQ(g_techniques[T_sum_numbers].min, 60);
  EXPECT_EQ(g_techniques[T_sum_numbers].max, 70);
  EXPECT_EQ(g_techniques[T_sum_numbers].cells[100].count, 7);
  EXPECT_EQ(g_techniques[T_sum_numbers].cells[100].percent, 42);
  EXPECT_EQ(g_techniques[T_even].max, 0);
  EXPECT_EQ(g_techniques[T_even].min, 999);
  EXPECT_EQ(g_max_number_sequence, 4);
  EXPECT_EQ(g_max_common_numbers, 1);
  EXPECT_EQ(g_database_draws, draws);
  EXPECT_EQ(g_common_rejections, rejections);
  for (const auto& row : g_number_associations)
    for (const OutcomeStat& cell : row) EXPECT_EQ(cell.count, 0);
}

}  // namespace
