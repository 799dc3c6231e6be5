// The main settings file: the reader on the bytes, then the Preferences tab
// showing what it read (as at start-up) and its counts, the writer, and the
// reader once more on what the writer made.
#include <algorithm>
#include <cstdint>
#include <set>
#include <tuple>
#include <vector>

#include "core/core.h"
#include "core/ids.h"
#include "core/state.h"
#include "draws/draws.h"
#include "draws/selection.h"
#include "fuzz/format_mutators.h"
#include "fuzz/fuzz_support.h"
#include "support/test_support.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

// The tab's layout: how many number and star buttons are live, and the
// language of its captions.
using Layout = std::tuple<int64_t, int64_t, int64_t>;
Layout layout_in_force() { return {g_highest_number, g_highest_star, g_language}; }
std::set<Layout> g_layouts_built;

// What the tab shows now, so that an input only changes what differs.
struct ShownPreferences {
  std::vector<int64_t> number_faces;
  std::vector<int64_t> star_faces;
};
ShownPreferences g_shown;
// The price each field shows while its saved text is empty.
std::vector<std::string> g_default_prices;

// What the bet-type list was last made from (a new layout makes a new list).
struct BetTypeListShown {
  std::vector<std::string> prices;
  std::string currency;
  int64_t language = 0;
  size_t layouts = 0;
  bool operator==(const BetTypeListShown&) const = default;
};
BetTypeListShown g_bet_type_list_shown;

// A pool button's face: not played, played, fixed, or any other state (all
// shown alike, in black); -1 beyond the highest value, where no face is drawn.
std::vector<int64_t> faces_of(const std::vector<int64_t>& states, int64_t highest) {
  std::vector<int64_t> faces;
  for (size_t v = 0; v < states.size(); ++v) {
    const int64_t state = states[v];
    faces.push_back(static_cast<int64_t>(v) > highest ? -1 : state >= 0 && state <= 2 ? state : 3);
  }
  return faces;
}

void build_preferences_from_globals() {
  g_layouts_built.insert(layout_in_force());
  ui_open_gadget_list(GADGET_PANEL, TAB_PREFERENCES);
  build_preferences_tab();
  ui_close_gadget_list();
  g_shown.number_faces = faces_of(g_number_play_state, g_highest_number);
  g_shown.star_faces = faces_of(g_star_play_state, g_highest_star);
}

// The tab as building it from the globals would leave it. Building costs
// far more than the rest of an input (some 20 ms), so the tab is built for
// each layout once; every other input sets each gadget that shows a value
// read as the build sets it, through the same procedures. Under a layout
// built before, the buttons beyond the highest number or star may then keep
// the look of the layout shown last, and the captions its language.
void show_preferences_from_globals() {
  if (g_layouts_built.count(layout_in_force()) == 0) {
    build_preferences_from_globals();
  } else {
    const std::vector<int64_t> number_faces = faces_of(g_number_play_state, g_highest_number);
    const std::vector<int64_t> star_faces = faces_of(g_star_play_state, g_highest_star);
    for (size_t n = 1; n < number_faces.size(); ++n)
      if (number_faces[n] != g_shown.number_faces[n]) draw_number_button(static_cast<int64_t>(n));
    for (size_t s = 1; s < star_faces.size(); ++s)
      if (star_faces[s] != g_shown.star_faces[s]) draw_star_button(static_cast<int64_t>(s));
    g_shown.number_faces = number_faces;
    g_shown.star_faces = star_faces;
    for (int i = 0; i < BET_TYPE_COUNT; ++i) {
      const std::string& saved = g_prices[i + 1];
      set_text_if_changed(PREFS_PRICE_FIELD_BASE + i, saved.empty() ? g_default_prices[i] : saved);
    }
    set_spin_value(PREFS_DRAWS_SPIN, g_draws_to_generate);
    set_text_if_changed(PREFS_CURRENCY_FIELD, g_currency);
    ui_set_state(PREFS_BET_TYPE_LIST, std::clamp<int64_t>(g_bet_type_index, 0, BET_TYPE_COUNT - 1));
    ui_set_state(PREFS_SPECIAL_TECHNIQUES, g_use_special_techniques == 1 ? 1 : 0);
    if (g_language == 1 || g_language == 2) ui_set_state(PREFS_LANGUAGE_FRAME + static_cast<int>(g_language), 1);
  }
  update_selection_counts();
  update_possible_draws_label();
  update_cost_label();
  // The bet-type list shows each price with the currency, in the language's
  // words: forty entries made anew only when one of those changed since the
  // list was last made (libFuzzer mutates one input several times in a row,
  // and most mutations change neither).
  const BetTypeListShown shown{g_prices, g_currency, g_language, g_layouts_built.size()};
  if (!(shown == g_bet_type_list_shown)) {
    refresh_bet_type_prices();
    g_bet_type_list_shown = shown;
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start_program();
  // Start-up read no settings file: every field shows its default price.
  for (int i = 0; i < BET_TYPE_COUNT; ++i) g_default_prices.push_back(ui_text(PREFS_PRICE_FIELD_BASE + i));
  build_preferences_from_globals();
  return 0;
}

// Mutations of one stored value, or of a play state and the bet type, at a
// time (fuzz/format_mutators.h).
extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t max_size, unsigned seed) {
  return mutate_main_prefs(data, size, max_size, seed);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz_directory() + "settings/kestrova.prefs";
  fuzz_write_file(path, fuzz_bytes(data, size));
  init_game_state();
  ui_test_clear_messages();
  // A file that is not read leaves the defaults in force.
  if (load_main_prefs() == 0) return 0;
  show_preferences_from_globals();

  // What the program writes it reads back to the same values.
  save_main_prefs();
  const std::string saved = read_file_bytes(path);
  const std::vector<int64_t> numbers = g_number_play_state;
  const std::vector<int64_t> stars = g_star_play_state;
  const std::vector<std::string> prices = g_prices;
  const int64_t draws = g_draws_to_generate;
  const std::string currency = g_currency;
  const int64_t bet_type = g_bet_type_index;
  const int64_t language = g_language;
  fuzz_require(load_main_prefs() == 1, "a saved file loads");
  fuzz_require(g_number_play_state == numbers && g_star_play_state == stars, "play states come back");
  fuzz_require(g_draws_to_generate == draws && g_currency == currency, "count and currency come back");
  fuzz_require(g_bet_type_index == bet_type && g_language == language, "bet type and language come back");
  for (int k = 1; k <= BET_TYPE_COUNT; ++k)
    fuzz_require(g_prices[k] == ui_text(PREFS_PRICE_FIELD_BASE + k - 1), "every price shown comes back");
  save_main_prefs();
  fuzz_require(read_file_bytes(path) == saved, "a second save writes the same bytes");
  return 0;
}
