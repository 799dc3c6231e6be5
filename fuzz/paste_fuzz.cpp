// The clipboard paste rule, then what reads the result fields it fills: the
// prize check over a small list, Validate (the range check and the technique
// filter) and the preview.
#include <cstdint>

#include "core/state.h"
#include "draws/draws.h"
#include "draws/main_tab_ids.h"
#include "fuzz/fuzz_support.h"
#include "support/program_fixture.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start_program();
  fuzz_learn_sample_database();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ui_test_clear_messages();
  clear_result_fields();
  clear_draw_list();
  // Two tickets to check the pasted result against.
  size_draw_list(2);
  g_draw_count = 1;
  add_draw_to_list("3,17,22,41,50", "2,11");
  g_draw_count = 2;
  add_draw_to_list("1,2,3,4,5,6,7,8,9,10,11", "1,2,3,4,5,6,7,8,9,10,11,12");

  ui_test_set_clipboard(fuzz_bytes(data, size));
  ui_test_click(GADGET_PASTE);
  ui_test_click(GADGET_CHECK_PRIZES);
  ui_test_click(GADGET_VALIDATE);
  run_pending_events();
  fuzz_preview_when_new();
  return 0;
}
