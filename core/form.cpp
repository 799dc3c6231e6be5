#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <tuple>

#include "core/core.h"
#include "core/text.h"
#include "ui/ui.h"

namespace {

constexpr int64_t k_red = 255;  // RGB(255, 0, 0)

// A number as the player may type it into a field: digits with at most one
// leading "-" and, where allowed, one "." that neither starts nor ends it.
// Blanks are not allowed anywhere.
bool is_well_formed_number(const std::string& text, bool allow_point) {
  if (text.empty()) return false;
  if (text.back() == '-' || text.back() == '.') return false;
  if (text.front() == '.') return false;
  int minus = 0;
  int points = 0;
  for (char c : text) {
    if (c >= '0' && c <= '9') continue;
    if (c == '-') {
      ++minus;
    } else if (c == '.' && allow_point) {
      ++points;
    } else {
      return false;
    }
  }
  if (minus > 1 || points > 1) return false;
  return minus == 0 || text.front() == '-';
}

// Halves away from zero; values beyond int64 are held at its ends.
int64_t round_to_integer(float value) {
  if (value >= 9.2e18f) return std::numeric_limits<int64_t>::max();
  if (value <= -9.2e18f) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(std::llround(value));
}

void set_background(int64_t gadget, bool bad) {
  int g = static_cast<int>(gadget);
  int64_t current = ui_colour(g, UI_BACK);
  if (bad) {
    if (current != k_red) ui_set_colour(g, UI_BACK, k_red);
  } else if (current != UI_DEFAULT_COLOUR) {
    ui_set_colour(g, UI_BACK, UI_DEFAULT_COLOUR);
  }
}

}  // namespace

int64_t validate_number_field(int64_t gadget, float min, float max, int64_t allow_decimals,
                              int64_t allow_empty) {
  std::string text = ui_text(static_cast<int>(gadget));
  if (allow_empty == 1 && text.empty()) {
    set_background(gadget, false);
    return 0;
  }
  float value = val_float(text);
  if (!is_well_formed_number(text, allow_decimals == 1)) value = min - 1.0f;
  set_background(gadget, number_text_in_range(text, min, max, allow_decimals) == 0);
  return round_to_integer(value);
}

int64_t number_text_in_range(const std::string& text, float min, float max, int64_t allow_decimals) {
  if (!is_well_formed_number(text, allow_decimals == 1)) return 0;
  const float value = val_float(text);
  return value >= min && value <= max ? 1 : 0;
}

namespace {

// The check before an action of check_range_field and check_whole_range_field;
// allow_point says whether a "." may stand in the number.
int64_t check_field_before_action(int64_t gadget, float max, const std::string& message, bool allow_point) {
  int g = static_cast<int>(gadget);
  std::string text = ui_text(g);
  float value = val_float(text);
  if (is_well_formed_number(text, allow_point) && value >= 1.0f && value <= max) return 0;
  ui_message(translate("Warning!"), message, UI_MESSAGE_OK | UI_ICON_WARNING);
  ui_set_focus(g);
  return 1;
}

}  // namespace

int64_t check_range_field(int64_t gadget, float max, const std::string& message) {
  return check_field_before_action(gadget, max, message, true);
}

int64_t check_whole_range_field(int64_t gadget, float max, const std::string& message) {
  return check_field_before_action(gadget, max, message, false);
}

void mark_empty_field(int64_t gadget) {
  set_background(gadget, trim_blanks(ui_text(static_cast<int>(gadget))).empty());
}

void fit_gadget_to_content(int64_t gadget) {
  int g = static_cast<int>(gadget);
  int width = ui_required_width(g);
  int height = ui_required_height(g);
  if (ui_width(g) == width && ui_height(g) == height) return;
  ui_resize(g, ui_x(g), ui_y(g), width, height);
}

void set_spin_value(int64_t gadget, int64_t value) {
  // Text before value: a numeric spin rewrites its text from its value, so
  // this order ends with both showing the same number.
  int g = static_cast<int>(gadget);
  ui_set_text(g, str_int(value));
  ui_set_state(g, value);
}

void set_text_if_changed(int64_t gadget, const std::string& text) {
  int g = static_cast<int>(gadget);
  if (ui_text(g) != text) ui_set_text(g, text);
}

void report_window_failure() { ui_message("Error", "Can't open a window.", UI_ICON_ERROR); }

namespace {

// Faces drawn before, by size, text, colour and font: the pool buttons are
// recoloured by the dozen, and each shows one of a few faces.
using FaceKey = std::tuple<int, int, std::string, int64_t, int>;
std::map<FaceKey, int> g_button_faces;
constexpr size_t kMostButtonFaces = 512;

// The image of a face, drawn now unless it was drawn before; 0 when no
// image can be made.
int button_face(int w, int h, const std::string& text, int64_t colour, int font) {
  const FaceKey key{w, h, text, colour, font};
  auto found = g_button_faces.find(key);
  if (found != g_button_faces.end() && ui_image_exists(found->second)) return found->second;
  if (g_button_faces.size() >= kMostButtonFaces) forget_button_faces();
  int image = ui_new_image(w, h);
  if (image == 0) return 0;
  if (!ui_start_drawing_image(image)) {
    ui_free_image(image);
    return 0;
  }
  ui_drawing_font(font);
  ui_draw_box(0, 0, w, h, colour);
  int tw = ui_text_width(text);
  int th = ui_text_height(text);
  // Each half is truncated on its own: a 40-wide face and a 7-wide text put
  // the text at 20 - 3 = 17. A text wider than the face starts left of it.
  ui_draw_text(w / 2 - tw / 2, h / 2 - th / 2, text, 0, colour);
  ui_stop_drawing();
  g_button_faces[key] = image;
  return image;
}

}  // namespace

void forget_button_faces() {
  for (const auto& [key, image] : g_button_faces) ui_free_image(image);
  g_button_faces.clear();
}

int64_t create_colored_button(int64_t gadget, int64_t x, int64_t y, int64_t width,
                              int64_t height, const std::string& text, int64_t colour,
                              int64_t font) {
  // -1: the face of a plain push button, so that such a button looks like
  // the others.
  if (colour == -1) colour = ui_button_face_colour();
  int w = static_cast<int>(width);
  int h = static_cast<int>(height);
  int image = button_face(w, h, text, colour, font == -1 ? UI_DEFAULT_FONT : static_cast<int>(font));
  if (image == 0) return 0;
  // The button keeps its own picture.
  bool made = ui_image_button(static_cast<int>(gadget), static_cast<int>(x), static_cast<int>(y),
                              w, h, image);
  return made ? gadget : 0;
}
