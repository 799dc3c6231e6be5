// Stand-ins until this part of the program is written; this file goes away
// then. Nothing here is behaviour.
#include <cstdlib>

#include "app/app.h"
#include "core/core.h"
#include "draws/draws.h"
#include "techniques/techniques.h"

void show_about_window() {}
void show_tool_credits_window() {}
std::string build_manual_url() { return ""; }
void open_in_browser(const std::string&) {}
