#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "core/core.h"
#include "core/files.h"
#include "core/ids.h"
#include "core/text.h"
#include "ui/ui.h"

namespace {

constexpr int k_recent_slots = 10;

std::string recent_files_log_path() { return g_program_dir + "settings/recent_files.log"; }

void ensure_recent_slots() {
  if (g_recent_files.size() < k_recent_slots + 1) g_recent_files.resize(k_recent_slots + 1);
}

// The log is always written whole: ten lines, each ended by CR LF, an empty
// line for a free slot. It goes through a temporary file so that a failed
// write leaves the previous log as it was.
void write_recent_files_log(bool empty) {
  std::string bytes;
  for (int i = 1; i <= k_recent_slots; ++i) {
    if (!empty) bytes += g_recent_files[i];
    bytes += "\r\n";
  }
  write_file_atomically(recent_files_log_path(), bytes);
}

// The first ten lines of the log into slots 1..10. LF, CR and CR LF all end
// a line; lines missing at the end read as empty; a byte-order mark is kept
// as part of the first path. False, with the slots untouched, when the log
// cannot be opened or a read fails.
bool read_recent_files_log() {
  // No path this program writes comes near this; a longer hand-made line is
  // cut, so a huge log costs no more memory than ten such lines.
  constexpr size_t kLongestKeptPath = 64 * 1024;
  FILE* file = std::fopen(recent_files_log_path().c_str(), "rb");
  if (file == nullptr) return false;
  std::vector<std::string> lines(k_recent_slots + 1);
  TextLine line;
  for (int i = 1; i <= k_recent_slots && read_text_line(file, line, kLongestKeptPath); ++i)
    lines[i] = line.text;
  const bool read = std::ferror(file) == 0;
  std::fclose(file);
  if (!read) return false;
  for (int i = 1; i <= k_recent_slots; ++i) g_recent_files[i].swap(lines[i]);
  return true;
}

// A line break inside a path would end its line in the log and come back as
// two entries at the next start.
bool fits_on_one_line(const std::string& path) { return path.find_first_of("\r\n") == std::string::npos; }

// A log that is there but cannot be opened for reading (no permission) is
// never written: a rewrite would lose the entries it holds.
bool recent_files_log_unreadable() {
  if (plain_file_size(recent_files_log_path()) < 1) return false;
  FILE* file = std::fopen(recent_files_log_path().c_str(), "rb");
  if (file == nullptr) return true;
  std::fclose(file);
  return false;
}

// A log that is there but may not be written (read-only) is never replaced:
// the rename of a rewrite would pass over its permission.
bool recent_files_log_read_only() {
  struct stat state {};
  if (::stat(recent_files_log_path().c_str(), &state) != 0 || !S_ISREG(state.st_mode)) return false;
  int fd = ::open(recent_files_log_path().c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == EACCES || errno == EPERM || errno == EROFS;
  ::close(fd);
  return false;
}

}  // namespace

void update_recent_files(const std::string& path) {
  ensure_recent_slots();
  if (!fits_on_one_line(path)) return;
  if (plain_file_size(recent_files_log_path()) < 1) {
    // A missing or empty log is only created; the path of this call is not
    // recorded and the slots in memory stay as they are.
    if (!recent_files_log_read_only()) write_recent_files_log(true);
    return;
  }
  // A log that cannot be read stays as it is, and so do the slots.
  if (!read_recent_files_log()) return;
  if (!path.empty()) {
    for (int i = 1; i <= k_recent_slots; ++i)
      if (g_recent_files[i] == path) g_recent_files[i] = "";
    g_recent_files[0] = path;
    // Slots 0..10 closed up in order; with all eleven in use the oldest,
    // formerly slot 10, falls off the end.
    std::vector<std::string> kept;
    for (int i = 0; i <= k_recent_slots; ++i)
      if (!g_recent_files[i].empty()) kept.push_back(g_recent_files[i]);
    for (int i = 1; i <= k_recent_slots; ++i)
      g_recent_files[i] = i - 1 < static_cast<int>(kept.size()) ? kept[i - 1] : "";
  }
  // The list of this run still shows in the menu.
  if (!recent_files_log_read_only()) write_recent_files_log(false);
}

void refresh_recent_files_menu() {
  ensure_recent_slots();
  for (int i = 1; i <= k_recent_slots; ++i) {
    int item = MENU_RECENT_FIRST - 1 + i;
    ui_set_menu_item_text(MENU_MAIN, item, str_int(i) + ": " + g_recent_files[i]);
    ui_disable_menu_item(MENU_MAIN, item, g_recent_files[i].empty());
  }
}

void clear_recent_files() {
  g_recent_files.assign(k_recent_slots + 1, "");
  if (!recent_files_log_unreadable() && !recent_files_log_read_only()) write_recent_files_log(true);
  refresh_recent_files_menu();
}
