// Game data and settings: interface texts, the main settings file, the
// recent-files log, the past-results import and the form utilities.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/state.h"

// One row of the interface text table: an English key, its English text and
// its Portuguese text (UTF-8; leading blanks belong to the texts).
struct TranslationEntry {
  std::string_view key;
  std::string_view english;
  std::string_view portuguese;
};
// The interface text table in its fixed order; keys are unique.
extern const std::span<const TranslationEntry> g_interface_texts;

// The text of an English key in the current language; "???????????" for a
// key that is not in the table or a language other than 1 and 2.
std::string translate(const std::string& key);

// Main settings file "settings/kestrova.prefs".
int64_t load_main_prefs();
int64_t save_main_prefs();

// Recent-files log "settings/recent_files.log" and menu items 15..25.
void update_recent_files(const std::string& path);
void refresh_recent_files_menu();
void clear_recent_files();

// Past-results database import (Techniques tab, gadgets 366-368).
void import_draws_database();
void show_database_file_name();

// Form utilities.
int64_t validate_number_field(int64_t gadget, float min, float max, int64_t allow_decimals,
                              int64_t allow_empty);
// 1 when the text is a well-formed number from min to max, the test by which
// validate_number_field colours a field; 0 otherwise.
int64_t number_text_in_range(const std::string& text, float min, float max, int64_t allow_decimals);
int64_t check_range_field(int64_t gadget, float max, const std::string& message);
// check_range_field for a field that takes whole numbers only: a text with a
// decimal point ("2.5") is bad like any other text that is not a number.
int64_t check_whole_range_field(int64_t gadget, float max, const std::string& message);
void mark_empty_field(int64_t gadget);
void fit_gadget_to_content(int64_t gadget);
void set_spin_value(int64_t gadget, int64_t value);
// Sets the gadget's text only when it differs from the text shown.
void set_text_if_changed(int64_t gadget, const std::string& text);
// Returns the gadget number when made, 0 when not. colour -1: the system's
// button face; font -1: the default gui font.
int64_t create_colored_button(int64_t gadget, int64_t x, int64_t y, int64_t width,
                              int64_t height, const std::string& text, int64_t colour,
                              int64_t font);
// create_colored_button keeps each face it draws for the next button that
// shows it; this frees them (the fonts they were drawn in are changing).
void forget_button_faces();

// The file a save writes, chosen in the save dialog and given `ending` when
// its name does not end so (ASCII letters compared lower-cased); "" when the
// dialog is cancelled or the player refuses to overwrite a file that exists
// and is not empty ("File already exists! Overwrite it?").
std::string choose_save_target(const std::string& title, const std::string& filter, const std::string& ending);

// The untranslated "Can't open a window." (title "Error", error icon) of a
// window that could not be opened.
void report_window_failure();

// Long operations (the import, the draws files, the preview) keep the window
// alive by taking one pending event per step. While one runs, timer 800 ticks
// on the main window, so a poll always finds something within 800 ms.
void start_long_operation();
void end_long_operation();
// Takes one pending event without waiting. Only the Escape shortcut counts:
// it asks "Really abort?" and returns 1 on Yes. The request is used up by this
// poll whatever the answer, so a No is not asked again.
int64_t poll_abort_request();
