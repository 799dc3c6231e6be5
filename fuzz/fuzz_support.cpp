#include "fuzz/fuzz_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_set>
#include <vector>
#include <unistd.h>

#include "core/core.h"
#include "core/state.h"
#include "core/text.h"
#include "draws/draws.h"
#include "draws/main_tab_ids.h"
#include "support/program_fixture.h"
#include "techniques/tab_gadgets.h"
#include "techniques/techniques.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {
std::string g_fuzz_directory;
}

void fuzz_start_program() {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (!ui_init()) {
    std::fputs("the gadget layer could not start\n", stderr);
    std::abort();
  }
  // Every input writes and reads files: a memory file system where there is
  // one keeps the disk out of each input's time.
  if (access("/dev/shm", W_OK) == 0) setenv("TMPDIR", "/dev/shm", 1);
  g_fuzz_directory = start_program_for_test(1);
  ui_test_skip_screen_painting();
  if (g_fuzz_directory.back() != '/') g_fuzz_directory += '/';
}

const std::string& fuzz_directory() { return g_fuzz_directory; }

void fuzz_write_file(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) std::abort();
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
  std::fclose(f);
}

std::string fuzz_bytes(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

void fuzz_import_database(const std::string& path) {
  ui_test_push_file_answer(path);
  import_draws_database();
}

void fuzz_learn_sample_database() {
  static const char* const lines[] = {
      "# a few past results",
      "00001 2004-02-13 16 29 32 36 41 +07 +09",
      "00002 2004-02-20 07 13 39 47 50 +02 +05",
      "00003 2004-02-27 14 18 19 31 37 +04 +05",
      "00004 2004-03-05 04 07 33 37 39 +01 +05",
      "00005 2004-03-12 01 05 11 23 42 +03 +08",
      "00006 2004-03-19 02 09 18 26 47 +01 +12",
      "@end_database",
  };
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  const std::string path = g_fuzz_directory + "sample_database.txt";
  fuzz_write_file(path, text);
  fuzz_import_database(path);
  fuzz_require(g_database_draw_count == 6, "the sample database imports");
  learn_techniques();
  ui_test_clear_messages();
}

void fuzz_drop_association_grid() { ui_free_gadget(GADGET_NUMBER_ASSOCIATION_CHOOSER); }

void fuzz_preview_when_new() {
  static std::unordered_set<std::string> checked;
  if (g_draw_count > 0) {
    if (g_preview_valid == 0 && rebuild_preview_cache() == 0) return;
    // None, some or all of the numbers (and of the stars) played, and which
    // result fields are marked unhit.
    auto share = [](const std::vector<int64_t>& played) {
      const int64_t n = std::count(played.begin() + 1, played.end(), 1);
      return n == 0 ? 'n' : n == static_cast<int64_t>(played.size()) - 1 ? 'a' : 's';
    };
    std::string legend{share(g_played_numbers), share(g_played_stars)};
    for (int field = GADGET_RESULT_NUMBER_FIRST; field <= GADGET_RESULT_STAR_LAST; ++field) {
      const bool star = field > GADGET_RESULT_NUMBER_LAST;
      const std::vector<int64_t>& played = star ? g_played_stars : g_played_numbers;
      const int64_t v = val_int(ui_text(field));
      legend += v >= 1 && v < static_cast<int64_t>(played.size()) && played[static_cast<size_t>(v)] == 0 ? "u" : "-";
    }
    if (!checked.insert(legend).second) return;
  }
  ui_test_set_idle_hook([] { ui_test_click(GADGET_PREVIEW_CLOSE); });
  show_preview_window();
  ui_test_set_idle_hook(nullptr);
  // The toolkit frees a closed window's parts on its next pass: taken now,
  // the next input starts without them.
  ui_delay(0);
}

FuzzEmptyDrawListAfter::~FuzzEmptyDrawListAfter() { clear_draw_list(); }

namespace {

// The value of a text that is a whole number of 1..highest in digits alone,
// 0 for any other text.
int64_t whole_value(const std::string& text, int64_t highest) {
  if (!text_is_digits(text)) return 0;
  const size_t first = text.find_first_not_of('0');
  if (first == std::string::npos || text.size() - first > 2) return 0;
  const int64_t v = std::stoll(text.substr(first));
  return v <= highest ? v : 0;
}

}  // namespace

bool fuzz_result_fields_hold_a_draw() {
  for (int k = 0; k < 7; ++k) {
    const int64_t highest = k < 5 ? g_highest_number : g_highest_star;
    const int64_t v = whole_value(ui_text(GADGET_RESULT_NUMBER_FIRST + k), highest);
    if (v == 0) return false;
    for (int e = k < 5 ? 0 : 5; e < k; ++e)
      if (whole_value(ui_text(GADGET_RESULT_NUMBER_FIRST + e), highest) == v) return false;
  }
  return true;
}

void fuzz_require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "broken: %s\n", what);
  std::abort();
}
