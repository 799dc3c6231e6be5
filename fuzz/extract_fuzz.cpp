// Extract: the list read from a draws file (the input), then written out as
// the plain-text extract, which is read back here: its five header lines
// give the count, the ticket size and the cost of the list, and each ticket
// line, read value by value, gives its ticket's values, every field of its
// numbers and stars texts read as an integer, as many as the ticket size.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/core.h"
#include "core/state.h"
#include "core/text.h"
#include "draws/draws.h"
#include "draws/selection.h"
#include "fuzz/format_mutators.h"
#include "fuzz/fuzz_support.h"
#include "support/program_fixture.h"
#include "support/test_support.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

// The extract's lines, each of which must end with CR LF.
std::vector<std::string> lines_of(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find("\r\n", start);
    fuzz_require(end != std::string::npos, "every line of the extract ends with CR LF");
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// The values of a ticket line "3 17 22 40 48 + 2 11": the numbers, each
// followed by a blank, "+ ", then the stars separated by single blanks.
bool read_ticket_line(const std::string& line, std::vector<int64_t>& numbers, std::vector<int64_t>& stars) {
  numbers.clear();
  stars.clear();
  const char* p = line.c_str();
  const char* end = p + line.size();
  auto read_value = [&](std::vector<int64_t>& into) {
    if (p == end || (*p != '-' && (*p < '0' || *p > '9'))) return false;
    char* after = nullptr;
    into.push_back(std::strtoll(p, &after, 10));
    p = after;
    return true;
  };
  while (p != end && *p != '+') {
    if (!read_value(numbers) || p == end || *p++ != ' ') return false;
  }
  if (p == end || *p++ != '+' || p == end || *p++ != ' ') return false;
  for (;;) {
    if (!read_value(stars)) return false;
    if (p == end) return true;
    if (*p++ != ' ') return false;
  }
}

// Every field of a numbers or stars text split at ",", each read as an
// integer.
std::vector<int64_t> values_of(const std::string& text) {
  std::vector<int64_t> values;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    values.push_back(val_int(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
    if (comma == std::string::npos) return values;
    start = comma + 1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start_program();
  return 0;
}

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
  ui_test_clear_messages();
  open_draws_file(path);
  if (g_draw_count == 0) return 0;

  const std::string extract = fuzz_directory() + "extract.txt";
  std::remove(extract.c_str());
  ui_test_clear_messages();
  ui_test_push_file_answer(extract);
  extract_draws_to_text();
  fuzz_require(ui_test_messages().empty(), "a list is extracted without a message");
  const std::vector<std::string> lines = lines_of(read_file_bytes(extract));
  fuzz_require(static_cast<int64_t>(lines.size()) == 5 + g_draw_count, "five header lines and one per ticket");
  fuzz_require(lines[0] == "# Draws:" + std::to_string(g_draw_count), "the header gives the count");
  fuzz_require(lines[1] == "Numbers:" + std::to_string(g_numbers_per_draw), "the header gives the numbers");
  fuzz_require(lines[2] == "  Stars:" + std::to_string(g_stars_per_draw), "the header gives the stars");
  // The count times the selected bet type's price, as 32-bit floats.
  char cost[64];
  std::snprintf(cost, sizeof cost, "%.2f",
                static_cast<double>(static_cast<float>(g_draw_count) * bet_type_price(ui_state(PREFS_BET_TYPE_LIST))));
  fuzz_require(lines[3] == "   Cost:" + std::string(cost) + " " + g_currency, "the header gives the cost");
  fuzz_require(lines[4].rfind("   Date:", 0) == 0 && lines[4].size() == 8 + 19, "the header gives the date");
  std::vector<int64_t> numbers, stars;
  for (int64_t i = 1; i <= g_draw_count; ++i) {
    fuzz_require(read_ticket_line(lines[static_cast<size_t>(4 + i)], numbers, stars), "a ticket line reads back");
    // An opened ticket holds exactly the header's numbers and stars, so its
    // line gives every value of it and no other.
    fuzz_require(numbers == values_of(g_draw_numbers[static_cast<size_t>(i)]) &&
                     stars == values_of(g_draw_stars[static_cast<size_t>(i)]) &&
                     static_cast<int64_t>(numbers.size()) == g_numbers_per_draw &&
                     static_cast<int64_t>(stars.size()) == g_stars_per_draw,
                 "a ticket line gives its ticket, every value of it");
  }
  return 0;
}
