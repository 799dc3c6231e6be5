// Application shell: start-up and end, the main window, the event loop, the
// About and credits windows and the manual.
#pragma once

#include <cstdint>
#include <string>

// The event record of the last pass of the main loop.
extern int64_t g_event;
extern int64_t g_event_menu;
extern int64_t g_event_gadget;
extern int64_t g_event_type;
extern int64_t g_event_tab;  // the tab panel's tab shown when the event was read
extern int64_t g_quit_requested;

[[noreturn]] void program_main();
// Everything program_main does between starting the toolkit and entering the
// event loop: defaults, fonts, images, settings, the main window, the recent
// files and the technique fields. Tests start the program through it.
void start_program();
int64_t load_embedded_images();
// Decodes the program icon into IMAGE_PROGRAM_ICON and makes it the icon of
// `window`; a failure leaves the window system's default icon, unreported.
void set_program_icon(int window);
[[noreturn]] void end_program();
void build_main_window();
// "Kestrova V1.0 build 26": the window title, also the credits window's first
// line and the subject of a mail from the About window.
std::string program_title();
[[noreturn]] void run_event_loop();
// One pass of the main loop over the event that ui_wait_event has just
// returned (run_event_loop is this in a loop); returns 1 when the program is
// to end. Tests drive the program through it.
int64_t dispatch_event(int64_t kind);
void show_about_window();
void show_tool_credits_window();
// The manual of the current language, as a path and as the address handed to
// the system: the one in the program directory, or, when there is none there,
// an installed program's own.
std::string manual_file_path();
std::string build_manual_url();
// Hands an address to the system's default program; false when the system
// refused it (no program for it, a malformed address).
bool open_in_browser(const std::string& text);
// HTML Help: opens the manual, or says which file could not be opened.
void open_manual();
