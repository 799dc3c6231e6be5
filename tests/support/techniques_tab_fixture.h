// A main window with only the Techniques tab built, and a pump that hands the
// queued events to the tab's handlers in the main loop's order.
#pragma once

#include <string>

#include "core/core.h"
#include "core/ids.h"
#include "support/test_support.h"
#include "techniques/tab_gadgets.h"
#include "techniques/techniques.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

// A fresh run: fresh directory, defaults, window 0 with its Escape binding,
// panel 1 with four tabs, the Techniques tab shown, the settings file read and
// the fields written, as at start-up.
inline void start_with_techniques_tab() {
  enter_fresh_directory();
  ui_test_reset();
  init_game_state();
  ui_open_window(WINDOW_MAIN, 0, 0, 1366, 700, "Kestrova", UI_WINDOW_CAPTION | UI_WINDOW_CLOSE_BOX);
  ui_set_default_font(UI_DEFAULT_FONT);
  ui_add_shortcut(WINDOW_MAIN, UI_KEY_ESCAPE, MENU_EVENT_ESCAPE);
  ui_panel(GADGET_PANEL, 10, 10, 1346, 626);
  for (const char* tab : {"Main", "Preferences", "Techniques", "Statistics"})
    ui_add_panel_tab(GADGET_PANEL, translate(tab));
  ui_close_gadget_list();
  ui_open_gadget_list(GADGET_PANEL, TAB_TECHNIQUES);
  build_techniques_tab();
  ui_close_gadget_list();
  ui_set_state(GADGET_PANEL, TAB_TECHNIQUES);
  load_technique_prefs();
  show_technique_settings();
}

// Hands every queued event of the main window to the Techniques tab's part
// of the main loop: the field check, then the tab's buttons, then the grid.
inline void run_techniques_tab_events() {
  for (int kind = ui_poll_event(); kind != UI_EVENT_NONE; kind = ui_poll_event()) {
    const int gadget = ui_event_object();
    if (kind == UI_EVENT_GADGET && ui_state(GADGET_PANEL) == TAB_TECHNIQUES) {
      if (gadget >= GADGET_TECHNIQUES_FIRST && gadget <= GADGET_TECHNIQUES_LAST)
        validate_technique_field(gadget);
      switch (gadget) {
        case GADGET_OPEN_DATABASE: import_draws_database(); break;
        case GADGET_RESET: reset_techniques(); break;
        case GADGET_LEARN: learn_techniques(); break;
        case GADGET_TARVIK: show_tarvik_rules_window(); break;
        case GADGET_REMOVE: remove_weak_outcomes(); break;
        case GADGET_SAVE_TECHNIQUES: save_techniques(); break;
        default: break;
      }
    }
    handle_number_associations_event(kind, gadget);
  }
}

// Imports a past-results file through the "Open" button and its dialog.
inline void import_file_through_open(const std::string& path) {
  ui_test_push_file_answer(path);
  ui_test_click(GADGET_OPEN_DATABASE);
  run_techniques_tab_events();
}
