#include "support/technique_reading.h"

#include <algorithm>

namespace {

int64_t board_row(int64_t v) { return (v - 1) / 6 + 1; }  // 9 rows of 6
int64_t board_column(int64_t v) { return (v - 1) % 6 + 1; }
int64_t decade(int64_t v) { return v < 10 ? 0 : v / 10; }

template <typename InSet>
int64_t count_of(const Numbers& x, InSet in_set) {
  return std::count_if(x.begin(), x.end(), in_set);
}

}  // namespace

std::map<std::string, std::function<int64_t(const Numbers&)>> number_statistics() {
  std::map<std::string, std::function<int64_t(const Numbers&)>> s;
  s["sum_numbers"] = [](const Numbers& x) { return x[0] + x[1] + x[2] + x[3] + x[4]; };
  s["decades"] = [](const Numbers& x) {
    bool hit[6] = {};
    for (int64_t v : x) hit[decade(v)] = true;
    return static_cast<int64_t>(std::count(hit, hit + 6, true));
  };
  s["primes"] = [](const Numbers& x) {
    return count_of(x, [](int64_t v) {
      for (int64_t p : {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41, 43, 47})
        if (v == p) return true;
      return false;
    });
  };
  s["tallest_first"] = [](const Numbers& x) { return x[0]; };
  s["max_distance"] = [](const Numbers& x) {
    return std::max({x[1] - x[0], x[2] - x[1], x[3] - x[2], x[4] - x[3]});
  };
  s["even"] = [](const Numbers& x) { return count_of(x, [](int64_t v) { return v % 2 == 0; }); };
  s["odd"] = [](const Numbers& x) { return count_of(x, [](int64_t v) { return v % 2 == 1; }); };
  s["low"] = [](const Numbers& x) { return count_of(x, [](int64_t v) { return v <= 25; }); };
  s["high"] = [](const Numbers& x) { return count_of(x, [](int64_t v) { return v >= 26; }); };
  s["half_low"] = [](const Numbers& x) { return count_of(x, [](int64_t v) { return board_column(v) <= 3; }); };
  s["half_high"] = [](const Numbers& x) { return count_of(x, [](int64_t v) { return board_column(v) >= 4; }); };
  s["diag1_low"] = [](const Numbers& x) { return count_of(x, [](int64_t v) { return board_column(v) >= board_row(v); }); };
  s["diag1_high"] = [](const Numbers& x) { return count_of(x, [](int64_t v) { return board_column(v) < board_row(v); }); };
  s["diag2_low"] = [](const Numbers& x) { return count_of(x, [](int64_t v) { return board_row(v) + board_column(v) <= 9; }); };
  s["diag2_high"] = [](const Numbers& x) { return count_of(x, [](int64_t v) { return board_row(v) + board_column(v) >= 10; }); };
  // The centre (rows 3-7 of columns 3-4), the middle ring around it (rows
  // 2-8 of columns 2-5) and the border.
  auto ring = [](int64_t v) {
    const int64_t r = board_row(v), c = board_column(v);
    if (r >= 3 && r <= 7 && c >= 3 && c <= 4) return 1;
    if (r >= 2 && r <= 8 && c >= 2 && c <= 5) return 2;
    return 3;
  };
  for (int k = 1; k <= 3; ++k)
    s["ring_" + std::to_string(k)] = [ring, k](const Numbers& x) { return count_of(x, [&](int64_t v) { return ring(v) == k; }); };
  for (int d = 0; d <= 5; ++d)
    s["decade_" + std::to_string(d) + "x"] = [d](const Numbers& x) { return count_of(x, [d](int64_t v) { return decade(v) == d; }); };
  for (int d = 0; d <= 9; ++d)
    s["ending_" + std::to_string(d)] = [d](const Numbers& x) { return count_of(x, [d](int64_t v) { return v % 10 == d; }); };
  for (int k = 1; k <= 4; ++k)
    s["distance_" + std::to_string(k) + "_" + std::to_string(k + 1)] = [k](const Numbers& x) { return x[k] - x[k - 1]; };
  for (int c = 1; c <= 6; ++c)
    s["column_" + std::to_string(c)] = [c](const Numbers& x) { return count_of(x, [c](int64_t v) { return board_column(v) == c; }); };
  for (int r = 1; r <= 9; ++r)
    s["row_" + std::to_string(r)] = [r](const Numbers& x) { return count_of(x, [r](int64_t v) { return board_row(v) == r; }); };
  // The diagonals running down to the right hold the cells of one column
  // minus row, 5 .. -8, the two corner cells joining their neighbours.
  for (int k = 1; k <= 12; ++k)
    s["right_diagonal_" + std::to_string(k)] = [k](const Numbers& x) {
      return count_of(x, [k](int64_t v) { return std::clamp<int64_t>(5 - (board_column(v) - board_row(v)), 1, 12) == k; });
    };
  return s;
}

std::map<std::string, std::function<int64_t(const Stars&)>> star_statistics() {
  std::map<std::string, std::function<int64_t(const Stars&)>> s;
  s["sum_stars"] = [](const Stars& x) { return x[0] + x[1]; };
  for (int r = 1; r <= 4; ++r)
    s["star_row_" + std::to_string(r)] = [r](const Stars& x) {
      return static_cast<int64_t>(((x[0] - 1) / 3 + 1 == r) + ((x[1] - 1) / 3 + 1 == r));
    };
  for (int c = 1; c <= 3; ++c)
    s["star_column_" + std::to_string(c)] = [c](const Stars& x) {
      return static_cast<int64_t>(((x[0] - 1) % 3 + 1 == c) + ((x[1] - 1) % 3 + 1 == c));
    };
  return s;
}

bool checked_by_maximum_alone(const std::string& key) {
  return key == "primes" || key == "tallest_first" || key == "max_distance";
}

int64_t longest_run(const Numbers& x) {
  int64_t run = 1, longest = 1;
  for (int k = 1; k < 5; ++k) {
    run = x[k] == x[k - 1] + 1 ? run + 1 : 1;
    longest = std::max(longest, run);
  }
  return longest;
}

int64_t shared(const Numbers& x, const Numbers& result) {
  return count_of(x, [&](int64_t v) { return std::find(result.begin(), result.end(), v) != result.end(); });
}

bool inside(const Windows& w, const std::string& key, int64_t v) {
  const auto& [min, max] = w.window.at(key);
  return v <= max && (checked_by_maximum_alone(key) || v >= min);
}

bool run_allowed(const Windows& w, int64_t run) { return run < 2 || run <= w.longest_run; }

bool numbers_pass(const Windows& w, const Numbers& x, const std::vector<Numbers>& earlier) {
  static const auto statistics = number_statistics();
  for (const auto& [key, statistic] : statistics)
    if (!inside(w, key, statistic(x))) return false;
  if (!run_allowed(w, longest_run(x))) return false;
  for (const Numbers& r : earlier)
    if (shared(x, r) > w.common) return false;
  return true;
}

bool stars_pass(const Windows& w, const Stars& s) {
  static const auto statistics = star_statistics();
  for (const auto& [key, statistic] : statistics)
    if (!inside(w, key, statistic(s))) return false;
  return true;
}

void for_each_numbers(int64_t n, const std::function<void(const Numbers&)>& visit) {
  Numbers x{};
  for (x[0] = 1; x[0] <= n; ++x[0])
    for (x[1] = x[0] + 1; x[1] <= n; ++x[1])
      for (x[2] = x[1] + 1; x[2] <= n; ++x[2])
        for (x[3] = x[2] + 1; x[3] <= n; ++x[3])
          for (x[4] = x[3] + 1; x[4] <= n; ++x[4]) visit(x);
}

void for_each_stars(int64_t m, const std::function<void(const Stars&)>& visit) {
  for (int64_t a = 1; a <= m; ++a)
    for (int64_t b = a + 1; b <= m; ++b) visit({a, b});
}

// Sets of five different numbers of 1..50 by their sum, by a dynamic program
// over the numbers: ways[k][s] sets of k numbers summing to s.
std::vector<int64_t> five_number_sums() {
  std::vector<std::vector<int64_t>> ways(6, std::vector<int64_t>(241, 0));
  ways[0][0] = 1;
  for (int64_t v = 1; v <= 50; ++v)
    for (int64_t k = 5; k >= 1; --k)
      for (int64_t s = 240; s >= v; --s) ways[k][s] += ways[k - 1][s - v];
  return ways[5];
}

int64_t binomial(int64_t n, int64_t k) {
  if (k < 0 || k > n) return 0;
  int64_t c = 1;
  for (int64_t i = 1; i <= k; ++i) c = c * (n - k + i) / i;
  return c;
}

