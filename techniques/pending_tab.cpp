// Stand-ins until this part of the program is written; this file goes away
// then. Nothing here is behaviour.
#include <cstdlib>

#include "app/app.h"
#include "core/core.h"
#include "draws/draws.h"
#include "techniques/techniques.h"

void read_technique_windows() {}
void show_technique_settings() {}
int64_t validate_technique_field(int64_t) { return 0; }
void reset_techniques() {}
void save_techniques() {}
void build_techniques_tab() {}
void create_number_associations_block() {}
void create_star_associations_blocks() {}
void refresh_number_association_buttons() {}
void handle_number_associations_event(int64_t, int64_t) {}
void show_tarvik_rules_window() {}
void apply_tarvik_rules() {}
