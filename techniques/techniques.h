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

// Candidate filter: 1 pass, 0 reject.
int64_t check_number_techniques(const std::string& numbers);
int64_t check_star_windows(const std::string& stars);

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
