// Import of the past-results database. Two kinds of file are read, told
// apart by their first line:
// - the program's own format: 39-character draw lines and "#" comment lines,
//   ended by "@end_database" or by the end of the file. Each draw line leaves
//   its last 20 characters, once its two "+" are taken out, as one entry:
//   five numbers and two stars of two digits each. A line whose entry cannot
//   be a draw stops the import like a malformed one.
// - the result files that the operators publish, as CSV rows under a header
//   that names the columns (kCsvForms). Each row gives one entry, its numbers
//   and stars sorted (the operators list them as drawn), and the entries are
//   put in the order of their dates, oldest first, whatever the file's order.
#include <algorithm>
#include <bitset>
#include <cstdio>
#include <numeric>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/core.h"
#include "core/files.h"
#include "core/ids.h"
#include "core/text.h"
#include "techniques/tab_gadgets.h"
#include "techniques/techniques.h"
#include "ui/ui.h"

namespace {

constexpr int64_t kDrawLineLength = 39;
constexpr int64_t kDrawLineBlanks = 8;
constexpr int64_t kDrawLinePluses = 2;
constexpr int64_t kEntryStart = 18;  // character where the entry begins once "+" are out
const char* const kEndLine = "@end_database";

// A draw line is at most 39 characters of up to 4 bytes; no line that can
// pass a check is longer than this, so only this much of a line is kept.
constexpr size_t kKeptBytes = 4 * kDrawLineLength + 4;
// The operators' rows carry dozens of columns (prizes, winners, codes): a
// line of a CSV file, and the first line of any file, is kept up to this.
// A longer one is refused as too long rather than read in part.
constexpr size_t kCsvKeptBytes = 64 * 1024;

// The message of a line that is neither a comment, the end line nor a well
// formed draw line; "" when the line passes.
std::string draw_line_fault(const std::string& text, int64_t characters) {
  if (characters != kDrawLineLength) return "Invalid number of length in line:";
  if (count_string(text, " ") != kDrawLineBlanks) return "Invalid number of spaces in line:";
  if (count_string(text, "+") != kDrawLinePluses) return "Invalid number of stars in line:";
  return "";
}

// The value of a text of digits alone, 100 for any larger one; -1 for a text
// that is not digits alone (a letter O for a zero, a sign, a blank, "").
int64_t draw_value(const std::string& text) {
  if (!text_is_digits(text)) return -1;
  int64_t v = 0;
  for (char c : text) v = std::min<int64_t>(v * 10 + (c - '0'), 100);
  return v;
}

// Whether seven texts are a draw of this lottery: five different numbers in
// 1..50, then two different stars in 1..12, each written in digits alone.
// The range is the format's own, not the current game's, so the full game's
// results stay importable in a smaller game. Leaves the values in `values`.
bool texts_are_a_draw(const std::string (&texts)[7], int64_t (&values)[7]) {
  for (int k = 0; k < 7; ++k) {
    values[k] = draw_value(texts[k]);
    const int64_t highest = k < 5 ? 50 : 12;
    if (values[k] < 1 || values[k] > highest) return false;
    const int first = k < 5 ? 0 : 5;
    for (int e = first; e < k; ++e)
      if (values[e] == values[k]) return false;
  }
  return true;
}

// Whether an entry of the program's own format can be a draw, its seven
// fields taken as every reader of the entries takes them: split at blanks.
bool entry_is_a_draw(const std::string& entry) {
  std::string texts[7];
  int64_t values[7];
  for (int k = 0; k < 7; ++k) texts[k] = string_field(entry, k + 1, " ");
  return texts_are_a_draw(texts, values);
}

// Whether a line read is one of the program's own format: a comment, the
// end line or a well-formed draw line.
bool own_format_line(const TextLine& line) {
  return (!line.text.empty() && line.text[0] == '#') || line.text == kEndLine ||
         draw_line_fault(line.text, line.characters).empty();
}

// ---- the operators' CSV files ----------------------------------------------------

// One form of results file: the separator of its fields, the header name of
// its date column, which tells the form, and of its value columns, the five
// numbers and then the two stars. Names are matched without regard to case
// or to blanks around them; every other column is ignored.
struct CsvForm {
  char separator;
  const char* date;
  const char* values[7];
};
const CsvForm kCsvForms[] = {
    // The plain form, as data/results.csv.
    {',', "date", {"n1", "n2", "n3", "n4", "n5", "s1", "s2"}},
    // The French operator's files.
    {';', "date_de_tirage", {"boule_1", "boule_2", "boule_3", "boule_4", "boule_5", "etoile_1", "etoile_2"}},
    // The UK operator's draw-history download.
    {',', "drawdate", {"ball 1", "ball 2", "ball 3", "ball 4", "ball 5", "lucky star 1", "lucky star 2"}},
};

// A CSV file being read: its form, where its header puts the columns, and
// the date of each entry read so far.
struct CsvReading {
  const CsvForm* form = nullptr;  // none: the program's own format
  size_t date_column = 0;
  size_t value_columns[7] = {};
  size_t fields_needed = 0;  // a row with fewer lacks a column
  bool complete = false;     // the header names every value column
  std::vector<int32_t> dates;  // yyyymmdd of entry 1, 2, ... as read
  std::unordered_map<int32_t, std::bitset<12 * 31>> days_seen;  // by year, a bit per month and day
};

// The fields of a CSV row split at `separator`, each without the blanks
// around it. A field may stand in double quotes, which may hold the
// separator; "" inside them stands for one quote.
std::vector<std::string> csv_fields(const std::string& row, char separator) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < row.size(); ++i) {
    const char c = row[i];
    if (quoted) {
      if (c != '"') {
        fields.back() += c;
      } else if (i + 1 < row.size() && row[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == separator) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  for (std::string& f : fields) f = trim_blanks(f);
  return fields;
}

// Whether a first line is the header of a form of kCsvForms (it names that
// form's date column); `csv` then holds the form and its columns. A
// byte-order mark before it, as spreadsheets write one, is passed over.
bool read_csv_header(const TextLine& line, CsvReading& csv) {
  if (text_length(line.text) != line.characters) return false;  // cut short
  std::string header = line.text;
  if (header.rfind("\xEF\xBB\xBF", 0) == 0) header.erase(0, 3);
  for (const CsvForm& form : kCsvForms) {
    std::vector<std::string> names = csv_fields(header, form.separator);
    for (std::string& name : names) name = lower_ascii(name);
    auto column_of = [&names](const char* name) {
      return static_cast<size_t>(std::find(names.begin(), names.end(), name) - names.begin());
    };
    csv.date_column = column_of(form.date);
    if (csv.date_column == names.size()) continue;
    csv.form = &form;
    csv.complete = true;
    csv.fields_needed = csv.date_column + 1;
    for (int k = 0; k < 7; ++k) {
      csv.value_columns[k] = column_of(form.values[k]);
      csv.complete = csv.complete && csv.value_columns[k] < names.size();
      csv.fields_needed = std::max(csv.fields_needed, csv.value_columns[k] + 1);
    }
    return true;
  }
  return false;
}

// A text of `least` to `most` digits and nothing else, as a number; -1
// otherwise.
int digits_value(const std::string& text, size_t least, size_t most) {
  if (text.size() < least || text.size() > most || !text_is_digits(text)) return -1;
  return static_cast<int>(val_int(text));
}

// The day a date of the operators' files names, as yyyymmdd: 2004-02-13,
// 13/02/2004, 20040213 or 13-Feb-2004 (days and months of one or two
// digits, a month by its English name or its number); 0 for any other text
// and for a day that no calendar has.
int32_t date_value(const std::string& text) {
  static const char* const kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                        "jul", "aug", "sep", "oct", "nov", "dec"};
  int year = -1, month = -1, day = -1;
  const char* separator = text.find('/') != std::string::npos ? "/" : "-";
  if (count_string(text, separator) == 2) {
    const std::string a = string_field(text, 1, separator), b = string_field(text, 2, separator),
                      c = string_field(text, 3, separator);
    if (a.size() == 4) {  // 2004-02-13
      year = digits_value(a, 4, 4), month = digits_value(b, 1, 2), day = digits_value(c, 1, 2);
    } else {  // 13/02/2004, 13-Feb-2004
      year = digits_value(c, 4, 4), month = digits_value(b, 1, 2), day = digits_value(a, 1, 2);
      for (int m = 0; m < 12; ++m)
        if (lower_ascii(b) == kMonths[m]) month = m + 1;
    }
  } else if (digits_value(text, 8, 8) >= 0) {  // 20040213
    year = digits_value(text.substr(0, 4), 4, 4), month = digits_value(text.substr(4, 2), 2, 2),
    day = digits_value(text.substr(6, 2), 2, 2);
  }
  if (year < 1 || month < 1 || month > 12 || day < 1) return 0;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (day > kDays[month - 1] + (month == 2 && leap ? 1 : 0)) return 0;
  return year * 10000 + month * 100 + day;
}

// Reads one row of a CSV file into a new entry; the message of its fault, or
// "" when it passed. An empty line is no row and passes.
std::string read_csv_row(const TextLine& line, CsvReading& csv, std::string& entry) {
  entry.clear();
  if (line.text.empty()) return "";
  if (text_length(line.text) != line.characters) return "Invalid number of length in line:";
  const std::vector<std::string> fields = csv_fields(line.text, csv.form->separator);
  if (fields.size() < csv.fields_needed) return "Missing column in line:";
  const int32_t date = date_value(fields[csv.date_column]);
  if (date == 0) return "Invalid date in line:";
  std::string texts[7];
  int64_t values[7];
  for (int k = 0; k < 7; ++k) texts[k] = fields[csv.value_columns[k]];
  if (!texts_are_a_draw(texts, values)) return "Invalid number or star in line:";
  const size_t day = static_cast<size_t>((date / 100 % 100 - 1) * 31 + date % 100 - 1);
  std::bitset<12 * 31>& year = csv.days_seen[date / 10000];
  if (year[day]) return "Repeated date in line:";
  year[day] = true;
  csv.dates.push_back(date);
  std::sort(values, values + 5);
  std::sort(values + 5, values + 7);
  for (int k = 0; k < 7; ++k) {
    if (k > 0) entry += ' ';
    entry += two_digits(values[k]);
  }
  return "";
}

// Puts the entries read from a CSV file in the order of their dates.
void put_entries_in_date_order(const CsvReading& csv) {
  std::vector<size_t> order(csv.dates.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::sort(order.begin(), order.end(), [&csv](size_t a, size_t b) { return csv.dates[a] < csv.dates[b]; });
  std::vector<std::string> sorted(1);
  sorted.reserve(order.size() + 1);
  for (size_t i : order) sorted.push_back(std::move(g_database_draws[i + 1]));
  g_database_draws = std::move(sorted);
}

void show_imported_count() {
  ui_set_text(GADGET_DRAWS_IMPORTED, translate("Draws Imported:") + str_int(g_database_draw_count));
}

void report_unreadable_file() {
  ui_message(translate("Error"), translate("The draws database file can't be read."),
             UI_ICON_WARNING);
}

}  // namespace

void import_draws_database() {
  const std::string path =
      ui_open_file_dialog(translate("Open Draws database"), history_folder(),
                          translate("Draws database") + " (*.txt)|*.txt|CSV (*.csv)|*.csv", 0);
  if (path.empty()) return;
  // A missing path, an empty file, a folder or anything but a plain file
  // counts as not found.
  if (plain_file_size(path) < 1) {
    ui_message(translate("Error"), translate(".TXT file not found."), UI_ICON_WARNING);
    return;
  }
  // Opened before the old database is dropped: a file that cannot be read
  // leaves the previous database in place.
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    report_unreadable_file();
    return;
  }

  g_database_draws.assign(1, "");
  g_database_draw_count = 0;
  g_database_path = path;
  show_database_file_name();
  show_imported_count();
  start_long_operation();

  TextLine line;
  int64_t line_number = 0;
  CsvReading csv;
  std::string fault;  // the message that stopped the import at line_number
  bool read_failed = false, aborted = false;
  for (;;) {
    const size_t keep = line_number == 0 || csv.form != nullptr ? kCsvKeptBytes : kKeptBytes;
    if (!read_text_line(file, line, keep)) {
      // The end of the file, or a read error (which may have cut the line
      // short: the file is reported, not the line).
      read_failed = std::ferror(file) != 0;
      break;
    }
    ++line_number;
    std::string entry;
    bool end_line = false;
    if (line_number == 1 && !own_format_line(line) && read_csv_header(line, csv)) {
      if (!csv.complete) fault = "Missing column in line:";
    } else if (csv.form != nullptr) {
      fault = read_csv_row(line, csv, entry);
    } else {
      end_line = line.text == kEndLine;
      const bool comment = !line.text.empty() && line.text[0] == '#';
      if (!comment && !end_line) {
        fault = draw_line_fault(line.text, line.characters);
        if (fault.empty()) {
          entry = text_mid(replace_string(line.text, "+", ""), kEntryStart);
          if (!entry_is_a_draw(entry)) fault = "Invalid number or star in line:";
        }
      }
    }
    if (!fault.empty()) break;
    if (!entry.empty()) {
      ++g_database_draw_count;
      g_database_draws.push_back(entry);
      show_imported_count();
    }
    if (poll_abort_request()) {
      aborted = true;
      break;
    }
    if (end_line) break;
  }

  // Whatever stopped it, the entries read so far stay, in date order.
  if (csv.form != nullptr) put_entries_in_date_order(csv);
  std::fclose(file);
  end_long_operation();
  // The candidate filter keeps tables built from the entries; a file of the
  // same path and count may differ anywhere, so every way out renews them.
  invalidate_candidate_filter();
  if (!fault.empty()) {
    ui_message(translate("Error"), translate(fault) + str_int(line_number), UI_ICON_WARNING);
  } else if (read_failed) {
    report_unreadable_file();
  } else if (!aborted) {
    show_database_file_name();
  }
}

void show_database_file_name() {
  std::string name = file_name_of(g_database_path);
  if (name.empty()) name = "n/a";
  ui_set_text(GADGET_DATABASE_FILE, translate("File:") + name);
}
