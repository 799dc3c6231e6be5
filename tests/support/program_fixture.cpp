#include "support/program_fixture.h"

#include "app/app.h"
#include "core/state.h"
#include "support/test_support.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

std::string start_program_for_test(int64_t build_language,
                                   const std::function<void()>& prepare) {
  std::string dir = enter_fresh_directory();
  if (prepare) prepare();
  ui_test_reset();
  g_build_language = build_language;
  start_program();
  return dir;
}

int64_t run_pending_events() {
  for (;;) {
    int kind = ui_poll_event();
    if (kind == UI_EVENT_NONE) return 0;
    if (dispatch_event(kind)) return 1;
  }
}
