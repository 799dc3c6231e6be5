// Hostile input through the whole program: files and clipboard texts that no
// version of the program writes, read at start-up or through the player's
// actions, and then used by everything that reads what they left (the
// filter, Validate, the prize check, the preview, Remove, the extract). The
// sanitizer build runs these too, so an out-of-bounds index, a signed
// overflow or a leak on any of these roads fails them. Inputs that the fuzz
// targets found to break something are kept here as well.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/core.h"
#include "core/ids.h"
#include "core/state.h"
#include "core/text.h"
#include "draws/draws.h"
#include "draws/main_tab_ids.h"
#include "draws/selection.h"
#include "support/draws_support.h"
#include "support/program_fixture.h"
#include "support/test_support.h"
#include "techniques/catalogue.h"
#include "techniques/tab_gadgets.h"
#include "techniques/techniques.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

void import_lines(const std::string& dir, const std::string& lines) {
  write_file_bytes(dir + "/past.txt", lines);
  ui_test_push_file_answer(dir + "/past.txt");
  ui_test_select_tab(GADGET_PANEL, TAB_TECHNIQUES);
  click_gadget(GADGET_OPEN_DATABASE);
}

const char* const kPastResults =
    "00001 2004-02-13 16 29 32 36 41 +07 +09\n"
    "00002 2004-02-20 07 13 39 47 50 +02 +05\n"
    "00003 2004-02-27 14 18 19 31 37 +04 +05\n";

// Puts a result into the seven result fields as typed.
void type_result(const std::vector<std::string>& values) {
  for (size_t k = 0; k < values.size(); ++k)
    ui_set_text(GADGET_RESULT_NUMBER_FIRST + static_cast<int>(k), values[k]);
}

// The fast filter and the literal one give the same answers on every input.
void expect_filters_agree(const std::string& numbers, const std::string& stars) {
  invalidate_candidate_filter();
  EXPECT_EQ(check_number_techniques(numbers), check_number_techniques_literal(numbers)) << numbers;
  EXPECT_EQ(check_star_windows(stars), check_star_windows_literal(stars)) << stars;
}

const char* const kOddTickets[][2] = {
    {"3,17,22,41,50", "2,11"},
    {"2147483647,2147483647,2147483647,2147483647,2147483647", "2147483647,2147483647"},
    {"-2147483648,0,99,-1,1000", "-5,13"},
    {"$7FFFFFFFFFFFFFFF,%1,,x,9223372036854775807", "$FFFFFFFFFFFFFFFF,-9223372036854775808"},
    {"", ""},
    {"1,2,3,4,5,6,7,8,9,10,11,12,13", "1,2,3,4,5,6,7,8,9,10,11,12,13"},
};

// Every settings slot at an extreme: the start-up shows them, every field's
// check, Validate, Remove and the filter work on windows far outside their
// tables, and Save Techniques writes them back unchanged.
TEST(BadInput, TechniqueSettingsAtTheExtremesAreUsedSafely) {
  for (int64_t v : {int64_t{INT32_MAX}, int64_t{INT32_MIN}, int64_t{-1}, int64_t{999}, int64_t{1000}}) {
    SCOPED_TRACE(v);
    std::string file = "2\n";
    for (int k = 0; k < TECHNIQUE_SLOT_COUNT; ++k) file += le32_bytes(v);
    const std::string dir = start_program_for_test(1, [&] {
      std::filesystem::create_directory("settings");
      write_file_bytes("settings/techniques.prefs", file);
    });
    for (const TechniqueSlot& slot : g_technique_slots) {
      ASSERT_EQ(*slot.value, v);
      EXPECT_EQ(ui_text(slot.field), str_int(v));
      ui_test_type(slot.field, ui_text(slot.field));
    }
    ui_test_select_tab(GADGET_PANEL, TAB_TECHNIQUES);
    run_pending_events();
    for (const auto& t : kOddTickets) expect_filters_agree(t[0], t[1]);

    ui_test_select_tab(GADGET_PANEL, TAB_MAIN);
    type_result({"3", "17", "22", "40", "48", "2", "11"});
    click_gadget(GADGET_VALIDATE);
    ASSERT_FALSE(ui_test_messages().empty());
    EXPECT_EQ(ui_test_messages().back().text.substr(0, 8), "Draw is ");

    import_lines(dir, kPastResults);
    ASSERT_EQ(g_database_draw_count, 3);
    click_gadget(GADGET_REMOVE);
    for (const auto& t : kOddTickets) expect_filters_agree(t[0], t[1]);
    click_gadget(GADGET_SAVE_TECHNIQUES);
    EXPECT_EQ(read_file_bytes("settings/techniques.prefs").size(), 678u);
  }
}

// Past results whose entries are not numbers of 1..50 and 1..12: the import
// stops at the first of them, and the engine, given such entries all the
// same, learns, removes and filters without reading past a table: Learn,
// Remove and the Statistics tab skip what has no cell.
TEST(BadInput, PastResultsOutOfRangeAreLearnedAndRemovedSafely) {
  const std::string dir = start_program_for_test();
  const std::vector<std::string> odd_entries = {
      "99 99 99 99 99 99 99", "-1 -2 -3 -4 -5 -1 -2", "$F %1 xx 00 50 00 12",
      "50 40 30 20 10 12 01", "07 07 07 07 07 07 07"};
  std::string lines = "# entries of every kind that pass the line checks\n"
                      "00001 2004-02-13 16 29 32 36 41 +07 +09\n";
  for (const std::string& e : odd_entries)
    lines += "00002 2004-02-20 " + text_left(e, 15) + "+" + text_mid(e, 16, 2) + " +" + text_mid(e, 19, 2) + "\n";
  import_lines(dir, lines);
  ASSERT_EQ(ui_test_messages().size(), 1u);
  EXPECT_EQ(ui_test_messages()[0].text, "Invalid number or star in line:3");
  ASSERT_EQ(g_database_draw_count, 1);

  g_database_draws.assign(1, "");
  for (const std::string& e : odd_entries) g_database_draws.push_back(e);
  g_database_draw_count = static_cast<int64_t>(odd_entries.size());
  ui_test_select_tab(GADGET_PANEL, TAB_TECHNIQUES);
  click_gadget(GADGET_LEARN);
  EXPECT_GT(g_techniques[T_sum_numbers].max, 0) << "Learn ran";
  click_gadget(GADGET_REMOVE);
  for (const auto& t : kOddTickets) expect_filters_agree(t[0], t[1]);
  for (int64_t i = 1; i <= g_database_draw_count; ++i) {
    std::string entry = replace_string(g_database_draws[static_cast<size_t>(i)], " ", ",");
    expect_filters_agree(entry, string_field(g_database_draws[static_cast<size_t>(i)], 6, " "));
  }
}

// A draws file that announces more tickets than it holds, with tickets no
// generator makes, is refused whole and the list stays; listed all the same,
// those tickets are checked, previewed, extracted and saved without reading
// past a table.
TEST(BadInput, ADrawsFileOfOddTicketsIsCheckedPreviewedAndWritten) {
  const std::string dir = start_program_for_test();
  std::string file = "LOTTODRAWSFILE-1.01\r\n\r\n\r\n\r\n\r\n1000\r\n11\r\n12\r\n\r\n";
  int index = 1;
  for (const auto& t : kOddTickets) file += "#:" + str_int(index++) + "\r\n" + t[0] + "\r\n" + t[1] + "\r\n";
  write_file_bytes(dir + "/odd.draws.txt", file);
  list_tickets({{"1,2,3,4,5", "1,2"}});
  open_draws_file(dir + "/odd.draws.txt");
  expect_single_message("Error", "Not a valid draws file.");
  ASSERT_EQ(g_draw_count, 1);
  EXPECT_EQ(ui_count_items(GADGET_DRAW_LIST), 1);

  std::vector<Ticket> odd;
  for (const auto& t : kOddTickets) odd.push_back({t[0], t[1]});
  list_tickets(odd);
  g_numbers_per_draw = 11;
  g_stars_per_draw = 12;
  for (int64_t i = 1; i <= g_draw_count; ++i) expect_filters_agree(g_draw_numbers[i], g_draw_stars[i]);

  ui_test_select_tab(GADGET_PANEL, TAB_MAIN);
  type_result({"3", "17", "22", "40", "48", "2", "11"});
  click_gadget(GADGET_CHECK_PRIZES);
  EXPECT_EQ(ui_item_text(GADGET_DRAW_LIST, 0, 24), "3");
  ui_test_set_idle_hook([] { ui_test_click(GADGET_PREVIEW_CLOSE); });
  click_gadget(GADGET_PREVIEW);
  ui_test_set_idle_hook(nullptr);

  ui_test_push_file_answer(dir + "/odd.txt");
  click_gadget(GADGET_EXTRACT);
  EXPECT_NE(read_file_bytes(dir + "/odd.txt").find("2147483647 2147483647 2147483647 2147483647 2147483647 "),
            std::string::npos);
  ui_test_push_file_answer(dir + "/copy.draws.txt");
  click_gadget(GADGET_SAVE_DRAWS_AS);
  EXPECT_NE(read_file_bytes(dir + "/copy.draws.txt").find("\r\n-2147483648,0,99,-1,1000\r\n-5,13\r\n"),
            std::string::npos);
  // What the program could write from such a list, it refuses to read back.
  ui_test_clear_messages();
  open_draws_file(dir + "/copy.draws.txt");
  expect_single_message("Error", "Not a valid draws file.");
  EXPECT_EQ(g_draw_count, 6);
}

// Pasted results of every size: the fields take what the rule gives, and the
// prize check and Validate refuse what is out of range, while the preview
// marks only values it has a cell for.
TEST(BadInput, PastedResultsOfEveryKindAreCheckedSafely) {
  const std::string dir = start_program_for_test();
  size_draw_list(1);
  g_draw_count = 1;
  add_draw_to_list("3,17,22,41,50", "2,11");
  const char* const pastes[] = {
      "3 17 22 40 48 + 2 11",
      "2147483647 2147483647 2147483647 2147483647 2147483647 + 2147483647 2147483647",
      "-1 0 99 $FF %1 + -2 13",
      "9223372036854775807 9223372036854775808 x y z + 1 1",
      "      ",
      "1 2 3 4 5 + 1 2\r\n",
  };
  for (const char* paste : pastes) {
    SCOPED_TRACE(paste);
    ui_test_clear_messages();
    ui_test_set_clipboard(paste);
    click_gadget(GADGET_PASTE);
    click_gadget(GADGET_CHECK_PRIZES);
    click_gadget(GADGET_VALIDATE);
    ui_test_set_idle_hook([] { ui_test_click(GADGET_PREVIEW_CLOSE); });
    click_gadget(GADGET_PREVIEW);
    ui_test_set_idle_hook(nullptr);
    EXPECT_FALSE(ui_test_messages().empty());
  }
}

}  // namespace
