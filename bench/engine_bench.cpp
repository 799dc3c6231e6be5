// Candidates per second through the number check, fast and literal side by
// side, after Learn and after Remove at threshold 1; and the time of Learn.
// Past results: the shared sample history when it is beside the project,
// otherwise a random history of 1,800 results.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/state.h"
#include "core/text.h"
#include "draws/draws.h"
#include "techniques/engine.h"
#include "techniques/techniques.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Draw lines "00001 2004-02-13 16 29 32 36 41 +07 +09": without the two "+",
// characters 18.. are the entry, as the import keeps it. The shared folder
// sits beside the project (or beside the folder of worktrees).
std::vector<std::string> sample_history() {
  std::vector<std::string> entries;
  std::filesystem::path source(KESTROVA_SOURCE_DIR);
  std::filesystem::path path = source / ".." / "shared" / "data" / "past_results.txt";
  if (!std::filesystem::exists(path)) path = source / ".." / ".." / "shared" / "data" / "past_results.txt";
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line == "@end_database") break;
    if (line.size() != 39 || line[0] == '#') continue;
    line.erase(std::remove(line.begin(), line.end(), '+'), line.end());
    entries.push_back(line.substr(17));
  }
  return entries;
}

std::string random_ticket(std::mt19937_64& random, int count, int highest, const char* separator,
                          bool two_digit) {
  std::vector<int64_t> values;
  while (static_cast<int>(values.size()) < count) {
    int64_t v = 1 + static_cast<int64_t>(random() % static_cast<uint64_t>(highest));
    if (std::find(values.begin(), values.end(), v) == values.end()) values.push_back(v);
  }
  std::sort(values.begin(), values.end());
  std::string text;
  for (size_t i = 0; i < values.size(); ++i)
    text += (i ? separator : "") + (two_digit ? two_digits(values[i]) : str_int(values[i]));
  return text;
}

std::vector<std::string> random_history(std::mt19937_64& random, int count) {
  std::vector<std::string> entries;
  for (int i = 0; i < count; ++i)
    entries.push_back(random_ticket(random, 5, 50, " ", true) + " " + random_ticket(random, 2, 12, " ", true));
  return entries;
}

struct Rate {
  double per_second;
  int64_t passed;
  int64_t checked;
};

Rate measure(int64_t (*check)(const std::string&), const std::vector<std::string>& candidates,
             double budget_seconds) {
  Rate rate{0, 0, 0};
  Clock::time_point start = Clock::now();
  size_t i = 0;
  do {
    for (int batch = 0; batch < 256; ++batch, ++i) {
      rate.passed += check(candidates[i % candidates.size()]);
      ++rate.checked;
    }
  } while (seconds_since(start) < budget_seconds);
  rate.per_second = static_cast<double>(rate.checked) / seconds_since(start);
  return rate;
}

void compare(const char* label, const std::vector<std::string>& candidates) {
  // Same answers on a share of the candidates before timing.
  int64_t before = g_common_rejections;
  int64_t differences = 0;
  for (size_t i = 0; i < 2000 && i < candidates.size(); ++i) {
    int64_t literal = check_number_techniques_literal(candidates[i]);
    differences += literal != check_number_techniques(candidates[i]);
  }
  g_common_rejections = before;

  Clock::time_point build = Clock::now();
  invalidate_candidate_filter();
  check_number_techniques(candidates[0]);
  double build_ms = seconds_since(build) * 1000;

  Rate fast = measure(check_number_techniques, candidates, 1.0);
  Rate literal = measure(check_number_techniques_literal, candidates, 1.0);
  std::printf("%-28s %14.0f %14.0f %9.1fx %8.2f%% %10.3f %6lld\n", label, fast.per_second, literal.per_second,
              fast.per_second / literal.per_second, 100.0 * static_cast<double>(fast.passed) / fast.checked,
              build_ms, static_cast<long long>(differences));
}

}  // namespace

int main() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (!ui_init()) return 1;
  ui_test_reset();
  init_game_state();

  std::mt19937_64 random(1);
  std::vector<std::string> history = sample_history();
  const char* source = "shared sample history";
  if (history.empty()) {
    history = random_history(random, 1800);
    source = "random history";
  }
  g_database_draws.assign(1, "");
  g_database_draws.insert(g_database_draws.end(), history.begin(), history.end());
  g_database_draw_count = static_cast<int64_t>(history.size());
  g_database_path = "past_results.txt";
  std::printf("past results: %lld (%s)\n\n", static_cast<long long>(g_database_draw_count), source);

  // Learn: the whole handler, and the engine's passes alone.
  const int rounds = 50;
  std::vector<double> whole, passes;
  for (int r = 0; r < rounds; ++r) {
    Clock::time_point start = Clock::now();
    learn_techniques();
    whole.push_back(seconds_since(start) * 1000);
    start = Clock::now();
    reset_technique_windows();
    run_learning_passes();
    passes.push_back(seconds_since(start) * 1000);
  }
  std::sort(whole.begin(), whole.end());
  std::sort(passes.begin(), passes.end());
  std::printf("Learn (learn_techniques), median of %d: %.3f ms\n", rounds, whole[rounds / 2]);
  std::printf("learning passes alone,    median of %d: %.3f ms\n\n", rounds, passes[rounds / 2]);

  std::vector<std::string> candidates;
  for (int i = 0; i < 100000; ++i) candidates.push_back(random_ticket(random, 5, 50, ",", false));

  std::printf("%-28s %14s %14s %10s %9s %10s %6s\n", "windows", "fast/s", "literal/s", "speed-up", "passed",
              "build ms", "diffs");
  g_max_common_numbers = 3;  // what field 438 holds by default
  compare("after Learn", candidates);
  g_removal_threshold = 1;
  run_removal_passes();
  compare("after Remove at 1", candidates);
  ui_shutdown();
  return 0;
}
