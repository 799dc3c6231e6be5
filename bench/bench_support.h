// What the benchmarks that run the whole program share.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/app.h"
#include "core/core.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

// Starts the English program without its event loop, offscreen, in a fresh
// temporary folder that becomes the working directory (its settings folder
// is made there). Returns the folder, or "" when it cannot start.
inline std::string start_program_in_fresh_folder() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  std::string dir = (std::filesystem::temp_directory_path() / "kestrova-bench-XXXXXX").string();
  if (mkdtemp(dir.data()) == nullptr) return "";
  std::filesystem::current_path(dir);
  if (!ui_init()) return "";
  ui_test_reset();
  g_build_language = 1;
  start_program();
  return dir;
}
