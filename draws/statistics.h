// Gadget numbers and drawing constants of the Statistics tab (tab 3 of panel
// 1), shared by its builder, its handler and the tests.
#pragma once

#include <cstdint>

constexpr int STATS_NUMBERS_CHART = 895;  // canvas, 54 columns
constexpr int STATS_STARS_CHART = 896;    // canvas, 16 columns
constexpr int STATS_BEST_FRAME = 897;     // "Best Σ order"
constexpr int STATS_BEST_NUMBERS = 898;   // list, rows "01: 23 (187)"
constexpr int STATS_BEST_STARS = 899;
constexpr int STATS_SELECTION = 900;      // "Selected:⚫23(187)"
constexpr int STATS_COPY_NUMBERS = 901;
constexpr int STATS_NUMBERS_COUNT_SPIN = 902;
constexpr int STATS_COPY_STARS = 903;
constexpr int STATS_STARS_COUNT_SPIN = 904;

constexpr int STATS_NUMBER_COLUMNS = 54;
constexpr int STATS_STAR_COLUMNS = 16;  // the 16th starts at the canvas's right edge

// Chart geometry, from the canvas's height h and the column n (from 1).
constexpr int chart_column_x(int n) { return 17 * n - 7; }
constexpr int CHART_COLUMN_WIDTH = 12;
constexpr int CHART_TRACK_HEIGHT = 498;
constexpr int chart_track_top(int h) { return h - 532; }
constexpr int chart_track_foot(int h) { return h - 34; }  // first row below the track
constexpr int chart_label_y(int h) { return h - 30; }

// Colours, r + 256 g + 65536 b.
constexpr int64_t CHART_WHITE = 0xFFFFFF;
constexpr int64_t CHART_TRACK_GREY = 0xA0A0A0;  // RGB(160, 160, 160)
constexpr int64_t CHART_LABEL_BLACK = 0;
constexpr int64_t CHART_LABEL_GREY = 0x808080;  // beyond the highest number or star
constexpr int64_t CHART_BAR_RED = 0x0000FF;     // RGB(255, 0, 0)
constexpr int64_t CHART_BLUE = 0xFF0000;        // RGB(0, 0, 255): counts and highlight
