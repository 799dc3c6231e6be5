// The past-results import, of the program's own format and of the
// operators' CSV files: the line checks and the entry taken from each draw
// line or row (every entry kept is a draw written in digits; a line refused
// for its values holds none; a CSV file's rows each give one entry, sorted,
// up to the line refused), then, for a sample of the lists of entries it
// reads, what reads the entries:
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
#include <string_view>
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

// Whether an entry can be a draw: its seven fields, separated by blanks, are
// digits alone, and read as integers are five different numbers of 1..50 and
// two different stars of 1..12.
bool entry_is_a_draw(const std::string& entry) {
  std::vector<int64_t> values;
  for (int k = 1; k <= 7; ++k) {
    const std::string field = string_field(entry, k, " ");
    if (!text_is_digits(field)) return false;
    values.push_back(val_int(field));
  }
  auto different_within = [](std::vector<int64_t> v, int64_t highest) {
    std::sort(v.begin(), v.end());
    return v.front() >= 1 && v.back() <= highest && std::adjacent_find(v.begin(), v.end()) == v.end();
  };
  return different_within({values.begin(), values.begin() + 5}, 50) &&
         different_within({values.begin() + 5, values.end()}, 12);
}

// Calls `each` with line 1, 2, ... of the input, as the import counts its
// lines (each ends at LF, CR or CR LF), until it returns false.
void for_each_input_line(const std::string& bytes, const std::function<bool(int64_t, std::string_view)>& each) {
  size_t start = 0;
  for (int64_t line = 1; start < bytes.size(); ++line) {
    const std::string_view rest = std::string_view(bytes).substr(start);
    const std::string_view to_lf = rest.substr(0, rest.find('\n'));
    const size_t end = start + std::min(to_lf.size(), to_lf.find('\r'));
    if (!each(line, std::string_view(bytes).substr(start, end - start))) return;
    start = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
}

// Line n (from 1) of the input.
std::string input_line(const std::string& bytes, int64_t n) {
  std::string found;
  for_each_input_line(bytes, [&](int64_t line, std::string_view text) {
    if (line == n) found = text;
    return line < n;
  });
  return found;
}

// Whether the input's first line is one of the program's own format, which
// makes the file one of that format whatever follows: a comment, the end
// line, or 39 characters with 8 blanks and 2 "+".
bool begins_in_own_format(const std::string& bytes) {
  if (!bytes.empty() && bytes[0] == '#') return true;
  const std::string_view to_lf = std::string_view(bytes).substr(0, bytes.find('\n'));
  const std::string line(to_lf.substr(0, to_lf.find('\r')));
  return line == "@end_database" ||
         (text_length(line) == 39 && count_string(line, " ") == 8 && count_string(line, "+") == 2);
}

// The line a message names, 0 for a message of no line.
int64_t line_named(const std::string& message) {
  const size_t colon = message.rfind(':');
  if (colon == std::string::npos || message.rfind(" in line:") != colon - 8) return 0;
  return val_int(message.substr(colon + 1));
}

// Whether an entry is one the import makes of a CSV row: the numbers and
// then the stars ascending, each in two digits.
bool entry_is_sorted(const std::string& entry) {
  if (entry.size() != 20) return false;
  for (size_t at : {0, 3, 6, 9, 15})
    if (entry.compare(at, 2, entry, at + 3, 2) >= 0) return false;
  return true;
}

// The entries that the rows of an operator's CSV file before line `stop` (0:
// every row) hold, read here by the names of the header's columns: the
// numbers and the stars of each non-empty row after the first line, sorted,
// in two digits; "?" for a row whose values are not digits alone. False for
// a file of no form, or with a double quote anywhere: quoted fields are the
// import's to read.
bool entries_of_rows(const std::string& bytes, int64_t stop, std::vector<std::string>& entries) {
  struct Form {
    char separator;
    const char* date;
    const char* values[7];
  };
  static const Form kForms[] = {
      {',', "date", {"n1", "n2", "n3", "n4", "n5", "s1", "s2"}},
      {';', "date_de_tirage", {"boule_1", "boule_2", "boule_3", "boule_4", "boule_5", "etoile_1", "etoile_2"}},
      {',', "drawdate", {"ball 1", "ball 2", "ball 3", "ball 4", "ball 5", "lucky star 1", "lucky star 2"}},
  };
  if (bytes.find('"') != std::string::npos) return false;
  auto fields_of = [](std::string_view line, char separator) {
    std::vector<std::string> fields(1);
    for (char c : line) {
      if (c == separator)
        fields.emplace_back();
      else
        fields.back() += c;
    }
    for (std::string& f : fields) f = trim_blanks(f);
    return fields;
  };
  std::string header = input_line(bytes, 1);
  if (header.rfind("\xEF\xBB\xBF", 0) == 0) header.erase(0, 3);
  for (const Form& form : kForms) {
    std::vector<std::string> names = fields_of(header, form.separator);
    for (std::string& name : names) name = lower_ascii(name);
    if (std::find(names.begin(), names.end(), form.date) == names.end()) continue;
    size_t columns[7];
    for (int k = 0; k < 7; ++k) {
      columns[k] = static_cast<size_t>(std::find(names.begin(), names.end(), form.values[k]) - names.begin());
      if (columns[k] == names.size()) return false;
    }
    entries.clear();
    for_each_input_line(bytes, [&](int64_t line, std::string_view text) {
      if (stop > 0 && line >= stop) return false;
      if (line == 1 || text.empty()) return true;
      const std::vector<std::string> fields = fields_of(text, form.separator);
      std::vector<int64_t> values;
      for (size_t column : columns) {
        if (column >= fields.size() || !text_is_digits(fields[column])) break;
        const std::string digits = fields[column].substr(std::min(fields[column].find_first_not_of('0'), fields[column].size()));
        values.push_back(digits.size() > 2 ? 100 : val_int(digits));
      }
      if (values.size() != 7) {
        entries.push_back("?");
        return true;
      }
      std::sort(values.begin(), values.begin() + 5);
      std::sort(values.begin() + 5, values.end());
      std::string entry;
      for (int64_t v : values) {
        if (!entry.empty()) entry += ' ';
        entry += two_digits(v);
      }
      entries.push_back(entry);
      return true;
    });
    return true;
  }
  return false;
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
  fuzz_require(ui_test_messages().size() <= 1, "an import gives one message at most");
  const std::string message = ui_test_messages().empty() ? "" : ui_test_messages()[0].text;
  const int64_t stopped_at = line_named(message);
  const std::string refused = "Invalid number or star in line:";
  if (begins_in_own_format(bytes)) {
    // A file of the program's own format. An import stopped for its values
    // names a well-formed draw line whose entry (the line without its "+",
    // from character 18) is not a draw; no message of the CSV files comes.
    for (const char* csv_only : {"Missing column in line:", "Invalid date in line:", "Repeated date in line:"})
      fuzz_require(message.rfind(csv_only, 0) != 0, "a file of the program's own format gets none of the CSV files' messages");
    if (message.rfind(refused, 0) == 0) {
      const std::string line = input_line(bytes, stopped_at);
      if (std::none_of(line.begin(), line.end(), [](char c) { return (c & 0x80) != 0; }))
        fuzz_require(line.size() == 39 && !entry_is_a_draw(replace_string(line, "+", "").substr(17)),
                     "the line named holds an entry that is not a draw");
    }
  } else if (stopped_at == 1) {
    fuzz_require(g_database_draw_count == 0, "a file refused at its first line keeps nothing");
  } else if (message.empty() || stopped_at > 1) {
    // A first line of no draw that the import got past is a CSV header: each
    // non-empty line after it, up to the one refused, gave one sorted entry.
    int64_t rows = 0;
    for_each_input_line(bytes, [&](int64_t line, std::string_view text) {
      if (stopped_at > 0 && line >= stopped_at) return false;
      rows += line > 1 && !text.empty();
      return true;
    });
    fuzz_require(g_database_draw_count == rows, "every row of a CSV file before the line refused is one entry");
    for (int64_t i = 1; i <= g_database_draw_count; ++i)
      fuzz_require(entry_is_sorted(g_database_draws[static_cast<size_t>(i)]),
                   "an entry of a CSV row holds its numbers and its stars in order");
    // And those entries are the rows' values, whatever the rows' order.
    std::vector<std::string> from_rows;
    if (entries_of_rows(bytes, stopped_at, from_rows)) {
      std::vector<std::string> kept(g_database_draws.begin() + 1, g_database_draws.end());
      std::sort(kept.begin(), kept.end());
      std::sort(from_rows.begin(), from_rows.end());
      fuzz_require(kept == from_rows, "the entries of a CSV file are the numbers and stars of its rows");
    }
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
