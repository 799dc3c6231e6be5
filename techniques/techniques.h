// The technique engine: the catalogue of 85 techniques with their tables and
// windows, learning, removal and Information Theory, the candidate filter,
// the technique settings file and the Techniques tab.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "techniques/technique_ids.h"

// One cell of a technique table: how many past results showed the outcome,
// and its percent of the table's largest count (0 also marks a removed one).
struct OutcomeStat {
  int32_t count;
  int32_t percent;
};

// One technique's histogram, indexed by the outcome value, and its window:
// max 0 with min 999 means not learned and admits no value.
struct TechniqueTable {
  std::vector<OutcomeStat> cells;
  int64_t max;
  int64_t min;
};

// g_techniques[T_sum_numbers].max is the window bound g_sum_numbers_max.
extern TechniqueTable g_techniques[TECHNIQUE_COUNT];

// Association matrices, rows and columns 1-based.
extern std::vector<std::vector<OutcomeStat>> g_number_associations;  // (N+1) x (N+1)
extern std::vector<std::vector<int64_t>> g_star_associations;        // (M+1) x (N+1)
extern std::vector<std::vector<int64_t>> g_star_pair_associations;   // (M+1) x (M+1)
extern int64_t g_selected_association_number;
extern int64_t g_selected_association_star;
extern int64_t g_selected_star_association_star;

void init_technique_tables();
void reset_technique_windows();

// Learn (gadget 360) and Remove (gadget 364).
void learn_techniques();
void remove_weak_outcomes();
// The passes they run (learn_techniques and remove_weak_outcomes walk them in
// their fixed orders). A technique pass works on one technique of the
// catalogue; left diagonals and decades (for the trim) are left alone.
void learn_technique(TechniqueId technique);
void learn_max_sequence();
void learn_number_associations();
void trim_technique_window(TechniqueId technique);
void remove_weak_associations();

// Candidate filter: 1 pass, 0 reject. check_number_techniques works from
// tables built out of the windows, the two limits and the past results, and
// notices by itself when any of them changed: windows and limits at every
// call; the database by its count, storage, path, first and last entries at
// every call and by all of its entries after a pause of 50 ms. Code that
// replaces or rewrites entries (the import, a test) calls
// invalidate_candidate_filter.
int64_t check_number_techniques(const std::string& numbers);
// 0 when some window that the filter checks at both ends admits no value
// (minimum above maximum, as every window is before Learn and after Reset):
// then no candidate can pass. 1 otherwise.
int64_t technique_windows_admit_tickets();
int64_t check_star_windows(const std::string& stars);
// What a walk over the number sets of a selection found. The sets are every
// set of five numbers made of every value of `fixed` and the rest from
// `played` (both ascending, no value in both), each in ascending order, as
// the generator writes its numbers.
struct NumberSetWalk {
  int64_t passing = 0;            // sets that pass check_number_techniques
  int64_t common_rejections = 0;  // sets that pass every window, then share too many numbers
  bool complete = false;          // every set was walked: the walk did not stop at `enough`
  // With keep_sets: the passing sets in walk order, each its five numbers
  // ascending at 6 bits apiece, the first in the lowest bits.
  std::vector<uint32_t> passing_sets;
};
// Walks the number sets with the checks of check_number_techniques and stops
// as soon as `enough` pass. The rejection counters are left as they are.
NumberSetWalk walk_number_sets(const std::vector<int64_t>& fixed, const std::vector<int64_t>& played,
                               int64_t enough, bool keep_sets);
void invalidate_candidate_filter();
// The same decisions read step by step off the texts, with no tables: the
// reference the fast filter is measured and tested against.
int64_t check_number_techniques_literal(const std::string& numbers);
int64_t check_star_windows_literal(const std::string& stars);
// Single steps of the number check, read off the text.
int64_t check_common_numbers(const std::string& numbers);
int64_t check_high_window(const std::string& numbers);
int64_t check_diag1_low_window(const std::string& numbers);
int64_t check_diag1_high_window(const std::string& numbers);
int64_t check_diag2_low_window(const std::string& numbers);
int64_t check_diag2_high_window(const std::string& numbers);
int64_t check_half_low_window(const std::string& numbers);
int64_t check_half_high_window(const std::string& numbers);
int64_t check_distance_1_2_window(const std::string& numbers);
int64_t check_distance_2_3_window(const std::string& numbers);
int64_t check_distance_3_4_window(const std::string& numbers);
int64_t check_distance_4_5_window(const std::string& numbers);
int64_t check_column_4_window(const std::string& numbers);
int64_t check_column_5_window(const std::string& numbers);
int64_t check_column_6_window(const std::string& numbers);

// Technique settings file "settings/techniques.prefs" and the 169 fields.
int64_t load_technique_prefs();
int64_t save_technique_prefs();
void read_technique_windows();
void show_technique_settings();
int64_t validate_technique_field(int64_t gadget);
void reset_techniques();
void save_techniques();

// The Techniques tab (tab 2), its association grids and the rules window.
void build_techniques_tab();
void create_number_associations_block();
void create_star_associations_blocks();
void refresh_number_association_buttons();
void handle_number_associations_event(int64_t event, int64_t gadget);
void show_tarvik_rules_window();
void apply_tarvik_rules();
