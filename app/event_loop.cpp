// The main event loop: each event is recorded, then offered to the handlers in
// a fixed order. Each handler tests the kind first, since the gadget, menu
// item and timer numbers share one field of the record.
#include "app/app.h"
#include "core/core.h"
#include "core/ids.h"
#include "draws/draws.h"
#include "techniques/backtest.h"
#include "techniques/tab_gadgets.h"
#include "techniques/techniques.h"
#include "ui/ui.h"

int64_t g_event = 0;
int64_t g_event_menu = 0;
int64_t g_event_gadget = 0;
int64_t g_event_type = 0;
int64_t g_event_tab = 0;
int64_t g_quit_requested = 0;

namespace {

// The tab is read anew wherever it decides: a handler earlier in the pass may
// have switched it.
int64_t shown_tab() { return ui_state(GADGET_PANEL); }

// Returns 1 when the program is to end at once (File > Exit).
int64_t handle_menu_event(int64_t item) {
  if (item >= MENU_RECENT_FIRST && item <= MENU_RECENT_LAST) {
    open_draws_file(g_recent_files[item - (MENU_RECENT_FIRST - 1)]);
    return 0;
  }
  switch (item) {
    case MENU_OPEN: open_draws_file(""); break;
    case MENU_SAVE: save_draws_file(1, 0); break;
    case MENU_SAVE_AS: save_draws_file(0, 1); break;
    case MENU_RECENT_CLEAR: clear_recent_files(); break;
    case MENU_EXIT: return 1;
    case MENU_HTML_HELP: open_manual(); break;
    case MENU_CREDITS: show_tool_credits_window(); break;
    case MENU_ABOUT: show_about_window(); break;
    default: break;  // 10 is disabled; Escape (1000) does nothing here
  }
  return 0;
}

// The Techniques tab's own controls: the field check of a technique field
// runs before any button of the same event.
void handle_techniques_tab_event(int64_t gadget) {
  if (gadget >= GADGET_TECHNIQUES_FIRST && gadget <= GADGET_TECHNIQUES_LAST) {
    validate_technique_field(gadget);
  }
  switch (gadget) {
    case GADGET_OPEN_DATABASE: import_draws_database(); break;
    case GADGET_RESET: reset_techniques(); break;
    case GADGET_LEARN: learn_techniques(); break;
    case GADGET_TARVIK: show_tarvik_rules_window(); break;
    case GADGET_BACKTEST: show_backtest_window(); break;
    case GADGET_REMOVE: remove_weak_outcomes(); break;
    case GADGET_SAVE_TECHNIQUES: save_techniques(); break;
    default: break;
  }
}

}  // namespace

int64_t dispatch_event(int64_t kind) {
  g_event = kind;
  g_event_menu = ui_event_object();
  g_event_tab = shown_tab();
  g_event_gadget = ui_event_object();
  g_event_type = kind == UI_EVENT_GADGET ? ui_event_type() : 0;

  if (g_event == UI_EVENT_CLOSE && ui_event_window() == WINDOW_MAIN) g_quit_requested = 1;
  if (g_event == UI_EVENT_MENU && handle_menu_event(g_event_menu)) return 1;

  handle_draws_tab_event(g_event, g_event_gadget);
  if (g_event == UI_EVENT_GADGET && shown_tab() == TAB_PREFERENCES) {
    handle_preferences_fields(g_event_gadget, g_event_type);
  }
  handle_selection_tab_event(g_event, g_event_gadget);
  if (g_event == UI_EVENT_GADGET && shown_tab() == TAB_TECHNIQUES) {
    handle_techniques_tab_event(g_event_gadget);
  }
  handle_number_associations_event(g_event, g_event_gadget);
  handle_statistics_tab_event(g_event, g_event_gadget);

  return g_quit_requested == 1 ? 1 : 0;
}

void run_event_loop() {
  for (;;) {
    if (dispatch_event(ui_wait_event())) end_program();
  }
}
