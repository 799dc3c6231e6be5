// Stand-ins until this part of the program is written; this file goes away
// then. Nothing here is behaviour.
#include <cstdlib>

#include "app/app.h"
#include "core/core.h"
#include "draws/draws.h"
#include "techniques/techniques.h"

std::vector<std::vector<OutcomeStat>> g_number_associations;
std::vector<std::vector<int64_t>> g_star_associations;
std::vector<std::vector<int64_t>> g_star_pair_associations;
int64_t g_selected_association_number = 1;
int64_t g_selected_association_star = 1;
int64_t g_selected_star_association_star = 1;
void init_technique_tables() {}
void reset_technique_windows() {}
void learn_techniques() {}
void remove_weak_outcomes() {}
int64_t check_number_techniques(const std::string&) { return 0; }
int64_t check_star_windows(const std::string&) { return 0; }
int64_t load_technique_prefs() { return 0; }
int64_t save_technique_prefs() { return 1; }
