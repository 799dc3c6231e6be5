// The main settings file: its exact bytes, save and restart through the
// Preferences tab, files that are ignored, short files, values out of range,
// and writes that fail.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "core/files.h"
#include "core/settings_file.h"
#include "core/text.h"
#include "support/preferences_tab.h"
#include "support/program_fixture.h"
#include "support/test_support.h"

namespace {

const char* const DEFAULT_PRICES[40] = {
    "2.5", "7.5", "15",   "25",   "37.5", "52.5", "70",     "90",   "112.5", "137.5",
    "165", "15",  "45",   "90",   "150",  "225",  "315",    "420",  "540",   "675",
    "825", "990", "52.5", "157.5", "315", "525",  "787.5",  "1102.5", "1470", "1890",
    "140", "420", "840",  "1400", "315",  "945",  "1890",   "630",  "1890",  "1155"};

// The content of a settings file, field by field, in file order.
struct PrefsContent {
  std::string version = "2";
  int64_t numbers = 50, stars = 12;
  std::vector<int64_t> number_states = std::vector<int64_t>(50, 1);
  std::vector<int64_t> star_states = std::vector<int64_t>(12, 1);
  int64_t draws = 1;
  std::string currency = "EUR";
  int64_t jitter = 1, special = 1, bet_type = 0;
  std::vector<std::string> prices = std::vector<std::string>(DEFAULT_PRICES, DEFAULT_PRICES + 40);
  int64_t language = 1;

  std::string bytes() const {
    std::string b = version + "\n" + le32_bytes(numbers) + le32_bytes(stars);
    for (int64_t v : number_states) b += le32_bytes(v);
    for (int64_t v : star_states) b += le32_bytes(v);
    b += le32_bytes(draws) + currency + "\n" + le32_bytes(jitter) + le32_bytes(special) + le32_bytes(bet_type);
    for (const std::string& p : prices) b += p + "\n";
    return b + le32_bytes(language);
  }
};

std::string prefs_path() { return "settings/kestrova.prefs"; }
std::string saved_bytes() { return read_file_bytes(prefs_path()); }

// Temporary files that a write left behind in the settings folder.
int stray_temporaries() { return static_cast<int>(staged_leftovers("settings").size()); }

class MainPrefs : public ::testing::Test {
 protected:
  void SetUp() override {
    enter_fresh_directory();
    std::filesystem::create_directory("settings");
  }
};

}  // namespace

TEST_F(MainPrefs, SavingTheDefaultsWritesExactlyTheseBytes) {
  EXPECT_EQ(start_preferences_tab(), 0);  // no file yet
  click(PREFS_SAVE_BUTTON);
  std::string bytes = saved_bytes();
  EXPECT_EQ(bytes, PrefsContent().bytes());
  ASSERT_GE(bytes.size(), 10u);
  EXPECT_EQ(bytes.substr(0, 10), std::string("\x32\x0A\x32\x00\x00\x00\x0C\x00\x00\x00", 10));
  size_t price_bytes = 0;
  for (const char* p : DEFAULT_PRICES) price_bytes += std::string(p).size() + 1;
  EXPECT_EQ(bytes.size(), 2 + 8 + 200 + 48 + 4 + 4 + 12 + price_bytes + 4);
  EXPECT_EQ(stray_temporaries(), 0);
  EXPECT_TRUE(ui_test_messages().empty());
}

TEST_F(MainPrefs, SaveThenRestartBringsBackEveryValue) {
  start_preferences_tab();
  click(PREFS_NUMBER_BUTTON_BASE + 1);  // fixed
  click(PREFS_NUMBER_BUTTON_BASE + 2);
  click(PREFS_NUMBER_BUTTON_BASE + 2);  // not played
  click(PREFS_STAR_BUTTON_BASE + 12);   // fixed
  type_text(PREFS_DRAWS_SPIN, "1234");
  type_text(PREFS_CURRENCY_FIELD, "€ zł");
  click(PREFS_SPECIAL_TECHNIQUES);
  choose(PREFS_BET_TYPE_LIST, 5);
  type_text(PREFS_PRICE_FIELD_BASE + 5, "60.25");
  type_text(PREFS_PRICE_FIELD_BASE + 1, "");     // empty: the default comes back
  type_text(PREFS_PRICE_FIELD_BASE + 2, "1,5");  // red, saved as typed
  g_neighbour_jitter = 0;                        // no control; kept all the same
  click(PREFS_SAVE_BUTTON);

  PrefsContent expected;
  expected.number_states[0] = 2;
  expected.number_states[1] = 0;
  expected.star_states[11] = 2;
  expected.draws = 1234;
  expected.currency = "€ zł";
  expected.jitter = 0;
  expected.special = 0;
  expected.bet_type = 5;
  expected.prices[5] = "60.25";
  expected.prices[1] = "";
  expected.prices[2] = "1,5";
  EXPECT_EQ(saved_bytes(), expected.bytes());

  // A second start in the same directory.
  EXPECT_EQ(start_preferences_tab(), 1);
  EXPECT_EQ(g_number_play_state[1], 2);
  EXPECT_EQ(g_number_play_state[2], 0);
  EXPECT_EQ(g_number_play_state[3], 1);
  EXPECT_EQ(g_star_play_state[12], 2);
  EXPECT_EQ(button_face(PREFS_NUMBER_BUTTON_BASE + 1), 255 + 256 * 174 + 65536 * 201);
  EXPECT_EQ(ui_text(PREFS_NUMBERS_SUMMARY), "Σ⚫:49→Play(48) Fixed(01)");
  EXPECT_EQ(g_draws_to_generate, 1234);
  EXPECT_EQ(ui_text(PREFS_DRAWS_SPIN), "1234");
  EXPECT_EQ(g_currency, "€ zł");
  EXPECT_EQ(ui_text(PREFS_CURRENCY_FIELD), "€ zł");
  EXPECT_EQ(g_neighbour_jitter, 0);
  EXPECT_EQ(g_use_special_techniques, 0);
  EXPECT_EQ(ui_state(PREFS_SPECIAL_TECHNIQUES), 0);
  EXPECT_EQ(g_bet_type_index, 5);
  EXPECT_EQ(ui_state(PREFS_BET_TYPE_LIST), 5);
  EXPECT_EQ(ui_text(PREFS_PRICE_FIELD_BASE + 5), "60.25");
  EXPECT_EQ(ui_text(PREFS_PRICE_FIELD_BASE + 1), "7.5");
  EXPECT_EQ(ui_text(PREFS_PRICE_FIELD_BASE + 2), "1,5");
  EXPECT_EQ(ui_text(PREFS_COST_LABEL), "74,348.50 € zł");  // 1234 x 60.25
  EXPECT_EQ(ui_item_text(PREFS_BET_TYPE_LIST, 5), "5N + 7S — 60.25 € zł");
  EXPECT_EQ(g_language, 1);
}

TEST_F(MainPrefs, AnEmptyCurrencyIsALoneLineFeed) {
  start_preferences_tab();
  type_text(PREFS_CURRENCY_FIELD, "");
  click(PREFS_SAVE_BUTTON);
  PrefsContent expected;
  expected.currency = "";
  EXPECT_EQ(saved_bytes(), expected.bytes());
  start_preferences_tab();
  EXPECT_EQ(g_currency, "");
  EXPECT_EQ(ui_text(PREFS_COST_LABEL), "2.50 ");
}

TEST_F(MainPrefs, ALineBreakInATextCannotShiftTheFieldsAfterIt) {
  start_preferences_tab();
  g_currency = "EU\nR";
  click(PREFS_SAVE_BUTTON);
  start_preferences_tab();
  EXPECT_EQ(g_currency, "EU R");
  EXPECT_EQ(g_bet_type_index, 0);
  EXPECT_EQ(ui_text(PREFS_PRICE_FIELD_BASE + 39), "1155");
  EXPECT_EQ(g_language, 1);
}

TEST_F(MainPrefs, FilesThatAreIgnored) {
  struct Case {
    const char* what;
    std::string bytes;
  };
  PrefsContent portuguese;
  portuguese.language = 2;
  portuguese.draws = 77;
  const std::string body = portuguese.bytes().substr(2);  // after "2\n"
  const Case cases[] = {
      {"empty", ""},
      {"byte-order mark", "\xEF\xBB\xBF" "2\n" + body},
      {"other version", "3\n" + body},
      {"version with a blank", "2 \n" + body},
      {"version 20", "20\n" + body},
      {"no version line", body},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(prefs_path());
    write_file_bytes(prefs_path(), c.bytes);
    EXPECT_EQ(start_preferences_tab(), 0) << c.what;
    EXPECT_EQ(g_language, 1) << c.what;
    EXPECT_EQ(g_draws_to_generate, 1) << c.what;
    EXPECT_EQ(ui_text(PREFS_RESTART_NOTE), "* Requires 'Save Prefs' & restart the app.") << c.what;
  }

  // A folder of that name: ignored, and a save leaves it alone.
  std::filesystem::remove_all(prefs_path());
  std::filesystem::create_directory(prefs_path());
  EXPECT_EQ(start_preferences_tab(), 0);
  click(PREFS_SAVE_BUTTON);
  EXPECT_TRUE(std::filesystem::is_directory(prefs_path()));
  EXPECT_EQ(stray_temporaries(), 0);

  // An empty file is written anew by "Save Prefs".
  std::filesystem::remove_all(prefs_path());
  write_file_bytes(prefs_path(), "");
  start_preferences_tab();
  click(PREFS_SAVE_BUTTON);
  EXPECT_EQ(saved_bytes(), PrefsContent().bytes());
}

TEST_F(MainPrefs, LineEndsOfEveryKindEndATextLine) {
  PrefsContent c;
  c.currency = "USD";
  std::string bytes = c.bytes();
  // Version line with CR LF, currency line with a lone CR.
  bytes.replace(0, 2, "2\r\n");
  size_t at = bytes.find("USD\n");
  bytes[at + 3] = '\r';
  write_file_bytes(prefs_path(), bytes);
  EXPECT_EQ(start_preferences_tab(), 1);
  EXPECT_EQ(g_currency, "USD");
  EXPECT_EQ(ui_text(PREFS_PRICE_FIELD_BASE + 0), "2.5");
}

TEST_F(MainPrefs, AShortFileKeepsWhatWasReadAndTheRestReadsAsZero) {
  PrefsContent c;
  c.number_states.assign(50, 2);
  c.language = 2;
  // Up to the 10th play state of the numbers.
  write_file_bytes(prefs_path(), c.bytes().substr(0, 2 + 8 + 40));
  EXPECT_EQ(start_preferences_tab(), 1);
  for (int n = 1; n <= 10; ++n) EXPECT_EQ(g_number_play_state[n], 2) << n;
  for (int n = 11; n <= 50; ++n) EXPECT_EQ(g_number_play_state[n], 0) << n;
  for (int s = 1; s <= 12; ++s) EXPECT_EQ(g_star_play_state[s], 0) << s;
  EXPECT_EQ(g_draws_to_generate, 1);  // 0 is below the least count
  EXPECT_EQ(g_currency, "");
  EXPECT_EQ(g_neighbour_jitter, 0);
  EXPECT_EQ(g_use_special_techniques, 0);
  EXPECT_EQ(g_bet_type_index, 0);
  EXPECT_EQ(ui_text(PREFS_PRICE_FIELD_BASE + 39), "1155");
  EXPECT_EQ(g_language, 1);  // 0 is no language: the build's stays
  EXPECT_EQ(ui_text(PREFS_NUMBERS_SUMMARY), "Σ⚫:10→Play(00) Fixed(10)");

  // The last byte of the language missing: it still reads 2.
  write_file_bytes(prefs_path(), c.bytes().substr(0, c.bytes().size() - 1));
  start_preferences_tab();
  EXPECT_EQ(g_language, 2);
}

// An edited file: every integer slot holds the same value. Counts above the
// tables are cut to 50 and 12 and counts below 1 mean the whole game, the
// other values are clamped into their ranges (the language falls back to the
// build's), play states are kept as stored.
TEST_F(MainPrefs, ValuesOutOfRangeInEverySlotNeverReachPastATable) {
  const int64_t values[] = {INT32_MAX, INT32_MIN, -1, 0, 3, 40, 13, 51};
  for (int64_t v : values) {
    PrefsContent c;
    c.numbers = c.stars = c.draws = c.jitter = c.special = c.bet_type = c.language = v;
    c.number_states.assign(50, v);
    c.star_states.assign(12, v);
    write_file_bytes(prefs_path(), c.bytes());
    EXPECT_EQ(start_preferences_tab(), 1) << v;
    EXPECT_GE(g_highest_number, 1) << v;
    EXPECT_LE(g_highest_number, 50) << v;
    EXPECT_GE(g_highest_star, 1) << v;
    EXPECT_LE(g_highest_star, 12) << v;
    EXPECT_EQ(g_number_play_state.size(), 51u);
    EXPECT_EQ(g_star_play_state.size(), 13u);
    EXPECT_GE(g_draws_to_generate, 1) << v;
    EXPECT_LE(g_draws_to_generate, MAX_DRAWS_TO_GENERATE) << v;
    EXPECT_TRUE(g_neighbour_jitter == 0 || g_neighbour_jitter == 1) << v;
    EXPECT_TRUE(g_use_special_techniques == 0 || g_use_special_techniques == 1) << v;
    EXPECT_GE(g_bet_type_index, 0) << v;
    EXPECT_LE(g_bet_type_index, 39) << v;
    EXPECT_TRUE(g_language == 1 || g_language == 2) << v;
    EXPECT_EQ(ui_state(PREFS_BET_TYPE_LIST), g_bet_type_index) << v;
    // The tab works on whatever was loaded.
    for (int g : {PREFS_NUMBER_BUTTON_BASE + 1, PREFS_STAR_BUTTON_BASE + 1, PREFS_INVERT_BUTTON,
                  PREFS_ALL_BUTTON, PREFS_RANDOM_BUTTON, PREFS_NONE_BUTTON, PREFS_SAVE_BUTTON})
      click(g);
    EXPECT_EQ(start_preferences_tab(), 1) << v;
    EXPECT_EQ(ui_text(PREFS_POSSIBLE_LABEL).substr(0, 4), "N/A/") << v;  // None was last
  }

  // The largest count: 50 states kept as stored, drawn black; the rest of
  // the file lies beyond the states it announces and reads as zero.
  PrefsContent huge;
  huge.numbers = INT32_MAX;
  huge.number_states.assign(50, INT32_MAX);
  huge.language = 2;
  write_file_bytes(prefs_path(), huge.bytes());
  start_preferences_tab();
  EXPECT_EQ(g_highest_number, 50);
  EXPECT_EQ(g_number_play_state[50], INT32_MAX);
  EXPECT_EQ(button_face(PREFS_NUMBER_BUTTON_BASE + 50), 0);
  EXPECT_EQ(g_currency, "");
  EXPECT_EQ(g_language, 1);

  // Negative counts read no play states, and the game keeps its 50 numbers
  // and 12 stars; the fields after them are read from where the states would
  // have begun.
  PrefsContent negative;
  negative.numbers = -5;
  negative.stars = INT32_MIN;
  negative.number_states.clear();
  negative.star_states.clear();
  negative.draws = 9;
  negative.currency = "USD";
  write_file_bytes(prefs_path(), negative.bytes());
  start_preferences_tab();
  EXPECT_EQ(g_highest_number, 50);
  EXPECT_EQ(g_highest_star, 12);
  EXPECT_EQ(g_draws_to_generate, 9);
  EXPECT_EQ(g_currency, "USD");
  EXPECT_FALSE(ui_disabled(PREFS_NUMBER_BUTTON_BASE + 50));
  EXPECT_FALSE(ui_disabled(PREFS_STAR_BUTTON_BASE + 12));
}

// A damaged file never shrinks the game: a count that is missing (bytes
// missing at the end read 0), 0 or negative means 50 numbers and 12 stars,
// as the writer stores them, and the game holds C(50,5) x C(12,2) = 2,118,760
// x 66 = 139,838,160 draws. (Play states past the end of a cut file read 0,
// "Don't play", as every integer there does.)
TEST_F(MainPrefs, ADamagedFileNeverShrinksTheGame) {
  struct Case {
    std::string what;
    std::string bytes;
  };
  std::vector<Case> cases = {{"only the version line", "2\n"}};
  const std::string whole = PrefsContent().bytes();
  for (size_t cut = 1; cut < 2 + 8; ++cut)
    cases.push_back({"cut after " + std::to_string(cut) + " bytes", whole.substr(0, cut)});
  for (auto [numbers, stars] : {std::pair<int64_t, int64_t>{0, 12}, {50, 0}, {0, 0}, {-1, 12},
                                {INT32_MIN, 12}, {50, -7}, {-3, INT32_MIN}}) {
    PrefsContent c;
    c.numbers = numbers;
    c.stars = stars;
    if (numbers < 1) c.number_states.clear();
    if (stars < 1) c.star_states.clear();
    cases.push_back({"counts " + std::to_string(numbers) + " and " + std::to_string(stars), c.bytes()});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    write_file_bytes(prefs_path(), c.bytes);
    EXPECT_EQ(start_preferences_tab(), 1);
    EXPECT_EQ(g_highest_number, 50);
    EXPECT_EQ(g_highest_star, 12);
    for (int n = 1; n <= 54; ++n) EXPECT_EQ(ui_disabled(PREFS_NUMBER_BUTTON_BASE + n), n > 50) << n;
    for (int n = 1; n <= 15; ++n) EXPECT_EQ(ui_disabled(PREFS_STAR_BUTTON_BASE + n), n > 12) << n;
    // "<possible>/<all draws of the game> (...)"
    const std::string possible = ui_text(PREFS_POSSIBLE_LABEL);
    const std::string counts = possible.substr(0, possible.find(" ("));
    EXPECT_EQ(counts.substr(counts.rfind('/') + 1), "139,838,160") << possible;
    // Saved again, the file holds the whole game.
    click(PREFS_SAVE_BUTTON);
    EXPECT_EQ(saved_bytes().substr(0, 10), "2\n" + le32_bytes(50) + le32_bytes(12));
  }
}

TEST_F(MainPrefs, CountsAboveTheTablesAreClampedAndTheFieldsAfterThemStillLineUp) {
  PrefsContent c;
  c.numbers = 60;
  c.number_states.assign(60, 2);
  c.stars = 13;
  c.star_states.assign(13, 0);
  c.draws = 5;
  c.currency = "USD";
  c.bet_type = 7;
  for (int i = 0; i < 40; ++i) c.prices[i] = str_int(i + 3);
  c.language = 2;
  write_file_bytes(prefs_path(), c.bytes());
  EXPECT_EQ(start_preferences_tab(), 1);
  EXPECT_EQ(g_highest_number, 50);
  EXPECT_EQ(g_highest_star, 12);
  EXPECT_EQ(g_number_play_state[50], 2);
  EXPECT_EQ(g_star_play_state[12], 0);
  EXPECT_EQ(g_draws_to_generate, 5);
  EXPECT_EQ(g_currency, "USD");
  EXPECT_EQ(g_bet_type_index, 7);
  EXPECT_EQ(ui_text(PREFS_PRICE_FIELD_BASE + 39), "42");
  EXPECT_EQ(g_language, 2);

  // Saved again, the file holds the clamped counts.
  click(PREFS_SAVE_BUTTON);
  c.numbers = 50;
  c.number_states.assign(50, 2);
  c.stars = 12;
  c.star_states.assign(12, 0);
  EXPECT_EQ(saved_bytes(), c.bytes());

  // Fewer numbers: the buttons beyond them are plain and disabled.
  c.numbers = 30;
  c.number_states.assign(30, 1);
  write_file_bytes(prefs_path(), c.bytes());
  start_preferences_tab();
  EXPECT_EQ(g_highest_number, 30);
  EXPECT_TRUE(ui_disabled(PREFS_NUMBER_BUTTON_BASE + 31));
  EXPECT_EQ(ui_text(PREFS_NUMBERS_SUMMARY), "Σ⚫:30→Jogar(30) Fixas(00)");
  EXPECT_EQ(g_currency, "USD");
}

TEST_F(MainPrefs, InvalidUtf8InATextLineIsReplaced) {
  PrefsContent c;
  c.currency = "A\xFF\xC3";
  c.prices[0] = "\xE2\x82";
  write_file_bytes(prefs_path(), c.bytes());
  start_preferences_tab();
  EXPECT_EQ(g_currency, "A\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(ui_text(PREFS_PRICE_FIELD_BASE + 0), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST_F(MainPrefs, PortugueseChosenSavedAndRestartedBuildsEveryCaptionInPortuguese) {
  start_preferences_tab();
  click(PREFS_PORTUGUESE_OPTION);
  // Not saved: the next start is English.
  start_preferences_tab();
  EXPECT_EQ(g_language, 1);
  EXPECT_EQ(ui_text(PREFS_COST_CAPTION), "Cost:");

  click(PREFS_PORTUGUESE_OPTION);
  click(PREFS_SAVE_BUTTON);
  PrefsContent expected;
  expected.language = 2;
  EXPECT_EQ(saved_bytes(), expected.bytes());

  EXPECT_EQ(start_preferences_tab(), 1);
  EXPECT_EQ(g_language, 2);
  EXPECT_EQ(ui_state(PREFS_PORTUGUESE_OPTION), 1);
  EXPECT_EQ(ui_state(PREFS_ENGLISH_OPTION), 0);
  EXPECT_EQ(ui_text(PREFS_COST_CAPTION), "Custo:");
  EXPECT_EQ(ui_text(PREFS_CURRENCY_CAPTION), "Moeda");
  EXPECT_EQ(ui_text(PREFS_GAMBLE_WITH_FRAME), "Jogar com");
  EXPECT_EQ(ui_text(PREFS_RESTART_NOTE), "* Requer 'Save Prefs' & reiniciar a app.");
  EXPECT_EQ(ui_text(PREFS_PRICE_LABEL_BASE + 0), "5N + 2E:");
  EXPECT_EQ(ui_item_text(PREFS_BET_TYPE_LIST, 0), "5N + 2E — 2.50 EUR");
  // Untranslated captions stay as they are.
  EXPECT_EQ(ui_text(PREFS_SAVE_BUTTON), "Save Prefs");
  EXPECT_EQ(ui_text(PREFS_LANGUAGE_FRAME), "Language/Idioma");
  EXPECT_EQ(ui_text(PREFS_PORTUGUESE_LABEL), "Português");
  // Every other caption of the tab is the Portuguese text of its key.
  const std::pair<int, const char*> captions[] = {
      {PREFS_POOL_FRAME, "Numbers/Stars to play with"}, {PREFS_LEGEND_DONT_PLAY, "Don't play"},
      {PREFS_LEGEND_PLAY, "Play"}, {PREFS_LEGEND_FIXED, "Fixed"}, {PREFS_ALL_BUTTON, "All"},
      {PREFS_NONE_BUTTON, "None"}, {PREFS_PRICES_FRAME, "Prices"}, {PREFS_GAMBLE_FRAME, "Gamble"},
      {PREFS_DRAWS_CAPTION, "Number Draws:"}, {PREFS_POSSIBLE_CAPTION, "Possible Draws:"},
      {PREFS_BET_TYPE_CAPTION, "Multiples:"}, {PREFS_RANDOM_BUTTON, "Update"},
      {PREFS_INVERT_BUTTON, "Invert"},
      {PREFS_SPECIAL_TECHNIQUES, "Use special techniques for simple draws (Information Theory)"}};
  for (const auto& [gadget, key] : captions) {
    EXPECT_NE(ui_text(gadget), "???????????") << key;
    EXPECT_EQ(ui_text(gadget), translate(key)) << key;
  }
}

TEST_F(MainPrefs, AFailedWriteLeavesTheOldFileWhole) {
  start_preferences_tab();
  click(PREFS_SAVE_BUTTON);
  const std::string good = saved_bytes();

  // A disk that fills up half-way through the new content.
  type_text(PREFS_CURRENCY_FIELD, std::string(4000, 'x'));
  with_file_size_limit(1000, [] { EXPECT_EQ(save_main_prefs(), 1); });  // nothing is reported

  EXPECT_EQ(saved_bytes(), good);
  EXPECT_EQ(stray_temporaries(), 0);
  EXPECT_TRUE(ui_test_messages().empty());
}

TEST_F(MainPrefs, WritingAFileAtomically) {
  EXPECT_EQ(write_file_atomically("settings/a.bin", std::string("one\0two", 7)), 1);
  EXPECT_EQ(read_file_bytes("settings/a.bin"), std::string("one\0two", 7));
  EXPECT_EQ(write_file_atomically("settings/a.bin", "3"), 1);
  EXPECT_EQ(read_file_bytes("settings/a.bin"), "3");
  EXPECT_EQ(write_file_atomically("settings/a.bin", ""), 1);
  EXPECT_EQ(std::filesystem::file_size("settings/a.bin"), 0u);
  EXPECT_EQ(write_file_atomically("no-such-folder/a.bin", "x"), 0);
  EXPECT_FALSE(std::filesystem::exists("no-such-folder"));
  std::filesystem::create_directory("settings/d");
  EXPECT_EQ(write_file_atomically("settings/d", "x"), 0);
  EXPECT_TRUE(std::filesystem::is_directory("settings/d"));
  EXPECT_EQ(stray_temporaries(), 0);
}

// The whole program: the main loop hands the tab's events to its handlers,
// and a restart in the same directory reads the saved language before the
// first caption is built.
TEST(MainPrefsProgram, ALanguageSavedInTheProgramAppliesToEveryCaptionOfTheNextStart) {
  start_program_for_test(1);
  ui_test_select_tab(GADGET_PANEL, TAB_PREFERENCES);
  ui_test_click(PREFS_NUMBER_BUTTON_BASE + 9);  // fixed
  ui_test_click(PREFS_PORTUGUESE_OPTION);
  ui_test_type(PREFS_DRAWS_SPIN, "25");
  ui_test_click(PREFS_SAVE_BUTTON);
  run_pending_events();
  EXPECT_EQ(g_number_play_state[9], 2);
  EXPECT_EQ(ui_text(PREFS_RESTART_NOTE), "* Requer 'Save Prefs' & reiniciar a app.");
  EXPECT_EQ(ui_menu_item_text(MENU_MAIN, MENU_SAVE), "Save\tCtrl+S");  // built in English

  ui_test_reset();
  start_program();
  EXPECT_EQ(g_language, 2);
  EXPECT_EQ(g_number_play_state[9], 2);
  EXPECT_EQ(g_draws_to_generate, 25);
  EXPECT_EQ(ui_menu_item_text(MENU_MAIN, MENU_SAVE), "Gravar\tCtrl+S");
  EXPECT_EQ(ui_menu_item_text(MENU_MAIN, MENU_SAVE_AS), "Gravar Como...\tShift+Ctrl+S");
  EXPECT_EQ(ui_text(PREFS_COST_CAPTION), "Custo:");
  EXPECT_EQ(ui_text(PREFS_NUMBERS_SUMMARY), "Σ⚫:50→Jogar(49) Fixas(01)");
  EXPECT_EQ(ui_text(PREFS_DRAWS_SPIN), "25");
  EXPECT_EQ(ui_text(PREFS_COST_LABEL), "62.50 EUR");

  // The Portuguese program with that file switched back to English.
  ui_test_select_tab(GADGET_PANEL, TAB_PREFERENCES);
  ui_test_click(PREFS_ENGLISH_OPTION);
  ui_test_click(PREFS_SAVE_BUTTON);
  run_pending_events();
  ui_test_reset();
  g_build_language = 2;
  start_program();
  g_build_language = 1;
  EXPECT_EQ(g_language, 1);
  EXPECT_EQ(ui_menu_item_text(MENU_MAIN, MENU_SAVE), "Save\tCtrl+S");
  EXPECT_EQ(ui_text(PREFS_COST_CAPTION), "Cost:");
}

TEST(MainPrefsProgram, ThePortugueseProgramWithoutASettingsFileStartsInPortuguese) {
  start_program_for_test(2);
  EXPECT_EQ(g_language, 2);
  EXPECT_EQ(ui_text(PREFS_CURRENCY_CAPTION), "Moeda");
  EXPECT_EQ(ui_state(PREFS_PORTUGUESE_OPTION), 1);
  g_build_language = 1;
}

// The text lines of both settings files, read and written a run of bytes at
// a time: what each byte becomes must not depend on where it stands in the
// line, however long the line.
TEST(SettingsTextLines, EveryByteIsReadAndWrittenWhereverItStands) {
  const std::string fffd = "\xEF\xBF\xBD";
  const std::string as(1000, 'a'), bs(1000, 'b');
  struct Case {
    std::string text, utf8;
  };
  const Case cases[] = {
      {"", ""},
      {"ABCDEFGH", "ABCDEFGH"},
      {"ABCDEFGHI\xFF", "ABCDEFGHI" + fffd},
      {"\xFF" "ABCDEFGH", fffd + "ABCDEFGH"},
      {"ABCDEFG\xC3\xA9HIJKLMNOP", "ABCDEFG\xC3\xA9HIJKLMNOP"},
      {"ABCDEFGH\xE2\x82XYZ", "ABCDEFGH" + fffd + fffd + "XYZ"},
      {as + "\xC0\x80" + bs, as + fffd + fffd + bs},
      {as + "\xE2\x82\xAC" + bs + "\xF0\x9F\x8E\xB2", as + "\xE2\x82\xAC" + bs + "\xF0\x9F\x8E\xB2"},
      {as + "\xED\xA0\x80", as + fffd + fffd + fffd},
  };
  for (const Case& c : cases) EXPECT_EQ(valid_utf8(c.text), c.utf8) << c.text.size() << " bytes";

  // A line break inside a text is written as a blank, wherever it is.
  std::string out = "x";
  append_settings_line(out, "A\nB\rC" + as + "\r\n");
  EXPECT_EQ(out, "xA B C" + as + "  \n");

  // LF, CR and CR LF each end a line; a last line may have none.
  SettingsReader r{"2\r\n" + as + "\r" + bs + "\nlast", 0};
  EXPECT_EQ(read_settings_line(r), "2");
  EXPECT_EQ(read_settings_line(r), as);
  EXPECT_EQ(read_settings_line(r), bs);
  EXPECT_EQ(read_settings_line(r), "last");
  EXPECT_EQ(read_settings_line(r), "");
  EXPECT_EQ(r.pos, r.bytes.size());
}
