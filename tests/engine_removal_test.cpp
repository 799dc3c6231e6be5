// Remove: outcomes at or below the threshold struck out, windows narrowed
// past them, decades and the run limit forced, the number pairs thinned.
#include <gtest/gtest.h>

#include <climits>

#include "core/core.h"
#include "core/state.h"
#include "support/engine_support.h"
#include "techniques/techniques.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

class EngineRemoval : public ::testing::Test {
 protected:
  void SetUp() override {
    start_engine_test();
    create_engine_gadgets();
  }
  // Percents on outcomes 0.. of a table, every other cell 0.
  static void set_percents(TechniqueId t, std::initializer_list<int32_t> percents) {
    TechniqueTable& table = g_techniques[t];
    for (OutcomeStat& cell : table.cells) cell = {0, 0};
    int32_t v = 0;
    for (int32_t p : percents) table.cells[v++] = {p == 0 ? 0 : p, p};
  }
};

TEST_F(EngineRemoval, RefusesWithoutPastResults) {
  set_window(T_even, 0, 5);
  ui_set_state(363, 40);
  remove_weak_outcomes();
  ASSERT_EQ(ui_test_messages().size(), 1u);
  EXPECT_EQ(ui_test_messages()[0].title, "Error");
  EXPECT_EQ(ui_test_messages()[0].text, "No draws database for techniques.");
  EXPECT_TRUE(ui_test_messages()[0].flags & UI_ICON_WARNING);
  EXPECT_EQ(g_removal_threshold, 1);
  EXPECT_EQ(g_techniques[T_decades].max, 0);
  EXPECT_EQ(g_max_number_sequence, 1);
}

TEST_F(EngineRemoval, BoundsMovePastStruckAndUnseenOutcomes) {
  set_percents(T_even, {0, 3, 40, 100, 2});
  set_window(T_even, 0, 4);
  g_removal_threshold = 5;
  trim_technique_window(T_even);
  EXPECT_EQ(g_techniques[T_even].min, 2);
  EXPECT_EQ(g_techniques[T_even].max, 3);
  EXPECT_EQ(g_techniques[T_even].cells[1].percent, 0);
  EXPECT_EQ(g_techniques[T_even].cells[4].percent, 0);
  EXPECT_EQ(g_techniques[T_even].cells[1].count, 3);  // counts stay

  // Threshold 0 strikes nothing, yet bounds still move past percent 0.
  set_percents(T_odd, {0, 0, 1, 50, 0, 0});
  set_window(T_odd, 0, 5);
  g_removal_threshold = 0;
  trim_technique_window(T_odd);
  EXPECT_EQ(g_techniques[T_odd].min, 2);
  EXPECT_EQ(g_techniques[T_odd].max, 3);
  EXPECT_EQ(g_techniques[T_odd].cells[2].percent, 1);

  // Everything at or below the threshold: percents 0, bounds stay.
  set_percents(T_low, {20, 100, 20});
  set_window(T_low, 0, 2);
  g_removal_threshold = 100;
  trim_technique_window(T_low);
  EXPECT_EQ(g_techniques[T_low].min, 0);
  EXPECT_EQ(g_techniques[T_low].max, 2);
  for (int v = 0; v <= 2; ++v) EXPECT_EQ(g_techniques[T_low].cells[v].percent, 0);
}

TEST_F(EngineRemoval, MaximumOnlyTechniquesNeverMoveTheMinimum) {
  for (TechniqueId t : {T_primes, T_tallest_first, T_max_distance}) {
    set_percents(t, {0, 80, 0, 2});
    set_window(t, 1, 3);
    g_removal_threshold = 5;
    trim_technique_window(t);
    EXPECT_EQ(g_techniques[t].min, 1) << t;
    EXPECT_EQ(g_techniques[t].max, 1) << t;
    // Struck at the minimum: the minimum still stays.
    set_percents(t, {0, 2, 80, 2});
    set_window(t, 1, 3);
    trim_technique_window(t);
    EXPECT_EQ(g_techniques[t].min, 1) << t;
    EXPECT_EQ(g_techniques[t].max, 2) << t;
  }
}

TEST_F(EngineRemoval, SkipsWindowsNotLearnedOrInverted) {
  set_percents(T_even, {0, 3, 40, 100, 2});
  g_removal_threshold = 5;
  for (auto [min, max] : {std::pair<int64_t, int64_t>{999, 4}, {0, 0}, {4, 1}}) {
    set_window(T_even, min, max);
    trim_technique_window(T_even);
    EXPECT_EQ(g_techniques[T_even].min, min);
    EXPECT_EQ(g_techniques[T_even].max, max);
    EXPECT_EQ(g_techniques[T_even].cells[1].percent, 3);
  }
}

// A window typed or loaded beyond its table: outcomes without a cell count
// as never seen, so the bounds move onto the table's seen outcomes and
// nothing outside the table is touched (the sanitizer build would catch it).
TEST_F(EngineRemoval, WindowsBeyondTheirTableAreCutToIt) {
  set_percents(T_even, {0, 3, 40, 100, 2});
  set_window(T_even, -5, INT32_MAX);
  g_removal_threshold = 5;
  trim_technique_window(T_even);
  EXPECT_EQ(g_techniques[T_even].min, 2);
  EXPECT_EQ(g_techniques[T_even].max, 3);

  set_percents(T_sum_stars, {});
  g_techniques[T_sum_stars].cells[23] = {4, 70};
  set_window(T_sum_stars, INT64_MIN, INT64_MAX);
  trim_technique_window(T_sum_stars);
  EXPECT_EQ(g_techniques[T_sum_stars].min, 23);
  EXPECT_EQ(g_techniques[T_sum_stars].max, 23);

  // Entirely outside: nothing to move onto, both bounds stay.
  set_window(T_sum_stars, 100, 200);
  trim_technique_window(T_sum_stars);
  EXPECT_EQ(g_techniques[T_sum_stars].min, 100);
  EXPECT_EQ(g_techniques[T_sum_stars].max, 200);
  set_window(T_tallest_first, -40, -2);
  trim_technique_window(T_tallest_first);
  EXPECT_EQ(g_techniques[T_tallest_first].min, -40);
  EXPECT_EQ(g_techniques[T_tallest_first].max, -2);
}

TEST_F(EngineRemoval, ActionForcesDecadesAndRunLimitAndReadsTheSpin) {
  set_database({"01 12 23 34 45 06 07"});
  g_max_number_sequence = 4;
  ui_set_state(363, 7);
  remove_weak_outcomes();  // nothing learned: every pass skips
  EXPECT_TRUE(ui_test_messages().empty());
  EXPECT_EQ(g_removal_threshold, 7);
  EXPECT_EQ(g_techniques[T_decades].min, 3);
  EXPECT_EQ(g_techniques[T_decades].max, 4);
  EXPECT_EQ(g_max_number_sequence, 2);
  EXPECT_EQ(g_techniques[T_sum_numbers].min, 999);
  EXPECT_EQ(ui_text(610), "Information Theory Removed:0");
}

TEST_F(EngineRemoval, ThresholdHundredStrikesEveryOutcomeAndEveryPair) {
  set_database({"01 12 23 34 45 06 07", "03 17 22 41 50 03 11", "05 06 07 08 09 01 12"});
  learn_techniques();
  std::vector<TechniqueTable> learned(std::begin(g_techniques), std::end(g_techniques));
  int64_t nonzero_pairs = 0;
  for (size_t i = 1; i < g_number_associations.size(); ++i)
    for (size_t j = 1; j < g_number_associations[i].size(); ++j) nonzero_pairs += g_number_associations[i][j].percent != 0;
  EXPECT_EQ(nonzero_pairs, 3 * 25);  // 15 different numbers, each pair of an entry

  ui_set_state(363, 100);
  remove_weak_outcomes();
  for (int t = 0; t < TECHNIQUE_COUNT; ++t) {
    if (t == T_decades) continue;
    EXPECT_EQ(g_techniques[t].min, learned[t].min) << t;
    EXPECT_EQ(g_techniques[t].max, learned[t].max) << t;
    if (learned[t].max == 0 || learned[t].min == 999) continue;
    for (int64_t v = learned[t].min; v <= learned[t].max; ++v) EXPECT_EQ(g_techniques[t].cells[v].percent, 0);
  }
  for (size_t i = 1; i < g_number_associations.size(); ++i)
    for (size_t j = 1; j < g_number_associations[i].size(); ++j) EXPECT_EQ(g_number_associations[i][j].percent, 0);
  EXPECT_EQ(ui_text(610), std::string("Information Theory Removed:") + std::to_string(nonzero_pairs));
}

TEST_F(EngineRemoval, InformationTheoryCountsStruckCellsInBothOrders) {
  set_database({"01 02 03 04 05 01 02", "01 02 10 20 30 01 02", "01 40 41 42 43 01 02"});
  learn_number_associations();
  g_removal_threshold = 33;
  remove_weak_associations();
  // Row 1: (1,3),(1,4),(1,5),(1,10),(1,20),(1,30),(1,40..43) are at 33.
  EXPECT_EQ(g_number_associations[1][3].percent, 0);
  EXPECT_EQ(g_number_associations[1][2].percent, 66);
  EXPECT_EQ(g_number_associations[3][1].percent, 100);
  EXPECT_EQ(ui_text(610), "Information Theory Removed:10");

  g_highest_number = 0;
  remove_weak_associations();
  EXPECT_EQ(ui_text(610), "Information Theory Removed:0");
  g_highest_number = 400;  // beyond the matrix: only its cells are read
  g_removal_threshold = 100;
  remove_weak_associations();
  EXPECT_EQ(g_number_associations[1][2].percent, 0);
}

TEST_F(EngineRemoval, RemovingTwiceGivesTheSameWindows) {
  set_database({"01 12 23 34 45 06 07", "03 17 22 41 50 03 11", "05 06 07 08 09 01 12",
                "02 12 22 32 42 02 05", "10 20 30 40 50 08 10", "01 12 23 34 44 06 07"});
  learn_techniques();
  ui_set_state(363, 30);
  remove_weak_outcomes();
  std::vector<TechniqueTable> once(std::begin(g_techniques), std::end(g_techniques));
  remove_weak_outcomes();
  for (int t = 0; t < TECHNIQUE_COUNT; ++t) {
    EXPECT_EQ(g_techniques[t].min, once[t].min) << t;
    EXPECT_EQ(g_techniques[t].max, once[t].max) << t;
  }
}

TEST_F(EngineRemoval, ResetAfterLearnKeepsTablesAndClearsWindowsAndPairs) {
  set_database({"01 12 23 34 45 06 07"});
  learn_techniques();
  ui_set_text(610, "Information Theory Removed:5");
  reset_technique_windows();
  EXPECT_EQ(g_techniques[T_sum_numbers].max, 0);
  EXPECT_EQ(g_techniques[T_sum_numbers].min, 999);
  EXPECT_EQ(g_techniques[T_sum_numbers].cells[115].count, 1);
  EXPECT_EQ(g_number_associations[1][12].count, 0);
  EXPECT_EQ(g_max_common_numbers, 3);
  EXPECT_EQ(g_max_number_sequence, 1);
  EXPECT_EQ(ui_text(610), "Information Theory Removed:N/A");
}

}  // namespace
