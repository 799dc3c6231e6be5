// Draws files (".draws.txt"): Open, Save and Save As of the draw list, and
// the plain-text extract (".txt") of the listed tickets.
//
// A save or an extract never writes over the target in place: the lines go
// to a temporary file beside it, which replaces the target in one rename once
// every line is on disk. An abort, a full disk or a crash therefore leaves the
// previous file as it was. An open reads the header and every ticket first
// and replaces the list only when all of them are sound; tickets are read as
// they come, so the count the file announces never reserves room by itself.

#include <algorithm>
#include <initializer_list>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/core.h"
#include "core/files.h"
#include "core/ids.h"
#include "core/text.h"
#include "draws/draws.h"
#include "draws/main_tab_ids.h"
#include "draws/selection.h"
#include "ui/ui.h"

namespace {

const char* const kMagic = "LOTTODRAWSFILE-1.01";
const char* const kDrawsFilter = "Draws (*.draws.txt)|*.draws.txt";
const char* const kExtractFilter = "Draws (*.txt)|*.txt";
const char* const kLineEnd = "\r\n";

// Ticket sizes a bet type can have; a file outside them is not a draws file.
constexpr int64_t kFewestNumbers = 5;
constexpr int64_t kMostNumbers = 11;
constexpr int64_t kFewestStars = 2;
constexpr int64_t kMostStars = 12;

// The shortest ticket a file can hold is three bare line ends, so a file of
// n bytes holds at most n / 3 tickets: the room made up front never exceeds
// that, whatever line 6 announces.
constexpr uintmax_t kFewestBytesPerTicket = 3;

// Every game of this lottery draws its numbers from 1..50 and its stars from
// 1..12 at most, so a file from any game size holds only such values.
constexpr int64_t kHighestNumber = 50;
constexpr int64_t kHighestStar = 12;

// No line that this program writes comes near this; a longer line of a
// hand-made file is kept up to here (cut at a character boundary).
constexpr size_t kLongestKeptLine = 64 * 1024;


// ---- shared pieces -------------------------------------------------------------

void warn(const std::string& title, const std::string& text) {
  ui_message(title, text, UI_ICON_WARNING);
}

// The local date and time as 2022-02-22 18:05:09.
std::string local_date_time() {
  std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  char text[96];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.tm_year + 1900,
                t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
  return text;
}

// Whether the selected bet type's price, which every cost here is made of,
// is a price (its field is not red).
bool selected_price_is_valid() { return bet_type_price_is_valid(ui_state(PREFS_BET_TYPE_LIST)) == 1; }

// The cost of count tickets with 2 decimals and no thousands separator.
std::string cost_text(int64_t count) { return format_number(tickets_cost(count), 2, false); }

// ---- writing beside the target -------------------------------------------------

// Appends the pieces and a CR LF as one line.
void write_line(StagedFile& file, std::initializer_list<std::string_view> pieces) {
  for (std::string_view piece : pieces) write_staged_file(file, piece);
  write_staged_file(file, kLineEnd);
}

void report_unwritable_file() {
  warn(translate("Error"), translate("Can't write the file."));
}

// A save or an extract is one long operation around one staged file. This
// starts both; false, reported, when the temporary file cannot be made.
bool begin_long_write(StagedFile& file, const std::string& path) {
  start_long_operation();
  if (open_staged_file(file, path)) return true;
  end_long_operation();
  report_unwritable_file();
  return false;
}

// Polled after each ticket: an abort drops what was written and ends the
// operation, and the previous file stays.
bool long_write_aborted(StagedFile& file) {
  if (!poll_abort_request()) return false;
  discard_staged_file(file);
  end_long_operation();
  return true;
}

// Puts the file in the target's place and ends the operation; false,
// reported, when the file could not be completed.
bool finish_long_write(StagedFile& file) {
  bool written = commit_staged_file(file);
  end_long_operation();
  if (!written) report_unwritable_file();
  return written;
}

// ---- reading -------------------------------------------------------------------

// Reads the next line as UTF-8 (see read_text_line).
bool read_line(FILE* file, std::string& line) {
  static TextLine text_line;
  bool read = read_text_line(file, text_line, kLongestKeptLine);
  line.swap(text_line.text);
  return read;
}

// Lines 1..9 of a draws file.
struct DrawsFileHeader {
  std::string lines[10];  // 1..9 used
};

bool read_header(FILE* file, DrawsFileHeader& header) {
  for (int k = 1; k <= 9; ++k)
    if (file == nullptr || !read_line(file, header.lines[k])) return false;
  return true;
}

// Whether a ticket's numbers (or stars) text is what the generator writes
// for a ticket of `count` values: that many values joined by single commas,
// each in digits alone, in 1..highest, none twice. Anything else (a letter,
// a sign or a blank in a value, another separator, a value more or fewer)
// would be read by the prize check as some other ticket.
bool ticket_values_sound(const std::string& text, int64_t count, int64_t highest) {
  uint64_t seen = 0;
  int64_t values = 0;
  size_t start = 0;
  std::string field;
  for (;;) {
    const size_t comma = text.find(',', start);
    field.assign(text, start, comma == std::string::npos ? std::string::npos : comma - start);
    if (!text_is_digits(field) || ++values > count) return false;
    // Leading zeros add nothing; past highest the digits need not be read.
    int64_t value = 0;
    for (char c : field) {
      value = value * 10 + (c - '0');
      if (value > highest) return false;
    }
    if (value < 1 || (seen >> value & 1) != 0) return false;
    seen |= uint64_t{1} << value;
    if (comma == std::string::npos) return values == count;
    start = comma + 1;
  }
}

void show_list_summary(int64_t count) {
  ui_set_text(GADGET_DRAWS_LABEL, translate("Draws:") + str_int(count));
  // A price that is not one gives no cost: the label shows none.
  ui_set_text(GADGET_COST_LABEL, translate("  Cost:") +
                                     (selected_price_is_valid() ? cost_text(count) + " " + g_currency : ""));
}

}  // namespace

void save_draws_file(int64_t save_mode, int64_t ask) {
  if (g_draw_count == 0) {
    warn(translate("Warning!"), translate("No draws found."));
    return;
  }
  std::string path;
  if (save_mode == 1 && ask == 0 && !g_draws_file_path.empty()) {
    path = g_draws_file_path;
  } else {
    path = choose_save_target(translate("Save Draws"), kDrawsFilter, ".draws.txt");
    if (path.empty()) return;
  }

  StagedFile file;
  if (!begin_long_write(file, path)) return;
  const std::string count = str_int(g_draw_count);
  write_line(file, {kMagic});
  write_line(file, {ui_text(GADGET_COST_LABEL)});
  write_line(file, {ui_text(GADGET_REPEATED_LABEL)});
  write_line(file, {ui_text(GADGET_TECHNIQUES_LABEL)});
  write_line(file, {ui_text(GADGET_COMMON_LABEL)});
  write_line(file, {count});
  write_line(file, {str_int(g_numbers_per_draw)});
  write_line(file, {str_int(g_stars_per_draw)});
  write_line(file, {local_date_time()});
  char index[24];
  for (int64_t i = 1; i <= g_draw_count && !file.failed; ++i) {
    int length = std::snprintf(index, sizeof index, "#:%lld", static_cast<long long>(i));
    write_line(file, {std::string_view(index, static_cast<size_t>(length))});
    write_line(file, {g_draw_numbers[i]});
    write_line(file, {g_draw_stars[i]});
    if (long_write_aborted(file)) return;
  }
  if (!finish_long_write(file)) return;
  update_recent_files(path);
  refresh_recent_files_menu();
  g_draws_file_path = path;
  show_draws_file_name();
  g_draws_changed = 0;
}

void open_draws_file(const std::string& given_path) {
  if (g_draws_changed == 1 &&
      ui_message(translate("Warning!"),
                 translate("The Draws have been changed.") + "\n\n" + translate("Continue?"),
                 UI_MESSAGE_YES_NO | UI_ICON_INFO) != UI_ANSWER_YES)
    return;
  std::string path = given_path;
  if (path.empty()) {
    path = ui_open_file_dialog(translate("Open Draws"), "", kDrawsFilter, 0);
    if (path.empty()) return;
  }
  const uintmax_t size = plain_file_size(path);
  if (size == 0) {
    warn(translate("Error"), translate(".DRAWS.TXT file not found."));
    return;
  }

  start_long_operation();
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file != nullptr) std::setvbuf(file, nullptr, _IOFBF, 64 * 1024);
  auto finish = [&] {
    if (file != nullptr) std::fclose(file);
    end_long_operation();
  };

  // The whole header is checked before anything changes: a refused file
  // leaves the list, its rows and the labels as they were.
  DrawsFileHeader header;
  bool header_read = read_header(file, header);
  const int64_t announced = val_int(header.lines[6]);
  const int64_t numbers_per_draw = val_int(header.lines[7]);
  const int64_t stars_per_draw = val_int(header.lines[8]);
  if (header.lines[1] != kMagic || !header_read || numbers_per_draw < kFewestNumbers ||
      numbers_per_draw > kMostNumbers || stars_per_draw < kFewestStars ||
      stars_per_draw > kMostStars) {
    finish();
    warn(translate("Error"), translate("Not a valid draws file."));
    return;
  }
  if (announced < 0 || announced > MAX_DRAWS_TO_GENERATE) {
    finish();
    warn(translate("Error"), translate("Invalid number of draws in the file."));
    return;
  }

  // The tickets are read and checked before the list is touched: one that is
  // not a ticket of the header's size, or that no draw of this lottery can
  // be, refuses the whole file, like a bad header.
  const uintmax_t room = std::min<uintmax_t>(static_cast<uintmax_t>(announced),
                                             size / kFewestBytesPerTicket);
  std::vector<std::string> numbers_read(1);
  std::vector<std::string> stars_read(1);
  numbers_read.reserve(room + 1);
  stars_read.reserve(room + 1);
  std::string index_line;
  std::string numbers;
  std::string stars;
  bool aborted = false;
  int64_t read = 0;
  while (read < announced) {
    if (!read_line(file, index_line) || !read_line(file, numbers) || !read_line(file, stars))
      break;  // the file ends early: only whole tickets count
    if (!ticket_values_sound(numbers, numbers_per_draw, kHighestNumber) ||
        !ticket_values_sound(stars, stars_per_draw, kHighestStar)) {
      finish();
      warn(translate("Error"), translate("Not a valid draws file."));
      return;
    }
    numbers_read.push_back(std::move(numbers));
    stars_read.push_back(std::move(stars));
    ++read;
    if (poll_abort_request()) {
      aborted = true;
      break;
    }
  }
  finish();

  ui_clear_items(GADGET_DRAW_LIST);
  ui_set_text(GADGET_COST_LABEL, header.lines[2]);
  ui_set_text(GADGET_REPEATED_LABEL, header.lines[3]);
  ui_set_text(GADGET_TECHNIQUES_LABEL, header.lines[4]);
  ui_set_text(GADGET_COMMON_LABEL, header.lines[5]);
  g_numbers_per_draw = numbers_per_draw;
  g_stars_per_draw = stars_per_draw;
  g_draw_count = 0;
  forget_listed_tickets();
  // The texts read become the list as they are; add_draw_to_list then finds
  // each ticket already in its slot and lists its row.
  g_draw_numbers.swap(numbers_read);
  g_draw_stars.swap(stars_read);
  for (int64_t i = 1; i <= read; ++i) {
    ++g_draw_count;
    add_draw_to_list(g_draw_numbers[static_cast<size_t>(i)], g_draw_stars[static_cast<size_t>(i)]);
  }
  // Whatever the list now holds, the counters and the preview cache belong
  // to the list it replaced.
  reset_hit_counters();
  show_hit_counters();
  g_preview_valid = 0;
  show_list_summary(g_draw_count);
  if (aborted) {
    // Only part of this file is listed, and none of the file the path named
    // before: the list belongs to no file, so Save asks for a name instead
    // of writing these tickets over either.
    g_draws_file_path = "";
    ui_set_text(GADGET_FILE_LABEL, translate("File:") + "N/A");
    return;
  }
  g_draws_file_path = path;
  show_draws_file_name();
  g_draws_changed = 0;
  update_recent_files(path);
  refresh_recent_files_menu();
  if (g_draw_count < announced)
    warn(translate("Warning!"), translate("The file holds fewer draws than it announces."));
}

void extract_draws_to_text() {
  if (g_draw_count == 0) {
    warn(translate("Warning!"), translate("No draws found."));
    return;
  }
  // The extract states the cost of its tickets, which a price that is not
  // one cannot give: refused as Generate refuses it, before anything is asked.
  if (!selected_price_is_valid()) {
    warn(translate("Warning!"), invalid_price_message(ui_state(PREFS_BET_TYPE_LIST)));
    return;
  }
  const std::string path = choose_save_target("Extract Draws", kExtractFilter, ".txt");
  if (path.empty()) return;

  StagedFile file;
  if (!begin_long_write(file, path)) return;
  write_line(file, {"# Draws:", str_int(g_draw_count)});
  write_line(file, {"Numbers:", str_int(g_numbers_per_draw)});
  write_line(file, {"  Stars:", str_int(g_stars_per_draw)});
  write_line(file, {"   Cost:", cost_text(g_draw_count), " ", g_currency});
  write_line(file, {"   Date:", local_date_time()});
  std::string line;
  for (int64_t i = 1; i <= g_draw_count && !file.failed; ++i) {
    // Every value read as an integer and written back in decimal: "07" is 7.
    line.clear();
    for (int64_t j = 1; j <= g_numbers_per_draw; ++j)
      line += str_int(val_int(string_field(g_draw_numbers[i], j, ","))) + " ";
    line += "+ ";
    for (int64_t j = 1; j <= g_stars_per_draw; ++j) {
      if (j > 1) line += " ";
      line += str_int(val_int(string_field(g_draw_stars[i], j, ",")));
    }
    write_line(file, {line});
    if (long_write_aborted(file)) return;
  }
  finish_long_write(file);
}

void show_draws_file_name() {
  std::string name = file_name_of(g_draws_file_path);
  if (name.empty()) name = "n/a";
  ui_set_text(GADGET_FILE_LABEL, translate("File:") + name);
}
