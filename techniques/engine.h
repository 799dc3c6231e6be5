// Pieces shared inside the technique engine (learning, removal, filter):
// the order tables of the passes and the reading of past-result entries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "techniques/technique_ids.h"

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
