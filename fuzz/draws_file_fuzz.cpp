// The draws-file reader (a file it refuses leaves the list it found; a file
// it takes lists only tickets of the header's size, written as the generator
// writes them, that can be part of a draw), then what reads the tickets: the
// filter on the first tickets (the fast check against the literal one), the
// prize check, the preview, and saving and opening the list again.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/core.h"
#include "core/state.h"
#include "core/text.h"
#include "draws/draws.h"
#include "draws/main_tab_ids.h"
#include "fuzz/format_mutators.h"
#include "fuzz/fuzz_support.h"
#include "support/draws_support.h"
#include "support/program_fixture.h"
#include "support/test_support.h"
#include "techniques/techniques.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start_program();
  fuzz_learn_sample_database();
  return 0;
}

namespace {

// Whether a numbers (or stars) text is a ticket's of `count` values: that
// many fields between single commas, each digits alone, read in decimal in
// 1..highest, none twice.
bool ticket_text_sound(const std::string& text, int64_t count, int64_t highest) {
  std::vector<bool> seen(static_cast<size_t>(highest) + 1, false);
  int64_t fields = 0;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    const std::string field = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (!text_is_digits(field)) return false;
    const size_t first = field.find_first_not_of('0');
    if (first == std::string::npos || field.size() - first > 2) return false;  // 0, or 100 and more
    const int64_t v = std::stoll(field.substr(first));
    if (v > highest || seen[static_cast<size_t>(v)]) return false;
    seen[static_cast<size_t>(v)] = true;
    ++fields;
    if (comma == std::string::npos) return fields == count;
    start = comma + 1;
  }
}

// The list an input finds before its file is opened.
const Ticket kListedBefore{"5,10,15,20,25", "3,9"};

}  // namespace

// Mutations of the header and the tickets (fuzz/format_mutators.h).
extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t max_size, unsigned seed) {
  return mutate_draws_file(data, size, max_size, seed);
}

extern "C" size_t LLVMFuzzerCustomCrossOver(const uint8_t* data1, size_t size1, const uint8_t* data2, size_t size2,
                                            uint8_t* out, size_t max_out_size, unsigned seed) {
  return cross_over_draws_file(data1, size1, data2, size2, out, max_out_size, seed);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz_directory() + "fuzz.draws.txt";
  fuzz_write_file(path, fuzz_bytes(data, size));
  FuzzEmptyDrawListAfter empty_list_after;
  list_tickets({kListedBefore});
  g_draws_file_path = "";
  ui_test_clear_messages();
  open_draws_file(path);
  if (g_draws_file_path != path) {
    // Refused (or no file at all): the list is the one it found.
    fuzz_require(!ui_test_messages().empty(), "a file not taken is reported");
    fuzz_require(g_draw_count == 1 && g_draw_numbers[1] == kListedBefore.first &&
                     g_draw_stars[1] == kListedBefore.second && ui_count_items(GADGET_DRAW_LIST) == 1,
                 "a refused file leaves the list as it was");
    return 0;
  }
  fuzz_require(g_draw_count >= 0 && static_cast<int64_t>(g_draw_numbers.size()) > g_draw_count &&
                   static_cast<int64_t>(g_draw_stars.size()) > g_draw_count,
               "every listed ticket has its slots");
  fuzz_require(ui_count_items(GADGET_DRAW_LIST) == g_draw_count, "one row per ticket");
  for (int64_t i = 1; i <= g_draw_count; ++i)
    fuzz_require(ticket_text_sound(g_draw_numbers[static_cast<size_t>(i)], g_numbers_per_draw, 50) &&
                     ticket_text_sound(g_draw_stars[static_cast<size_t>(i)], g_stars_per_draw, 12),
                 "every ticket listed holds the header's numbers and stars, digits joined by single commas, "
                 "that can be part of a draw");
  // A list of thousands of tickets is there for the reader and the writer:
  // what looks at every ticket's values (the filter, the prize check, the
  // preview) sees the first tickets of a large list only, or none, as a
  // comparison per value of thousands of tickets would make each such input
  // new to the fuzzer, and slow.
  constexpr int64_t kTicketsLookedAt = 24;
  constexpr int64_t kLargestListChecked = 500;
  for (int64_t i = 1; i <= std::min<int64_t>(g_draw_count, kTicketsLookedAt); ++i) {
    const std::string& numbers = g_draw_numbers[static_cast<size_t>(i)];
    const std::string& stars = g_draw_stars[static_cast<size_t>(i)];
    fuzz_require(check_number_techniques(numbers) == check_number_techniques_literal(numbers),
                 "both number checks agree");
    fuzz_require(check_star_windows(stars) == check_star_windows_literal(stars), "both star checks agree");
  }
  if (g_draw_count == 0) return 0;

  if (g_draw_count <= kLargestListChecked) {
    const char* result[] = {"3", "17", "22", "40", "48", "2", "11"};
    for (int k = 0; k < 7; ++k) ui_set_text(GADGET_RESULT_NUMBER_FIRST + k, result[k]);
    check_for_prizes();
    fuzz_preview_when_new();
  }

  // What was read is saved and read back unchanged.
  const int64_t count = g_draw_count;
  const std::vector<std::string> numbers(g_draw_numbers.begin(), g_draw_numbers.begin() + count + 1);
  const std::vector<std::string> stars(g_draw_stars.begin(), g_draw_stars.begin() + count + 1);
  const std::string copy = fuzz_directory() + "copy.draws.txt";
  std::remove(copy.c_str());
  ui_test_push_file_answer(copy);
  save_draws_file(0, 1);
  open_draws_file(copy);
  fuzz_require(g_draw_count == count, "the saved list has every ticket");
  for (int64_t i = 1; i <= count; ++i)
    fuzz_require(g_draw_numbers[static_cast<size_t>(i)] == numbers[static_cast<size_t>(i)] &&
                     g_draw_stars[static_cast<size_t>(i)] == stars[static_cast<size_t>(i)],
                 "the saved list reads back unchanged");
  return 0;
}
