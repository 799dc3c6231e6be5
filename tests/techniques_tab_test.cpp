// The Techniques tab: its gadgets, the transfer between fields and windows,
// the field check, Reset and Save Techniques, the association grid and the
// Tarvik rules window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/core.h"
#include "core/ids.h"
#include "core/text.h"
#include "support/program_fixture.h"
#include "support/test_support.h"
#include "techniques/catalogue.h"
#include "techniques/tab_gadgets.h"
#include "techniques/techniques.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

constexpr int64_t kRed = 255;
constexpr int64_t kYellow = 65535;

class TechniquesTab : public ::testing::Test {
 protected:
  void SetUp() override { start_with_techniques_tab(); }
  void TearDown() override { ui_test_set_idle_hook(nullptr); }
};

std::string slot_text(int k) { return ui_text(g_technique_slots[k - 1].field); }

// The 169 slots of a technique settings file, as signed 32-bit values.
std::vector<int32_t> saved_slots() {
  std::string bytes = read_file_bytes("settings/techniques.prefs");
  std::vector<int32_t> slots;
  if (bytes.size() != 678 || bytes.compare(0, 2, "2\n") != 0) return slots;
  for (int k = 0; k < TECHNIQUE_SLOT_COUNT; ++k) {
    uint32_t v = 0;
    for (int b = 3; b >= 0; --b) v = (v << 8) | static_cast<unsigned char>(bytes[2 + 4 * k + b]);
    slots.push_back(static_cast<int32_t>(v));
  }
  return slots;
}

// Every slot shows what a window that learned nothing holds.
void expect_not_learned_fields() {
  for (int k = 1; k <= TECHNIQUE_SLOT_COUNT; ++k) {
    const TechniqueSlot& slot = g_technique_slots[k - 1];
    std::string expected;
    if (k == 6) {
      expected = "3";
    } else if (k == 9) {
      expected = "1";
    } else {
      const TechniqueTable& t = g_techniques[slot.technique];
      expected = slot.value == &t.min ? "999" : "0";
    }
    EXPECT_EQ(slot_text(k), expected) << "slot " << k << ", field " << slot.field;
  }
}

// Runs `steps` one by one, each time a loop of the program finds no event.
void script_idle_steps(std::vector<std::function<void()>> steps) {
  auto remaining = std::make_shared<std::vector<std::function<void()>>>(std::move(steps));
  auto next = std::make_shared<size_t>(0);
  ui_test_set_idle_hook([remaining, next] {
    if (*next < remaining->size()) (*remaining)[(*next)++]();
  });
}

// Open's dialog starts in the data/ folder of the program directory, else in
// that of an installed program, and names no file; with neither, it starts
// where the toolkit puts it.
TEST_F(TechniquesTab, OpenStartsInTheProgramsDataFolder) {
  namespace fs = std::filesystem;
  const std::string dir = fs::current_path().string();
  const std::string installed = dir + "/usr/share/kestrova/";
  struct Case {
    const char* name;
    std::function<void()> arrange;
    std::string folder;
  };
  const Case cases[] = {
      {"neither", [] {}, ""},
      {"a file named data", [dir] { write_file_bytes(dir + "/data", "00001"); }, ""},
      {"installed only", [installed] { fs::create_directories(installed + "data"); }, installed + "data/"},
      {"an installation without data/", [installed] { fs::remove_all(installed + "data"); }, ""},
      {"both",
       [dir, installed] {
         fs::remove(dir + "/data");
         fs::create_directories(dir + "/data");
         fs::create_directories(installed + "data");
       },
       dir + "/data/"},
  };
  g_installed_data_dir = installed;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.arrange();
    import_file_through_open("");
    ASSERT_FALSE(ui_test_file_dialogs().empty());
    EXPECT_EQ(ui_test_file_dialogs().back().default_path, c.folder);
  }
  // Without an installation the program directory's data/ still counts.
  g_installed_data_dir = "";
  import_file_through_open("");
  EXPECT_EQ(ui_test_file_dialogs().back().default_path, dir + "/data/");
  EXPECT_TRUE(ui_test_messages().empty());
}

TEST_F(TechniquesTab, StartsWithWindowsNotLearned) {
  expect_not_learned_fields();
  EXPECT_EQ(ui_text(GADGET_MAX_COMMON_NUMBERS), "3");
  EXPECT_EQ(ui_text(GADGET_MAX_SEQUENCE), "1");
  EXPECT_EQ(ui_text(GADGET_MAX_STAR_SEQUENCE), "1");
  EXPECT_EQ(ui_text(GADGET_REMOVE_THRESHOLD), "1");
  EXPECT_EQ(ui_state(GADGET_REMOVE_THRESHOLD), 1);
  EXPECT_EQ(ui_text(GADGET_DATABASE_FILE), "File:N/A");
  EXPECT_EQ(ui_text(GADGET_DRAWS_IMPORTED), "Draws Imported:0");
  EXPECT_EQ(ui_text(GADGET_INFORMATION_THEORY_LABEL), "Information Theory Removed:N/A");
  EXPECT_EQ(ui_state(GADGET_TECHNIQUE_PANEL), TECHNIQUE_PAGE_1);
  for (const TechniqueSlot& slot : g_technique_slots)
    EXPECT_EQ(ui_colour(slot.field, UI_BACK), UI_DEFAULT_COLOUR) << slot.field;
  EXPECT_EQ(ui_colour(GADGET_REMOVE_LABEL, UI_FRONT), kRed);
}

TEST_F(TechniquesTab, GadgetsStandWhereTheLayoutPutsThem) {
  struct Place {
    int gadget, x, y, w, h;
  };
  const std::vector<Place> places = {
      {GADGET_RESET, 10, 507, 90, 34},          {GADGET_LEARN, 110, 507, 90, 34},
      {GADGET_TARVIK, 210, 507, 90, 34},        {GADGET_REMOVE, 10, 549, 90, 34},
      {GADGET_REMOVE_LABEL, 105, 552, 140, 18}, {GADGET_REMOVE_THRESHOLD, 252, 549, 56, 34},
      {GADGET_DATABASE_FRAME, 495, 498, 684, 82}, {GADGET_DATABASE_FILE, 500, 510, 535, 18},
      {GADGET_OPEN_DATABASE, 500, 536, 90, 34}, {GADGET_DRAWS_IMPORTED, 595, 536, 300, 18},
      {GADGET_SAVE_TECHNIQUES, 1189, 534, 136, 41}, {GADGET_TECHNIQUE_PANEL, 10, 10, 1321, 489},
      // Frames and fields inside the pages.
      {374, 10, 10, 100, 85},   {375, 20, 31, 30, 16},   {376, 54, 31, 40, 23},
      {378, 54, 56, 40, 23},    {390, 362, 31, 40, 23},  {429, 10, 105, 150, 60},
      {430, 20, 126, 40, 23},   {439, 10, 175, 666, 125}, {440, 20, 196, 30, 16},
      {441, 20, 217, 22, 16},   {442, 46, 217, 40, 23},  {458, 630, 217, 40, 23},
      {459, 20, 242, 30, 16},   {461, 46, 263, 40, 23},  {477, 630, 263, 40, 23},
      {565, 20, 52, 22, 16},    {571, 46, 52, 40, 23},   {589, 411, 98, 40, 23},
      {747, 849, 187, 40, 23},  {772, 849, 233, 40, 23}, {779, 145, 31, 40, 23},
      {780, 942, 155, 316, 140}, {813, 1124, 393, 40, 23},
      // Association blocks.
      {609, 10, 145, 451, 313}, {615, 15, 170, 155, 16}, {616, 175, 170, 60, 28},
      {617, 15, 205, 28, 24},   {670, 175, 429, 28, 24}, {611, 215, 400, 110, 25},
      {614, 330, 428, 110, 25}, {875, 471, 145, 451, 313}, {877, 636, 170, 60, 28},
      {889, 540, 289, 28, 24},  {890, 676, 260, 110, 25}, {893, 791, 288, 110, 25},
  };
  for (const Place& p : places) {
    SCOPED_TRACE(p.gadget);
    ASSERT_TRUE(ui_gadget_exists(p.gadget));
    EXPECT_EQ(ui_x(p.gadget), p.x);
    EXPECT_EQ(ui_y(p.gadget), p.y);
    EXPECT_EQ(ui_width(p.gadget), p.w);
    EXPECT_EQ(ui_height(p.gadget), p.h);
  }
  EXPECT_EQ(ui_x(GADGET_INFORMATION_THEORY_LABEL), 215);
  EXPECT_EQ(ui_y(GADGET_INFORMATION_THEORY_LABEL), 372);
  EXPECT_GT(ui_width(GADGET_INFORMATION_THEORY_LABEL), 30);
  // Every gadget number of the tab exists; 370..373 are the rules window and
  // its gadgets.
  for (int g = GADGET_TECHNIQUES_FIRST; g <= GADGET_TECHNIQUES_LAST; ++g)
    if (g < 370 || g > 373) EXPECT_TRUE(ui_gadget_exists(g)) << g;
}

TEST_F(TechniquesTab, CaptionsAreTranslatedOnce) {
  EXPECT_EQ(ui_text(GADGET_RESET), "Reset");
  EXPECT_EQ(ui_text(GADGET_SAVE_TECHNIQUES), "Save Techniques");
  EXPECT_EQ(ui_text(GADGET_REMOVE_LABEL), "Remove Chances % ≤:");
  EXPECT_EQ(ui_text(374), "Sum Nrs");
  EXPECT_EQ(ui_text(420), "Half Low/High");  // the key "Low/High"
  EXPECT_EQ(ui_text(411), "Half Left/Right");
  EXPECT_EQ(ui_text(671), "Diagonals: Right→Left");
  EXPECT_EQ(ui_text(375), "Max:");
  EXPECT_EQ(ui_text(377), "Min:");
  EXPECT_EQ(ui_text(565), "0x:");
  EXPECT_EQ(ui_text(592), "1:2:");
  EXPECT_EQ(ui_text(525), "0:");
  EXPECT_EQ(ui_text(695), "12:");
  EXPECT_EQ(ui_text(609), "Numbers with Numbers associations (≠)");
  EXPECT_EQ(ui_text(670), "54");
  EXPECT_EQ(ui_count_items(616), 50);
  EXPECT_EQ(ui_count_items(816), 12);
  EXPECT_EQ(ui_state(616), 0);
  for (int g = GADGET_RESET; g <= GADGET_TECHNIQUES_LAST; ++g)
    EXPECT_EQ(ui_text(g).find("???"), std::string::npos) << g << ": " << ui_text(g);
}

TEST_F(TechniquesTab, OnlyTheNumberButtonsAnswerThePlayer) {
  for (int g = GADGET_LEFT_DIAGONALS_FIRST; g <= GADGET_LEFT_DIAGONALS_LAST; ++g)
    EXPECT_TRUE(ui_disabled(g)) << g;
  for (int g : {609, 611, 612, 613, 614, 616}) EXPECT_TRUE(ui_disabled(g)) << g;
  for (int g = 814; g <= 893; ++g)
    if (g != 815 && g != 876) EXPECT_TRUE(ui_disabled(g)) << g;
  // The refresh at start-up brings back the buttons of numbers 1..50.
  for (int g = 617; g <= 666; ++g) EXPECT_FALSE(ui_disabled(g)) << g;
  for (int g = 667; g <= 670; ++g) EXPECT_TRUE(ui_disabled(g)) << g;

  ui_test_type(725, "3");
  ui_test_click(GADGET_NUMBER_ASSOCIATION_CHOOSER + 51);
  EXPECT_EQ(ui_test_queue_length(), 0);
  EXPECT_EQ(ui_text(725), "0");
}

TEST_F(TechniquesTab, FieldTurnsRedOnlyWhenThePlayerEditsIt) {
  struct Case {
    int gadget;
    const char* text;
    bool red;
  };
  const std::vector<Case> cases = {
      {378, "100", false}, {378, "999", true}, {376, "14", true},  {376, "15", false},
      {376, "240", false}, {376, "241", true}, {381, "5", false},  {381, "0", true},
      {434, "46", false}, {434, "47", true},   {432, "43", false}, {432, "44", true},
      {596, "47", false}, {596, "48", true},   {775, "23", false}, {775, "24", true},
      {777, "2", true},   {783, "2", false},   {783, "3", true},   {436, "6", true},
      {GADGET_MAX_SEQUENCE, "12abc", true},    {GADGET_MAX_SEQUENCE, "5", false},
      {GADGET_MAX_STAR_SEQUENCE, "3", true},   {GADGET_MAX_STAR_SEQUENCE, "2", false},
      {GADGET_REMOVE_THRESHOLD, "101", true},  {GADGET_REMOVE_THRESHOLD, "0", false},
      {422, "", true},    {422, "-1", true},   {422, "4", false},
  };
  for (const Case& c : cases) {
    ui_test_type(c.gadget, c.text);
    run_pending_events();
    EXPECT_EQ(ui_colour(c.gadget, UI_BACK), c.red ? kRed : UI_DEFAULT_COLOUR)
        << c.gadget << " holding '" << c.text << "'";
  }
  // The program's own writes run no check: a field keeps its colour, red or
  // not, until an event of its own checks it again.
  ui_test_type(386, "9");
  run_pending_events();
  ASSERT_EQ(ui_colour(386, UI_BACK), kRed);
  show_technique_settings();
  EXPECT_EQ(ui_text(386), "0");
  EXPECT_EQ(ui_colour(386, UI_BACK), kRed);
  EXPECT_EQ(ui_text(383), "999");
  EXPECT_EQ(ui_colour(383, UI_BACK), UI_DEFAULT_COLOUR);
}

TEST_F(TechniquesTab, FieldRangesFollowTheGameSize) {
  g_highest_number = 40;
  g_highest_star = 10;
  ui_test_type(376, "190");  // 5 x 40 - 10
  run_pending_events();
  EXPECT_EQ(ui_colour(376, UI_BACK), UI_DEFAULT_COLOUR);
  ui_test_type(376, "191");
  run_pending_events();
  EXPECT_EQ(ui_colour(376, UI_BACK), kRed);
  ui_test_type(775, "20");  // 2 x 10 - 1
  run_pending_events();
  EXPECT_EQ(ui_colour(775, UI_BACK), kRed);
}

TEST_F(TechniquesTab, SaveTechniquesTakesTheTypedTextsIn) {
  const int low_max = technique_slot_of_field(422) + 1;
  const int sum_max = technique_slot_of_field(376) + 1;
  const int sequence = technique_slot_of_field(GADGET_MAX_SEQUENCE) + 1;
  ui_test_type(422, "12abc");
  ui_test_type(376, "");
  ui_test_type(378, "999");  // red, and saved as typed
  ui_test_type(GADGET_MAX_SEQUENCE, " 4");
  ui_test_type(GADGET_MAX_STAR_SEQUENCE, "2");
  ui_test_click(GADGET_SAVE_TECHNIQUES);
  run_pending_events();
  EXPECT_EQ(g_techniques[T_low].max, 12);
  EXPECT_EQ(g_techniques[T_sum_numbers].max, 0);
  EXPECT_EQ(g_max_number_sequence, 4);
  std::vector<int32_t> slots = saved_slots();
  ASSERT_EQ(slots.size(), 169u);
  EXPECT_EQ(slots[low_max - 1], 12);
  EXPECT_EQ(slots[sum_max - 1], 0);
  EXPECT_EQ(slots[sum_max], 999);
  EXPECT_EQ(slots[sequence - 1], 4);
  // The fields keep what the player typed.
  EXPECT_EQ(ui_text(422), "12abc");
}

TEST_F(TechniquesTab, ResetPutsEveryWindowBackToNotLearned) {
  for (const TechniqueSlot& slot : g_technique_slots) *slot.value = 2;
  show_technique_settings();
  ui_test_type(390, "4");
  ui_test_click(GADGET_RESET);
  run_pending_events();
  expect_not_learned_fields();
  EXPECT_EQ(g_max_common_numbers, 3);
  EXPECT_EQ(g_max_number_sequence, 1);
  // Reset touches no file.
  EXPECT_FALSE(std::filesystem::exists("settings/techniques.prefs"));
  ui_test_click(GADGET_SAVE_TECHNIQUES);
  run_pending_events();
  std::vector<int32_t> slots = saved_slots();
  ASSERT_EQ(slots.size(), 169u);
  for (int k = 1; k <= TECHNIQUE_SLOT_COUNT; ++k) {
    const TechniqueSlot& slot = g_technique_slots[k - 1];
    int32_t expected = k == 6 ? 3 : k == 9 ? 1 : slot.value == &g_techniques[slot.technique].min ? 999 : 0;
    EXPECT_EQ(slots[k - 1], expected) << "slot " << k;
  }
}

TEST_F(TechniquesTab, LearnRemoveThenSaveWritesTheLearnedWindows) {
  std::string path = (std::filesystem::current_path() / "one.txt").string();
  write_file_bytes(path, "# one draw\n00001 2004-02-13 01 02 03 04 05 +01 +02\n@end_database\n");
  import_file_through_open(path);
  ASSERT_EQ(g_database_draw_count, 1);
  ui_test_click(GADGET_LEARN);
  ui_test_click(GADGET_REMOVE);
  ui_test_click(GADGET_SAVE_TECHNIQUES);
  run_pending_events();
  EXPECT_TRUE(ui_test_messages().empty());

  // The numbers 1..5 and the stars 1 and 2, slot by slot.
  std::vector<int32_t> expected = {
      15, 15,  // sum of the numbers
      4, 3,    // decades, set to 3..4 by Remove
      3,       // primes 2, 3, 5
      3,       // common numbers, from its field
      1, 1,    // first number, largest gap
      2,       // longest run: learned 5, set to 2 by Remove
      2, 2, 3, 3,                    // even, odd
      5, 5, 0, 0, 5, 5, 0, 0,        // diagonal halves
      0, 0, 0, 0, 5, 5,              // rings
      5, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // decades 0x..5x
  };
  for (int d = 1; d <= 9; ++d) {  // endings 1..9, then 0
    expected.push_back(d <= 5 ? 1 : 0);
    expected.push_back(d <= 5 ? 1 : 0);
  }
  expected.insert(expected.end(), {0, 0});
  expected.insert(expected.end(), {1, 1, 1, 1, 1, 1, 1, 1});  // distances
  expected.insert(expected.end(), {5, 5});                    // row 1
  for (int r = 2; r <= 9; ++r) expected.insert(expected.end(), {0, 0});
  for (int c = 1; c <= 6; ++c) expected.insert(expected.end(), {c <= 5 ? 1 : 0, c <= 5 ? 1 : 0});
  for (int d = 1; d <= 12; ++d) expected.insert(expected.end(), {d <= 5 ? 1 : 0, d <= 5 ? 1 : 0});
  for (int d = 1; d <= 12; ++d) expected.insert(expected.end(), {0, 999});  // never learned
  expected.insert(expected.end(), {5, 5, 0, 0, 3, 3, 2, 2});  // low, high, halves
  expected.insert(expected.end(), {3, 3});                    // sum of the stars
  expected.insert(expected.end(), {2, 2, 0, 0, 0, 0, 0, 0});  // star rows
  expected.insert(expected.end(), {1, 1, 1, 1, 0, 0});        // star columns
  ASSERT_EQ(expected.size(), 169u);
  EXPECT_EQ(saved_slots(), expected);
  for (int k = 1; k <= TECHNIQUE_SLOT_COUNT; ++k)
    EXPECT_EQ(slot_text(k), std::to_string(expected[k - 1])) << "slot " << k;
}

TEST_F(TechniquesTab, RealHistoryFieldsShowTheEngineWindows) {
  std::string path = history_file("past_results.txt");
  import_file_through_open(path);
  ASSERT_EQ(g_database_draw_count, 1698);
  ui_test_click(GADGET_LEARN);
  run_pending_events();
  EXPECT_NE(g_techniques[T_sum_numbers].max, 0);
  for (const TechniqueSlot& slot : g_technique_slots)
    EXPECT_EQ(ui_text(slot.field), str_int(*slot.value)) << slot.field;

  ASSERT_EQ(ui_state(GADGET_REMOVE_THRESHOLD), 1);
  ui_test_click(GADGET_REMOVE);
  run_pending_events();
  EXPECT_TRUE(ui_test_messages().empty());
  EXPECT_EQ(g_removal_threshold, 1);
  EXPECT_EQ(ui_text(381), "4");
  EXPECT_EQ(ui_text(383), "3");
  EXPECT_EQ(ui_text(GADGET_MAX_SEQUENCE), "2");
  for (const TechniqueSlot& slot : g_technique_slots)
    EXPECT_EQ(ui_text(slot.field), str_int(*slot.value)) << slot.field;
  std::string it = ui_text(GADGET_INFORMATION_THEORY_LABEL);
  EXPECT_EQ(it.rfind("Information Theory Removed:", 0), 0u);
  EXPECT_NE(it.find_last_of("0123456789"), std::string::npos);

  if (const char* dir = std::getenv("KESTROVA_SCREENSHOT_DIR")) {
    ui_set_state(GADGET_TECHNIQUE_PANEL, TECHNIQUE_PAGE_2);
    EXPECT_TRUE(ui_test_save_png(WINDOW_MAIN, std::string(dir) + "/techniques_learned_page_1.png"));
  }

  // Taking the fields back in changes no window.
  std::vector<int64_t> before;
  for (const TechniqueSlot& slot : g_technique_slots) before.push_back(*slot.value);
  read_technique_windows();
  for (int k = 0; k < TECHNIQUE_SLOT_COUNT; ++k) EXPECT_EQ(*g_technique_slots[k].value, before[k]);
}

TEST_F(TechniquesTab, NumberButtonTogglesItsPair) {
  ui_set_state(GADGET_TECHNIQUE_PANEL, TECHNIQUE_PAGE_2);
  const int button = GADGET_NUMBER_ASSOCIATION_CHOOSER + 5;
  ASSERT_NE(ui_test_gadget_pixel(button, 4, 4), kYellow);
  ui_test_click(button);
  run_pending_events();
  EXPECT_EQ(g_number_associations[1][5].percent, 100);
  EXPECT_EQ(ui_test_gadget_pixel(button, 4, 4), kYellow);
  EXPECT_FALSE(ui_disabled(button));
  EXPECT_EQ(ui_x(button), 15 + 4 * 32);
  EXPECT_EQ(ui_y(button), 205);
  ui_test_click(button);
  run_pending_events();
  EXPECT_EQ(g_number_associations[1][5].percent, 0);
  EXPECT_NE(ui_test_gadget_pixel(button, 4, 4), kYellow);
  EXPECT_EQ(g_number_associations[1][5].count, 0);
  // The row shown is row 1 only.
  for (size_t i = 2; i < g_number_associations.size(); ++i)
    EXPECT_EQ(g_number_associations[i][5].percent, 0);
}

TEST_F(TechniquesTab, GridReadsNoCellTheMatrixDoesNotHave) {
  // A matrix smaller than the game, as when the game grew after start-up.
  g_number_associations.assign(11, std::vector<OutcomeStat>(11, OutcomeStat{0, 0}));
  g_number_associations[1][10].percent = 40;
  ui_set_state(GADGET_TECHNIQUE_PANEL, TECHNIQUE_PAGE_2);
  show_technique_settings();
  EXPECT_EQ(ui_test_gadget_pixel(GADGET_NUMBER_ASSOCIATION_CHOOSER + 10, 4, 4), kYellow);
  EXPECT_NE(ui_test_gadget_pixel(GADGET_NUMBER_ASSOCIATION_CHOOSER + 11, 4, 4), kYellow);
  ui_test_click(GADGET_NUMBER_ASSOCIATION_CHOOSER + 30);
  run_pending_events();
  EXPECT_NE(ui_test_gadget_pixel(GADGET_NUMBER_ASSOCIATION_CHOOSER + 30, 4, 4), kYellow);
  EXPECT_EQ(g_number_associations.size(), 11u);
}

TEST_F(TechniquesTab, TarvikApplyCapsTheWindows) {
  g_techniques[T_decade_0x].max = 5;
  g_techniques[T_decade_0x].min = 3;
  g_techniques[T_row_4].max = 2;
  g_techniques[T_column_6].max = 3;
  g_techniques[T_even].max = 5;
  g_techniques[T_odd].max = 4;
  g_techniques[T_sum_numbers].max = 200;
  g_max_number_sequence = 3;
  bool main_disabled = false;
  std::string title, text;
  script_idle_steps({
      [&] {
        main_disabled = ui_window_disabled(WINDOW_MAIN);
        title = ui_window_title(WINDOW_TARVIK);
        text = ui_text(GADGET_TARVIK_TEXT);
        ui_test_click(GADGET_TARVIK_APPLY);
      },
      [] { ui_test_click(GADGET_TARVIK_APPLY); },
      [] { ui_test_click(GADGET_TARVIK_CLOSE); },
  });
  ui_test_click(GADGET_TARVIK);
  run_pending_events();

  EXPECT_TRUE(main_disabled);
  EXPECT_FALSE(ui_window_disabled(WINDOW_MAIN));
  EXPECT_FALSE(ui_window_exists(WINDOW_TARVIK));
  EXPECT_EQ(title, "Suggestions for draws by Tarvik");
  EXPECT_EQ(text.rfind("Tarvik says one must prevent:\n 1. In each dozen of numbers", 0), 0u);
  EXPECT_NE(text.find(" 6. 5 exclusively even or odd numbers come out.\n\n"
                      "Note: Rule 5 doesn't exist yet!\n\nUsage:\n 1. Learn;\n 2. Tarvik;\n"
                      " 3. Remove Chances % [OPTIONAL].\n\n"),
            std::string::npos);
  ASSERT_EQ(ui_test_messages().size(), 2u);  // one confirmation per Apply
  EXPECT_EQ(ui_test_messages()[0].title, "Warning!");
  EXPECT_EQ(ui_test_messages()[0].text, "Applied Tarvik rules.");

  // A 3..5 decade window becomes 3..2; the minimum is never moved.
  EXPECT_EQ(g_techniques[T_decade_0x].max, 2);
  EXPECT_EQ(g_techniques[T_decade_0x].min, 3);
  EXPECT_EQ(ui_text(571), "2");
  EXPECT_EQ(ui_text(584), "3");
  EXPECT_EQ(g_techniques[T_row_4].max, 2);
  EXPECT_EQ(g_techniques[T_column_6].max, 2);
  EXPECT_EQ(g_techniques[T_even].max, 4);
  EXPECT_EQ(g_techniques[T_odd].max, 4);
  EXPECT_EQ(g_techniques[T_sum_numbers].max, 200);
  EXPECT_EQ(g_techniques[T_decade_1x].max, 0);
  EXPECT_EQ(g_max_number_sequence, 2);
  EXPECT_EQ(ui_text(GADGET_MAX_SEQUENCE), "2");
}

TEST_F(TechniquesTab, TarvikWindowClosesWithoutChangingAnything) {
  const std::vector<std::pair<const char*, std::function<void()>>> ways = {
      {"Close", [] { ui_test_click(GADGET_TARVIK_CLOSE); }},
      {"Escape", [] { ui_test_key(WINDOW_TARVIK, UI_KEY_ESCAPE); }},
      {"close box", [] { ui_test_close_window(WINDOW_TARVIK); }},
  };
  for (const auto& [name, close] : ways) {
    SCOPED_TRACE(name);
    g_techniques[T_even].max = 5;
    g_max_number_sequence = 1;
    int buttons_x = 0, buttons_y = 0;
    script_idle_steps({[&, close = close] {
      buttons_x = ui_x(GADGET_TARVIK_APPLY) * 1000 + ui_x(GADGET_TARVIK_CLOSE);
      buttons_y = ui_y(GADGET_TARVIK_APPLY);
      close();
    }});
    ui_test_click(GADGET_TARVIK);
    run_pending_events();
    EXPECT_EQ(buttons_x, 770 * 1000 + 870);
    EXPECT_EQ(buttons_y, 400);
    EXPECT_FALSE(ui_window_exists(WINDOW_TARVIK));
    EXPECT_FALSE(ui_window_disabled(WINDOW_MAIN));
    EXPECT_EQ(g_techniques[T_even].max, 5);
    EXPECT_EQ(g_max_number_sequence, 1);
    EXPECT_TRUE(ui_test_messages().empty());
  }
}

TEST_F(TechniquesTab, TarvikWindowThatCannotOpenIsReported) {
  g_techniques[T_even].max = 5;
  ui_test_fail_next_window_open(WINDOW_TARVIK);
  ui_test_click(GADGET_TARVIK);
  run_pending_events();
  ASSERT_EQ(ui_test_messages().size(), 1u);
  EXPECT_EQ(ui_test_messages()[0].title, "Error");
  EXPECT_EQ(ui_test_messages()[0].text, "Can't open a window.");
  EXPECT_EQ(ui_test_messages()[0].flags, static_cast<unsigned>(UI_ICON_ERROR));
  EXPECT_FALSE(ui_window_exists(WINDOW_TARVIK));
  EXPECT_FALSE(ui_window_disabled(WINDOW_MAIN));
  EXPECT_EQ(g_techniques[T_even].max, 5);
}

TEST_F(TechniquesTab, ScreenshotsOfTheFourPages) {
  const char* dir = std::getenv("KESTROVA_SCREENSHOT_DIR");
  std::string out = dir != nullptr ? dir : std::filesystem::current_path().string();
  std::filesystem::create_directories(out);
  for (int language : {1, 2}) {
    start_program_for_test(language);
    ui_set_state(GADGET_PANEL, TAB_TECHNIQUES);
    for (int page = 0; page < 4; ++page) {
      ui_test_select_tab(GADGET_TECHNIQUE_PANEL, page);
      run_pending_events();
      ASSERT_EQ(ui_state(GADGET_TECHNIQUE_PANEL), page);
      std::string file = out + "/techniques_" + (language == 1 ? "en" : "pt") + "_page_" +
                         std::to_string(page) + ".png";
      EXPECT_TRUE(ui_test_save_png(WINDOW_MAIN, file)) << file;
    }
  }
}

}  // namespace
