// Pieces shared inside the technique engine (learning, removal, filter):
// the order tables of the passes and the reading of past-result entries.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "techniques/technique_ids.h"

struct TechniqueRow;
struct TechniqueTable;

enum PassKind : int {
  PASS_TECHNIQUE,             // one technique of the catalogue
  PASS_COMMON_NUMBERS_FIELD,  // Learn takes "Max Common Numbers" from its field
  PASS_MAX_SEQUENCE,          // learn_max_sequence
  PASS_NUMBER_ASSOCIATIONS,   // learn_number_associations / remove_weak_associations
};

struct EnginePass {
  const char* name;  // the pass's name: "learn_sum_numbers", "trim_window_sum_numbers"
  PassKind kind;
  TechniqueId technique;  // TECHNIQUE_COUNT for the passes that are not a technique's
};

extern const EnginePass g_learning_order[76];
extern const EnginePass g_removal_order[73];

// The work of Learn and Remove between their checks and the rewriting of the
// fields: the learning passes in order (field 438 read among them), and the
// forced windows and removal passes with the threshold in force.
void run_learning_passes();
void run_removal_passes();

// g_number_associations anew, zero-filled, with N + 1 rows of N + 1 cells
// for the N in force (taken as at most 50, as every table is).
void create_number_associations();

// The decade 0..5 of a number (1-9, 10-19, .. 50-59); -1 for 0, negatives
// and values above 59, which touch no decade.
int64_t decade_of(int64_t v);

// The past results that exist: entries 1..count, as far as the list holds
// them (a count beyond the list reads no phantom entries).
int64_t database_entries_in_use();

// One past result as the passes read it: fields 1..5 (numbers) and 6..7
// (stars) of the entry split at " ", each by the integer reading of its
// text, and for each number field the integer reading of its last
// character (the "ending": a field "07" ends in 7, an empty one in 0).
struct EntryValues {
  int64_t numbers[5];
  int64_t stars[2];
  int64_t endings[5];
};
EntryValues read_entry_values(const std::string& entry);
std::vector<EntryValues> read_database_values();

// The statistic of one technique for one past result or ticket: the value
// that Learn counts and the candidate filter tests. Sums and differences are
// worked out in 128 bits, since fields may hold any value the integer
// reading gives. Returns how many values it wrote: four gaps for the
// neighbour-gap statistic (each tested on its own), one otherwise, none for
// the inert left diagonals.
int technique_statistics(const TechniqueRow& row, const EntryValues& e, __int128 out[4]);
// The longest run of numbers that each follow the one before by +1, in the
// order the entry holds them (1 when there is none); and the longest over
// some entries (1 for none).
int64_t longest_number_run(const EntryValues& e);
int64_t longest_run_of(std::span<const EntryValues> entries);

// The learning template and the window pass of Remove on a table of the
// caller's: Learn and Remove run them on g_techniques, the back-test on
// tables of its own.
void learn_technique_table(const TechniqueRow& row, std::span<const EntryValues> entries, TechniqueTable& table);
void trim_technique_table(const TechniqueRow& row, int64_t threshold, TechniqueTable& table);
// What Remove sets whatever was learned: the decades window to 3..4 and the
// longest run to 2 (tables: all TECHNIQUE_COUNT of them).
void force_removal_limits(TechniqueTable* tables, int64_t& max_number_sequence);

// The count techniques that the checks test (how many of the five numbers
// lie in a set, or end in a digit), one byte lane apiece: the five numbers'
// contributions added word by word give every count at once. The candidate
// filter tests them so, and the back-test counts the game's tickets so.
constexpr int LANE_WORDS = 8;
constexpr int LANE_TABLE_VALUES = 100;  // the values of one or two digits
struct LaneLayout {
  int lanes = 0;
  TechniqueId technique[LANE_WORDS * 8];  // lane i is byte i % 8 of word i / 8
  // contribution[v]: one in the lane of every count technique whose set holds
  // v (for the endings: whose digit is v's last digit).
  uint64_t contribution[LANE_TABLE_VALUES][LANE_WORDS] = {};
};
const LaneLayout& lane_layout();
