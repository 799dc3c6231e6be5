// The program's shared state of game data and settings, with the defaults
// that init_game_state gives it once at start-up. Every integer is a signed
// 64-bit value; arrays are 0-based with (highest index + 1) slots, and lists
// over numbers, stars, tickets and past results are used from slot 1.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Game constants.
extern int64_t g_highest_number;     // 50
extern int64_t g_highest_star;       // 12
extern int64_t g_numbers_per_draw;   // 5: ticket size of the current draw list
extern int64_t g_stars_per_draw;     // 2
extern int64_t g_best_numbers_count; // 15
extern int64_t g_best_stars_count;   // 9

// Selection and player settings. Play states: 0 not played, 1 played, 2 fixed.
extern std::vector<int64_t> g_number_play_state;  // 51 slots
extern std::vector<int64_t> g_star_play_state;    // 13 slots
extern int64_t g_played_number_count;
extern int64_t g_fixed_number_count;
extern int64_t g_played_star_count;
extern int64_t g_fixed_star_count;
extern int64_t g_draws_to_generate;       // 1
extern std::string g_currency;            // "EUR"
extern int64_t g_neighbour_jitter;        // 1
extern int64_t g_use_special_techniques;  // 1
extern int64_t g_bet_type_index;          // 0
extern std::vector<std::string> g_prices; // 41 slots, 1..40 used
extern int64_t g_language;                // 1 English, 2 Portuguese
extern int64_t g_build_language;          // the language of this executable

// Recent files and the past-results database.
extern std::vector<std::string> g_recent_files;    // 11 slots, 0 is working space
extern std::vector<std::string> g_database_draws;  // entries 1..count
extern int64_t g_database_draw_count;
extern std::string g_database_path;

// Technique parameters.
extern int64_t g_removal_threshold;    // 1
extern int64_t g_max_common_numbers;   // 3
extern int64_t g_max_number_sequence;  // 1

// Program and version data.
extern std::string g_program_dir;  // working directory at start, with a trailing "/"
// Where an installed program keeps its manuals and its data/ folder, with a
// trailing "/": the shared folder of the installation that the executable
// belongs to; "" when the executable is not an installed one (a build tree).
extern std::string g_installed_data_dir;
extern std::string g_main_prefs_version;        // "2"
extern std::string g_techniques_prefs_version;  // "2"
extern std::string g_program_version;           // "1.0"
extern std::string g_program_build;             // "26"
extern std::string g_release_date;              // "2022-02-22"
extern int64_t g_beta_release;                  // 0

// Layout constants, in 96-DPI units.
extern int64_t g_button_height;          // 34
extern int64_t g_text_height;            // 18
extern int64_t g_picture_button_width;   // 44
extern int64_t g_picture_button_height;  // 44
extern int64_t g_field_height;           // 34
extern int64_t g_drop_down_height;       // 34
extern int64_t g_spinner_height;         // 34
extern int64_t g_radio_size;             // 22

// Gives every global of the program its default, in the fixed order; also
// creates the settings folder under the working directory when it is missing.
void init_game_state();
// The folder of the real history that the program ships: "data/" of the
// program directory when there is one, else that of an installed program;
// "" when neither exists.
std::string history_folder();
