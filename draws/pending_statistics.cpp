// Stand-ins until this part of the program is written; this file goes away
// then. Nothing here is behaviour.
#include <cstdlib>

#include "app/app.h"
#include "core/core.h"
#include "draws/draws.h"
#include "techniques/techniques.h"

void build_statistics_tab() {}
void handle_statistics_tab_event(int64_t, int64_t) {}
void count_number_and_star_frequencies() {}
void draw_chart_frames() {}
void draw_frequency_charts() {}
void clear_best_lists() {}
void fill_frequency_rankings() {}
