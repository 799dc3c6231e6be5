// The recent-files log: the start-up reading and normalising, the menu, an
// update with a new path, the menu again and Clear.
#include <cstdint>

#include "core/core.h"
#include "core/ids.h"
#include "core/state.h"
#include "fuzz/fuzz_support.h"
#include "support/test_support.h"
#include "ui/ui.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start_program();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz_directory() + "settings/recent_files.log";
  fuzz_write_file(path, fuzz_bytes(data, size));
  g_recent_files.assign(11, "");
  update_recent_files("");
  refresh_recent_files_menu();
  const std::string normalised = read_file_bytes(path);
  // Reading the normalised log gives the same log again.
  update_recent_files("");
  fuzz_require(read_file_bytes(path) == normalised, "the normalised log is stable");
  for (int item = MENU_RECENT_FIRST; item <= MENU_RECENT_LAST; ++item) ui_menu_item_text(MENU_MAIN, item);

  const std::string newest = fuzz_directory() + "week12.draws.txt";
  update_recent_files(newest);
  refresh_recent_files_menu();
  fuzz_require(g_recent_files[1] == newest, "the newest path heads the list");
  int64_t seen = 0;
  for (int i = 1; i <= 10; ++i) seen += g_recent_files[i] == newest ? 1 : 0;
  fuzz_require(seen == 1, "a path is listed once");
  clear_recent_files();
  return 0;
}
