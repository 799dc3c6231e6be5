#include "fuzz/format_mutators.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <deque>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "core/settings_file.h"
#include "core/state.h"
#include "core/text.h"
#include "draws/selection.h"
#include "techniques/catalogue.h"

namespace {

// ---- chance --------------------------------------------------------------------

// SplitMix64. The seed is mixed first: libFuzzer's seeds are random, but
// the check's are consecutive, and two streams started from neighbouring
// states would be the same stream shifted by one draw.
struct Dice {
  uint64_t state;
};

uint64_t mix_bits(uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

Dice dice_from_seed(unsigned seed) { return Dice{mix_bits(uint64_t{seed} ^ 0x5851F42D4C957F2Dull)}; }

uint64_t roll(Dice& dice) { return mix_bits(dice.state += 0x9E3779B97F4A7C15ull); }

// 0..n-1; 0 when n is 0.
size_t roll_below(Dice& dice, size_t n) { return n == 0 ? 0 : static_cast<size_t>(roll(dice) % n); }

int64_t roll_between(Dice& dice, int64_t lo, int64_t hi) {
  return lo + static_cast<int64_t>(roll(dice) % (static_cast<uint64_t>(hi - lo) + 1));
}

bool roll_one_in(Dice& dice, size_t n) { return roll_below(dice, n) == 0; }

// An index into `weights`, each chosen in proportion to its weight.
size_t roll_weighted(Dice& dice, std::initializer_list<unsigned> weights) {
  unsigned total = 0;
  for (unsigned w : weights) total += w;
  size_t left = roll_below(dice, total), k = 0;
  for (unsigned w : weights) {
    if (left < w) return k;
    left -= w;
    ++k;
  }
  return 0;
}

template <class T>
const T& roll_of(Dice& dice, const std::vector<T>& items) {
  return items[roll_below(dice, items.size())];
}

// Share of the calls that go to libFuzzer's byte mutation, in percent, and
// of the crossover offers taken.
constexpr size_t kBytePercent = 20;
constexpr size_t kCrossOverTakenOneIn = 4;

// A file of more records than this loses a run of them in one mutation of
// two, keeping a half, a quarter, an eighth ... of them, each as likely. What
// its many records reach, a file of fewer mostly reaches too, and libFuzzer
// keeps the smaller file in place of the larger when it has all that the
// larger had: large inputs, which cost milliseconds each (a draws file of a
// hundred tickets costs seven times one of three), as do most of their
// mutations, then give way to smaller ones. The seeds keep files of
// thousands of records in every run.
constexpr size_t kManyRecords = 64;
// A line of more bytes than this is cut in the same way now and then, for
// the same reason: a line of tens of kilobytes makes every input that keeps
// it slow, and what it reaches that a shorter one does not (the readers cut a
// line at 64 KiB) keeps the longer line in the corpus.
constexpr size_t kLongLine = 256;

// ---- values --------------------------------------------------------------------

// The values a field holds: the range that the reader takes, and what lies at
// its edges and beyond.
struct FieldValues {
  int64_t lo;
  int64_t hi;
  std::vector<int64_t> boundaries;  // besides lo - 1, lo, hi and hi + 1
};

// Every value of the past-results and draws formats: a number of 1..50 or a
// star of 1..12, with the edges of both.
const std::vector<int64_t> kGameBoundaries = {0, 1, 12, 13, 50, 51, 99};

// A new value for a field that holds `old`: most often one of its range
// (of a wide range, half the time one of its first hundred or first hundred
// thousand values), otherwise a neighbour, a boundary or `elsewhere`, a value
// found in another record.
int64_t choose_value(Dice& dice, int64_t old, const FieldValues& field, const int64_t* elsewhere) {
  switch (roll_weighted(dice, {62, 12, 14, 12})) {
    case 0:
      if (field.hi - field.lo > 1000 && roll_one_in(dice, 2))
        return roll_between(dice, field.lo, std::min(field.hi, field.lo + (roll_one_in(dice, 2) ? 99 : 99999)));
      return roll_between(dice, field.lo, field.hi);
    case 1:
      return roll_one_in(dice, 2) ? old + 1 : old - 1;
    case 2: {
      const size_t edges = 4 + field.boundaries.size();
      const size_t k = roll_below(dice, edges);
      if (k == 0) return field.lo - 1;
      if (k == 1) return field.lo;
      if (k == 2) return field.hi;
      if (k == 3) return field.hi + 1;
      return field.boundaries[k - 4];
    }
    default:
      return elsewhere != nullptr ? *elsewhere : roll_between(dice, field.lo, field.hi);
  }
}

// As choose_value, but for a record whose values differ from each other:
// most of the time a value another field of the record holds is drawn again.
int64_t choose_other_value(Dice& dice, int64_t old, const FieldValues& field, const int64_t* elsewhere,
                           const std::vector<int64_t>& record, size_t self) {
  auto repeats = [&](int64_t v) {
    for (size_t k = 0; k < record.size(); ++k)
      if (k != self && record[k] == v) return true;
    return false;
  };
  int64_t v = choose_value(dice, old, field, elsewhere);
  for (int tries = 0; tries < 4 && repeats(v) && !roll_one_in(dice, 8); ++tries)
    v = choose_value(dice, old, field, elsewhere);
  return v;
}

// A byte that breaks a record: one of the formats' own separators and
// digits, or any byte.
char stray_byte(Dice& dice) {
  static const char kSpecial[] = " ,+#-$%0123456789\t\r\n";
  if (roll_one_in(dice, 2)) return static_cast<char>(roll_below(dice, 256));
  return kSpecial[roll_below(dice, sizeof kSpecial - 1)];
}

// `count` different values of lo..hi, ascending, as the generator makes a
// ticket.
std::vector<int64_t> different_values(Dice& dice, size_t count, int64_t lo, int64_t hi) {
  std::vector<int64_t> values;
  count = std::min<size_t>(count, static_cast<size_t>(hi - lo + 1));
  while (values.size() < count) {
    int64_t v = roll_between(dice, lo, hi);
    if (std::find(values.begin(), values.end(), v) == values.end()) values.push_back(v);
  }
  std::sort(values.begin(), values.end());
  return values;
}

// How many of `count` records a cut keeps: count / 2, count / 4, ... down to
// one, each as likely.
size_t kept_of_many(Dice& dice, size_t count) {
  size_t halvings = 0;
  while ((count >> (halvings + 1)) > 0) ++halvings;
  return std::max<size_t>(1, count >> (1 + roll_below(dice, halvings)));
}

// ---- lines ---------------------------------------------------------------------

// A text file as its lines, each with its own line end (LF, CR or CR LF, as
// the readers take them; none for a last line without one). Lines point into
// the input or into `made`, the lines a mutation wrote.
struct TextLines {
  std::vector<std::string_view> text;
  std::vector<std::string_view> end;
  std::deque<std::string> made;
  std::string_view usual_end;  // the first line end of the file
};

size_t line_count(const TextLines& lines) { return lines.text.size(); }

// A text that lines of `lines` can point to as long as `lines` lives.
std::string_view keep_text(TextLines& lines, std::string s) {
  lines.made.push_back(std::move(s));
  return lines.made.back();
}

void set_line(TextLines& lines, size_t i, std::string s) { lines.text[i] = keep_text(lines, std::move(s)); }

void insert_line(TextLines& lines, size_t at, std::string_view text, std::string_view end) {
  lines.text.insert(lines.text.begin() + static_cast<std::ptrdiff_t>(at), text);
  lines.end.insert(lines.end.begin() + static_cast<std::ptrdiff_t>(at), end);
}

void erase_lines(TextLines& lines, size_t at, size_t count) {
  auto from = [&](auto& v) { return v.begin() + static_cast<std::ptrdiff_t>(at); };
  auto to = [&](auto& v) { return v.begin() + static_cast<std::ptrdiff_t>(at + count); };
  lines.text.erase(from(lines.text), to(lines.text));
  lines.end.erase(from(lines.end), to(lines.end));
}

// Moves lines [from, from + count) so that they start at `to` of what
// remains once they are taken out.
void move_lines(TextLines& lines, size_t from, size_t count, size_t to) {
  auto at = [](auto& v, size_t i) { return v.begin() + static_cast<std::ptrdiff_t>(i); };
  const std::vector<std::string_view> text(at(lines.text, from), at(lines.text, from + count));
  const std::vector<std::string_view> end(at(lines.end, from), at(lines.end, from + count));
  erase_lines(lines, from, count);
  lines.text.insert(at(lines.text, to), text.begin(), text.end());
  lines.end.insert(at(lines.end, to), end.begin(), end.end());
}

TextLines split_lines(std::string_view bytes, std::string_view default_end) {
  TextLines lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t stop = start;
    while (stop < bytes.size() && bytes[stop] != '\n' && bytes[stop] != '\r') ++stop;
    size_t after = stop;
    if (after < bytes.size()) {
      after += bytes[after] == '\r' && after + 1 < bytes.size() && bytes[after + 1] == '\n' ? 2 : 1;
    }
    lines.text.push_back(bytes.substr(start, stop - start));
    lines.end.push_back(bytes.substr(stop, after - stop));
    if (lines.usual_end.empty()) lines.usual_end = lines.end.back();
    start = after;
  }
  if (lines.usual_end.empty()) lines.usual_end = default_end;
  return lines;
}

// The file again; a line that has come to stand before another gets the
// file's usual line end when it had none.
std::string join_lines(const TextLines& lines) {
  std::string out;
  size_t bytes = 0;
  for (size_t i = 0; i < line_count(lines); ++i) bytes += lines.text[i].size() + lines.end[i].size() + 2;
  out.reserve(bytes);
  for (size_t i = 0; i < line_count(lines); ++i) {
    out += lines.text[i];
    out += lines.end[i].empty() && i + 1 < line_count(lines) ? lines.usual_end : lines.end[i];
  }
  return out;
}

// A piece of a line longer than kLongLine, from anywhere in it: a half, a
// quarter, ... of it (kept_of_many); false when the file has no such line.
bool cut_a_long_line(Dice& dice, TextLines& lines) {
  std::vector<size_t> long_lines;
  for (size_t i = 0; i < line_count(lines); ++i)
    if (lines.text[i].size() > kLongLine) long_lines.push_back(i);
  if (long_lines.empty()) return false;
  const size_t i = roll_of(dice, long_lines);
  const size_t keep = kept_of_many(dice, lines.text[i].size());
  lines.text[i] = lines.text[i].substr(roll_below(dice, lines.text[i].size() - keep + 1), keep);
  return true;
}

// A line broken on purpose: a byte inserted, taken out or replaced.
std::string broken_line(Dice& dice, std::string_view line) {
  std::string t(line);
  switch (t.empty() ? 0 : roll_weighted(dice, {2, 2, 2})) {
    case 0:
      t.insert(t.begin() + static_cast<std::ptrdiff_t>(roll_below(dice, t.size() + 1)), stray_byte(dice));
      break;
    case 1:
      t.erase(roll_below(dice, t.size()), 1);
      break;
    default:
      t[roll_below(dice, t.size())] = stray_byte(dice);
      break;
  }
  return t;
}

// The decimal values of a text of values separated by "," ("3,17,22"); false
// when a field is not a plain decimal number.
bool read_comma_values(std::string_view text, std::vector<int64_t>& values) {
  values.clear();
  size_t start = 0;
  for (;;) {
    size_t comma = text.find(',', start);
    std::string_view field =
        text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    if (field.empty() || field.size() > 9) return false;
    int64_t v = 0;
    for (char c : field) {
      if (c < '0' || c > '9') return false;
      v = v * 10 + (c - '0');
    }
    values.push_back(v);
    if (comma == std::string_view::npos) return true;
    start = comma + 1;
  }
}

std::string comma_text(const std::vector<int64_t>& values) {
  std::string t;
  for (size_t k = 0; k < values.size(); ++k) {
    if (k > 0) t += ',';
    t += str_int(values[k]);
  }
  return t;
}

// Writes `out` over the input when it fits; otherwise (or when the format's
// mutation declined) libFuzzer's byte mutation runs on the input.
size_t put_or_mutate_bytes(bool made, const std::string& out, uint8_t* data, size_t size, size_t max_size) {
  if (!made || out.empty() || out.size() > max_size) return LLVMFuzzerMutate(data, size, max_size);
  std::memcpy(data, out.data(), out.size());
  return out.size();
}

size_t put_cross_over(const std::string& out, uint8_t* data, size_t max_size) {
  if (out.empty() || out.size() > max_size) return 0;
  std::memcpy(data, out.data(), out.size());
  return out.size();
}

// ---- the past-results database ---------------------------------------------------

// A draw line as the database's files hold it: 17 characters of serial and
// date, then the seven values, each of two digits after a blank, the stars
// after a "+" (00001 2004-02-13 16 29 32 36 41 +07 +09).
constexpr size_t kDrawLineBytes = 39;
constexpr size_t kValueAt[7] = {17, 20, 23, 26, 29, 33, 37};
const char* const kEndLine = "@end_database";

bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool is_draw_line(std::string_view t) {
  if (t.size() != kDrawLineBytes) return false;
  for (size_t at : kValueAt)
    if (!is_digit(t[at]) || !is_digit(t[at + 1]) || t[at - 1] != (at == 33 || at == 37 ? '+' : ' ')) return false;
  return t[31] == ' ' && t[35] == ' ';
}

int64_t draw_line_value(std::string_view t, int k) { return (t[kValueAt[k]] - '0') * 10 + (t[kValueAt[k] + 1] - '0'); }

std::vector<int64_t> draw_line_values(std::string_view t) {
  std::vector<int64_t> values;
  for (int k = 0; k < 7; ++k) values.push_back(draw_line_value(t, k));
  return values;
}

// Two digits for 0..99; any other value as it is written in decimal, which
// gives the line another length.
std::string entry_value_text(int64_t v) { return v >= 0 && v <= 99 ? two_digits(v) : str_int(v); }

std::string with_value(std::string_view line, int k, int64_t v) {
  std::string t(line.substr(0, kValueAt[k]));
  t += entry_value_text(v);
  t += line.substr(kValueAt[k] + 2);
  return t;
}

std::vector<size_t> draw_lines_of(const TextLines& lines) {
  std::vector<size_t> draws;
  for (size_t i = 0; i < line_count(lines); ++i)
    if (is_draw_line(lines.text[i])) draws.push_back(i);
  return draws;
}

// A new draw line: the serial and date of a line of the file, or made up,
// and a draw of five different numbers and two different stars.
std::string fresh_draw_line(Dice& dice, const TextLines& lines, const std::vector<size_t>& draws) {
  std::vector<int64_t> n = different_values(dice, 5, 1, 50), s = different_values(dice, 2, 1, 12);
  int numbers[5], stars[2];
  for (int k = 0; k < 5; ++k) numbers[k] = static_cast<int>(n[static_cast<size_t>(k)]);
  for (int k = 0; k < 2; ++k) stars[k] = static_cast<int>(s[static_cast<size_t>(k)]);
  std::string line = past_result_line(static_cast<int>(line_count(lines) % 100000), 2004, 2, 13, numbers, stars);
  if (!draws.empty()) line.replace(0, kValueAt[0], lines.text[roll_of(dice, draws)].substr(0, kValueAt[0]));
  return line;
}

// The draw line with one of its seven values changed: a number to one of
// 1..50 or a star to one of 1..12 (mostly different from the entry's other
// numbers or stars), a neighbour, a boundary or a value of another entry.
std::string entry_with_new_value(Dice& dice, const TextLines& lines, const std::vector<size_t>& draws,
                                 std::string_view line) {
  const int k = static_cast<int>(roll_below(dice, 7));
  const bool star = k >= 5;
  const FieldValues field{1, star ? 12 : 50, kGameBoundaries};
  const int64_t elsewhere =
      draw_line_value(lines.text[roll_of(dice, draws)],
                      star ? 5 + static_cast<int>(roll_below(dice, 2)) : static_cast<int>(roll_below(dice, 5)));
  const std::vector<int64_t> values = draw_line_values(line);
  const std::vector<int64_t> kind(values.begin() + (star ? 5 : 0), values.begin() + (star ? 7 : 5));
  const int64_t v = choose_other_value(dice, values[static_cast<size_t>(k)], field, &elsewhere, kind,
                                       static_cast<size_t>(star ? k - 5 : k));
  return with_value(line, k, v);
}

// Breaks one draw line the way each line check sees it: its length, its
// count of blanks, its count of "+", or a stray byte in a value.
std::string broken_draw_line(Dice& dice, std::string_view line) {
  static const size_t kBlanks[] = {16, 19, 22, 25, 28, 31, 35};
  std::string t(line);
  const size_t digit = kValueAt[roll_below(dice, 7)] + roll_below(dice, 2);
  switch (roll_weighted(dice, {3, 1, 1, 1, 1, 2})) {
    case 0:
      return broken_line(dice, line);  // mostly another length
    case 1:
      t[digit] = ' ';
      break;  // a blank too many
    case 2:
      t[kBlanks[roll_below(dice, 7)]] = '0';
      break;  // a blank too few
    case 3:
      t[digit] = '+';
      break;  // a "+" too many
    case 4:
      t[roll_one_in(dice, 2) ? 32 : 36] = '0';
      break;  // a "+" too few
    default:
      t[digit] = stray_byte(dice);
      break;
  }
  return t;
}

// ---- the operators' CSV files of past results -----------------------------------

// The columns of an operator's CSV file that the import reads, as its header
// names them: the date, then the five numbers and the two stars, of each
// form (the plain one, the French operator's, the UK operator's).
const char* const kCsvDateNames[] = {"date", "date_de_tirage", "drawdate"};
const char* const kCsvValueNames[][7] = {
    {"n1", "n2", "n3", "n4", "n5", "s1", "s2"},
    {"boule_1", "boule_2", "boule_3", "boule_4", "boule_5", "etoile_1", "etoile_2"},
    {"ball 1", "ball 2", "ball 3", "ball 4", "ball 5", "lucky star 1", "lucky star 2"},
};
const char* const kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Where the header of a CSV file puts the columns the import reads.
struct CsvColumns {
  char separator = ',';
  size_t date = 0;
  size_t values[7] = {};  // the five numbers, then the two stars
  size_t needed = 0;      // fields a row must have
};

// The fields of a CSV line at its separator, each as it stands (quotes and
// blanks kept, a quoted separator no end of a field), so that the fields
// joined again at the separator are the line.
std::vector<std::string> csv_line_fields(std::string_view line, char separator) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (char c : line) {
    if (c == '"') quoted = !quoted;
    if (c == separator && !quoted)
      fields.emplace_back();
    else
      fields.back() += c;
  }
  return fields;
}

std::string csv_line(const std::vector<std::string>& fields, char separator) {
  std::string t;
  for (size_t k = 0; k < fields.size(); ++k) {
    if (k > 0) t += separator;
    t += fields[k];
  }
  return t;
}

// A field as the import reads it: without the blanks and quotes around it.
std::string csv_plain_field(std::string_view field) {
  std::string t;
  for (char c : field)
    if (c != '"') t += c;
  return trim_blanks(t);
}

// The columns a header names; false when it is no header of the three forms
// with all seven value columns. The separator is ";" when the header holds
// more of them than of ",".
bool read_csv_columns(std::string_view header, CsvColumns& columns) {
  if (header.substr(0, 3) == "\xEF\xBB\xBF") header.remove_prefix(3);
  columns.separator = std::count(header.begin(), header.end(), ';') > std::count(header.begin(), header.end(), ',')
                          ? ';'
                          : ',';
  std::vector<std::string> names = csv_line_fields(header, columns.separator);
  for (std::string& name : names) name = lower_ascii(csv_plain_field(name));
  auto column_of = [&names](const char* name) {
    return static_cast<size_t>(std::find(names.begin(), names.end(), name) - names.begin());
  };
  for (size_t form = 0; form < 3; ++form) {
    columns.date = column_of(kCsvDateNames[form]);
    if (columns.date == names.size()) continue;
    columns.needed = columns.date + 1;
    for (size_t k = 0; k < 7; ++k) {
      columns.values[k] = column_of(kCsvValueNames[form][k]);
      if (columns.values[k] == names.size()) return false;
      columns.needed = std::max(columns.needed, columns.values[k] + 1);
    }
    return true;
  }
  return false;
}

// The value of a field of digits alone (of up to nine), -1 otherwise.
int64_t csv_value(const std::string& field) {
  const std::string t = csv_plain_field(field);
  std::vector<int64_t> values;
  return read_comma_values(t, values) && values.size() == 1 ? values[0] : -1;
}

// A date in the form of `model` (13/02/2004, 13-Feb-2004, 20040213 or
// 2004-02-13): mostly a day of 1990..2039 that some other row may not hold,
// now and then a day that its month lacks.
std::string date_like(Dice& dice, std::string_view model) {
  int year = static_cast<int>(roll_between(dice, 1990, 2039));
  int month = static_cast<int>(roll_between(dice, 1, 12));
  int day = static_cast<int>(roll_between(dice, 1, 28));
  if (roll_one_in(dice, 8)) {
    static const int kLacking[][3] = {{2005, 2, 29}, {2004, 2, 30}, {2023, 4, 31}, {2010, 11, 31}, {2004, 1, 32}};
    const int* d = kLacking[roll_below(dice, 5)];
    year = d[0], month = d[1], day = d[2];
  }
  char text[32];
  if (model.find('/') != std::string_view::npos)
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", day, month, year);
  else if (std::any_of(model.begin(), model.end(), [](char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }))
    std::snprintf(text, sizeof text, "%02d-%s-%04d", day, kMonthNames[month - 1], year);
  else if (model.find('-') == std::string_view::npos)
    std::snprintf(text, sizeof text, "%04d%02d%02d", year, month, day);
  else
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
  return text;
}

// A row with one of its seven values changed: a number to one of 1..50 or a
// star to one of 1..12 (mostly different from the row's other numbers or
// stars), a neighbour, a boundary or the value of that column in another row.
void change_row_value(Dice& dice, const CsvColumns& columns, std::vector<std::string>& row,
                      const std::vector<std::string>& other_row) {
  const size_t k = roll_below(dice, 7);
  const bool star = k >= 5;
  const FieldValues field{1, star ? 12 : 50, kGameBoundaries};
  std::vector<int64_t> kind;
  for (size_t e = star ? 5 : 0; e < (star ? 7u : 5u); ++e) kind.push_back(csv_value(row[columns.values[e]]));
  const int64_t old = csv_value(row[columns.values[k]]);
  const int64_t elsewhere = csv_value(other_row[columns.values[k]]);
  row[columns.values[k]] =
      str_int(choose_other_value(dice, old, field, elsewhere >= 0 ? &elsewhere : nullptr, kind, star ? k - 5 : k));
}

// A row broken the way each check of a row sees it: a separator taken out
// or one too many (a column missing or shifted), a value of letters or none,
// a stray byte anywhere.
std::string broken_csv_row(Dice& dice, const CsvColumns& columns, std::vector<std::string> row) {
  const size_t k = columns.values[roll_below(dice, 7)];
  switch (roll_weighted(dice, {2, 2, 2, 1, 2})) {
    case 0:  // two fields made one
      if (k + 1 < row.size()) {
        row[k] += row[k + 1];
        row.erase(row.begin() + static_cast<std::ptrdiff_t>(k + 1));
      } else {
        row.pop_back();
      }
      break;
    case 1:  // a field too many
      row.insert(row.begin() + static_cast<std::ptrdiff_t>(roll_below(dice, row.size() + 1)), "");
      break;
    case 2: {  // a letter for a digit, as an O for a zero or an l for a one
      static const char kLetters[] = "OolIS";
      std::string& f = row[k];
      if (f.empty()) f = "1";
      f[roll_below(dice, f.size())] = kLetters[roll_below(dice, sizeof kLetters - 1)];
      break;
    }
    case 3:
      row[k].clear();
      break;
    default:
      return broken_line(dice, csv_line(row, columns.separator));
  }
  return csv_line(row, columns.separator);
}

// One mutation of an operator's CSV file of past results; false when its
// first line is no header of the three forms or it has no row.
bool mutate_csv_results(TextLines& lines, Dice& dice, std::string& out) {
  CsvColumns columns;
  if (line_count(lines) < 2 || !read_csv_columns(lines.text[0], columns)) return false;
  std::vector<size_t> rows;
  for (size_t i = 1; i < line_count(lines); ++i)
    if (csv_line_fields(lines.text[i], columns.separator).size() >= columns.needed) rows.push_back(i);
  if (rows.empty()) return false;
  const size_t n = line_count(lines);
  auto fields_of = [&](size_t i) { return csv_line_fields(lines.text[i], columns.separator); };
  if (roll_one_in(dice, 4) && cut_a_long_line(dice, lines)) {
    out = join_lines(lines);
    return true;
  }
  if (rows.size() > kManyRecords && roll_one_in(dice, 2)) {
    const size_t count = rows.size() - kept_of_many(dice, rows.size());
    const size_t from = rows[roll_below(dice, rows.size() - count + 1)];
    erase_lines(lines, from, std::min(count, n - from));
    out = join_lines(lines);
    return true;
  }
  const size_t i = roll_of(dice, rows);
  std::vector<std::string> row = fields_of(i);
  switch (roll_weighted(dice, {48, 6, 6, 6, 5, 6, 9, 3})) {
    case 0: {  // one value of one row, and now and then another of it
      const std::vector<std::string> other = fields_of(roll_of(dice, rows));
      change_row_value(dice, columns, row, other);
      if (roll_one_in(dice, 3)) change_row_value(dice, columns, row, other);
      set_line(lines, i, csv_line(row, columns.separator));
      break;
    }
    case 1: {  // a new row: another date, other values
      const std::vector<int64_t> n5 = different_values(dice, 5, 1, 50), s2 = different_values(dice, 2, 1, 12);
      for (size_t k = 0; k < 7; ++k) row[columns.values[k]] = str_int(k < 5 ? n5[k] : s2[k - 5]);
      row[columns.date] = date_like(dice, row[columns.date]);
      insert_line(lines, 1 + roll_below(dice, n), keep_text(lines, csv_line(row, columns.separator)), lines.usual_end);
      break;
    }
    case 2:  // a row twice, its date with it
      insert_line(lines, 1 + roll_below(dice, n), lines.text[i], lines.end[i].empty() ? lines.usual_end : lines.end[i]);
      break;
    case 3:  // a row dropped, or a run of them
      erase_lines(lines, i, roll_one_in(dice, 3) ? 1 + roll_below(dice, (n - i + 1) / 2) : 1);
      break;
    case 4: {  // two rows swapped
      std::swap(lines.text[i], lines.text[roll_of(dice, rows)]);
      break;
    }
    case 5:  // a date: another row's, or a new one of the same form
      row[columns.date] = roll_one_in(dice, 2) ? fields_of(roll_of(dice, rows))[columns.date]
                                               : date_like(dice, row[columns.date]);
      set_line(lines, i, csv_line(row, columns.separator));
      break;
    case 6:  // a row broken
      set_line(lines, i, broken_csv_row(dice, columns, row));
      break;
    default: {  // the header: a column's name broken, or two names swapped
      std::vector<std::string> header = fields_of(0);
      const size_t k = roll_one_in(dice, 4) ? columns.date : columns.values[roll_below(dice, 7)];
      if (roll_one_in(dice, 2))
        header[k] = broken_line(dice, header[k]);
      else
        std::swap(header[k], header[roll_below(dice, header.size())]);
      set_line(lines, 0, csv_line(header, columns.separator));
      break;
    }
  }
  out = join_lines(lines);
  return true;
}

// One mutation of a database, of the program's own format or an operator's
// CSV file; false when it is left to the byte mutation.
bool mutate_past_results_text(std::string_view input, Dice& dice, std::string& out) {
  TextLines lines = split_lines(input, "\n");
  const std::vector<size_t> draws = draw_lines_of(lines);
  if (draws.empty()) return mutate_csv_results(lines, dice, out);
  const size_t n = line_count(lines);
  if (roll_one_in(dice, 4) && cut_a_long_line(dice, lines)) {
    out = join_lines(lines);
    return true;
  }
  if (draws.size() > kManyRecords && roll_one_in(dice, 2)) {
    const size_t count = draws.size() - kept_of_many(dice, draws.size());
    const size_t from = draws[roll_below(dice, draws.size() - count + 1)];
    erase_lines(lines, from, std::min(count, n - from));
    out = join_lines(lines);
    return true;
  }
  switch (roll_weighted(dice, {48, 6, 6, 6, 5, 5, 9, 3})) {
    case 0: {  // one value of one entry, and now and then another of it
      const size_t i = roll_of(dice, draws);
      std::string line = entry_with_new_value(dice, lines, draws, lines.text[i]);
      if (roll_one_in(dice, 3) && is_draw_line(line)) line = entry_with_new_value(dice, lines, draws, line);
      set_line(lines, i, line);
      break;
    }
    case 1: {  // a new entry
      const size_t at = roll_below(dice, n + 1);
      insert_line(lines, at, keep_text(lines, fresh_draw_line(dice, lines, draws)), lines.usual_end);
      break;
    }
    case 2: {  // a line twice
      const size_t i = roll_one_in(dice, 2) ? roll_of(dice, draws) : roll_below(dice, n);
      insert_line(lines, roll_below(dice, n + 1), lines.text[i], lines.end[i].empty() ? lines.usual_end : lines.end[i]);
      break;
    }
    case 3: {  // a line dropped, or a run of them (which also makes a large file small)
      if (n < 2) return false;
      const size_t from = roll_one_in(dice, 2) ? roll_of(dice, draws) : roll_below(dice, n);
      erase_lines(lines, from, roll_one_in(dice, 3) ? 1 + roll_below(dice, (n - from + 1) / 2) : 1);
      break;
    }
    case 4: {  // two lines swapped
      if (n < 2) return false;
      const size_t a = roll_of(dice, draws), b = roll_below(dice, n);
      std::swap(lines.text[a], lines.text[b]);
      break;
    }
    case 5:  // a line moved
      if (n < 2) return false;
      move_lines(lines, roll_below(dice, n), 1, roll_below(dice, n));
      break;
    case 6: {  // an entry broken
      const size_t i = roll_of(dice, draws);
      set_line(lines, i, broken_draw_line(dice, lines.text[i]));
      break;
    }
    default:  // the end line or a comment somewhere else
      insert_line(lines, roll_below(dice, n + 1), roll_one_in(dice, 2) ? kEndLine : "# comment", lines.usual_end);
      break;
  }
  out = join_lines(lines);
  return true;
}

bool cross_over_past_results_text(std::string_view a, std::string_view b, Dice& dice, std::string& out) {
  TextLines first = split_lines(a, "\n");
  const TextLines second = split_lines(b, "\n");
  if (line_count(second) == 0) return false;
  if (roll_one_in(dice, 2)) {
    // The first lines of one, the last lines of the other.
    const size_t keep = roll_below(dice, line_count(first) + 1), from = roll_below(dice, line_count(second));
    erase_lines(first, keep, line_count(first) - keep);
    for (size_t i = from; i < line_count(second); ++i)
      insert_line(first, line_count(first), second.text[i], second.end[i]);
  } else {
    // One entry of the other.
    const std::vector<size_t> draws = draw_lines_of(second);
    if (draws.empty()) return false;
    const size_t i = roll_of(dice, draws);
    insert_line(first, roll_below(dice, line_count(first) + 1), second.text[i], first.usual_end);
  }
  out = join_lines(first);
  return true;
}

// ---- draws files ---------------------------------------------------------------

// Lines 1-9 are the header (magic, four label texts, the count, the numbers
// and the stars per ticket, the date); then three lines per ticket: "#:" and
// its index, its numbers text, its stars text.
constexpr size_t kHeaderLines = 9;
constexpr size_t kCountLine = 5;  // 0-based
constexpr size_t kNumbersPerTicketLine = 6;
constexpr size_t kStarsPerTicketLine = 7;
const char* const kMagic = "LOTTODRAWSFILE-1.01";

size_t ticket_line(size_t ticket) { return kHeaderLines + 3 * ticket; }
size_t whole_tickets(const TextLines& lines) {
  return line_count(lines) < kHeaderLines ? 0 : (line_count(lines) - kHeaderLines) / 3;
}

// After tickets were added, dropped or moved: the index lines numbered
// again, and the count on line 6 kept in step when it was before.
void renumber_tickets(TextLines& lines, size_t tickets_before) {
  const size_t tickets = whole_tickets(lines);
  for (size_t t = 0; t < tickets; ++t) {
    const std::string_view index = lines.text[ticket_line(t)];
    const std::string wanted = "#:" + str_int(static_cast<int64_t>(t + 1));
    if (index.substr(0, 2) == "#:" && index != wanted) set_line(lines, ticket_line(t), wanted);
  }
  if (lines.text[kCountLine] == str_int(static_cast<int64_t>(tickets_before)) && tickets != tickets_before)
    set_line(lines, kCountLine, str_int(static_cast<int64_t>(tickets)));
}

// A value of some ticket of the file, from its numbers (line 1) or its stars
// (line 2); false when the file holds none.
bool value_elsewhere(Dice& dice, const TextLines& lines, size_t line_of_ticket, int64_t& v) {
  const size_t tickets = whole_tickets(lines);
  if (tickets == 0) return false;
  std::vector<int64_t> values;
  if (!read_comma_values(lines.text[ticket_line(roll_below(dice, tickets)) + line_of_ticket], values)) return false;
  v = roll_of(dice, values);
  return true;
}

const FieldValues& ticket_values(size_t line_of_ticket) {
  static const FieldValues numbers{1, 50, kGameBoundaries}, stars{1, 12, kGameBoundaries};
  return line_of_ticket == 1 ? numbers : stars;
}

// Changes one value of the numbers (1) or stars (2) line of the ticket whose
// index line is `ticket`: mostly to a value of the range that the ticket does
// not hold yet, otherwise a neighbour, a boundary or a value of another
// ticket. False when that line is not plain values separated by ",".
bool set_ticket_value(Dice& dice, TextLines& lines, size_t ticket, size_t which) {
  std::vector<int64_t> values;
  if (!read_comma_values(lines.text[ticket + which], values)) return false;
  int64_t elsewhere = 0;
  const bool found = value_elsewhere(dice, lines, which, elsewhere);
  const size_t k = roll_below(dice, values.size());
  values[k] = choose_other_value(dice, values[k], ticket_values(which), found ? &elsewhere : nullptr, values, k);
  set_line(lines, ticket + which, comma_text(values));
  return true;
}

// A ticket's size as a header line gives it, or the bet types' smallest.
size_t header_size(const TextLines& lines, size_t line, size_t fewest, size_t most) {
  const int64_t v = val_int(std::string(lines.text[line]));
  return v >= static_cast<int64_t>(fewest) && v <= static_cast<int64_t>(most) ? static_cast<size_t>(v) : fewest;
}

// Gives every ticket `size` values on its numbers (1) or stars (2) line,
// keeping those it has and adding different ones.
void resize_tickets(Dice& dice, TextLines& lines, size_t line_of_ticket, size_t size) {
  const FieldValues& field = ticket_values(line_of_ticket);
  std::vector<int64_t> values;
  for (size_t t = 0; t < whole_tickets(lines); ++t) {
    const size_t i = ticket_line(t) + line_of_ticket;
    if (!read_comma_values(lines.text[i], values) || values.size() == size) continue;
    if (values.size() > size) values.resize(size);
    while (values.size() < size && values.size() < static_cast<size_t>(field.hi)) {
      const int64_t v = roll_between(dice, field.lo, field.hi);
      if (std::find(values.begin(), values.end(), v) == values.end()) values.push_back(v);
    }
    std::sort(values.begin(), values.end());
    set_line(lines, i, comma_text(values));
  }
}

// One mutation of a draws file; false when it is left to the byte mutation.
bool mutate_draws_text(std::string_view input, Dice& dice, std::string& out) {
  TextLines lines = split_lines(input, "\r\n");
  if (line_count(lines) < kHeaderLines) return false;
  const size_t tickets = whole_tickets(lines);
  if (roll_one_in(dice, 4) && cut_a_long_line(dice, lines)) {
    out = join_lines(lines);
    return true;
  }
  if (tickets > kManyRecords && roll_one_in(dice, 2)) {
    const size_t count = tickets - kept_of_many(dice, tickets);
    erase_lines(lines, ticket_line(roll_below(dice, tickets - count + 1)), 3 * count);
    renumber_tickets(lines, tickets);
    out = join_lines(lines);
    return true;
  }
  std::vector<int64_t> values;
  switch (roll_weighted(dice, {42, 4, 5, 5, 5, 4, 4, 6, 6, 8})) {
    case 0: {  // one value of one ticket, and now and then one of its other line
      if (tickets == 0) return false;
      const size_t ticket = ticket_line(roll_below(dice, tickets));
      const size_t which = roll_one_in(dice, 3) ? 2 : 1;
      if (!set_ticket_value(dice, lines, ticket, which)) return false;
      if (roll_one_in(dice, 3)) set_ticket_value(dice, lines, ticket, 3 - which);
      break;
    }
    case 1: {  // one value more or fewer on one ticket
      if (tickets == 0) return false;
      const size_t which = roll_one_in(dice, 2) ? 2 : 1;
      const size_t i = ticket_line(roll_below(dice, tickets)) + which;
      if (!read_comma_values(lines.text[i], values)) return false;
      if (values.size() > 1 && roll_one_in(dice, 2)) {
        values.erase(values.begin() + static_cast<std::ptrdiff_t>(roll_below(dice, values.size())));
      } else {
        const FieldValues& field = ticket_values(which);
        values.insert(values.begin() + static_cast<std::ptrdiff_t>(roll_below(dice, values.size() + 1)),
                      choose_other_value(dice, 0, field, nullptr, values, values.size()));
      }
      set_line(lines, i, comma_text(values));
      break;
    }
    case 2: {  // a new ticket of the header's size
      const size_t numbers = header_size(lines, kNumbersPerTicketLine, 5, 11);
      const size_t stars = header_size(lines, kStarsPerTicketLine, 2, 12);
      const size_t at = ticket_line(roll_below(dice, tickets + 1));
      insert_line(lines, at, keep_text(lines, comma_text(different_values(dice, stars, 1, 12))), lines.usual_end);
      insert_line(lines, at, keep_text(lines, comma_text(different_values(dice, numbers, 1, 50))), lines.usual_end);
      insert_line(lines, at, "#:", lines.usual_end);
      renumber_tickets(lines, tickets);
      break;
    }
    case 3: {  // a ticket twice
      if (tickets == 0) return false;
      const size_t from = ticket_line(roll_below(dice, tickets)), at = ticket_line(roll_below(dice, tickets + 1));
      const std::string_view t[3] = {lines.text[from], lines.text[from + 1], lines.text[from + 2]};
      for (int k = 2; k >= 0; --k) insert_line(lines, at, t[k], lines.usual_end);
      renumber_tickets(lines, tickets);
      break;
    }
    case 4: {  // a ticket dropped, or a run of them (which also makes a large file small)
      if (tickets == 0) return false;
      const size_t from = roll_below(dice, tickets);
      const size_t count = roll_one_in(dice, 3) ? 1 + roll_below(dice, (tickets - from + 1) / 2) : 1;
      erase_lines(lines, ticket_line(from), 3 * count);
      renumber_tickets(lines, tickets);
      break;
    }
    case 5: {  // two tickets swapped
      if (tickets < 2) return false;
      const size_t a = ticket_line(roll_below(dice, tickets)) + 1, b = ticket_line(roll_below(dice, tickets)) + 1;
      std::swap(lines.text[a], lines.text[b]);
      std::swap(lines.text[a + 1], lines.text[b + 1]);
      break;
    }
    case 6:  // a ticket moved
      if (tickets < 2) return false;
      move_lines(lines, ticket_line(roll_below(dice, tickets)), 3, ticket_line(roll_below(dice, tickets)));
      renumber_tickets(lines, tickets);
      break;
    case 7: {  // the count the file announces
      const int64_t held = static_cast<int64_t>(tickets);
      int64_t count;
      switch (roll_weighted(dice, {4, 3, 3})) {
        case 0:
          count = held;
          break;
        case 1:
          count = held + (roll_one_in(dice, 2) ? 1 : -1);
          break;
        default: {
          static const std::vector<int64_t> edges = {
              0, -1, MAX_DRAWS_TO_GENERATE, MAX_DRAWS_TO_GENERATE + 1, 2147483647, 4294967297};
          count = roll_of(dice, edges);
        }
      }
      set_line(lines, kCountLine, str_int(count));
      break;
    }
    case 8: {  // the numbers or the stars per ticket
      const bool stars = roll_one_in(dice, 2);
      const size_t line = stars ? kStarsPerTicketLine : kNumbersPerTicketLine;
      const FieldValues size = stars ? FieldValues{2, 12, {0, 1, 13, 99}} : FieldValues{5, 11, {0, 1, 4, 12, 99}};
      const int64_t v = choose_value(dice, val_int(std::string(lines.text[line])), size, nullptr);
      set_line(lines, line, str_int(v));
      // Mostly the tickets follow, as a file of that bet type holds them.
      if (v >= size.lo && v <= size.hi && !roll_one_in(dice, 3))
        resize_tickets(dice, lines, stars ? 2 : 1, static_cast<size_t>(v));
      break;
    }
    default: {  // a line broken
      switch (roll_weighted(dice, {6, 2, 1, 1})) {
        case 0: {  // a ticket's numbers or stars text
          if (tickets == 0) return false;
          const size_t i = ticket_line(roll_below(dice, tickets)) + 1 + roll_below(dice, 2);
          std::string t(lines.text[i]);
          const size_t comma = t.find(',');
          switch (roll_weighted(dice, {3, 1, 1, 1, 1})) {
            case 0:
              t = broken_line(dice, t);
              break;
            case 1:
              if (comma != std::string::npos) t.erase(comma, 1);
              break;  // two values run together
            case 2:
              if (comma != std::string::npos) t.insert(comma, ",");
              break;  // an empty field
            case 3:
              t += ',';
              break;
            default:
              t.clear();
              break;
          }
          set_line(lines, i, t);
          break;
        }
        case 1:  // a line of a ticket missing: every line after it moves up
          if (tickets == 0) return false;
          erase_lines(lines, ticket_line(roll_below(dice, tickets)) + roll_below(dice, 3), 1);
          break;
        case 2:  // the magic
          set_line(lines, 0,
                   broken_line(
                       dice, lines.text[0] == kMagic && roll_one_in(dice, 4) ? "lottodrawsfile-1.01" : lines.text[0]));
          break;
        default:  // a header line missing
          erase_lines(lines, roll_below(dice, kHeaderLines), 1);
          break;
      }
    }
  }
  out = join_lines(lines);
  return true;
}

bool cross_over_draws_text(std::string_view a, std::string_view b, Dice& dice, std::string& out) {
  TextLines first = split_lines(a, "\r\n");
  const TextLines second = split_lines(b, "\r\n");
  const size_t tickets = whole_tickets(first), others = whole_tickets(second);
  if (line_count(first) < kHeaderLines || others == 0) return false;
  if (roll_one_in(dice, 2)) {
    // The first tickets of one, the last ones of the other.
    const size_t keep = roll_below(dice, tickets + 1), from = roll_below(dice, others);
    erase_lines(first, ticket_line(keep), line_count(first) - ticket_line(keep));
    for (size_t i = ticket_line(from); i < ticket_line(others); ++i)
      insert_line(first, line_count(first), second.text[i], first.usual_end);
  } else {
    // One ticket of the other.
    const size_t from = ticket_line(roll_below(dice, others)), at = ticket_line(roll_below(dice, tickets + 1));
    for (int k = 2; k >= 0; --k) insert_line(first, at, second.text[from + static_cast<size_t>(k)], first.usual_end);
  }
  renumber_tickets(first, tickets);
  out = join_lines(first);
  return true;
}

// ---- a result line before a draws file --------------------------------------------

// The seven values of "3 17 22 40 48 2 11"; false when the line is not seven
// plain decimal numbers separated by single blanks.
bool read_result_line(std::string_view line, std::vector<int64_t>& values) {
  std::string commas(line);
  std::replace(commas.begin(), commas.end(), ' ', ',');
  return read_comma_values(commas, values) && values.size() == 7;
}

std::string result_line_text(const std::vector<int64_t>& values) {
  std::string t;
  for (size_t k = 0; k < values.size(); ++k) t += (k > 0 ? " " : "") + str_int(values[k]);
  return t;
}

bool mutate_result_and_draws_text(std::string_view input, Dice& dice, std::string& out) {
  const size_t line_end = input.find('\n');
  if (line_end == std::string_view::npos) return false;
  std::string_view result = input.substr(0, line_end);
  const std::string_view draws = input.substr(line_end + 1);
  std::vector<int64_t> values;
  if (roll_one_in(dice, 3) && read_result_line(result, values)) {
    const TextLines lines = split_lines(draws, "\r\n");
    const size_t tickets = whole_tickets(lines);
    std::vector<int64_t> numbers, stars;
    if (tickets > 0 && roll_one_in(dice, 10)) {
      // The result of a listed ticket: all its values hit.
      const size_t t = ticket_line(roll_below(dice, tickets));
      if (!read_comma_values(lines.text[t + 1], numbers) || !read_comma_values(lines.text[t + 2], stars) ||
          numbers.size() < 5 || stars.size() < 2)
        return false;
      std::copy(numbers.begin(), numbers.begin() + 5, values.begin());
      std::copy(stars.begin(), stars.begin() + 2, values.begin() + 5);
    } else {
      // One value, and now and then a second.
      const int changes = roll_one_in(dice, 3) ? 2 : 1;
      for (int change = 0; change < changes; ++change) {
        const size_t k = roll_below(dice, 7);
        const bool star = k >= 5;
        // Another value of the result, or one of a listed ticket.
        int64_t elsewhere = values[star ? 5 + roll_below(dice, 2) : roll_below(dice, 5)];
        if (tickets > 0 && !roll_one_in(dice, 4)) value_elsewhere(dice, lines, star ? 2 : 1, elsewhere);
        const std::vector<int64_t> kind(values.begin() + (star ? 5 : 0), values.begin() + (star ? 7 : 5));
        values[k] =
            choose_other_value(dice, values[k], ticket_values(star ? 2 : 1), &elsewhere, kind, star ? k - 5 : k);
      }
    }
    out = result_line_text(values) + std::string(input.substr(result.size()));
    return true;
  }
  std::string file;
  if (!mutate_draws_text(draws, dice, file)) return false;
  out = std::string(input.substr(0, line_end + 1)) + file;
  return true;
}

bool cross_over_result_and_draws_text(std::string_view a, std::string_view b, Dice& dice, std::string& out) {
  const size_t a_end = a.find('\n'), b_end = b.find('\n');
  if (a_end == std::string_view::npos || b_end == std::string_view::npos) return false;
  if (roll_one_in(dice, 5)) {
    // The result of the other with this file.
    out = std::string(b.substr(0, b_end)) + std::string(a.substr(a_end));
    return true;
  }
  std::string file;
  if (!cross_over_draws_text(a.substr(a_end + 1), b.substr(b_end + 1), dice, file)) return false;
  out = std::string(a.substr(0, a_end + 1)) + file;
  return true;
}

// ---- settings files ---------------------------------------------------------------

// A settings file is one record of many fields (the technique file 169),
// each picked one time in as many: a fault that wants one field just so,
// and then a second, would wait for the right pick twice over. So the
// mutators remember, for each file they made, the field they changed (a
// table of files by a hash of their bytes, where a newer file takes the
// place of an older one of the same slot: a slot is taken again after about
// a million mutations, some ten minutes of a run). When libFuzzer hands one
// of those files back, for the next mutation of a run or later from its
// corpus, where it was kept for what that change reached, most mutations
// change that field or the one the reader takes with it (the window's other
// bound; the bet type of a play state): a search that keeps to where the
// change got it, and goes on to the second value a fault may want.
struct MadeFile {
  uint64_t hash = 0;
  int field = -1;
  bool second = false;  // the change went on from a first field to the one that goes with it
  bool swept = false;   // the other field of its pair has been tried at every value
};
std::vector<MadeFile> g_made_files(size_t{1} << 20);
// The hash of the last file the settings mutators gave, whichever way they
// made it: libFuzzer mutates a file a few times over before it runs the
// next of its corpus, and a file handed back that is not this one comes from
// the corpus, where libFuzzer kept it.
uint64_t g_last_made = 0;

uint64_t bytes_hash(std::string_view bytes) {
  uint64_t h = 0xCBF29CE484222325ull;
  for (unsigned char c : bytes) h = (h ^ c) * 0x100000001B3ull;
  return mix_bits(h);
}

// A mutation that gave back its input (a value changed to the one it had)
// says nothing of it.
void remember_field(std::string_view input, const std::string& made, int field, bool second = false) {
  if (made == input) return;
  const uint64_t h = bytes_hash(made);
  g_made_files[h % g_made_files.size()] = {h, field, second};
}

// What was changed to make this file: field -1 when the mutators made no
// such file. `kept` tells whether libFuzzer hands the file back from its
// corpus, and it has not been swept yet.
MadeFile remembered_change(std::string_view bytes, bool* kept = nullptr) {
  const uint64_t h = bytes_hash(bytes);
  const MadeFile& made = g_made_files[h % g_made_files.size()];
  if (made.hash != h) return MadeFile{};
  if (kept != nullptr) *kept = h != g_last_made && !made.swept;
  return made;
}

void note_swept(const std::string& bytes) {
  const uint64_t h = bytes_hash(bytes);
  MadeFile& made = g_made_files[h % g_made_files.size()];
  if (made.hash == h) made.swept = true;
}

// A value of a stored field: as choose_value, or now and then, for a field
// of a range wider than a few values, the old value with one of the bits
// that the range's width spans flipped. The program compares the values it reads with bounds and limits,
// and a comparison brought one bit nearer to holding is a new feature (value
// profiling): bit by bit, a field comes to the value a comparison wants.
int64_t choose_stored_value(Dice& dice, int64_t old, const FieldValues& field, const int64_t* elsewhere) {
  if (field.hi - field.lo >= 7 && roll_one_in(dice, 6))
    return old ^ (int64_t{1} << roll_below(dice, static_cast<size_t>(std::bit_width(static_cast<uint64_t>(field.hi - field.lo)))));
  return choose_value(dice, old, field, elsewhere);
}

// The value of the second of two fields a fault may want at once, once the
// first holds what it holds: half the time any value of its range, each as
// likely, otherwise as choose_stored_value.
int64_t choose_second_value(Dice& dice, int64_t old, const FieldValues& field, const int64_t* elsewhere) {
  if (roll_one_in(dice, 2)) return roll_between(dice, field.lo, field.hi);
  return choose_stored_value(dice, old, field, elsewhere);
}

// One stored value of a settings file: where its bytes are, whether it is an
// integer or a text line, and which kind of field it is.
struct StoredField {
  size_t start;
  size_t end;
  bool line;
  int kind;
};

struct ParsedSettings {
  std::string bytes;
  std::vector<StoredField> fields;  // in file order, the version line first
};

// Reads the next field with the program's reader; false when the file ends
// before it is whole.
bool take_int(SettingsReader& r, ParsedSettings& p, int kind, int64_t* value = nullptr) {
  if (r.pos + 4 > r.bytes.size()) return false;
  const size_t start = r.pos;
  const int64_t v = read_settings_int(r);
  if (value != nullptr) *value = v;
  p.fields.push_back({start, r.pos, false, kind});
  return true;
}

bool take_line(SettingsReader& r, ParsedSettings& p, int kind) {
  if (r.pos >= r.bytes.size()) return false;
  const size_t start = r.pos;
  read_settings_line(r);
  p.fields.push_back({start, r.pos, true, kind});
  return true;
}

int64_t stored_int(const ParsedSettings& p, const StoredField& f) {
  SettingsReader r{p.bytes.substr(f.start, 4), 0};
  return read_settings_int(r);
}

std::string stored_line(const ParsedSettings& p, const StoredField& f) {
  SettingsReader r{p.bytes.substr(f.start, f.end - f.start), 0};
  return read_settings_line(r);
}

// The file with the bytes of field `k` replaced by `encoded`.
std::string with_field(const ParsedSettings& p, size_t k, const std::string& encoded) {
  const StoredField& f = p.fields[k];
  return p.bytes.substr(0, f.start) + encoded + p.bytes.substr(f.end);
}

std::string encoded_int(int64_t v) {
  std::string s;
  append_settings_int(s, v);
  return s;
}

std::string encoded_line(const std::string& text) {
  std::string s;
  append_settings_line(s, text);
  return s;
}

// A file that libFuzzer kept after a change of one field of a pair (a
// window's bound, a play state) holds something new that the field's value
// reached; a fault may want the pair's other field at one value beside it.
// When such a file comes back, one mutation in two of the next ones goes
// back to it and sets that other field to a value of its
// range not tried yet, in a shuffled order, until every value is tried (up
// to kSweepValues of them): a window of a few dozen values is tried whole
// within a hundred mutations, the widest (the sum of the numbers, 226
// values) within some six hundred, a search that libFuzzer's rare returns to
// one file of a corpus of a thousand would take many minutes to make. A file
// the sweep made counts as made by a change of the other field, so that a
// file kept for it has its first field swept in turn. Files kept while a
// sweep runs wait, the last sixteen of them; a file that waited too long
// is queued again when it comes back again.
constexpr size_t kSweepValues = 256;
constexpr size_t kSweepsWaiting = 16;

struct SecondSweep {
  ParsedSettings file;          // the kept file
  size_t field = 0;             // the other field, as ParsedSettings numbers it
  std::vector<int64_t> values;  // still to try, the next last
};
struct Sweeps {
  SecondSweep running;
  std::deque<SecondSweep> waiting;
};
Sweeps g_main_sweeps, g_technique_sweeps;

void open_sweep(Sweeps& sweeps, Dice& dice, const ParsedSettings& file, size_t field, int64_t lo, int64_t hi) {
  if (hi < lo || hi - lo >= 4096 || field >= file.fields.size()) return;
  for (const SecondSweep& waiting : sweeps.waiting)
    if (waiting.file.bytes == file.bytes) return;
  SecondSweep sweep;
  sweep.file = file;
  sweep.field = field;
  for (int64_t v = lo; v <= hi; ++v) sweep.values.push_back(v);
  for (size_t i = sweep.values.size(); i > 1; --i) std::swap(sweep.values[i - 1], sweep.values[roll_below(dice, i)]);
  if (sweep.values.size() > kSweepValues) sweep.values.resize(kSweepValues);
  if (sweeps.running.values.empty()) {
    sweeps.running = std::move(sweep);
    note_swept(sweeps.running.file.bytes);
    return;
  }
  if (sweeps.waiting.size() == kSweepsWaiting) sweeps.waiting.pop_front();
  sweeps.waiting.push_back(std::move(sweep));
}

// The next file of a running sweep, one call in two: false when none runs
// or the call is not its turn.
bool next_of_sweep(Sweeps& sweeps, Dice& dice, std::string& out) {
  SecondSweep& sweep = sweeps.running;
  if (sweep.values.empty() && !sweeps.waiting.empty()) {
    sweep = std::move(sweeps.waiting.front());
    sweeps.waiting.pop_front();
    note_swept(sweep.file.bytes);
  }
  if (sweep.values.empty() || !roll_one_in(dice, 2)) return false;
  out = with_field(sweep.file, sweep.field, encoded_int(sweep.values.back()));
  sweep.values.pop_back();
  remember_field(sweep.file.bytes, out, static_cast<int>(sweep.field));
  return true;
}

// A field broken on purpose: an integer a byte short or long, a text line
// without its line end (it runs into the next field), or with a line break
// inside, which shifts every field after it.
std::string broken_field(Dice& dice, const ParsedSettings& p, size_t k) {
  const StoredField& f = p.fields[k];
  std::string bytes = p.bytes.substr(f.start, f.end - f.start);
  if (f.line) {
    if (roll_one_in(dice, 2) && !bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r'))
      bytes.pop_back();
    else
      bytes.insert(roll_below(dice, bytes.size()), 1, roll_one_in(dice, 2) ? '\r' : '\n');
  } else if (roll_one_in(dice, 2)) {
    bytes.erase(roll_below(dice, bytes.size()), 1 + roll_below(dice, 3));
  } else {
    bytes.insert(roll_below(dice, bytes.size() + 1), 1, stray_byte(dice));
  }
  return with_field(p, k, bytes);
}

// -- the main settings file

enum MainPrefsKind : int {
  MAIN_VERSION,
  MAIN_HIGHEST_NUMBER,
  MAIN_HIGHEST_STAR,
  MAIN_NUMBER_STATE,
  MAIN_STAR_STATE,
  MAIN_DRAWS,
  MAIN_CURRENCY,
  MAIN_JITTER,
  MAIN_TECHNIQUES,
  MAIN_BET_TYPE,
  MAIN_PRICE,
  MAIN_LANGUAGE,
  MAIN_KINDS
};

// More play states than this are not taken for a layout of the file.
constexpr int64_t kMostStoredStates = 1000;

bool parse_main_prefs(std::string_view input, ParsedSettings& p) {
  p.bytes.assign(input);
  SettingsReader r{p.bytes, 0};
  if (!take_line(r, p, MAIN_VERSION) || stored_line(p, p.fields[0]) != g_main_prefs_version) return false;
  int64_t numbers = 0, stars = 0;
  if (!take_int(r, p, MAIN_HIGHEST_NUMBER, &numbers) || !take_int(r, p, MAIN_HIGHEST_STAR, &stars)) return false;
  if (numbers > kMostStoredStates || stars > kMostStoredStates) return false;
  for (int64_t n = 1; n <= numbers; ++n)
    if (!take_int(r, p, MAIN_NUMBER_STATE)) return false;
  for (int64_t s = 1; s <= stars; ++s)
    if (!take_int(r, p, MAIN_STAR_STATE)) return false;
  if (!take_int(r, p, MAIN_DRAWS) || !take_line(r, p, MAIN_CURRENCY) || !take_int(r, p, MAIN_JITTER) ||
      !take_int(r, p, MAIN_TECHNIQUES) || !take_int(r, p, MAIN_BET_TYPE))
    return false;
  for (int k = 0; k < BET_TYPE_COUNT; ++k)
    if (!take_line(r, p, MAIN_PRICE)) return false;
  return take_int(r, p, MAIN_LANGUAGE);
}

const FieldValues& main_prefs_values(int kind) {
  static const FieldValues highest_number{1, 50, {0, 99, 2147483647}};
  static const FieldValues highest_star{1, 12, {0, 99, 2147483647}};
  static const FieldValues state{0, 2, {99, -2147483647 - 1}};
  static const FieldValues draws{1, MAX_DRAWS_TO_GENERATE, {0, 2147483647, -2147483647 - 1}};
  static const FieldValues flag{0, 1, {99, -2147483647 - 1}};
  static const FieldValues bet_type{0, BET_TYPE_COUNT - 1, {99, 2147483647}};
  static const FieldValues language{1, 2, {0, 99}};
  switch (kind) {
    case MAIN_HIGHEST_NUMBER:
      return highest_number;
    case MAIN_HIGHEST_STAR:
      return highest_star;
    case MAIN_NUMBER_STATE:
    case MAIN_STAR_STATE:
      return state;
    case MAIN_DRAWS:
      return draws;
    case MAIN_JITTER:
    case MAIN_TECHNIQUES:
      return flag;
    case MAIN_BET_TYPE:
      return bet_type;
    default:
      return language;
  }
}

// A currency: a usual one, a few letters, or at the edges (empty, a byte
// that is not UTF-8, a long text).
std::string chosen_currency(Dice& dice, const std::string& old, const std::string& price) {
  static const std::vector<std::string> usual = {"EUR", "R$", "USD", "\xE2\x82\xAC", "\xC2\xA3", "CHF", "kr"};
  switch (roll_weighted(dice, {5, 2, 1, 1, 1, 1})) {
    case 0:
      return roll_of(dice, usual);
    case 1: {
      std::string t;
      for (size_t k = 0, n = 1 + roll_below(dice, 4); k < n; ++k) t += static_cast<char>('A' + roll_below(dice, 26));
      return t;
    }
    case 2:
      return "";
    case 3:
      return old.empty() ? "\xC3" : old.substr(0, old.size() - 1) + "\xFF";
    case 4:
      return price;
    default:
      return std::string(200 + roll_below(dice, 100), 'E');
  }
}

// A price: a decimal of the prices' range 2.5..10000 in the forms a player
// types, or at the edges of that range or of a number.
std::string chosen_price(Dice& dice, const std::string& old, const std::string& elsewhere) {
  static const std::vector<std::string> edges = {"2.5", "2.49", "10000", "10000.01", "0",    "-1",
                                                 "",    "abc",  "1e4",   " 3.50",    "2,50", "99999999"};
  char text[32];
  switch (roll_weighted(dice, {6, 1, 2, 2})) {
    case 0: {
      const int64_t cents = roll_between(dice, 250, 1000000);
      if (roll_one_in(dice, 3))
        std::snprintf(text, sizeof text, "%lld", static_cast<long long>(cents / 100));
      else if (roll_one_in(dice, 2))
        std::snprintf(text, sizeof text, "%lld.%lld", static_cast<long long>(cents / 100),
                      static_cast<long long>(cents % 100 / 10));
      else
        std::snprintf(text, sizeof text, "%lld.%02lld", static_cast<long long>(cents / 100),
                      static_cast<long long>(cents % 100));
      return text;
    }
    case 1:
      std::snprintf(text, sizeof text, "%.2f",
                    static_cast<double>(val_float(old)) + (roll_one_in(dice, 2) ? 0.01 : -0.01));
      return text;
    case 2:
      return roll_of(dice, edges);
    default:
      return elsewhere;
  }
}

// The play states of numbers (or stars) as `count` of them, keeping those
// the file holds and adding states of 0..2 (mostly played).
std::string resized_states(Dice& dice, const ParsedSettings& p, size_t first, size_t held, int64_t count) {
  std::string states;
  for (int64_t k = 0; k < count; ++k) {
    if (static_cast<size_t>(k) < held) {
      const StoredField& f = p.fields[first + static_cast<size_t>(k)];
      states += p.bytes.substr(f.start, f.end - f.start);
    } else {
      append_settings_int(states, roll_one_in(dice, 4) ? static_cast<int64_t>(roll_below(dice, 3)) : 1);
    }
  }
  return states;
}

// A long text costs every input that keeps it milliseconds (the Preferences
// tab shows the currency in every entry of the bet-type list), and so do most
// mutations of it, which keep it: three mutations in four of a file that has
// one cut it, before any other mutation, to a half, a quarter, ... of it
// (kept_of_many).
bool cut_long_text(std::string_view input, Dice& dice, std::string& out) {
  ParsedSettings p;
  if (!parse_main_prefs(input, p)) return false;
  std::vector<size_t> long_texts;
  for (size_t f = 0; f < p.fields.size(); ++f)
    if (p.fields[f].line && p.fields[f].end - p.fields[f].start > kLongLine) long_texts.push_back(f);
  if (long_texts.empty() || roll_one_in(dice, 4)) return false;
  const StoredField& f = p.fields[roll_of(dice, long_texts)];
  const std::string text = stored_line(p, f);
  const size_t keep = kept_of_many(dice, text.size());
  out = p.bytes.substr(0, f.start) + text.substr(roll_below(dice, text.size() - keep + 1), keep) +
        p.bytes.substr(f.start + text.size());
  return true;
}

// What the program reads from a play state depends on the bet type (how many
// numbers and stars a ticket holds) and the other way round: one mutation in
// two of a state or of the bet type changes one play state of a number or a
// star (`state`, or one at random when it is 0) and the bet type together.
// Both are integers of four bytes, so the second change finds its field
// where it was. Gives the state's field.
size_t with_state_and_bet_type(Dice& dice, const ParsedSettings& p, const std::vector<std::vector<size_t>>& of_kind,
                               size_t state, std::string& out) {
  const size_t bet = of_kind[MAIN_BET_TYPE].front();
  const int64_t old_bet = stored_int(p, p.fields[bet]);
  ParsedSettings changed = p;
  changed.bytes = with_field(p, bet, encoded_int(choose_stored_value(dice, old_bet, main_prefs_values(MAIN_BET_TYPE), nullptr)));
  if (state == 0) {
    const std::vector<size_t>* states = &of_kind[MAIN_NUMBER_STATE];
    if (states->empty() || (!of_kind[MAIN_STAR_STATE].empty() && roll_one_in(dice, 3))) states = &of_kind[MAIN_STAR_STATE];
    if (states->empty()) {
      out = changed.bytes;
      return bet;
    }
    state = roll_of(dice, *states);
  }
  const int64_t old_state = stored_int(p, p.fields[state]);
  out = with_field(changed, state, encoded_int(choose_value(dice, old_state, main_prefs_values(MAIN_NUMBER_STATE), nullptr)));
  return state;
}

bool mutate_main_prefs_bytes(std::string_view input, Dice& dice, std::string& out) {
  ParsedSettings p;
  if (!parse_main_prefs(input, p)) return false;
  // Each kind of field as likely as another, whatever its count.
  std::vector<std::vector<size_t>> of_kind(MAIN_KINDS);
  for (size_t k = 0; k < p.fields.size(); ++k) of_kind[static_cast<size_t>(p.fields[k].kind)].push_back(k);
  // Three times in four the field changed in this file's making, or after a
  // play state (five times in six) the bet type that goes with it; otherwise
  // one of a kind.
  bool kept = false;
  const MadeFile made = remembered_change(input, &kept);
  if (kept && made.field > 0 && static_cast<size_t>(made.field) < p.fields.size() &&
      (p.fields[static_cast<size_t>(made.field)].kind == MAIN_NUMBER_STATE ||
       p.fields[static_cast<size_t>(made.field)].kind == MAIN_STAR_STATE) &&
      !of_kind[MAIN_BET_TYPE].empty())
    open_sweep(g_main_sweeps, dice, p, of_kind[MAIN_BET_TYPE].front(), main_prefs_values(MAIN_BET_TYPE).lo,
               main_prefs_values(MAIN_BET_TYPE).hi);
  if (next_of_sweep(g_main_sweeps, dice, out)) return true;
  bool second = false;
  int kind;
  size_t k;
  if (made.field > 0 && static_cast<size_t>(made.field) < p.fields.size() && !roll_one_in(dice, 4)) {
    k = static_cast<size_t>(made.field);
    kind = p.fields[k].kind;
    second = made.second;
    if ((kind == MAIN_NUMBER_STATE || kind == MAIN_STAR_STATE) && !of_kind[MAIN_BET_TYPE].empty() &&
        !roll_one_in(dice, 6)) {
      k = of_kind[MAIN_BET_TYPE].front();
      kind = MAIN_BET_TYPE;
      second = true;
    }
  } else {
    do kind = 1 + static_cast<int>(roll_below(dice, MAIN_KINDS - 1));
    while (of_kind[static_cast<size_t>(kind)].empty());
    k = roll_of(dice, of_kind[static_cast<size_t>(kind)]);
  }
  const std::vector<size_t>& fields = of_kind[static_cast<size_t>(kind)];
  if (roll_one_in(dice, 12)) {
    out = broken_field(dice, p, k);
    return true;
  }
  if ((kind == MAIN_NUMBER_STATE || kind == MAIN_STAR_STATE || kind == MAIN_BET_TYPE) && !second &&
      roll_one_in(dice, 2) && !of_kind[MAIN_BET_TYPE].empty()) {
    const size_t state = with_state_and_bet_type(dice, p, of_kind, kind == MAIN_BET_TYPE ? 0 : k, out);
    remember_field(input, out, static_cast<int>(state));
    return true;
  }
  if (kind == MAIN_CURRENCY) {
    out = with_field(p, k,
                     encoded_line(chosen_currency(dice, stored_line(p, p.fields[k]),
                                                  stored_line(p, p.fields[roll_of(dice, of_kind[MAIN_PRICE])]))));
    return true;
  }
  if (kind == MAIN_PRICE) {
    out = with_field(
        p, k,
        encoded_line(chosen_price(dice, stored_line(p, p.fields[k]), stored_line(p, p.fields[roll_of(dice, fields)]))));
    return true;
  }
  const int64_t old = stored_int(p, p.fields[k]);
  const int64_t elsewhere = stored_int(p, p.fields[roll_of(dice, fields)]);
  const bool sizes = kind == MAIN_HIGHEST_NUMBER || kind == MAIN_HIGHEST_STAR;
  const int64_t v = sizes    ? choose_value(dice, old, main_prefs_values(kind), &elsewhere)
                    : second ? choose_second_value(dice, old, main_prefs_values(kind), &elsewhere)
                             : choose_stored_value(dice, old, main_prefs_values(kind), &elsewhere);
  if (sizes) {
    // The file holds as many play states as it gives: the states follow the
    // count, so that every field after them stays in its place.
    const int states_kind = kind == MAIN_HIGHEST_NUMBER ? MAIN_NUMBER_STATE : MAIN_STAR_STATE;
    const std::vector<size_t>& states = of_kind[static_cast<size_t>(states_kind)];
    if (v >= 0 && v <= kMostStoredStates && !roll_one_in(dice, 8)) {
      // Where the states are, or where they go when the file holds none:
      // before the star states (numbers) or before the tickets to generate.
      size_t start, end;
      if (!states.empty()) {
        start = p.fields[states.front()].start;
        end = p.fields[states.back()].end;
      } else {
        const int next = kind == MAIN_HIGHEST_NUMBER ? MAIN_STAR_STATE : MAIN_DRAWS;
        const std::vector<size_t>& after =
            of_kind[static_cast<size_t>(next)].empty() ? of_kind[MAIN_DRAWS] : of_kind[static_cast<size_t>(next)];
        start = end = p.fields[after.front()].start;
      }
      out = p.bytes.substr(0, p.fields[k].start) + encoded_int(v) +
            p.bytes.substr(p.fields[k].end, start - p.fields[k].end) +
            resized_states(dice, p, states.empty() ? 0 : states.front(), states.size(), v) + p.bytes.substr(end);
      return true;
    }
  }
  out = with_field(p, k, encoded_int(v));
  remember_field(input, out, static_cast<int>(k), second);
  return true;
}

// -- the technique settings file

bool parse_technique_prefs(std::string_view input, ParsedSettings& p) {
  p.bytes.assign(input);
  SettingsReader r{p.bytes, 0};
  if (!take_line(r, p, -1) || stored_line(p, p.fields[0]) != g_techniques_prefs_version) return false;
  for (int slot = 0; slot < TECHNIQUE_SLOT_COUNT; ++slot)
    if (!take_int(r, p, slot)) return false;
  return true;
}

// A window is read, checked and trimmed as a pair of bounds: one mutation in
// six of a bound of a window that has two sets both. Mostly each bound takes
// a value of its own (a value of the range, a neighbour, an edge); otherwise
// the window becomes one value wide, or as wide as before around a new value.
// `first` becomes `pair` when bound `k` keeps its value.
std::string with_new_window(Dice& dice, const ParsedSettings& p, size_t k, size_t pair, const FieldValues& values,
                            size_t* first) {
  const int64_t old_k = stored_int(p, p.fields[k]);
  const int64_t old_pair = stored_int(p, p.fields[pair]);
  const int64_t v = choose_stored_value(dice, old_k, values, &old_pair);
  int64_t w;
  switch (roll_weighted(dice, {6, 1, 1})) {
    case 0:
      w = choose_stored_value(dice, old_pair, values, &old_k);
      break;
    case 1:
      w = v;
      break;
    default:
      w = v + (old_pair - old_k);
      break;
  }
  ParsedSettings changed = p;
  changed.bytes = with_field(p, k, encoded_int(v));
  // The field that made the file is the first bound that changed.
  if (v == old_k) *first = pair;
  return with_field(changed, pair, encoded_int(w));
}

bool mutate_technique_prefs_bytes(std::string_view input, Dice& dice, std::string& out) {
  ParsedSettings p;
  if (!parse_technique_prefs(input, p)) return false;
  // Three times in four the slot changed in this file's making or its
  // window's other bound: a file made by a change of one bound goes on five
  // times in six to the other, one made by a change of that other bound
  // keeps to it five times in six. Otherwise any slot.
  bool kept = false;
  const MadeFile made = remembered_change(input, &kept);
  if (kept && made.field >= 1 && made.field <= TECHNIQUE_SLOT_COUNT) {
    const TechniqueSlot& first = g_technique_slots[made.field - 1];
    if (first.technique != TECHNIQUE_COUNT) {
      const TechniqueRow& row = g_technique_catalogue[first.technique];
      const int second_slot = made.field == row.max_slot ? row.min_slot : row.max_slot;
      int64_t lo = 0, hi = -1;
      if (second_slot > 0) technique_field_range(g_technique_slots[second_slot - 1].range, &lo, &hi);
      open_sweep(g_technique_sweeps, dice, p, static_cast<size_t>(second_slot), lo, hi);
    }
  }
  if (next_of_sweep(g_technique_sweeps, dice, out)) return true;
  size_t k = 1 + roll_below(dice, TECHNIQUE_SLOT_COUNT);
  bool focused = false, second = false;
  if (made.field >= 1 && made.field <= TECHNIQUE_SLOT_COUNT && !roll_one_in(dice, 4)) {
    k = static_cast<size_t>(made.field);
    focused = true;
    second = made.second;
  }
  const TechniqueSlot& slot = g_technique_slots[k - 1];
  if (roll_one_in(dice, 20)) {
    out = broken_field(dice, p, k);
    return true;
  }
  // The other bound of the same window, when it has one, is the value most
  // worth copying: a window whose bounds meet or cross.
  size_t other = 1 + roll_below(dice, TECHNIQUE_SLOT_COUNT);
  size_t pair = 0;
  if (slot.technique != TECHNIQUE_COUNT) {
    const TechniqueRow& row = g_technique_catalogue[slot.technique];
    pair = static_cast<size_t>(static_cast<int>(k) == row.max_slot ? row.min_slot : row.max_slot);
    if (pair > 0 && focused && roll_one_in(dice, 6) == second) {
      std::swap(k, pair);
      second = !second;
    }
    if (pair > 0 && !roll_one_in(dice, 3)) other = pair;
  }
  FieldValues values{0, 0, {0, 999, -1, 2147483647, -2147483647 - 1}};
  technique_field_range(g_technique_slots[k - 1].range, &values.lo, &values.hi);
  if (pair > 0 && !second && roll_one_in(dice, 6)) {
    out = with_new_window(dice, p, k, pair, values, &k);
  } else {
    const int64_t elsewhere = stored_int(p, p.fields[other]);
    const int64_t old = stored_int(p, p.fields[k]);
    out = with_field(p, k,
                     encoded_int(second ? choose_second_value(dice, old, values, &elsewhere)
                                        : choose_stored_value(dice, old, values, &elsewhere)));
  }
  remember_field(input, out, static_cast<int>(k), second);
  return true;
}

// ---- the hooks' shape -----------------------------------------------------------

template <class Mutation>
size_t mutate_in_place(Mutation mutation, uint8_t* data, size_t size, size_t max_size, unsigned seed) {
  Dice dice = dice_from_seed(seed);
  std::string out;
  bool made = false;
  if (roll_below(dice, 100) >= kBytePercent)
    made = mutation(std::string_view(reinterpret_cast<const char*>(data), size), dice, out);
  return put_or_mutate_bytes(made, out, data, size, max_size);
}

template <class CrossOver>
size_t cross_over_into(CrossOver cross_over, const uint8_t* data1, size_t size1, const uint8_t* data2, size_t size2,
                       uint8_t* out, size_t max_out_size, unsigned seed) {
  Dice dice = dice_from_seed(seed);
  if (!roll_one_in(dice, kCrossOverTakenOneIn)) return 0;
  std::string made;
  if (!cross_over(std::string_view(reinterpret_cast<const char*>(data1), size1),
                  std::string_view(reinterpret_cast<const char*>(data2), size2), dice, made))
    return 0;
  return put_cross_over(made, out, max_out_size);
}

}  // namespace

std::string past_result_line(int serial, int year, int month, int day, const int numbers[5], const int stars[2]) {
  char line[64];
  std::snprintf(line, sizeof line, "%05d %04d-%02d-%02d %02d %02d %02d %02d %02d +%02d +%02d", serial, year, month, day,
                numbers[0], numbers[1], numbers[2], numbers[3], numbers[4], stars[0], stars[1]);
  return line;
}

size_t mutate_past_results(uint8_t* data, size_t size, size_t max_size, unsigned seed) {
  return mutate_in_place(mutate_past_results_text, data, size, max_size, seed);
}

size_t mutate_draws_file(uint8_t* data, size_t size, size_t max_size, unsigned seed) {
  return mutate_in_place(mutate_draws_text, data, size, max_size, seed);
}

size_t mutate_result_and_draws_file(uint8_t* data, size_t size, size_t max_size, unsigned seed) {
  return mutate_in_place(mutate_result_and_draws_text, data, size, max_size, seed);
}

size_t noted_as_last_made(const uint8_t* data, size_t size) {
  g_last_made = bytes_hash(std::string_view(reinterpret_cast<const char*>(data), size));
  return size;
}

size_t mutate_main_prefs(uint8_t* data, size_t size, size_t max_size, unsigned seed) {
  Dice dice = dice_from_seed(seed);
  std::string out;
  if (cut_long_text(std::string_view(reinterpret_cast<const char*>(data), size), dice, out))
    return noted_as_last_made(data, put_or_mutate_bytes(true, out, data, size, max_size));
  return noted_as_last_made(data, mutate_in_place(mutate_main_prefs_bytes, data, size, max_size, seed + 1));
}

size_t mutate_technique_prefs(uint8_t* data, size_t size, size_t max_size, unsigned seed) {
  return noted_as_last_made(data, mutate_in_place(mutate_technique_prefs_bytes, data, size, max_size, seed));
}

void forget_made_files() {
  std::fill(g_made_files.begin(), g_made_files.end(), MadeFile{});
  g_last_made = 0;
  g_main_sweeps = Sweeps{};
  g_technique_sweeps = Sweeps{};
}

size_t cross_over_past_results(const uint8_t* data1, size_t size1, const uint8_t* data2, size_t size2, uint8_t* out,
                               size_t max_out_size, unsigned seed) {
  return cross_over_into(cross_over_past_results_text, data1, size1, data2, size2, out, max_out_size, seed);
}

size_t cross_over_draws_file(const uint8_t* data1, size_t size1, const uint8_t* data2, size_t size2, uint8_t* out,
                             size_t max_out_size, unsigned seed) {
  return cross_over_into(cross_over_draws_text, data1, size1, data2, size2, out, max_out_size, seed);
}

size_t cross_over_result_and_draws_file(const uint8_t* data1, size_t size1, const uint8_t* data2, size_t size2,
                                        uint8_t* out, size_t max_out_size, unsigned seed) {
  return cross_over_into(cross_over_result_and_draws_text, data1, size1, data2, size2, out, max_out_size, seed);
}
