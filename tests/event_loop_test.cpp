// The main loop: the event record, the end of the program and the events
// that pass through without effect.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "app/app.h"
#include "core/core.h"
#include "core/ids.h"
#include "draws/selection.h"
#include "support/program_fixture.h"
#include "support/test_support.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace fs = std::filesystem;

namespace {

// Every file under dir with its bytes, to tell whether anything was written.
std::map<std::string, std::string> directory_contents(const std::string& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    std::string name = fs::relative(entry.path(), dir).string();
    files[name] = entry.is_regular_file() ? read_file_bytes(entry.path()) : "<folder>";
  }
  return files;
}

bool nothing_happened_outside_the_main_window() {
  return ui_test_messages().empty() && ui_test_file_dialogs().empty() &&
         ui_test_opened_addresses().empty() && !ui_window_exists(WINDOW_ABOUT) &&
         !ui_window_exists(WINDOW_CREDITS) && !ui_window_disabled(WINDOW_MAIN);
}

// Starts the program in a child process, lets `act` queue the player's action
// and runs the main loop's passes; the child ends only through the program's
// own end. Returns the child's wait status and, in `files`, what the working
// directory holds once the child has ended.
int run_child_until_end(int64_t language, void (*act)(), std::map<std::string, std::string>& files) {
  char base_template[] = "/tmp/kestrova-end-XXXXXX";
  if (mkdtemp(base_template) == nullptr) return -1;
  std::string base = base_template;
  std::fflush(nullptr);
  pid_t child = fork();
  if (child == 0) {
    std::string dir = start_program_for_test(language);
    write_file_bytes(base + "/dir", dir);  // tells the parent where the program runs
    act();
    for (int pass = 0; pass < 100; ++pass) {
      int kind = ui_wait_event(2000);
      if (kind == UI_EVENT_NONE) break;
      if (dispatch_event(kind)) end_program();
    }
    _exit(99);  // the program did not end
  }
  int status = -1;
  waitpid(child, &status, 0);
  std::string dir = read_file_bytes(base + "/dir");
  files = dir.empty() ? std::map<std::string, std::string>{} : directory_contents(dir);
  fs::remove_all(base);
  return status;
}

}  // namespace

TEST(EventLoop, ExitAndCloseBoxEndWithCodeZeroWritingNothing) {
  struct Case {
    const char* name;
    void (*act)();
  };
  const Case cases[] = {
      {"File > Exit", [] { ui_test_menu(WINDOW_MAIN, MENU_EXIT); }},
      {"close box", [] { ui_test_close_window(WINDOW_MAIN); }},
      {"close box on the Techniques tab",
       [] {
         ui_test_select_tab(GADGET_PANEL, TAB_TECHNIQUES);
         ui_test_close_window(WINDOW_MAIN);
       }},
  };
  for (int64_t language : {1, 2}) {
    // what a start-up alone writes in a fresh directory
    std::string dir = start_program_for_test(language);
    std::map<std::string, std::string> after_start = directory_contents(dir);
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + ", language " + std::to_string(language));
      std::map<std::string, std::string> after;
      int status = run_child_until_end(language, c.act, after);
      ASSERT_TRUE(WIFEXITED(status)) << status;
      EXPECT_EQ(WEXITSTATUS(status), 0);
      EXPECT_EQ(after, after_start);
    }
  }
}

TEST(EventLoop, CloseRequestEndsAfterItsPass) {
  start_program_for_test();
  ui_test_close_window(WINDOW_MAIN);
  ASSERT_EQ(ui_test_queue_length(), 1);
  int kind = ui_poll_event();
  EXPECT_EQ(kind, UI_EVENT_CLOSE);
  EXPECT_EQ(dispatch_event(kind), 1);
  EXPECT_EQ(g_quit_requested, 1);
  EXPECT_EQ(g_event, UI_EVENT_CLOSE);
  // the window stays until the process ends
  EXPECT_TRUE(ui_window_exists(WINDOW_MAIN));
}

TEST(EventLoop, ExitEndsAtOnceLeavingLaterEventsQueued) {
  start_program_for_test();
  ui_test_menu(WINDOW_MAIN, MENU_EXIT);
  ui_test_key(WINDOW_MAIN, UI_KEY_ESCAPE);
  EXPECT_EQ(run_pending_events(), 1);
  EXPECT_EQ(g_event, UI_EVENT_MENU);
  EXPECT_EQ(g_event_menu, MENU_EXIT);
  EXPECT_EQ(ui_test_queue_length(), 1);
  EXPECT_EQ(g_quit_requested, 0);
}

TEST(EventLoop, EscapeOnTheMainWindowDoesNothing) {
  std::string dir = start_program_for_test();
  std::map<std::string, std::string> before = directory_contents(dir);
  for (int tab : {TAB_MAIN, TAB_PREFERENCES, TAB_TECHNIQUES, TAB_STATISTICS}) {
    SCOPED_TRACE("tab " + std::to_string(tab));
    ui_set_state(GADGET_PANEL, tab);
    ui_test_key(WINDOW_MAIN, UI_KEY_ESCAPE);
    ASSERT_EQ(ui_test_queue_length(), 1);
    int kind = ui_poll_event();
    EXPECT_EQ(dispatch_event(kind), 0);
    EXPECT_EQ(g_event, UI_EVENT_MENU);
    EXPECT_EQ(g_event_menu, MENU_EVENT_ESCAPE);
    EXPECT_EQ(g_event_gadget, MENU_EVENT_ESCAPE);  // one object number per event
    EXPECT_EQ(g_event_tab, tab);
    EXPECT_EQ(g_quit_requested, 0);
    EXPECT_TRUE(nothing_happened_outside_the_main_window());
  }
  EXPECT_EQ(directory_contents(dir), before);
}

TEST(EventLoop, TimerEventPassesThroughWithoutEffect) {
  std::string dir = start_program_for_test();
  std::map<std::string, std::string> before = directory_contents(dir);
  ui_set_state(GADGET_PANEL, TAB_TECHNIQUES);
  ui_add_timer(WINDOW_MAIN, TIMER_LONG_OPERATION, 10);
  int kind = ui_wait_event(2000);
  ui_remove_timer(WINDOW_MAIN, TIMER_LONG_OPERATION);
  ASSERT_EQ(kind, UI_EVENT_TIMER);
  EXPECT_EQ(dispatch_event(kind), 0);
  EXPECT_EQ(g_event, UI_EVENT_TIMER);
  EXPECT_EQ(g_event_gadget, TIMER_LONG_OPERATION);
  EXPECT_EQ(g_event_type, 0);
  EXPECT_TRUE(nothing_happened_outside_the_main_window());
  EXPECT_EQ(directory_contents(dir), before);
}

TEST(EventLoop, UnknownMenuEventsAreIgnored) {
  start_program_for_test();
  // the disabled entry cannot be chosen; a stray number reaches the loop as
  // a bound key would
  ui_test_menu(WINDOW_MAIN, MENU_CHECK_UPDATES);
  EXPECT_EQ(ui_test_queue_length(), 0);
  ui_add_shortcut(WINDOW_MAIN, 'Z', 4242);
  ui_test_key(WINDOW_MAIN, 'Z');
  EXPECT_EQ(run_pending_events(), 0);
  EXPECT_EQ(g_event_menu, 4242);
  EXPECT_TRUE(nothing_happened_outside_the_main_window());
}

TEST(EventLoop, TabChangeIsRecordedAsAGadgetEventOfThePanel) {
  start_program_for_test();
  ui_test_select_tab(GADGET_PANEL, TAB_STATISTICS);
  ASSERT_EQ(ui_test_queue_length(), 1);
  EXPECT_EQ(run_pending_events(), 0);
  EXPECT_EQ(g_event, UI_EVENT_GADGET);
  EXPECT_EQ(g_event_gadget, GADGET_PANEL);
  EXPECT_EQ(g_event_menu, GADGET_PANEL);
  EXPECT_EQ(g_event_type, UI_TYPE_CHANGE);
  EXPECT_EQ(g_event_tab, TAB_STATISTICS);
  EXPECT_TRUE(nothing_happened_outside_the_main_window());
}

TEST(EventLoop, HelpMenuOpensTheManualCreditsAndAbout) {
  start_program_for_test(1, [] { write_file_bytes("Kestrova_Manual10_EN.html", "<html></html>"); });
  ui_test_menu(WINDOW_MAIN, MENU_HTML_HELP);
  EXPECT_EQ(run_pending_events(), 0);
  ASSERT_EQ(ui_test_opened_addresses().size(), 1u);
  EXPECT_EQ(ui_test_opened_addresses()[0].rfind("file://", 0), 0u);
  EXPECT_NE(ui_test_opened_addresses()[0].find("Kestrova_Manual10_EN.html"), std::string::npos);

  // the modal windows run their own loop; Escape closes each
  for (int item : {MENU_CREDITS, MENU_ABOUT}) {
    int window = item == MENU_CREDITS ? WINDOW_CREDITS : WINDOW_ABOUT;
    SCOPED_TRACE("window " + std::to_string(window));
    bool seen = false;
    ui_test_set_idle_hook([&] {
      if (ui_window_exists(window) && !seen) {
        seen = true;
        EXPECT_TRUE(ui_window_disabled(WINDOW_MAIN));
        ui_test_key(window, UI_KEY_ESCAPE);
      }
    });
    ui_test_menu(WINDOW_MAIN, item);
    EXPECT_EQ(run_pending_events(), 0);
    ui_test_set_idle_hook(nullptr);
    EXPECT_TRUE(seen);
    EXPECT_FALSE(ui_window_exists(window));
    EXPECT_FALSE(ui_window_disabled(WINDOW_MAIN));
  }
}

TEST(EventLoop, ClearEmptiesTheRecentFiles) {
  std::string dir = start_program_for_test();
  g_recent_files[1] = dir + "/tickets.draws.txt";
  refresh_recent_files_menu();
  ASSERT_FALSE(ui_menu_item_disabled(MENU_MAIN, MENU_RECENT_FIRST));
  ui_test_menu(WINDOW_MAIN, MENU_RECENT_CLEAR);
  EXPECT_EQ(run_pending_events(), 0);
  EXPECT_EQ(g_recent_files[1], "");
  EXPECT_TRUE(ui_menu_item_disabled(MENU_MAIN, MENU_RECENT_FIRST));
  std::string free_slots;
  for (int i = 0; i < 10; ++i) free_slots += "\r\n";
  EXPECT_EQ(read_file_bytes(dir + "/settings/recent_files.log"), free_slots);
}

TEST(EventLoop, PreferencesEventsReachTheirHandlersOnce) {
  std::string dir = start_program_for_test();
  ui_test_select_tab(GADGET_PANEL, TAB_PREFERENCES);
  ASSERT_EQ(run_pending_events(), 0);
  // a number button cycles played -> fixed: one pass, one step
  ASSERT_EQ(g_number_play_state[1], 1);
  ui_test_click(PREFS_NUMBER_BUTTON_BASE + 1);
  EXPECT_EQ(run_pending_events(), 0);
  EXPECT_EQ(g_number_play_state[1], 2);
  // "Save Prefs" is routed through the Preferences fields
  ui_test_click(PREFS_SAVE_BUTTON);
  EXPECT_EQ(run_pending_events(), 0);
  EXPECT_TRUE(fs::is_regular_file(dir + "/settings/kestrova.prefs"));
}

TEST(EventLoop, TechniqueButtonsActOnlyWhileTheirTabIsShown) {
  start_program_for_test();
  // Learn refuses without past results: the message shows that it ran.
  constexpr int learn_button = 360;
  ASSERT_TRUE(ui_gadget_exists(learn_button));
  ui_test_click(learn_button);  // while the Main tab is shown
  ASSERT_EQ(ui_test_queue_length(), 1);
  EXPECT_EQ(run_pending_events(), 0);
  EXPECT_TRUE(ui_test_messages().empty());

  ui_test_select_tab(GADGET_PANEL, TAB_TECHNIQUES);
  ui_test_click(learn_button);
  EXPECT_EQ(run_pending_events(), 0);
  ASSERT_EQ(ui_test_messages().size(), 1u);
  EXPECT_EQ(ui_test_messages()[0].text, translate("No draws database for techniques."));
}

TEST(EventLoop, FileMenuEntriesReachTheDrawsFiles) {
  std::string dir = start_program_for_test();
  // Open asks for a file; the cancelled dialog ends it
  ui_test_menu(WINDOW_MAIN, MENU_OPEN);
  EXPECT_EQ(run_pending_events(), 0);
  ASSERT_EQ(ui_test_file_dialogs().size(), 1u);
  EXPECT_FALSE(ui_test_file_dialogs()[0].save);

  // Save and Save As refuse an empty draw list
  for (int item : {MENU_SAVE, MENU_SAVE_AS}) {
    SCOPED_TRACE("item " + std::to_string(item));
    ui_test_clear_messages();
    ui_test_menu(WINDOW_MAIN, item);
    EXPECT_EQ(run_pending_events(), 0);
    ASSERT_EQ(ui_test_messages().size(), 1u);
    EXPECT_EQ(ui_test_messages()[0].text, translate("No draws found."));
  }

  // a recent entry opens the file of its own slot, without a dialog
  g_recent_files[2] = dir + "/gone.draws.txt";
  refresh_recent_files_menu();
  ui_test_clear_messages();
  ui_test_menu(WINDOW_MAIN, MENU_RECENT_FIRST + 1);
  EXPECT_EQ(run_pending_events(), 0);
  EXPECT_EQ(ui_test_file_dialogs().size(), 1u);
  ASSERT_EQ(ui_test_messages().size(), 1u);
  EXPECT_EQ(ui_test_messages()[0].text, translate(".DRAWS.TXT file not found."));
}
