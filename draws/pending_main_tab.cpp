// Stand-ins until this part of the program is written; this file goes away
// then. Nothing here is behaviour.
#include <cstdlib>

#include "app/app.h"
#include "core/core.h"
#include "draws/draws.h"
#include "techniques/techniques.h"

void add_draw_to_list(const std::string&, const std::string&) {}
void reset_hit_counters() {}
void show_hit_counters() {}
void generate_draws() {}
std::string format_percent(float) { return ""; }
std::string format_elapsed_time(int64_t) { return ""; }
void build_main_tab() {}
void handle_draws_tab_event(int64_t, int64_t) {}
