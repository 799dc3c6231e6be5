// The Preferences tab: the pool of numbers and stars with their play states,
// random selection, the selection summary, the bet types with their prices,
// the cost of a set of tickets, the technique option and the language.
#include "draws/selection.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/core.h"
#include "core/ids.h"
#include "core/random.h"
#include "core/text.h"
#include "draws/draws.h"
#include "draws/main_tab_ids.h"
#include "ui/ui.h"

namespace {

constexpr int64_t COLOUR_YELLOW = 0x00FFFF;                  // RGB(255, 255, 0): played
constexpr int64_t COLOUR_PINK = 255 + 256 * 174 + 65536 * 201;  // RGB(255, 174, 201): fixed
constexpr int64_t COLOUR_BLACK = 0;                          // a state the program never sets
constexpr int64_t COLOUR_RED = 255;

// A price is a number from 2.5 to 10000, with "." before its decimals.
constexpr float PRICE_MIN = 2.5f;
constexpr float PRICE_MAX = 10000.0f;

void mark_price_field(int index) {
  validate_number_field(PREFS_PRICE_FIELD_BASE + index, PRICE_MIN, PRICE_MAX, 1, 0);
}

constexpr int POOL_BUTTON_SIZE = 40;
constexpr int POOL_STEP = 48;
constexpr int POOL_Y = 25;

// The two pools of the tab, numbers and stars, which every action walks in
// that order. Value v has button button_base + v, `columns` to a row from
// (x, POOL_Y); the values up to the game's highest that have a play-state
// slot are live, the other buttons stand for nothing in this game.
struct Pool {
  std::vector<int64_t>* states;
  const int64_t* highest;
  int buttons;
  int button_base;
  int x;
  int columns;
  int random_spin;  // "Gamble with:": how many values a random selection plays
  int64_t* played_count;
  int64_t* fixed_count;
  int summary;        // "Σ⚫:50→Play(50) Fixed(00)"
  const char* sign;   // its first characters
  int removed;        // "Removed:" and the count of values not played
};
const Pool NUMBER_POOL = {.states = &g_number_play_state,
                          .highest = &g_highest_number,
                          .buttons = PREFS_NUMBER_BUTTONS,
                          .button_base = PREFS_NUMBER_BUTTON_BASE,
                          .x = 15,
                          .columns = 6,
                          .random_spin = PREFS_RANDOM_NUMBERS_SPIN,
                          .played_count = &g_played_number_count,
                          .fixed_count = &g_fixed_number_count,
                          .summary = PREFS_NUMBERS_SUMMARY,
                          .sign = "Σ⚫:",
                          .removed = PREFS_NUMBERS_REMOVED};
const Pool STAR_POOL = {.states = &g_star_play_state,
                        .highest = &g_highest_star,
                        .buttons = PREFS_STAR_BUTTONS,
                        .button_base = PREFS_STAR_BUTTON_BASE,
                        .x = 347,
                        .columns = 3,
                        .random_spin = PREFS_RANDOM_STARS_SPIN,
                        .played_count = &g_played_star_count,
                        .fixed_count = &g_fixed_star_count,
                        .summary = PREFS_STARS_SUMMARY,
                        .sign = "Σ★:",
                        .removed = PREFS_STARS_REMOVED};
const Pool* const POOLS[] = {&NUMBER_POOL, &STAR_POOL};

struct BetType {
  const char* label;          // numbers "N + " stars "S"
  const char* default_price;  // 2.5 x C(numbers, 5) x C(stars, 2), as written
};

// The order is the order of the bet-type list, the price labels and fields,
// and of the prices in the main settings file.
const BetType BET_TYPES[BET_TYPE_COUNT] = {
    {"5N + 2S", "2.5"},     {"5N + 3S", "7.5"},     {"5N + 4S", "15"},       {"5N + 5S", "25"},
    {"5N + 6S", "37.5"},    {"5N + 7S", "52.5"},    {"5N + 8S", "70"},       {"5N + 9S", "90"},
    {"5N + 10S", "112.5"},  {"5N + 11S", "137.5"},  {"5N + 12S", "165"},     {"6N + 2S", "15"},
    {"6N + 3S", "45"},      {"6N + 4S", "90"},      {"6N + 5S", "150"},      {"6N + 6S", "225"},
    {"6N + 7S", "315"},     {"6N + 8S", "420"},     {"6N + 9S", "540"},      {"6N + 10S", "675"},
    {"6N + 11S", "825"},    {"6N + 12S", "990"},    {"7N + 2S", "52.5"},     {"7N + 3S", "157.5"},
    {"7N + 4S", "315"},     {"7N + 5S", "525"},     {"7N + 6S", "787.5"},    {"7N + 7S", "1102.5"},
    {"7N + 8S", "1470"},    {"7N + 9S", "1890"},    {"8N + 2S", "140"},      {"8N + 3S", "420"},
    {"8N + 4S", "840"},     {"8N + 5S", "1400"},    {"9N + 2S", "315"},      {"9N + 3S", "945"},
    {"9N + 4S", "1890"},    {"10N + 2S", "630"},    {"10N + 3S", "1890"},    {"11N + 2S", "1155"},
};

// Values of the pool that exist in this game and have a play-state slot.
int64_t live_values(const Pool& pool) {
  int64_t slots = static_cast<int64_t>(pool.states->size()) - 1;
  return std::clamp<int64_t>(std::min(*pool.highest, slots), 0, pool.buttons);
}

int64_t face_colour(int64_t state) {
  switch (state) {
    case 0: return UI_DEFAULT_COLOUR;  // the system button face
    case 1: return COLOUR_YELLOW;
    case 2: return COLOUR_PINK;
    default: return COLOUR_BLACK;
  }
}

void button_place(const Pool& pool, int64_t v, int& x, int& y) {
  x = pool.x + POOL_STEP * static_cast<int>((v - 1) % pool.columns);
  y = POOL_Y + POOL_STEP * static_cast<int>((v - 1) / pool.columns);
}

// Draws into the current container; the callers open tab 1 first.
void draw_pool_button_here(const Pool& pool, int64_t v) {
  if (v < 1 || v > live_values(pool)) return;
  int x, y;
  button_place(pool, v, x, y);
  create_colored_button(pool.button_base + v, x, y, POOL_BUTTON_SIZE, POOL_BUTTON_SIZE, str_int(v),
                        face_colour((*pool.states)[v]), UI_DEFAULT_FONT);
}

void open_preferences_tab() { ui_open_gadget_list(GADGET_PANEL, TAB_PREFERENCES); }

void draw_pool_button(const Pool& pool, int64_t v) {
  open_preferences_tab();
  draw_pool_button_here(pool, v);
  ui_close_gadget_list();
}

// The star letter of the current language: "S", or "E" in Portuguese.
std::string star_letter() { return translate("S"); }

// A bet type's label as shown: the star letter of the current language.
std::string shown_bet_label(int index) {
  return replace_string(BET_TYPES[index].label, "S", star_letter());
}

// The integer value of a spin's text, as the player sees it.
int64_t spin_text_value(int gadget) { return val_int(ui_text(gadget)); }

// One step round 0 -> 1 -> 2 -> 0; a state outside the cycle stays.
int64_t next_play_state(int64_t state) {
  if (state < 0 || state > 2) return state;
  return (state + 1) % 3;
}

void cycle_play_state(const Pool& pool, int64_t v) {
  if (v < 1 || v > live_values(pool)) return;
  (*pool.states)[v] = next_play_state((*pool.states)[v]);
  draw_pool_button(pool, v);
  update_selection_counts();
}

// Sets every live value of the pool whose state differs to `state`,
// redrawing only the buttons that change.
void set_pool_states(const Pool& pool, int64_t state) {
  std::vector<int64_t>& states = *pool.states;
  for (int64_t v = 1; v <= live_values(pool); ++v) {
    if (states[v] == state) continue;
    states[v] = state;
    draw_pool_button_here(pool, v);
  }
}

void set_every_play_state(int64_t state) {
  open_preferences_tab();
  for (const Pool* pool : POOLS) set_pool_states(*pool, state);
  ui_close_gadget_list();
  update_selection_counts();
}

void invert_selection() {
  open_preferences_tab();
  for (const Pool* pool : POOLS) {
    std::vector<int64_t>& states = *pool->states;
    for (int64_t v = 1; v <= live_values(*pool); ++v) {
      states[v] = states[v] == 0 ? 1 : 0;
      draw_pool_button_here(*pool, v);
    }
  }
  ui_close_gadget_list();
  update_selection_counts();
}

// Plays the pool's spin count of values chosen at random among its live
// values, all of them having been set to 0. The spin is read again before
// every pick. A count above what exists plays every value: once none is left
// to pick, the loop stops, so it always ends.
void play_random_values(const Pool& pool) {
  std::vector<int64_t>& states = *pool.states;
  const int64_t count = live_values(pool);
  for (int64_t i = 1; i <= count; ++i) {
    if (spin_text_value(pool.random_spin) < i) break;
    int64_t pick;
    do pick = random_between(1, count);
    while (states[pick] != 0);
    states[pick] = 1;
    draw_pool_button_here(pool, pick);
  }
}

void select_at_random() {
  seed_random(static_cast<uint32_t>(ui_milliseconds()));
  open_preferences_tab();
  // Fixed marks are discarded as well; the numbers are picked before the stars.
  for (const Pool* pool : POOLS) set_pool_states(*pool, 0);
  for (const Pool* pool : POOLS) play_random_values(*pool);
  ui_close_gadget_list();
  update_selection_counts();
}

void choose_language(int64_t language) {
  if (language == g_language) return;
  g_language = language;
  // The toolkit's own texts follow for the dialogs and menus it makes next.
  ui_set_toolkit_language(static_cast<int>(g_language));
  ui_set_state(PREFS_ENGLISH_OPTION, 0);
  ui_set_state(PREFS_PORTUGUESE_OPTION, 0);
  ui_set_state(PREFS_LANGUAGE_FRAME + static_cast<int>(g_language), 1);
  ui_set_colour(PREFS_RESTART_NOTE, UI_FRONT, COLOUR_RED);
  ui_set_text(PREFS_RESTART_NOTE, translate("* Requires 'Save Prefs' & restart the app."));
  fit_gadget_to_content(PREFS_RESTART_NOTE);
}

void show_draws_on_main_tab() {
  if (!ui_gadget_exists(GADGET_DRAWS_LABEL)) return;
  set_text_if_changed(GADGET_DRAWS_LABEL,
                      translate("Draws:") + format_number(static_cast<double>(g_draw_count), 0) + "/" +
                          format_number(static_cast<double>(g_draws_to_generate), 0));
}

// "Σ⚫:50→Play(50) Fixed(00)": chosen, played and fixed, two digits each.
std::string pool_summary(const std::string& sign, int64_t played, int64_t fixed) {
  return sign + two_digits(played + fixed) + translate("→Play(") + two_digits(played) +
         translate(") Fixed(") + two_digits(fixed) + ")";
}

// ---- building the tab --------------------------------------------------------

void build_pool() {
  ui_frame(PREFS_POOL_FRAME, 5, 5, 540, 574, translate("Numbers/Stars to play with"));
  for (const Pool* pool : POOLS) {
    for (int64_t v = 1; v <= pool->buttons; ++v) {
      if (v <= live_values(*pool)) {
        draw_pool_button_here(*pool, v);
        continue;
      }
      int x, y;
      button_place(*pool, v, x, y);
      int gadget = pool->button_base + static_cast<int>(v);
      ui_button(gadget, x, y, POOL_BUTTON_SIZE, POOL_BUTTON_SIZE, str_int(v));
      ui_disable(gadget, true);
    }
  }

  const int th = static_cast<int>(g_text_height);
  ui_label(PREFS_NUMBERS_SUMMARY, 347, 280, 185, th, "");
  ui_label(PREFS_NUMBERS_REMOVED, 372, 302, 165, th, "");
  ui_label(PREFS_STARS_SUMMARY, 347, 324, 185, th, "");
  ui_label(PREFS_STARS_REMOVED, 374, 346, 165, th, "");
  update_selection_counts();

  const int sh = static_cast<int>(g_spinner_height);
  const int bh = static_cast<int>(g_button_height);
  ui_frame(PREFS_GAMBLE_WITH_FRAME, 347, 372, 190, 113, translate("Gamble with:"));
  ui_label(PREFS_NUMBER_SIGN, 357, 397 + (sh - th) / 2, 18, th, "⚫");
  ui_spin(PREFS_RANDOM_NUMBERS_SPIN, 377, 397, 60, sh, std::min<int64_t>(5, g_highest_number),
          g_highest_number, UI_SPIN_NUMERIC);
  set_spin_value(PREFS_RANDOM_NUMBERS_SPIN, 40);
  ui_label(PREFS_STAR_SIGN, 357, 439 + (sh - th) / 2, 18, th, "★");
  ui_spin(PREFS_RANDOM_STARS_SPIN, 377, 439, 60, sh, std::min<int64_t>(2, g_highest_star),
          g_highest_star, UI_SPIN_NUMERIC);
  set_spin_value(PREFS_RANDOM_STARS_SPIN, 10);
  ui_button(PREFS_RANDOM_BUTTON, 443, 397, 90, bh, translate("Update"));
  ui_button(PREFS_INVERT_BUTTON, 443, 439, 90, bh, translate("Invert"));

  ui_frame(PREFS_LEGEND_FRAME, 15, 467, 280, 42, "");
  const int legend_y = 467 + (42 - 17) / 2 + 3;
  ui_image_gadget(PREFS_LEGEND_DONT_PLAY_IMAGE, 20, legend_y, 27, 17, IMAGE_SWATCH_DONT_PLAY);
  ui_label(PREFS_LEGEND_DONT_PLAY, 51, legend_y, 68, th, translate("Don't play"));
  ui_image_gadget(PREFS_LEGEND_PLAY_IMAGE, 120, legend_y, 27, 17, IMAGE_SWATCH_PLAY);
  ui_label(PREFS_LEGEND_PLAY, 151, legend_y, 68, th, translate("Play"));
  ui_image_gadget(PREFS_LEGEND_FIXED_IMAGE, 220, legend_y, 27, 17, IMAGE_SWATCH_FIXED);
  ui_label(PREFS_LEGEND_FIXED, 251, legend_y, 42, th, translate("Fixed"));
  ui_button(PREFS_ALL_BUTTON, 15, 517, 90, bh, translate("All"));
  ui_button(PREFS_NONE_BUTTON, 115, 517, 90, bh, translate("None"));
}

void build_prices() {
  const int fh = static_cast<int>(g_field_height);
  const int th = static_cast<int>(g_text_height);
  const int frame_x = 5 + 540 + 32;
  ui_frame(PREFS_PRICES_FRAME, frame_x, 5, 705, 347, translate("Prices"));
  for (int i = 0; i < BET_TYPE_COUNT; ++i) {
    int column = i / 8, row = i % 8;
    int x = frame_x + 10 + 140 * column;
    int y = 27 + 40 * row;
    ui_label(PREFS_PRICE_LABEL_BASE + i, x, y + (fh - th) / 2, 70, th, shown_bet_label(i) + ":",
             UI_LABEL_RIGHT);
    const std::string& saved = static_cast<size_t>(i + 1) < g_prices.size() ? g_prices[i + 1] : "";
    ui_text_field(PREFS_PRICE_FIELD_BASE + i, x + 72, y, 56, fh,
                  saved.empty() ? BET_TYPES[i].default_price : saved);
    // A saved price that is not one shows red from the start, as when typed.
    mark_price_field(i);
  }
}

void build_gamble() {
  const int fh = static_cast<int>(g_field_height);
  const int th = static_cast<int>(g_text_height);
  const int sh = static_cast<int>(g_spinner_height);
  const int dh = static_cast<int>(g_drop_down_height);
  const int frame_x = 5 + 540 + 32, frame_y = 360;
  const int caption_x = frame_x + 10, control_x = caption_x + 115 + 5;
  ui_frame(PREFS_GAMBLE_FRAME, frame_x, frame_y, 450, 213, translate("Gamble"));

  int y = frame_y + 25;
  ui_label(PREFS_DRAWS_CAPTION, caption_x, y + (sh - th) / 2, 115, th, translate("Number Draws:"),
           UI_LABEL_RIGHT);
  ui_spin(PREFS_DRAWS_SPIN, control_x, y, 120, sh, 1, MAX_DRAWS_TO_GENERATE, UI_SPIN_NUMERIC);
  set_spin_value(PREFS_DRAWS_SPIN, g_draws_to_generate);
  ui_label(PREFS_CURRENCY_CAPTION, control_x + 125, y + (fh - th) / 2, 85, th, translate("Currency:"),
           UI_LABEL_RIGHT);
  ui_text_field(PREFS_CURRENCY_FIELD, control_x + 215, y, 50, fh, g_currency);

  y += sh + 8;
  ui_label(PREFS_COST_CAPTION, caption_x, y, 115, th, translate("Cost:"), UI_LABEL_RIGHT);
  ui_label(PREFS_COST_LABEL, control_x, y, 300, th, "2.50 " + g_currency);

  y += th + 10;
  ui_label(PREFS_POSSIBLE_CAPTION, caption_x, y, 115, th, translate("Possible Draws:"), UI_LABEL_RIGHT);
  ui_label(PREFS_POSSIBLE_LABEL, control_x, y, 300, th, "200000000/2000000000");
  update_possible_draws_label();

  y += th + 10;
  ui_label(PREFS_BET_TYPE_CAPTION, caption_x, y + (dh - th) / 2, 115, th, translate("Multiples:"),
           UI_LABEL_RIGHT);
  ui_combo(PREFS_BET_TYPE_LIST, control_x, y, 272, dh);
  for (int i = 0; i < BET_TYPE_COUNT; ++i) ui_add_item(PREFS_BET_TYPE_LIST, -1, shown_bet_label(i));
  ui_set_state(PREFS_BET_TYPE_LIST, std::clamp<int64_t>(g_bet_type_index, 0, BET_TYPE_COUNT - 1));

  y += dh + 8;
  ui_check_box(PREFS_SPECIAL_TECHNIQUES, caption_x + 10, y, 425, static_cast<int>(g_radio_size),
               translate("Use special techniques for simple draws (Information Theory)"));
  ui_set_state(PREFS_SPECIAL_TECHNIQUES, g_use_special_techniques == 1 ? 1 : 0);

  update_cost_label();
  refresh_bet_type_prices();
}

void build_language() {
  const int th = static_cast<int>(g_text_height);
  const int radio = static_cast<int>(g_radio_size);
  const int frame_x = 5 + 540 + 32 + 450 + 10, frame_y = 360;
  ui_frame(PREFS_LANGUAGE_FRAME, frame_x, frame_y, 245, 155, "Language/Idioma");
  // The two options are made one after the other so that they form a group.
  const int row1 = frame_y + 25, row2 = frame_y + 67;
  ui_option(PREFS_ENGLISH_OPTION, frame_x + 12, row1 + (34 - radio) / 2, radio, radio, "");
  ui_option(PREFS_PORTUGUESE_OPTION, frame_x + 12, row2 + (34 - radio) / 2, radio, radio, "");
  ui_image_gadget(PREFS_ENGLISH_FLAG, frame_x + 42, row1, 56, 34, IMAGE_FLAG_UK);
  ui_image_gadget(PREFS_PORTUGUESE_FLAG, frame_x + 42, row2, 56, 34, IMAGE_FLAG_PORTUGAL);
  ui_label(PREFS_ENGLISH_LABEL, frame_x + 106, row1 + (34 - th) / 2, 120, th, "English");
  ui_label(PREFS_PORTUGUESE_LABEL, frame_x + 106, row2 + (34 - th) / 2, 120, th, "Português");
  if (g_language == 1 || g_language == 2)
    ui_set_state(PREFS_LANGUAGE_FRAME + static_cast<int>(g_language), 1);
  ui_label(PREFS_RESTART_NOTE, frame_x + 8, frame_y + 155 - 30, 232, th,
           translate("* Requires 'Save Prefs' & restart the app."));
  ui_set_gadget_font(PREFS_RESTART_NOTE, FONT_SMALL);

  // Its foot 5 units above the foot of the "Gamble" frame.
  ui_button(PREFS_SAVE_BUTTON, frame_x, 360 + 213 - 5 - 41, 116, 41, "Save Prefs");
}

}  // namespace

// ---- shared with the other tabs ----------------------------------------------

void draw_number_button(int64_t n) { draw_pool_button(NUMBER_POOL, n); }

void draw_star_button(int64_t s) { draw_pool_button(STAR_POOL, s); }

float bet_type_price(int64_t index) {
  if (index < 0 || index >= BET_TYPE_COUNT) return 0.0f;
  return val_float(ui_text(PREFS_PRICE_FIELD_BASE + static_cast<int>(index)));
}

int64_t bet_type_price_is_valid(int64_t index) {
  if (index < 0 || index >= BET_TYPE_COUNT) return 0;
  return number_text_in_range(ui_text(PREFS_PRICE_FIELD_BASE + static_cast<int>(index)), PRICE_MIN,
                              PRICE_MAX, 1);
}

std::string invalid_price_message(int64_t index) {
  return translate("The price of") + " " + shown_bet_label(static_cast<int>(index)) + " " +
         translate("must be in the range 2.5:") + "10000";
}

float tickets_cost(int64_t count) {
  return static_cast<float>(count) * bet_type_price(ui_state(PREFS_BET_TYPE_LIST));
}

// ---- counts and combinations -------------------------------------------------

double factorial(int64_t n) {
  // 171! is beyond a double; the loop would only multiply infinities.
  if (n > 170) return INFINITY;
  double f = 1.0;
  for (int64_t i = 2; i <= n; ++i) f *= static_cast<double>(i);
  return f;
}

int64_t combinations(int64_t n, int64_t k) {
  if (n < 0 || k < 0 || k > n) return 0;
  double c;
  if (n <= 170) {
    c = factorial(n) / (factorial(k) * factorial(n - k));
  } else {
    // Beyond the factorials' range: the product form, over the smaller side.
    int64_t m = std::min(k, n - k);
    c = 1.0;
    for (int64_t i = 1; i <= m && std::isfinite(c); ++i)
      c = c * static_cast<double>(n - m + i) / static_cast<double>(i);
  }
  c = std::round(c);  // halves away from zero
  if (!(c < 9223372036854775807.0)) return INT64_MAX;
  return static_cast<int64_t>(c);
}

void update_selection_counts() {
  for (const Pool* pool : POOLS) {
    const std::vector<int64_t>& states = *pool->states;
    int64_t played = 0, fixed = 0;
    for (int64_t v = 1; v <= live_values(*pool); ++v) {
      if (states[v] == 1) ++played;
      else if (states[v] == 2) ++fixed;
    }
    *pool->played_count = played;
    *pool->fixed_count = fixed;
    set_text_if_changed(pool->summary, pool_summary(pool->sign, played, fixed));
  }
  for (const Pool* pool : POOLS) {
    const int64_t removed = *pool->highest - *pool->played_count - *pool->fixed_count;
    set_text_if_changed(pool->removed, translate("Removed:") + str_int(removed));
  }
  update_possible_draws_label();
}

void update_possible_draws_label() {
  if (!ui_gadget_exists(PREFS_POSSIBLE_LABEL)) return;
  // Only played values make up the pool: fixed ones are in every ticket.
  double possible = static_cast<double>(combinations(g_played_number_count, g_numbers_per_draw)) *
                    static_cast<double>(combinations(g_played_star_count, g_stars_per_draw));
  std::string a = format_number(possible, 0);
  if (a == "0" || g_played_number_count < 5 || g_played_star_count < 2) a = "N/A";
  double total = static_cast<double>(combinations(g_highest_number, 5)) *
                 static_cast<double>(combinations(g_highest_star, 2));
  std::string text = a + "/" + format_number(total, 0) + " (⚫" +
                     str_int(g_played_number_count + g_fixed_number_count) + ",F:" +
                     str_int(g_fixed_number_count) + " ★" +
                     str_int(g_played_star_count + g_fixed_star_count) + ",F:" +
                     str_int(g_fixed_star_count) + ")";
  if (ui_text(PREFS_POSSIBLE_LABEL) == text) return;
  ui_set_text(PREFS_POSSIBLE_LABEL, text);
  fit_gadget_to_content(PREFS_POSSIBLE_LABEL);
}

// ---- prices and cost ---------------------------------------------------------

// A price field that does not hold a price (red) gives no amount: the cost
// label and its bet type's entry show no number rather than one read from
// the start of the text ("2,5" read as 2).
void update_cost_label() {
  std::string text;
  if (bet_type_price_is_valid(ui_state(PREFS_BET_TYPE_LIST)) == 1)
    text = format_number(tickets_cost(spin_text_value(PREFS_DRAWS_SPIN)), 2) + " " + g_currency;
  set_text_if_changed(PREFS_COST_LABEL, text);
}

void refresh_bet_type_prices() {
  // Each entry keeps its text up to the first star letter of the current
  // language; the generator reads the ticket size back from that front part.
  const std::string star = star_letter();
  int entries = std::min(ui_count_items(PREFS_BET_TYPE_LIST), BET_TYPE_COUNT);
  for (int i = 0; i < entries; ++i) {
    std::string entry = ui_item_text(PREFS_BET_TYPE_LIST, i);
    size_t cut = star.empty() ? std::string::npos : entry.find(star);
    std::string text = (cut == std::string::npos ? entry : entry.substr(0, cut)) + star;
    if (bet_type_price_is_valid(i) == 1)
      text += " — " + format_number(bet_type_price(i), 2) + " " + g_currency;
    if (text != entry) ui_set_item_text(PREFS_BET_TYPE_LIST, i, text);
  }
}

// ---- the tab and its events --------------------------------------------------

void build_preferences_tab() {
  build_pool();
  build_prices();
  build_gamble();
  build_language();
}

void handle_preferences_fields(int64_t gadget, int64_t type) {
  if (gadget == PREFS_RANDOM_NUMBERS_SPIN) {
    validate_number_field(gadget, 1, static_cast<float>(g_highest_number), 0, 0);
  } else if (gadget == PREFS_RANDOM_STARS_SPIN) {
    validate_number_field(gadget, 1, static_cast<float>(g_highest_star), 0, 0);
  } else if (gadget == PREFS_SAVE_BUTTON) {
    save_main_prefs();
  } else if (gadget == PREFS_SPECIAL_TECHNIQUES) {
    g_use_special_techniques = ui_state(PREFS_SPECIAL_TECHNIQUES) != 0 ? 1 : 0;
  } else if (gadget >= PREFS_PRICE_FIELD_BASE && gadget < PREFS_PRICE_FIELD_BASE + BET_TYPE_COUNT) {
    mark_price_field(static_cast<int>(gadget - PREFS_PRICE_FIELD_BASE));
    if (type == UI_TYPE_CHANGE) {
      refresh_bet_type_prices();
      if (spin_text_value(PREFS_DRAWS_SPIN) > 0) update_cost_label();
    }
  } else if (gadget == PREFS_CURRENCY_FIELD) {
    mark_empty_field(PREFS_CURRENCY_FIELD);
    g_currency = ui_text(PREFS_CURRENCY_FIELD);
    update_cost_label();
  } else if (gadget == PREFS_DRAWS_SPIN) {
    int64_t value = validate_number_field(gadget, 1, static_cast<float>(MAX_DRAWS_TO_GENERATE), 0, 0);
    if (type == UI_TYPE_CHANGE && value > 0) {
      g_draws_to_generate = value;
      show_draws_on_main_tab();
      update_cost_label();
    }
  } else if (gadget == PREFS_BET_TYPE_LIST) {
    if (type == UI_TYPE_CHANGE) {
      update_cost_label();
      g_bet_type_index = ui_state(PREFS_BET_TYPE_LIST);
    }
  }
}

void handle_selection_tab_event(int64_t event, int64_t gadget) {
  if (event != UI_EVENT_GADGET) return;
  for (const Pool* pool : POOLS) {
    if (gadget > pool->button_base && gadget <= pool->button_base + pool->buttons) {
      cycle_play_state(*pool, gadget - pool->button_base);
      return;
    }
  }
  if (gadget == PREFS_RANDOM_BUTTON) {
    select_at_random();
  } else if (gadget == PREFS_INVERT_BUTTON) {
    invert_selection();
  } else if (gadget == PREFS_ALL_BUTTON) {
    set_every_play_state(1);
  } else if (gadget == PREFS_NONE_BUTTON) {
    set_every_play_state(0);
  } else if (gadget == PREFS_ENGLISH_OPTION || gadget == PREFS_PORTUGUESE_OPTION) {
    choose_language(gadget - PREFS_LANGUAGE_FRAME);
  }
}
