// The Techniques tab: its buttons, the removal threshold, the database box and
// the inner panel whose four pages hold a text field for every window bound.
#include <algorithm>
#include <string>
#include <vector>

#include "core/core.h"
#include "core/ids.h"
#include "core/text.h"
#include "techniques/tab_gadgets.h"
#include "techniques/techniques.h"
#include "ui/ui.h"

namespace {

constexpr int kFieldWidth = 40;
constexpr int kFieldHeight = 23;
constexpr int kBoundLabelWidth = 30;  // "Max:" / "Min:"
constexpr int kBoundLabelHeight = 16;
constexpr int kRowLabelWidth = 22;    // "1:", "0x:", "1:2:"
constexpr int kRowLabelGap = 4;       // from a row label to its field
// From one row label to the next: label, gap, field and the space before the
// next label. Nine rows of it fill the 666-wide frame of the board's rows.
constexpr int kRowStep = 73;
constexpr int kFrameInset = 10;

void make_field(int gadget, int x, int y, const std::string& text, bool free_text) {
  ui_text_field(gadget, x, y, kFieldWidth, kFieldHeight, text, free_text ? 0u : UI_FIELD_NUMERIC);
}

void make_bound_label(int gadget, int x, int y, const char* key) {
  ui_label(gadget, x, y, kBoundLabelWidth, kBoundLabelHeight, translate(key), UI_LABEL_RIGHT);
}

// One window in a low frame: "Max:" and its field, "Min:" and its field 25
// below. x, y is where the "Max:" label stands.
void make_window_column(int x, int y, int max_label, int max_field, int min_label, int min_field,
                        const std::string& max_text, const std::string& min_text,
                        bool free_text) {
  int field_x = x + kBoundLabelWidth + kRowLabelGap;
  make_bound_label(max_label, x, y, "Max:");
  make_field(max_field, field_x, y, max_text, free_text);
  make_bound_label(min_label, x, y + 25, "Min:");
  make_field(min_field, field_x, y + 25, min_text, free_text);
}

// The x of a second window in a low frame: 14 right of the first maximum field.
int second_window_x(int first_x) {
  return first_x + kBoundLabelWidth + kRowLabelGap + kFieldWidth + 14;
}

// A 125-high frame of several windows: "Max:" above a row of labelled maximum
// fields, "Min:" above a row of labelled minimum fields. With interleaved
// numbering each label is followed by its field (frame + 2k, frame + 2k + 1);
// otherwise the labels of a row come first, then its fields.
void make_window_rows(int frame, int x, int y, int width, int height, const char* caption,
                      const std::vector<std::string>& labels, bool interleaved) {
  const int n = static_cast<int>(labels.size());
  ui_frame(frame, x, y, width, height, translate(caption));
  const int max_label = frame + 1;
  const int min_label = frame + 2 * n + 2;
  make_bound_label(max_label, x + kFrameInset, y + 21, "Max:");
  make_bound_label(min_label, x + kFrameInset, y + 67, "Min:");
  for (int row = 0; row < 2; ++row) {
    const int base = row == 0 ? max_label : min_label;
    const int row_y = y + (row == 0 ? 42 : 88);
    for (int k = 1; k <= n; ++k) {
      int label = interleaved ? base + 2 * k - 1 : base + k;
      int field = interleaved ? base + 2 * k : base + n + k;
      int label_x = x + kFrameInset + (k - 1) * kRowStep;
      ui_label(label, label_x, row_y, kRowLabelWidth, kBoundLabelHeight, labels[k - 1],
               UI_LABEL_RIGHT);
      make_field(field, label_x + kRowLabelWidth + kRowLabelGap, row_y,
                 row == 0 ? "0" : "999", false);
    }
  }
}

// A 60-high frame holding one field.
void make_single_field_frame(int frame, int x, int y, int width, const char* caption, int field,
                             const std::string& text, bool free_text) {
  ui_frame(frame, x, y, width, 60, translate(caption));
  make_field(field, x + kFrameInset, y + 21, text, free_text);
}

std::vector<std::string> numbered_labels(int first, int last) {
  std::vector<std::string> labels;
  for (int k = first; k <= last; ++k) labels.push_back(str_int(k) + ":");
  return labels;
}

std::string max_text(TechniqueId id) { return str_int(g_techniques[id].max); }
std::string min_text(TechniqueId id) { return str_int(g_techniques[id].min); }

void build_tab_buttons() {
  ui_button(GADGET_RESET, 10, 507, 90, static_cast<int>(g_button_height), translate("Reset"));
  ui_button(GADGET_LEARN, 110, 507, 90, static_cast<int>(g_button_height), translate("Learn"));
  ui_button(GADGET_TARVIK, 210, 507, 90, static_cast<int>(g_button_height), translate("Tarvik"));
  // As wide as the Tarvik button, or as its caption needs with a margin.
  ui_button(GADGET_BACKTEST, 310, 507, 90, static_cast<int>(g_button_height), translate("Back-test"));
  const int backtest_width = std::max(90, ui_required_width(GADGET_BACKTEST) + 10);
  ui_resize(GADGET_BACKTEST, 310, 507, backtest_width, static_cast<int>(g_button_height));
  create_colored_button(GADGET_REMOVE, 10, 549, 90, g_button_height, translate("Remove"), 255,
                        FONT_NORMAL);
  ui_label(GADGET_REMOVE_LABEL, 105, 552, 140, static_cast<int>(g_text_height),
           translate("Remove Chances % ≤:"), UI_LABEL_RIGHT);
  ui_set_colour(GADGET_REMOVE_LABEL, UI_FRONT, 255);
  ui_spin(GADGET_REMOVE_THRESHOLD, 252, 549, 56, static_cast<int>(g_spinner_height), 0, 100,
          UI_SPIN_NUMERIC);
  set_spin_value(GADGET_REMOVE_THRESHOLD, g_removal_threshold);
  ui_frame(GADGET_DATABASE_FRAME, 495, 498, 684, 82, "");
  ui_label(GADGET_DATABASE_FILE, 500, 510, 535, static_cast<int>(g_text_height),
           translate("File:") + "N/A");
  ui_button(GADGET_OPEN_DATABASE, 500, 536, 90, static_cast<int>(g_button_height),
            translate("Open"));
  ui_label(GADGET_DRAWS_IMPORTED, 595, 536, 300, static_cast<int>(g_text_height),
           translate("Draws Imported:") + "0", UI_LABEL_WRAP);
  ui_button(GADGET_SAVE_TECHNIQUES, 1189, 534, 136, 41, translate("Save Techniques"));
}

void build_first_page() {
  ui_frame(374, 10, 10, 100, 85, translate("Sum Nrs"));
  make_window_column(20, 31, 375, 376, 377, 378, max_text(T_sum_numbers), min_text(T_sum_numbers),
                     false);
  ui_frame(379, 120, 10, 100, 85, translate("Decades"));
  make_window_column(130, 31, 380, 381, 382, 383, "0", "999", false);
  ui_frame(384, 230, 10, 190, 85, translate("Even/Odd"));
  make_window_column(240, 31, 385, 386, 387, 388, "0", "999", false);
  make_window_column(second_window_x(240), 31, 389, 390, 391, 392, "0", "999", false);
  ui_frame(393, 430, 10, 190, 85, translate("Diag1. Low/High"));
  make_window_column(440, 31, 394, 395, 396, 397, "0", "999", false);
  make_window_column(second_window_x(440), 31, 398, 399, 400, 401, "0", "999", false);
  ui_frame(402, 630, 10, 190, 85, translate("Diag2. Low/High"));
  make_window_column(640, 31, 403, 404, 405, 406, "0", "999", false);
  make_window_column(second_window_x(640), 31, 407, 408, 409, 410, "0", "999", false);

  make_single_field_frame(429, 10, 105, 150, "Max sequence of Nrs", GADGET_MAX_SEQUENCE, "1", true);
  make_single_field_frame(431, 170, 105, 180, "Max distance between Nrs", 432, "0", false);
  make_single_field_frame(433, 360, 105, 160, "Tallest Nr being the 1st", 434, "0", false);
  make_single_field_frame(435, 530, 105, 145, "Prime Numbers Max", 436, "0", false);
  make_single_field_frame(437, 685, 105, 165, "Max Common Numbers", GADGET_MAX_COMMON_NUMBERS,
                          str_int(g_max_common_numbers), false);

  make_window_rows(439, 10, 175, 666, 125, "Numbers per rows", numbered_labels(1, 9), true);
  make_window_rows(478, 686, 175, 446, 125, "Numbers per columns", numbered_labels(1, 6), true);
  std::vector<std::string> endings = numbered_labels(1, 9);
  endings.push_back("0:");
  make_window_rows(505, 10, 310, 736, 125, "Terminations", endings, true);
  make_window_rows(548, 756, 310, 231, 125, "Rings", numbered_labels(1, 3), true);
}

void build_second_page() {
  make_window_rows(563, 10, 10, 451, 125, "Numbers per decade",
                   {"0x:", "1x:", "2x:", "3x:", "4x:", "5x:"}, false);
  make_window_rows(590, 471, 10, 305, 125, "Distances between numbers",
                   {"1:2:", "2:3:", "3:4:", "4:5:"}, false);
  create_number_associations_block();
}

void build_third_page() {
  make_window_rows(671, 10, 10, 886, 125, "Diagonals: Right→Left", numbered_labels(1, 12), true);
  make_window_rows(722, 10, 145, 886, 125, "Diagonals: Left→Right", numbered_labels(1, 12), true);
  // These windows are kept and stored but never learned: shown, not edited.
  for (int g = GADGET_LEFT_DIAGONALS_FIRST; g <= GADGET_LEFT_DIAGONALS_LAST; ++g) ui_disable(g, true);

  ui_frame(420, 10, 280, 190, 85, translate("Low/High"));
  make_window_column(20, 301, 421, 422, 423, 424, max_text(T_low), min_text(T_low), true);
  make_window_column(second_window_x(20), 301, 425, 426, 427, 428, max_text(T_high),
                     min_text(T_high), true);
  ui_frame(411, 220, 280, 190, 85, translate("Half Low/High"));
  make_window_column(230, 301, 412, 413, 414, 415, max_text(T_half_low), min_text(T_half_low),
                     true);
  make_window_column(second_window_x(230), 301, 416, 417, 418, 419, max_text(T_half_high),
                     min_text(T_half_high), true);
}

void build_star_page() {
  ui_frame(773, 10, 10, 105, 85, translate("Sum Stars"));
  make_window_column(20, 31, 774, 775, 776, 777, "0", "999", false);
  // Wider than its English caption needs, for "Máx sequência de Estrelas".
  make_single_field_frame(778, 135, 10, 165, "Max sequence of Stars", GADGET_MAX_STAR_SEQUENCE, "1",
                          true);
  create_star_associations_blocks();
  make_window_rows(780, 942, 155, 316, 140, "Stars per rows", numbered_labels(1, 4), true);
  make_window_rows(799, 942, 305, 241, 125, "Stars per columns", numbered_labels(1, 3), true);
}

}  // namespace

void build_techniques_tab() {
  build_tab_buttons();

  ui_panel(GADGET_TECHNIQUE_PANEL, 10, 10, 1321, 489);
  ui_add_panel_tab(GADGET_TECHNIQUE_PANEL, translate("⚫ Page 1"));
  build_first_page();
  ui_add_panel_tab(GADGET_TECHNIQUE_PANEL, translate("⚫ Page 2"));
  build_second_page();
  ui_add_panel_tab(GADGET_TECHNIQUE_PANEL, translate("⚫ Page 3"));
  build_third_page();
  ui_add_panel_tab(GADGET_TECHNIQUE_PANEL, translate("★ Page 1"));
  build_star_page();
  ui_close_gadget_list();
  ui_set_state(GADGET_TECHNIQUE_PANEL, TECHNIQUE_PAGE_1);
}
