// The three association blocks of the Techniques tab: grids of buttons that
// show, for one chosen number or star, which numbers or stars go with it. Only
// the number buttons of the numbers-with-numbers grid are ever enabled; a
// click on one switches the pair of the shown row and that number.
#include <string>

#include "core/core.h"
#include "core/text.h"
#include "techniques/tab_gadgets.h"
#include "techniques/techniques.h"
#include "ui/ui.h"

namespace {

constexpr int64_t kYellow = 65535;
constexpr int kGridButtonWidth = 28;
constexpr int kGridButtonHeight = 24;
constexpr int kGridStepX = 32;
constexpr int kGridStepY = 28;
constexpr int kGroupButtonWidth = 110;
constexpr int kGroupButtonHeight = 25;

struct GridPlace {
  int x;
  int y;
};

// Where value v (1-based) of a grid of `per_row` buttons starting at
// (left, top) stands.
GridPlace grid_place(int left, int top, int per_row, int v) {
  return {left + ((v - 1) % per_row) * kGridStepX, top + ((v - 1) / per_row) * kGridStepY};
}

// The numbers the game has room for in a number grid.
int64_t grid_numbers() {
  return g_highest_number < ASSOCIATION_GRID_NUMBERS ? g_highest_number : ASSOCIATION_GRID_NUMBERS;
}

int64_t grid_stars() {
  return g_highest_star < ASSOCIATION_GRID_STARS ? g_highest_star : ASSOCIATION_GRID_STARS;
}

// A grid of `cells` buttons numbered chooser + v. Values up to `live` are
// coloured buttons in the default colour; the rest are plain buttons that
// stand for nothing in this game and are disabled at once.
void make_grid(int chooser, int left, int top, int per_row, int cells, int64_t live) {
  for (int v = 1; v <= cells; ++v) {
    GridPlace p = grid_place(left, top, per_row, v);
    if (v <= live) {
      create_colored_button(chooser + v, p.x, p.y, kGridButtonWidth, kGridButtonHeight, str_int(v),
                            UI_DEFAULT_COLOUR, UI_DEFAULT_FONT);
    } else {
      ui_button(chooser + v, p.x, p.y, kGridButtonWidth, kGridButtonHeight, str_int(v));
      ui_disable(chooser + v, true);
    }
  }
}

void make_chooser(int chooser, int x, int y, int64_t entries) {
  ui_combo(chooser, x, y, 60, 28);
  for (int64_t v = 1; v <= entries; ++v) ui_add_item(chooser, -1, str_int(v));
  ui_set_state(chooser, 0);
}

void make_group_buttons(int all, int all_global, int none, int none_global, int x, int y) {
  ui_button(all, x, y, kGroupButtonWidth, kGroupButtonHeight, translate("All"));
  ui_button(all_global, x + 115, y, kGroupButtonWidth, kGroupButtonHeight, translate("All Global"));
  ui_button(none, x, y + 28, kGroupButtonWidth, kGroupButtonHeight, translate("None"));
  ui_button(none_global, x + 115, y + 28, kGroupButtonWidth, kGroupButtonHeight,
            translate("None Global"));
}

void disable_range(int first, int last) {
  for (int g = first; g <= last; ++g) ui_disable(g, true);
}

// Is the pair of the shown row and number n on? Cells the matrix does not
// have (it keeps the size of the last Learn or of start-up) read as off.
bool number_pair_on(int64_t row, int64_t n) {
  if (row < 1 || row >= static_cast<int64_t>(g_number_associations.size())) return false;
  const auto& cells = g_number_associations[row];
  if (n < 1 || n >= static_cast<int64_t>(cells.size())) return false;
  return cells[n].percent > 0;
}

// Re-creates number button 616 + n in its place on the second page, enabled,
// yellow when its pair is on.
void redraw_number_button(int64_t n) {
  GridPlace p = grid_place(15, 205, 6, static_cast<int>(n));
  ui_open_gadget_list(GADGET_TECHNIQUE_PANEL, TECHNIQUE_PAGE_2);
  create_colored_button(GADGET_NUMBER_ASSOCIATION_CHOOSER + n, p.x, p.y, kGridButtonWidth,
                        kGridButtonHeight, str_int(n),
                        number_pair_on(g_selected_association_number, n) ? kYellow
                                                                         : UI_DEFAULT_COLOUR,
                        UI_DEFAULT_FONT);
  ui_close_gadget_list();
}

}  // namespace

void create_number_associations_block() {
  const int chooser = GADGET_NUMBER_ASSOCIATION_CHOOSER;
  ui_frame(GADGET_NUMBER_ASSOCIATION_FRAME, 10, 145, 451, 313,
           translate("Numbers with Numbers associations (≠)"));
  ui_label(615, 15, 170, 155, 16, translate("Numbers associations:"), UI_LABEL_RIGHT);
  make_chooser(chooser, 175, 170, g_highest_number);
  make_grid(chooser, 15, 205, 6, ASSOCIATION_GRID_NUMBERS, grid_numbers());
  // The Information Theory label comes between the two rows of group
  // buttons, so the group buttons are made one by one here.
  ui_button(611, 215, 400, kGroupButtonWidth, kGroupButtonHeight, translate("All"));
  ui_button(613, 330, 400, kGroupButtonWidth, kGroupButtonHeight, translate("All Global"));
  ui_label(GADGET_INFORMATION_THEORY_LABEL, 215, 372, 30, 16,
           translate("Information Theory Removed:") + "N/A");
  fit_gadget_to_content(GADGET_INFORMATION_THEORY_LABEL);
  ui_button(612, 215, 428, kGroupButtonWidth, kGroupButtonHeight, translate("None"));
  ui_button(614, 330, 428, kGroupButtonWidth, kGroupButtonHeight, translate("None Global"));

  ui_disable(GADGET_NUMBER_ASSOCIATION_FRAME, true);
  ui_disable(chooser, true);
  disable_range(chooser + 1, chooser + ASSOCIATION_GRID_NUMBERS);
  disable_range(611, 614);
}

void create_star_associations_blocks() {
  // Stars with numbers.
  const int numbers_chooser = GADGET_STAR_NUMBER_ASSOCIATION_CHOOSER;
  ui_frame(GADGET_STAR_NUMBER_ASSOCIATION_FRAME, 10, 145, 451, 313,
           translate("Stars with Numbers associations (≠)"));
  ui_label(815, 15, 170, 155, 16, translate("Stars associations:"), UI_LABEL_RIGHT);
  make_chooser(numbers_chooser, 175, 170, g_highest_star);
  make_grid(numbers_chooser, 15, 205, 6, ASSOCIATION_GRID_NUMBERS, grid_numbers());
  make_group_buttons(871, 872, 873, 874, 215, 400);
  ui_disable(GADGET_STAR_NUMBER_ASSOCIATION_FRAME, true);
  disable_range(numbers_chooser, numbers_chooser + ASSOCIATION_GRID_NUMBERS);
  disable_range(871, 874);

  // Stars with stars.
  const int stars_chooser = GADGET_STAR_PAIR_ASSOCIATION_CHOOSER;
  ui_frame(GADGET_STAR_PAIR_ASSOCIATION_FRAME, 471, 145, 451, 313,
           translate("Stars with Stars associations (≠)"));
  ui_label(876, 476, 170, 155, 16, translate("Stars associations:"), UI_LABEL_RIGHT);
  make_chooser(stars_chooser, 636, 170, g_highest_star);
  make_grid(stars_chooser, 476, 205, 3, ASSOCIATION_GRID_STARS, grid_stars());
  make_group_buttons(890, 891, 892, 893, 676, 260);
  ui_disable(GADGET_STAR_PAIR_ASSOCIATION_FRAME, true);
  disable_range(stars_chooser, stars_chooser + ASSOCIATION_GRID_STARS);
  disable_range(890, 893);
}

void refresh_number_association_buttons() {
  // Nothing to draw on before the tab is built.
  if (!ui_gadget_exists(GADGET_TECHNIQUE_PANEL) ||
      !ui_gadget_exists(GADGET_NUMBER_ASSOCIATION_CHOOSER))
    return;
  g_selected_association_number = ui_state(GADGET_NUMBER_ASSOCIATION_CHOOSER) + 1;
  for (int64_t n = 1; n <= grid_numbers(); ++n) redraw_number_button(n);
}

void handle_number_associations_event(int64_t event, int64_t gadget) {
  if (event != UI_EVENT_GADGET) return;
  const int64_t n = gadget - GADGET_NUMBER_ASSOCIATION_CHOOSER;
  if (n < 1 || n > grid_numbers()) return;
  const int64_t row = g_selected_association_number;
  if (row < 1 || row >= static_cast<int64_t>(g_number_associations.size())) return;
  auto& cells = g_number_associations[row];
  if (n >= static_cast<int64_t>(cells.size())) return;
  OutcomeStat& cell = cells[n];
  cell.percent = cell.percent == 0 ? 100 : 0;
  redraw_number_button(n);
}
