// The Preferences tab: play states and their colours, random selection,
// invert, the summary labels, combinations, prices, cost and the bet-type
// list, the language options.
#include <gtest/gtest.h>

#include "core/text.h"
#include "support/preferences_tab.h"
#include "support/test_support.h"

namespace {

constexpr int64_t YELLOW = 0x00FFFF;
constexpr int64_t PINK = 255 + 256 * 174 + 65536 * 201;
constexpr int64_t BLACK = 0;
constexpr int64_t RED = 255;

int number_button(int n) { return PREFS_NUMBER_BUTTON_BASE + n; }
int star_button(int s) { return PREFS_STAR_BUTTON_BASE + s; }

class PreferencesTab : public ::testing::Test {
 protected:
  void SetUp() override {
    enter_fresh_directory();
    start_preferences_tab();
  }
};

int count_numbers_in_state(int64_t state) {
  int k = 0;
  for (int n = 1; n <= 50; ++n) k += g_number_play_state[n] == state;
  return k;
}

int count_stars_in_state(int64_t state) {
  int k = 0;
  for (int s = 1; s <= 12; ++s) k += g_star_play_state[s] == state;
  return k;
}

bool is_system_face(int64_t colour) {
  return colour != YELLOW && colour != PINK && colour != BLACK && colour != -1;
}

}  // namespace

TEST_F(PreferencesTab, ThreeClicksOnAPlayedNumberPassThroughFixedAndNotPlayed) {
  EXPECT_EQ(button_face(number_button(7)), YELLOW);
  EXPECT_EQ(ui_text(PREFS_NUMBERS_SUMMARY), "Σ⚫:50→Play(50) Fixed(00)");
  EXPECT_EQ(ui_text(PREFS_NUMBERS_REMOVED), "Removed:0");

  click(number_button(7));
  EXPECT_EQ(g_number_play_state[7], 2);
  EXPECT_EQ(button_face(number_button(7)), PINK);
  EXPECT_EQ(ui_text(PREFS_NUMBERS_SUMMARY), "Σ⚫:50→Play(49) Fixed(01)");
  EXPECT_EQ(ui_text(PREFS_POSSIBLE_LABEL), "125,854,344/139,838,160 (⚫50,F:1 ★12,F:0)");

  click(number_button(7));
  EXPECT_EQ(g_number_play_state[7], 0);
  EXPECT_TRUE(is_system_face(button_face(number_button(7))));
  EXPECT_EQ(ui_text(PREFS_NUMBERS_SUMMARY), "Σ⚫:49→Play(49) Fixed(00)");
  EXPECT_EQ(ui_text(PREFS_NUMBERS_REMOVED), "Removed:1");

  click(number_button(7));
  EXPECT_EQ(g_number_play_state[7], 1);
  EXPECT_EQ(button_face(number_button(7)), YELLOW);
  EXPECT_EQ(ui_text(PREFS_NUMBERS_SUMMARY), "Σ⚫:50→Play(50) Fixed(00)");
  EXPECT_EQ(ui_text(PREFS_NUMBERS_REMOVED), "Removed:0");

  // Stars follow the same cycle with their own labels.
  click(star_button(12));
  EXPECT_EQ(button_face(star_button(12)), PINK);
  EXPECT_EQ(ui_text(PREFS_STARS_SUMMARY), "Σ★:12→Play(11) Fixed(01)");
  click(star_button(12));
  EXPECT_EQ(ui_text(PREFS_STARS_SUMMARY), "Σ★:11→Play(11) Fixed(00)");
  EXPECT_EQ(ui_text(PREFS_STARS_REMOVED), "Removed:1");
  EXPECT_EQ(g_played_star_count, 11);
  EXPECT_EQ(g_fixed_star_count, 0);
}

TEST_F(PreferencesTab, ValuesBeyondTheGameArePlainDisabledButtons) {
  for (int n = 51; n <= 54; ++n) {
    EXPECT_TRUE(ui_disabled(number_button(n))) << n;
    EXPECT_EQ(ui_text(number_button(n)), str_int(n));
  }
  for (int s = 13; s <= 15; ++s) EXPECT_TRUE(ui_disabled(star_button(s))) << s;
  EXPECT_FALSE(ui_disabled(number_button(50)));
  EXPECT_FALSE(ui_disabled(star_button(12)));
}

TEST(PreferencesTabStates, AStateOutsideTheCycleIsBlackAndStaysOnClick) {
  enter_fresh_directory();
  ui_test_reset();
  init_game_state();
  g_number_play_state[3] = 7;
  g_star_play_state[2] = -1;
  // Built by hand here: start_preferences_tab would reset the states.
  ui_open_window(WINDOW_MAIN, 0, 0, 1366, 700, "Kestrova", UI_WINDOW_CAPTION);
  ui_panel(GADGET_PANEL, 10, 10, 1346, 626);
  for (int t = 0; t < 4; ++t) ui_add_panel_tab(GADGET_PANEL, "tab");
  ui_close_gadget_list();
  ui_open_gadget_list(GADGET_PANEL, TAB_PREFERENCES);
  build_preferences_tab();
  ui_close_gadget_list();
  ui_set_state(GADGET_PANEL, TAB_PREFERENCES);

  EXPECT_EQ(button_face(number_button(3)), BLACK);
  EXPECT_EQ(button_face(star_button(2)), BLACK);
  EXPECT_EQ(g_played_number_count, 49);  // neither played nor fixed
  EXPECT_EQ(ui_text(PREFS_NUMBERS_REMOVED), "Removed:1");
  click(number_button(3));
  EXPECT_EQ(g_number_play_state[3], 7);
  EXPECT_EQ(button_face(number_button(3)), BLACK);
  // Invert turns it into "not played"; All then plays it.
  click(PREFS_INVERT_BUTTON);
  EXPECT_EQ(g_number_play_state[3], 0);
  click(PREFS_ALL_BUTTON);
  EXPECT_EQ(g_number_play_state[3], 1);
  EXPECT_EQ(button_face(number_button(3)), YELLOW);
}

TEST_F(PreferencesTab, UpdatePlaysExactlyTheCountsOfTheSpinsAndDropsFixedMarks) {
  click(number_button(1));  // fixed
  click(star_button(1));    // fixed
  type_text(PREFS_RANDOM_NUMBERS_SPIN, "40");
  type_text(PREFS_RANDOM_STARS_SPIN, "10");
  click(PREFS_RANDOM_BUTTON);
  EXPECT_EQ(count_numbers_in_state(1), 40);
  EXPECT_EQ(count_numbers_in_state(0), 10);
  EXPECT_EQ(count_stars_in_state(1), 10);
  EXPECT_EQ(count_stars_in_state(0), 2);
  int yellow = 0;
  for (int n = 1; n <= 50; ++n) {
    int64_t face = button_face(number_button(n));
    EXPECT_EQ(face == YELLOW, g_number_play_state[n] == 1) << n;
    yellow += face == YELLOW;
  }
  EXPECT_EQ(yellow, 40);
  EXPECT_EQ(ui_text(PREFS_NUMBERS_SUMMARY), "Σ⚫:40→Play(40) Fixed(00)");
  EXPECT_EQ(ui_text(PREFS_STARS_SUMMARY), "Σ★:10→Play(10) Fixed(00)");
  // C(40, 5) x C(10, 2) = 658,008 x 45.
  EXPECT_EQ(ui_text(PREFS_POSSIBLE_LABEL), "29,610,360/139,838,160 (⚫40,F:0 ★10,F:0)");
}

TEST_F(PreferencesTab, UpdateWithCountsThatCannotBeMet) {
  struct Case {
    const char* numbers;
    const char* stars;
    int played_numbers;
    int played_stars;
  };
  // No digit reads 0: nothing is played. A count beyond the pool plays all
  // of it and stops.
  const Case cases[] = {{"0", "0", 0, 0}, {"", "", 0, 0}, {"abc", "-3", 0, 0},
                        {"60", "13", 50, 12}, {"2147483647", "99999999999", 50, 12},
                        {"50", "12", 50, 12}, {"5", "2", 5, 2}};
  for (const Case& c : cases) {
    type_text(PREFS_RANDOM_NUMBERS_SPIN, c.numbers);
    type_text(PREFS_RANDOM_STARS_SPIN, c.stars);
    click(PREFS_RANDOM_BUTTON);
    EXPECT_EQ(count_numbers_in_state(1), c.played_numbers) << c.numbers;
    EXPECT_EQ(count_numbers_in_state(0), 50 - c.played_numbers) << c.numbers;
    EXPECT_EQ(count_stars_in_state(1), c.played_stars) << c.stars;
  }
}

TEST_F(PreferencesTab, UpdateDrawsADifferentSelectionOnLaterPresses) {
  type_text(PREFS_RANDOM_NUMBERS_SPIN, "5");
  type_text(PREFS_RANDOM_STARS_SPIN, "2");
  std::vector<int64_t> first;
  bool differs = false;
  for (int round = 0; round < 20 && !differs; ++round) {
    click(PREFS_RANDOM_BUTTON);
    if (round == 0) first = g_number_play_state;
    else differs = g_number_play_state != first;
    ui_delay(2);  // the seed is the millisecond clock
  }
  EXPECT_TRUE(differs);
}

TEST_F(PreferencesTab, InvertAllAndNone) {
  for (int n : {2, 4, 6}) click(number_button(n));  // fixed
  for (int n : {10, 11, 12, 13, 14, 15, 16}) {      // not played
    click(number_button(n));
    click(number_button(n));
  }
  // Not played becomes played; played and fixed alike become not played.
  click(PREFS_INVERT_BUTTON);
  EXPECT_EQ(count_numbers_in_state(1), 7);
  EXPECT_EQ(count_numbers_in_state(0), 43);
  for (int n : {10, 13, 16}) EXPECT_EQ(g_number_play_state[n], 1) << n;
  for (int n : {1, 2, 4, 6, 9, 17, 50}) EXPECT_EQ(g_number_play_state[n], 0) << n;
  EXPECT_EQ(button_face(number_button(13)), YELLOW);
  EXPECT_TRUE(is_system_face(button_face(number_button(4))));
  EXPECT_TRUE(is_system_face(button_face(number_button(1))));
  EXPECT_EQ(count_stars_in_state(0), 12);  // the stars were all played
  EXPECT_EQ(ui_text(PREFS_NUMBERS_SUMMARY), "Σ⚫:07→Play(07) Fixed(00)");

  click(PREFS_ALL_BUTTON);
  EXPECT_EQ(count_numbers_in_state(1), 50);
  EXPECT_EQ(count_stars_in_state(1), 12);
  EXPECT_EQ(ui_text(PREFS_POSSIBLE_LABEL), "139,838,160/139,838,160 (⚫50,F:0 ★12,F:0)");

  click(PREFS_NONE_BUTTON);
  EXPECT_EQ(count_numbers_in_state(0), 50);
  EXPECT_EQ(count_stars_in_state(0), 12);
  EXPECT_TRUE(is_system_face(button_face(star_button(5))));
  EXPECT_EQ(ui_text(PREFS_STARS_REMOVED), "Removed:12");
  EXPECT_EQ(ui_text(PREFS_POSSIBLE_LABEL), "N/A/139,838,160 (⚫0,F:0 ★0,F:0)");
}

TEST_F(PreferencesTab, PossibleDrawsLabel) {
  EXPECT_EQ(ui_text(PREFS_POSSIBLE_LABEL), "139,838,160/139,838,160 (⚫50,F:0 ★12,F:0)");
  click(PREFS_NONE_BUTTON);
  click(PREFS_INVERT_BUTTON);  // every star played again, and every number
  for (int n = 5; n <= 50; ++n) {
    click(number_button(n));
    click(number_button(n));
  }
  EXPECT_EQ(ui_text(PREFS_POSSIBLE_LABEL), "N/A/139,838,160 (⚫4,F:0 ★12,F:0)");
  click(number_button(5));  // played: 5 numbers, C(5, 5) x C(12, 2)
  EXPECT_EQ(ui_text(PREFS_POSSIBLE_LABEL), "66/139,838,160 (⚫5,F:0 ★12,F:0)");
  // A fixed number joins the count but not the pool.
  click(number_button(5));
  EXPECT_EQ(g_fixed_number_count, 1);
  EXPECT_EQ(ui_text(PREFS_POSSIBLE_LABEL), "N/A/139,838,160 (⚫5,F:1 ★12,F:0)");
  click(number_button(5));
  click(number_button(5));

  // The pool is counted for the ticket size of the current draw list.
  g_numbers_per_draw = 6;
  update_possible_draws_label();
  EXPECT_EQ(ui_text(PREFS_POSSIBLE_LABEL), "N/A/139,838,160 (⚫5,F:0 ★12,F:0)");
}

TEST(Combinations, Table) {
  struct Case {
    int64_t n, k, expected;
  };
  const Case cases[] = {
      {50, 5, 2118760}, {12, 2, 66},  {40, 5, 658008}, {10, 2, 45},   {5, 5, 1},
      {5, 6, 0},        {0, 0, 1},    {1, 0, 1},       {50, 0, 1},    {50, 50, 1},
      {11, 5, 462},     {12, 12, 1},  {-1, 0, 0},      {3, -1, 0},    {-5, -2, 0},
      {170, 1, 170},    {171, 2, 14535}, {1000000, 1, 1000000}, {50, 12, 121399651100},
  };
  for (const Case& c : cases) EXPECT_EQ(combinations(c.n, c.k), c.expected) << c.n << " " << c.k;
  // Far beyond an int64_t: saturated, not wrapped or undefined.
  EXPECT_EQ(combinations(1000, 500), INT64_MAX);

  EXPECT_EQ(factorial(0), 1.0);
  EXPECT_EQ(factorial(1), 1.0);
  EXPECT_EQ(factorial(5), 120.0);
  EXPECT_EQ(factorial(20), 2432902008176640000.0);
}

TEST_F(PreferencesTab, CostIsA32BitProductOfCountAndPrice) {
  EXPECT_EQ(ui_text(PREFS_COST_LABEL), "2.50 EUR");
  type_text(PREFS_DRAWS_SPIN, "139838160");
  EXPECT_EQ(g_draws_to_generate, 139838160);
  EXPECT_EQ(ui_text(PREFS_COST_LABEL), "349,595,392.00 EUR");

  type_text(PREFS_DRAWS_SPIN, "3");
  // A red price gives no amount, in the cost or in its bet type's entry,
  // whatever its text begins with.
  for (const char* price : {"abc", "2,5", "-1", "2.49", "10001", "3.5.0", ""}) {
    SCOPED_TRACE(price);
    type_text(PREFS_PRICE_FIELD_BASE + 0, price);
    EXPECT_EQ(ui_colour(PREFS_PRICE_FIELD_BASE + 0, UI_BACK), RED);
    EXPECT_EQ(ui_text(PREFS_COST_LABEL), "");
    EXPECT_EQ(ui_item_text(PREFS_BET_TYPE_LIST, 0), "5N + 2S");
    EXPECT_EQ(ui_item_text(PREFS_BET_TYPE_LIST, 1), "5N + 3S — 7.50 EUR");
    // A new count or currency does not bring a number back.
    type_text(PREFS_DRAWS_SPIN, "5");
    type_text(PREFS_CURRENCY_FIELD, "EUR");
    EXPECT_EQ(ui_text(PREFS_COST_LABEL), "");
    type_text(PREFS_DRAWS_SPIN, "3");
  }
  // Only the selected bet type's price makes the cost.
  choose(PREFS_BET_TYPE_LIST, 1);
  EXPECT_EQ(ui_text(PREFS_COST_LABEL), "22.50 EUR");
  choose(PREFS_BET_TYPE_LIST, 0);
  EXPECT_EQ(ui_text(PREFS_COST_LABEL), "");

  type_text(PREFS_PRICE_FIELD_BASE + 0, "3.5");
  EXPECT_EQ(ui_colour(PREFS_PRICE_FIELD_BASE + 0, UI_BACK), UI_DEFAULT_COLOUR);
  EXPECT_EQ(ui_text(PREFS_COST_LABEL), "10.50 EUR");

  // The currency shows in the cost at once, in the list only after the next
  // price change.
  type_text(PREFS_CURRENCY_FIELD, "USD");
  EXPECT_EQ(g_currency, "USD");
  EXPECT_EQ(ui_text(PREFS_COST_LABEL), "10.50 USD");
  EXPECT_EQ(ui_item_text(PREFS_BET_TYPE_LIST, 0), "5N + 2S — 3.50 EUR");
  type_text(PREFS_PRICE_FIELD_BASE + 1, "8");
  EXPECT_EQ(ui_item_text(PREFS_BET_TYPE_LIST, 0), "5N + 2S — 3.50 USD");
  EXPECT_EQ(ui_item_text(PREFS_BET_TYPE_LIST, 1), "5N + 3S — 8.00 USD");

  type_text(PREFS_CURRENCY_FIELD, "   ");
  EXPECT_EQ(ui_colour(PREFS_CURRENCY_FIELD, UI_BACK), RED);
}

TEST_F(PreferencesTab, BetTypeListEntriesAndSelection) {
  ASSERT_EQ(ui_count_items(PREFS_BET_TYPE_LIST), 40);
  EXPECT_EQ(ui_item_text(PREFS_BET_TYPE_LIST, 0), "5N + 2S — 2.50 EUR");
  EXPECT_EQ(ui_item_text(PREFS_BET_TYPE_LIST, 29), "7N + 9S — 1,890.00 EUR");
  EXPECT_EQ(ui_item_text(PREFS_BET_TYPE_LIST, 39), "11N + 2S — 1,155.00 EUR");
  EXPECT_EQ(ui_text(PREFS_PRICE_LABEL_BASE + 39), "11N + 2S:");
  EXPECT_EQ(ui_text(PREFS_PRICE_FIELD_BASE + 27), "1102.5");
  EXPECT_EQ(ui_state(PREFS_BET_TYPE_LIST), 0);
  // Every default price is 2.5 x C(numbers, 5) x C(stars, 2).
  for (int i = 0; i < 40; ++i) {
    std::string entry = ui_item_text(PREFS_BET_TYPE_LIST, i);
    int64_t numbers = val_int(string_field(entry, 1, " "));
    int64_t stars = val_int(string_field(entry, 3, " "));
    EXPECT_FLOAT_EQ(bet_type_price(i), 2.5f * combinations(numbers, 5) * combinations(stars, 2)) << entry;
  }

  type_text(PREFS_DRAWS_SPIN, "2");
  choose(PREFS_BET_TYPE_LIST, 11);  // 6N + 2S at 15
  EXPECT_EQ(g_bet_type_index, 11);
  EXPECT_EQ(ui_text(PREFS_COST_LABEL), "30.00 EUR");
  // A price change rewrites the entries and keeps the selection.
  type_text(PREFS_PRICE_FIELD_BASE + 11, "16");
  EXPECT_EQ(ui_state(PREFS_BET_TYPE_LIST), 11);
  EXPECT_EQ(ui_text(PREFS_BET_TYPE_LIST), "6N + 2S — 16.00 EUR");
  EXPECT_EQ(ui_text(PREFS_COST_LABEL), "32.00 EUR");
}

TEST_F(PreferencesTab, FieldsAndSwitches) {
  type_text(PREFS_RANDOM_NUMBERS_SPIN, "51");
  EXPECT_EQ(ui_colour(PREFS_RANDOM_NUMBERS_SPIN, UI_BACK), RED);
  type_text(PREFS_RANDOM_NUMBERS_SPIN, "50");
  EXPECT_EQ(ui_colour(PREFS_RANDOM_NUMBERS_SPIN, UI_BACK), UI_DEFAULT_COLOUR);
  type_text(PREFS_RANDOM_STARS_SPIN, "13");
  EXPECT_EQ(ui_colour(PREFS_RANDOM_STARS_SPIN, UI_BACK), RED);

  click(PREFS_SPECIAL_TECHNIQUES);
  EXPECT_EQ(g_use_special_techniques, 0);
  click(PREFS_SPECIAL_TECHNIQUES);
  EXPECT_EQ(g_use_special_techniques, 1);

  // A count that is not a number changes nothing.
  type_text(PREFS_DRAWS_SPIN, "7");
  type_text(PREFS_DRAWS_SPIN, "x");
  EXPECT_EQ(g_draws_to_generate, 7);
}

TEST_F(PreferencesTab, TheTicketCountIsShownOnTheMainTab) {
  ui_open_gadget_list(GADGET_PANEL, TAB_MAIN);
  ui_label(48, 10, 10, 200, 18, "");
  ui_close_gadget_list();
  g_draw_count = 1234;
  type_text(PREFS_DRAWS_SPIN, "20000");
  EXPECT_EQ(ui_text(48), "Draws:1,234/20,000");
  ui_free_gadget(48);
  type_text(PREFS_DRAWS_SPIN, "30");  // no label: nothing to rewrite
  EXPECT_EQ(g_draws_to_generate, 30);
}

TEST_F(PreferencesTab, SwitchingTheLanguageShowsTheRestartNoteAndTheNewStarLetter) {
  EXPECT_EQ(ui_state(PREFS_ENGLISH_OPTION), 1);
  EXPECT_EQ(ui_text(PREFS_RESTART_NOTE), "* Requires 'Save Prefs' & restart the app.");
  click(PREFS_ENGLISH_OPTION);  // the language in force: nothing happens
  EXPECT_EQ(ui_colour(PREFS_RESTART_NOTE, UI_FRONT), UI_DEFAULT_COLOUR);

  click(PREFS_PORTUGUESE_OPTION);
  EXPECT_EQ(g_language, 2);
  EXPECT_EQ(ui_state(PREFS_PORTUGUESE_OPTION), 1);
  EXPECT_EQ(ui_state(PREFS_ENGLISH_OPTION), 0);
  EXPECT_EQ(ui_colour(PREFS_RESTART_NOTE, UI_FRONT), RED);
  EXPECT_EQ(ui_text(PREFS_RESTART_NOTE), "* Requer 'Save Prefs' & reiniciar a app.");
  // Captions built at start-up keep their language.
  EXPECT_EQ(ui_text(PREFS_COST_CAPTION), "Cost:");

  // The next refresh cuts the English entries at the first "E", which is the
  // one of "EUR": the front that names the ticket size stays right.
  type_text(PREFS_PRICE_FIELD_BASE + 0, "3");
  std::string entry = ui_item_text(PREFS_BET_TYPE_LIST, 0);
  EXPECT_EQ(entry, "5N + 2S — 2.50 E — 3.00 EUR");
  EXPECT_EQ(string_field(entry, 1, " "), "5N");
  EXPECT_EQ(string_field(entry, 3, " "), "2S");

  click(PREFS_ENGLISH_OPTION);
  EXPECT_EQ(g_language, 1);
  EXPECT_EQ(ui_text(PREFS_RESTART_NOTE), "* Requires 'Save Prefs' & restart the app.");
}

TEST(PreferencesTabPortuguese, LabelsAndEntriesUseTheLetterE) {
  enter_fresh_directory();
  g_build_language = 2;
  start_preferences_tab();
  g_build_language = 1;
  EXPECT_EQ(ui_text(PREFS_PRICE_LABEL_BASE + 0), "5N + 2E:");
  EXPECT_EQ(ui_text(PREFS_PRICE_LABEL_BASE + 20), "6N + 11E:");
  EXPECT_EQ(ui_item_text(PREFS_BET_TYPE_LIST, 0), "5N + 2E — 2.50 EUR");
  EXPECT_EQ(ui_text(PREFS_NUMBERS_SUMMARY), "Σ⚫:50→Jogar(50) Fixas(00)");
  EXPECT_EQ(ui_text(PREFS_CURRENCY_CAPTION), "Moeda");
  // A refresh cuts each entry at its own star letter and stays well formed.
  type_text(PREFS_PRICE_FIELD_BASE + 0, "3");
  EXPECT_EQ(ui_item_text(PREFS_BET_TYPE_LIST, 0), "5N + 2E — 3.00 EUR");
  EXPECT_EQ(ui_item_text(PREFS_BET_TYPE_LIST, 39), "11N + 2E — 1,155.00 EUR");
}
