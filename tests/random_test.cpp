// The seedable random generator: repeatable from a seed, inclusive ranges.
#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "core/random.h"

TEST(Random, TheSameSeedGivesTheSameSequence) {
  std::vector<int64_t> first, second;
  seed_random(12345);
  for (int i = 0; i < 100; ++i) first.push_back(random_between(1, 50));
  seed_random(12345);
  for (int i = 0; i < 100; ++i) second.push_back(random_between(1, 50));
  EXPECT_EQ(first, second);
  seed_random(12346);
  std::vector<int64_t> other;
  for (int i = 0; i < 100; ++i) other.push_back(random_between(1, 50));
  EXPECT_NE(first, other);
}

TEST(Random, RangesIncludeBothEndsAndNothingElse) {
  struct Case {
    int64_t lo, hi;
  };
  const Case cases[] = {{1, 50}, {1, 12}, {-1, 1}, {7, 7}, {5, 2}, {0, 1}};
  seed_random(7);
  for (const Case& c : cases) {
    int64_t lo = std::min(c.lo, c.hi), hi = std::max(c.lo, c.hi);
    std::set<int64_t> seen;
    for (int i = 0; i < 5000; ++i) {
      int64_t v = random_between(c.lo, c.hi);
      ASSERT_GE(v, lo);
      ASSERT_LE(v, hi);
      seen.insert(v);
    }
    EXPECT_EQ(static_cast<int64_t>(seen.size()), hi - lo + 1) << c.lo << ".." << c.hi;
  }
}

TEST(Random, EveryValueOfASmallRangeComesUpAboutEquallyOften) {
  seed_random(99);
  int counts[12] = {};
  const int draws = 120000;
  for (int i = 0; i < draws; ++i) ++counts[random_between(1, 12) - 1];
  for (int c : counts) {
    EXPECT_GT(c, draws / 12 * 9 / 10);
    EXPECT_LT(c, draws / 12 * 11 / 10);
  }
}

TEST(Random, TheWidestRangesDoNotOverflow) {
  seed_random(1);
  for (int i = 0; i < 100; ++i) {
    (void)random_between(INT64_MIN, INT64_MAX);
    int64_t v = random_between(INT64_MAX - 1, INT64_MAX);
    EXPECT_GE(v, INT64_MAX - 1);
    v = random_between(INT64_MIN, INT64_MIN + 1);
    EXPECT_LE(v, INT64_MIN + 1);
  }
}
