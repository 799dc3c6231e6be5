// The recent-files log: the start-up reading and normalising, the menu, an
// update with a path, the menu again and Clear. The input is the log, then
// after a NUL byte the path that a save or an open records (any bytes but
// NUL: line breaks, paths far longer than any system allows); a second NUL
// after the path makes the log unreadable (mode 0200, and the superuser gives
// up passing over file permissions meanwhile), and then nothing may rewrite
// a log that holds anything; one more byte after it, when odd, makes the log
// read-only instead (mode 0444): it is read, and never rewritten.
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/core.h"
#include "core/ids.h"
#include "core/state.h"
#include "core/text.h"
#include "fuzz/fuzz_support.h"
#include "support/test_support.h"
#include "ui/ui.h"

namespace {

// No path is kept longer than this when the log is read.
constexpr size_t kLongestKeptPath = 64 * 1024;

// Slots 1..10 (slot 0 is the list's scratch place).
std::vector<std::string> listed() { return std::vector<std::string>(g_recent_files.begin() + 1, g_recent_files.begin() + 11); }

std::string log_of(const std::vector<std::string>& slots) {
  std::string bytes;
  for (const std::string& slot : slots) bytes += slot + "\r\n";
  return bytes;
}

const std::string kEmptyLog = log_of(std::vector<std::string>(10));

// Slots 1..10 after `path` is recorded over slots 1..10: the path first,
// then the other non-empty paths in their order, as many as fit.
std::vector<std::string> recorded(const std::vector<std::string>& slots, const std::string& path) {
  std::vector<std::string> next{path};
  for (const std::string& slot : slots)
    if (!slot.empty() && slot != path) next.push_back(slot);
  next.resize(10);
  return next;
}

// The log read at start, the path recorded and Clear, on a log that cannot
// be read (mode 0200) or may not be written (0444), with file permissions
// binding.
void run_on_protected_log(const std::string& path, const std::string& newest, const std::string& bytes,
                          bool read_only) {
  std::vector<std::string> at_start, after_record;
  std::string log_after_record;
  chmod(path.c_str(), read_only ? 0444 : 0200);
  const bool enforced = with_file_permissions_enforced([&] {
    g_recent_files.assign(11, "");
    update_recent_files("");
    refresh_recent_files_menu();
    at_start = listed();
    update_recent_files(newest);
    refresh_recent_files_menu();
    after_record = listed();
    clear_recent_files();
  });
  chmod(path.c_str(), 0600);
  if (!enforced || bytes.empty()) return;
  fuzz_require(read_file_bytes(path) == bytes, "a protected log is never rewritten");
  if (read_only) {
    if (!newest.empty() && newest.find_first_of("\r\n") == std::string::npos)
      fuzz_require(after_record == recorded(at_start, newest), "a read-only log still lists the path in the menu");
    return;
  }
  fuzz_require(at_start == std::vector<std::string>(10), "an unreadable log lists nothing");
  fuzz_require(after_record == at_start, "a path is not recorded over an unreadable log");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start_program();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input = fuzz_bytes(data, size);
  const size_t log_end = std::min(input.find('\0'), input.size());
  const size_t path_end = log_end < input.size() ? std::min(input.find('\0', log_end + 1), input.size()) : log_end;
  const std::string bytes = input.substr(0, log_end);
  const std::string newest = log_end < input.size() ? input.substr(log_end + 1, path_end - log_end - 1) : "";
  const std::string path = fuzz_directory() + "settings/recent_files.log";
  fuzz_write_file(path, bytes);
  if (path_end < input.size()) {
    run_on_protected_log(path, newest, bytes, path_end + 1 < input.size() && (input[path_end + 1] & 1) != 0);
    return 0;
  }

  g_recent_files.assign(11, "");
  update_recent_files("");
  refresh_recent_files_menu();
  const std::string normalised = read_file_bytes(path);
  const std::vector<std::string> slots = listed();
  fuzz_require(normalised == log_of(slots), "the log holds the ten slots");
  if (bytes.empty()) fuzz_require(normalised == kEmptyLog, "a missing log is made empty");
  // Reading the normalised log gives the same log again.
  update_recent_files("");
  fuzz_require(read_file_bytes(path) == normalised, "the normalised log is stable");
  for (int item = MENU_RECENT_FIRST; item <= MENU_RECENT_LAST; ++item) ui_menu_item_text(MENU_MAIN, item);

  update_recent_files(newest);
  refresh_recent_files_menu();
  const bool one_line = newest.find_first_of("\r\n") == std::string::npos;
  if (!one_line || newest.empty()) {
    // A path with a line break is never recorded.
    fuzz_require(listed() == slots, "the slots stay as they were");
    fuzz_require(read_file_bytes(path) == normalised, "the log stays as it was");
  } else {
    fuzz_require(listed() == recorded(slots, newest), "the path heads the list, which keeps its order");
    fuzz_require(read_file_bytes(path) == log_of(listed()), "the log holds the ten slots");
    // A menu shows other bytes than UTF-8 changed.
    if (valid_utf8(newest) == newest)
      fuzz_require(ui_menu_item_text(MENU_MAIN, MENU_RECENT_FIRST) == "1: " + newest, "the menu shows the path");
    // The next start reads the same slots, a path longer than is kept cut
    // short.
    const std::vector<std::string> saved = listed();
    g_recent_files.assign(11, "");
    update_recent_files("");
    for (size_t i = 0; i < 10; ++i) {
      const std::string& read = g_recent_files[i + 1];
      if (saved[i].size() <= kLongestKeptPath)
        fuzz_require(read == saved[i], "the next start reads the same paths");
      else
        fuzz_require(read.size() + 4 > kLongestKeptPath && saved[i].compare(0, read.size(), read) == 0,
                     "a path longer than is kept is cut short");
    }
  }
  clear_recent_files();
  fuzz_require(read_file_bytes(path) == kEmptyLog, "Clear empties the log");
  return 0;
}
