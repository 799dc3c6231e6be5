// The candidate filter: its steps on chosen tickets, the common-number count,
// how it notices changed windows and past results, and a differential run of
// the fast filter against the literal one.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <random>
#include <thread>

#include "core/state.h"
#include "core/text.h"
#include "draws/draws.h"
#include "support/engine_support.h"
#include "techniques/techniques.h"

namespace {

// Both filters, which must agree on the answer and on the rejection count.
int64_t check(const std::string& numbers) {
  int64_t before = g_common_rejections;
  int64_t literal = check_number_techniques_literal(numbers);
  int64_t literal_rejections = g_common_rejections - before;
  g_common_rejections = before;
  int64_t fast = check_number_techniques(numbers);
  EXPECT_EQ(fast, literal) << numbers;
  EXPECT_EQ(g_common_rejections - before, literal_rejections) << numbers;
  return fast;
}

class EngineFilter : public ::testing::Test {
 protected:
  void SetUp() override { start_engine_test(); }
};

TEST_F(EngineFilter, NothingPassesWindowsNotLearned) {
  EXPECT_EQ(check("3,17,22,41,50"), 0);
  EXPECT_EQ(check("1,2,3,4,5"), 0);
  EXPECT_EQ(check(""), 0);
  EXPECT_EQ(check_star_windows("3,11"), 0);
  EXPECT_EQ(check_star_windows_literal("3,11"), 0);
}

TEST_F(EngineFilter, WindowsIncludeBothBounds) {
  open_every_window();
  set_window(T_sum_numbers, 133, 133);
  EXPECT_EQ(check("3,17,22,41,50"), 1);
  set_window(T_sum_numbers, 134, 200);
  EXPECT_EQ(check("3,17,22,41,50"), 0);
  set_window(T_sum_numbers, 100, 132);
  EXPECT_EQ(check("3,17,22,41,50"), 0);
}

TEST_F(EngineFilter, RunsOfConsecutiveNumbers) {
  open_every_window();
  g_max_number_sequence = 1;
  EXPECT_EQ(check("1,2,10,20,30"), 0);
  EXPECT_EQ(check("1,3,10,20,30"), 1);
  g_max_number_sequence = 2;
  EXPECT_EQ(check("1,2,10,20,30"), 1);
  EXPECT_EQ(check("1,2,3,20,30"), 0);
  g_max_number_sequence = 3;
  EXPECT_EQ(check("1,2,3,20,30"), 1);
  EXPECT_EQ(check("3,2,1,20,30"), 1);  // descending steps do not extend a run
  g_max_number_sequence = 0;  // tested only where a run grows
  EXPECT_EQ(check("1,3,10,20,30"), 1);
  EXPECT_EQ(check("1,2,10,20,30"), 0);
}

TEST_F(EngineFilter, CommonNumbersWithAnyOnePastResult) {
  open_every_window();
  set_database({"01 12 23 34 45 06 07", "03 17 22 41 50 01 02"});
  g_common_rejections = 0;
  g_max_common_numbers = 3;
  EXPECT_EQ(check("1,12,23,40,49"), 1);  // 3 with the first
  EXPECT_EQ(check("3,17,22,41,49"), 0);  // 4 with the second
  EXPECT_EQ(g_common_rejections, 1);
  EXPECT_EQ(check("1,12,23,41,50"), 1);  // 3 and 2: no single result shares 4
  g_max_common_numbers = 5;
  EXPECT_EQ(check("3,17,22,41,50"), 1);
  g_max_common_numbers = 0;
  EXPECT_EQ(check("2,4,6,8,45"), 0);
  EXPECT_EQ(check("2,4,6,8,10"), 1);
  g_max_common_numbers = -1;  // any past result shares more than -1 numbers
  EXPECT_EQ(check("2,4,6,8,10"), 0);
  EXPECT_EQ(g_common_rejections, 3);
  // A repeated value counts once per position.
  g_max_common_numbers = 3;
  EXPECT_EQ(check("1,1,1,1,2"), 0);
  EXPECT_EQ(check("1,1,1,2,3"), 1);
  // A window rejection is not a common-number rejection.
  set_window(T_sum_numbers, 0, 10);
  EXPECT_EQ(check("3,17,22,41,49"), 0);
  EXPECT_EQ(g_common_rejections, 4);
}

TEST_F(EngineFilter, WithoutPastResultsNothingIsCommon) {
  open_every_window();
  g_max_common_numbers = -1;
  g_common_rejections = 7;
  EXPECT_EQ(check("3,17,22,41,50"), 1);
  EXPECT_EQ(g_common_rejections, 7);
}

TEST_F(EngineFilter, TextsThatAreNoTicketAreReadFieldByField) {
  open_every_window();
  EXPECT_EQ(check("3,17,22,41,50,"), 1);
  EXPECT_EQ(check("3,17,22,41,50,7,8,9"), 1);
  // A missing field is 0: even, low, ending in 0, in no set of the board. A
  // field ends in what its last character reads as.
  set_window(T_ending_0, 1, 1);
  EXPECT_EQ(check("3,17,22,41"), 1);
  EXPECT_EQ(check("3,17,22,41,x"), 1);
  EXPECT_EQ(check("3,17,22,41,5x"), 1);
  EXPECT_EQ(check("3,17,22,41,5"), 0);
  EXPECT_EQ(check("10,17,22,41,50"), 0);
  set_window(T_ending_0, -1000, 1000);
  set_window(T_decade_0x, 0, 0);
  EXPECT_EQ(check("0,17,22,41,50"), 1);
  EXPECT_EQ(check("-3,17,22,41,50"), 1);
  EXPECT_EQ(check("+3,17,22,41,50"), 0);
  EXPECT_EQ(check(" 3,17,22,41,50"), 0);
  for (TechniqueTable& table : g_techniques) table.min = INT64_MIN, table.max = INT64_MAX;
  set_window(T_high, 2, 2);
  EXPECT_EQ(check("3,17,22,99999,50"), 1);  // high has no upper end
  check("3,17,22,99999999999999999999,50");
  check("9223372036854775807,9223372036854775807,9223372036854775807,1,-9223372036854775807");
}

// The fast filter's tables follow every change of the windows, the limits and
// the past results without being told.
TEST_F(EngineFilter, NoticesChangedWindowsLimitsAndPastResults) {
  open_every_window();
  EXPECT_EQ(check_number_techniques("3,17,22,41,50"), 1);
  g_techniques[T_row_9].max = 0;
  EXPECT_EQ(check_number_techniques("3,17,22,41,50"), 0);
  g_techniques[T_row_9].max = 1;
  EXPECT_EQ(check_number_techniques("3,17,22,41,50"), 1);
  g_max_number_sequence = 1;
  EXPECT_EQ(check_number_techniques("3,4,22,41,50"), 0);

  g_max_common_numbers = 2;
  set_database({"03 17 22 01 02 01 02"});
  EXPECT_EQ(check_number_techniques("3,17,22,41,50"), 0);
  g_techniques[T_row_9].max = 2;  // a window alone: the past result still counts
  EXPECT_EQ(check_number_techniques("3,17,22,41,50"), 0);
  g_max_common_numbers = 3;  // the limit alone
  EXPECT_EQ(check_number_techniques("3,17,22,41,50"), 1);
  g_max_common_numbers = 2;
  EXPECT_EQ(check_number_techniques("3,17,22,41,50"), 0);
  set_database({"05 06 07 08 09 01 02"});
  EXPECT_EQ(check_number_techniques("3,17,22,41,50"), 1);
  g_database_draws[1] = "03 17 22 01 02 01 02";  // the last entry rewritten in place
  EXPECT_EQ(check_number_techniques("3,17,22,41,50"), 0);
  set_database({"05 06 07 08 09 01 02", "10 11 12 13 14 01 02", "20 21 23 24 25 01 02"});
  EXPECT_EQ(check_number_techniques("3,17,22,41,50"), 1);
  g_database_draws[2] = "03 17 22 01 02 01 02";  // a middle entry at once: the writer says so
  invalidate_candidate_filter();
  EXPECT_EQ(check_number_techniques("3,17,22,41,50"), 0);
  g_database_draws[2] = "20 21 23 24 25 01 02";  // ... or, as after an import, a pause follows
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  EXPECT_EQ(check_number_techniques("3,17,22,41,50"), 1);
  g_database_draw_count = 1;
  EXPECT_EQ(check_number_techniques("3,17,22,41,50"), 1);
  g_database_draw_count = 0;
  g_max_common_numbers = -1;
  EXPECT_EQ(check_number_techniques("3,17,22,41,50"), 1);
}

// ---- differential run -----------------------------------------------------------

std::string random_field(std::mt19937_64& random) {
  switch (random() % 20) {
    case 0: return "";
    case 1: return "0";
    case 2: return str_int(51 + static_cast<int64_t>(random() % 49));
    case 3: return "-" + str_int(static_cast<int64_t>(random() % 60));
    case 4: return "0" + str_int(1 + static_cast<int64_t>(random() % 9));
    case 5: return "x";
    case 6: return str_int(1 + static_cast<int64_t>(random() % 50)) + "a";
    case 7: return " " + str_int(1 + static_cast<int64_t>(random() % 50));
    case 8: return "+" + str_int(1 + static_cast<int64_t>(random() % 50));
    case 9: return "$1F";
    case 10: return "%101";
    case 11: return "9223372036854775807";
    case 12: return "99999999999999999999";
    case 13: return "00" + str_int(1 + static_cast<int64_t>(random() % 9));
    default: return str_int(1 + static_cast<int64_t>(random() % 50));
  }
}

std::string random_candidate(std::mt19937_64& random) {
  std::vector<int64_t> v;
  int kind = static_cast<int>(random() % 12);
  if (kind >= 10) {  // distinct values close together: counts of 4 and 5 in one set
    int64_t low = static_cast<int64_t>(random() % 90);
    while (v.size() < 5) {
      int64_t n = low + static_cast<int64_t>(random() % 10);
      if (std::find(v.begin(), v.end(), n) == v.end()) v.push_back(n);
    }
    std::sort(v.begin(), v.end());
  } else if (kind < 6) {  // a generator's ticket: distinct, ascending, sometimes 6..11 numbers
    int size = random() % 4 == 0 ? 5 + static_cast<int>(random() % 7) : 5;
    while (static_cast<int>(v.size()) < size) {
      int64_t n = 1 + static_cast<int64_t>(random() % 50);
      if (std::find(v.begin(), v.end(), n) == v.end()) v.push_back(n);
    }
    std::sort(v.begin(), v.end());
  } else if (kind < 8) {  // unsorted, repeated, 0 and beyond 50
    for (int k = 0; k < 5; ++k) v.push_back(static_cast<int64_t>(random() % (kind == 6 ? 51 : 100)));
    if (random() % 2) v[1] = v[0];
  } else {  // anything
    std::string text;
    int fields = static_cast<int>(random() % 8);
    for (int k = 0; k < fields; ++k) text += (k ? "," : "") + random_field(random);
    if (random() % 4 == 0) text += ",";
    return text;
  }
  std::string text;
  for (size_t k = 0; k < v.size(); ++k) text += (k ? "," : "") + str_int(v[k]);
  if (random() % 8 == 0) text += ",";
  return text;
}

std::string random_entry(std::mt19937_64& random) {
  std::vector<int64_t> v;
  if (random() % 5 == 0) {  // two digits of anything, out of order
    for (int k = 0; k < 7; ++k) v.push_back(static_cast<int64_t>(random() % 100));
  } else {
    while (v.size() < 5) {
      int64_t n = 1 + static_cast<int64_t>(random() % 50);
      if (std::find(v.begin(), v.end(), n) == v.end()) v.push_back(n);
    }
    std::sort(v.begin(), v.end());
    v.push_back(1 + static_cast<int64_t>(random() % 12));
    v.push_back(1 + static_cast<int64_t>(random() % 12));
  }
  std::string entry;
  for (size_t k = 0; k < v.size(); ++k) entry += (k ? " " : "") + two_digits(v[k]);
  if (random() % 40 == 0) entry = entry.substr(0, static_cast<size_t>(random() % 20));
  return entry;
}

int64_t random_bound(std::mt19937_64& random, int64_t typical) {
  switch (random() % 12) {
    case 0: return -5;
    case 1: return INT32_MAX;
    case 2: return INT64_MIN;
    case 3: return INT64_MAX;
    case 4: return 999;
    default: return static_cast<int64_t>(random() % static_cast<uint64_t>(typical + 3)) - 1;
  }
}

TEST_F(EngineFilter, FastFilterAgreesWithTheLiteralOne) {
  std::mt19937_64 random(2024);
  int64_t compared = 0, passed = 0, common = 0;
  for (int scenario = 0; scenario < 120; ++scenario) {
    start_engine_test();
    std::vector<std::string> entries;
    int sizes = static_cast<int>(random() % 4);
    int size = sizes == 0 ? 0 : sizes == 1 ? 1 + static_cast<int>(random() % 5) : static_cast<int>(random() % 400);
    for (int i = 0; i < size; ++i) entries.push_back(random_entry(random));
    set_database(entries);
    if (scenario % 7 == 3) g_database_draw_count += 5;  // beyond the stored entries

    int windows = scenario % 4;
    if (windows == 0 || windows == 1) {
      if (size > 0) {
        for (int t = 0; t < TECHNIQUE_COUNT; ++t) learn_technique(static_cast<TechniqueId>(t));
        learn_max_sequence();
      }
      if (windows == 1) {
        g_removal_threshold = static_cast<int64_t>(random() % 30);
        for (int t = 0; t < TECHNIQUE_COUNT; ++t) trim_technique_window(static_cast<TechniqueId>(t));
      }
    } else if (windows == 2) {
      open_every_window();
      int changed = 1 + static_cast<int>(random() % 4);
      for (int i = 0; i < changed; ++i) {
        TechniqueId t = static_cast<TechniqueId>(random() % TECHNIQUE_COUNT);
        int64_t typical = t == T_sum_numbers ? 240 : (t == T_sum_stars ? 24 : 6);
        if (random() % 2) {
          set_window(t, random_bound(random, typical), random_bound(random, typical));
        } else {  // a narrow window anywhere, below 0 and beyond the table too
          int64_t min = static_cast<int64_t>(random() % static_cast<uint64_t>(typical + 4)) - 2;
          set_window(t, min, min + static_cast<int64_t>(random() % 5) - 1);
        }
      }
    } else {
      for (TechniqueTable& table : g_techniques) {
        int64_t typical = static_cast<int64_t>(table.cells.size());
        table.min = random() % 3 ? static_cast<int64_t>(random() % 3) - 1 : random_bound(random, typical);
        table.max = random() % 3 ? typical + static_cast<int64_t>(random() % 3) - 2 : random_bound(random, typical);
      }
    }
    g_max_common_numbers = static_cast<int64_t>(random() % 8) - 1;
    if (windows != 0 || random() % 2) g_max_number_sequence = static_cast<int64_t>(random() % 7) - 1;

    for (int i = 0; i < 1000; ++i) {
      std::string numbers = random_candidate(random);
      int64_t before = g_common_rejections;
      int64_t literal = check_number_techniques_literal(numbers);
      int64_t literal_rejections = g_common_rejections - before;
      int64_t fast = check_number_techniques(numbers);
      int64_t fast_rejections = g_common_rejections - before - literal_rejections;
      ASSERT_EQ(fast, literal) << "scenario " << scenario << ": " << numbers;
      ASSERT_EQ(fast_rejections, literal_rejections) << "scenario " << scenario << ": " << numbers;
      ++compared;
      passed += fast;
      common += literal_rejections;

      std::string stars = random() % 3 ? str_int(1 + static_cast<int64_t>(random() % 12)) + "," +
                                             str_int(1 + static_cast<int64_t>(random() % 12))
                                       : random_field(random) + (random() % 2 ? "," + random_field(random) : "");
      ASSERT_EQ(check_star_windows(stars), check_star_windows_literal(stars)) << stars;
    }
  }
  // The run must have exercised both answers and the common-number step.
  EXPECT_GT(passed, compared / 50);
  EXPECT_GT(common, compared / 100);
}

}  // namespace
