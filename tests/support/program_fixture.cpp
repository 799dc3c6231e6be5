#include "support/program_fixture.h"

#include <gtest/gtest.h>

#include "app/app.h"
#include "core/ids.h"
#include "core/state.h"
#include "support/test_support.h"
#include "techniques/tab_gadgets.h"
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

void click_gadget(int gadget) {
  ui_test_click(gadget);
  run_pending_events();
}

void start_with_techniques_tab() {
  start_program_for_test();
  ui_set_state(GADGET_PANEL, TAB_TECHNIQUES);
}

void import_file_through_open(const std::string& path) {
  ui_test_push_file_answer(path);
  ui_test_click(GADGET_OPEN_DATABASE);
  run_pending_events();
}

void expect_single_message(const std::string& title, const std::string& text, unsigned flags) {
  ASSERT_EQ(ui_test_messages().size(), 1u);
  EXPECT_EQ(ui_test_messages()[0].title, title);
  EXPECT_EQ(ui_test_messages()[0].text, text);
  EXPECT_EQ(ui_test_messages()[0].flags, flags);
}
