// The past-results import (of the program's own format or of an operator's
// CSV file) followed by what the Statistics tab makes of the entries: the
// frequency of every number and star, and the two rankings with their best
// lists.
#include <algorithm>
#include <cstdint>
#include <numeric>

#include "core/core.h"
#include "core/ids.h"
#include "core/state.h"
#include "core/text.h"
#include "draws/draws.h"
#include "draws/statistics.h"
#include "fuzz/format_mutators.h"
#include "fuzz/fuzz_support.h"
#include "support/program_fixture.h"
#include "techniques/tab_gadgets.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

// One ranking against the frequencies it was made from: every value once,
// with its count, largest counts first, and one list row "kk: value (count)"
// per value counted at least once.
void check_ranking(const std::vector<RankingRecord>& ranking, const std::vector<int64_t>& frequency,
                   int64_t highest, int list) {
  fuzz_require(ranking.size() == frequency.size(), "one ranking record per slot");
  std::vector<int> seen(frequency.size(), 0);
  int64_t counted = 0;
  for (size_t k = 0; k < ranking.size(); ++k) {
    if (k > 0) fuzz_require(ranking[k - 1].count >= ranking[k].count, "the ranking puts larger counts first");
    const int64_t value = val_int(ranking[k].label);
    if (ranking[k].count == 0) continue;
    fuzz_require(value >= 1 && value <= highest, "only values of the game are counted");
    fuzz_require(ranking[k].count == frequency[static_cast<size_t>(value)], "a record holds its value's count");
    fuzz_require(++seen[static_cast<size_t>(value)] == 1, "a value is ranked once");
    ++counted;
  }
  fuzz_require(ui_count_items(list) == counted, "one best-list row per value counted");
  int row = 0;
  for (const RankingRecord& record : ranking) {
    if (record.count == 0) continue;
    const std::string shown = two_digits(row + 1) + ": " + record.label + " (" + str_int(record.count) + ")";
    fuzz_require(ui_item_text(list, row++) == shown, "the best list shows the ranking in its order");
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start_program();
  ui_test_select_tab(GADGET_PANEL, TAB_TECHNIQUES);
  return 0;
}

// Mutations of the entries of the database (fuzz/format_mutators.h).
extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t max_size, unsigned seed) {
  return mutate_past_results(data, size, max_size, seed);
}

extern "C" size_t LLVMFuzzerCustomCrossOver(const uint8_t* data1, size_t size1, const uint8_t* data2, size_t size2,
                                            uint8_t* out, size_t max_out_size, unsigned seed) {
  return cross_over_past_results(data1, size1, data2, size2, out, max_out_size, seed);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz_directory() + "past_results.txt";
  fuzz_write_file(path, fuzz_bytes(data, size));
  ui_test_clear_messages();
  import_file_through_open(path);

  count_number_and_star_frequencies();
  clear_best_lists();
  fill_frequency_rankings();
  const int64_t entries = g_database_draw_count;
  const int64_t numbers = std::accumulate(g_number_frequency.begin(), g_number_frequency.end(), int64_t{0});
  const int64_t stars = std::accumulate(g_star_frequency.begin(), g_star_frequency.end(), int64_t{0});
  // Every entry kept is a draw of the whole game (five different numbers of
  // 1..50, two different stars of 1..12, in digits alone), so each counts
  // all its values.
  fuzz_require(numbers == 5 * entries && stars == 2 * entries, "an entry counts its 5 numbers and 2 stars");
  fuzz_require(g_number_frequency[0] == 0 && g_star_frequency[0] == 0, "slot 0 counts nothing");
  check_ranking(g_number_ranking, g_number_frequency, g_highest_number, STATS_BEST_NUMBERS);
  check_ranking(g_star_ranking, g_star_frequency, g_highest_star, STATS_BEST_STARS);
  return 0;
}
