// Stand-ins until this part of the program is written; this file goes away
// then. Nothing here is behaviour.
#include <cstdlib>

#include "app/app.h"
#include "core/core.h"
#include "draws/draws.h"
#include "techniques/techniques.h"

void build_preferences_tab() {}
void handle_selection_tab_event(int64_t, int64_t) {}
void handle_preferences_fields(int64_t, int64_t) {}
void update_selection_counts() {}
void update_possible_draws_label() {}
double factorial(int64_t) { return 1.0; }
int64_t combinations(int64_t, int64_t) { return 0; }
void update_cost_label() {}
void refresh_bet_type_prices() {}
