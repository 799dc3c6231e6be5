// The Statistics tab: counting, the bar charts and their click highlight, the
// ranking lists with the tie order of the ranking sort, copying the best
// numbers or stars into the selection, Reset, and the real history.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "core/core.h"
#include "core/ids.h"
#include "core/text.h"
#include "draws/draws.h"
#include "draws/selection.h"
#include "draws/statistics.h"
#include "support/engine_support.h"
#include "support/program_fixture.h"
#include "support/test_support.h"
#include "techniques/tab_gadgets.h"
#include "techniques/techniques.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

constexpr int64_t YELLOW = 0x00FFFF;
constexpr int64_t PINK = 255 + 256 * 174 + 65536 * 201;

// (value, how many past results hold it)
using Counts = std::vector<std::pair<int, int>>;

// The numbers fixture: 15 numbers with the distinct counts 16, 15, .., 2, so
// their order in the list needs no tie rule; 35 numbers never drawn.
const Counts NUMBER_COUNTS = {{23, 16}, {7, 15},  {41, 14}, {2, 13}, {50, 12},
                              {16, 11}, {33, 10}, {9, 9},   {28, 8}, {45, 7},
                              {12, 6},  {38, 5},  {4, 4},   {19, 3}, {31, 2}};
// The stars fixture: three stars tie at 7 across places 2 to 4, and pairs tie
// at 4, 3 and 2.
const Counts STAR_COUNTS = {{1, 5}, {2, 4}, {3, 7},  {4, 2},  {5, 7},  {6, 3},
                            {7, 7}, {8, 1}, {9, 9}, {10, 4}, {11, 2}, {12, 3}};
constexpr int FIXTURE_ENTRIES = 27;  // 135 numbers = 27 x 5, 54 stars = 27 x 2

// Deals every occurrence round the entries in turn: the occurrences of one
// value are consecutive and no count exceeds the entries, so no entry holds a
// value twice, and every entry gets the same share.
std::vector<std::vector<int>> deal(const Counts& counts, int entries) {
  std::vector<std::vector<int>> rows(static_cast<size_t>(entries));
  int f = 0;
  for (auto [value, count] : counts)
    for (int c = 0; c < count; ++c) rows[static_cast<size_t>(f++ % entries)].push_back(value);
  for (auto& row : rows) std::sort(row.begin(), row.end());
  return rows;
}

std::vector<std::string> fixture_entries(const Counts& numbers, const Counts& stars, int entries) {
  auto n = deal(numbers, entries);
  auto s = deal(stars, entries);
  std::vector<std::string> out;
  for (int i = 0; i < entries; ++i) {
    std::string e;
    for (int v : n[static_cast<size_t>(i)]) e += two_digits(v) + " ";
    for (int v : s[static_cast<size_t>(i)]) e += two_digits(v) + " ";
    e.pop_back();
    out.push_back(e);
  }
  return out;
}

void show_tab(int tab) {
  ui_test_select_tab(GADGET_PANEL, tab);
  run_pending_events();
}

void click_chart(int canvas, int x, int y) {
  ui_test_canvas_click(canvas, x, y);
  run_pending_events();
}

void type_text(int gadget, const std::string& text) {
  ui_test_type(gadget, text);
  run_pending_events();
}

std::vector<std::string> list_rows(int list) {
  std::vector<std::string> rows;
  for (int i = 0; i < ui_count_items(list); ++i) rows.push_back(ui_item_text(list, i));
  return rows;
}

// A pixel of a chart as drawn (the canvas's own picture, shown or not).
int64_t chart_pixel(int canvas, int x, int y) {
  ui_start_drawing_canvas(canvas);
  int64_t c = ui_point(x, y);
  ui_stop_drawing();
  return c;
}

int chart_height(int canvas) { return ui_height(canvas); }

// Pixels of `colour` down column n's track, one pixel in from its left edge.
int track_pixels(int canvas, int n, int64_t colour) {
  int h = chart_height(canvas);
  int x = chart_column_x(n) + 1;
  int k = 0;
  for (int y = chart_track_top(h); y < chart_track_foot(h); ++y) k += chart_pixel(canvas, x, y) == colour;
  return k;
}

// The same over the rows from y0 up to (not including) y1.
int track_pixels_between(int canvas, int n, int64_t colour, int y0, int y1) {
  int x = chart_column_x(n) + 1;
  int k = 0;
  for (int y = y0; y < y1; ++y) k += chart_pixel(canvas, x, y) == colour;
  return k;
}

// Channels of a 0xBBGGRR colour.
int red_of(int64_t c) { return static_cast<int>(c & 0xFF); }
int green_of(int64_t c) { return static_cast<int>((c >> 8) & 0xFF); }
int blue_of(int64_t c) { return static_cast<int>((c >> 16) & 0xFF); }

// The darkest channel value and whether any pixel is clearly blue, over a
// box of the chart (labels and counts are drawn with smoothed edges).
struct InkSample {
  int darkest = 255;
  bool bluish = false;
};
InkSample ink(int canvas, int x, int y, int w, int h) {
  InkSample s;
  ui_start_drawing_canvas(canvas);
  for (int py = y; py < y + h; ++py)
    for (int px = x; px < x + w; ++px) {
      int64_t c = ui_point(px, py);
      if (c < 0) continue;
      s.darkest = std::min({s.darkest, red_of(c), green_of(c), blue_of(c)});
      if (blue_of(c) > 200 && red_of(c) < 110 && green_of(c) < 110) s.bluish = true;
    }
  ui_stop_drawing();
  return s;
}

InkSample label_ink(int canvas, int n) {
  return ink(canvas, chart_column_x(n), chart_label_y(chart_height(canvas)), 14, 14);
}

int count_red(int canvas) {
  int k = 0;
  ui_start_drawing_canvas(canvas);
  for (int y = 0; y < ui_height(canvas); ++y)
    for (int x = 0; x < ui_width(canvas); ++x) k += ui_point(x, y) == CHART_BAR_RED;
  ui_stop_drawing();
  return k;
}

int count_blue(int canvas) {
  int k = 0;
  ui_start_drawing_canvas(canvas);
  for (int y = 0; y < ui_height(canvas); ++y)
    for (int x = 0; x < ui_width(canvas); ++x) k += ui_point(x, y) == CHART_BLUE;
  ui_stop_drawing();
  return k;
}

// Inside a bar's lower part, clear of the count drawn above it.
int bar_y(int canvas) { return chart_track_foot(chart_height(canvas)) - 3; }
int bar_x(int n) { return chart_column_x(n) + 6; }

// "Learn" and "Reset" on the Techniques tab, then back to the Statistics tab.
void press_on_techniques_tab(int button) {
  show_tab(TAB_TECHNIQUES);
  click_gadget(button);
  show_tab(TAB_STATISTICS);
}
void learn() { press_on_techniques_tab(GADGET_LEARN); }

class StatisticsTab : public ::testing::Test {
 protected:
  void SetUp() override { start_program_for_test(); }

  void learn_fixture() {
    set_database(fixture_entries(NUMBER_COUNTS, STAR_COUNTS, FIXTURE_ENTRIES));
    learn();
  }

};

}  // namespace

TEST_F(StatisticsTab, IsBuiltWithEmptyChartsAndListsAndItsCopyControlsDisabled) {
  for (int64_t language : {2, 1}) {
    SCOPED_TRACE(language);
    start_program_for_test(language);
    const bool en = language == 1;
    EXPECT_EQ(ui_text(STATS_BEST_FRAME), en ? "Best Σ order" : "Melhor ordem Σ");
    EXPECT_EQ(ui_list_column_title(STATS_BEST_NUMBERS, 0), en ? "Numbers" : "Números");
    EXPECT_EQ(ui_list_column_title(STATS_BEST_STARS, 0), en ? "Stars" : "Estrelas");
    EXPECT_EQ(ui_text(STATS_SELECTION), en ? "Selected:N/A" : "Selecionados:N/A");
    EXPECT_EQ(ui_text(STATS_COPY_NUMBERS),
              en ? "Copy best numbers to Prefs" : "Copiar melhores números para Prefs");
    EXPECT_EQ(ui_count_items(STATS_BEST_NUMBERS), 0);
    EXPECT_EQ(ui_count_items(STATS_BEST_STARS), 0);
    EXPECT_EQ(ui_text(STATS_NUMBERS_COUNT_SPIN), "15");
    EXPECT_EQ(ui_text(STATS_STARS_COUNT_SPIN), "9");
    for (int g = STATS_COPY_NUMBERS; g <= STATS_STARS_COUNT_SPIN; ++g) EXPECT_TRUE(ui_disabled(g));
  }
  // Both charts are frames: grey tracks, no bar; the stars chart's 16th
  // column starts at its right edge.
  EXPECT_EQ(ui_width(STATS_NUMBERS_CHART), 1346 - 395);
  EXPECT_EQ(ui_height(STATS_NUMBERS_CHART), 626 - 68);
  EXPECT_EQ(ui_x(STATS_STARS_CHART), 1346 - 395 - 10);
  EXPECT_EQ(ui_width(STATS_STARS_CHART), chart_column_x(16));
  EXPECT_EQ(track_pixels(STATS_NUMBERS_CHART, 1, CHART_TRACK_GREY), CHART_TRACK_HEIGHT);
  EXPECT_EQ(track_pixels(STATS_NUMBERS_CHART, 54, CHART_TRACK_GREY), CHART_TRACK_HEIGHT);
  EXPECT_EQ(track_pixels(STATS_STARS_CHART, 15, CHART_TRACK_GREY), CHART_TRACK_HEIGHT);
  EXPECT_EQ(count_red(STATS_NUMBERS_CHART), 0);
  EXPECT_EQ(count_red(STATS_STARS_CHART), 0);
  // Clicking a frame before any Learn finds nothing to highlight.
  show_tab(TAB_STATISTICS);
  click_chart(STATS_NUMBERS_CHART, bar_x(3), bar_y(STATS_NUMBERS_CHART));
  EXPECT_EQ(g_chart_highlight, 0);
  EXPECT_EQ(ui_text(STATS_SELECTION), "Selected:N/A");
}

// Number rows follow the distinct counts. The star order is the ranking sort
// worked by hand over the 13 records (slot: label/count, slot 0 = ""/0):
//   [0/0 1/5 2/4 3/7 4/2 5/7 6/3 7/7 8/1 9/9 10/4 11/2 12/3]
// Partition(0,12): count[0]=0 < count[12]=3, pivot mid 6 (6/3) to slot 0, v=3;
//   swaps (0,12) (4,10) (6,9), returns 7:
//   [12/3 1/5 2/4 3/7 10/4 5/7 9/9 7/7 | 8/1 0/0 4/2 11/2 6/3]
// Sort(0,7): pivot mid 3 (3/7), v=7; swaps (0,7) (1,6) (2,5), returns 2:
//   [7/7 9/9 5/7 | 12/3 10/4 2/4 1/5 3/7]
//   Sort(0,2): count[0]=7 >= count[2]=7 and count[1]=9 >= 7: pivot lo, v=7;
//     swap (0,2), returns 1 -> [5/7 9/9 | 7/7]; Sort(0,1): pivot mid 0,
//     swap (0,1) -> [9/9 5/7]. So 9/9 5/7 7/7.
//   Sort(3,7) [12/3 10/4 2/4 1/5 3/7]: pivot mid 5 (2/4) to slot 3, v=4;
//     swaps (3,7) (4,6), returns 4 -> [3/7 1/5 | 12/3 10/4 2/4];
//     Sort(3,4): pivot lo, no swap -> 3/7 1/5;
//     Sort(5,7): pivot mid 6 (10/4) to slot 5, v=4; swap (5,7), returns 5
//     -> [2/4 | 12/3 10/4]; Sort(6,7): pivot mid 6, v=3, swap -> 10/4 12/3.
//   So slots 0..7: 9/9 5/7 7/7 3/7 1/5 2/4 10/4 12/3.
// Sort(8,12) [8/1 0/0 4/2 11/2 6/3]: pivot mid 10 (4/2 to slot 8), v=2;
//   swaps (8,12) (9,11), returns 9 -> [6/3 11/2 | 8/1 0/0 4/2];
//   Sort(8,9): pivot lo, no swap; Sort(10,12): pivot mid 11 (0/0 to slot 10),
//   v=0; swap (10,12), returns 11 -> [4/2 8/1 | 0/0].
//   So slots 8..12: 6/3 11/2 4/2 8/1 0/0.
// Equal counts come out 5 7 3, 2 10, 12 6 and 11 4: not by label.
TEST_F(StatisticsTab, LearnListsTheRankingsInTheOrderOfTheRankingSort) {
  learn_fixture();
  std::vector<std::string> numbers;
  for (size_t k = 0; k < NUMBER_COUNTS.size(); ++k)
    numbers.push_back(two_digits(static_cast<int64_t>(k + 1)) + ": " +
                      std::to_string(NUMBER_COUNTS[k].first) + " (" +
                      std::to_string(NUMBER_COUNTS[k].second) + ")");
  EXPECT_EQ(list_rows(STATS_BEST_NUMBERS), numbers);
  EXPECT_EQ(list_rows(STATS_BEST_NUMBERS).front(), "01: 23 (16)");
  EXPECT_EQ(list_rows(STATS_BEST_STARS),
            (std::vector<std::string>{"01: 9 (9)", "02: 5 (7)", "03: 7 (7)", "04: 3 (7)",
                                      "05: 1 (5)", "06: 2 (4)", "07: 10 (4)", "08: 12 (3)",
                                      "09: 6 (3)", "10: 11 (2)", "11: 4 (2)", "12: 8 (1)"}));
  for (auto [n, count] : NUMBER_COUNTS) EXPECT_EQ(g_number_frequency[n], count);
  for (auto [s, count] : STAR_COUNTS) EXPECT_EQ(g_star_frequency[s], count);
  for (int g = STATS_COPY_NUMBERS; g <= STATS_STARS_COUNT_SPIN; ++g) EXPECT_FALSE(ui_disabled(g));

  // A second Learn starts the lists afresh and gives the same order.
  learn();
  EXPECT_EQ(list_rows(STATS_BEST_NUMBERS), numbers);
  EXPECT_EQ(ui_count_items(STATS_BEST_STARS), 12);
  EXPECT_EQ(list_rows(STATS_BEST_STARS)[1], "02: 5 (7)");
}

TEST_F(StatisticsTab, BarsScaleToTheLargestCountWithBlueCountsAbove) {
  learn_fixture();
  const int h = chart_height(STATS_NUMBERS_CHART);
  // 23 is the largest count (16): its bar fills the grey track.
  EXPECT_EQ(track_pixels(STATS_NUMBERS_CHART, 23, CHART_BAR_RED), CHART_TRACK_HEIGHT);
  EXPECT_EQ(track_pixels(STATS_NUMBERS_CHART, 23, CHART_TRACK_GREY), 0);
  // 28 (8 of 16, p = 50): 248 pixels high, from h - 282 down to h - 35.
  EXPECT_EQ(track_pixels(STATS_NUMBERS_CHART, 28, CHART_BAR_RED), 248);
  // Above it the track stays grey, apart from the count drawn just over the bar.
  EXPECT_EQ(track_pixels_between(STATS_NUMBERS_CHART, 28, CHART_TRACK_GREY, chart_track_top(h), h - 295),
            h - 295 - chart_track_top(h));
  EXPECT_EQ(chart_pixel(STATS_NUMBERS_CHART, bar_x(28), h - 282), CHART_BAR_RED);
  EXPECT_EQ(chart_pixel(STATS_NUMBERS_CHART, bar_x(28), h - 283), CHART_TRACK_GREY);
  EXPECT_EQ(chart_pixel(STATS_NUMBERS_CHART, bar_x(28), h - 34), CHART_WHITE);
  // 31 (2 of 16, p = 12): 58 pixels.
  EXPECT_EQ(track_pixels(STATS_NUMBERS_CHART, 31, CHART_BAR_RED), 58);
  // A number never drawn gets no bar; 51..54 get none and grey labels.
  EXPECT_EQ(track_pixels(STATS_NUMBERS_CHART, 1, CHART_BAR_RED), 0);
  EXPECT_EQ(track_pixels(STATS_NUMBERS_CHART, 51, CHART_TRACK_GREY), CHART_TRACK_HEIGHT);
  EXPECT_LT(label_ink(STATS_NUMBERS_CHART, 50).darkest, 60);
  EXPECT_GE(label_ink(STATS_NUMBERS_CHART, 51).darkest, 100);
  EXPECT_GE(label_ink(STATS_NUMBERS_CHART, 54).darkest, 100);
  // The count above a bar is blue: 16 above the full bar of 23 (p = 100).
  EXPECT_TRUE(ink(STATS_NUMBERS_CHART, chart_column_x(23), h - 544, 16, 12).bluish);
  EXPECT_TRUE(ink(STATS_NUMBERS_CHART, chart_column_x(28), h - 294, 16, 12).bluish);

  // Stars: 9 (9 of 9) fills its track; 8 (1 of 9, p = 11) is 53 high;
  // 13..16 have no bar and grey labels.
  EXPECT_EQ(track_pixels(STATS_STARS_CHART, 9, CHART_BAR_RED), CHART_TRACK_HEIGHT);
  EXPECT_EQ(track_pixels(STATS_STARS_CHART, 8, CHART_BAR_RED), 53);
  EXPECT_EQ(track_pixels(STATS_STARS_CHART, 13, CHART_TRACK_GREY), CHART_TRACK_HEIGHT);
  EXPECT_EQ(track_pixels(STATS_STARS_CHART, 15, CHART_TRACK_GREY), CHART_TRACK_HEIGHT);
  EXPECT_LT(label_ink(STATS_STARS_CHART, 12).darkest, 60);
  EXPECT_GE(label_ink(STATS_STARS_CHART, 13).darkest, 100);

  // As shown on screen, not only as drawn.
  EXPECT_EQ(ui_test_gadget_pixel(STATS_NUMBERS_CHART, bar_x(23), h - 100), CHART_BAR_RED);
  EXPECT_EQ(ui_test_gadget_pixel(STATS_NUMBERS_CHART, bar_x(28), h - 400), CHART_TRACK_GREY);
}

TEST_F(StatisticsTab, AClickOnABarHighlightsItAndTheWhiteGroundRestoresTheCharts) {
  learn_fixture();
  const int hn = chart_height(STATS_NUMBERS_CHART);
  click_chart(STATS_NUMBERS_CHART, bar_x(23), hn - 200);
  EXPECT_EQ(g_chart_highlight, 1);
  EXPECT_EQ(ui_text(STATS_SELECTION), "Selected:⚫23(16)");
  EXPECT_EQ(track_pixels(STATS_NUMBERS_CHART, 23, CHART_BLUE), CHART_TRACK_HEIGHT);
  EXPECT_EQ(track_pixels(STATS_NUMBERS_CHART, 28, CHART_BAR_RED), 248);  // others stay red
  EXPECT_TRUE(label_ink(STATS_NUMBERS_CHART, 23).bluish);
  EXPECT_FALSE(label_ink(STATS_NUMBERS_CHART, 22).bluish);
  EXPECT_EQ(ui_test_gadget_pixel(STATS_NUMBERS_CHART, bar_x(23), hn - 200), CHART_BLUE);

  // Another bar, on the other chart, while one is highlighted: both blue.
  click_chart(STATS_STARS_CHART, bar_x(5), bar_y(STATS_STARS_CHART));
  EXPECT_EQ(g_chart_highlight, 1);
  EXPECT_EQ(ui_text(STATS_SELECTION), "Selected:★5(7)");
  EXPECT_EQ(chart_pixel(STATS_STARS_CHART, bar_x(5), bar_y(STATS_STARS_CHART)), CHART_BLUE);
  EXPECT_EQ(track_pixels(STATS_NUMBERS_CHART, 23, CHART_BLUE), CHART_TRACK_HEIGHT);

  // A click on a blue bar keeps everything and names its column again.
  click_chart(STATS_NUMBERS_CHART, bar_x(23), bar_y(STATS_NUMBERS_CHART));
  EXPECT_EQ(ui_text(STATS_SELECTION), "Selected:⚫23(16)");
  EXPECT_EQ(chart_pixel(STATS_STARS_CHART, bar_x(5), bar_y(STATS_STARS_CHART)), CHART_BLUE);

  // The white ground clears the highlight: every bar red, every label in
  // its own colour again.
  click_chart(STATS_NUMBERS_CHART, 2, 2);
  EXPECT_EQ(g_chart_highlight, 0);
  EXPECT_EQ(ui_text(STATS_SELECTION), "Selected:N/A");
  EXPECT_EQ(track_pixels(STATS_NUMBERS_CHART, 23, CHART_BAR_RED), CHART_TRACK_HEIGHT);
  EXPECT_EQ(chart_pixel(STATS_STARS_CHART, bar_x(5), bar_y(STATS_STARS_CHART)), CHART_BAR_RED);
  EXPECT_FALSE(label_ink(STATS_NUMBERS_CHART, 23).bluish);
  EXPECT_LT(label_ink(STATS_NUMBERS_CHART, 23).darkest, 60);
  EXPECT_EQ(ui_test_gadget_pixel(STATS_NUMBERS_CHART, bar_x(23), hn - 200), CHART_BAR_RED);

  // A grey track clears it too.
  click_chart(STATS_NUMBERS_CHART, bar_x(2), bar_y(STATS_NUMBERS_CHART));
  EXPECT_EQ(ui_text(STATS_SELECTION), "Selected:⚫2(13)");
  click_chart(STATS_NUMBERS_CHART, bar_x(2), chart_track_top(hn) + 5);
  EXPECT_EQ(g_chart_highlight, 0);
  EXPECT_EQ(ui_text(STATS_SELECTION), "Selected:N/A");
  // the counts stay blue
  EXPECT_TRUE(ink(STATS_NUMBERS_CHART, 0, 0, ui_width(STATS_NUMBERS_CHART), chart_height(STATS_NUMBERS_CHART)).bluish);
  EXPECT_EQ(track_pixels(STATS_NUMBERS_CHART, 2, CHART_BLUE), 0);

  // Choosing a list row only resets the selection text.
  click_chart(STATS_NUMBERS_CHART, bar_x(9), bar_y(STATS_NUMBERS_CHART));
  ASSERT_EQ(ui_text(STATS_SELECTION), "Selected:⚫9(9)");
  ui_test_choose(STATS_BEST_STARS, 2);
  run_pending_events();
  EXPECT_EQ(ui_text(STATS_SELECTION), "Selected:N/A");
  EXPECT_EQ(g_chart_highlight, 1);
}

// The first pixel of the box that is of blue ink but not pure blue (an
// edge the smoothing made), as the drawing left it; x < 0 when none.
std::pair<int, int> smoothed_blue_pixel(int canvas, int x0, int y0, int w, int h) {
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) {
      const int64_t c = chart_pixel(canvas, x, y);
      if (c != CHART_BLUE && blue_of(c) > red_of(c) + 60 && red_of(c) == green_of(c)) return {x, y};
    }
  return {-1, -1};
}

// A count and a highlighted label are blue text: a click on one, wherever
// in it, is a click on blue, and changes nothing but the selection text
// (and the label of the column it names); the ground just beside a count
// still clears the highlight.
TEST_F(StatisticsTab, AClickOnABlueCountOrLabelKeepsTheHighlight) {
  learn_fixture();
  const int h = chart_height(STATS_NUMBERS_CHART);
  click_chart(STATS_NUMBERS_CHART, bar_x(23), bar_y(STATS_NUMBERS_CHART));
  ASSERT_EQ(g_chart_highlight, 1);
  ASSERT_EQ(track_pixels(STATS_NUMBERS_CHART, 23, CHART_BLUE), CHART_TRACK_HEIGHT);

  // 23's count (16, the largest) stands above its track; 28's (8, p = 50)
  // above its bar, on the grey track; 23's label at the foot.
  struct Click {
    const char* what;
    std::pair<int, int> at;
    const char* selection;
  };
  const Click clicks[] = {
      {"the highlighted bar's count", smoothed_blue_pixel(STATS_NUMBERS_CHART, chart_column_x(23), h - 544, 16, 12),
       "Selected:⚫23(16)"},
      {"the highlighted label", smoothed_blue_pixel(STATS_NUMBERS_CHART, chart_column_x(23), chart_label_y(h), 16, 14),
       "Selected:⚫23(16)"},
      {"another bar's count", smoothed_blue_pixel(STATS_NUMBERS_CHART, chart_column_x(28), h - 294, 16, 12),
       "Selected:⚫28(8)"},
  };
  for (const Click& c : clicks) {
    SCOPED_TRACE(c.what);
    ASSERT_GE(c.at.first, 0) << "no smoothed blue pixel drawn";
    click_chart(STATS_NUMBERS_CHART, c.at.first, c.at.second);
    EXPECT_EQ(g_chart_highlight, 1);
    EXPECT_EQ(ui_text(STATS_SELECTION), c.selection);
    EXPECT_EQ(track_pixels(STATS_NUMBERS_CHART, 23, CHART_BLUE), CHART_TRACK_HEIGHT);
    EXPECT_EQ(track_pixels(STATS_NUMBERS_CHART, 28, CHART_BAR_RED), 248);
    EXPECT_TRUE(label_ink(STATS_NUMBERS_CHART, 23).bluish);
  }
  // The stars' counts too.
  const std::pair<int, int> star_count =
      smoothed_blue_pixel(STATS_STARS_CHART, chart_column_x(9), chart_height(STATS_STARS_CHART) - 544, 16, 12);
  ASSERT_GE(star_count.first, 0);
  click_chart(STATS_STARS_CHART, star_count.first, star_count.second);
  EXPECT_EQ(g_chart_highlight, 1);
  EXPECT_EQ(ui_text(STATS_SELECTION), "Selected:★9(9)");
  EXPECT_EQ(track_pixels(STATS_NUMBERS_CHART, 23, CHART_BLUE), CHART_TRACK_HEIGHT);

  // The white ground left of 23's count clears it.
  click_chart(STATS_NUMBERS_CHART, chart_column_x(23) - 2, h - 540);
  EXPECT_EQ(g_chart_highlight, 0);
  EXPECT_EQ(ui_text(STATS_SELECTION), "Selected:N/A");
  EXPECT_EQ(track_pixels(STATS_NUMBERS_CHART, 23, CHART_BAR_RED), CHART_TRACK_HEIGHT);
  EXPECT_FALSE(label_ink(STATS_NUMBERS_CHART, 23).bluish);
}

// The highlighted label is drawn on its white ground each time, so clicking
// the blue bar again and again leaves it exactly as the first click drew it.
TEST_F(StatisticsTab, AHighlightedLabelStaysTheSameHoweverOftenItIsClicked) {
  learn_fixture();
  for (int canvas : {STATS_NUMBERS_CHART, STATS_STARS_CHART}) {
    SCOPED_TRACE(canvas);
    const int n = canvas == STATS_NUMBERS_CHART ? 23 : 5;
    const int h = chart_height(canvas);
    auto label_pixels = [&] {
      std::vector<int64_t> pixels;
      for (int y = chart_label_y(h) - 3; y < chart_label_y(h) + 17; ++y)
        for (int x = chart_column_x(n) - 3; x < chart_column_x(n) + CHART_COLUMN_WIDTH + 4; ++x)
          pixels.push_back(chart_pixel(canvas, x, y));
      return pixels;
    };
    click_chart(canvas, bar_x(n), bar_y(canvas));
    ASSERT_EQ(g_chart_highlight, 1);
    const std::vector<int64_t> first = label_pixels();
    ASSERT_TRUE(label_ink(canvas, n).bluish);
    for (int k = 0; k < 6; ++k) click_chart(canvas, bar_x(n), bar_y(canvas));
    EXPECT_EQ(label_pixels(), first);
  }
  // Clearing the highlight redraws the charts: every text comes out as the
  // first drawing made it, however often the highlight comes and goes.
  auto all_pixels = [](int canvas) {
    std::vector<int64_t> pixels;
    ui_start_drawing_canvas(canvas);
    for (int y = 0; y < ui_height(canvas); ++y)
      for (int x = 0; x < ui_width(canvas); ++x) pixels.push_back(ui_point(x, y));
    ui_stop_drawing();
    return pixels;
  };
  click_chart(STATS_NUMBERS_CHART, 2, 2);
  ASSERT_EQ(g_chart_highlight, 0);
  const std::vector<int64_t> numbers = all_pixels(STATS_NUMBERS_CHART);
  const std::vector<int64_t> stars = all_pixels(STATS_STARS_CHART);
  for (int k = 0; k < 6; ++k) {
    click_chart(STATS_NUMBERS_CHART, bar_x(23), bar_y(STATS_NUMBERS_CHART));
    click_chart(STATS_NUMBERS_CHART, 2, 2);
  }
  EXPECT_TRUE(all_pixels(STATS_NUMBERS_CHART) == numbers);
  EXPECT_TRUE(all_pixels(STATS_STARS_CHART) == stars);
}

TEST_F(StatisticsTab, CopyingTheBestNumbersPlaysExactlyThoseAndDropsEveryOtherMark) {
  // Seven more past results hold each of the other 35 numbers once, so all
  // 50 are listed and the 15 best are still the fixture's 15.
  std::vector<std::string> entries = fixture_entries(NUMBER_COUNTS, STAR_COUNTS, FIXTURE_ENTRIES);
  std::vector<int> rest;
  for (int n = 1; n <= 50; ++n)
    if (std::none_of(NUMBER_COUNTS.begin(), NUMBER_COUNTS.end(),
                     [n](const auto& c) { return c.first == n; }))
      rest.push_back(n);
  ASSERT_EQ(rest.size(), 35u);
  for (size_t i = 0; i < 7; ++i) {
    std::string e;
    for (size_t k = 0; k < 5; ++k) e += two_digits(rest[5 * i + k]) + " ";
    entries.push_back(e + "01 02");
  }
  set_database(entries);
  learn();
  ASSERT_EQ(ui_count_items(STATS_BEST_NUMBERS), 50);

  // The player fixes 23 and drops 1 on the Preferences tab first.
  show_tab(TAB_PREFERENCES);
  click_gadget(PREFS_NUMBER_BUTTON_BASE + 23);
  click_gadget(PREFS_NUMBER_BUTTON_BASE + 1);
  click_gadget(PREFS_NUMBER_BUTTON_BASE + 1);
  ASSERT_EQ(g_number_play_state[23], 2);
  ASSERT_EQ(g_number_play_state[1], 0);

  show_tab(TAB_STATISTICS);
  click_chart(STATS_NUMBERS_CHART, bar_x(23), bar_y(STATS_NUMBERS_CHART));
  ASSERT_EQ(ui_text(STATS_SELECTION), "Selected:⚫23(16)");
  ASSERT_EQ(ui_text(STATS_NUMBERS_COUNT_SPIN), "15");
  click_gadget(STATS_COPY_NUMBERS);
  EXPECT_TRUE(ui_test_messages().empty());
  EXPECT_EQ(ui_text(STATS_SELECTION), "Selected:N/A");

  show_tab(TAB_PREFERENCES);
  for (int n = 1; n <= 50; ++n) {
    bool best = std::any_of(NUMBER_COUNTS.begin(), NUMBER_COUNTS.end(),
                            [n](const auto& c) { return c.first == n; });
    SCOPED_TRACE(n);
    EXPECT_EQ(g_number_play_state[n], best ? 1 : 0);
    int64_t face = ui_test_gadget_pixel(PREFS_NUMBER_BUTTON_BASE + n, 5, 20);
    if (best) EXPECT_EQ(face, YELLOW);
    else EXPECT_EQ(face, ui_button_face_colour());
  }
  EXPECT_EQ(ui_text(PREFS_NUMBERS_SUMMARY), "Σ⚫:15→Play(15) Fixed(00)");
  EXPECT_EQ(ui_text(PREFS_NUMBERS_REMOVED), "Removed:35");
  EXPECT_EQ(g_played_number_count, 15);
  EXPECT_EQ(g_fixed_number_count, 0);
  // The stars were not touched.
  EXPECT_EQ(g_played_star_count, 12);
}

// Three stars tie at 7 across the 3rd place; the ranking sort puts them
// 5, 7, 3 (worked by hand above), so a copy of 3 takes 9, 5 and 7, not 3.
TEST_F(StatisticsTab, CopyingTheBestStarsBreaksATieAtTheLastPlaceAsTheRankingSortDoes) {
  learn_fixture();
  struct Case {
    const char* spin;
    std::vector<int> played;
  };
  const Case cases[] = {
      {"3", {5, 7, 9}},
      {"4", {3, 5, 7, 9}},
      {"2", {5, 9}},
      {"7", {1, 2, 3, 5, 7, 9, 10}},
      {"12", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.spin);
    show_tab(TAB_STATISTICS);
    type_text(STATS_STARS_COUNT_SPIN, c.spin);
    EXPECT_EQ(g_best_stars_count, val_int(c.spin));
    click_gadget(STATS_COPY_STARS);
    std::vector<int> played;
    for (int s = 1; s <= 12; ++s)
      if (g_star_play_state[s] == 1) played.push_back(s);
    EXPECT_EQ(played, c.played);
    EXPECT_EQ(g_played_star_count, static_cast<int64_t>(c.played.size()));
    show_tab(TAB_PREFERENCES);
    EXPECT_EQ(ui_test_gadget_pixel(PREFS_STAR_BUTTON_BASE + 7, 5, 20),
              g_star_play_state[7] == 1 ? YELLOW : ui_button_face_colour());
    EXPECT_EQ(ui_test_gadget_pixel(PREFS_STAR_BUTTON_BASE + 3, 5, 20),
              g_star_play_state[3] == 1 ? YELLOW : ui_button_face_colour());
  }
  EXPECT_TRUE(ui_test_messages().empty());
}

TEST_F(StatisticsTab, ACountOutsideItsRangeIsRefusedWithTheRangeMessage) {
  learn_fixture();
  struct Case {
    int spin;
    int button;
    const char* text;
    const char* message;
  };
  const char* numbers = "The number of best numbers must be in the range 1:50";
  const char* stars = "The number of best stars must be in the range 1:12";
  const Case cases[] = {
      {STATS_NUMBERS_COUNT_SPIN, STATS_COPY_NUMBERS, "51", numbers},
      {STATS_NUMBERS_COUNT_SPIN, STATS_COPY_NUMBERS, "0", numbers},
      {STATS_NUMBERS_COUNT_SPIN, STATS_COPY_NUMBERS, "", numbers},
      {STATS_NUMBERS_COUNT_SPIN, STATS_COPY_NUMBERS, "-3", numbers},
      {STATS_STARS_COUNT_SPIN, STATS_COPY_STARS, "13", stars},
      {STATS_STARS_COUNT_SPIN, STATS_COPY_STARS, "0", stars},
  };
  click_chart(STATS_NUMBERS_CHART, bar_x(7), bar_y(STATS_NUMBERS_CHART));
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " in " + std::to_string(c.spin));
    // Both spins valid first, so that only the spin under test is bad.
    type_text(STATS_NUMBERS_COUNT_SPIN, "15");
    type_text(STATS_STARS_COUNT_SPIN, "9");
    ui_test_clear_messages();
    type_text(c.spin, c.text);
    EXPECT_EQ(ui_colour(c.spin, UI_BACK), 255);  // the spin's own check marks it red
    ui_set_text(STATS_SELECTION, "Selected:⚫7(15)");
    click_gadget(c.button);
    ASSERT_EQ(ui_test_messages().size(), 1u);
    EXPECT_EQ(ui_test_messages()[0].title, "Warning!");
    EXPECT_EQ(ui_test_messages()[0].text, c.message);
    EXPECT_EQ(ui_focused_gadget(), c.spin);
    EXPECT_EQ(ui_text(STATS_SELECTION), "Selected:⚫7(15)");  // left as it was
    EXPECT_EQ(g_played_number_count, 50);  // nothing copied
    EXPECT_EQ(g_played_star_count, 12);
  }
  // Back in range, the field loses its red and the copy runs; the list is
  // shorter than 20, so its 15 rows are played.
  ui_test_clear_messages();
  type_text(STATS_NUMBERS_COUNT_SPIN, "20");
  EXPECT_EQ(ui_colour(STATS_NUMBERS_COUNT_SPIN, UI_BACK), UI_DEFAULT_COLOUR);
  EXPECT_EQ(g_best_numbers_count, 20);
  click_gadget(STATS_COPY_NUMBERS);
  EXPECT_TRUE(ui_test_messages().empty());
  EXPECT_EQ(g_played_number_count, 15);
  // A decimal passes the check before the copy; the copy takes it rounded
  // (2.5 -> 3) rather than the 0 that the spin's whole-number check reads.
  type_text(STATS_NUMBERS_COUNT_SPIN, "2.5");
  click_gadget(STATS_COPY_NUMBERS);
  EXPECT_TRUE(ui_test_messages().empty());
  EXPECT_EQ(g_played_number_count, 3);
  EXPECT_EQ(g_number_play_state[23] + g_number_play_state[7] + g_number_play_state[41], 3);
}

TEST_F(StatisticsTab, ResetLeavesEmptyFramesAndListsAndTheNextClickBringsTheBarsBack) {
  learn_fixture();
  click_chart(STATS_NUMBERS_CHART, bar_x(41), bar_y(STATS_NUMBERS_CHART));
  ASSERT_EQ(g_chart_highlight, 1);
  press_on_techniques_tab(GADGET_RESET);
  EXPECT_EQ(count_red(STATS_NUMBERS_CHART), 0);
  EXPECT_EQ(count_red(STATS_STARS_CHART), 0);
  EXPECT_EQ(count_blue(STATS_NUMBERS_CHART), 0);
  EXPECT_EQ(track_pixels(STATS_NUMBERS_CHART, 41, CHART_TRACK_GREY), CHART_TRACK_HEIGHT);
  EXPECT_EQ(ui_count_items(STATS_BEST_NUMBERS), 0);
  EXPECT_EQ(ui_count_items(STATS_BEST_STARS), 0);
  // The flag, the frequencies and the copy controls survive.
  EXPECT_EQ(g_chart_highlight, 1);
  EXPECT_EQ(g_number_frequency[41], 14);
  EXPECT_FALSE(ui_disabled(STATS_COPY_NUMBERS));

  // A copy now finds an empty list: every number ends up not played.
  click_gadget(STATS_COPY_NUMBERS);
  EXPECT_EQ(g_played_number_count, 0);

  // The next click clears the flag and redraws the bars of the last Learn.
  click_chart(STATS_NUMBERS_CHART, 2, 2);
  EXPECT_EQ(g_chart_highlight, 0);
  EXPECT_EQ(track_pixels(STATS_NUMBERS_CHART, 41, CHART_BAR_RED),
            5 * (14 * 100 / 16) - 2);
  EXPECT_EQ(track_pixels(STATS_STARS_CHART, 9, CHART_BAR_RED), CHART_TRACK_HEIGHT);
}

TEST_F(StatisticsTab, ValuesBeyondTheGameAreNotCountedAndChartsWithoutScaleDrawNoBar) {
  // 101 results: 10 in every one, 20 in one only (p = 0), and fields the
  // import lets through: 00, 51, 99, a star 13 or 00, a short entry.
  std::vector<std::string> entries(100, "10 11 12 13 14 01 02");
  entries.push_back("10 20 00 51 99 13 00");
  entries.push_back("10 54");
  entries.push_back("");
  set_database(entries);
  count_number_and_star_frequencies();
  draw_chart_frames();
  draw_frequency_charts();
  fill_frequency_rankings();
  EXPECT_EQ(g_number_frequency.size(), 55u);
  EXPECT_EQ(g_star_frequency.size(), 13u);
  EXPECT_EQ(g_number_frequency[10], 102);
  EXPECT_EQ(g_number_frequency[20], 1);
  for (int n : {0, 51, 52, 53, 54}) EXPECT_EQ(g_number_frequency[n], 0) << n;
  EXPECT_EQ(g_star_frequency[0], 0);
  EXPECT_EQ(g_star_frequency[1], 100);
  // 11..14 tie at 100; their order is the sort's and is not looked at here.
  ASSERT_EQ(ui_count_items(STATS_BEST_NUMBERS), 6);
  EXPECT_EQ(list_rows(STATS_BEST_NUMBERS).front(), "01: 10 (102)");
  EXPECT_EQ(list_rows(STATS_BEST_NUMBERS).back(), "06: 20 (1)");
  EXPECT_EQ(ui_count_items(STATS_BEST_STARS), 2);
  // 1 of 102 is below 1 %: no bar, but its count at the track's foot.
  const int h = chart_height(STATS_NUMBERS_CHART);
  EXPECT_EQ(track_pixels(STATS_NUMBERS_CHART, 20, CHART_BAR_RED), 0);
  EXPECT_TRUE(ink(STATS_NUMBERS_CHART, chart_column_x(20), h - 44, 12, 12).bluish);
  EXPECT_EQ(track_pixels(STATS_NUMBERS_CHART, 10, CHART_BAR_RED), CHART_TRACK_HEIGHT);

  // Nothing counted at all: frames only, no division by zero, empty lists.
  set_database({"00 51 60 77 99 13 00"});
  clear_best_lists();
  count_number_and_star_frequencies();
  draw_chart_frames();
  draw_frequency_charts();
  fill_frequency_rankings();
  EXPECT_EQ(count_red(STATS_NUMBERS_CHART), 0);
  EXPECT_EQ(count_blue(STATS_NUMBERS_CHART), 0);
  EXPECT_EQ(count_red(STATS_STARS_CHART), 0);
  EXPECT_EQ(ui_count_items(STATS_BEST_NUMBERS), 0);
  EXPECT_EQ(ui_count_items(STATS_BEST_STARS), 0);
}

// ---- the real history --------------------------------------------------------------

namespace {

// The draw lines of the file, "00001 2004-02-13 16 29 32 36 41 +07 +09".
std::vector<std::string> draw_lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    if (line == "@end_database") break;
    lines.push_back(line);
  }
  return lines;
}

}  // namespace

TEST_F(StatisticsTab, TheRealHistoryIsCountedAsTheFileSaysAndShownReadably) {
  std::string path = history_file("past_results.txt");
  std::vector<std::string> lines = draw_lines(path);
  ASSERT_GT(lines.size(), 1000u);

  // The count of the test: blank-separated words, the 3rd to 7th numbers,
  // the 8th and 9th stars behind their "+".
  std::array<int64_t, 55> numbers{};
  std::array<int64_t, 13> stars{};
  for (const std::string& line : lines) {
    std::istringstream words(line);
    std::string index, date, n[5], s[2];
    words >> index >> date >> n[0] >> n[1] >> n[2] >> n[3] >> n[4] >> s[0] >> s[1];
    for (const std::string& v : n) ++numbers.at(std::stoi(v));
    for (const std::string& v : s) ++stars.at(std::stoi(v.substr(1)));
  }

  // The program reads the same file as the player would: "Open", then "Learn".
  show_tab(TAB_TECHNIQUES);
  ui_test_push_file_answer(path);
  click_gadget(GADGET_OPEN_DATABASE);
  ASSERT_EQ(g_database_draw_count, static_cast<int64_t>(lines.size()));
  learn();
  EXPECT_TRUE(ui_test_messages().empty());
  for (int v = 0; v < 55; ++v) EXPECT_EQ(g_number_frequency[v], numbers[v]) << v;
  for (int v = 0; v < 13; ++v) EXPECT_EQ(g_star_frequency[v], stars[v]) << v;

  // Every number and star is listed once, largest count first.
  ASSERT_EQ(ui_count_items(STATS_BEST_NUMBERS), 50);
  ASSERT_EQ(ui_count_items(STATS_BEST_STARS), 12);
  int64_t previous = INT64_MAX;
  std::vector<bool> seen(51, false);
  for (int i = 0; i < 50; ++i) {
    std::string row = ui_item_text(STATS_BEST_NUMBERS, i);
    int64_t n = val_int(string_field(string_field(row, 2, ": "), 1, " ("));
    int64_t count = val_int(string_field(row, 2, " ("));
    EXPECT_EQ(row, two_digits(i + 1) + ": " + str_int(n) + " (" + str_int(numbers.at(n)) + ")");
    EXPECT_LE(count, previous);
    EXPECT_FALSE(seen.at(n));
    seen.at(n) = true;
    previous = count;
  }
  const int64_t largest = *std::max_element(numbers.begin(), numbers.end());
  const int64_t best = val_int(string_field(string_field(ui_item_text(STATS_BEST_NUMBERS, 0), 2, ": "), 1, " ("));
  EXPECT_EQ(track_pixels(STATS_NUMBERS_CHART, static_cast<int>(best), CHART_BAR_RED),
            CHART_TRACK_HEIGHT);
  EXPECT_EQ(numbers.at(best), largest);

  show_tab(TAB_STATISTICS);
  click_chart(STATS_NUMBERS_CHART, bar_x(static_cast<int>(best)), bar_y(STATS_NUMBERS_CHART));
  EXPECT_EQ(ui_text(STATS_SELECTION), "Selected:⚫" + str_int(best) + "(" + str_int(largest) + ")");
  std::string picture = ::testing::TempDir() + "statistics_tab.png";
  ASSERT_TRUE(ui_test_save_png(WINDOW_MAIN, picture));
  std::printf("screenshot: %s\n", picture.c_str());
}
