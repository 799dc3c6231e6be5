// The catalogue as a whole: start-up state, the statistic behind every
// window, and every technique learning, trimming and being checked as its
// row says.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "core/state.h"
#include "core/text.h"
#include "support/engine_support.h"
#include "techniques/catalogue.h"
#include "techniques/techniques.h"

namespace {

TEST(EngineCatalogue, StartUpStateHasEveryWindowNotLearned) {
  start_engine_test();
  for (const TechniqueRow& row : g_technique_catalogue) {
    SCOPED_TRACE(row.key);
    const TechniqueTable& table = g_techniques[row.id];
    EXPECT_EQ(table.max, 0);
    EXPECT_EQ(table.min, 999);
    for (const OutcomeStat& cell : table.cells) EXPECT_TRUE(cell.count == 0 && cell.percent == 0);
  }
  EXPECT_EQ(g_max_common_numbers, 3);
  EXPECT_EQ(g_max_number_sequence, 1);
  EXPECT_EQ(g_techniques[T_sum_numbers].cells.size(), 241u);
  EXPECT_EQ(g_techniques[T_tallest_first].cells.size(), 51u);
  EXPECT_EQ(g_techniques[T_distance_4_5].cells.size(), 51u);
  EXPECT_EQ(g_techniques[T_even].cells.size(), 6u);
  EXPECT_EQ(g_techniques[T_left_diagonal_12].cells.size(), 6u);
  EXPECT_EQ(g_techniques[T_sum_stars].cells.size(), 24u);
  EXPECT_EQ(g_techniques[T_star_column_3].cells.size(), 3u);
  ASSERT_EQ(g_number_associations.size(), 51u);
  EXPECT_EQ(g_number_associations[50].size(), 51u);
  ASSERT_EQ(g_star_associations.size(), 13u);
  EXPECT_EQ(g_star_associations[12].size(), 51u);
  ASSERT_EQ(g_star_pair_associations.size(), 13u);
  EXPECT_EQ(g_star_pair_associations[12].size(), 13u);
}

// The value each statistic takes on 3,17,22,41,50 (max_distance: the largest gap).
struct Expected {
  TechniqueId technique;
  int64_t value;
};
const Expected kStatisticsOf3_17_22_41_50[] = {
    {T_sum_numbers, 133}, {T_decades, 5}, {T_primes, 3}, {T_tallest_first, 3}, {T_max_distance, 19},
    {T_even, 2}, {T_odd, 3}, {T_low, 3}, {T_high, 2},
    {T_diag1_low, 3}, {T_diag1_high, 2}, {T_diag2_low, 3}, {T_diag2_high, 2},
    {T_half_low, 2}, {T_half_high, 3},
    {T_ring_1, 1}, {T_ring_2, 2}, {T_ring_3, 2},
    {T_decade_0x, 1}, {T_decade_1x, 1}, {T_decade_2x, 1}, {T_decade_3x, 0}, {T_decade_4x, 1}, {T_decade_5x, 1},
    {T_ending_1, 1}, {T_ending_2, 1}, {T_ending_3, 1}, {T_ending_4, 0}, {T_ending_5, 0},
    {T_ending_6, 0}, {T_ending_7, 1}, {T_ending_8, 0}, {T_ending_9, 0}, {T_ending_0, 1},
    {T_distance_1_2, 14}, {T_distance_2_3, 5}, {T_distance_3_4, 19}, {T_distance_4_5, 9},
    {T_column_1, 0}, {T_column_2, 1}, {T_column_3, 1}, {T_column_4, 1}, {T_column_5, 2}, {T_column_6, 0},
    {T_row_1, 1}, {T_row_2, 0}, {T_row_3, 1}, {T_row_4, 1}, {T_row_5, 0}, {T_row_6, 0},
    {T_row_7, 1}, {T_row_8, 0}, {T_row_9, 1},
    {T_right_diagonal_1, 0}, {T_right_diagonal_2, 0}, {T_right_diagonal_3, 2}, {T_right_diagonal_4, 0},
    {T_right_diagonal_5, 1}, {T_right_diagonal_6, 0}, {T_right_diagonal_7, 1}, {T_right_diagonal_8, 0},
    {T_right_diagonal_9, 0}, {T_right_diagonal_10, 0}, {T_right_diagonal_11, 0}, {T_right_diagonal_12, 1},
};

int64_t both_filters(const std::string& numbers) {
  int64_t fast = check_number_techniques(numbers);
  int64_t literal = check_number_techniques_literal(numbers);
  EXPECT_EQ(fast, literal) << numbers;
  return fast;
}

int64_t both_star_filters(const std::string& stars) {
  int64_t fast = check_star_windows(stars);
  EXPECT_EQ(fast, check_star_windows_literal(stars)) << stars;
  return fast;
}

// With every other window open, the window [v, v] passes and a window one
// off rejects: so v is the statistic the filter computes.
TEST(EngineCatalogue, FilterComputesEveryStatisticOf3_17_22_41_50) {
  start_engine_test();
  for (const char* text : {"3,17,22,41,50", "3,17,22,41,50,", "03,17,22,41,50"}) {
    for (const Expected& e : kStatisticsOf3_17_22_41_50) {
      SCOPED_TRACE(std::string(text) + " " + g_technique_catalogue[e.technique].key);
      open_every_window();
      set_window(e.technique, e.value, e.value);
      EXPECT_EQ(both_filters(text), 1);
      // A maximum-only window never reads its minimum.
      set_window(e.technique, e.value + 1, e.value + 1);
      EXPECT_EQ(both_filters(text), g_technique_catalogue[e.technique].check == CHECK_BOTH ? 0 : 1);
      set_window(e.technique, e.value - 1, e.value - 1);
      EXPECT_EQ(both_filters(text), 0);
    }
  }
}

TEST(EngineCatalogue, StarStatisticsOf3_11) {
  start_engine_test();
  const Expected stars[] = {{T_sum_stars, 14}, {T_star_row_1, 1}, {T_star_row_2, 0}, {T_star_row_3, 0},
                            {T_star_row_4, 1}, {T_star_column_1, 0}, {T_star_column_2, 1}, {T_star_column_3, 1}};
  for (const Expected& e : stars) {
    SCOPED_TRACE(g_technique_catalogue[e.technique].key);
    open_every_window();
    set_window(e.technique, e.value, e.value);
    EXPECT_EQ(both_star_filters("3,11"), 1);
    EXPECT_EQ(both_star_filters("3,11,"), 1);
    set_window(e.technique, e.value + 1, e.value + 1);
    EXPECT_EQ(both_star_filters("3,11"), 0);
    set_window(e.technique, e.value - 1, e.value - 1);
    EXPECT_EQ(both_star_filters("3,11"), 0);
  }
}

// Learning one entry gives each window the single value the entry shows;
// the entry's own ticket must then pass every window, and fail as soon as a
// checked bound moves one step inwards. This ties the statistics of learning
// to those of the filter for every technique.
TEST(EngineCatalogue, EveryLiveTechniqueLearnsWhatTheFilterChecks) {
  std::mt19937_64 random(7);
  for (int round = 0; round < 40; ++round) {
    start_engine_test();
    std::set<int64_t> picked;
    while (picked.size() < 5) picked.insert(static_cast<int64_t>(random() % 50) + 1);
    int64_t s1 = static_cast<int64_t>(random() % 12) + 1;
    int64_t s2 = s1 % 12 + 1;
    std::string entry, numbers;
    for (int64_t v : picked) {
      entry += two_digits(v) + " ";
      numbers += (numbers.empty() ? "" : ",") + str_int(v);
    }
    entry += two_digits(std::min(s1, s2)) + " " + two_digits(std::max(s1, s2));
    std::string stars = str_int(std::min(s1, s2)) + "," + str_int(std::max(s1, s2));
    SCOPED_TRACE(entry);
    set_database({entry});
    for (const TechniqueRow& row : g_technique_catalogue) learn_technique(row.id);
    learn_max_sequence();
    g_max_common_numbers = 5;

    for (const TechniqueRow& row : g_technique_catalogue) {
      SCOPED_TRACE(row.key);
      const TechniqueTable& table = g_techniques[row.id];
      if (row.statistic == STAT_NONE) {
        EXPECT_EQ(table.max, 0);
        EXPECT_EQ(table.min, 999);
        continue;
      }
      // A window of values seen, or 0..0 left unlearned when the value is 0.
      EXPECT_TRUE((table.min <= table.max) || (table.max == 0 && table.min == 999));
    }
    // A statistic of 0 leaves its window at 0 / 999 (nothing seen above 0);
    // open those so that the rest can be tested.
    for (const TechniqueRow& row : g_technique_catalogue)
      if (row.statistic != STAT_NONE && g_techniques[row.id].min == 999) set_window(row.id, 0, 0);
    ASSERT_EQ(both_filters(numbers), 1);
    ASSERT_EQ(both_star_filters(stars), 1);

    for (const TechniqueRow& row : g_technique_catalogue) {
      SCOPED_TRACE(row.key);
      TechniqueTable& table = g_techniques[row.id];
      const int64_t min = table.min, max = table.max;
      bool star = row.statistic == STAT_SUM_STARS || row.statistic == STAT_STAR_SET;
      auto check = [&] { return star ? both_star_filters(stars) : both_filters(numbers); };
      table.max = max - 1;
      EXPECT_EQ(check(), row.check == CHECK_NONE ? 1 : 0);
      table.max = max;
      table.min = min + 1;
      EXPECT_EQ(check(), row.check == CHECK_BOTH ? 0 : 1);
      table.min = min;
    }
  }
}

// Remove's routine trims each technique as its row says: both bounds, the
// maximum alone, or nothing.
TEST(EngineCatalogue, EveryTechniqueTrimsAsItsRowSays) {
  start_engine_test();
  g_removal_threshold = 10;
  for (const TechniqueRow& row : g_technique_catalogue) {
    SCOPED_TRACE(row.key);
    TechniqueTable& table = g_techniques[row.id];
    const int64_t last = static_cast<int64_t>(table.cells.size()) - 1;
    ASSERT_GE(last, 2);
    for (OutcomeStat& cell : table.cells) cell = {1, 5};  // every outcome weak
    table.cells[1] = {10, 60};
    table.cells[2] = {10, 100};
    table.min = 0;
    table.max = last;
    trim_technique_window(row.id);
    switch (row.trim) {
      case TRIM_BOTH:
        EXPECT_EQ(table.min, 1);
        EXPECT_EQ(table.max, 2);
        EXPECT_EQ(table.cells[0].percent, 0);
        break;
      case TRIM_MAX_ONLY:
        EXPECT_EQ(table.min, 0);
        EXPECT_EQ(table.max, 2);
        EXPECT_EQ(table.cells[0].percent, 0);
        break;
      case TRIM_NONE:
      case TRIM_FORCED_3_4:
        EXPECT_EQ(table.min, 0);
        EXPECT_EQ(table.max, last);
        EXPECT_EQ(table.cells[0].percent, 5);
        break;
    }
    EXPECT_EQ(table.cells[1].percent, 60);
  }
}

// A window that no value can meet rejects every ticket, unless the filter
// does not read that bound (maximum-only techniques) or the window at all
// (left diagonals).
TEST(EngineCatalogue, EveryTechniqueIsCheckedAsItsRowSays) {
  start_engine_test();
  for (const TechniqueRow& row : g_technique_catalogue) {
    SCOPED_TRACE(row.key);
    bool star = row.statistic == STAT_SUM_STARS || row.statistic == STAT_STAR_SET;
    auto check = [&] { return star ? both_star_filters("3,11") : both_filters("3,17,22,41,50"); };
    open_every_window();
    set_window(row.id, 1000, 1000);  // minimum above every value
    EXPECT_EQ(check(), row.check == CHECK_BOTH ? 0 : 1);
    set_window(row.id, -1000, -1000);  // maximum below every value
    EXPECT_EQ(check(), row.check == CHECK_NONE ? 1 : 0);
  }
}

TEST(EngineCatalogue, SlotListFollowsTheFieldsAndRanges) {
  start_engine_test();
  std::set<int> fields;
  for (const TechniqueSlot& slot : g_technique_slots) fields.insert(slot.field);
  EXPECT_EQ(fields.size(), 169u);
  EXPECT_EQ(g_technique_slots[0].field, 376);
  EXPECT_EQ(g_technique_slots[5].value, &g_max_common_numbers);
  EXPECT_EQ(g_technique_slots[8].value, &g_max_number_sequence);
  EXPECT_EQ(g_technique_slots[168].field, 813);
  EXPECT_EQ(technique_slot_of_field(438), 5);
  EXPECT_EQ(technique_slot_of_field(779), -1);
  EXPECT_EQ(technique_slot_of_field(363), -1);

  struct Range {
    int field;
    int64_t min, max;
  };
  for (const Range& r : {Range{376, 15, 240}, Range{383, 1, 5}, Range{436, 0, 5}, Range{438, 0, 5},
                         Range{434, 1, 46}, Range{432, 1, 43}, Range{430, 1, 5}, Range{605, 1, 47},
                         Range{777, 3, 23}, Range{813, 0, 2}, Range{750, 0, 5}}) {
    SCOPED_TRACE(r.field);
    int slot = technique_slot_of_field(r.field);
    ASSERT_GE(slot, 0);
    int64_t min = 0, max = 0;
    technique_field_range(g_technique_slots[slot].range, &min, &max);
    EXPECT_EQ(min, r.min);
    EXPECT_EQ(max, r.max);
  }
}

}  // namespace
