// Procedures whose subsystems are still being written. Each block goes away
// when the real one lands; nothing here is behaviour.
#include "app/app.h"
#include "core/core.h"
#include "draws/draws.h"
#include "techniques/techniques.h"

#include <cstdlib>

// ---- core ----
std::string translate(const std::string&) { return "???????????"; }
int64_t load_main_prefs() { return 0; }
int64_t save_main_prefs() { return 1; }
void update_recent_files(const std::string&) {}
void refresh_recent_files_menu() {}
void clear_recent_files() {}
void import_draws_database() {}
void show_database_file_name() {}
int64_t validate_number_field(int64_t, float, float, int64_t, int64_t) { return 0; }
int64_t check_range_field(int64_t, float, const std::string&) { return 0; }
void mark_empty_field(int64_t) {}
void fit_gadget_to_content(int64_t) {}
void set_spin_value(int64_t, int64_t) {}
int64_t create_colored_button(int64_t, int64_t, int64_t, int64_t, int64_t, const std::string&,
                              int64_t, int64_t) { return 0; }

// ---- techniques ----
TechniqueTable g_techniques[TECHNIQUE_COUNT];
std::vector<std::vector<OutcomeStat>> g_number_associations;
std::vector<std::vector<int64_t>> g_star_associations;
std::vector<std::vector<int64_t>> g_star_pair_associations;
int64_t g_selected_association_number = 1;
int64_t g_selected_association_star = 1;
int64_t g_selected_star_association_star = 1;
void init_technique_tables() {}
void reset_technique_windows() {}
void learn_techniques() {}
void remove_weak_outcomes() {}
int64_t check_number_techniques(const std::string&) { return 0; }
int64_t check_star_windows(const std::string&) { return 0; }
int64_t load_technique_prefs() { return 0; }
int64_t save_technique_prefs() { return 1; }
void read_technique_windows() {}
void show_technique_settings() {}
int64_t validate_technique_field(int64_t) { return 0; }
void reset_techniques() {}
void save_techniques() {}
void build_techniques_tab() {}
void create_number_associations_block() {}
void create_star_associations_blocks() {}
void refresh_number_association_buttons() {}
void handle_number_associations_event(int64_t, int64_t) {}
void show_tarvik_rules_window() {}
void apply_tarvik_rules() {}

// ---- draws ----
void add_draw_to_list(const std::string&, const std::string&) {}
void reset_hit_counters() {}
void show_hit_counters() {}
void build_preferences_tab() {}
void handle_selection_tab_event(int64_t, int64_t) {}
void handle_preferences_fields(int64_t, int64_t) {}
void update_selection_counts() {}
void update_possible_draws_label() {}
double factorial(int64_t) { return 1.0; }
int64_t combinations(int64_t, int64_t) { return 0; }
void update_cost_label() {}
void refresh_bet_type_prices() {}
void generate_draws() {}
std::string format_percent(float) { return ""; }
std::string format_elapsed_time(int64_t) { return ""; }
void open_draws_file(const std::string&) {}
void save_draws_file(int64_t, int64_t) {}
void extract_draws_to_text() {}
void show_draws_file_name() {}
void build_main_tab() {}
void handle_draws_tab_event(int64_t, int64_t) {}
void build_statistics_tab() {}
void handle_statistics_tab_event(int64_t, int64_t) {}
void count_number_and_star_frequencies() {}
void draw_chart_frames() {}
void draw_frequency_charts() {}
void clear_best_lists() {}
void fill_frequency_rankings() {}

// ---- app ----
void show_about_window() {}
void show_tool_credits_window() {}
std::string build_manual_url() { return ""; }
void open_in_browser(const std::string&) {}
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
