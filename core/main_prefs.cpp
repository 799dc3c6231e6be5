// The main settings file "settings/kestrova.prefs".
//
// Layout: the version line "2" + LF; the highest number N and the highest
// star M; N play states of numbers, M play states of stars; tickets to
// generate; the currency line; the jitter switch; the technique switch; the
// bet type (0-based); 40 price lines; the language. Integers are 4 bytes,
// signed, little-endian; text lines are UTF-8 ending in one LF. Nothing else
// frames the data, so reader and writer must keep exactly this order.
#include <algorithm>

#include "core/core.h"
#include "core/files.h"
#include "core/settings_file.h"
#include "core/text.h"
#include "draws/selection.h"
#include "ui/ui.h"

namespace {

constexpr int64_t MAX_HIGHEST_NUMBER = 50;  // the play-state tables hold 51 and 13 slots
constexpr int64_t MAX_HIGHEST_STAR = 12;

// The game's size from a stored count. The writer always stores the whole
// table (50 numbers, 12 stars), so a count below 1, which only a damaged file
// holds (bytes missing at its end read 0), means the whole table as well; a
// count above the table is cut to it.
int64_t game_size_from(int64_t stored, int64_t table) {
  return stored < 1 ? table : std::min(stored, table);
}

std::string main_prefs_path() { return g_program_dir + "settings/kestrova.prefs"; }

}  // namespace

int64_t load_main_prefs() {
  std::string path = main_prefs_path();
  // The program writes well under this; an edited file that is larger is read
  // as far as this and ends there.
  constexpr size_t kLargestRead = 1 << 20;
  SettingsReader r;
  if (!open_settings_file(path, kLargestRead, r)) return 0;
  if (read_settings_line(r) != g_main_prefs_version) return 0;

  // Every other table of the program is already sized for 50 numbers and 12
  // stars, so the game never grows beyond them. The file still holds as many
  // play states as it says (none for a count below 1), and all of them are
  // stepped over, so the fields after them are read from the right place.
  int64_t numbers = read_settings_int(r);
  int64_t stars = read_settings_int(r);
  g_highest_number = game_size_from(numbers, MAX_HIGHEST_NUMBER);
  g_highest_star = game_size_from(stars, MAX_HIGHEST_STAR);
  int64_t kept = std::min<int64_t>(numbers, static_cast<int64_t>(g_number_play_state.size()) - 1);
  for (int64_t n = 1; n <= kept; ++n) g_number_play_state[n] = read_settings_int(r);
  skip_settings_ints(r, numbers - std::max<int64_t>(kept, 0));
  kept = std::min<int64_t>(stars, static_cast<int64_t>(g_star_play_state.size()) - 1);
  for (int64_t s = 1; s <= kept; ++s) g_star_play_state[s] = read_settings_int(r);
  skip_settings_ints(r, stars - std::max<int64_t>(kept, 0));
  // Play states are kept as stored: the Preferences tab shows a state outside
  // 0..2 in black and counts it neither as played nor as fixed.

  g_draws_to_generate = std::clamp<int64_t>(read_settings_int(r), 1, MAX_DRAWS_TO_GENERATE);
  g_currency = valid_utf8(read_settings_line(r));
  g_neighbour_jitter = std::clamp<int64_t>(read_settings_int(r), 0, 1);
  g_use_special_techniques = std::clamp<int64_t>(read_settings_int(r), 0, 1);
  g_bet_type_index = std::clamp<int64_t>(read_settings_int(r), 0, BET_TYPE_COUNT - 1);
  if (g_prices.size() < BET_TYPE_COUNT + 1) g_prices.resize(BET_TYPE_COUNT + 1);
  for (int k = 1; k <= BET_TYPE_COUNT; ++k) g_prices[k] = valid_utf8(read_settings_line(r));
  int64_t language = read_settings_int(r);
  // Any other value would turn every caption into question marks.
  g_language = (language == 1 || language == 2) ? language : g_build_language;
  return 1;
}

int64_t save_main_prefs() {
  std::string out;
  append_settings_line(out, g_main_prefs_version);
  append_settings_int(out, g_highest_number);
  append_settings_int(out, g_highest_star);
  int64_t numbers = std::min<int64_t>(g_highest_number, static_cast<int64_t>(g_number_play_state.size()) - 1);
  for (int64_t n = 1; n <= numbers; ++n) append_settings_int(out, g_number_play_state[n]);
  int64_t stars = std::min<int64_t>(g_highest_star, static_cast<int64_t>(g_star_play_state.size()) - 1);
  for (int64_t s = 1; s <= stars; ++s) append_settings_int(out, g_star_play_state[s]);
  append_settings_int(out, g_draws_to_generate);
  append_settings_line(out, g_currency);
  append_settings_int(out, g_neighbour_jitter);
  append_settings_int(out, g_use_special_techniques);
  append_settings_int(out, g_bet_type_index);
  // The prices exactly as typed, valid or not; without the tab, the ones last
  // loaded.
  for (int k = 0; k < BET_TYPE_COUNT; ++k) {
    int field = PREFS_PRICE_FIELD_BASE + k;
    if (ui_gadget_exists(field)) append_settings_line(out, ui_text(field));
    else append_settings_line(out, static_cast<size_t>(k + 1) < g_prices.size() ? g_prices[k + 1] : "");
  }
  append_settings_int(out, g_language);
  // Nothing is reported: a file that cannot be written leaves the old one.
  write_file_atomically(main_prefs_path(), out);
  return 1;
}
