// The Statistics tab: how often each number and star occurs in the past
// results, two bar charts with a click-to-inspect highlight, the two ranking
// lists, and the copy of the best numbers or stars into the selection.
#include "draws/statistics.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "core/core.h"
#include "core/ids.h"
#include "core/text.h"
#include "draws/draws.h"
#include "ui/ui.h"

namespace {

constexpr int NUMBER_SLOTS = 55;  // 0..54; the charts have 54 number columns
constexpr int STAR_SLOTS = 13;    // 0..12

// Panel 1's size, which the layout is measured from.
constexpr int PANEL_WIDTH = 1346;
constexpr int PANEL_HEIGHT = 626;

std::string no_selection_text() { return translate("Selected:") + "N/A"; }

int64_t slot_or_zero(const std::vector<int64_t>& v, int64_t i) {
  return i >= 0 && i < static_cast<int64_t>(v.size()) ? v[static_cast<size_t>(i)] : 0;
}

// Columns that carry a bar: numbers 1..highest and stars 1..highest, never
// more than the frequency slots hold.
int number_bar_columns() {
  return static_cast<int>(std::clamp<int64_t>(g_highest_number, 0, NUMBER_SLOTS - 1));
}
int star_bar_columns() {
  return static_cast<int>(std::clamp<int64_t>(g_highest_star, 0, STAR_SLOTS - 1));
}

// One chart: its canvas, its column count, how many columns are of the game
// (black labels) and how many carry bars.
struct Chart {
  int canvas;
  int columns;
  int64_t highest;
  int bar_columns;
  const std::vector<int64_t>* frequency;
};

Chart numbers_chart() {
  return {STATS_NUMBERS_CHART, STATS_NUMBER_COLUMNS, g_highest_number, number_bar_columns(),
          &g_number_frequency};
}
Chart stars_chart() {
  return {STATS_STARS_CHART, STATS_STAR_COLUMNS, g_highest_star, star_bar_columns(),
          &g_star_frequency};
}

// The blue texts of a chart: the count above every bar, and each label
// that a click has drawn blue. Drawn with smoothed edges, they have hardly a
// pixel of pure blue, so each chart keeps their boxes, and a click inside
// one is a click on blue, as a click on a blue bar is.
struct TextBox {
  int x, y, width, height;
};
struct BlueTexts {
  std::vector<TextBox> counts;  // since the chart's frame was drawn
  std::vector<TextBox> labels;  // since its bars were drawn
};
BlueTexts g_blue_texts[2];  // the numbers chart, the stars chart

BlueTexts& blue_texts_of(int canvas) { return g_blue_texts[canvas == STATS_NUMBERS_CHART ? 0 : 1]; }

// The box of a text just drawn at (x, y) in the current drawing font.
TextBox text_box(int x, int y, const std::string& text) {
  return {x, y, ui_text_width(text), ui_text_height(text)};
}

bool holds(const std::vector<TextBox>& boxes, int x, int y) {
  for (const TextBox& b : boxes)
    if (x >= b.x && x < b.x + b.width && y >= b.y && y < b.y + b.height) return true;
  return false;
}

// Whether (x, y) of the canvas being drawn on is blue: a blue pixel (a
// highlighted bar) or a point of a blue text.
bool on_blue(int canvas, int x, int y) {
  const BlueTexts& blue = blue_texts_of(canvas);
  return ui_point(x, y) == CHART_BLUE || holds(blue.counts, x, y) || holds(blue.labels, x, y);
}

// Draws on the current drawing target, a canvas of height h.
void draw_column_label(int n, int h, int64_t colour) {
  ui_drawing_font(FONT_SMALL);
  ui_draw_text(chart_column_x(n), chart_label_y(h), two_digits(n), colour, CHART_WHITE);
}

int64_t label_colour(int n, int64_t highest) {
  return n <= highest ? CHART_LABEL_BLACK : CHART_LABEL_GREY;
}

void draw_frame(const Chart& chart) {
  blue_texts_of(chart.canvas) = {};
  if (!ui_start_drawing_canvas(chart.canvas)) return;
  const int w = ui_width(chart.canvas);
  const int h = ui_height(chart.canvas);
  ui_draw_box(0, 0, w, h, CHART_WHITE);
  for (int n = 1; n <= chart.columns; ++n) {
    draw_column_label(n, h, label_colour(n, chart.highest));
    ui_draw_box(chart_column_x(n), chart_track_top(h), CHART_COLUMN_WIDTH, CHART_TRACK_HEIGHT,
                CHART_TRACK_GREY);
  }
  ui_stop_drawing();
}

void draw_bars(const Chart& chart, int label_columns) {
  // Every label is drawn again in its own colour.
  blue_texts_of(chart.canvas).labels.clear();
  if (!ui_start_drawing_canvas(chart.canvas)) return;
  const int h = ui_height(chart.canvas);
  int64_t largest = 0;
  for (int n = 1; n <= chart.bar_columns; ++n)
    largest = std::max(largest, slot_or_zero(*chart.frequency, n));
  for (int n = 1; n <= label_columns; ++n) {
    draw_column_label(n, h, label_colour(n, chart.highest));
    // Without any count (no past result counted) there is nothing to scale
    // the bars by: the chart keeps its empty tracks.
    if (n > chart.bar_columns || largest <= 0) continue;
    const int64_t count = slot_or_zero(*chart.frequency, n);
    const int p = static_cast<int>(count * 100 / largest);
    const int x = chart_column_x(n);
    // Height 5p - 2 from the foot of the track, so the largest count fills
    // it. A count below 1 % of the largest (p = 0) gets no bar; its count
    // still shows at the track's foot.
    const int bar_height = 5 * p - 2;
    if (bar_height > 0) ui_draw_box(x, h - 32 - 5 * p, CHART_COLUMN_WIDTH, bar_height, CHART_BAR_RED);
    ui_drawing_font(FONT_TINY);
    ui_draw_text(x, h - 44 - 5 * p, str_int(count), CHART_BLUE, UI_DEFAULT_COLOUR);
    blue_texts_of(chart.canvas).counts.push_back(text_box(x, h - 44 - 5 * p, str_int(count)));
  }
  ui_stop_drawing();
}

// The ranking sort: a quicksort on the int32 counts, largest first, moving
// whole records. Its pivot choice and its Hoare-style partition decide the
// order of equal counts, and so which of two equally frequent numbers a copy
// of the best N takes; it is not stable and must stay exactly as it is.
int64_t partition_ranking(std::vector<RankingRecord>& r, int64_t lo, int64_t hi) {
  const int64_t mid = (lo + hi) / 2;
  int64_t pivot = mid;
  if (r[lo].count >= r[hi].count) {
    if (r[mid].count >= r[lo].count) pivot = lo;
    else if (r[mid].count <= r[hi].count) pivot = hi;
  }
  std::swap(r[pivot], r[lo]);
  const int32_t v = r[lo].count;
  int64_t i = lo - 1;
  int64_t j = hi + 1;
  for (;;) {
    do --j; while (r[j].count < v);
    do ++i; while (r[i].count > v);
    if (i >= j) return j;
    std::swap(r[i], r[j]);
  }
}

void sort_ranking(std::vector<RankingRecord>& r, int64_t lo, int64_t hi) {
  while (hi - lo > 0) {
    const int64_t q = partition_ranking(r, lo, hi);
    sort_ranking(r, lo, q);
    lo = q + 1;
  }
}

// Record 0 takes part in the sort with count 0 and its label as it was left.
void rank(std::vector<RankingRecord>& ranking, const std::vector<int64_t>& frequency, int slots) {
  if (static_cast<int>(ranking.size()) != slots) ranking.assign(slots, RankingRecord{"", 0});
  ranking[0].count = 0;
  for (int n = 1; n < slots; ++n) {
    ranking[n].label = str_int(n);
    // The low 32 bits, as a signed value.
    ranking[n].count = static_cast<int32_t>(static_cast<uint32_t>(slot_or_zero(frequency, n)));
  }
  sort_ranking(ranking, 0, slots - 1);
}

void list_ranking(int list, const std::vector<RankingRecord>& ranking) {
  if (!ui_gadget_exists(list)) return;
  int64_t k = 0;
  for (const RankingRecord& record : ranking) {
    if (record.count <= 0) continue;
    ++k;
    ui_add_item(list, -1,
                two_digits(k) + ": " + record.label + " (" + str_int(record.count) + ")");
  }
  // A list shows its newest rows once they are added; the best rows are at
  // the top. Selecting the first row brings it into view, and clearing the
  // selection leaves the view there with no row marked.
  if (k > 0) {
    ui_set_state(list, 0);
    ui_set_state(list, -1);
  }
}

// ---- chart clicks --------------------------------------------------------------

// The column whose x..x + 12 holds x, 0 when none.
int column_at(int x, int columns) {
  for (int n = 1; n <= columns; ++n) {
    if (x >= chart_column_x(n) && x <= chart_column_x(n) + CHART_COLUMN_WIDTH) return n;
  }
  return 0;
}

void handle_chart_click(int canvas) {
  const bool numbers = canvas == STATS_NUMBERS_CHART;
  std::string selection = no_selection_text();
  int x = ui_canvas_mouse_x(canvas);
  int y = ui_canvas_mouse_y(canvas);
  if (x < 0 || x >= ui_width(canvas)) x = 0;
  if (y < 0 || y >= ui_height(canvas)) y = 0;

  bool redraw = false;
  if (ui_start_drawing_canvas(canvas)) {
    const int64_t pixel = ui_point(x, y);
    if (!on_blue(canvas, x, y) && g_chart_highlight == 1) {
      g_chart_highlight = 0;
      redraw = true;
    }
    // A click on another bar while one is highlighted turns it blue as well.
    if (pixel == CHART_BAR_RED && g_chart_highlight == 0) {
      ui_flood_fill(x, y, CHART_BLUE);
      g_chart_highlight = 1;
      redraw = false;
    }
    if (g_chart_highlight == 1) {
      const int n = column_at(x, numbers ? STATS_NUMBER_COLUMNS : star_bar_columns());
      if (n > 0) {
        const int label_y = chart_label_y(ui_height(canvas));
        draw_column_label(n, ui_height(canvas), CHART_BLUE);
        std::vector<TextBox>& labels = blue_texts_of(canvas).labels;
        if (!holds(labels, chart_column_x(n), label_y))
          labels.push_back(text_box(chart_column_x(n), label_y, two_digits(n)));
        const int64_t count = slot_or_zero(numbers ? g_number_frequency : g_star_frequency, n);
        selection = translate("Selected:") + (numbers ? "⚫" : "★") + str_int(n) + "(" +
                    str_int(count) + ")";
      }
    }
    ui_stop_drawing();
  }
  set_text_if_changed(STATS_SELECTION, selection);
  // The counts are drawn on a transparent ground, so the charts are redrawn
  // from their white ground: over the old counts each redraw would thicken
  // their smoothed edges until they smear.
  if (redraw) {
    draw_chart_frames();
    draw_frequency_charts();
  }
}

// ---- copying the best numbers or stars ----------------------------------------

// The number or star of a ranking row "01: 23 (187)": after ": ", before " (".
int64_t ranked_value(const std::string& row) {
  size_t start = row.find(": ");
  if (start == std::string::npos) return 0;
  start += 2;
  size_t end = row.find(" (", start);
  return val_int(row.substr(start, end == std::string::npos ? std::string::npos : end - start));
}

// Rounded halves away from zero, as the spins' own check rounds.
int64_t rounded_text_value(int gadget) {
  return static_cast<int64_t>(std::llround(val_float(ui_text(gadget))));
}

struct CopyTarget {
  int spin;
  int list;
  int64_t highest;
  const char* range_message;
  int64_t* best_count;
  std::vector<int64_t>* states;
  void (*redraw)(int64_t);
};

// Every value not played, then the first best-count rows of the list played;
// fixed marks are discarded.
void copy_best(const CopyTarget& t) {
  if (check_range_field(t.spin, static_cast<float>(t.highest),
                        translate(t.range_message) + str_int(t.highest)) == 1)
    return;
  // The count the check has just accepted. It equals what the spin's own
  // handler stored for a whole number; for a decimal such as "2.5", which
  // the check accepts but the whole-number check of the spin reads as 0, it
  // keeps the copy from quietly emptying the selection.
  *t.best_count = rounded_text_value(t.spin);

  std::vector<int64_t>& states = *t.states;
  const int64_t values = std::min<int64_t>(t.highest, static_cast<int64_t>(states.size()) - 1);
  for (int64_t v = 1; v <= values; ++v) {
    if (states[v] == 0) continue;
    states[v] = 0;
    t.redraw(v);
  }
  const int64_t rows = ui_count_items(t.list);
  for (int64_t i = 1; i <= *t.best_count && i <= rows; ++i) {
    const int64_t v = ranked_value(ui_item_text(t.list, static_cast<int>(i - 1)));
    if (v < 1 || v > values || states[v] == 1) continue;
    states[v] = 1;
    t.redraw(v);
  }
  update_selection_counts();
  set_text_if_changed(STATS_SELECTION, no_selection_text());
}

void copy_best_numbers() {
  copy_best({STATS_NUMBERS_COUNT_SPIN, STATS_BEST_NUMBERS, g_highest_number,
             "The number of best numbers must be in the range 1:", &g_best_numbers_count,
             &g_number_play_state, draw_number_button});
}

void copy_best_stars() {
  copy_best({STATS_STARS_COUNT_SPIN, STATS_BEST_STARS, g_highest_star,
             "The number of best stars must be in the range 1:", &g_best_stars_count,
             &g_star_play_state, draw_star_button});
}

}  // namespace

// ---- counting and drawing --------------------------------------------------------

void count_number_and_star_frequencies() {
  g_number_frequency.assign(NUMBER_SLOTS, 0);
  g_star_frequency.assign(STAR_SLOTS, 0);
  const int64_t numbers = number_bar_columns();
  const int64_t stars = star_bar_columns();
  const int64_t entries =
      std::min<int64_t>(g_database_draw_count, static_cast<int64_t>(g_database_draws.size()) - 1);
  for (int64_t i = 1; i <= entries; ++i) {
    const std::string& entry = g_database_draws[static_cast<size_t>(i)];
    // The import checks only the shape of a line, so a field may read
    // anything from 0 to 99. A value that is no number or star of the game
    // is not counted: slot 0 and the slots beyond the highest stay 0.
    for (int k = 1; k <= 5; ++k) {
      const int64_t n = val_int(string_field(entry, k, " "));
      if (n >= 1 && n <= numbers) ++g_number_frequency[static_cast<size_t>(n)];
    }
    for (int k = 6; k <= 7; ++k) {
      const int64_t s = val_int(string_field(entry, k, " "));
      if (s >= 1 && s <= stars) ++g_star_frequency[static_cast<size_t>(s)];
    }
  }
}

void draw_chart_frames() {
  draw_frame(numbers_chart());
  draw_frame(stars_chart());
}

void draw_frequency_charts() {
  // Number labels are redrawn over all 54 columns; the star columns beyond
  // the game keep what the frames drew.
  draw_bars(numbers_chart(), STATS_NUMBER_COLUMNS);
  draw_bars(stars_chart(), star_bar_columns());
}

void clear_best_lists() {
  if (ui_gadget_exists(STATS_BEST_NUMBERS)) ui_clear_items(STATS_BEST_NUMBERS);
  if (ui_gadget_exists(STATS_BEST_STARS)) ui_clear_items(STATS_BEST_STARS);
}

void fill_frequency_rankings() {
  rank(g_number_ranking, g_number_frequency, NUMBER_SLOTS);
  rank(g_star_ranking, g_star_frequency, STAR_SLOTS);
  list_ranking(STATS_BEST_NUMBERS, g_number_ranking);
  list_ranking(STATS_BEST_STARS, g_star_ranking);
}

// ---- the tab -----------------------------------------------------------------------

void build_statistics_tab() {
  const int w = PANEL_WIDTH, h = PANEL_HEIGHT;
  const int chart_height = h - 68;
  const int numbers_width = w - 395;
  const int stars_x = numbers_width - 10;  // overlaps the numbers chart's right edge
  const int stars_width = 265;
  ui_canvas(STATS_NUMBERS_CHART, 0, 0, numbers_width, chart_height);
  ui_canvas(STATS_STARS_CHART, stars_x, 0, stars_width, chart_height);
  draw_chart_frames();

  const int frame_x = stars_x + stars_width + 10;
  const int frame_width = w - frame_x - 10;
  ui_frame(STATS_BEST_FRAME, frame_x, 10, frame_width, h - 55, translate("Best Σ order"));
  ui_set_gadget_font(STATS_BEST_FRAME, FONT_SMALL);
  const int list_x = frame_x + 8;
  const int list_width = frame_width - 16;
  const int column_width = list_width - 22;  // room for the vertical scroll bar
  ui_list(STATS_BEST_NUMBERS, list_x, 32, list_width, 275, translate("Numbers"), column_width,
          UI_LIST_FULL_ROW);
  ui_set_gadget_font(STATS_BEST_NUMBERS, FONT_SMALL);
  ui_list(STATS_BEST_STARS, list_x, 32 + 275 + 20, list_width, 245, translate("Stars"),
          column_width, UI_LIST_FULL_ROW);
  ui_set_gadget_font(STATS_BEST_STARS, FONT_SMALL);
  clear_best_lists();

  // Straight under the charts: the page below the tab bar ends a few units
  // after a button's height.
  const int row_y = chart_height + 1;
  const int bh = static_cast<int>(g_button_height);
  const int sh = static_cast<int>(g_spinner_height);
  const int th = static_cast<int>(g_text_height);
  ui_label(STATS_SELECTION, 10, row_y + (bh - th) / 2, 300, th, no_selection_text());
  const int spin_width = 60;
  int x = 575;
  ui_button(STATS_COPY_NUMBERS, x, row_y, 235, bh, translate("Copy best numbers to Prefs"));
  x += 235 + 5;
  ui_spin(STATS_NUMBERS_COUNT_SPIN, x, row_y, spin_width, sh, 1, g_highest_number,
          UI_SPIN_NUMERIC);
  set_spin_value(STATS_NUMBERS_COUNT_SPIN, g_best_numbers_count);
  x += spin_width + 30;
  ui_button(STATS_COPY_STARS, x, row_y, 235, bh, translate("Copy best stars to Prefs"));
  x += 235 + 5;
  ui_spin(STATS_STARS_COUNT_SPIN, x, row_y, spin_width, sh, 1, g_highest_star, UI_SPIN_NUMERIC);
  set_spin_value(STATS_STARS_COUNT_SPIN, g_best_stars_count);
  // Learn enables them.
  for (int gadget = STATS_COPY_NUMBERS; gadget <= STATS_STARS_COUNT_SPIN; ++gadget)
    ui_disable(gadget, true);
}

void handle_statistics_tab_event(int64_t event, int64_t gadget) {
  if (event != UI_EVENT_GADGET || ui_state(GADGET_PANEL) != TAB_STATISTICS) return;
  switch (gadget) {
    case STATS_NUMBERS_CHART:
    case STATS_STARS_CHART:
      handle_chart_click(static_cast<int>(gadget));
      return;
    case STATS_COPY_NUMBERS:
      copy_best_numbers();
      return;
    case STATS_COPY_STARS:
      copy_best_stars();
      return;
    case STATS_NUMBERS_COUNT_SPIN:
      g_best_numbers_count =
          validate_number_field(gadget, 1, static_cast<float>(g_highest_number), 0, 0);
      break;
    case STATS_STARS_COUNT_SPIN:
      g_best_stars_count =
          validate_number_field(gadget, 1, static_cast<float>(g_highest_star), 0, 0);
      break;
    case STATS_BEST_NUMBERS:
    case STATS_BEST_STARS:
      break;
    default:
      return;  // not a gadget of this tab (the tab panel itself, say)
  }
  set_text_if_changed(STATS_SELECTION, no_selection_text());
}
