// A draws file followed by Check for Prizes with a fuzzed result: the first
// line of the input holds the seven result values, separated by blanks, and
// the rest is the draws file. A result is checked exactly when it can be a
// draw, written in whole numbers; each checked ticket's hits are shown in its
// row and counted in one prize tier.
#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/core.h"
#include "core/ids.h"
#include "core/state.h"
#include "core/text.h"
#include "draws/draws.h"
#include "draws/main_tab_ids.h"
#include "fuzz/format_mutators.h"
#include "fuzz/fuzz_support.h"
#include "support/program_fixture.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

int64_t tier_count_sum() {
  int64_t sum = 0;
  for (int64_t counter : {g_hits_5_2, g_hits_5_1, g_hits_5_0, g_hits_4_2, g_hits_4_1, g_hits_4_0, g_hits_3_2,
                          g_hits_3_1, g_hits_3_0, g_hits_2_2, g_hits_2_1, g_hits_2_0, g_hits_1_2, g_hits_1_1,
                          g_hits_1_0, g_hits_0_2, g_hits_0_1, g_hits_0_0})
    sum += counter;
  return sum;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start_program();
  ui_test_select_tab(GADGET_PANEL, TAB_MAIN);
  return 0;
}

// Mutations of the result values, the header and the tickets (fuzz/format_mutators.h).
extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t max_size, unsigned seed) {
  return mutate_result_and_draws_file(data, size, max_size, seed);
}

extern "C" size_t LLVMFuzzerCustomCrossOver(const uint8_t* data1, size_t size1, const uint8_t* data2, size_t size2,
                                            uint8_t* out, size_t max_out_size, unsigned seed) {
  return cross_over_result_and_draws_file(data1, size1, data2, size2, out, max_out_size, seed);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes = fuzz_bytes(data, size);
  const size_t line_end = bytes.find('\n');
  const std::string result = bytes.substr(0, line_end);
  const std::string path = fuzz_directory() + "fuzz.draws.txt";
  fuzz_write_file(path, line_end == std::string::npos ? "" : bytes.substr(line_end + 1));
  FuzzEmptyDrawListAfter empty_list_after;
  open_draws_file(path);
  for (int k = 0; k < 7; ++k)
    ui_set_text(GADGET_RESULT_NUMBER_FIRST + k, string_field(result, k + 1, " "));
  ui_test_clear_messages();
  click_gadget(GADGET_CHECK_PRIZES);
  // With tickets listed, the check takes exactly the results that can be a
  // draw: a value with decimals ("2.5"), a sign, a blank or a letter is none.
  if (g_draw_count > 0)
    fuzz_require(ui_test_messages().empty() == fuzz_result_fields_hold_a_draw(),
                 "a result is checked exactly when it is five different whole numbers and two different stars of "
                 "the game");
  if (!ui_test_messages().empty()) {
    // No list, or a result value out of range or repeated: nothing is
    // counted.
    fuzz_require(tier_count_sum() == 0, "a refused check counts nothing");
    return 0;
  }
  // A result checked is a draw: five different numbers of the game and two
  // different stars, as its fields hold them (the toolkit may keep less of a
  // text than it was given).
  std::vector<int64_t> numbers, stars;
  for (int k = 0; k < 7; ++k) (k < 5 ? numbers : stars).push_back(val_int(ui_text(GADGET_RESULT_NUMBER_FIRST + k)));
  for (const auto& [values, highest] : {std::pair{numbers, g_highest_number}, std::pair{stars, g_highest_star}}) {
    std::vector<int64_t> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    fuzz_require(sorted.front() >= 1 && sorted.back() <= highest &&
                     std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end(),
                 "a result checked holds different values of the game");
  }
  // A listed ticket holds no value twice, so against such a result its row
  // shows at most 5 hit numbers and 2 hit stars, and it is counted in
  // exactly one tier.
  for (int row = 0; row < g_draw_count; ++row) {
    const int64_t hits = val_int(ui_item_text(GADGET_DRAW_LIST, row, 24));
    const int64_t hit_stars = val_int(ui_item_text(GADGET_DRAW_LIST, row, 25));
    fuzz_require(hits >= 0 && hits <= 5 && hit_stars >= 0 && hit_stars <= 2, "a row shows the hits a ticket can have");
  }
  fuzz_require(tier_count_sum() == g_draw_count, "each ticket is in one tier");
  return 0;
}
