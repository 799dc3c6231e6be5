// The main window: its Escape binding, menu 5, the bottom strip and the tab
// panel whose tabs are filled by their owners' builders.
#include <string>

#include "app/app.h"
#include "core/core.h"
#include "core/ids.h"
#include "draws/draws.h"
#include "techniques/techniques.h"
#include "ui/ui.h"

namespace {

constexpr int MAIN_WINDOW_WIDTH = 1366;
constexpr int MAIN_WINDOW_HEIGHT = 700;

// The tabs of the panel in their order; the row's index is the tab's number,
// which the event loop reads back to route events.
struct MainTab {
  const char* caption;  // English, translated when built
  void (*build)();
};
const MainTab main_tabs[] = {
    {"Main", build_main_tab},
    {"Preferences", build_preferences_tab},
    {"Techniques", build_techniques_tab},
    {"Statistics", build_statistics_tab},
};

// The shortcut texts are shown beside the caption only; no key is bound to them.
std::string menu_caption(const std::string& english, const std::string& shortcut = "") {
  std::string caption = translate(english);
  if (!shortcut.empty()) caption += "\t" + shortcut;
  return caption;
}

void build_main_menu() {
  ui_create_menu(MENU_MAIN, WINDOW_MAIN);
  ui_menu_title(translate("File"));
  ui_menu_item(MENU_OPEN, menu_caption("Open...", "Ctrl+O"));
  ui_menu_item(MENU_SAVE, menu_caption("Save", "Ctrl+S"));
  ui_menu_item(MENU_SAVE_AS, menu_caption("Save As...", "Shift+Ctrl+S"));
  ui_menu_separator();
  ui_open_sub_menu(translate("Recent Files"));
  // Placeholders only: refresh_recent_files_menu writes the paths right after.
  for (int entry = 1; entry <= 10; ++entry) {
    ui_menu_item(MENU_RECENT_FIRST + entry - 1, std::to_string(entry) + ":");
  }
  ui_menu_separator();
  ui_menu_item(MENU_RECENT_CLEAR, menu_caption("Clear"));
  ui_close_sub_menu();
  ui_menu_separator();
  ui_menu_item(MENU_EXIT, menu_caption("Exit", "Ctrl+Q"));

  ui_menu_title(translate("Help"));
  ui_menu_item(MENU_CHECK_UPDATES, menu_caption("Check for Updates"));
  ui_disable_menu_item(MENU_MAIN, MENU_CHECK_UPDATES, true);
  ui_menu_item(MENU_HTML_HELP, menu_caption("HTML Help", "F1"));
  ui_menu_item(MENU_CREDITS, menu_caption("Credits"));
  ui_menu_item(MENU_ABOUT, menu_caption("About"));
}

}  // namespace

std::string program_title() {
  return "Kestrova V" + g_program_version + " build " + g_program_build;
}

void build_main_window() {
  if (!ui_open_window(WINDOW_MAIN, 0, 0, MAIN_WINDOW_WIDTH, MAIN_WINDOW_HEIGHT, program_title(),
                      UI_WINDOW_CAPTION | UI_WINDOW_CLOSE_BOX | UI_WINDOW_MINIMIZE_BOX)) {
    // Nothing can be done without the main window.
    report_window_failure();
    end_program();
  }
  set_program_icon(WINDOW_MAIN);
  ui_add_shortcut(WINDOW_MAIN, UI_KEY_ESCAPE, MENU_EVENT_ESCAPE);
  build_main_menu();

  // The strip's top is 63 above the bottom of the inner height counted
  // together with the menu bar, which puts it a few units above the
  // window's lower edge.
  int inner_width = ui_window_inner_width(WINDOW_MAIN);
  int inner_height = ui_window_inner_height(WINDOW_MAIN);
  ui_container(GADGET_BOTTOM_STRIP, 5, inner_height + ui_menu_height(WINDOW_MAIN) - 63,
               inner_width - 8, 41, UI_CONTAINER_BORDER);
  ui_close_gadget_list();

  constexpr int tab_count = sizeof main_tabs / sizeof main_tabs[0];
  ui_panel(GADGET_PANEL, 10, 10, 1346, 626);
  for (int tab = 0; tab < tab_count; ++tab) {
    ui_add_panel_tab(GADGET_PANEL, translate(main_tabs[tab].caption));
    if (tab == TAB_MAIN) ui_set_state(GADGET_PANEL, TAB_MAIN);
  }
  ui_close_gadget_list();

  // Every builder expects its own tab to be the parent of what it creates.
  for (int tab = 0; tab < tab_count; ++tab) {
    ui_open_gadget_list(GADGET_PANEL, tab);
    main_tabs[tab].build();
    ui_close_gadget_list();
  }
}
