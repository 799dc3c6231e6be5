#include "core/core.h"
#include "core/ids.h"
#include "ui/ui.h"

void start_long_operation() { ui_add_timer(WINDOW_MAIN, TIMER_LONG_OPERATION, 800); }

void end_long_operation() { ui_remove_timer(WINDOW_MAIN, TIMER_LONG_OPERATION); }

int64_t poll_abort_request() {
  if (ui_poll_event() != UI_EVENT_MENU || ui_event_object() != MENU_EVENT_ESCAPE) return 0;
  return ui_message(translate("Warning!"), translate("Really abort?"),
                    UI_MESSAGE_YES_NO | UI_ICON_WARNING) == UI_ANSWER_YES
             ? 1
             : 0;
}
