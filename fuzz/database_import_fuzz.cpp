// The past-results import: the line checks and the entry taken from each
// draw line (every entry kept is a draw; a line refused for its values holds
// none), then, for a sample of the lists of entries it reads, what reads the
// entries:
// Learn (frequencies, every learning pass, the pair associations), Remove,
// the Statistics tab (charts, best lists, copying the best to the selection)
// and the filter's common-numbers rule. The Statistics tab stays in front:
// its charts and buttons are used as the player would, while Open, Learn and
// Remove are run as their buttons run them (switching tabs twice an input
// would cost more than all the rest). (Learn and Remove refuse an empty
// database with a message, which the ordinary tests check.)
#include <algorithm>
#include <cstdint>
#include <functional>
#include <unordered_set>
#include <vector>

#include "core/core.h"
#include "core/state.h"
#include "core/text.h"
#include "core/ids.h"
#include "draws/draws.h"
#include "draws/statistics.h"
#include "support/program_fixture.h"
#include "techniques/tab_gadgets.h"
#include "fuzz/format_mutators.h"
#include "fuzz/fuzz_support.h"
#include "techniques/techniques.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

// Whether an entry can be a draw: its seven fields, separated by blanks and
// read as integers, are five different numbers of 1..50 and two different
// stars of 1..12.
bool entry_is_a_draw(const std::string& entry) {
  std::vector<int64_t> values;
  for (int k = 1; k <= 7; ++k) values.push_back(val_int(string_field(entry, k, " ")));
  auto different_within = [](std::vector<int64_t> v, int64_t highest) {
    std::sort(v.begin(), v.end());
    return v.front() >= 1 && v.back() <= highest && std::adjacent_find(v.begin(), v.end()) == v.end();
  };
  return different_within({values.begin(), values.begin() + 5}, 50) &&
         different_within({values.begin() + 5, values.end()}, 12);
}

// Line n (from 1) of the input, as the import counts its lines: each ends at
// LF, CR or CR LF.
std::string input_line(const std::string& bytes, int64_t n) {
  size_t start = 0;
  for (int64_t line = 1; start < bytes.size(); ++line) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    if (line == n) return bytes.substr(start, end - start);
    start = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return "";
}

// Whether the list of entries read goes through what reads the entries: a
// list not seen before, and of those one in kAnalysedOneIn, picked by the
// list's own hash so that the same list always gets the same answer. The
// mutations of the entries make nearly every input a list not seen before,
// and that reading costs ten times the import.
constexpr size_t kAnalysedOneIn = 8;
bool entries_to_analyse() {
  static std::unordered_set<size_t> seen;
  std::string all;
  for (int64_t i = 1; i <= g_database_draw_count; ++i) all += g_database_draws[static_cast<size_t>(i)] + "\n";
  const size_t hash = std::hash<std::string>{}(all);
  return hash % kAnalysedOneIn == 0 && seen.insert(hash).second;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start_program();
  fuzz_drop_association_grid();
  ui_test_select_tab(GADGET_PANEL, TAB_STATISTICS);
  run_pending_events();
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
  const std::string bytes = fuzz_bytes(data, size);
  fuzz_write_file(path, bytes);
  ui_test_clear_messages();
  fuzz_import_database(path);
  fuzz_require(static_cast<int64_t>(g_database_draws.size()) == g_database_draw_count + 1,
               "one slot per entry and slot 0");
  for (int64_t i = 1; i <= g_database_draw_count; ++i) {
    const std::string& entry = g_database_draws[static_cast<size_t>(i)];
    fuzz_require(text_length(entry) <= 37, "an entry is the end of a draw line");
    fuzz_require(entry_is_a_draw(entry), "every entry kept is a draw");
  }
  // An import stopped for its values names a well-formed draw line whose
  // entry (the line without its "+", from character 18) is not a draw.
  const std::string refused = "Invalid number or star in line:";
  for (const UiMessageRecord& message : ui_test_messages()) {
    if (message.text.rfind(refused, 0) != 0) continue;
    const std::string line = input_line(bytes, val_int(message.text.substr(refused.size())));
    if (std::any_of(line.begin(), line.end(), [](char c) { return (c & 0x80) != 0; })) continue;
    fuzz_require(line.size() == 39 && !entry_is_a_draw(replace_string(line, "+", "").substr(17)),
                 "the line named holds an entry that is not a draw");
  }
  // What reads the entries depends on nothing else, and costs milliseconds:
  // a sample of the different lists of entries goes through it, each once
  // (entries_to_analyse). A database of thousands of entries (the reader's
  // large inputs) would cost tens of milliseconds there, and the statistics
  // target and the ordinary tests read large ones already: here only the
  // reader takes it.
  constexpr int64_t kMostEntriesAnalysed = 300;
  if (g_database_draw_count == 0 || g_database_draw_count > kMostEntriesAnalysed || !entries_to_analyse()) return 0;

  learn_techniques();
  remove_weak_outcomes();
  ui_test_canvas_click(STATS_NUMBERS_CHART, chart_column_x(size % 50 + 1) + 3, 100);
  ui_test_canvas_click(STATS_STARS_CHART, chart_column_x(size % 12 + 1) + 3, 100);
  ui_test_click(STATS_COPY_NUMBERS);
  ui_test_click(STATS_COPY_STARS);
  run_pending_events();
  for (const char* ticket : {"3,17,22,41,50", "16,29,32,36,41", "1,2,3,4,5"}) {
    invalidate_candidate_filter();
    fuzz_require(check_number_techniques(ticket) == check_number_techniques_literal(ticket),
                 "both number checks agree");
  }
  // An entry itself, with commas, as a candidate.
  std::string entry = replace_string(g_database_draws[1], " ", ",");
  fuzz_require(check_number_techniques(entry) == check_number_techniques_literal(entry),
               "both number checks agree on an entry");
  return 0;
}
