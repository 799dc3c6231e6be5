// The back-test window 960: the table of what each technique keeps, the
// walk-forward's figures and its strip of marks, and the saving of the table.
// Like the Tarvik rules window it disables the main window and runs its own
// loop until it is closed.
#include <algorithm>
#include <string>

#include "core/core.h"
#include "core/files.h"
#include "core/ids.h"
#include "core/text.h"
#include "draws/draws.h"
#include "techniques/backtest.h"
#include "techniques/tab_gadgets.h"
#include "techniques/techniques.h"
#include "ui/ui.h"

namespace {

constexpr int kWindowWidth = 900;
constexpr int kWindowHeight = 660;
constexpr int kTableHeight = 430;
constexpr int kStripHeight = 40;
constexpr int64_t kPassedColour = 0x00A000;  // RGB(0, 160, 0)
constexpr int64_t kFailedColour = 0x0000DC;  // RGB(220, 0, 0)
constexpr int64_t kStripGround = 0xFFFFFF;
const char* const kTableFilter = "CSV (*.csv)|*.csv";

struct TableColumn {
  const char* title;
  int width;
};
constexpr TableColumn kColumns[] = {
    {"Technique", 250}, {"Min", 50},           {"Max", 50}, {"Past results inside", 130},
    {"%", 70},          {"Tickets inside", 130}, {"%", 80}, {"Ratio", 70},
};

std::string percent_text(int64_t part, int64_t whole) {
  if (whole <= 0) return "";
  return format_number(100.0 * static_cast<double>(part) / static_cast<double>(whole), 2);
}

// The past share over the ticket share, "" where it has no value.
std::string ratio_text(const BacktestRow& row) {
  if (row.past_total <= 0 || row.tickets_inside <= 0 || row.tickets_total <= 0) return "";
  return format_number(static_cast<double>(row.past_inside) * static_cast<double>(row.tickets_total) /
                           (static_cast<double>(row.past_total) * static_cast<double>(row.tickets_inside)),
                       2);
}

// The table, shown from its first row.
void fill_table() {
  ui_clear_items(GADGET_BACKTEST_TABLE);
  for (const BacktestRow& row : g_backtest_rows) {
    ui_add_item(GADGET_BACKTEST_TABLE, -1,
                row.caption + "\n" + (row.has_min ? str_int(row.min) : "") + "\n" +
                    (row.has_max ? str_int(row.max) : "") + "\n" +
                    format_number(static_cast<double>(row.past_inside), 0) + "\n" +
                    percent_text(row.past_inside, row.past_total) + "\n" +
                    format_number(static_cast<double>(row.tickets_inside), 0) + "\n" +
                    percent_text(row.tickets_inside, row.tickets_total) + "\n" + ratio_text(row));
  }
  ui_set_state(GADGET_BACKTEST_TABLE, 0);
  ui_set_state(GADGET_BACKTEST_TABLE, -1);
}

// One mark per walked result, oldest first, spread over the strip's width,
// in as many rows as they need to stay 3 pixels wide.
void draw_strip() {
  if (!ui_start_drawing_canvas(GADGET_BACKTEST_STRIP)) return;
  const int width = ui_width(GADGET_BACKTEST_STRIP);
  const int height = ui_height(GADGET_BACKTEST_STRIP);
  ui_draw_box(0, 0, width, height, kStripGround);
  const int marks = static_cast<int>(g_backtest_walk.marks.size());
  if (marks > 0) {
    const int per_row = std::max(1, std::min(marks, width / 3));
    const int rows = (marks + per_row - 1) / per_row;
    const int row_height = std::max(2, height / rows);
    for (int i = 0; i < marks; ++i) {
      const int column = i % per_row;
      const int x = column * width / per_row;
      const int next_x = (column + 1) * width / per_row;
      const int64_t colour = g_backtest_walk.marks[static_cast<size_t>(i)] ? kPassedColour : kFailedColour;
      // A gap of one pixel keeps neighbouring marks apart.
      ui_draw_box(x, (i / per_row) * row_height, next_x - x - 1, row_height - 1, colour);
    }
  }
  ui_stop_drawing();
}

bool walk_forward_possible() { return g_database_draw_count >= WALK_FORWARD_FEWEST_PAST_RESULTS; }

int64_t most_walked_results() { return g_database_draw_count - WALK_FORWARD_LEARNED_FROM_AT_LEAST; }

void show_walk_forward() {
  const BacktestWalk& walk = g_backtest_walk;
  std::string passed = translate("Walk-forward, results passed:");
  std::string share = translate("Mean share of all tickets kept:");
  if (walk.results > 0) {
    passed.append(" ").append(str_int(walk.passed)).append("/").append(str_int(walk.results));
    passed.append(" (").append(percent_text(walk.passed, walk.results)).append("%)");
    share.append(" ").append(format_number(walk.mean_ticket_share, 6, false));
    share.append(" (").append(format_number(100.0 * walk.mean_ticket_share, 4)).append("%)");
  }
  ui_set_text(GADGET_BACKTEST_PASSED, passed);
  ui_set_text(GADGET_BACKTEST_SHARE, share);
  draw_strip();
}

std::string window_note() {
  std::string note = translate(walk_forward_possible()
                                   ? "Before each walked result the windows are learned anew from the results before "
                                     "it alone (Learn, then Remove at Remove Chances % ≤:): hand edits of the fields "
                                     "do not enter the walk-forward. Only Max Common Numbers is read from its field, "
                                     "as Learn reads it."
                                   : "The walk-forward needs at least 30 past results: it is left out.");
  if (g_use_special_techniques != 1)
    note.append("\n").append(translate("The option Use special techniques for simple draws (Information Theory) is off: "
                             "Generate Draws applies none of these checks."));
  return note;
}

void build_window() {
  const int width = ui_window_inner_width(WINDOW_BACKTEST);
  const int height = ui_window_inner_height(WINDOW_BACKTEST);
  ui_list(GADGET_BACKTEST_TABLE, 10, 10, width - 20, kTableHeight, translate(kColumns[0].title), kColumns[0].width,
          UI_LIST_FULL_ROW | UI_LIST_ALWAYS_SHOW_SELECTION);
  for (int c = 1; c < static_cast<int>(std::size(kColumns)); ++c)
    ui_add_list_column(GADGET_BACKTEST_TABLE, c, translate(kColumns[c].title), kColumns[c].width);

  const int text_height = static_cast<int>(g_text_height);
  int y = 10 + kTableHeight + 10;
  ui_label(GADGET_BACKTEST_PASSED, 10, y, width / 2 - 15, text_height, "");
  ui_label(GADGET_BACKTEST_SHARE, width / 2 + 5, y, width / 2 - 15, text_height, "");
  y += text_height + 6;
  ui_canvas(GADGET_BACKTEST_STRIP, 10, y, width - 20, kStripHeight);
  y += kStripHeight + 4;
  ui_label(GADGET_BACKTEST_LEGEND, 10, y, width - 20, text_height,
           translate("Marks, oldest first: green passed, red failed."));
  y += text_height + 6;
  const int button_height = static_cast<int>(g_button_height);
  const int button_y = height - 10 - button_height;
  ui_label(GADGET_BACKTEST_NOTE, 10, y, width - 20, button_y - 8 - y, window_note(), UI_LABEL_WRAP);

  ui_label(GADGET_BACKTEST_RESULTS_LABEL, 10, button_y + 8, 10, text_height, translate("Last results:"));
  fit_gadget_to_content(GADGET_BACKTEST_RESULTS_LABEL);
  const int spin_x = ui_x(GADGET_BACKTEST_RESULTS_LABEL) + ui_width(GADGET_BACKTEST_RESULTS_LABEL) + 6;
  if (walk_forward_possible()) {
    ui_spin(GADGET_BACKTEST_RESULTS, spin_x, button_y, 70, button_height, WALK_FORWARD_FEWEST_RESULTS,
            most_walked_results(), UI_SPIN_NUMERIC);
    set_spin_value(GADGET_BACKTEST_RESULTS, std::min(WALK_FORWARD_DEFAULT_RESULTS, most_walked_results()));
  } else {
    ui_spin(GADGET_BACKTEST_RESULTS, spin_x, button_y, 70, button_height, 0, 0, UI_SPIN_NUMERIC);
    ui_set_text(GADGET_BACKTEST_RESULTS, "");
    ui_disable(GADGET_BACKTEST_RESULTS, true);
  }
  ui_button(GADGET_BACKTEST_CLOSE, width - 100, button_y, 90, button_height, translate("Close"));
  ui_button(GADGET_BACKTEST_SAVE, width - 100 - 10 - 130, button_y, 130, button_height, translate("Save Table..."));
  ui_add_shortcut(WINDOW_BACKTEST, UI_KEY_ESCAPE, MENU_EVENT_ESCAPE);
}

// The walk-forward over as many results as the spin shows, learned at the
// threshold that Remove's spin shows and with the limit of common numbers
// that Learn takes from its field. An abort leaves none.
int64_t walk_results_shown() {
  start_long_operation();
  const int64_t done = walk_forward(ui_state(GADGET_BACKTEST_RESULTS), val_int(ui_text(GADGET_MAX_COMMON_NUMBERS)),
                                    ui_state(GADGET_REMOVE_THRESHOLD));
  end_long_operation();
  if (!done) g_backtest_walk = BacktestWalk{};
  return done;
}

// A new count of results typed or stepped: a whole number in the range walks
// again, anything else turns the spin red and keeps what is shown.
void results_changed() {
  const float fewest = static_cast<float>(WALK_FORWARD_FEWEST_RESULTS);
  const float most = static_cast<float>(most_walked_results());
  validate_number_field(GADGET_BACKTEST_RESULTS, fewest, most, 0, 0);
  if (!number_text_in_range(ui_text(GADGET_BACKTEST_RESULTS), fewest, most, 0)) return;
  walk_results_shown();
  show_walk_forward();
}

void save_table() {
  const std::string path = choose_save_target(translate("Save Table"), kTableFilter, ".csv");
  if (path.empty()) return;
  if (!write_file_atomically(path, backtest_table_csv()))
    ui_message(translate("Error"), translate("Can't write the file."), UI_ICON_WARNING);
}

}  // namespace

void show_backtest_window() {
  if (g_database_draw_count <= 0) {
    ui_message(translate("Error"), translate("No draws database for techniques."), UI_ICON_WARNING);
    return;
  }
  const CheckWindows windows = check_windows_in_fields();
  ui_disable_window(WINDOW_MAIN, true);
  if (!ui_open_window(WINDOW_BACKTEST, 0, 0, kWindowWidth, kWindowHeight, translate("Back-test"),
                      UI_WINDOW_CAPTION | UI_WINDOW_CLOSE_BOX | UI_WINDOW_CENTER_PARENT, WINDOW_MAIN)) {
    report_window_failure();
    ui_disable_window(WINDOW_MAIN, false);
    return;
  }
  build_window();

  // The first counts are one long operation: an abort closes the window.
  start_long_operation();
  bool counted = count_backtest_table(windows) != 0;
  end_long_operation();
  g_backtest_walk = BacktestWalk{};
  if (counted && walk_forward_possible()) counted = walk_results_shown() != 0;
  if (counted) {
    fill_table();
    show_walk_forward();
    for (;;) {
      const int kind = ui_wait_event();
      const int object = ui_event_object();
      if (kind == UI_EVENT_MENU && object == MENU_EVENT_ESCAPE) break;
      if (kind == UI_EVENT_CLOSE && ui_event_window() == WINDOW_BACKTEST) break;
      if (kind != UI_EVENT_GADGET) continue;
      if (object == GADGET_BACKTEST_CLOSE) break;
      if (object == GADGET_BACKTEST_SAVE) save_table();
      if (object == GADGET_BACKTEST_RESULTS && ui_event_type() == UI_TYPE_CHANGE) results_changed();
    }
  }
  ui_close_window(WINDOW_BACKTEST);
  ui_disable_window(WINDOW_MAIN, false);
  ui_use_window(WINDOW_MAIN);
}
