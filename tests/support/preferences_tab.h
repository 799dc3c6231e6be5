// The Preferences tab on its own, for tests of the tab and its settings file:
// window 0 with panel 1 and its four tabs, the tab built inside tab 1 and
// shown, and the tab's two handlers fed the queued events in the order the
// main loop offers them.
#pragma once

#include <cstdint>
#include <string>

#include "app/app.h"
#include "core/core.h"
#include "core/ids.h"
#include "draws/draws.h"
#include "draws/selection.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

// A fresh start in the current directory: the gadget layer reset, every
// global at its default, the main settings file read, the tab built.
// Returns what load_main_prefs returned.
inline int64_t start_preferences_tab() {
  ui_test_reset();
  init_game_state();
  int64_t loaded = load_main_prefs();
  ui_open_window(WINDOW_MAIN, 0, 0, 1366, 700, "Kestrova",
                 UI_WINDOW_CAPTION | UI_WINDOW_CLOSE_BOX | UI_WINDOW_MINIMIZE_BOX);
  ui_panel(GADGET_PANEL, 10, 10, 1346, 626);
  ui_add_panel_tab(GADGET_PANEL, translate("Main"));
  ui_add_panel_tab(GADGET_PANEL, translate("Preferences"));
  ui_add_panel_tab(GADGET_PANEL, translate("Techniques"));
  ui_add_panel_tab(GADGET_PANEL, translate("Statistics"));
  ui_close_gadget_list();
  ui_open_gadget_list(GADGET_PANEL, TAB_PREFERENCES);
  build_preferences_tab();
  ui_close_gadget_list();
  ui_set_state(GADGET_PANEL, TAB_PREFERENCES);
  return loaded;
}

// Steps 3 and 4 of the main loop for every queued event.
inline void pump_preferences_events() {
  for (int kind = ui_poll_event(); kind != UI_EVENT_NONE; kind = ui_poll_event()) {
    int64_t object = ui_event_object();
    int64_t type = ui_event_type();
    if (kind == UI_EVENT_GADGET && ui_state(GADGET_PANEL) == TAB_PREFERENCES)
      handle_preferences_fields(object, type);
    handle_selection_tab_event(kind, object);
  }
}

inline void click(int gadget) {
  ui_test_click(gadget);
  pump_preferences_events();
}

inline void type_text(int gadget, const std::string& text) {
  ui_test_type(gadget, text);
  pump_preferences_events();
}

inline void choose(int gadget, int index) {
  ui_test_choose(gadget, index);
  pump_preferences_events();
}

// The face of a pool button, sampled left of its centred text.
inline int64_t button_face(int gadget) { return ui_test_gadget_pixel(gadget, 5, 20); }
