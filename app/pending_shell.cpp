// Stand-ins until this part of the program is written; this file goes away
// then. Nothing here is behaviour.
#include <cstdlib>

#include "app/app.h"
#include "core/core.h"
#include "draws/draws.h"
#include "techniques/techniques.h"

int64_t g_event = 0;
int64_t g_event_menu = 0;
int64_t g_event_gadget = 0;
int64_t g_event_type = 0;
int64_t g_quit_requested = 0;
void program_main() { std::exit(0); }
int64_t load_embedded_images() { return 0; }
void end_program() { std::exit(0); }
void build_main_window() {}
void run_event_loop() { std::exit(0); }
int64_t dispatch_event(int64_t) { return 0; }
