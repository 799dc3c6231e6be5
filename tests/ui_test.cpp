// The gadget layer as the program sees it: who raises events, numbered
// replacement, timers, modal windows, the scripted dialogs, the list and
// drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "core/state.h"
#include "support/test_support.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

struct Event {
  int kind, object, window, type;
  bool operator==(const Event&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Event& e) {
  return out << "{" << e.kind << ", " << e.object << ", " << e.window << ", " << e.type << "}";
}

// Takes every queued event without waiting.
std::vector<Event> drain() {
  std::vector<Event> events;
  while (int kind = ui_poll_event())
    events.push_back({kind, ui_event_object(), ui_event_window(), ui_event_type()});
  return events;
}

// Lets the toolkit run (timers, repaints) for about `ms` without taking events.
void let_time_pass(int ms) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ui_delay(0);
  }
}

class Ui : public ::testing::Test {
 protected:
  void SetUp() override {
    enter_fresh_directory();
    init_game_state();
    ui_test_reset();
    ASSERT_TRUE(ui_open_window(0, 0, 0, 640, 480, "Main", UI_WINDOW_CAPTION | UI_WINDOW_CLOSE_BOX));
  }
  // One of every kind that the player can change, on two tabs of a panel.
  void build_form() {
    ASSERT_TRUE(ui_button(10, 5, 5, 80, 26, "Push"));
    ASSERT_TRUE(ui_panel(1, 5, 40, 600, 400));
    ui_add_panel_tab(1, "One");
    ASSERT_TRUE(ui_text_field(11, 5, 5, 80, 22, "", UI_FIELD_NUMERIC));
    ASSERT_TRUE(ui_spin(12, 5, 35, 80, 22, 1, 100));
    ASSERT_TRUE(ui_combo(13, 5, 65, 120, 22));
    for (const char* entry : {"a", "b", "c"}) ui_add_item(13, -1, entry);
    ASSERT_TRUE(ui_check_box(14, 5, 95, 100, 20, "Check"));
    ASSERT_TRUE(ui_option(15, 5, 120, 100, 20, "First"));
    ASSERT_TRUE(ui_option(16, 5, 140, 100, 20, "Second"));
    ui_add_panel_tab(1, "Two");
    ASSERT_TRUE(ui_list(17, 5, 5, 300, 200, "#", 40, UI_LIST_CHECKBOXES | UI_LIST_FULL_ROW));
    ui_add_list_column(17, 1, "A", 40);
    for (const char* row : {"1\nx", "2\ny", "3\nz"}) ui_add_item(17, -1, row);
    ASSERT_TRUE(ui_hyperlink(18, 5, 220, 100, 20, "link", 0xFF0000));
    ASSERT_TRUE(ui_canvas(19, 320, 5, 100, 100));
    ui_close_gadget_list();
  }
};

TEST_F(Ui, ProgramChangesQueueNothing) {
  build_form();
  ui_set_text(11, "42");
  ui_set_text(12, "7");
  ui_set_state(12, 7);
  ui_set_state(13, 2);
  ui_set_item_text(13, 2, "C");
  ui_set_state(14, 1);
  ui_set_state(15, 1);
  ui_set_state(16, 1);
  ui_set_state(1, 1);
  ui_set_state(17, 1);
  ui_add_item(17, 0, "0\nw");
  ui_set_item_text(17, 1, "q", 1);
  ui_clear_items(13);
  ui_add_item(13, -1, "again");
  ui_set_state(13, 0);
  ui_free_gadget(10);
  let_time_pass(30);
  EXPECT_EQ(ui_test_queue_length(), 0);
  EXPECT_EQ(ui_text(11), "42");
  EXPECT_EQ(ui_text(12), "7");
  EXPECT_EQ(ui_state(12), 7);
  EXPECT_EQ(ui_state(15), 0);  // the group keeps one option
  EXPECT_EQ(ui_state(16), 1);
  EXPECT_EQ(ui_state(1), 1);
  EXPECT_EQ(ui_state(17), 2);  // the selection moved down with its row
  EXPECT_EQ(ui_text(13), "again");
  // The program may clear every option of a group.
  ui_set_state(16, 0);
  EXPECT_EQ(ui_state(15) + ui_state(16), 0);
}

TEST_F(Ui, PlayerActionsQueueTheirEvents) {
  build_form();
  ui_test_click(10);
  ui_test_type(11, "12");
  ui_test_type(11, "1a");  // a digits-only field refuses the keys
  ui_test_type(12, "9");
  ui_test_choose(13, 1);
  ui_test_choose(13, 1);  // no new selection
  ui_test_click(14);
  ui_test_click(16);
  ui_test_select_tab(1, 1);
  ui_test_choose(17, 2);
  ui_test_toggle_item(17, 0);
  ui_test_click(18);
  ui_test_canvas_click(19, 30, 40);
  const int C = UI_EVENT_GADGET;
  std::vector<Event> expected = {
      {C, 10, 0, UI_TYPE_CLICK},  {C, 11, 0, UI_TYPE_CHANGE}, {C, 12, 0, UI_TYPE_CHANGE},
      {C, 13, 0, UI_TYPE_CHANGE}, {C, 14, 0, UI_TYPE_CLICK},  {C, 16, 0, UI_TYPE_CLICK},
      {C, 1, 0, UI_TYPE_CHANGE},  {C, 17, 0, UI_TYPE_CHANGE}, {C, 17, 0, UI_TYPE_CHANGE},
      {C, 18, 0, UI_TYPE_CLICK},  {C, 19, 0, UI_TYPE_CLICK},
  };
  EXPECT_EQ(drain(), expected);
  EXPECT_EQ(ui_text(11), "12");
  EXPECT_EQ(ui_text(12), "9");
  EXPECT_EQ(ui_state(12), 9);
  EXPECT_EQ(ui_state(13), 1);
  EXPECT_EQ(ui_state(14), 1);
  EXPECT_EQ(ui_state(15), 0);
  EXPECT_EQ(ui_state(16), 1);
  EXPECT_EQ(ui_state(17), 2);
  EXPECT_EQ(ui_item_state(17, 0), 1);
  EXPECT_EQ(ui_canvas_mouse_x(19), 30);
  EXPECT_EQ(ui_canvas_mouse_y(19), 40);
}

TEST_F(Ui, DisabledGadgetsAndWindowsIgnoreThePlayer) {
  build_form();
  ui_disable(10, true);
  EXPECT_TRUE(ui_disabled(10));
  ui_test_click(10);
  EXPECT_EQ(ui_test_queue_length(), 0);
  ui_disable(10, false);
  ui_disable_window(0, true);
  EXPECT_TRUE(ui_window_disabled(0));
  EXPECT_FALSE(ui_disabled(11));  // only the window is disabled
  ui_test_click(10);
  ui_test_type(11, "5");
  ui_test_choose(13, 2);
  ui_test_click(14);
  ui_test_select_tab(1, 1);
  ui_test_canvas_click(19, 1, 1);
  ui_test_close_window(0);
  EXPECT_EQ(ui_test_queue_length(), 0);
  EXPECT_EQ(ui_text(11), "");
  ui_disable_window(0, false);
  ui_test_click(10);
  EXPECT_EQ(ui_test_queue_length(), 1);
}

TEST_F(Ui, MissingThingsAreHarmless) {
  ui_set_text(610, "x");
  ui_set_state(610, 1);
  ui_add_item(610, -1, "row");
  ui_set_colour(610, UI_BACK, 255);
  ui_resize(610, 1, 2, 3, 4);
  ui_free_gadget(610);
  ui_test_click(610);
  ui_close_window(77);
  ui_set_menu_item_text(5, 6, "x");
  EXPECT_EQ(ui_text(610), "");
  EXPECT_EQ(ui_state(610), 0);
  EXPECT_EQ(ui_count_items(610), 0);
  EXPECT_EQ(ui_item_text(610, 0), "");
  EXPECT_EQ(ui_colour(610, UI_BACK), UI_DEFAULT_COLOUR);
  EXPECT_FALSE(ui_gadget_exists(610));
  EXPECT_FALSE(ui_window_exists(77));
  EXPECT_EQ(ui_menu_item_text(5, 6), "");
  EXPECT_FALSE(ui_start_drawing_canvas(610));
  EXPECT_EQ(ui_point(0, 0), -1);
  EXPECT_EQ(ui_test_gadget_pixel(610, 0, 0), -1);
  // A list opened on a missing panel takes nothing, and closes in balance.
  ui_open_gadget_list(611, 0);
  EXPECT_FALSE(ui_button(612, 0, 0, 10, 10, "x"));
  ui_close_gadget_list();
  EXPECT_TRUE(ui_button(612, 0, 0, 10, 10, "x"));
  // A missing image gives an empty picture, not a missing gadget.
  EXPECT_TRUE(ui_image_gadget(613, 0, 20, 30, 30, 999));
  EXPECT_TRUE(ui_image_button(614, 40, 20, 30, 30, 999));
}

TEST_F(Ui, ANumberInUseIsReplaced) {
  ASSERT_TRUE(ui_panel(1, 0, 0, 600, 400));
  ui_add_panel_tab(1, "One");
  ui_add_panel_tab(1, "Two");
  ui_close_gadget_list();
  ui_open_gadget_list(1, 1);
  ASSERT_TRUE(ui_button(20, 10, 10, 60, 20, "old"));
  ui_close_gadget_list();
  ui_test_click(20);
  ASSERT_EQ(ui_test_queue_length(), 1);
  // Re-entering the page later, as a grid redrawing a button does.
  ui_open_gadget_list(1, 1);
  ASSERT_TRUE(ui_label(20, 30, 40, 60, 20, "new"));
  ui_close_gadget_list();
  EXPECT_EQ(ui_test_queue_length(), 0);  // the old button's click went with it
  EXPECT_EQ(ui_text(20), "new");
  EXPECT_EQ(ui_x(20), 30);
  EXPECT_EQ(ui_y(20), 40);
  ui_test_click(20);  // a label takes no clicks
  EXPECT_EQ(ui_test_queue_length(), 0);
  // Freeing a panel frees what its pages hold.
  ui_free_gadget(1);
  EXPECT_FALSE(ui_gadget_exists(20));
}

TEST_F(Ui, TimersTickCoalescedUntilRemoved) {
  ui_add_timer(0, 800, 5);
  let_time_pass(60);
  std::vector<Event> ticks = drain();
  ASSERT_EQ(ticks.size(), 1u);
  EXPECT_EQ(ticks[0], (Event{UI_EVENT_TIMER, 800, 0, 0}));
  let_time_pass(30);
  ui_remove_timer(0, 800);  // drops the tick already waiting
  EXPECT_EQ(ui_test_queue_length(), 0);
  let_time_pass(30);
  EXPECT_EQ(ui_test_queue_length(), 0);
  // Waiting with a timer: the tick ends the wait.
  ui_add_timer(0, 801, 10);
  EXPECT_EQ(ui_wait_event(2000), UI_EVENT_TIMER);
  EXPECT_EQ(ui_event_object(), 801);
  ui_close_window(0);  // a closed window's timers stop too
  let_time_pass(30);
  EXPECT_EQ(ui_test_queue_length(), 0);
}

TEST_F(Ui, AModalWindowTalksToTheCallersLoop) {
  ASSERT_TRUE(ui_button(30, 5, 5, 80, 26, "Main button"));
  ui_disable_window(0, true);
  ASSERT_TRUE(ui_open_window(53, 0, 0, 300, 200, "Preview",
                             UI_WINDOW_CAPTION | UI_WINDOW_CLOSE_BOX | UI_WINDOW_CENTER_PARENT, 0));
  ASSERT_TRUE(ui_button(31, 5, 5, 80, 26, "OK"));
  ui_add_shortcut(53, UI_KEY_ESCAPE, 1000);
  EXPECT_EQ(ui_window_inner_width(53), 300);
  EXPECT_EQ(ui_window_inner_height(53), 200);

  int step = 0;
  ui_test_set_idle_hook([&] {
    ++step;
    ui_test_click(30);         // the disabled owner's gadget
    ui_test_close_window(0);   // and its close box: nothing
    if (step == 1) ui_test_key(53, UI_KEY_ESCAPE);
    if (step == 2) ui_test_close_window(53);
    if (step == 3) ui_test_click(31);
  });
  std::vector<Event> seen;
  while (seen.size() < 3 && ui_wait_event(5000) != UI_EVENT_NONE)
    seen.push_back({0, ui_event_object(), ui_event_window(), 0});
  ui_test_set_idle_hook(nullptr);
  std::vector<Event> expected = {{0, 1000, 53, 0}, {0, 53, 53, 0}, {0, 31, 53, 0}};
  EXPECT_EQ(seen, expected);
  EXPECT_TRUE(ui_window_exists(53));  // a close request closes nothing

  ui_test_click(31);
  ui_close_window(53);
  EXPECT_FALSE(ui_window_exists(53));
  EXPECT_FALSE(ui_gadget_exists(31));
  EXPECT_EQ(ui_test_queue_length(), 0);  // its queued click went with it
  ui_test_fail_next_window_open(53);
  EXPECT_FALSE(ui_open_window(53, 0, 0, 300, 200, "Preview", UI_WINDOW_CAPTION, 0));
  EXPECT_FALSE(ui_window_exists(53));
  EXPECT_TRUE(ui_open_window(53, 0, 0, 300, 200, "Preview", UI_WINDOW_CAPTION, 0));
  ui_close_window(53);
  ui_disable_window(0, false);
  ui_test_close_window(0);
  EXPECT_EQ(drain(), (std::vector<Event>{{UI_EVENT_CLOSE, 0, 0, 0}}));
}

TEST_F(Ui, MenusAndKeysRaiseMenuEvents) {
  ASSERT_TRUE(ui_create_menu(5, 0));
  ui_menu_title("File");
  ui_menu_item(6, "Open...\tCtrl+O");
  ui_menu_separator();
  ui_open_sub_menu("Recent");
  ui_menu_item(15, "one");
  ui_close_sub_menu();
  ui_menu_item(9, "Exit");
  ui_disable_menu_item(5, 9, true);
  ui_add_shortcut(0, UI_KEY_RETURN, 1003);
  EXPECT_EQ(ui_menu_item_text(5, 6), "Open...\tCtrl+O");
  ui_set_menu_item_text(5, 15, "two");
  EXPECT_EQ(ui_menu_item_text(5, 15), "two");
  EXPECT_TRUE(ui_menu_item_disabled(5, 9));
  ui_test_menu(0, 6);
  ui_test_menu(0, 15);
  ui_test_menu(0, 9);  // disabled: nothing
  ui_test_key(0, UI_KEY_RETURN);
  ui_test_key(0, UI_KEY_ESCAPE);  // not bound
  ui_remove_shortcut(0, UI_KEY_RETURN);
  ui_test_key(0, UI_KEY_RETURN);
  std::vector<Event> expected = {
      {UI_EVENT_MENU, 6, 0, 0}, {UI_EVENT_MENU, 15, 0, 0}, {UI_EVENT_MENU, 1003, 0, 0}};
  EXPECT_EQ(drain(), expected);
  // The gadgets' area starts below the menu bar and keeps its asked size.
  EXPECT_EQ(ui_window_inner_height(0), 480);
}

// No caption reads "&" as a keyboard marker: what the program sets is what
// the player sees, on every kind of gadget that shows a caption and in menus.
TEST_F(Ui, CaptionsShowEveryCharacterAsGiven) {
  const std::string texts[] = {"/home/me/R&D/week.draws.txt", "a && b", "end&", "&x",
                               "* Requires 'Save Prefs' & restart the app."};
  ASSERT_TRUE(ui_create_menu(5, 0));
  ui_menu_title("F&ile");
  ui_open_sub_menu("R&ecent");
  ASSERT_TRUE(ui_panel(1, 5, 200, 600, 200));
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    ui_add_panel_tab(1, text);
    ui_close_gadget_list();
    ASSERT_TRUE(ui_button(10, 5, 5, 300, 26, text));
    ASSERT_TRUE(ui_check_box(11, 5, 35, 300, 20, text));
    ASSERT_TRUE(ui_option(12, 5, 60, 300, 20, text));
    ASSERT_TRUE(ui_frame(13, 5, 85, 300, 50, text));
    ASSERT_TRUE(ui_label(14, 5, 140, 300, 20, text));
    ui_menu_item(15, text);
    for (int gadget = 10; gadget <= 14; ++gadget) EXPECT_EQ(ui_text(gadget), text) << gadget;
    EXPECT_EQ(ui_item_text(1, ui_count_items(1) - 1), text);
    EXPECT_EQ(ui_menu_item_text(5, 15), text);

    const std::string changed = text + " & more";
    for (int gadget = 10; gadget <= 14; ++gadget) {
      ui_set_text(gadget, changed);
      EXPECT_EQ(ui_text(gadget), changed) << gadget;
    }
    ui_set_item_text(1, 0, changed);
    EXPECT_EQ(ui_item_text(1, 0), changed);
    ui_set_menu_item_text(5, 15, changed);
    EXPECT_EQ(ui_menu_item_text(5, 15), changed);
  }
}

TEST_F(Ui, ScriptedMessagesAndFileDialogs) {
  ui_test_push_message_answer(UI_ANSWER_YES);
  ui_test_push_message_answer(UI_ANSWER_OK);
  EXPECT_EQ(ui_message("Warning!", "Really abort?", UI_MESSAGE_YES_NO | UI_ICON_WARNING),
            UI_ANSWER_YES);
  EXPECT_EQ(ui_message("Info", "Done.", UI_ICON_INFO), UI_ANSWER_OK);
  EXPECT_EQ(ui_message("Warning!", "Again?", UI_MESSAGE_YES_NO), UI_ANSWER_NO);  // unscripted
  ASSERT_EQ(ui_test_messages().size(), 3u);
  EXPECT_EQ(ui_test_messages()[0].text, "Really abort?");
  EXPECT_EQ(ui_test_messages()[0].flags, UI_MESSAGE_YES_NO | UI_ICON_WARNING);
  EXPECT_EQ(ui_test_messages()[2].answer, UI_ANSWER_NO);
  ui_test_clear_messages();
  EXPECT_TRUE(ui_test_messages().empty());

  ui_test_push_file_answer("/tmp/x.draws.txt");
  const std::string filter = "Draws (*.draws.txt)|*.draws.txt";
  EXPECT_EQ(ui_save_file_dialog("Save", "a.draws.txt", filter, 0), "/tmp/x.draws.txt");
  EXPECT_EQ(ui_open_file_dialog("Open", "", filter, 0), "");  // unscripted: cancelled
  ASSERT_EQ(ui_test_file_dialogs().size(), 2u);
  EXPECT_TRUE(ui_test_file_dialogs()[0].save);
  EXPECT_EQ(ui_test_file_dialogs()[0].default_path, "a.draws.txt");
  EXPECT_FALSE(ui_test_file_dialogs()[1].save);
  EXPECT_EQ(ui_test_file_dialogs()[1].filter, filter);

  ui_test_set_clipboard("01 02");
  EXPECT_EQ(ui_clipboard_text(), "01 02");
  EXPECT_TRUE(ui_open_address("file:///tmp/Manual%20EN.html"));
  EXPECT_EQ(ui_test_opened_addresses(), std::vector<std::string>{"file:///tmp/Manual%20EN.html"});
}

TEST_F(Ui, ListRowsCellsColoursAndClear) {
  ASSERT_TRUE(ui_list(26, 0, 0, 600, 400, "#", 60, UI_LIST_CHECKBOXES | UI_LIST_FULL_ROW));
  for (int c = 1; c < 26; ++c) ui_add_list_column(26, c, std::to_string(c), 30);
  EXPECT_EQ(ui_list_column_title(26, 0), "#");
  EXPECT_EQ(ui_list_column_title(26, 25), "25");
  EXPECT_EQ(ui_list_column_title(26, 26), "");
  // Rows appended before any pump are read back at once.
  for (int r = 0; r < 1000; ++r) ui_add_item(26, -1, std::to_string(r + 1) + "\n3,17\n\n9");
  EXPECT_EQ(ui_count_items(26), 1000);
  EXPECT_EQ(ui_item_text(26, 999, 0), "1000");
  EXPECT_EQ(ui_item_text(26, 999, 1), "3,17");
  EXPECT_EQ(ui_item_text(26, 999, 2), "");
  EXPECT_EQ(ui_item_text(26, 999, 3), "9");
  EXPECT_EQ(ui_item_text(26, 999, 25), "");  // beyond the row's cells
  EXPECT_EQ(ui_item_text(26, 1000, 0), "");
  ui_set_item_text(26, 5, "new", 6);
  EXPECT_EQ(ui_item_text(26, 5, 6), "new");
  EXPECT_EQ(ui_item_text(26, 5, 1), "3,17");
  EXPECT_EQ(ui_item_text(26, 5, 5), "");
  ui_set_item_text(26, 5, "8,9", 1);
  EXPECT_EQ(ui_item_text(26, 5, 1), "8,9");
  EXPECT_EQ(ui_item_text(26, 5, 3), "9");
  EXPECT_EQ(ui_item_text(26, 5, 6), "new");
  ui_set_item_colour(26, 7, 255);
  EXPECT_EQ(ui_item_colour(26, 7), 255);
  EXPECT_EQ(ui_item_colour(26, 8), UI_DEFAULT_COLOUR);
  ui_add_item(26, 0, "first");
  EXPECT_EQ(ui_item_text(26, 0, 0), "first");
  EXPECT_EQ(ui_item_colour(26, 8), 255);  // the coloured row moved down with its text
  ui_set_state(26, 3);
  EXPECT_EQ(ui_state(26), 3);
  EXPECT_EQ(ui_text(26), "3");
  ui_test_toggle_item(26, 2);
  EXPECT_EQ(ui_item_state(26, 2), 1);
  EXPECT_EQ(drain(), (std::vector<Event>{{UI_EVENT_GADGET, 26, 0, UI_TYPE_CHANGE}}));
  ui_clear_items(26);
  EXPECT_EQ(ui_count_items(26), 0);
  EXPECT_EQ(ui_state(26), -1);
  ui_add_item(26, -1, "x");
  EXPECT_EQ(ui_item_colour(26, 0), UI_DEFAULT_COLOUR);
  EXPECT_EQ(ui_item_state(26, 0), 0);
  EXPECT_EQ(ui_test_queue_length(), 0);
}

// A text drawn again in the same font and colour gives the very pixels of
// its first drawing, smoothed edges included, on a ground of one colour as
// on a mixed one.
TEST_F(Ui, ATextDrawnAgainLeavesThePixelsOfItsFirstDrawing) {
  ASSERT_TRUE(ui_load_font(7, "Arial", 10, UI_FONT_HIGH_QUALITY));
  ASSERT_TRUE(ui_load_font(8, "Arial", 7, UI_FONT_BOLD | UI_FONT_HIGH_QUALITY));
  auto drawn = [](const std::string& text, int font, int64_t front) {
    const int image = ui_new_image(120, 40);
    EXPECT_NE(image, 0);
    EXPECT_TRUE(ui_start_drawing_image(image));
    ui_draw_box(0, 0, 120, 40, 0xFFFFFF);
    ui_draw_box(0, 0, 30, 12, 0x00FFFF);  // a yellow corner under part of the first text
    ui_drawing_font(font);
    ui_draw_text(3, 5, text, front, UI_DEFAULT_COLOUR);  // on two colours
    ui_draw_text(60, 3, text, front, UI_DEFAULT_COLOUR);  // on white alone
    ui_draw_text(60, 22, text, front, 0x808080);          // on a box of its own
    std::vector<int64_t> pixels;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 120; ++x) pixels.push_back(ui_point(x, y));
    ui_stop_drawing();
    ui_free_image(image);
    return pixels;
  };
  for (const char* text : {"12", "50", "W j", "\u2605", "\u00c3\u00e7", "(g,)"}) {
    for (int font : {UI_DEFAULT_FONT, 7, 8}) {
      SCOPED_TRACE(std::string(text) + " in font " + std::to_string(font));
      const std::vector<int64_t> first = drawn(text, font, 0x0000FF);
      EXPECT_NE(std::count(first.begin(), first.end(), 0xFFFFFF), 120 * 40 - 30 * 12);
      EXPECT_EQ(drawn(text, font, 0x0000FF), first);
      EXPECT_EQ(drawn(text, font, 0x0000FF), first);
      EXPECT_NE(drawn(text, font, 0xFF0000), first);  // another colour is another text
    }
  }
}

TEST_F(Ui, DrawingOnCanvasesAndImages) {
  ASSERT_TRUE(ui_canvas(895, 10, 10, 200, 100));
  ASSERT_TRUE(ui_start_drawing_canvas(895));
  ui_draw_box(0, 0, 200, 100, 0xFFFFFF);
  ui_draw_box(20, 10, 12, 80, 255);      // a red bar
  ui_draw_box(40, 10, 12, 80, 255);      // another, not touching it
  ui_draw_text(60, 10, "12", 0xFF0000, UI_DEFAULT_COLOUR);
  EXPECT_EQ(ui_point(25, 50), 255);
  EXPECT_EQ(ui_point(5, 5), 0xFFFFFF);
  EXPECT_EQ(ui_point(200, 0), -1);
  EXPECT_EQ(ui_point(-1, 0), -1);
  ui_flood_fill(25, 50, 0xFF0000);
  EXPECT_EQ(ui_point(20, 10), 0xFF0000);
  EXPECT_EQ(ui_point(31, 89), 0xFF0000);
  EXPECT_EQ(ui_point(45, 50), 255);       // the other bar stays red
  EXPECT_EQ(ui_point(19, 50), 0xFFFFFF);
  ui_stop_drawing();
  EXPECT_EQ(ui_test_gadget_pixel(895, 25, 50), 0xFF0000);
  EXPECT_EQ(ui_test_gadget_pixel(895, 45, 50), 255);

  // Text on a ground, measured in the drawing font.
  ASSERT_TRUE(ui_load_font(2, "Arial", 8, 0));
  int image = ui_new_image(80, 30);
  ASSERT_GE(image, 100000);
  ASSERT_TRUE(ui_start_drawing_image(image));
  ui_drawing_font(2);
  int w = ui_text_width("Hello");
  int h = ui_text_height("Hello");
  EXPECT_GT(w, 10);
  EXPECT_GT(h, 5);
  EXPECT_LT(h, 20);
  ui_draw_box(0, 0, 80, 30, 0x00FF00);
  ui_draw_text(2, 2, "Hello", 0xFF0000, 0xFFFF00);
  EXPECT_EQ(ui_point(2, 2), 0xFFFF00);          // the ground's corner
  EXPECT_EQ(ui_point(2 + w + 1, 2), 0x00FF00);  // beyond the text
  // Glyphs are drawn crisp: each pixel of the box is ground or front colour.
  int front = 0;
  bool only_two = true;
  for (int y = 2; y < 2 + h; ++y) {
    for (int x = 2; x < 2 + w; ++x) {
      int64_t p = ui_point(x, y);
      front += p == 0xFF0000;
      only_two = only_two && (p == 0xFF0000 || p == 0xFFFF00);
    }
  }
  EXPECT_GT(front, 10);
  EXPECT_TRUE(only_two);
  ui_stop_drawing();
  EXPECT_EQ(ui_image_width(image), 80);
  EXPECT_EQ(ui_image_height(image), 30);
  ui_free_image(image);
  EXPECT_FALSE(ui_image_exists(image));
  EXPECT_FALSE(ui_start_drawing_image(image));
}

TEST_F(Ui, ColouredFacesPaint) {
  // A button face drawn into an image shows its colour, also when disabled.
  int image = ui_new_image(40, 30);
  ASSERT_TRUE(ui_start_drawing_image(image));
  ui_draw_box(0, 0, 40, 30, 65535);
  ui_stop_drawing();
  ASSERT_TRUE(ui_image_button(616, 10, 10, 40, 30, image));
  ui_free_image(image);  // the button keeps its own copy
  // The whole face, corners included, is the image.
  for (auto [x, y] : {std::pair{0, 0}, {39, 29}, {20, 15}})
    EXPECT_EQ(ui_test_gadget_pixel(616, x, y), 65535) << x << "," << y;
  ui_disable(616, true);
  EXPECT_EQ(ui_test_gadget_pixel(616, 0, 0), 65535);

  ASSERT_TRUE(ui_label(62, 60, 10, 40, 20, "07"));
  ui_set_colour(62, UI_BACK, 255);
  EXPECT_EQ(ui_colour(62, UI_BACK), 255);
  EXPECT_EQ(ui_test_gadget_pixel(62, 38, 18), 255);
  ui_set_colour(62, UI_BACK, UI_DEFAULT_COLOUR);
  EXPECT_NE(ui_test_gadget_pixel(62, 38, 18), 255);

  ASSERT_TRUE(ui_text_field(240, 110, 10, 60, 22, "bad"));
  ui_set_colour(240, UI_BACK, 255);
  EXPECT_EQ(ui_test_gadget_pixel(240, 50, 11), 255);

  ASSERT_TRUE(ui_test_save_png(0, "window.png"));
  EXPECT_FALSE(read_file_bytes("window.png").empty());
}

// A spin is a text field with arrows: the program checks what the player
// typed, so every text stays as typed, also once the focus has moved on.
// A field's digit rule and length limit bind the player's keys only: the
// program's own text is kept whole.
TEST_F(Ui, FieldLimitsBindTheKeysNotTheProgram) {
  ASSERT_TRUE(ui_text_field(20, 5, 5, 40, 22, "", UI_FIELD_NUMERIC));
  ui_set_max_length(20, 2);
  ASSERT_TRUE(ui_text_field(21, 5, 35, 40, 22, ""));
  ui_set_max_length(21, 3);
  struct Case {
    int field;
    const char* typed;
    const char* kept;
  };
  for (Case c : {Case{20, "7", "7"}, Case{20, "148", "14"}, Case{20, "4a", "14"},
                 Case{21, "abcdef", "abc"}, Case{21, "x y", "x y"}}) {
    SCOPED_TRACE(c.typed);
    ui_test_type(c.field, c.typed);
    EXPECT_EQ(ui_text(c.field), c.kept);
  }
  ui_set_text(20, "148");
  EXPECT_EQ(ui_text(20), "148");
  ui_set_text(21, "11\n");
  EXPECT_EQ(ui_text(21), "11\n");
}

TEST_F(Ui, SpinTextsStayAsTypedWhenTheFocusMovesAway) {
  ASSERT_TRUE(ui_spin(40, 10, 10, 80, 24, 1, 50, UI_SPIN_NUMERIC));
  ASSERT_TRUE(ui_text_field(41, 10, 40, 80, 22, ""));
  struct Case {
    const char* text;
    int64_t state;  // the integer the text begins with
  };
  const Case cases[] = {
      {"51", 51},     {"0", 0},       {"", 0},         {"abc", 0},          {"-3", -3},
      {"2.5", 2},     {"12abc", 12},  {" 7", 7},       {"4000000000", 4000000000},
      {"99999999999999999999", INT64_MAX},  {"+8", 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.text + "\"");
    ui_test_type(40, "5");
    ui_set_focus(40);
    drain();
    ui_test_type(40, c.text);
    EXPECT_EQ(drain(), (std::vector<Event>{{UI_EVENT_GADGET, 40, 0, UI_TYPE_CHANGE}}));
    ui_set_focus(41);
    let_time_pass(10);
    EXPECT_EQ(ui_focused_gadget(), 41);
    EXPECT_EQ(ui_text(40), c.text);
    EXPECT_EQ(ui_state(40), c.state);
    EXPECT_EQ(ui_test_queue_length(), 0);  // no correction was queued either
  }
}

TEST_F(Ui, SpinArrowsWriteTheNumberWithinTheRange) {
  ASSERT_TRUE(ui_spin(40, 10, 10, 80, 24, 1, 12, UI_SPIN_NUMERIC));
  struct Case {
    const char* text;
    bool up;
    const char* after;  // what the arrow leaves; the same text: the arrow is dead
  };
  const Case cases[] = {
      {"5", true, "6"},    {"5", false, "4"},   {"11", true, "12"},  {"12", true, "12"},
      {"1", false, "1"},   {"2", false, "1"},   {"51", true, "12"},  {"51", false, "11"},
      {"0", false, "1"},   {"0", true, "2"},    {"", true, "2"},     {"abc", false, "1"},
      {"-7", true, "2"},   {"7x", true, "8"},   {"2.5", true, "3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.text + "\" " + (c.up ? "up" : "down"));
    ui_set_text(40, c.text);
    ui_test_spin_arrow(40, c.up);
    EXPECT_EQ(ui_text(40), c.after);
    std::vector<Event> expected;
    if (std::string(c.text) != c.after) expected.push_back({UI_EVENT_GADGET, 40, 0, UI_TYPE_CHANGE});
    EXPECT_EQ(drain(), expected);
  }
  // Arrow after arrow, the number climbs to the top and stays there.
  ui_set_text(40, "9");
  for (int i = 0; i < 5; ++i) {
    ui_test_spin_arrow(40, true);
    drain();
  }
  EXPECT_EQ(ui_text(40), "12");
  EXPECT_EQ(ui_state(40), 12);
  ui_disable(40, true);
  ui_test_spin_arrow(40, false);
  EXPECT_EQ(ui_text(40), "12");
  EXPECT_EQ(ui_test_queue_length(), 0);
}

TEST_F(Ui, TheProgramSetsASpinsTextAndStateWithoutEvents) {
  ASSERT_TRUE(ui_spin(40, 10, 10, 80, 24, 1, 50, UI_SPIN_NUMERIC));
  ASSERT_TRUE(ui_text_field(41, 10, 40, 80, 22, ""));
  EXPECT_EQ(ui_text(40), "1");  // a new spin shows its lowest number
  ui_set_focus(40);
  ui_set_text(40, "abc");
  ui_set_focus(41);
  let_time_pass(10);
  EXPECT_EQ(ui_text(40), "abc");
  EXPECT_EQ(ui_state(40), 0);
  ui_set_text(40, "70");
  EXPECT_EQ(ui_state(40), 70);
  ui_set_state(40, 7);
  EXPECT_EQ(ui_text(40), "7");
  EXPECT_EQ(ui_state(40), 7);
  ui_set_state(40, 99);  // a state is a number of the range
  EXPECT_EQ(ui_text(40), "50");
  ui_set_state(40, -4);
  EXPECT_EQ(ui_text(40), "1");
  ui_set_text(40, "");
  EXPECT_EQ(ui_text(40), "");
  EXPECT_EQ(ui_test_queue_length(), 0);
}

TEST_F(Ui, ASpinsBackColourPaintsItsEditArea) {
  ASSERT_TRUE(ui_spin(40, 10, 10, 80, 24, 1, 50, UI_SPIN_NUMERIC));
  ui_test_type(40, "51");
  // Right of the text and left of the arrows, and near the frame's inner edge.
  const std::pair<int, int> points[] = {{45, 12}, {4, 4}, {50, 19}};
  for (auto [x, y] : points) EXPECT_NE(ui_test_gadget_pixel(40, x, y), 255) << x << "," << y;
  ui_set_colour(40, UI_BACK, 255);
  EXPECT_EQ(ui_colour(40, UI_BACK), 255);
  for (auto [x, y] : points) EXPECT_EQ(ui_test_gadget_pixel(40, x, y), 255) << x << "," << y;
  ui_set_focus(40);  // the focused look keeps the colour
  let_time_pass(10);
  EXPECT_EQ(ui_test_gadget_pixel(40, 45, 12), 255);
  ui_set_colour(40, UI_BACK, UI_DEFAULT_COLOUR);
  for (auto [x, y] : points) EXPECT_NE(ui_test_gadget_pixel(40, x, y), 255) << x << "," << y;
  EXPECT_EQ(ui_text(40), "51");
}

TEST_F(Ui, FontsFocusAndSizes) {
  ASSERT_TRUE(ui_load_font(1, "Arial", 10, 0));
  ASSERT_TRUE(ui_load_font(4, "Arial", 10, UI_FONT_BOLD));
  ui_set_default_font(1);
  ASSERT_TRUE(ui_label(50, 10, 10, 5, 5, "A wider caption"));
  ASSERT_TRUE(ui_text_field(51, 10, 40, 80, 22, ""));
  int normal = ui_required_width(50);
  EXPECT_GT(normal, 40);
  ui_set_gadget_font(50, 4);
  EXPECT_GT(ui_required_width(50), normal);
  ui_resize(50, 10, 10, ui_required_width(50), ui_required_height(50));
  EXPECT_EQ(ui_width(50), ui_required_width(50));
  ui_set_focus(51);
  EXPECT_EQ(ui_focused_gadget(), 51);
  ui_set_tooltip(51, "tip");
  ui_set_window_title(0, "Other");
  EXPECT_EQ(ui_window_title(0), "Other");
}

}  // namespace
