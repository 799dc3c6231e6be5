// The techniques of a simple ticket read off their definitions, for tests
// that check the program's counts against a reading of their own: the
// statistics written out on the boards (never the catalogue's sets), and
// every ticket of a game walked by brute force.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

using Numbers = std::array<int64_t, 5>;  // ascending
using Stars = std::array<int64_t, 2>;    // ascending

// Every statistic the checks test, by technique key.
std::map<std::string, std::function<int64_t(const Numbers&)>> number_statistics();
std::map<std::string, std::function<int64_t(const Stars&)>> star_statistics();
// primes, tallest_first and max_distance (the largest gap).
bool checked_by_maximum_alone(const std::string& key);
int64_t longest_run(const Numbers& x);
// The numbers of x that the result holds.
int64_t shared(const Numbers& x, const Numbers& result);

// Windows by key.
struct Windows {
  std::map<std::string, std::pair<int64_t, int64_t>> window;  // min, max
  int64_t longest_run = 5;
  int64_t common = 5;
};
bool inside(const Windows& w, const std::string& key, int64_t v);
bool run_allowed(const Windows& w, int64_t run);
// Every number check, the common numbers against `earlier`.
bool numbers_pass(const Windows& w, const Numbers& x, const std::vector<Numbers>& earlier);
bool stars_pass(const Windows& w, const Stars& s);

// Every set of five numbers of 1..n, every pair of stars of 1..m, ascending.
void for_each_numbers(int64_t n, const std::function<void(const Numbers&)>& visit);
void for_each_stars(int64_t m, const std::function<void(const Stars&)>& visit);

int64_t binomial(int64_t n, int64_t k);
// Sets of five different numbers of 1..50 by their sum (index 0..240).
std::vector<int64_t> five_number_sums();
