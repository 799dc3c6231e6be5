// Starts the whole program in-process for a GUI test and feeds it the events
// that the test has queued through ui_test.h.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "ui/ui.h"

// Enters a fresh, empty working directory, runs `prepare` there (to write
// settings files, say), resets the gadget layer into test mode and runs the
// program's start-up without its event loop: defaults (with `build_language`,
// 1 as in kestrova_en or 2 as in kestrova_pt), fonts, images, the main
// settings, the main window with its four tabs, the recent files and the
// technique fields. Returns the directory.
std::string start_program_for_test(int64_t build_language = 1,
                                   const std::function<void()>& prepare = nullptr);

// Hands every queued event to the main loop's dispatch, one pass each, until
// the queue is empty. Returns 1 as soon as a pass asks the program to end
// (File > Exit, the close box); later events then stay queued. Returns 0
// otherwise.
int64_t run_pending_events();
// A player's click on `gadget`, then run_pending_events.
void click_gadget(int gadget);

// The whole program started without its loop, with the Techniques tab shown.
void start_with_techniques_tab();
// Imports a past-results file through the Techniques tab's "Open" button and
// its dialog, answered with `path`.
void import_file_through_open(const std::string& path);

// Exactly one message box was shown, with this title, text and flags.
void expect_single_message(const std::string& title, const std::string& text,
                           unsigned flags = UI_ICON_WARNING);
