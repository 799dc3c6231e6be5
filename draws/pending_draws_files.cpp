// Stand-ins until this part of the program is written; this file goes away
// then. Nothing here is behaviour.
#include <cstdlib>

#include "app/app.h"
#include "core/core.h"
#include "draws/draws.h"
#include "techniques/techniques.h"

void open_draws_file(const std::string&) {}
void save_draws_file(int64_t, int64_t) {}
void extract_draws_to_text() {}
void show_draws_file_name() {}
