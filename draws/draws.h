// Draws: the selection and bet types (Preferences tab), the generator, the
// draw list and prize check, draws files, the Main tab with its preview, and
// the frequency statistics tab.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// ---- the draw list and prize tiers ----------------------------------------
extern int64_t g_draw_count;
extern std::vector<std::string> g_draw_numbers;  // numbers text of ticket i, 1-based
extern std::vector<std::string> g_draw_stars;    // stars text of ticket i
// The 18 prize-tier counters, "5+2:" .. "0+0:" in this order.
extern int64_t g_hits_5_2, g_hits_5_1, g_hits_5_0, g_hits_4_2, g_hits_4_1, g_hits_4_0,
    g_hits_3_2, g_hits_3_1, g_hits_3_0, g_hits_2_2, g_hits_2_1, g_hits_2_0, g_hits_1_2,
    g_hits_1_1, g_hits_1_0, g_hits_0_2, g_hits_0_1, g_hits_0_0;
extern std::vector<int64_t> g_result_numbers;  // 6 slots, 1..5 used
extern std::vector<int64_t> g_result_stars;    // 3 slots, 1..2 used

// ---- generation ------------------------------------------------------------
extern std::vector<int64_t> g_pick_numbers;  // 12 slots
extern std::vector<int64_t> g_pick_stars;    // 13 slots
extern int64_t g_repeated_count;
extern int64_t g_technique_reject_count;
extern int64_t g_common_rejections;

// ---- draws files and preview -----------------------------------------------
extern std::string g_draws_file_path;
extern int64_t g_draws_changed;
extern int64_t g_preview_valid;
extern std::vector<int64_t> g_played_numbers;  // g_highest_number + 1 slots
extern std::vector<int64_t> g_played_stars;    // g_highest_star + 1 slots

// ---- statistics --------------------------------------------------------------
struct RankingRecord {
  std::string label;  // the number in decimal
  int32_t count;
};
extern std::vector<int64_t> g_number_frequency;  // 55 slots
extern std::vector<int64_t> g_star_frequency;    // 13 slots
extern int64_t g_chart_highlight;
extern std::vector<RankingRecord> g_number_ranking;  // 55 records
extern std::vector<RankingRecord> g_star_ranking;    // 13 records

// Defaults of the ticket state (step 10 of init_game_state).
void init_draws_state();
// Frequency arrays and rankings (step 12 of init_game_state).
void init_statistics_state();

// ---- draw list and prize check -----------------------------------------------
// Sizes g_draw_numbers and g_draw_stars for count tickets before they are
// filled (entries kept). add_draw_to_list stores ticket g_draw_count (set by
// the caller, from 1) and appends its row to list 26, adding slots when the
// list was sized short.
void size_draw_list(int64_t count);
void add_draw_to_list(const std::string& numbers, const std::string& stars);
void reset_hit_counters();
void show_hit_counters();
// Whether a ticket with exactly these two texts is among tickets
// 1..g_draw_count. add_draw_to_list keeps the set behind it in step with the
// list (ticket 1 starts it afresh); forget_listed_tickets empties it.
int64_t ticket_is_listed(const std::string& numbers, const std::string& stars);
void forget_listed_tickets();
// The same answer by comparing with every listed ticket in turn (kept to
// measure the set against); generate_draws uses it while g_scan_for_repeats
// is 1 (0 by default).
int64_t ticket_is_listed_by_scan(const std::string& numbers, const std::string& stars);
extern int64_t g_scan_for_repeats;

// Colours of the prize tiers and of a list row by its number hits.
constexpr int64_t HIT_COLOUR_GREY = 128 + 256 * 128 + 65536 * 128;  // 0 hits
constexpr int64_t HIT_COLOUR_BLACK = 0;                              // 1
constexpr int64_t HIT_COLOUR_GREEN = 107 + 256 * 199 + 65536 * 46;   // 2
constexpr int64_t HIT_COLOUR_YELLOW = 252 + 256 * 225;               // 3
constexpr int64_t HIT_COLOUR_PINK = 255 + 256 * 174 + 65536 * 201;   // 4
constexpr int64_t HIT_COLOUR_RED = 255;                              // 5 or more
int64_t hit_colour(int64_t number_hits);
// Tier k = 0..17 in the order "5+2:" .. "0+0:": its text and its colour.
std::string tier_text(int64_t tier);
int64_t tier_colour(int64_t tier);

// The result box of the Main tab (gadgets 133..144).
void validate_result_field(int64_t gadget);  // colours field 136..142
// Check of the seven result fields before an action: each a whole number in
// range, the five numbers all different and the two stars different. 1 when
// all pass; 0 after the first bad field has warned and taken the focus.
int64_t check_result_fields_range();
// The whole number in 1..highest number (fields 136..140) or 1..highest star
// (141, 142) that a result field holds; 0 when it holds none (empty, not a
// whole number such as "2.5", or out of range).
int64_t result_field_value(int64_t gadget);
// 1 when no result field repeats the value of an earlier field of its kind
// (fields without a value count nothing); otherwise 0 after the warning of
// a repeated result, with the focus on the field that repeats.
int64_t check_result_fields_differ();
void check_for_prizes();
void validate_typed_draw();
void clear_result_fields();
void paste_draw_from_clipboard();

// ---- selection and pricing (Preferences tab) ----------------------------------
void build_preferences_tab();
void handle_selection_tab_event(int64_t event, int64_t gadget);
void handle_preferences_fields(int64_t gadget, int64_t type);
void update_selection_counts();
void update_possible_draws_label();
double factorial(int64_t n);
int64_t combinations(int64_t n, int64_t k);
void update_cost_label();
void refresh_bet_type_prices();
// Redraws the pool button of number n / star s in the colour of its play
// state (inside tab 1 of panel 1, whatever the current container is).
void draw_number_button(int64_t n);
void draw_star_button(int64_t s);
// The price of bet type `index` (0..39) as its price field reads now; 0 for
// a text that does not begin with a number or an index outside the table.
float bet_type_price(int64_t index);
// 1 when the price field of bet type `index` holds a price (a number from 2.5
// to 10000 with "." before the decimals), which is when the field is not red.
int64_t bet_type_price_is_valid(int64_t index);
// The warning that names the bad price of bet type `index`, translated.
std::string invalid_price_message(int64_t index);
// The cost of `count` tickets at the price of the bet type selected in list
// 347 as it reads now: a 32-bit float product, as every cost of the program
// (139,838,160 tickets at 2.5 cost 349,595,392.00, not 349,595,400).
float tickets_cost(int64_t count);

// ---- generator ---------------------------------------------------------------
// The Generate button: resets the summary, runs generate_draws with the main
// window disabled, restores the request and writes the result labels.
void generate_requested_draws();
// The Main tab's labels after a run of `requested` tickets: the tickets
// listed, their cost, and the tickets the repeats, the techniques and the
// common numbers ruled out, from the counters as they stand.
void show_run_summary(int64_t requested);
// Labels 146..148 in their zero state (before a run, after Clear).
void show_zero_rejection_labels();
// The progress window's labels from the counters as they stand: the tickets
// made of those asked with their cost and the time taken, and the tickets
// ruled out.
void show_progress_counts();
void show_progress_rejections();
// Reads the ticket size from the selected bet type, refuses what it cannot
// generate, lowers g_draws_to_generate to the number of different tickets the
// selection allows (with the techniques on, that pass them), and runs the
// progress window until that many are listed or the player cancels. False
// for a refused run, which leaves the list, its sizes and its labels as they
// were.
bool generate_draws();
std::string format_percent(float value);
std::string format_elapsed_time(int64_t milliseconds);

// ---- draws files -------------------------------------------------------------
void open_draws_file(const std::string& path);
void save_draws_file(int64_t save_mode, int64_t ask);
void extract_draws_to_text();
void show_draws_file_name();

// ---- Main tab ----------------------------------------------------------------
void build_main_tab();
void handle_draws_tab_event(int64_t event, int64_t gadget);
void clear_draw_list();
void show_preview_window();
// Marks in g_played_numbers / g_played_stars what the listed tickets play and
// sets g_preview_valid, polling one event per ticket; 0 when the player
// aborted with Escape. The preview builds it when it is not valid.
int64_t rebuild_preview_cache();

// ---- Statistics tab ----------------------------------------------------------
void build_statistics_tab();
void handle_statistics_tab_event(int64_t event, int64_t gadget);
void count_number_and_star_frequencies();
void draw_chart_frames();
void draw_frequency_charts();
void clear_best_lists();
void fill_frequency_rankings();
