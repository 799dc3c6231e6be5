// Stand-ins until this part of the program is written; this file goes away
// then. Nothing here is behaviour.
#include <cstdlib>

#include "app/app.h"
#include "core/core.h"
#include "draws/draws.h"
#include "techniques/techniques.h"

void update_recent_files(const std::string&) {}
void refresh_recent_files_menu() {}
void clear_recent_files() {}
