// The clipboard paste rule, then what reads the result fields it fills: the
// prize check over a small list and Validate (both take exactly a result that
// can be a draw, in whole numbers), and the preview.
//
// What the paste does is checked against a reading of the text made here
// from the clipboard format alone: values separated by single blanks, where
// " + " also separates (taken from the left, a blank never serving twice);
// exactly seven values are a result, and each field gets its value as it
// stands. Anything else, and an empty clipboard, is refused with its message
// and leaves the fields as they were.
#include <cstdint>
#include <string>
#include <vector>

#include "core/core.h"
#include "core/state.h"
#include "core/text.h"
#include "draws/draws.h"
#include "draws/main_tab_ids.h"
#include "fuzz/fuzz_support.h"
#include "support/draws_support.h"
#include "support/program_fixture.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

// The values of a pasted text, one per separator plus one.
std::vector<std::string> pasted_values(const std::string& text) {
  std::vector<std::string> values(1);
  size_t i = 0;
  while (i < text.size()) {
    if (text.compare(i, 3, " + ") == 0) {
      values.emplace_back();
      i += 3;
    } else if (text[i] == ' ') {
      values.emplace_back();
      ++i;
    } else {
      values.back() += text[i++];
    }
  }
  return values;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start_program();
  fuzz_learn_sample_database();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = fuzz_bytes(data, size);
  ui_test_clear_messages();
  clear_draw_list();
  // Two tickets to check the pasted result against.
  list_tickets({{"3,17,22,41,50", "2,11"}, {"1,2,3,4,5,6,7,8,9,10,11", "1,2,3,4,5,6,7,8,9,10,11,12"}});
  // What the fields hold before: an earlier result.
  const char* earlier[] = {"5", "9", "23", "31", "44", "3", "8"};
  std::vector<std::string> before;
  for (int k = 0; k < 7; ++k) {
    ui_set_text(GADGET_RESULT_NUMBER_FIRST + k, earlier[k]);
    before.push_back(ui_text(GADGET_RESULT_NUMBER_FIRST + k));
  }

  ui_test_set_clipboard(text);
  ui_test_click(GADGET_PASTE);
  run_pending_events();
  const std::vector<std::string> values = pasted_values(text);
  const bool accepted = !text.empty() && values.size() == 7;
  std::vector<std::string> after;
  for (int k = 0; k < 7; ++k) after.push_back(ui_text(GADGET_RESULT_NUMBER_FIRST + k));
  if (accepted) {
    fuzz_require(ui_test_messages().empty(), "a result is pasted without a message");
    // The toolkit hands over only UTF-8 text, and a gadget given other bytes
    // shows them changed.
    if (valid_utf8(text) == text) fuzz_require(after == values, "each field gets its value of the result");
  } else {
    fuzz_require(ui_test_messages().size() == 1, "a refused paste says why");
    fuzz_require(ui_test_messages()[0].text ==
                     translate(text.empty() ? "No draw in clipboard." : "Invalid draw in clipboard."),
                 "a refused paste gives its reason");
    fuzz_require(after == before, "a refused paste leaves the fields as they were");
  }

  // Check for Prizes and Validate take exactly a pasted result that can be a
  // draw: a value with decimals ("2.5"), a sign or a line break is none.
  const bool a_draw = fuzz_result_fields_hold_a_draw();
  for (int action : {GADGET_CHECK_PRIZES, GADGET_VALIDATE}) {
    ui_test_clear_messages();
    ui_test_click(action);
    run_pending_events();
    const bool refused = ui_test_messages().size() == 1 && ui_test_messages()[0].title == translate("Warning!") &&
                         ui_test_messages()[0].text.rfind("Draw is ", 0) != 0;
    fuzz_require(refused != a_draw, "a pasted result is checked exactly when it can be a draw");
  }
  fuzz_preview_when_new();
  return 0;
}
