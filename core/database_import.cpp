// Import of the past-results database: a text file of 39-character draw
// lines and "#" comment lines, ended by "@end_database" or by the end of the
// file. Each draw line leaves its last 20 characters, once its two "+" are
// taken out, as one entry: five numbers and two stars of two digits each. A
// line whose entry cannot be a draw stops the import like a malformed one.
#include <cstdio>
#include <string>

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

// The message of a line that is neither a comment, the end line nor a well
// formed draw line; "" when the line passes.
std::string draw_line_fault(const std::string& text, int64_t characters) {
  if (characters != kDrawLineLength) return "Invalid number of length in line:";
  if (count_string(text, " ") != kDrawLineBlanks) return "Invalid number of spaces in line:";
  if (count_string(text, "+") != kDrawLinePluses) return "Invalid number of stars in line:";
  return "";
}

// Whether an entry can be a draw of this lottery: five different numbers in
// 1..50 and two different stars in 1..12, read as every reader of the
// entries reads them. The range is the format's own, not the current game's,
// so the full game's results stay importable in a smaller game.
bool entry_is_a_draw(const std::string& entry) {
  int64_t values[7];
  for (int k = 0; k < 7; ++k) {
    values[k] = val_int(string_field(entry, k + 1, " "));
    const int64_t highest = k < 5 ? 50 : 12;
    if (values[k] < 1 || values[k] > highest) return false;
    const int first = k < 5 ? 0 : 5;
    for (int e = first; e < k; ++e)
      if (values[e] == values[k]) return false;
  }
  return true;
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
                          translate("Draws database") + " (*.txt)|*.txt", 0);
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

  // The candidate filter keeps tables built from the entries; a file of the
  // same path and count may differ anywhere, so every way out renews them.
  auto finish = [&] {
    std::fclose(file);
    end_long_operation();
    invalidate_candidate_filter();
  };

  TextLine line;
  int64_t line_number = 0;
  for (;;) {
    if (!read_text_line(file, line, kKeptBytes)) {
      // The end of the file, or a read error (which may have cut the line
      // short: the file is reported, not the line).
      const bool failed = std::ferror(file) != 0;
      finish();
      if (failed) {
        report_unreadable_file();
      } else {
        show_database_file_name();
      }
      return;
    }
    ++line_number;
    const bool comment = !line.text.empty() && line.text[0] == '#';
    const bool end_line = line.text == kEndLine;
    if (!comment && !end_line) {
      std::string fault = draw_line_fault(line.text, line.characters);
      std::string entry;
      if (fault.empty()) {
        entry = text_mid(replace_string(line.text, "+", ""), kEntryStart);
        if (!entry_is_a_draw(entry)) fault = "Invalid number or star in line:";
      }
      if (!fault.empty()) {
        finish();
        ui_message(translate("Error"), translate(fault) + str_int(line_number), UI_ICON_WARNING);
        return;
      }
      ++g_database_draw_count;
      g_database_draws.push_back(entry);
      show_imported_count();
    }
    if (poll_abort_request()) {
      finish();
      return;
    }
    if (end_line) {
      finish();
      show_database_file_name();
      return;
    }
  }
}

void show_database_file_name() {
  std::string name = file_name_of(g_database_path);
  if (name.empty()) name = "n/a";
  ui_set_text(GADGET_DATABASE_FILE, translate("File:") + name);
}
