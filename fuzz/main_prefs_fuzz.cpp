// The main settings file: the reader on the bytes, then the Preferences tab
// built from what it read (as at start-up) and its counts, the writer, and
// the reader once more on what the writer made.
#include <cstdint>

#include "core/core.h"
#include "core/ids.h"
#include "core/state.h"
#include "draws/draws.h"
#include "fuzz/fuzz_support.h"
#include "support/test_support.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

void build_preferences_from_globals() {
  ui_open_gadget_list(GADGET_PANEL, TAB_PREFERENCES);
  build_preferences_tab();
  ui_close_gadget_list();
  update_selection_counts();
  update_possible_draws_label();
  update_cost_label();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start_program();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz_directory() + "settings/kestrova.prefs";
  fuzz_write_file(path, fuzz_bytes(data, size));
  init_game_state();
  ui_test_clear_messages();
  // A file that is not read leaves the defaults, whose tab is built already.
  if (load_main_prefs() == 0) return 0;
  build_preferences_from_globals();

  // What the program writes it reads back to the same values.
  save_main_prefs();
  const std::string saved = read_file_bytes(path);
  const std::vector<int64_t> numbers = g_number_play_state;
  const std::vector<int64_t> stars = g_star_play_state;
  const int64_t draws = g_draws_to_generate;
  const std::string currency = g_currency;
  const int64_t bet_type = g_bet_type_index;
  const int64_t language = g_language;
  fuzz_require(load_main_prefs() == 1, "a saved file loads");
  fuzz_require(g_number_play_state == numbers && g_star_play_state == stars, "play states come back");
  fuzz_require(g_draws_to_generate == draws && g_currency == currency, "count and currency come back");
  fuzz_require(g_bet_type_index == bet_type && g_language == language, "bet type and language come back");
  save_main_prefs();
  fuzz_require(read_file_bytes(path) == saved, "a second save writes the same bytes");
  return 0;
}
