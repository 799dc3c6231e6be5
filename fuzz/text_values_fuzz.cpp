// The integer and decimal readings of a text that every reader shares, the
// field check that applies them to what the player types, and the check of a
// field of whole numbers before an action, which agrees with its colour.
#include <cmath>
#include <cstdint>

#include "core/core.h"
#include "core/text.h"
#include "fuzz/fuzz_support.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {
constexpr int kField = 295;  // the first price field of the Preferences tab
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start_program();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = fuzz_bytes(data, size);
  const int64_t whole = val_int(text);
  // The decimal text of any value reads back as that value.
  fuzz_require(val_int(str_int(whole)) == whole, "val_int reads str_int back");
  fuzz_require(val_int(" \t" + text) == whole, "leading blanks and tabs are skipped");
  const float decimal = val_float(text);
  const std::string shown = format_number(decimal, 2, true);
  fuzz_require(!shown.empty(), "a decimal is shown");
  if (std::isfinite(decimal)) {
    float again = val_float(format_number(decimal, 9, false));
    fuzz_require(again == decimal || std::fabs(again - decimal) <= 1e-8f + std::fabs(decimal) * 1e-6f,
                 "a decimal shown in full reads back");
  }
  two_digits(whole);
  for (int64_t k = 0; k <= 3; ++k) string_field(text, k, ",");
  text_mid(text, whole % 64, whole % 7);
  text_right(text, whole % 50);
  count_string(text, " ");

  // The player's typing: a field that allows decimals and one that does not.
  ui_set_text(kField, text);
  validate_number_field(kField, 0, 999999, 1, 1);
  validate_number_field(kField, 1, 50, 0, 0);
  // A field of whole numbers that its check paints red is refused before an
  // action, and one it leaves white is taken: "2.5" is no whole number in
  // either. Any text taken is a number in digits alone.
  const bool red = ui_colour(kField, UI_BACK) != UI_DEFAULT_COLOUR;
  ui_test_clear_messages();
  const bool refused = check_whole_range_field(kField, 50, "x") == 1;
  fuzz_require(refused == red, "a field of whole numbers is refused before an action exactly when it is red");
  fuzz_require(refused || text_is_digits(ui_text(kField)), "a whole number taken is digits alone");
  return 0;
}
