// The technique catalogue and the settings slots, as data that every pass of
// the engine and the Techniques tab walks: one row per technique (what it
// measures, how many cells its table has, how Remove trims it, how the
// candidate filter tests it, which settings slots hold its window) and one
// list of the 169 settings slots (the global each slot holds, the field that
// shows it, the range that field accepts). The technique settings file, the
// transfer between fields and globals and the field check all follow the slot
// list, so a value is read, written, shown and checked in one order.
#pragma once

#include <cstdint>

#include "techniques/technique_ids.h"

// ---- what a technique measures ----------------------------------------------
enum StatisticKind : int {
  STAT_NONE,             // left diagonals: never learned, trimmed or checked
  STAT_SUM_NUMBERS,      // n1 + .. + n5
  STAT_DECADES,          // different decades 1-9 .. 50-59 touched (0 and >59 touch none)
  STAT_FIRST_NUMBER,     // n1
  STAT_NEIGHBOUR_GAPS,   // n(k+1) - n(k), k = 1..4, signed: four values per ticket
  STAT_NUMBER_SET,       // how many of n1..n5 belong to the row's number set
  STAT_ENDING,           // how many of fields 1..5 end in the row's digit
  STAT_DISTANCE,         // |n(k) - n(k+1)| for the row's position k
  STAT_SUM_STARS,        // s1 + s2
  STAT_STAR_SET,         // how many of s1, s2 belong to the row's star set
};

// Membership of values that the 64-bit set mask does not cover (below 0 or
// above 63). Every set of the boards lies in 1..59, except the parity and the
// low/high halves, which are defined for every integer.
enum OutsideRule : int {
  OUTSIDE_NONE,      // no value outside 0..63 belongs
  OUTSIDE_EVEN,      // even values belong (negative ones too)
  OUTSIDE_ODD,       // odd values belong (negative ones too)
  OUTSIDE_NEGATIVE,  // values below 0 belong (low: every value <= 25)
  OUTSIDE_ABOVE,     // values above 63 belong (high: every value >= 26)
};

// How many cells a technique's table has, worked out from the game size N
// (highest number) and M (highest star) in force when the table is made.
enum CellCount : int {
  CELLS_NUMBER_COUNT,  // 6: a count of the 5 numbers, 0..5
  CELLS_STAR_COUNT,    // 3: a count of the 2 stars, 0..2
  CELLS_NUMBER_VALUE,  // N + 1: one number value or one gap, 0..N
  CELLS_SUM_NUMBERS,   // 5N - 9: sums 0..5N-10
  CELLS_SUM_STARS,     // 2M: sums 0..2M-1
};

enum TrimMode : int {
  TRIM_BOTH,         // Remove moves both bounds inwards
  TRIM_MAX_ONLY,     // Remove lowers the maximum only; the minimum never moves
  TRIM_NONE,         // Remove leaves the window alone (left diagonals)
  TRIM_FORCED_3_4,   // Remove sets the window to 3..4 whatever was learned (decades)
};

enum CheckMode : int {
  CHECK_BOTH,      // min <= v <= max
  CHECK_MAX_ONLY,  // v <= max; the minimum is never read
  CHECK_NONE,      // never tested
};

struct TechniqueRow {
  TechniqueId id;
  const char* key;          // "sum_numbers": window g_sum_numbers_max / _min
  StatisticKind statistic;
  uint64_t set;             // bit v set when value v (0..63) is in the set
  OutsideRule outside;      // membership of values outside 0..63
  int parameter;            // STAT_ENDING: the digit; STAT_DISTANCE: the position k (1..4)
  CellCount cells;
  const char* caption;      // English caption of the Techniques-tab frame
  TrimMode trim;
  CheckMode check;
  int max_slot;             // settings slot (1..169) of the maximum
  int min_slot;             // settings slot of the minimum, 0 when it has none
};

// The 85 techniques in catalogue order: g_technique_catalogue[T_even].id == T_even.
extern const TechniqueRow g_technique_catalogue[TECHNIQUE_COUNT];

// Cells of a table of this kind for the game size in force (never negative;
// the sizes are taken as at most 50 numbers and 12 stars, which the
// play-state tables are built for).
int64_t technique_cell_count(CellCount cells);
// Whether value v belongs to the row's set (STAT_NUMBER_SET, STAT_STAR_SET).
bool technique_set_holds(const TechniqueRow& row, int64_t v);

// ---- the 169 settings slots ---------------------------------------------------
constexpr int TECHNIQUE_SLOT_COUNT = 169;

// The range a slot's field accepts. Some bounds follow the game size and are
// worked out at each call from g_highest_number (N) and g_highest_star (M).
enum FieldRange : int {
  RANGE_SUM_NUMBERS,   // 15 .. 5N - 10
  RANGE_1_TO_5,        // 1 .. 5 (decades, longest run)
  RANGE_0_TO_5,        // 0 .. 5 (counts of numbers, common numbers)
  RANGE_TALLEST,       // 1 .. N - 4
  RANGE_MAX_DISTANCE,  // 1 .. N - 7
  RANGE_DISTANCE,      // 1 .. N - 3
  RANGE_SUM_STARS,     // 3 .. 2M - 1
  RANGE_0_TO_2,        // 0 .. 2 (counts of stars)
};

struct TechniqueSlot {
  int64_t* value;     // the global the slot holds
  int field;          // gadget number of its field on the Techniques tab
  FieldRange range;
  TechniqueId technique;  // the window it bounds; TECHNIQUE_COUNT for the two limits
};

// Slot k (1..169) is g_technique_slots[k - 1]: the order of the technique
// settings file and of the fields. Slot 6 is g_max_common_numbers, slot 9
// g_max_number_sequence; for a window with both bounds the maximum comes first.
extern const TechniqueSlot g_technique_slots[TECHNIQUE_SLOT_COUNT];

// The inclusive range of a slot's field for the game size in force.
void technique_field_range(FieldRange range, int64_t* min, int64_t* max);
// Index into g_technique_slots of the slot shown in this gadget, -1 for any
// other gadget.
int technique_slot_of_field(int64_t gadget);
