#include <gtest/gtest.h>

#include <string>

#include "core/core.h"
#include "support/test_support.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

constexpr int64_t kRed = 255;
constexpr int kField = 10;
constexpr int kOtherField = 11;

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    enter_fresh_directory();
    init_game_state();
    ui_test_reset();
    g_language = 1;
    ASSERT_TRUE(ui_open_window(0, 0, 0, 400, 300, "form", UI_WINDOW_CAPTION));
    ASSERT_TRUE(ui_text_field(kField, 10, 10, 120, 24, ""));
    ASSERT_TRUE(ui_text_field(kOtherField, 10, 40, 120, 24, ""));
  }
};

struct NumberCase {
  const char* text;
  float min;
  float max;
  int64_t decimals;
  int64_t empty;
  int64_t result;
  bool red;
};

TEST_F(FormTest, ValidateNumberFieldColoursAndRounds) {
  const NumberCase cases[] = {
      {"7", 1, 50, 0, 0, 7, false},
      {"1", 1, 50, 0, 0, 1, false},
      {"50", 1, 50, 0, 0, 50, false},
      {"0", 1, 50, 0, 0, 0, true},
      {"51", 1, 50, 0, 0, 51, true},
      {"-3", 1, 50, 0, 0, -3, true},
      {"3-", 1, 50, 0, 0, 0, true},
      {"--3", 1, 50, 0, 0, 0, true},
      {"-", 1, 50, 0, 0, 0, true},
      {"+5", 1, 50, 0, 0, 0, true},
      {" 7", 1, 50, 0, 0, 0, true},
      {"7 ", 1, 50, 0, 0, 0, true},
      {"5a", 1, 50, 0, 0, 0, true},
      {"", 1, 50, 0, 0, 0, true},
      {"", 1, 50, 0, 1, 0, false},
      {"2.5", 1, 50, 0, 0, 0, true},  // no decimal point allowed
      {"2.5", 2.5f, 10000, 1, 0, 3, false},
      {"9999.5", 2.5f, 10000, 1, 0, 10000, false},
      {"2.49", 2.5f, 10000, 1, 0, 2, true},
      {"2.", 2.5f, 10000, 1, 0, 2, true},
      {".5", 2.5f, 10000, 1, 0, 2, true},
      {"2.5.1", 2.5f, 10000, 1, 0, 2, true},
      {"1,5", 2.5f, 10000, 1, 0, 2, true},
      {"-2.5", -10, 10, 1, 0, -3, false},
      {"-1.5", -10, 10, 1, 0, -2, false},
      {"-0.4", -10, 10, 1, 0, 0, false},
      {"5-3", -10, 10, 0, 0, -11, true},
      // 139,838,161 is not a 32-bit float; it is compared as 139,838,160.
      {"139838161", 1, 139838160, 0, 0, 139838160, false},
      {"139838177", 1, 139838160, 0, 0, 139838176, true},
  };
  for (const NumberCase& c : cases) {
    for (int64_t before : {UI_DEFAULT_COLOUR, kRed}) {
      ui_set_text(kField, c.text);
      ui_set_colour(kField, UI_BACK, before);
      EXPECT_EQ(validate_number_field(kField, c.min, c.max, c.decimals, c.empty), c.result)
          << "text \"" << c.text << "\"";
      EXPECT_EQ(ui_colour(kField, UI_BACK), c.red ? kRed : UI_DEFAULT_COLOUR)
          << "text \"" << c.text << "\", colour before " << before;
      EXPECT_EQ(ui_text(kField), c.text);
    }
  }
  EXPECT_EQ(ui_test_queue_length(), 0);
}

// check_range_field, and check_whole_range_field, which also refuses a
// decimal point.
TEST_F(FormTest, CheckRangeFieldWarnsAndTakesTheFocus) {
  struct Case {
    const char* text;
    bool bad;
    bool bad_when_whole;
  };
  const Case cases[] = {
      {"50", false, false},  {"1", false, false},   {"05", false, false},  {"2.5", false, true},
      {"49.99", false, true}, {"7.0", false, true}, {"51", true, true},    {"0", true, true},
      {"-1", true, true},    {"a", true, true},     {"", true, true},      {" 5", true, true},
      {"5.", true, true},    {".5", true, true},    {"50.5", true, true},
  };
  const std::string message = "The numbers must be in the range 1:50";
  for (const Case& c : cases) {
    for (bool whole : {false, true}) {
      const bool bad = whole ? c.bad_when_whole : c.bad;
      ui_test_clear_messages();
      ui_set_text(kField, c.text);
      ui_set_colour(kField, UI_BACK, UI_DEFAULT_COLOUR);
      ui_set_focus(kOtherField);
      EXPECT_EQ(whole ? check_whole_range_field(kField, 50, message) : check_range_field(kField, 50, message),
                bad ? 1 : 0)
          << "text \"" << c.text << "\"" << (whole ? ", whole numbers" : "");
      EXPECT_EQ(ui_colour(kField, UI_BACK), UI_DEFAULT_COLOUR);
      if (!bad) {
        EXPECT_TRUE(ui_test_messages().empty()) << c.text;
        EXPECT_EQ(ui_focused_gadget(), kOtherField) << c.text;
        continue;
      }
      ASSERT_EQ(ui_test_messages().size(), 1u) << c.text;
      const UiMessageRecord& box = ui_test_messages()[0];
      EXPECT_EQ(box.title, "Warning!");
      EXPECT_EQ(box.text, message);
      EXPECT_EQ(box.flags, UI_MESSAGE_OK | UI_ICON_WARNING);
      EXPECT_EQ(ui_focused_gadget(), kField) << c.text;
    }
  }
}

TEST_F(FormTest, CheckRangeFieldTitleFollowsTheLanguage) {
  g_language = 2;
  ui_set_text(kField, "99");
  EXPECT_EQ(check_range_field(kField, 15, "x"), 1);
  ASSERT_EQ(ui_test_messages().size(), 1u);
  EXPECT_EQ(ui_test_messages()[0].title, "Aviso!");
}

TEST_F(FormTest, MarkEmptyField) {
  struct Case {
    const char* text;
    bool red;
  };
  const Case cases[] = {{"", true}, {"   ", true}, {"a", false}, {"  a ", false}};
  for (const Case& c : cases) {
    for (int64_t before : {UI_DEFAULT_COLOUR, kRed}) {
      ui_set_text(kField, c.text);
      ui_set_colour(kField, UI_BACK, before);
      mark_empty_field(kField);
      EXPECT_EQ(ui_colour(kField, UI_BACK), c.red ? kRed : UI_DEFAULT_COLOUR)
          << "text \"" << c.text << "\", colour before " << before;
    }
  }
}

TEST_F(FormTest, MarkEmptyFieldFollowsTyping) {
  ui_set_text(kField, "  ");
  mark_empty_field(kField);
  EXPECT_EQ(ui_colour(kField, UI_BACK), kRed);
  ui_test_type(kField, "  x");
  mark_empty_field(kField);
  EXPECT_EQ(ui_colour(kField, UI_BACK), UI_DEFAULT_COLOUR);
}

TEST_F(FormTest, FitGadgetToContentKeepsThePlace) {
  ASSERT_TRUE(ui_label(20, 15, 60, 10, 10, "A caption much wider than ten units"));
  int width = ui_required_width(20);
  int height = ui_required_height(20);
  ASSERT_GT(width, 10);
  fit_gadget_to_content(20);
  EXPECT_EQ(ui_x(20), 15);
  EXPECT_EQ(ui_y(20), 60);
  EXPECT_EQ(ui_width(20), width);
  EXPECT_EQ(ui_height(20), height);
  fit_gadget_to_content(20);
  EXPECT_EQ(ui_x(20), 15);
  EXPECT_EQ(ui_y(20), 60);
  EXPECT_EQ(ui_width(20), width);
  EXPECT_EQ(ui_height(20), height);
}

TEST_F(FormTest, SetSpinValueSetsTextAndValueWithoutEvents) {
  ASSERT_TRUE(ui_spin(30, 10, 80, 80, 24, 0, 100, UI_SPIN_NUMERIC));
  set_spin_value(30, 42);
  EXPECT_EQ(ui_text(30), "42");
  EXPECT_EQ(ui_state(30), 42);
  set_spin_value(30, 7);
  EXPECT_EQ(ui_text(30), "7");
  EXPECT_EQ(ui_state(30), 7);
  EXPECT_EQ(ui_test_queue_length(), 0);
}

// Draws on a scratch image what a coloured button of this size should show
// with its text at (text_x, text_y) and hands back the colour of each pixel
// inside the one-pixel bevel that the button paints round its picture.
std::vector<int64_t> expected_face(int width, int height, const std::string& text, int64_t colour,
                                   int text_x, int text_y) {
  std::vector<int64_t> pixels;
  int image = ui_new_image(width, height);
  EXPECT_NE(image, 0);
  EXPECT_TRUE(ui_start_drawing_image(image));
  ui_drawing_font(UI_DEFAULT_FONT);
  ui_draw_box(0, 0, width, height, colour);
  ui_draw_text(text_x, text_y, text, 0, colour);
  for (int y = 1; y < height - 1; ++y)
    for (int x = 1; x < width - 1; ++x) pixels.push_back(ui_point(x, y));
  ui_stop_drawing();
  ui_free_image(image);
  return pixels;
}

void measure_text(const std::string& text, int* tw, int* th) {
  int image = ui_new_image(4, 4);
  ASSERT_TRUE(ui_start_drawing_image(image));
  ui_drawing_font(UI_DEFAULT_FONT);
  *tw = ui_text_width(text);
  *th = ui_text_height(text);
  ui_stop_drawing();
  ui_free_image(image);
}

// The button's pixels inside its bevel, in the order of expected_face.
std::vector<int64_t> button_pixels(int gadget, int width, int height) {
  std::vector<int64_t> pixels;
  for (int y = 1; y < height - 1; ++y)
    for (int x = 1; x < width - 1; ++x) pixels.push_back(ui_test_gadget_pixel(gadget, x, y));
  return pixels;
}

TEST_F(FormTest, ColoredButtonFaceColours) {
  EXPECT_EQ(create_colored_button(40, 10, 100, 40, 20, "", 65535, -1), 40);
  EXPECT_EQ(ui_test_gadget_pixel(40, 20, 10), 65535);
  EXPECT_EQ(create_colored_button(41, 60, 100, 40, 20, "", -1, -1), 41);
  EXPECT_EQ(ui_test_gadget_pixel(41, 20, 10), ui_test_gadget_pixel(41, 2, 2));
  EXPECT_EQ(ui_test_gadget_pixel(41, 20, 10), ui_button_face_colour());
  // The same number again replaces the button with one of the new colour.
  EXPECT_EQ(create_colored_button(40, 10, 100, 40, 20, "", kRed, -1), 40);
  EXPECT_EQ(ui_test_gadget_pixel(40, 20, 10), kRed);
  EXPECT_EQ(create_colored_button(42, 0, 0, 0, 20, "x", kRed, -1), 0);
  EXPECT_FALSE(ui_gadget_exists(42));
}

TEST_F(FormTest, ColoredButtonCentresBlackTextWithTruncatedHalves) {
  // Pick a text of odd width on an even face, where w/2 - tw/2 and
  // (w - tw)/2 part by one pixel.
  const int width = 40;
  const int height = 21;
  std::string text;
  int tw = 0;
  int th = 0;
  for (const char* candidate : {"1", "7", "W", "ab", "12", "Ok", "xyz", "abc"}) {
    measure_text(candidate, &tw, &th);
    if (tw % 2 == 1) {
      text = candidate;
      break;
    }
  }
  ASSERT_FALSE(text.empty()) << "no text of odd width in the default font";
  ASSERT_EQ(create_colored_button(43, 5, 150, width, height, text, kRed, -1), 43);
  std::vector<int64_t> shown = button_pixels(43, width, height);
  int x = width / 2 - tw / 2;
  int y = height / 2 - th / 2;
  EXPECT_EQ(shown, expected_face(width, height, text, kRed, x, y));
  EXPECT_NE(shown, expected_face(width, height, text, kRed, (width - tw) / 2, y));
  // Smoothed glyph edges blend into the face; the strokes themselves are dark.
  bool dark = false;
  for (int64_t p : shown)
    dark = dark || ((p & 0xFF) < 64 && ((p >> 8) & 0xFF) < 64 && ((p >> 16) & 0xFF) < 64);
  EXPECT_TRUE(dark) << "the text is drawn in black";
}

TEST_F(FormTest, ColoredButtonTextWiderThanTheFaceStartsLeftOfIt) {
  const std::string text = "A caption far wider than its button";
  int tw = 0;
  int th = 0;
  measure_text(text, &tw, &th);
  const int width = 30;
  const int height = 24;
  ASSERT_GT(tw, width);
  ASSERT_EQ(create_colored_button(44, 5, 200, width, height, text, 65535, -1), 44);
  int x = width / 2 - tw / 2;
  ASSERT_LT(x, 0);
  EXPECT_EQ(button_pixels(44, width, height),
            expected_face(width, height, text, 65535, x, height / 2 - th / 2));
}

}  // namespace
