// Learn: windows, histograms and percents from the past results, the longest
// run, the number pairs, and the handler's steps around them.
#include <gtest/gtest.h>

#include "core/core.h"
#include "core/state.h"
#include "support/engine_support.h"
#include "techniques/techniques.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

void expect_window(TechniqueId t, int64_t min, int64_t max) {
  EXPECT_EQ(g_techniques[t].min, min) << "min of technique " << t;
  EXPECT_EQ(g_techniques[t].max, max) << "max of technique " << t;
}

class EngineLearning : public ::testing::Test {
 protected:
  void SetUp() override {
    start_engine_test();
    create_engine_gadgets();
    for (int g = 901; g <= 904; ++g) {
      ui_button(g, 10, 100 + 40 * (g - 901), 90, 34, "copy");
      ui_disable(g, true);
    }
  }
};

TEST_F(EngineLearning, RefusesWithoutPastResults) {
  g_techniques[T_even].max = 4;
  learn_techniques();
  ASSERT_EQ(ui_test_messages().size(), 1u);
  EXPECT_EQ(ui_test_messages()[0].title, "Error");
  EXPECT_EQ(ui_test_messages()[0].text, "No draws database for techniques.");
  EXPECT_TRUE(ui_test_messages()[0].flags & UI_ICON_WARNING);
  EXPECT_EQ(g_techniques[T_even].max, 4);
  EXPECT_TRUE(ui_disabled(901));
}

TEST_F(EngineLearning, OneEntry) {
  set_database({"01 02 03 04 05 01 02"});
  learn_techniques();
  EXPECT_TRUE(ui_test_messages().empty());
  expect_window(T_sum_numbers, 15, 15);
  EXPECT_EQ(g_techniques[T_sum_numbers].cells[15].count, 1);
  EXPECT_EQ(g_techniques[T_sum_numbers].cells[15].percent, 100);
  expect_window(T_decade_0x, 5, 5);
  expect_window(T_max_distance, 1, 1);
  EXPECT_EQ(g_techniques[T_max_distance].cells[1].count, 4);
  EXPECT_EQ(g_max_number_sequence, 5);
  expect_window(T_sum_stars, 3, 3);
  expect_window(T_star_row_1, 2, 2);
  // Untouched by the entry: 0..0 with every entry in cell 0, at percent 0.
  expect_window(T_right_diagonal_12, 0, 0);
  EXPECT_EQ(g_techniques[T_right_diagonal_12].cells[0].count, 1);
  EXPECT_EQ(g_techniques[T_right_diagonal_12].cells[0].percent, 0);
  // Left diagonals are never learned.
  expect_window(T_left_diagonal_5, 999, 0);
  // The handler's surroundings: label reset, copy controls enabled.
  EXPECT_EQ(ui_text(610), "Information Theory Removed:N/A");
  for (int g = 901; g <= 904; ++g) EXPECT_FALSE(ui_disabled(g)) << g;
}

TEST_F(EngineLearning, RunEndingAtTheFifthNumberCounts) {
  set_database({"01 02 03 10 11 01 02", "05 09 10 11 12 03 04"});
  learn_techniques();
  EXPECT_EQ(g_max_number_sequence, 4);
  set_database({"01 03 05 07 09 01 02"});
  learn_techniques();
  EXPECT_EQ(g_max_number_sequence, 1);
}

TEST_F(EngineLearning, WindowIsTheRangeSeenWithPercentsOfTheLargestCount) {
  set_database({"10 15 20 25 30 01 02", "20 25 30 31 34 01 02"});  // sums 100 and 140
  learn_techniques();
  expect_window(T_sum_numbers, 100, 140);
  const TechniqueTable& sums = g_techniques[T_sum_numbers];
  EXPECT_EQ(sums.cells[100].percent, 100);
  EXPECT_EQ(sums.cells[140].percent, 100);
  for (int v = 101; v < 140; ++v) EXPECT_TRUE(sums.cells[v].count == 0 && sums.cells[v].percent == 0) << v;
  int total = 0;
  for (const OutcomeStat& cell : sums.cells) total += cell.count;
  EXPECT_EQ(total, 2);

  // First numbers 1, 1, 1, 2, 2, 3: counts 3, 2, 1 give 100, 66, 33.
  set_database({"01 10 20 30 40 01 02", "01 11 20 30 40 01 02", "01 12 20 30 40 01 02",
                "02 10 20 30 40 01 02", "02 11 20 30 40 01 02", "03 10 20 30 40 01 02"});
  learn_techniques();
  const TechniqueTable& first = g_techniques[T_tallest_first];
  expect_window(T_tallest_first, 1, 3);
  EXPECT_EQ(first.cells[1].percent, 100);
  EXPECT_EQ(first.cells[2].percent, 66);
  EXPECT_EQ(first.cells[3].percent, 33);
}

TEST_F(EngineLearning, CommonNumbersLimitComesFromItsField) {
  set_database({"01 12 23 34 45 06 07"});
  ui_set_text(438, "4");
  learn_techniques();
  EXPECT_EQ(g_max_common_numbers, 4);
  ui_set_text(438, "abc");
  learn_techniques();
  EXPECT_EQ(g_max_common_numbers, 0);
}

TEST_F(EngineLearning, LearnAgainRestoresWhatRemoveNarrowed) {
  set_database({"01 12 23 34 45 06 07", "03 17 22 41 50 03 11", "05 06 07 08 09 01 12",
                "02 12 22 32 42 02 05", "10 20 30 40 50 08 10"});
  learn_techniques();
  std::vector<TechniqueTable> learned(std::begin(g_techniques), std::end(g_techniques));
  int64_t sequence = g_max_number_sequence;
  ui_set_state(363, 50);
  remove_weak_outcomes();
  learn_techniques();
  for (int t = 0; t < TECHNIQUE_COUNT; ++t) {
    EXPECT_EQ(g_techniques[t].min, learned[t].min) << t;
    EXPECT_EQ(g_techniques[t].max, learned[t].max) << t;
    ASSERT_EQ(g_techniques[t].cells.size(), learned[t].cells.size());
    for (size_t v = 0; v < learned[t].cells.size(); ++v) {
      EXPECT_EQ(g_techniques[t].cells[v].count, learned[t].cells[v].count);
      EXPECT_EQ(g_techniques[t].cells[v].percent, learned[t].cells[v].percent);
    }
  }
  EXPECT_EQ(g_max_number_sequence, sequence);
}

TEST_F(EngineLearning, NumberPairsCountEveryOrderedPairOfAnEntry) {
  set_database({"01 02 03 04 05 01 02", "01 02 10 20 30 01 02", "01 40 41 42 43 01 02"});
  learn_number_associations();
  const auto& a = g_number_associations;
  EXPECT_EQ(a[1][1].count, 3);
  EXPECT_EQ(a[1][1].percent, 100);
  EXPECT_EQ(a[1][2].count, 2);
  EXPECT_EQ(a[2][1].count, 2);
  EXPECT_EQ(a[1][2].percent, 66);  // 2 of the 3 entries holding 1
  EXPECT_EQ(a[2][1].percent, 100);  // both entries holding 2
  EXPECT_EQ(a[1][10].percent, 33);
  EXPECT_EQ(a[5][10].count, 0);
  EXPECT_EQ(a[0][0].count, 0);
}

// Entries the import lets through although they are no lottery draw: values
// 00 and 99, out of order, repeated, missing fields. Statistics without a
// cell are skipped; no cell outside a table is touched (the sanitizer build
// catches any), and every window stays inside its table.
TEST_F(EngineLearning, EntriesOutOfRangeOrOrderLearnOnlyWhatHasACell) {
  set_database({"99 99 99 99 99 99 99", "50 40 30 20 10 12 11", "00 00 00 00 00 00 00",
                "07 07 07 07 07 07 07", "01 02", "", "45 12 99 03 00 13 00"});
  learn_techniques();
  for (int t = 0; t < TECHNIQUE_COUNT; ++t) {
    const TechniqueTable& table = g_techniques[t];
    if (table.max == 0 && table.min == 999) continue;
    EXPECT_GE(table.min, 0) << t;
    EXPECT_LT(table.max, static_cast<int64_t>(table.cells.size())) << t;
  }
  // Sums: 495 has no cell; 150, 0, 35, 3 and 159 have.
  expect_window(T_sum_numbers, 0, 159);
  int total = 0;
  for (const OutcomeStat& cell : g_techniques[T_sum_numbers].cells) total += cell.count;
  EXPECT_EQ(total, 6);
  // Gaps: only those of 0 or more count.
  EXPECT_EQ(g_techniques[T_max_distance].cells[0].count, 4 + 4 + 4 + 2 + 4);
  // A number 00 or 99 has no pair cell.
  EXPECT_EQ(g_number_associations[7][7].count, 25);
  EXPECT_EQ(g_number_associations[1][2].count, 1);

  // A count beyond the stored entries reads no phantom entries.
  set_database({"01 02 03 04 05 01 02"});
  g_database_draw_count = 1000;
  learn_techniques();
  EXPECT_EQ(g_techniques[T_sum_numbers].cells[15].count, 1);
}

}  // namespace
