// The Main tab: the list rows, the prize check, Validate, Paste, the result
// fields, Clear and the preview window, through the tab's own controls.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/core.h"
#include "core/ids.h"
#include "core/text.h"
#include "draws/draws.h"
#include "draws/main_tab_ids.h"
#include "support/draws_support.h"
#include "support/engine_support.h"
#include "support/program_fixture.h"
#include "techniques/techniques.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

constexpr int64_t kGrey = 128 + 256 * 128 + 65536 * 128;
constexpr int64_t kPlayedGreen = 256 * 255;
constexpr int64_t kRed = 255;

class MainTabTest : public ::testing::Test {
 protected:
  void SetUp() override { start_program_for_test(); }
  void TearDown() override { ui_test_set_idle_hook(nullptr); }

  static void type_result(const std::vector<std::string>& values) {
    for (size_t k = 0; k < values.size(); ++k)
      ui_test_type(GADGET_RESULT_NUMBER_FIRST + static_cast<int>(k), values[k]);
    run_pending_events();
  }

  static void press(int gadget) {
    ui_test_clear_messages();
    ui_test_click(gadget);
    run_pending_events();
  }

  static std::vector<std::string> result_texts() {
    std::vector<std::string> v;
    for (int g = GADGET_RESULT_NUMBER_FIRST; g <= GADGET_RESULT_STAR_LAST; ++g) v.push_back(ui_text(g));
    return v;
  }
};

TEST_F(MainTabTest, BuiltWithZeroCountersAndItsCaptions) {
  for (int k = 0; k < 18; ++k) {
    EXPECT_EQ(ui_text(GADGET_TIER_FIRST + k), tier_text(k) + "0");
    EXPECT_EQ(ui_colour(GADGET_TIER_FIRST + k, UI_FRONT), tier_colour(k));
  }
  EXPECT_EQ(ui_text(GADGET_TIER_FIRST), "5+2:0");
  EXPECT_EQ(ui_text(GADGET_TIER_LAST), "0+0:0");
  EXPECT_EQ(ui_colour(GADGET_TIER_FIRST + 6, UI_FRONT), HIT_COLOUR_YELLOW);  // 3+2
  EXPECT_EQ(ui_colour(GADGET_TIER_FIRST + 15, UI_FRONT), kGrey);             // 0+2
  EXPECT_TRUE(ui_disabled(GADGET_EVALUATE));
  EXPECT_EQ(ui_text(GADGET_DRAWS_LABEL), translate("Draws:") + "0/1");
  EXPECT_EQ(ui_text(GADGET_COST_LABEL), translate("  Cost:") + "0.00 EUR");
  EXPECT_EQ(ui_text(GADGET_FILE_LABEL), translate("File:") + "N/A");
  EXPECT_EQ(ui_text(GADGET_RESULT_PLUS), "+");
  EXPECT_EQ(ui_text(GADGET_GENERATE), translate("Generate Draws"));
  for (int g = GADGET_RESULT_NUMBER_FIRST; g <= GADGET_RESULT_STAR_LAST; ++g) EXPECT_EQ(ui_text(g), "");
}

// The hit columns take the letter of the language in force when the tab is
// built; the number and star columns are the same in both.
TEST(MainTabColumns, TitlesFollowTheLanguageAtBuildTime) {
  struct Case {
    int64_t language;
    const char* numbers_hits;
    const char* stars_hits;
  };
  for (Case c : {Case{1, "H⚫", "H★"}, Case{2, "A⚫", "A★"}}) {
    start_program_for_test(c.language);
    EXPECT_EQ(ui_list_column_title(GADGET_DRAW_LIST, 0), "#");
    EXPECT_EQ(ui_list_column_title(GADGET_DRAW_LIST, 1), "1");
    EXPECT_EQ(ui_list_column_title(GADGET_DRAW_LIST, 11), "11");
    EXPECT_EQ(ui_list_column_title(GADGET_DRAW_LIST, 12), "★1");
    EXPECT_EQ(ui_list_column_title(GADGET_DRAW_LIST, 23), "★12");
    EXPECT_EQ(ui_list_column_title(GADGET_DRAW_LIST, 24), c.numbers_hits);
    EXPECT_EQ(ui_list_column_title(GADGET_DRAW_LIST, 25), c.stars_hits);
    EXPECT_EQ(ui_list_column_title(GADGET_DRAW_LIST, 26), "");
  }
}

TEST_F(MainTabTest, RowsHoldEveryFieldAsStored) {
  list_tickets({{"3,17,22,41,50", "2,11"},
                {"1,2,3,4,5,6,7,8,9,10,11", "1,2,3,4,5,6,7,8,9,10,11,12"},
                {"07,x", ""}});
  ASSERT_EQ(ui_count_items(GADGET_DRAW_LIST), 3);
  std::vector<std::string> first = {"1", "3", "17", "22", "41", "50"};
  for (int c = 0; c < 6; ++c) EXPECT_EQ(ui_item_text(GADGET_DRAW_LIST, 0, c), first[c]);
  for (int c = 6; c <= 11; ++c) EXPECT_EQ(ui_item_text(GADGET_DRAW_LIST, 0, c), "");
  EXPECT_EQ(ui_item_text(GADGET_DRAW_LIST, 0, 12), "2");
  EXPECT_EQ(ui_item_text(GADGET_DRAW_LIST, 0, 13), "11");
  for (int c = 14; c <= 25; ++c) EXPECT_EQ(ui_item_text(GADGET_DRAW_LIST, 0, c), "");
  EXPECT_EQ(ui_item_text(GADGET_DRAW_LIST, 1, 11), "11");
  EXPECT_EQ(ui_item_text(GADGET_DRAW_LIST, 1, 23), "12");
  EXPECT_EQ(ui_item_text(GADGET_DRAW_LIST, 2, 1), "07");  // not converted
  EXPECT_EQ(ui_item_text(GADGET_DRAW_LIST, 2, 2), "x");
  EXPECT_EQ(ticket_is_listed("3,17,22,41,50", "2,11"), 1);
  EXPECT_EQ(ticket_is_listed("3,17,22,41,50", "2,12"), 0);
  EXPECT_EQ(ticket_is_listed_by_scan("07,x", ""), 1);
}

TEST_F(MainTabTest, CheckForPrizesMarksRowsAndCountsTiers) {
  struct Row {
    Ticket ticket;
    const char* number_hits;
    const char* star_hits;
    int64_t colour;
  };
  const std::vector<Row> rows = {
      {{"3,17,22,41,50", "2,11"}, "3", "2", HIT_COLOUR_YELLOW},
      {{"1,4,5,6,7", "1,3"}, "0", "0", kGrey},
      {{"3,17,22,40,48", "2,11"}, "5", "2", HIT_COLOUR_RED},
      {{"3,4,5,6,7", "5,11"}, "1", "1", HIT_COLOUR_BLACK},
      {{"3,17,1,4,5", "1,3"}, "2", "0", HIT_COLOUR_GREEN},
      {{"3,17,22,40,1", "2"}, "4", "1", 255 + 256 * 174 + 65536 * 201},
      // A 12-star ticket whose twelfth star is drawn; a 7-number ticket
      // holding all five numbers.
      {{"1,4,5,6,7", "1,3,4,5,6,7,8,9,10,12,6,11"}, "0", "1", kGrey},
      {{"1,3,17,22,40,48,49", "1,3"}, "5", "0", HIT_COLOUR_RED},
  };
  std::vector<Ticket> tickets;
  for (const Row& r : rows) tickets.push_back(r.ticket);
  list_tickets(tickets);
  type_result({"3", "17", "22", "40", "48", "2", "11"});
  press(GADGET_CHECK_PRIZES);
  EXPECT_TRUE(ui_test_messages().empty());
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(ui_item_text(GADGET_DRAW_LIST, static_cast<int>(i), 24), rows[i].number_hits);
    EXPECT_EQ(ui_item_text(GADGET_DRAW_LIST, static_cast<int>(i), 25), rows[i].star_hits);
    EXPECT_EQ(ui_item_colour(GADGET_DRAW_LIST, static_cast<int>(i)), rows[i].colour);
  }
  EXPECT_EQ(g_hits_3_2, 1);
  EXPECT_EQ(g_hits_0_0, 1);
  EXPECT_EQ(g_hits_5_2, 1);
  EXPECT_EQ(g_hits_1_1, 1);
  EXPECT_EQ(g_hits_2_0, 1);
  EXPECT_EQ(g_hits_4_1, 1);
  EXPECT_EQ(g_hits_0_1, 1);
  EXPECT_EQ(g_hits_5_0, 1);
  EXPECT_EQ(ui_text(GADGET_TIER_FIRST + 6), "3+2:1");
  EXPECT_EQ(ui_text(GADGET_TIER_FIRST + 1), "5+1:0");
  EXPECT_EQ(g_result_numbers, (std::vector<int64_t>{0, 3, 17, 22, 40, 48}));
  EXPECT_EQ(g_result_stars, (std::vector<int64_t>{0, 2, 11}));

  // A second check starts its counters from zero.
  press(GADGET_CHECK_PRIZES);
  EXPECT_EQ(ui_text(GADGET_TIER_FIRST + 6), "3+2:1");
}

// No drawn result repeats a value. A repeated one is refused after the range
// checks, by Check for Prizes and Validate alike, with the focus on the field
// that repeats an earlier one, and nothing else changes.
TEST_F(MainTabTest, AResultWithARepeatedValueIsRefused) {
  open_every_window();
  list_tickets({{"3,17,22,41,50", "2,11"}, {"22,23,35,12,14", "8,9"}});
  type_result({"3", "17", "22", "40", "48", "2", "11"});
  press(GADGET_CHECK_PRIZES);
  ASSERT_EQ(ui_text(GADGET_TIER_FIRST + 6), "3+2:1");
  const int64_t first_row_colour = ui_item_colour(GADGET_DRAW_LIST, 0);
  struct Case {
    std::vector<std::string> typed;
    int focus;
  } cases[] = {
      {{"22", "22", "35", "12", "14", "8", "9"}, 137},  // numbers
      {{"22", "23", "35", "12", "14", "8", "8"}, 142},  // stars
      {{"22", "22", "35", "12", "14", "8", "8"}, 137},  // both: the numbers first
      {{"5", "17", "22", "40", "05", "2", "11"}, 140},  // the same value, written apart
      {{"3", "17", "22", "40", "17", "2", "11"}, 140},
  };
  for (int action : {GADGET_CHECK_PRIZES, GADGET_VALIDATE}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << action << " " << c.focus);
      type_result(c.typed);
      ui_set_focus(GADGET_GENERATE);
      press(action);
      expect_single_message(translate("Warning!"),
                            translate("The numbers and the stars of a result must all be different."));
      EXPECT_EQ(ui_focused_gadget(), c.focus);
      EXPECT_EQ(ui_text(GADGET_TIER_FIRST + 6), "3+2:1");
      EXPECT_EQ(ui_item_text(GADGET_DRAW_LIST, 0, 24), "3");
      EXPECT_EQ(ui_item_text(GADGET_DRAW_LIST, 1, 24), "1");
      EXPECT_EQ(ui_item_colour(GADGET_DRAW_LIST, 0), first_row_colour);
    }
  }
  // The range check still answers first.
  type_result({"22", "22", "35", "12", "51", "8", "8"});
  press(GADGET_VALIDATE);
  expect_single_message(translate("Warning!"), translate("The numbers must be in the range 1:") + "50");
  EXPECT_EQ(ui_focused_gadget(), 140);
  // In Portuguese too.
  g_language = 2;
  type_result({"22", "22", "35", "12", "14", "8", "9"});
  press(GADGET_CHECK_PRIZES);
  expect_single_message("Aviso!", "Os números e as estrelas de um resultado têm de ser todos diferentes.");
  g_language = 1;
}

TEST_F(MainTabTest, CheckForPrizesRefusesAnEmptyListAndBadFields) {
  type_result({"3", "17", "22", "40", "48", "2", "11"});
  press(GADGET_CHECK_PRIZES);
  expect_single_message(translate("Warning!"), translate("No draws found."));

  list_tickets({{"3,17,22,41,50", "2,11"}});
  press(GADGET_CHECK_PRIZES);
  ASSERT_EQ(ui_text(GADGET_TIER_FIRST + 6), "3+2:1");
  struct Case {
    int field;
    const char* text;
    bool star;
  } cases[] = {{137, "", false}, {136, "51", false}, {140, "0", false}, {141, "13", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    type_result({"3", "17", "22", "40", "48", "2", "11"});
    ui_test_type(c.field, c.text);
    run_pending_events();
    ui_set_item_text(GADGET_DRAW_LIST, 0, "", 24);
    press(GADGET_CHECK_PRIZES);
    expect_single_message(translate("Warning!"),
                       c.star ? translate("The stars must be in the range 1:") + "12"
                              : translate("The numbers must be in the range 1:") + "50");
    EXPECT_EQ(ui_focused_gadget(), c.field);
    EXPECT_EQ(ui_text(GADGET_TIER_FIRST + 6), "3+2:1");  // counters untouched
    EXPECT_EQ(ui_item_text(GADGET_DRAW_LIST, 0, 24), "");
  }
}

TEST_F(MainTabTest, ResultFieldsTurnRedWhileOutOfRange) {
  struct Case {
    int field;
    const char* text;
    bool red;
  } cases[] = {{136, "51", true}, {136, "7", false}, {136, "", false}, {140, "50", false},
               {140, "0", true},  {141, "13", true}, {142, "12", false}};
  for (const Case& c : cases) {
    ui_test_type(c.field, c.text);
    run_pending_events();
    EXPECT_EQ(ui_colour(c.field, UI_BACK), c.red ? kRed : UI_DEFAULT_COLOUR)
        << c.field << " '" << c.text << "'";
  }
}

// Every window wide open except the first number's, so that only the order
// of the typed numbers decides.
TEST_F(MainTabTest, ValidateHandsTheTypedOrderToTheFilter) {
  for (TechniqueTable& t : g_techniques) {
    t.min = 0;
    t.max = 999;
  }
  g_max_number_sequence = 5;
  g_max_common_numbers = 5;
  g_techniques[T_tallest_first].max = 10;
  struct Case {
    std::vector<std::string> typed;
    const char* answer;
  } cases[] = {{{"3", "17", "22", "40", "48", "2", "11"}, "Draw is valid."},
               {{"17", "3", "22", "40", "48", "2", "11"}, "Draw is invalid."}};
  for (const Case& c : cases) {
    type_result(c.typed);
    press(GADGET_VALIDATE);
    expect_single_message("Warning!", c.answer);
  }
  // Stars are judged too, only after the numbers passed.
  g_techniques[T_sum_stars].max = 5;
  type_result({"3", "17", "22", "40", "48", "2", "11"});
  press(GADGET_VALIDATE);
  expect_single_message("Warning!", "Draw is invalid.");
  // The range check comes first.
  ui_test_type(138, "");
  run_pending_events();
  press(GADGET_VALIDATE);
  expect_single_message(translate("Warning!"), translate("The numbers must be in the range 1:") + "50");
}

TEST_F(MainTabTest, PasteAcceptsSixBlanksAfterThePlusIsDropped) {
  const std::vector<std::string> typed = {"1", "2", "3", "4", "5", "6", "7"};
  const std::vector<std::string> drawn = {"3", "17", "22", "40", "48", "2", "11"};
  struct Case {
    const char* clipboard;
    const char* refusal;  // nullptr: accepted
    std::vector<std::string> fields;
  };
  const std::vector<Case> cases = {
      {"3 17 22 40 48 + 2 11", nullptr, drawn},
      {"3 17 22 40 48 2 11", nullptr, drawn},
      // Six blanks, so accepted as it stands; the range check refuses "+2" later.
      {"3 17 22 40 48 +2 11", nullptr, {"3", "17", "22", "40", "48", "+2", "11"}},
      {"3 17  22 40 48 + 2 11", "Invalid draw in clipboard.", typed},
      {"3 17 22 40 48 + 2 11 ", "Invalid draw in clipboard.", typed},
      {"3,17,22,40,48,2,11", "Invalid draw in clipboard.", typed},
      // A value longer than a field lets the player type is kept whole, so
      // that the range check refuses it instead of reading another number.
      {"3 17 22 40 148 + 2 11", nullptr, {"3", "17", "22", "40", "148", "2", "11"}},
      {"3 17 22 40 48 + 2 011", nullptr, {"3", "17", "22", "40", "48", "2", "011"}},
      {"3 17 22 40 48 + 2 11\n", nullptr, {"3", "17", "22", "40", "48", "2", "11\n"}},
      {"", "No draw in clipboard.", typed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.clipboard);
    type_result(typed);
    ui_test_set_clipboard(c.clipboard);
    press(GADGET_PASTE);
    if (c.refusal == nullptr) EXPECT_TRUE(ui_test_messages().empty());
    else expect_single_message(translate("Warning!"), translate(c.refusal));
    EXPECT_EQ(result_texts(), c.fields);
  }
  // A pasted value too long for a field is refused by the range check, not
  // read as its first two digits.
  list_tickets({{"3,14,22,40,48", "2,11"}});
  ui_test_set_clipboard("3 17 22 40 148 + 2 11");
  press(GADGET_PASTE);
  press(GADGET_CHECK_PRIZES);
  expect_single_message(translate("Warning!"),
                        translate("The numbers must be in the range 1:") + "50");
  EXPECT_EQ(ui_focused_gadget(), GADGET_RESULT_NUMBER_FIRST + 4);
  EXPECT_EQ(g_hits_4_2, 0);
  // The clear button empties all seven.
  press(GADGET_CLEAR_RESULT);
  EXPECT_EQ(result_texts(), std::vector<std::string>(7, ""));
}

TEST_F(MainTabTest, ClearEmptiesTheListAndItsSummary) {
  g_use_special_techniques = 0;
  g_draws_to_generate = 1000;
  press(GADGET_GENERATE);
  ASSERT_EQ(g_draw_count, 1000);
  type_result({"3", "17", "22", "40", "48", "2", "11"});
  press(GADGET_CHECK_PRIZES);
  g_common_rejections = 4;
  g_preview_valid = 1;
  press(GADGET_CLEAR_LIST);
  EXPECT_TRUE(ui_test_messages().empty());
  EXPECT_EQ(g_draw_count, 0);
  EXPECT_EQ(ui_count_items(GADGET_DRAW_LIST), 0);
  EXPECT_EQ(ui_text(GADGET_DRAWS_LABEL), translate("Draws:") + "0/1000");
  EXPECT_EQ(ui_text(GADGET_COST_LABEL), translate("  Cost:") + "0.00 EUR");
  for (int k = 0; k < 18; ++k) EXPECT_EQ(ui_text(GADGET_TIER_FIRST + k), tier_text(k) + "0");
  EXPECT_EQ(ui_text(GADGET_REPEATED_LABEL), translate("  Repeated:") + "0");
  EXPECT_EQ(ui_text(GADGET_TECHNIQUES_LABEL), translate("Techniques:") + "0");
  EXPECT_EQ(ui_text(GADGET_COMMON_LABEL), "(" + translate("Max Common Numbers:") + "0)");
  EXPECT_EQ(g_common_rejections, 4);
  EXPECT_EQ(g_preview_valid, 0);
  EXPECT_EQ(ticket_is_listed(g_draw_numbers[1], g_draw_stars[1]), 0);
}

TEST_F(MainTabTest, ControlsDoNothingWhileAnotherTabIsShown) {
  ui_test_select_tab(GADGET_PANEL, TAB_PREFERENCES);
  run_pending_events();
  press(GADGET_PREVIEW);
  press(GADGET_CHECK_PRIZES);
  EXPECT_TRUE(ui_test_messages().empty());
  ui_test_select_tab(GADGET_PANEL, TAB_MAIN);
  run_pending_events();
  press(GADGET_PREVIEW);
  expect_single_message(translate("Warning!"), translate("No draws found."));
}

// What the preview showed while it was open, read from the idle hook.
struct PreviewSight {
  bool open = false;
  bool main_disabled = false;
  std::vector<int64_t> number_back, star_back, number_front, star_front;
  std::string played_numbers, played_stars, unhit_numbers, unhit_stars;
};

class PreviewTest : public MainTabTest {
 protected:
  // Opens the preview; the hook reads it once and then presses `leave`
  // (a gadget number, or -1 for the Escape key).
  PreviewSight preview(int leave = GADGET_PREVIEW_CLOSE) {
    PreviewSight sight;
    ui_test_set_idle_hook([&sight, leave] {
      // The legend's last label is made once everything else is shown.
      if (!ui_gadget_exists(GADGET_PREVIEW_UNHIT_STARS) || sight.open) return;
      sight.open = true;
      sight.main_disabled = ui_window_disabled(WINDOW_MAIN);
      sight.number_back.push_back(0);
      sight.number_front.push_back(0);
      for (int n = 1; n <= PREVIEW_NUMBER_CELLS; ++n) {
        sight.number_back.push_back(ui_colour(GADGET_PREVIEW_NUMBER_BASE + n, UI_BACK));
        sight.number_front.push_back(ui_colour(GADGET_PREVIEW_NUMBER_BASE + n, UI_FRONT));
      }
      sight.star_back.push_back(0);
      sight.star_front.push_back(0);
      for (int s = 1; s <= PREVIEW_STAR_CELLS; ++s) {
        sight.star_back.push_back(ui_colour(GADGET_PREVIEW_STAR_BASE + s, UI_BACK));
        sight.star_front.push_back(ui_colour(GADGET_PREVIEW_STAR_BASE + s, UI_FRONT));
      }
      sight.played_numbers = ui_text(GADGET_PREVIEW_PLAYED_NUMBERS);
      sight.played_stars = ui_text(GADGET_PREVIEW_PLAYED_STARS);
      sight.unhit_numbers = ui_text(GADGET_PREVIEW_UNHIT_NUMBERS);
      sight.unhit_stars = ui_text(GADGET_PREVIEW_UNHIT_STARS);
      if (leave < 0) ui_test_key(WINDOW_PREVIEW, UI_KEY_ESCAPE);
      else ui_test_click(leave);
    });
    press(GADGET_PREVIEW);
    ui_test_set_idle_hook(nullptr);
    return sight;
  }
};

// Tickets over the 31 numbers 8..37 and 44, and every star.
std::vector<Ticket> tickets_over_31_numbers() {
  return {{"8,9,10,11,12", "1,2"},     {"13,14,15,16,17", "3,4"}, {"18,19,20,21,22", "5,6"},
          {"23,24,25,26,27", "7,8"},   {"28,29,30,31,32", "9,10"}, {"33,34,35,36,37", "11,12"},
          {"8,9,10,11,44", "1,2"}};
}

TEST_F(PreviewTest, MarksPlayedAndUnhitValuesAndCountsThem) {
  list_tickets(tickets_over_31_numbers());
  type_result({"7", "44", "", "", "", "", ""});
  PreviewSight sight = preview();
  ASSERT_TRUE(sight.open);
  EXPECT_TRUE(sight.main_disabled);
  EXPECT_FALSE(ui_window_exists(WINDOW_PREVIEW));
  EXPECT_FALSE(ui_window_disabled(WINDOW_MAIN));
  for (int n = 1; n <= 54; ++n) {
    SCOPED_TRACE(n);
    bool played = (n >= 8 && n <= 37) || n == 44;
    int64_t back = played ? kPlayedGreen : n == 7 ? kRed : UI_DEFAULT_COLOUR;
    EXPECT_EQ(sight.number_back[n], back);
    EXPECT_EQ(sight.number_front[n], n <= 50 ? 0 : kGrey);
  }
  for (int s = 1; s <= 15; ++s) {
    EXPECT_EQ(sight.star_back[s], s <= 12 ? kPlayedGreen : UI_DEFAULT_COLOUR) << s;
    EXPECT_EQ(sight.star_front[s], s <= 12 ? 0 : kGrey) << s;
  }
  EXPECT_EQ(sight.played_numbers, "\u26AB 31/50");
  EXPECT_EQ(sight.played_stars, " \u2605 12/12");
  EXPECT_EQ(sight.unhit_numbers, "\u26AB 1/5");
  EXPECT_EQ(sight.unhit_stars, " \u2605 0/2");
  EXPECT_EQ(g_preview_valid, 1);
}

// A result with a value typed twice would be marked and counted twice: the
// preview refuses it with the message and focus of Check for Prizes, and
// opens nothing. Fields without a value repeat nothing.
TEST_F(PreviewTest, AResultWithARepeatedValueIsRefused) {
  list_tickets(tickets_over_31_numbers());
  struct Case {
    std::vector<std::string> typed;
    int focus;
  } cases[] = {
      {{"44", "44", "3", "17", "22", "9", "9"}, 137},
      {{"3", "17", "22", "40", "48", "9", "9"}, 142},
      {{"5", "17", "22", "40", "05", "2", "11"}, 140},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.focus);
    type_result(c.typed);
    ui_set_focus(GADGET_GENERATE);
    PreviewSight sight = preview();
    expect_single_message(translate("Warning!"),
                          translate("The numbers and the stars of a result must all be different."));
    EXPECT_EQ(ui_focused_gadget(), c.focus);
    EXPECT_FALSE(sight.open);
    EXPECT_FALSE(ui_window_exists(WINDOW_PREVIEW));
    EXPECT_FALSE(ui_window_disabled(WINDOW_MAIN));
    EXPECT_EQ(g_preview_valid, 0);  // nothing built
  }
  type_result({"7", "", "", "0", "0", "13", "13"});
  PreviewSight sight = preview();
  EXPECT_TRUE(ui_test_messages().empty());
  ASSERT_TRUE(sight.open);
  EXPECT_EQ(sight.unhit_numbers, "\u26AB 1/5");
  EXPECT_EQ(sight.unhit_stars, " \u2605 0/2");
}

// The result fields take whole numbers only: "2.5", which only a paste can
// put there, is refused like any text that is not a number by Check for
// Prizes and Validate, and the preview marks nothing for it (where it read
// 2 before).
TEST_F(PreviewTest, AResultValueWithDecimalsIsNoNumber) {
  list_tickets(tickets_over_31_numbers());
  struct Case {
    const char* clipboard;
    int field;
    bool star;
  } cases[] = {{"3 17 22 40 2.5 + 2 11", 140, false},
               {"2.0 17 22 40 48 + 2 11", 136, false},
               {"3 17 22 40 48 + 1.5 11", 141, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.clipboard);
    ui_test_set_clipboard(c.clipboard);
    press(GADGET_PASTE);
    ASSERT_TRUE(ui_test_messages().empty());
    for (int action : {GADGET_CHECK_PRIZES, GADGET_VALIDATE}) {
      ui_set_focus(GADGET_GENERATE);
      press(action);
      expect_single_message(translate("Warning!"),
                            c.star ? translate("The stars must be in the range 1:") + "12"
                                   : translate("The numbers must be in the range 1:") + "50");
      EXPECT_EQ(ui_focused_gadget(), c.field);
      EXPECT_EQ(ui_text(GADGET_TIER_FIRST + 17), "0+0:0");
      EXPECT_EQ(ui_item_text(GADGET_DRAW_LIST, 0, 24), "");
    }
  }
  // Number 2 and star 1 would be unhit; 1.5 and 2.5 name neither.
  ui_test_set_clipboard("3 17 22 40 2.5 + 1.5 11");
  press(GADGET_PASTE);
  PreviewSight sight = preview();
  ASSERT_TRUE(sight.open);
  EXPECT_TRUE(ui_test_messages().empty());
  EXPECT_EQ(sight.number_back[2], UI_DEFAULT_COLOUR);
  EXPECT_EQ(sight.number_back[3], kRed);
  EXPECT_EQ(sight.unhit_numbers, "\u26AB 2/5");  // 3 and 40
  EXPECT_EQ(sight.unhit_stars, " \u2605 0/2");
}

TEST_F(PreviewTest, CacheIsRebuiltOnlyAfterTheListChanged) {
  list_tickets(tickets_over_31_numbers());
  ASSERT_TRUE(preview().open);
  ASSERT_EQ(g_preview_valid, 1);
  // A mark that no ticket makes survives a second preview: nothing rebuilt it.
  g_played_numbers[50] = 1;
  PreviewSight again = preview();
  EXPECT_EQ(again.number_back[50], kPlayedGreen);
  EXPECT_EQ(again.played_numbers, "\u26AB 32/50");

  press(GADGET_CLEAR_LIST);
  g_use_special_techniques = 0;
  g_draws_to_generate = 3;
  press(GADGET_GENERATE);
  ASSERT_EQ(g_preview_valid, 0);
  PreviewSight fresh = preview();
  int64_t played = 0;
  for (int n = 1; n <= 50; ++n) played += fresh.number_back[n] == kPlayedGreen;
  EXPECT_LE(played, 15);
  EXPECT_EQ(fresh.played_numbers, "\u26AB " + str_int(played) + "/50");
}

TEST_F(PreviewTest, EscapeClosesLikeTheCloseButton) {
  list_tickets({{"1,2,3,4,5", "1,2"}});
  PreviewSight sight = preview(-1);
  ASSERT_TRUE(sight.open);
  EXPECT_FALSE(ui_window_exists(WINDOW_PREVIEW));
  EXPECT_FALSE(ui_window_disabled(WINDOW_MAIN));
}

TEST_F(PreviewTest, EscapeDuringTheRebuildAsksAndYesAbandonsIt) {
  std::vector<Ticket> many;
  for (int i = 0; i < 2000; ++i) many.push_back({"1,2,3,4,5", "1,2"});
  for (int answer : {UI_ANSWER_YES, UI_ANSWER_NO}) {
    SCOPED_TRACE(answer);
    list_tickets(many);
    ui_test_clear_messages();
    ui_test_push_message_answer(answer);
    bool pressed = false;
    ui_test_set_idle_hook([&] {
      if (!ui_window_exists(WINDOW_PREVIEW)) return;
      if (!pressed) {
        pressed = true;
        ui_test_key(WINDOW_PREVIEW, UI_KEY_ESCAPE);
      } else if (g_preview_valid == 1) {
        ui_test_click(GADGET_PREVIEW_CLOSE);
      }
    });
    ui_test_click(GADGET_PREVIEW);
    run_pending_events();
    ui_test_set_idle_hook(nullptr);
    ASSERT_EQ(ui_test_messages().size(), 1u);
    EXPECT_EQ(ui_test_messages()[0].text, translate("Really abort?"));
    EXPECT_EQ(ui_test_messages()[0].flags,
              static_cast<unsigned>(UI_MESSAGE_YES_NO | UI_ICON_WARNING));
    EXPECT_EQ(g_preview_valid, answer == UI_ANSWER_YES ? 0 : 1);
    EXPECT_FALSE(ui_window_exists(WINDOW_PREVIEW));
    EXPECT_FALSE(ui_window_disabled(WINDOW_MAIN));
  }
}

}  // namespace
