// The Tarvik rules window: a text of rules of thumb about improbable draws and
// an "Apply" button that caps the windows those rules speak of.
#include <string>

#include "core/core.h"
#include "core/ids.h"
#include "techniques/tab_gadgets.h"
#include "techniques/techniques.h"
#include "ui/ui.h"

namespace {

void cap(int64_t& value, int64_t limit) {
  if (value > limit) value = limit;
}

struct RulesLine {
  const char* key;
  bool blank_after;  // a blank line closes the rules, the note and the usage
};

std::string rules_text() {
  static const RulesLine kLines[] = {
      {"Tarvik says one must prevent:", false},
      {" 1. In each dozen of numbers more than 2 come out. For example, it is less probable "
       "that between 1 and 10, 3 numbers come out;",
       false},
      {" 2. In each line more than 2 numbers come out;", false},
      {" 3. In each column more than 2 numbers come out;", false},
      {" 4. In the sequence of the last two points, it is improbable that more than 2 "
       "consecutive numbers come out;",
       false},
      {" 5. In the sequence of the previous point, it is improbable that more than 2 "
       "consecutive vertical numbers come out;",
       false},
      {" 6. 5 exclusively even or odd numbers come out.", true},
      {"Note: Rule 5 doesn't exist yet!", true},
      {"Usage:", false},
      {" 1. Learn;", false},
      {" 2. Tarvik;", false},
      {" 3. Remove Chances % [OPTIONAL].", true},
  };
  std::string text;
  for (const RulesLine& line : kLines) {
    text += translate(line.key) + "\n";
    if (line.blank_after) text += "\n";
  }
  return text;
}

}  // namespace

void apply_tarvik_rules() {
  // Rule 1: the decades; rule 2: the rows; rule 3: the columns; rule 4: runs
  // of consecutive numbers; rule 6: all five even or all five odd.
  for (int id = T_decade_0x; id <= T_decade_5x; ++id) cap(g_techniques[id].max, 2);
  for (int id = T_row_1; id <= T_row_9; ++id) cap(g_techniques[id].max, 2);
  for (int id = T_column_1; id <= T_column_6; ++id) cap(g_techniques[id].max, 2);
  cap(g_max_number_sequence, 2);
  cap(g_techniques[T_even].max, 4);
  cap(g_techniques[T_odd].max, 4);
  show_technique_settings();
  ui_message(translate("Warning!"), translate("Applied Tarvik rules."), UI_ICON_WARNING);
}

void show_tarvik_rules_window() {
  ui_disable_window(WINDOW_MAIN, true);
  if (!ui_open_window(WINDOW_TARVIK, 0, 0, 970, 440, translate("Suggestions for draws by Tarvik"),
                      UI_WINDOW_CAPTION | UI_WINDOW_CLOSE_BOX | UI_WINDOW_CENTER_PARENT,
                      WINDOW_MAIN)) {
    report_window_failure();
    ui_disable_window(WINDOW_MAIN, false);
    return;
  }
  const int width = ui_window_inner_width(WINDOW_TARVIK);
  const int height = ui_window_inner_height(WINDOW_TARVIK);
  ui_editor(GADGET_TARVIK_TEXT, 10, 10, width - 20, height - 60,
            UI_EDITOR_READONLY | UI_EDITOR_WORDWRAP);
  ui_set_text(GADGET_TARVIK_TEXT, rules_text());
  const int button_y = 10 + (height - 60) + 10;
  const int button_height = static_cast<int>(g_button_height);
  ui_button(GADGET_TARVIK_APPLY, width - 200, button_y, 90, button_height, translate("Apply"));
  ui_button(GADGET_TARVIK_CLOSE, width - 200 + 100, button_y, 90, button_height,
            translate("Close"));
  ui_add_shortcut(WINDOW_TARVIK, UI_KEY_ESCAPE, MENU_EVENT_ESCAPE);

  for (;;) {
    const int kind = ui_wait_event();
    const int object = ui_event_object();
    const bool closing = (kind == UI_EVENT_MENU && object == MENU_EVENT_ESCAPE) ||
                         (kind == UI_EVENT_CLOSE && ui_event_window() == WINDOW_TARVIK);
    if (kind == UI_EVENT_GADGET && object == GADGET_TARVIK_CLOSE) break;
    if (kind == UI_EVENT_GADGET && object == GADGET_TARVIK_APPLY) apply_tarvik_rules();
    if (closing) break;
  }

  ui_close_window(WINDOW_TARVIK);
  ui_disable_window(WINDOW_MAIN, false);
  ui_use_window(WINDOW_MAIN);
}
