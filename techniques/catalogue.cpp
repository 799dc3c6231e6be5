#include "techniques/catalogue.h"

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <utility>
#include <vector>

#include "core/state.h"
#include "techniques/engine.h"
#include "techniques/techniques.h"

// The tables and windows live here, beside the catalogue that describes them.
TechniqueTable g_techniques[TECHNIQUE_COUNT];

namespace {

// ---- the sets, as bit masks over the values 0..63 ----------------------------
// Numbers 1..54 stand on a board of 9 rows of 6 (row r holds 6r-5 .. 6r); only
// 1..50 are numbers, so cells 51..54 sit in some sets and never in a ticket.
// Stars 1..12 stand on a board of 4 rows of 3.

constexpr uint64_t bit(int v) { return uint64_t{1} << v; }

constexpr uint64_t spans(std::initializer_list<std::pair<int, int>> ranges) {
  uint64_t m = 0;
  for (auto [a, b] : ranges)
    for (int v = a; v <= b; ++v) m |= bit(v);
  return m;
}

constexpr uint64_t values(std::initializer_list<int> list) {
  uint64_t m = 0;
  for (int v : list) m |= bit(v);
  return m;
}

constexpr uint64_t SET_PRIMES = values({2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41, 43, 47, 53});
constexpr uint64_t SET_EVEN = 0x5555555555555555ull;  // 0, 2, .. 62 (0 is even)
constexpr uint64_t SET_ODD = 0xAAAAAAAAAAAAAAAAull;   // 1, 3, .. 63
constexpr uint64_t SET_LOW = spans({{0, 25}});        // every value <= 25, 0 included
constexpr uint64_t SET_HIGH = spans({{26, 63}});      // every value >= 26
constexpr uint64_t SET_HALF_LOW =
    spans({{1, 3}, {7, 9}, {13, 15}, {19, 21}, {25, 27}, {31, 33}, {37, 39}, {43, 45}, {49, 51}});
constexpr uint64_t SET_HALF_HIGH =
    spans({{4, 6}, {10, 12}, {16, 18}, {22, 24}, {28, 30}, {34, 36}, {40, 42}, {46, 48}, {52, 54}});
constexpr uint64_t SET_DIAG1_LOW = spans({{1, 6}, {8, 12}, {15, 18}, {22, 24}, {29, 30}, {36, 36}});
constexpr uint64_t SET_DIAG1_HIGH =
    spans({{7, 7}, {13, 14}, {19, 21}, {25, 28}, {31, 35}, {37, 50}});
constexpr uint64_t SET_DIAG2_LOW = spans({{1, 23}, {25, 28}, {31, 33}, {37, 38}, {43, 43}});
constexpr uint64_t SET_DIAG2_HIGH =
    spans({{24, 24}, {29, 30}, {34, 36}, {39, 42}, {44, 50}});
constexpr uint64_t SET_RING_1 = values({15, 16, 21, 22, 27, 28, 33, 34, 39, 40});
constexpr uint64_t SET_RING_2 =
    spans({{8, 11}, {14, 14}, {17, 17}, {20, 20}, {23, 23}, {26, 26}, {29, 29}, {32, 32},
           {35, 35}, {38, 38}, {41, 41}, {44, 47}});
constexpr uint64_t SET_RING_3 =
    spans({{1, 7}, {12, 13}, {18, 19}, {24, 25}, {30, 31}, {36, 37}, {42, 43}, {48, 54}});
// The right diagonals run down and to the right; the corner cells 6 and 49
// join the short diagonals beside them, so there are 12 (index 0 unused).
constexpr uint64_t SET_RIGHT_DIAGONAL[13] = {
    0,
    values({5, 6, 12}),
    values({4, 11, 18}),
    values({3, 10, 17, 24}),
    values({2, 9, 16, 23, 30}),
    values({1, 8, 15, 22, 29, 36}),
    values({7, 14, 21, 28, 35, 42}),
    values({13, 20, 27, 34, 41, 48}),
    values({19, 26, 33, 40, 47, 54}),
    values({25, 32, 39, 46, 53}),
    values({31, 38, 45, 52}),
    values({37, 44, 51}),
    values({43, 49, 50}),
};

constexpr uint64_t decade_set(int d) { return d == 0 ? spans({{1, 9}}) : spans({{10 * d, 10 * d + 9}}); }
constexpr uint64_t column_set(int c) {
  uint64_t m = 0;
  for (int v = c; v <= 54; v += 6) m |= bit(v);
  return m;
}
constexpr uint64_t row_set(int r) { return spans({{6 * r - 5, 6 * r}}); }
constexpr uint64_t star_row_set(int r) { return spans({{3 * r - 2, 3 * r}}); }
constexpr uint64_t star_column_set(int c) { return values({c, c + 3, c + 6, c + 9}); }

// The listed sets agree with their definitions on the board.
constexpr uint64_t board_set(bool (*holds)(int row, int column), int last) {
  uint64_t m = 0;
  for (int v = 1; v <= last; ++v)
    if (holds((v - 1) / 6 + 1, (v - 1) % 6 + 1)) m |= bit(v);
  return m;
}
static_assert(SET_DIAG1_LOW == board_set([](int r, int c) { return c >= r; }, 54));
static_assert(SET_DIAG1_HIGH == board_set([](int r, int c) { return c < r; }, 50));
static_assert(SET_DIAG2_LOW == board_set([](int r, int c) { return r + c <= 9; }, 54));
static_assert(SET_DIAG2_HIGH == board_set([](int r, int c) { return r + c >= 10; }, 50));
static_assert(SET_HALF_LOW == board_set([](int, int c) { return c <= 3; }, 54));
static_assert(SET_HALF_HIGH == board_set([](int, int c) { return c >= 4; }, 54));
static_assert(SET_RING_1 == board_set([](int r, int c) { return r >= 3 && r <= 7 && c >= 3 && c <= 4; }, 54));
static_assert(SET_RING_3 == board_set([](int r, int c) { return r == 1 || r == 9 || c == 1 || c == 6; }, 54));
static_assert((SET_RING_1 | SET_RING_2 | SET_RING_3) == spans({{1, 54}}));
static_assert((SET_RING_1 & SET_RING_2) == 0 && (SET_RING_2 & SET_RING_3) == 0);
static_assert([] {
  uint64_t all = 0;
  for (int d = 1; d <= 12; ++d) {
    if (all & SET_RIGHT_DIAGONAL[d]) return false;
    all |= SET_RIGHT_DIAGONAL[d];
  }
  return all == spans({{1, 54}});
}());

}  // namespace

// ORDER CATALOGUE. Columns: id, key, statistic, set, outside the mask,
// parameter, cells, frame caption, trim by Remove, check by the filter,
// maximum's slot, minimum's slot.
constexpr TechniqueRow g_technique_catalogue[] = {
    {T_sum_numbers, "sum_numbers", STAT_SUM_NUMBERS, 0, OUTSIDE_NONE, 0, CELLS_SUM_NUMBERS, "Sum Nrs", TRIM_BOTH, CHECK_BOTH, 1, 2},
    {T_decades, "decades", STAT_DECADES, 0, OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Decades", TRIM_FORCED_3_4, CHECK_BOTH, 3, 4},
    {T_primes, "primes", STAT_NUMBER_SET, SET_PRIMES, OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Prime Numbers Max", TRIM_MAX_ONLY, CHECK_MAX_ONLY, 5, 0},
    {T_tallest_first, "tallest_first", STAT_FIRST_NUMBER, 0, OUTSIDE_NONE, 0, CELLS_NUMBER_VALUE, "Tallest Nr being the 1st", TRIM_MAX_ONLY, CHECK_MAX_ONLY, 7, 0},
    {T_max_distance, "max_distance", STAT_NEIGHBOUR_GAPS, 0, OUTSIDE_NONE, 0, CELLS_NUMBER_VALUE, "Max distance between Nrs", TRIM_MAX_ONLY, CHECK_MAX_ONLY, 8, 0},
    {T_even, "even", STAT_NUMBER_SET, SET_EVEN, OUTSIDE_EVEN, 0, CELLS_NUMBER_COUNT, "Even/Odd", TRIM_BOTH, CHECK_BOTH, 10, 11},
    {T_odd, "odd", STAT_NUMBER_SET, SET_ODD, OUTSIDE_ODD, 0, CELLS_NUMBER_COUNT, "Even/Odd", TRIM_BOTH, CHECK_BOTH, 12, 13},
    {T_diag1_low, "diag1_low", STAT_NUMBER_SET, SET_DIAG1_LOW, OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diag1. Low/High", TRIM_BOTH, CHECK_BOTH, 14, 15},
    {T_diag1_high, "diag1_high", STAT_NUMBER_SET, SET_DIAG1_HIGH, OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diag1. Low/High", TRIM_BOTH, CHECK_BOTH, 16, 17},
    {T_diag2_low, "diag2_low", STAT_NUMBER_SET, SET_DIAG2_LOW, OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diag2. Low/High", TRIM_BOTH, CHECK_BOTH, 18, 19},
    {T_diag2_high, "diag2_high", STAT_NUMBER_SET, SET_DIAG2_HIGH, OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diag2. Low/High", TRIM_BOTH, CHECK_BOTH, 20, 21},
    {T_ring_1, "ring_1", STAT_NUMBER_SET, SET_RING_1, OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Rings", TRIM_BOTH, CHECK_BOTH, 22, 23},
    {T_ring_2, "ring_2", STAT_NUMBER_SET, SET_RING_2, OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Rings", TRIM_BOTH, CHECK_BOTH, 24, 25},
    {T_ring_3, "ring_3", STAT_NUMBER_SET, SET_RING_3, OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Rings", TRIM_BOTH, CHECK_BOTH, 26, 27},
    {T_decade_0x, "decade_0x", STAT_NUMBER_SET, decade_set(0), OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Numbers per decade", TRIM_BOTH, CHECK_BOTH, 28, 29},
    {T_decade_1x, "decade_1x", STAT_NUMBER_SET, decade_set(1), OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Numbers per decade", TRIM_BOTH, CHECK_BOTH, 30, 31},
    {T_decade_2x, "decade_2x", STAT_NUMBER_SET, decade_set(2), OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Numbers per decade", TRIM_BOTH, CHECK_BOTH, 32, 33},
    {T_decade_3x, "decade_3x", STAT_NUMBER_SET, decade_set(3), OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Numbers per decade", TRIM_BOTH, CHECK_BOTH, 34, 35},
    {T_decade_4x, "decade_4x", STAT_NUMBER_SET, decade_set(4), OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Numbers per decade", TRIM_BOTH, CHECK_BOTH, 36, 37},
    {T_decade_5x, "decade_5x", STAT_NUMBER_SET, decade_set(5), OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Numbers per decade", TRIM_BOTH, CHECK_BOTH, 38, 39},
    {T_ending_1, "ending_1", STAT_ENDING, 0, OUTSIDE_NONE, 1, CELLS_NUMBER_COUNT, "Terminations", TRIM_BOTH, CHECK_BOTH, 40, 41},
    {T_ending_2, "ending_2", STAT_ENDING, 0, OUTSIDE_NONE, 2, CELLS_NUMBER_COUNT, "Terminations", TRIM_BOTH, CHECK_BOTH, 42, 43},
    {T_ending_3, "ending_3", STAT_ENDING, 0, OUTSIDE_NONE, 3, CELLS_NUMBER_COUNT, "Terminations", TRIM_BOTH, CHECK_BOTH, 44, 45},
    {T_ending_4, "ending_4", STAT_ENDING, 0, OUTSIDE_NONE, 4, CELLS_NUMBER_COUNT, "Terminations", TRIM_BOTH, CHECK_BOTH, 46, 47},
    {T_ending_5, "ending_5", STAT_ENDING, 0, OUTSIDE_NONE, 5, CELLS_NUMBER_COUNT, "Terminations", TRIM_BOTH, CHECK_BOTH, 48, 49},
    {T_ending_6, "ending_6", STAT_ENDING, 0, OUTSIDE_NONE, 6, CELLS_NUMBER_COUNT, "Terminations", TRIM_BOTH, CHECK_BOTH, 50, 51},
    {T_ending_7, "ending_7", STAT_ENDING, 0, OUTSIDE_NONE, 7, CELLS_NUMBER_COUNT, "Terminations", TRIM_BOTH, CHECK_BOTH, 52, 53},
    {T_ending_8, "ending_8", STAT_ENDING, 0, OUTSIDE_NONE, 8, CELLS_NUMBER_COUNT, "Terminations", TRIM_BOTH, CHECK_BOTH, 54, 55},
    {T_ending_9, "ending_9", STAT_ENDING, 0, OUTSIDE_NONE, 9, CELLS_NUMBER_COUNT, "Terminations", TRIM_BOTH, CHECK_BOTH, 56, 57},
    {T_ending_0, "ending_0", STAT_ENDING, 0, OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Terminations", TRIM_BOTH, CHECK_BOTH, 58, 59},
    {T_distance_1_2, "distance_1_2", STAT_DISTANCE, 0, OUTSIDE_NONE, 1, CELLS_NUMBER_VALUE, "Distances between numbers", TRIM_BOTH, CHECK_BOTH, 60, 61},
    {T_distance_2_3, "distance_2_3", STAT_DISTANCE, 0, OUTSIDE_NONE, 2, CELLS_NUMBER_VALUE, "Distances between numbers", TRIM_BOTH, CHECK_BOTH, 62, 63},
    {T_distance_3_4, "distance_3_4", STAT_DISTANCE, 0, OUTSIDE_NONE, 3, CELLS_NUMBER_VALUE, "Distances between numbers", TRIM_BOTH, CHECK_BOTH, 64, 65},
    {T_distance_4_5, "distance_4_5", STAT_DISTANCE, 0, OUTSIDE_NONE, 4, CELLS_NUMBER_VALUE, "Distances between numbers", TRIM_BOTH, CHECK_BOTH, 66, 67},
    {T_column_1, "column_1", STAT_NUMBER_SET, column_set(1), OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Numbers per columns", TRIM_BOTH, CHECK_BOTH, 86, 87},
    {T_column_2, "column_2", STAT_NUMBER_SET, column_set(2), OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Numbers per columns", TRIM_BOTH, CHECK_BOTH, 88, 89},
    {T_column_3, "column_3", STAT_NUMBER_SET, column_set(3), OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Numbers per columns", TRIM_BOTH, CHECK_BOTH, 90, 91},
    {T_column_4, "column_4", STAT_NUMBER_SET, column_set(4), OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Numbers per columns", TRIM_BOTH, CHECK_BOTH, 92, 93},
    {T_column_5, "column_5", STAT_NUMBER_SET, column_set(5), OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Numbers per columns", TRIM_BOTH, CHECK_BOTH, 94, 95},
    {T_column_6, "column_6", STAT_NUMBER_SET, column_set(6), OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Numbers per columns", TRIM_BOTH, CHECK_BOTH, 96, 97},
    {T_row_1, "row_1", STAT_NUMBER_SET, row_set(1), OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Numbers per rows", TRIM_BOTH, CHECK_BOTH, 68, 69},
    {T_row_2, "row_2", STAT_NUMBER_SET, row_set(2), OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Numbers per rows", TRIM_BOTH, CHECK_BOTH, 70, 71},
    {T_row_3, "row_3", STAT_NUMBER_SET, row_set(3), OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Numbers per rows", TRIM_BOTH, CHECK_BOTH, 72, 73},
    {T_row_4, "row_4", STAT_NUMBER_SET, row_set(4), OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Numbers per rows", TRIM_BOTH, CHECK_BOTH, 74, 75},
    {T_row_5, "row_5", STAT_NUMBER_SET, row_set(5), OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Numbers per rows", TRIM_BOTH, CHECK_BOTH, 76, 77},
    {T_row_6, "row_6", STAT_NUMBER_SET, row_set(6), OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Numbers per rows", TRIM_BOTH, CHECK_BOTH, 78, 79},
    {T_row_7, "row_7", STAT_NUMBER_SET, row_set(7), OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Numbers per rows", TRIM_BOTH, CHECK_BOTH, 80, 81},
    {T_row_8, "row_8", STAT_NUMBER_SET, row_set(8), OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Numbers per rows", TRIM_BOTH, CHECK_BOTH, 82, 83},
    {T_row_9, "row_9", STAT_NUMBER_SET, row_set(9), OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Numbers per rows", TRIM_BOTH, CHECK_BOTH, 84, 85},
    {T_right_diagonal_1, "right_diagonal_1", STAT_NUMBER_SET, SET_RIGHT_DIAGONAL[1], OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diagonals: Right→Left", TRIM_BOTH, CHECK_BOTH, 98, 99},
    {T_right_diagonal_2, "right_diagonal_2", STAT_NUMBER_SET, SET_RIGHT_DIAGONAL[2], OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diagonals: Right→Left", TRIM_BOTH, CHECK_BOTH, 100, 101},
    {T_right_diagonal_3, "right_diagonal_3", STAT_NUMBER_SET, SET_RIGHT_DIAGONAL[3], OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diagonals: Right→Left", TRIM_BOTH, CHECK_BOTH, 102, 103},
    {T_right_diagonal_4, "right_diagonal_4", STAT_NUMBER_SET, SET_RIGHT_DIAGONAL[4], OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diagonals: Right→Left", TRIM_BOTH, CHECK_BOTH, 104, 105},
    {T_right_diagonal_5, "right_diagonal_5", STAT_NUMBER_SET, SET_RIGHT_DIAGONAL[5], OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diagonals: Right→Left", TRIM_BOTH, CHECK_BOTH, 106, 107},
    {T_right_diagonal_6, "right_diagonal_6", STAT_NUMBER_SET, SET_RIGHT_DIAGONAL[6], OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diagonals: Right→Left", TRIM_BOTH, CHECK_BOTH, 108, 109},
    {T_right_diagonal_7, "right_diagonal_7", STAT_NUMBER_SET, SET_RIGHT_DIAGONAL[7], OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diagonals: Right→Left", TRIM_BOTH, CHECK_BOTH, 110, 111},
    {T_right_diagonal_8, "right_diagonal_8", STAT_NUMBER_SET, SET_RIGHT_DIAGONAL[8], OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diagonals: Right→Left", TRIM_BOTH, CHECK_BOTH, 112, 113},
    {T_right_diagonal_9, "right_diagonal_9", STAT_NUMBER_SET, SET_RIGHT_DIAGONAL[9], OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diagonals: Right→Left", TRIM_BOTH, CHECK_BOTH, 114, 115},
    {T_right_diagonal_10, "right_diagonal_10", STAT_NUMBER_SET, SET_RIGHT_DIAGONAL[10], OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diagonals: Right→Left", TRIM_BOTH, CHECK_BOTH, 116, 117},
    {T_right_diagonal_11, "right_diagonal_11", STAT_NUMBER_SET, SET_RIGHT_DIAGONAL[11], OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diagonals: Right→Left", TRIM_BOTH, CHECK_BOTH, 118, 119},
    {T_right_diagonal_12, "right_diagonal_12", STAT_NUMBER_SET, SET_RIGHT_DIAGONAL[12], OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diagonals: Right→Left", TRIM_BOTH, CHECK_BOTH, 120, 121},
    {T_left_diagonal_1, "left_diagonal_1", STAT_NONE, 0, OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diagonals: Left→Right", TRIM_NONE, CHECK_NONE, 122, 123},
    {T_left_diagonal_2, "left_diagonal_2", STAT_NONE, 0, OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diagonals: Left→Right", TRIM_NONE, CHECK_NONE, 124, 125},
    {T_left_diagonal_3, "left_diagonal_3", STAT_NONE, 0, OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diagonals: Left→Right", TRIM_NONE, CHECK_NONE, 126, 127},
    {T_left_diagonal_4, "left_diagonal_4", STAT_NONE, 0, OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diagonals: Left→Right", TRIM_NONE, CHECK_NONE, 128, 129},
    {T_left_diagonal_5, "left_diagonal_5", STAT_NONE, 0, OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diagonals: Left→Right", TRIM_NONE, CHECK_NONE, 130, 131},
    {T_left_diagonal_6, "left_diagonal_6", STAT_NONE, 0, OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diagonals: Left→Right", TRIM_NONE, CHECK_NONE, 132, 133},
    {T_left_diagonal_7, "left_diagonal_7", STAT_NONE, 0, OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diagonals: Left→Right", TRIM_NONE, CHECK_NONE, 134, 135},
    {T_left_diagonal_8, "left_diagonal_8", STAT_NONE, 0, OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diagonals: Left→Right", TRIM_NONE, CHECK_NONE, 136, 137},
    {T_left_diagonal_9, "left_diagonal_9", STAT_NONE, 0, OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diagonals: Left→Right", TRIM_NONE, CHECK_NONE, 138, 139},
    {T_left_diagonal_10, "left_diagonal_10", STAT_NONE, 0, OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diagonals: Left→Right", TRIM_NONE, CHECK_NONE, 140, 141},
    {T_left_diagonal_11, "left_diagonal_11", STAT_NONE, 0, OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diagonals: Left→Right", TRIM_NONE, CHECK_NONE, 142, 143},
    {T_left_diagonal_12, "left_diagonal_12", STAT_NONE, 0, OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Diagonals: Left→Right", TRIM_NONE, CHECK_NONE, 144, 145},
    {T_low, "low", STAT_NUMBER_SET, SET_LOW, OUTSIDE_NEGATIVE, 0, CELLS_NUMBER_COUNT, "Low/High", TRIM_BOTH, CHECK_BOTH, 146, 147},
    {T_high, "high", STAT_NUMBER_SET, SET_HIGH, OUTSIDE_ABOVE, 0, CELLS_NUMBER_COUNT, "Low/High", TRIM_BOTH, CHECK_BOTH, 148, 149},
    {T_half_low, "half_low", STAT_NUMBER_SET, SET_HALF_LOW, OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Half Low/High", TRIM_BOTH, CHECK_BOTH, 150, 151},
    {T_half_high, "half_high", STAT_NUMBER_SET, SET_HALF_HIGH, OUTSIDE_NONE, 0, CELLS_NUMBER_COUNT, "Half Low/High", TRIM_BOTH, CHECK_BOTH, 152, 153},
    {T_sum_stars, "sum_stars", STAT_SUM_STARS, 0, OUTSIDE_NONE, 0, CELLS_SUM_STARS, "Sum Stars", TRIM_BOTH, CHECK_BOTH, 154, 155},
    {T_star_row_1, "star_row_1", STAT_STAR_SET, star_row_set(1), OUTSIDE_NONE, 0, CELLS_STAR_COUNT, "Stars per rows", TRIM_BOTH, CHECK_BOTH, 156, 157},
    {T_star_row_2, "star_row_2", STAT_STAR_SET, star_row_set(2), OUTSIDE_NONE, 0, CELLS_STAR_COUNT, "Stars per rows", TRIM_BOTH, CHECK_BOTH, 158, 159},
    {T_star_row_3, "star_row_3", STAT_STAR_SET, star_row_set(3), OUTSIDE_NONE, 0, CELLS_STAR_COUNT, "Stars per rows", TRIM_BOTH, CHECK_BOTH, 160, 161},
    {T_star_row_4, "star_row_4", STAT_STAR_SET, star_row_set(4), OUTSIDE_NONE, 0, CELLS_STAR_COUNT, "Stars per rows", TRIM_BOTH, CHECK_BOTH, 162, 163},
    {T_star_column_1, "star_column_1", STAT_STAR_SET, star_column_set(1), OUTSIDE_NONE, 0, CELLS_STAR_COUNT, "Stars per columns", TRIM_BOTH, CHECK_BOTH, 164, 165},
    {T_star_column_2, "star_column_2", STAT_STAR_SET, star_column_set(2), OUTSIDE_NONE, 0, CELLS_STAR_COUNT, "Stars per columns", TRIM_BOTH, CHECK_BOTH, 166, 167},
    {T_star_column_3, "star_column_3", STAT_STAR_SET, star_column_set(3), OUTSIDE_NONE, 0, CELLS_STAR_COUNT, "Stars per columns", TRIM_BOTH, CHECK_BOTH, 168, 169},
};
static_assert(std::size(g_technique_catalogue) == TECHNIQUE_COUNT);

// Slot k of the technique settings file and of the Techniques-tab fields is
// entry k - 1: global, field gadget, field range, the window it bounds.
constexpr TechniqueSlot g_technique_slots[] = {
    {&g_techniques[T_sum_numbers].max, 376, RANGE_SUM_NUMBERS, T_sum_numbers},  // 1
    {&g_techniques[T_sum_numbers].min, 378, RANGE_SUM_NUMBERS, T_sum_numbers},  // 2
    {&g_techniques[T_decades].max, 381, RANGE_1_TO_5, T_decades},  // 3
    {&g_techniques[T_decades].min, 383, RANGE_1_TO_5, T_decades},  // 4
    {&g_techniques[T_primes].max, 436, RANGE_0_TO_5, T_primes},  // 5
    {&g_max_common_numbers, 438, RANGE_0_TO_5, TECHNIQUE_COUNT},  // 6
    {&g_techniques[T_tallest_first].max, 434, RANGE_TALLEST, T_tallest_first},  // 7
    {&g_techniques[T_max_distance].max, 432, RANGE_MAX_DISTANCE, T_max_distance},  // 8
    {&g_max_number_sequence, 430, RANGE_1_TO_5, TECHNIQUE_COUNT},  // 9
    {&g_techniques[T_even].max, 386, RANGE_0_TO_5, T_even},  // 10
    {&g_techniques[T_even].min, 388, RANGE_0_TO_5, T_even},  // 11
    {&g_techniques[T_odd].max, 390, RANGE_0_TO_5, T_odd},  // 12
    {&g_techniques[T_odd].min, 392, RANGE_0_TO_5, T_odd},  // 13
    {&g_techniques[T_diag1_low].max, 395, RANGE_0_TO_5, T_diag1_low},  // 14
    {&g_techniques[T_diag1_low].min, 397, RANGE_0_TO_5, T_diag1_low},  // 15
    {&g_techniques[T_diag1_high].max, 399, RANGE_0_TO_5, T_diag1_high},  // 16
    {&g_techniques[T_diag1_high].min, 401, RANGE_0_TO_5, T_diag1_high},  // 17
    {&g_techniques[T_diag2_low].max, 404, RANGE_0_TO_5, T_diag2_low},  // 18
    {&g_techniques[T_diag2_low].min, 406, RANGE_0_TO_5, T_diag2_low},  // 19
    {&g_techniques[T_diag2_high].max, 408, RANGE_0_TO_5, T_diag2_high},  // 20
    {&g_techniques[T_diag2_high].min, 410, RANGE_0_TO_5, T_diag2_high},  // 21
    {&g_techniques[T_ring_1].max, 551, RANGE_0_TO_5, T_ring_1},  // 22
    {&g_techniques[T_ring_1].min, 558, RANGE_0_TO_5, T_ring_1},  // 23
    {&g_techniques[T_ring_2].max, 553, RANGE_0_TO_5, T_ring_2},  // 24
    {&g_techniques[T_ring_2].min, 560, RANGE_0_TO_5, T_ring_2},  // 25
    {&g_techniques[T_ring_3].max, 555, RANGE_0_TO_5, T_ring_3},  // 26
    {&g_techniques[T_ring_3].min, 562, RANGE_0_TO_5, T_ring_3},  // 27
    {&g_techniques[T_decade_0x].max, 571, RANGE_0_TO_5, T_decade_0x},  // 28
    {&g_techniques[T_decade_0x].min, 584, RANGE_0_TO_5, T_decade_0x},  // 29
    {&g_techniques[T_decade_1x].max, 572, RANGE_0_TO_5, T_decade_1x},  // 30
    {&g_techniques[T_decade_1x].min, 585, RANGE_0_TO_5, T_decade_1x},  // 31
    {&g_techniques[T_decade_2x].max, 573, RANGE_0_TO_5, T_decade_2x},  // 32
    {&g_techniques[T_decade_2x].min, 586, RANGE_0_TO_5, T_decade_2x},  // 33
    {&g_techniques[T_decade_3x].max, 574, RANGE_0_TO_5, T_decade_3x},  // 34
    {&g_techniques[T_decade_3x].min, 587, RANGE_0_TO_5, T_decade_3x},  // 35
    {&g_techniques[T_decade_4x].max, 575, RANGE_0_TO_5, T_decade_4x},  // 36
    {&g_techniques[T_decade_4x].min, 588, RANGE_0_TO_5, T_decade_4x},  // 37
    {&g_techniques[T_decade_5x].max, 576, RANGE_0_TO_5, T_decade_5x},  // 38
    {&g_techniques[T_decade_5x].min, 589, RANGE_0_TO_5, T_decade_5x},  // 39
    {&g_techniques[T_ending_1].max, 508, RANGE_0_TO_5, T_ending_1},  // 40
    {&g_techniques[T_ending_1].min, 529, RANGE_0_TO_5, T_ending_1},  // 41
    {&g_techniques[T_ending_2].max, 510, RANGE_0_TO_5, T_ending_2},  // 42
    {&g_techniques[T_ending_2].min, 531, RANGE_0_TO_5, T_ending_2},  // 43
    {&g_techniques[T_ending_3].max, 512, RANGE_0_TO_5, T_ending_3},  // 44
    {&g_techniques[T_ending_3].min, 533, RANGE_0_TO_5, T_ending_3},  // 45
    {&g_techniques[T_ending_4].max, 514, RANGE_0_TO_5, T_ending_4},  // 46
    {&g_techniques[T_ending_4].min, 535, RANGE_0_TO_5, T_ending_4},  // 47
    {&g_techniques[T_ending_5].max, 516, RANGE_0_TO_5, T_ending_5},  // 48
    {&g_techniques[T_ending_5].min, 537, RANGE_0_TO_5, T_ending_5},  // 49
    {&g_techniques[T_ending_6].max, 518, RANGE_0_TO_5, T_ending_6},  // 50
    {&g_techniques[T_ending_6].min, 539, RANGE_0_TO_5, T_ending_6},  // 51
    {&g_techniques[T_ending_7].max, 520, RANGE_0_TO_5, T_ending_7},  // 52
    {&g_techniques[T_ending_7].min, 541, RANGE_0_TO_5, T_ending_7},  // 53
    {&g_techniques[T_ending_8].max, 522, RANGE_0_TO_5, T_ending_8},  // 54
    {&g_techniques[T_ending_8].min, 543, RANGE_0_TO_5, T_ending_8},  // 55
    {&g_techniques[T_ending_9].max, 524, RANGE_0_TO_5, T_ending_9},  // 56
    {&g_techniques[T_ending_9].min, 545, RANGE_0_TO_5, T_ending_9},  // 57
    {&g_techniques[T_ending_0].max, 526, RANGE_0_TO_5, T_ending_0},  // 58
    {&g_techniques[T_ending_0].min, 547, RANGE_0_TO_5, T_ending_0},  // 59
    {&g_techniques[T_distance_1_2].max, 596, RANGE_DISTANCE, T_distance_1_2},  // 60
    {&g_techniques[T_distance_1_2].min, 605, RANGE_DISTANCE, T_distance_1_2},  // 61
    {&g_techniques[T_distance_2_3].max, 597, RANGE_DISTANCE, T_distance_2_3},  // 62
    {&g_techniques[T_distance_2_3].min, 606, RANGE_DISTANCE, T_distance_2_3},  // 63
    {&g_techniques[T_distance_3_4].max, 598, RANGE_DISTANCE, T_distance_3_4},  // 64
    {&g_techniques[T_distance_3_4].min, 607, RANGE_DISTANCE, T_distance_3_4},  // 65
    {&g_techniques[T_distance_4_5].max, 599, RANGE_DISTANCE, T_distance_4_5},  // 66
    {&g_techniques[T_distance_4_5].min, 608, RANGE_DISTANCE, T_distance_4_5},  // 67
    {&g_techniques[T_row_1].max, 442, RANGE_0_TO_5, T_row_1},  // 68
    {&g_techniques[T_row_1].min, 461, RANGE_0_TO_5, T_row_1},  // 69
    {&g_techniques[T_row_2].max, 444, RANGE_0_TO_5, T_row_2},  // 70
    {&g_techniques[T_row_2].min, 463, RANGE_0_TO_5, T_row_2},  // 71
    {&g_techniques[T_row_3].max, 446, RANGE_0_TO_5, T_row_3},  // 72
    {&g_techniques[T_row_3].min, 465, RANGE_0_TO_5, T_row_3},  // 73
    {&g_techniques[T_row_4].max, 448, RANGE_0_TO_5, T_row_4},  // 74
    {&g_techniques[T_row_4].min, 467, RANGE_0_TO_5, T_row_4},  // 75
    {&g_techniques[T_row_5].max, 450, RANGE_0_TO_5, T_row_5},  // 76
    {&g_techniques[T_row_5].min, 469, RANGE_0_TO_5, T_row_5},  // 77
    {&g_techniques[T_row_6].max, 452, RANGE_0_TO_5, T_row_6},  // 78
    {&g_techniques[T_row_6].min, 471, RANGE_0_TO_5, T_row_6},  // 79
    {&g_techniques[T_row_7].max, 454, RANGE_0_TO_5, T_row_7},  // 80
    {&g_techniques[T_row_7].min, 473, RANGE_0_TO_5, T_row_7},  // 81
    {&g_techniques[T_row_8].max, 456, RANGE_0_TO_5, T_row_8},  // 82
    {&g_techniques[T_row_8].min, 475, RANGE_0_TO_5, T_row_8},  // 83
    {&g_techniques[T_row_9].max, 458, RANGE_0_TO_5, T_row_9},  // 84
    {&g_techniques[T_row_9].min, 477, RANGE_0_TO_5, T_row_9},  // 85
    {&g_techniques[T_column_1].max, 481, RANGE_0_TO_5, T_column_1},  // 86
    {&g_techniques[T_column_1].min, 494, RANGE_0_TO_5, T_column_1},  // 87
    {&g_techniques[T_column_2].max, 483, RANGE_0_TO_5, T_column_2},  // 88
    {&g_techniques[T_column_2].min, 496, RANGE_0_TO_5, T_column_2},  // 89
    {&g_techniques[T_column_3].max, 485, RANGE_0_TO_5, T_column_3},  // 90
    {&g_techniques[T_column_3].min, 498, RANGE_0_TO_5, T_column_3},  // 91
    {&g_techniques[T_column_4].max, 487, RANGE_0_TO_5, T_column_4},  // 92
    {&g_techniques[T_column_4].min, 500, RANGE_0_TO_5, T_column_4},  // 93
    {&g_techniques[T_column_5].max, 489, RANGE_0_TO_5, T_column_5},  // 94
    {&g_techniques[T_column_5].min, 502, RANGE_0_TO_5, T_column_5},  // 95
    {&g_techniques[T_column_6].max, 491, RANGE_0_TO_5, T_column_6},  // 96
    {&g_techniques[T_column_6].min, 504, RANGE_0_TO_5, T_column_6},  // 97
    {&g_techniques[T_right_diagonal_1].max, 674, RANGE_0_TO_5, T_right_diagonal_1},  // 98
    {&g_techniques[T_right_diagonal_1].min, 699, RANGE_0_TO_5, T_right_diagonal_1},  // 99
    {&g_techniques[T_right_diagonal_2].max, 676, RANGE_0_TO_5, T_right_diagonal_2},  // 100
    {&g_techniques[T_right_diagonal_2].min, 701, RANGE_0_TO_5, T_right_diagonal_2},  // 101
    {&g_techniques[T_right_diagonal_3].max, 678, RANGE_0_TO_5, T_right_diagonal_3},  // 102
    {&g_techniques[T_right_diagonal_3].min, 703, RANGE_0_TO_5, T_right_diagonal_3},  // 103
    {&g_techniques[T_right_diagonal_4].max, 680, RANGE_0_TO_5, T_right_diagonal_4},  // 104
    {&g_techniques[T_right_diagonal_4].min, 705, RANGE_0_TO_5, T_right_diagonal_4},  // 105
    {&g_techniques[T_right_diagonal_5].max, 682, RANGE_0_TO_5, T_right_diagonal_5},  // 106
    {&g_techniques[T_right_diagonal_5].min, 707, RANGE_0_TO_5, T_right_diagonal_5},  // 107
    {&g_techniques[T_right_diagonal_6].max, 684, RANGE_0_TO_5, T_right_diagonal_6},  // 108
    {&g_techniques[T_right_diagonal_6].min, 709, RANGE_0_TO_5, T_right_diagonal_6},  // 109
    {&g_techniques[T_right_diagonal_7].max, 686, RANGE_0_TO_5, T_right_diagonal_7},  // 110
    {&g_techniques[T_right_diagonal_7].min, 711, RANGE_0_TO_5, T_right_diagonal_7},  // 111
    {&g_techniques[T_right_diagonal_8].max, 688, RANGE_0_TO_5, T_right_diagonal_8},  // 112
    {&g_techniques[T_right_diagonal_8].min, 713, RANGE_0_TO_5, T_right_diagonal_8},  // 113
    {&g_techniques[T_right_diagonal_9].max, 690, RANGE_0_TO_5, T_right_diagonal_9},  // 114
    {&g_techniques[T_right_diagonal_9].min, 715, RANGE_0_TO_5, T_right_diagonal_9},  // 115
    {&g_techniques[T_right_diagonal_10].max, 692, RANGE_0_TO_5, T_right_diagonal_10},  // 116
    {&g_techniques[T_right_diagonal_10].min, 717, RANGE_0_TO_5, T_right_diagonal_10},  // 117
    {&g_techniques[T_right_diagonal_11].max, 694, RANGE_0_TO_5, T_right_diagonal_11},  // 118
    {&g_techniques[T_right_diagonal_11].min, 719, RANGE_0_TO_5, T_right_diagonal_11},  // 119
    {&g_techniques[T_right_diagonal_12].max, 696, RANGE_0_TO_5, T_right_diagonal_12},  // 120
    {&g_techniques[T_right_diagonal_12].min, 721, RANGE_0_TO_5, T_right_diagonal_12},  // 121
    {&g_techniques[T_left_diagonal_1].max, 725, RANGE_0_TO_5, T_left_diagonal_1},  // 122
    {&g_techniques[T_left_diagonal_1].min, 750, RANGE_0_TO_5, T_left_diagonal_1},  // 123
    {&g_techniques[T_left_diagonal_2].max, 727, RANGE_0_TO_5, T_left_diagonal_2},  // 124
    {&g_techniques[T_left_diagonal_2].min, 752, RANGE_0_TO_5, T_left_diagonal_2},  // 125
    {&g_techniques[T_left_diagonal_3].max, 729, RANGE_0_TO_5, T_left_diagonal_3},  // 126
    {&g_techniques[T_left_diagonal_3].min, 754, RANGE_0_TO_5, T_left_diagonal_3},  // 127
    {&g_techniques[T_left_diagonal_4].max, 731, RANGE_0_TO_5, T_left_diagonal_4},  // 128
    {&g_techniques[T_left_diagonal_4].min, 756, RANGE_0_TO_5, T_left_diagonal_4},  // 129
    {&g_techniques[T_left_diagonal_5].max, 733, RANGE_0_TO_5, T_left_diagonal_5},  // 130
    {&g_techniques[T_left_diagonal_5].min, 758, RANGE_0_TO_5, T_left_diagonal_5},  // 131
    {&g_techniques[T_left_diagonal_6].max, 735, RANGE_0_TO_5, T_left_diagonal_6},  // 132
    {&g_techniques[T_left_diagonal_6].min, 760, RANGE_0_TO_5, T_left_diagonal_6},  // 133
    {&g_techniques[T_left_diagonal_7].max, 737, RANGE_0_TO_5, T_left_diagonal_7},  // 134
    {&g_techniques[T_left_diagonal_7].min, 762, RANGE_0_TO_5, T_left_diagonal_7},  // 135
    {&g_techniques[T_left_diagonal_8].max, 739, RANGE_0_TO_5, T_left_diagonal_8},  // 136
    {&g_techniques[T_left_diagonal_8].min, 764, RANGE_0_TO_5, T_left_diagonal_8},  // 137
    {&g_techniques[T_left_diagonal_9].max, 741, RANGE_0_TO_5, T_left_diagonal_9},  // 138
    {&g_techniques[T_left_diagonal_9].min, 766, RANGE_0_TO_5, T_left_diagonal_9},  // 139
    {&g_techniques[T_left_diagonal_10].max, 743, RANGE_0_TO_5, T_left_diagonal_10},  // 140
    {&g_techniques[T_left_diagonal_10].min, 768, RANGE_0_TO_5, T_left_diagonal_10},  // 141
    {&g_techniques[T_left_diagonal_11].max, 745, RANGE_0_TO_5, T_left_diagonal_11},  // 142
    {&g_techniques[T_left_diagonal_11].min, 770, RANGE_0_TO_5, T_left_diagonal_11},  // 143
    {&g_techniques[T_left_diagonal_12].max, 747, RANGE_0_TO_5, T_left_diagonal_12},  // 144
    {&g_techniques[T_left_diagonal_12].min, 772, RANGE_0_TO_5, T_left_diagonal_12},  // 145
    {&g_techniques[T_low].max, 422, RANGE_0_TO_5, T_low},  // 146
    {&g_techniques[T_low].min, 424, RANGE_0_TO_5, T_low},  // 147
    {&g_techniques[T_high].max, 426, RANGE_0_TO_5, T_high},  // 148
    {&g_techniques[T_high].min, 428, RANGE_0_TO_5, T_high},  // 149
    {&g_techniques[T_half_low].max, 413, RANGE_0_TO_5, T_half_low},  // 150
    {&g_techniques[T_half_low].min, 415, RANGE_0_TO_5, T_half_low},  // 151
    {&g_techniques[T_half_high].max, 417, RANGE_0_TO_5, T_half_high},  // 152
    {&g_techniques[T_half_high].min, 419, RANGE_0_TO_5, T_half_high},  // 153
    {&g_techniques[T_sum_stars].max, 775, RANGE_SUM_STARS, T_sum_stars},  // 154
    {&g_techniques[T_sum_stars].min, 777, RANGE_SUM_STARS, T_sum_stars},  // 155
    {&g_techniques[T_star_row_1].max, 783, RANGE_0_TO_2, T_star_row_1},  // 156
    {&g_techniques[T_star_row_1].min, 792, RANGE_0_TO_2, T_star_row_1},  // 157
    {&g_techniques[T_star_row_2].max, 785, RANGE_0_TO_2, T_star_row_2},  // 158
    {&g_techniques[T_star_row_2].min, 794, RANGE_0_TO_2, T_star_row_2},  // 159
    {&g_techniques[T_star_row_3].max, 787, RANGE_0_TO_2, T_star_row_3},  // 160
    {&g_techniques[T_star_row_3].min, 796, RANGE_0_TO_2, T_star_row_3},  // 161
    {&g_techniques[T_star_row_4].max, 789, RANGE_0_TO_2, T_star_row_4},  // 162
    {&g_techniques[T_star_row_4].min, 798, RANGE_0_TO_2, T_star_row_4},  // 163
    {&g_techniques[T_star_column_1].max, 802, RANGE_0_TO_2, T_star_column_1},  // 164
    {&g_techniques[T_star_column_1].min, 809, RANGE_0_TO_2, T_star_column_1},  // 165
    {&g_techniques[T_star_column_2].max, 804, RANGE_0_TO_2, T_star_column_2},  // 166
    {&g_techniques[T_star_column_2].min, 811, RANGE_0_TO_2, T_star_column_2},  // 167
    {&g_techniques[T_star_column_3].max, 806, RANGE_0_TO_2, T_star_column_3},  // 168
    {&g_techniques[T_star_column_3].min, 813, RANGE_0_TO_2, T_star_column_3},  // 169
};
static_assert(std::size(g_technique_slots) == TECHNIQUE_SLOT_COUNT);

namespace {

constexpr bool rows_in_catalogue_order() {
  for (int t = 0; t < TECHNIQUE_COUNT; ++t)
    if (g_technique_catalogue[t].id != t) return false;
  return true;
}
static_assert(rows_in_catalogue_order());

// Every window bound sits in exactly the slot its row names, and every slot
// belongs to a row (or is one of the two limits).
constexpr bool slots_match_rows() {
  int named = 0;
  for (const TechniqueRow& row : g_technique_catalogue) {
    if (row.max_slot < 1 || row.max_slot > TECHNIQUE_SLOT_COUNT) return false;
    if (g_technique_slots[row.max_slot - 1].value != &g_techniques[row.id].max) return false;
    ++named;
    if (row.min_slot != 0) {
      if (row.min_slot < 1 || row.min_slot > TECHNIQUE_SLOT_COUNT) return false;
      if (g_technique_slots[row.min_slot - 1].value != &g_techniques[row.id].min) return false;
      ++named;
    }
    bool has_min = row.id != T_primes && row.id != T_tallest_first && row.id != T_max_distance;
    if (has_min != (row.min_slot != 0)) return false;
  }
  return named == TECHNIQUE_SLOT_COUNT - 2 &&
         g_technique_slots[5].value == &g_max_common_numbers &&
         g_technique_slots[8].value == &g_max_number_sequence;
}
static_assert(slots_match_rows());

}  // namespace

int64_t technique_cell_count(CellCount cells) {
  // The play-state tables are built for 50 numbers and 12 stars; a larger or
  // negative size from elsewhere never sizes a table beyond that.
  int64_t n = std::clamp<int64_t>(g_highest_number, 0, 50);
  int64_t m = std::clamp<int64_t>(g_highest_star, 0, 12);
  int64_t cells_count = 0;
  switch (cells) {
    case CELLS_NUMBER_COUNT: cells_count = 6; break;
    case CELLS_STAR_COUNT: cells_count = 3; break;
    case CELLS_NUMBER_VALUE: cells_count = n + 1; break;
    case CELLS_SUM_NUMBERS: cells_count = 5 * n - 9; break;
    case CELLS_SUM_STARS: cells_count = 2 * m; break;
  }
  return std::max<int64_t>(cells_count, 0);
}

bool technique_set_holds(const TechniqueRow& row, int64_t v) {
  if (v >= 0 && v <= 63) return (row.set >> v) & 1;
  switch (row.outside) {
    case OUTSIDE_NONE: return false;
    case OUTSIDE_EVEN: return (static_cast<uint64_t>(v) & 1) == 0;
    case OUTSIDE_ODD: return (static_cast<uint64_t>(v) & 1) == 1;
    case OUTSIDE_NEGATIVE: return v < 0;
    case OUTSIDE_ABOVE: return v > 63;
  }
  return false;
}

void technique_field_range(FieldRange range, int64_t* min, int64_t* max) {
  // N and M may come unchecked from the main settings file: the bounds are
  // worked out in unsigned arithmetic, which wraps instead of overflowing.
  int64_t n = g_highest_number;
  int64_t m = g_highest_star;
  auto times = [](int64_t a, int64_t k) { return static_cast<int64_t>(static_cast<uint64_t>(a) * static_cast<uint64_t>(k)); };
  auto minus = [](int64_t a, int64_t k) { return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(k)); };
  switch (range) {
    case RANGE_SUM_NUMBERS: *min = 15; *max = minus(times(n, 5), 10); return;
    case RANGE_1_TO_5: *min = 1; *max = 5; return;
    case RANGE_0_TO_5: *min = 0; *max = 5; return;
    case RANGE_TALLEST: *min = 1; *max = minus(n, 4); return;
    case RANGE_MAX_DISTANCE: *min = 1; *max = minus(n, 7); return;
    case RANGE_DISTANCE: *min = 1; *max = minus(n, 3); return;
    case RANGE_SUM_STARS: *min = 3; *max = minus(times(m, 2), 1); return;
    case RANGE_0_TO_2: *min = 0; *max = 2; return;
  }
  *min = 0;
  *max = 0;
}

int technique_slot_of_field(int64_t gadget) {
  // The fields lie in one band of gadget numbers: a table over that band
  // answers at once (the tab checks all 169 fields in a row).
  struct FieldTable {
    int64_t lowest = 0;
    std::vector<int> slot_at;  // -1: no slot's field
  };
  static const FieldTable table = [] {
    FieldTable t;
    auto [low, high] = std::minmax_element(std::begin(g_technique_slots), std::end(g_technique_slots),
                                           [](const TechniqueSlot& a, const TechniqueSlot& b) { return a.field < b.field; });
    t.lowest = low->field;
    t.slot_at.assign(static_cast<size_t>(high->field - low->field + 1), -1);
    // The first slot of a field answers, as a search from the start would.
    for (int i = TECHNIQUE_SLOT_COUNT - 1; i >= 0; --i)
      t.slot_at[static_cast<size_t>(g_technique_slots[i].field - t.lowest)] = i;
    return t;
  }();
  if (gadget < table.lowest || gadget - table.lowest >= static_cast<int64_t>(table.slot_at.size())) return -1;
  return table.slot_at[static_cast<size_t>(gadget - table.lowest)];
}

// ORDER LEARNING: the passes of Learn, in the order they run. The field read
// sits between the first three passes and the rest.
constexpr EnginePass g_learning_order[] = {
    {"learn_sum_numbers", PASS_TECHNIQUE, T_sum_numbers},
    {"learn_decades", PASS_TECHNIQUE, T_decades},
    {"learn_primes", PASS_TECHNIQUE, T_primes},
    {"read field 438", PASS_COMMON_NUMBERS_FIELD, TECHNIQUE_COUNT},
    {"learn_tallest_first", PASS_TECHNIQUE, T_tallest_first},
    {"learn_max_distance", PASS_TECHNIQUE, T_max_distance},
    {"learn_max_sequence", PASS_MAX_SEQUENCE, TECHNIQUE_COUNT},
    {"learn_even", PASS_TECHNIQUE, T_even},
    {"learn_odd", PASS_TECHNIQUE, T_odd},
    {"learn_low", PASS_TECHNIQUE, T_low},
    {"learn_high", PASS_TECHNIQUE, T_high},
    {"learn_half_low", PASS_TECHNIQUE, T_half_low},
    {"learn_half_high", PASS_TECHNIQUE, T_half_high},
    {"learn_diag1_low", PASS_TECHNIQUE, T_diag1_low},
    {"learn_diag1_high", PASS_TECHNIQUE, T_diag1_high},
    {"learn_diag2_low", PASS_TECHNIQUE, T_diag2_low},
    {"learn_diag2_high", PASS_TECHNIQUE, T_diag2_high},
    {"learn_ring_1", PASS_TECHNIQUE, T_ring_1},
    {"learn_ring_2", PASS_TECHNIQUE, T_ring_2},
    {"learn_ring_3", PASS_TECHNIQUE, T_ring_3},
    {"learn_decade_0x", PASS_TECHNIQUE, T_decade_0x},
    {"learn_decade_1x", PASS_TECHNIQUE, T_decade_1x},
    {"learn_decade_2x", PASS_TECHNIQUE, T_decade_2x},
    {"learn_decade_3x", PASS_TECHNIQUE, T_decade_3x},
    {"learn_decade_4x", PASS_TECHNIQUE, T_decade_4x},
    {"learn_decade_5x", PASS_TECHNIQUE, T_decade_5x},
    {"learn_ending_1", PASS_TECHNIQUE, T_ending_1},
    {"learn_ending_2", PASS_TECHNIQUE, T_ending_2},
    {"learn_ending_3", PASS_TECHNIQUE, T_ending_3},
    {"learn_ending_4", PASS_TECHNIQUE, T_ending_4},
    {"learn_ending_5", PASS_TECHNIQUE, T_ending_5},
    {"learn_ending_6", PASS_TECHNIQUE, T_ending_6},
    {"learn_ending_7", PASS_TECHNIQUE, T_ending_7},
    {"learn_ending_8", PASS_TECHNIQUE, T_ending_8},
    {"learn_ending_9", PASS_TECHNIQUE, T_ending_9},
    {"learn_ending_0", PASS_TECHNIQUE, T_ending_0},
    {"learn_distance_1_2", PASS_TECHNIQUE, T_distance_1_2},
    {"learn_distance_2_3", PASS_TECHNIQUE, T_distance_2_3},
    {"learn_distance_3_4", PASS_TECHNIQUE, T_distance_3_4},
    {"learn_distance_4_5", PASS_TECHNIQUE, T_distance_4_5},
    {"learn_column_1", PASS_TECHNIQUE, T_column_1},
    {"learn_column_2", PASS_TECHNIQUE, T_column_2},
    {"learn_column_3", PASS_TECHNIQUE, T_column_3},
    {"learn_column_4", PASS_TECHNIQUE, T_column_4},
    {"learn_column_5", PASS_TECHNIQUE, T_column_5},
    {"learn_column_6", PASS_TECHNIQUE, T_column_6},
    {"learn_row_1", PASS_TECHNIQUE, T_row_1},
    {"learn_row_2", PASS_TECHNIQUE, T_row_2},
    {"learn_row_3", PASS_TECHNIQUE, T_row_3},
    {"learn_row_4", PASS_TECHNIQUE, T_row_4},
    {"learn_row_5", PASS_TECHNIQUE, T_row_5},
    {"learn_row_6", PASS_TECHNIQUE, T_row_6},
    {"learn_row_7", PASS_TECHNIQUE, T_row_7},
    {"learn_row_8", PASS_TECHNIQUE, T_row_8},
    {"learn_row_9", PASS_TECHNIQUE, T_row_9},
    {"learn_number_associations", PASS_NUMBER_ASSOCIATIONS, TECHNIQUE_COUNT},
    {"learn_right_diagonal_1", PASS_TECHNIQUE, T_right_diagonal_1},
    {"learn_right_diagonal_2", PASS_TECHNIQUE, T_right_diagonal_2},
    {"learn_right_diagonal_3", PASS_TECHNIQUE, T_right_diagonal_3},
    {"learn_right_diagonal_4", PASS_TECHNIQUE, T_right_diagonal_4},
    {"learn_right_diagonal_5", PASS_TECHNIQUE, T_right_diagonal_5},
    {"learn_right_diagonal_6", PASS_TECHNIQUE, T_right_diagonal_6},
    {"learn_right_diagonal_7", PASS_TECHNIQUE, T_right_diagonal_7},
    {"learn_right_diagonal_8", PASS_TECHNIQUE, T_right_diagonal_8},
    {"learn_right_diagonal_9", PASS_TECHNIQUE, T_right_diagonal_9},
    {"learn_right_diagonal_10", PASS_TECHNIQUE, T_right_diagonal_10},
    {"learn_right_diagonal_11", PASS_TECHNIQUE, T_right_diagonal_11},
    {"learn_right_diagonal_12", PASS_TECHNIQUE, T_right_diagonal_12},
    {"learn_sum_stars", PASS_TECHNIQUE, T_sum_stars},
    {"learn_star_row_1", PASS_TECHNIQUE, T_star_row_1},
    {"learn_star_row_2", PASS_TECHNIQUE, T_star_row_2},
    {"learn_star_row_3", PASS_TECHNIQUE, T_star_row_3},
    {"learn_star_row_4", PASS_TECHNIQUE, T_star_row_4},
    {"learn_star_column_1", PASS_TECHNIQUE, T_star_column_1},
    {"learn_star_column_2", PASS_TECHNIQUE, T_star_column_2},
    {"learn_star_column_3", PASS_TECHNIQUE, T_star_column_3},
};

namespace {

// Every live technique is learned exactly once, the left diagonals never.
constexpr bool learning_order_complete() {
  int seen[TECHNIQUE_COUNT] = {};
  for (const EnginePass& pass : g_learning_order)
    if (pass.kind == PASS_TECHNIQUE) ++seen[pass.technique];
  for (const TechniqueRow& row : g_technique_catalogue)
    if (seen[row.id] != (row.statistic == STAT_NONE ? 0 : 1)) return false;
  return true;
}
static_assert(std::size(g_learning_order) == 76);
static_assert(learning_order_complete());

}  // namespace

// ORDER REMOVAL: the passes of Remove, in the order they run. Decades has no
// pass (Remove sets its window to 3..4) and the left diagonals none at all.
constexpr EnginePass g_removal_order[] = {
    {"trim_window_tallest_first", PASS_TECHNIQUE, T_tallest_first},
    {"trim_window_sum_numbers", PASS_TECHNIQUE, T_sum_numbers},
    {"trim_max_distance_window", PASS_TECHNIQUE, T_max_distance},
    {"trim_window_primes", PASS_TECHNIQUE, T_primes},
    {"trim_window_even", PASS_TECHNIQUE, T_even},
    {"trim_window_odd", PASS_TECHNIQUE, T_odd},
    {"trim_window_low", PASS_TECHNIQUE, T_low},
    {"trim_window_high", PASS_TECHNIQUE, T_high},
    {"trim_window_half_low", PASS_TECHNIQUE, T_half_low},
    {"trim_window_half_high", PASS_TECHNIQUE, T_half_high},
    {"trim_window_diag1_low", PASS_TECHNIQUE, T_diag1_low},
    {"trim_window_diag1_high", PASS_TECHNIQUE, T_diag1_high},
    {"trim_window_diag2_low", PASS_TECHNIQUE, T_diag2_low},
    {"trim_window_diag2_high", PASS_TECHNIQUE, T_diag2_high},
    {"trim_window_ring_1", PASS_TECHNIQUE, T_ring_1},
    {"trim_window_ring_2", PASS_TECHNIQUE, T_ring_2},
    {"trim_window_ring_3", PASS_TECHNIQUE, T_ring_3},
    {"trim_window_decade_0x", PASS_TECHNIQUE, T_decade_0x},
    {"trim_window_decade_1x", PASS_TECHNIQUE, T_decade_1x},
    {"trim_window_decade_2x", PASS_TECHNIQUE, T_decade_2x},
    {"trim_window_decade_3x", PASS_TECHNIQUE, T_decade_3x},
    {"trim_window_decade_4x", PASS_TECHNIQUE, T_decade_4x},
    {"trim_window_decade_5x", PASS_TECHNIQUE, T_decade_5x},
    {"trim_window_ending_1", PASS_TECHNIQUE, T_ending_1},
    {"trim_window_ending_2", PASS_TECHNIQUE, T_ending_2},
    {"trim_window_ending_3", PASS_TECHNIQUE, T_ending_3},
    {"trim_window_ending_4", PASS_TECHNIQUE, T_ending_4},
    {"trim_window_ending_5", PASS_TECHNIQUE, T_ending_5},
    {"trim_window_ending_6", PASS_TECHNIQUE, T_ending_6},
    {"trim_window_ending_7", PASS_TECHNIQUE, T_ending_7},
    {"trim_window_ending_8", PASS_TECHNIQUE, T_ending_8},
    {"trim_window_ending_9", PASS_TECHNIQUE, T_ending_9},
    {"trim_window_ending_0", PASS_TECHNIQUE, T_ending_0},
    {"trim_window_distance_1_2", PASS_TECHNIQUE, T_distance_1_2},
    {"trim_window_distance_2_3", PASS_TECHNIQUE, T_distance_2_3},
    {"trim_window_distance_3_4", PASS_TECHNIQUE, T_distance_3_4},
    {"trim_window_distance_4_5", PASS_TECHNIQUE, T_distance_4_5},
    {"trim_window_column_1", PASS_TECHNIQUE, T_column_1},
    {"trim_window_column_2", PASS_TECHNIQUE, T_column_2},
    {"trim_window_column_3", PASS_TECHNIQUE, T_column_3},
    {"trim_window_column_4", PASS_TECHNIQUE, T_column_4},
    {"trim_window_column_5", PASS_TECHNIQUE, T_column_5},
    {"trim_window_column_6", PASS_TECHNIQUE, T_column_6},
    {"trim_window_row_1", PASS_TECHNIQUE, T_row_1},
    {"trim_window_row_2", PASS_TECHNIQUE, T_row_2},
    {"trim_window_row_3", PASS_TECHNIQUE, T_row_3},
    {"trim_window_row_4", PASS_TECHNIQUE, T_row_4},
    {"trim_window_row_5", PASS_TECHNIQUE, T_row_5},
    {"trim_window_row_6", PASS_TECHNIQUE, T_row_6},
    {"trim_window_row_7", PASS_TECHNIQUE, T_row_7},
    {"trim_window_row_8", PASS_TECHNIQUE, T_row_8},
    {"trim_window_row_9", PASS_TECHNIQUE, T_row_9},
    {"remove_weak_associations", PASS_NUMBER_ASSOCIATIONS, TECHNIQUE_COUNT},
    {"trim_window_right_diagonal_1", PASS_TECHNIQUE, T_right_diagonal_1},
    {"trim_window_right_diagonal_2", PASS_TECHNIQUE, T_right_diagonal_2},
    {"trim_window_right_diagonal_3", PASS_TECHNIQUE, T_right_diagonal_3},
    {"trim_window_right_diagonal_4", PASS_TECHNIQUE, T_right_diagonal_4},
    {"trim_window_right_diagonal_5", PASS_TECHNIQUE, T_right_diagonal_5},
    {"trim_window_right_diagonal_6", PASS_TECHNIQUE, T_right_diagonal_6},
    {"trim_window_right_diagonal_7", PASS_TECHNIQUE, T_right_diagonal_7},
    {"trim_window_right_diagonal_8", PASS_TECHNIQUE, T_right_diagonal_8},
    {"trim_window_right_diagonal_9", PASS_TECHNIQUE, T_right_diagonal_9},
    {"trim_window_right_diagonal_10", PASS_TECHNIQUE, T_right_diagonal_10},
    {"trim_window_right_diagonal_11", PASS_TECHNIQUE, T_right_diagonal_11},
    {"trim_window_right_diagonal_12", PASS_TECHNIQUE, T_right_diagonal_12},
    {"trim_window_sum_stars", PASS_TECHNIQUE, T_sum_stars},
    {"trim_window_star_row_1", PASS_TECHNIQUE, T_star_row_1},
    {"trim_window_star_row_2", PASS_TECHNIQUE, T_star_row_2},
    {"trim_window_star_row_3", PASS_TECHNIQUE, T_star_row_3},
    {"trim_window_star_row_4", PASS_TECHNIQUE, T_star_row_4},
    {"trim_window_star_column_1", PASS_TECHNIQUE, T_star_column_1},
    {"trim_window_star_column_2", PASS_TECHNIQUE, T_star_column_2},
    {"trim_window_star_column_3", PASS_TECHNIQUE, T_star_column_3},
};

namespace {

// Every technique that Remove trims is trimmed exactly once, in the table.
constexpr bool removal_order_complete() {
  int seen[TECHNIQUE_COUNT] = {};
  int associations = 0;
  for (const EnginePass& pass : g_removal_order) {
    if (pass.kind == PASS_TECHNIQUE) ++seen[pass.technique];
    if (pass.kind == PASS_NUMBER_ASSOCIATIONS) ++associations;
  }
  for (const TechniqueRow& row : g_technique_catalogue) {
    bool trimmed = row.trim == TRIM_BOTH || row.trim == TRIM_MAX_ONLY;
    if (seen[row.id] != (trimmed ? 1 : 0)) return false;
  }
  return associations == 1;
}
static_assert(std::size(g_removal_order) == 73);
static_assert(removal_order_complete());

}  // namespace
