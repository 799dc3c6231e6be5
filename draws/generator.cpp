// The generator behind "Generate Draws": random tickets from the player's
// selection, repeats and (while the option is on) technique failures dropped,
// with the progress window 155 serviced by one event poll per candidate; or,
// where finding every ticket that passes the techniques costs less than
// drawing candidates until enough pass, tickets taken at random from those
// that pass, one poll per ticket.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/core.h"
#include "core/ids.h"
#include "core/random.h"
#include "core/text.h"
#include "draws/draws.h"
#include "draws/main_tab_ids.h"
#include "draws/selection.h"
#include "techniques/techniques.h"
#include "ui/ui.h"

namespace {

int64_t g_generation_start_ms = 0;  // milliseconds counter when the run began

std::string money(float amount) { return format_number(amount, 2) + " " + g_currency; }

// One candidate's numbers (or stars) text. picks is g_pick_numbers (or
// g_pick_stars), play_state the states of 1..highest, per_draw the values a
// ticket holds. The caller's checks guarantee enough played values, so the
// random picks always complete.
std::string build_candidate_text(std::vector<int64_t>& picks, size_t slots, int64_t fixed_count,
                                 const std::vector<int64_t>& play_state, int64_t highest,
                                 int64_t per_draw) {
  picks.assign(slots, 0);
  int64_t k = 0;
  if (fixed_count >= 1) {
    for (int64_t n = 1; n <= highest && k < fixed_count; ++n)
      if (play_state[n] == 2) picks[++k] = n;
  }
  while (k < per_draw) {
    int64_t r = random_between(1, highest);
    if (g_neighbour_jitter == 1) {
      int64_t j = random_between(0, 2);
      if (j == 1) r = std::max<int64_t>(r - 1, 1);
      else if (j == 2) r = std::min(r + 1, highest);
    }
    if (play_state[r] != 1) continue;
    bool taken = false;
    for (int64_t i = 1; i <= k; ++i) taken |= picks[i] == r;
    if (!taken) picks[++k] = r;
  }
  std::sort(picks.begin() + 1, picks.begin() + 1 + k);
  // Values are at most two digits, so 12 values fit in 36 characters.
  char buf[48];
  int len = 0;
  for (int64_t i = 1; i <= per_draw; ++i) {
    if (i > 1) buf[len++] = ',';
    int64_t v = picks[i];
    if (v >= 10) buf[len++] = static_cast<char>('0' + v / 10);
    buf[len++] = static_cast<char>('0' + v % 10);
  }
  return std::string(buf, len);
}

}  // namespace

void show_progress_counts() {
  // A run with nothing to make is complete: 0 of 0 reads 100%, not "nan%".
  double percent = g_draws_to_generate == 0 ? 100.0
                                            : static_cast<double>(g_draw_count) * 100 /
                                                  static_cast<double>(g_draws_to_generate);
  ui_set_text(GADGET_PROGRESS_GENERATED,
              translate("Generated:") + format_number(static_cast<double>(g_draw_count), 0) + "/" +
                  format_number(static_cast<double>(g_draws_to_generate), 0) + " (" +
                  format_percent(static_cast<float>(percent)) + "%)");
  ui_set_text(GADGET_PROGRESS_COST, translate("     Cost:") + money(tickets_cost(g_draw_count)));
  ui_set_text(GADGET_PROGRESS_ELAPSED,
              "         " + format_elapsed_time(ui_milliseconds() - g_generation_start_ms));
}

void show_progress_rejections() {
  ui_set_text(GADGET_PROGRESS_REPEATED,
              translate("   Repeated:") + format_number(static_cast<double>(g_repeated_count), 0));
  ui_set_text(GADGET_PROGRESS_TECHNIQUES,
              translate(" Techniques:") +
                  format_number(static_cast<double>(g_technique_reject_count), 0));
  ui_set_text(GADGET_PROGRESS_COMMON,
              " (" + translate("Max Common Numbers:") +
                  format_number(static_cast<double>(g_common_rejections), 0) + ")");
}

namespace {

bool open_progress_window() {
  if (!ui_open_window(WINDOW_PROGRESS, 0, 0, 410, 240, translate("Generating Draws..."),
                      UI_WINDOW_CAPTION | UI_WINDOW_CENTER_SCREEN, WINDOW_MAIN)) {
    report_window_failure();
    return false;
  }
  return true;
}

// The labels are made once the run's counters are set, which they show.
void fill_progress_window() {
  int h = static_cast<int>(g_text_height);
  int y = 10;
  ui_label(GADGET_PROGRESS_GENERATED, 10, y, 300, h, "");
  y += h + 2;
  ui_label(GADGET_PROGRESS_COST, 10, y, 300, h, "");
  y += h + 2;
  ui_label(GADGET_PROGRESS_ELAPSED, 10, y, 300, h, "");
  y += 2 * h + 4;
  ui_label(GADGET_PROGRESS_REASONS, 10, y, 300, h, translate("Delete reasons:"));
  y += h + 2;
  ui_label(GADGET_PROGRESS_REPEATED, 10, y, 300, h, "");
  y += h + 2;
  ui_label(GADGET_PROGRESS_TECHNIQUES, 10, y, 300, h, "");
  y += h + 2;
  ui_label(GADGET_PROGRESS_COMMON, 10, y, 300, h, "");
  ui_button(GADGET_PROGRESS_CANCEL, 10, 230 - static_cast<int>(g_button_height), 90,
            static_cast<int>(g_button_height), translate("Cancel"));
  show_progress_counts();
  show_progress_rejections();
}

void close_progress_window() {
  ui_remove_timer(WINDOW_PROGRESS, TIMER_LONG_OPERATION);
  ui_close_window(WINDOW_PROGRESS);
}

// The refusals of generate_draws, in the order they are tested: the
// translated warning, or "" for none.
std::string generation_refusal() {
  if (g_use_special_techniques == 1 && (g_numbers_per_draw > 5 || g_stars_per_draw >= 3))
    return translate("Techniques only work with simple draws (5N+2S).");
  if (g_played_number_count + g_fixed_number_count < g_numbers_per_draw)
    return translate("Not enough numbers to play with.");
  if (g_fixed_number_count > g_numbers_per_draw) return translate("Too many fixed numbers.");
  if (g_played_star_count + g_fixed_star_count < g_stars_per_draw)
    return translate("Not enough stars to play with.");
  if (g_fixed_star_count > g_stars_per_draw) return translate("Too many fixed stars.");
  if (g_fixed_number_count >= g_numbers_per_draw && g_fixed_star_count >= g_stars_per_draw)
    return translate("Too many fixed numbers and stars.");
  // Every cost of the run is counted at this price.
  const int64_t bet_type = ui_state(PREFS_BET_TYPE_LIST);
  if (bet_type_price_is_valid(bet_type) == 0) return invalid_price_message(bet_type);
  // No candidate could ever pass: the run would go on until Cancel.
  if (g_use_special_techniques == 1 && technique_windows_admit_tickets() == 0)
    return translate("The techniques must be learned first (Learn on the Techniques tab), or the "
                     "techniques option turned off.");
  return "";
}

// How many different tickets the selection allows for the ticket size in
// force: every ticket holds the fixed values, and the played ones fill the
// rest (a part that is wholly fixed has one way, C(n, 0) = 1).
int64_t different_tickets() {
  return combinations(g_played_number_count, g_numbers_per_draw - g_fixed_number_count) *
         combinations(g_played_star_count, g_stars_per_draw - g_fixed_star_count);
}

// The values of 1..highest in one play state, ascending.
std::vector<int64_t> values_in_state(const std::vector<int64_t>& play_state, int64_t highest,
                                     int64_t state) {
  std::vector<int64_t> values;
  for (int64_t v = 1; v <= highest; ++v)
    if (play_state[v] == state) values.push_back(v);
  return values;
}

// ---- the tickets that pass the techniques ---------------------------------------
//
// With the techniques on (simple tickets only) the run first counts the
// tickets of the selection that pass them. The number check reads only the
// numbers and the star check only the stars, so the passing tickets are the
// passing number sets times the passing star pairs, and ticket i of them is
// number set i / pairs with star pair i % pairs.
//
// The random loop draws candidates evenly over the selection's different
// tickets and keeps each new one that passes: to list k of p passing tickets
// out of d it draws d / p + d / (p - 1) + ... + d / (p - k + 1) candidates
// on average, the last ones the most (listing all p takes about d ln p).
// Walking every number set once costs a fixed amount instead. Where the walk
// is the cheaper of the two, the run keeps the passing number sets and takes
// its tickets from them at random: a uniformly random set of k in a
// uniformly random order, as the loop lists, without the wait. What it holds
// is 4 bytes per passing number set (at most C(50, 5) = 2,118,760 of them,
// 8.5 MB) and an entry per ticket listed, however many tickets pass.

// What one walked number set costs, counted in candidates of the random
// loop. A candidate is built, polled for, looked up among the listed tickets
// and checked; a walked set is only checked, with no text: measured 0.04
// to 0.13 (bench/generator_bench, with the windows after Remove at 10 % and
// after Learn alone), taken as 0.1.
constexpr double kWalkCostPerSet = 0.1;

// 1 + 1/2 + ... + 1/n.
double harmonic(int64_t n) {
  if (n < 64) {
    double h = 0;
    for (int64_t i = n; i >= 1; --i) h += 1.0 / static_cast<double>(i);
    return h;
  }
  const double x = static_cast<double>(n);
  return std::log(x) + 0.57721566490153286 + 1 / (2 * x) - 1 / (12 * x * x);
}

// Candidates the random loop draws on average to list k of `passing`
// tickets out of `different`.
double expected_candidates(double different, int64_t passing, int64_t k) {
  return different * (harmonic(passing) - harmonic(passing - k));
}

// The fewest passing tickets from which the random loop lists `cap` of them
// for no more than a walk over every number set costs, or `different` + 1
// when the walk is cheaper even if every ticket passes. The fewer pass, the
// more candidates the loop needs.
int64_t random_loop_pays_from(int64_t cap, int64_t different, double number_sets) {
  const double walk = number_sets * kWalkCostPerSet;
  const double d = static_cast<double>(different);
  int64_t low = std::max<int64_t>(cap, 1);
  int64_t high = different;
  if (low > high) return different + 1;
  if (expected_candidates(d, low, cap) <= walk) return low;
  if (expected_candidates(d, high, cap) > walk) return different + 1;
  while (high - low > 1) {
    const int64_t middle = low + (high - low) / 2;
    if (expected_candidates(d, middle, cap) <= walk) high = middle;
    else low = middle;
  }
  return high;
}

struct PassingTickets {
  int64_t count = 0;  // passing tickets, counted until the random loop pays
  // Every passing number set was found and is kept here: the run lists from them.
  bool held = false;
  std::vector<uint32_t> number_sets;    // packed as walk_number_sets packs them
  std::vector<std::string> star_pairs;  // stars texts
  int64_t common_rejected_sets = 0;     // number sets that fail on the common numbers
  int64_t star_pairs_in_selection = 0;
};

// The selection's star pairs that pass the star check, as stars texts; the
// pairs of the selection are counted into `in_selection`.
std::vector<std::string> passing_star_pairs(int64_t& in_selection) {
  const std::vector<int64_t> fixed_stars = values_in_state(g_star_play_state, g_highest_star, 2);
  const std::vector<int64_t> played_stars = values_in_state(g_star_play_state, g_highest_star, 1);
  std::vector<std::string> passing;
  in_selection = 0;
  auto check_pair = [&](int64_t a, int64_t b) {
    ++in_selection;
    const std::string text = str_int(std::min(a, b)) + "," + str_int(std::max(a, b));
    if (check_star_windows(text) == 1) passing.push_back(text);
  };
  const size_t free_stars = 2 - std::min<size_t>(fixed_stars.size(), 2);
  if (free_stars == 0) {
    check_pair(fixed_stars[0], fixed_stars[1]);
  } else if (free_stars == 1) {
    for (int64_t s : played_stars) check_pair(fixed_stars[0], s);
  } else {
    for (size_t i = 0; i < played_stars.size(); ++i)
      for (size_t j = i + 1; j < played_stars.size(); ++j) check_pair(played_stars[i], played_stars[j]);
  }
  return passing;
}

// The passing tickets of the selection, for a run that lists `cap`: all of
// them when the walk is the cheaper way to list them, otherwise counted only
// until the random loop pays (and there are at least `cap`).
PassingTickets tickets_passing_techniques(int64_t cap) {
  PassingTickets tickets;
  int64_t& pairs_in_selection = tickets.star_pairs_in_selection;
  tickets.star_pairs = passing_star_pairs(pairs_in_selection);
  const int64_t pairs = static_cast<int64_t>(tickets.star_pairs.size());
  if (pairs == 0) return tickets;
  const std::vector<int64_t> fixed = values_in_state(g_number_play_state, g_highest_number, 2);
  const std::vector<int64_t> played = values_in_state(g_number_play_state, g_highest_number, 1);
  const double number_sets = static_cast<double>(
      combinations(static_cast<int64_t>(played.size()), 5 - static_cast<int64_t>(fixed.size())));
  const int64_t stop_at = random_loop_pays_from(
      cap, static_cast<int64_t>(number_sets) * pairs_in_selection, number_sets);
  NumberSetWalk walk = walk_number_sets(fixed, played, std::max<int64_t>(1, (stop_at + pairs - 1) / pairs), true);
  tickets.count = walk.passing * pairs;
  tickets.held = walk.complete;
  if (tickets.held) {
    tickets.number_sets = std::move(walk.passing_sets);
    tickets.common_rejected_sets = walk.common_rejections;
  }
  return tickets;
}

// The numbers text of a packed number set.
std::string number_set_text(uint32_t packed) {
  std::string text;
  for (int k = 0; k < 5; ++k) {
    if (k > 0) text += ',';
    text += str_int((packed >> (6 * k)) & 63);
  }
  return text;
}

// One event for the progress window: the timer refreshes its labels, Cancel
// closes it. True on Cancel.
bool progress_cancelled() {
  int kind = ui_poll_event();
  if (kind == UI_EVENT_TIMER && ui_event_object() == TIMER_LONG_OPERATION) {
    show_progress_counts();
    show_progress_rejections();
  } else if (kind == UI_EVENT_GADGET && ui_event_object() == GADGET_PROGRESS_CANCEL) {
    close_progress_window();
    return true;
  }
  return false;
}

// The order of a partial shuffle of the indexes 0 .. count - 1 of the held
// tickets. Only the positions swapped so far are stored, with the ticket each
// holds now; every other position still holds its own index. They sit in an
// open-addressing table of a power-of-two size at least twice the tickets to
// list, one position at most per ticket; key 0 marks a free slot, so a
// position is stored as position + 1. Indexes fit 32 bits: a simple
// ticket's selection has at most 139,838,160.
struct ShuffleOrder {
  std::vector<uint32_t> keys, tickets;
};

ShuffleOrder shuffle_order_for(int64_t to_list) {
  size_t size = 16;
  while (size < 2 * static_cast<size_t>(to_list)) size *= 2;
  ShuffleOrder shuffle;
  shuffle.keys.assign(size, 0);
  shuffle.tickets.resize(size);
  return shuffle;
}

size_t swap_slot(const ShuffleOrder& shuffle, int64_t position) {
  const size_t mask = shuffle.keys.size() - 1;
  const uint32_t key = static_cast<uint32_t>(position + 1);
  size_t at = static_cast<size_t>((static_cast<uint64_t>(key) * 0x9E3779B97F4A7C15ull) >> 32) & mask;
  while (shuffle.keys[at] != 0 && shuffle.keys[at] != key) at = (at + 1) & mask;
  return at;
}

int64_t ticket_at(const ShuffleOrder& shuffle, int64_t position) {
  const size_t at = swap_slot(shuffle, position);
  return shuffle.keys[at] != 0 ? shuffle.tickets[at] : position;
}

void set_ticket_at(ShuffleOrder& shuffle, int64_t position, int64_t ticket) {
  const size_t at = swap_slot(shuffle, position);
  shuffle.keys[at] = static_cast<uint32_t>(position + 1);
  shuffle.tickets[at] = static_cast<uint32_t>(ticket);
}

// Lists g_draws_to_generate of the held tickets, a partial Fisher-Yates
// shuffle of their indexes drawing each next one evenly from those not yet
// listed: step i swaps position i with a random position j from i on and
// lists what j held. Position i is never read again, so only j's new ticket
// is stored. False on Cancel.
bool list_held_tickets(const PassingTickets& tickets) {
  const int64_t pairs = static_cast<int64_t>(tickets.star_pairs.size());
  ShuffleOrder shuffle = shuffle_order_for(g_draws_to_generate - g_draw_count);
  for (int64_t i = 0; g_draw_count < g_draws_to_generate; ++i) {
    const int64_t j = random_between(i, tickets.count - 1);
    const int64_t ticket = ticket_at(shuffle, j);
    if (j != i) set_ticket_at(shuffle, j, ticket_at(shuffle, i));
    std::string numbers = number_set_text(tickets.number_sets[static_cast<size_t>(ticket / pairs)]);
    const std::string& stars = tickets.star_pairs[static_cast<size_t>(ticket % pairs)];
    if (progress_cancelled()) return false;
    ++g_draw_count;
    add_draw_to_list(numbers, stars);
  }
  return true;
}

}  // namespace

std::string format_percent(float value) {
  std::string s = format_number(value, 2, false);
  size_t point = s.find('.');
  if (point != std::string::npos && s.size() - point - 1 == 2) s = replace_string(s, ".00", "");
  return s;
}

std::string format_elapsed_time(int64_t milliseconds) {
  int64_t days = milliseconds / 86400000;
  int64_t secs = (milliseconds / 1000) % 86400;
  std::string s = str_int(days) + "d" + two_digits(secs / 3600) + "h" +
                  two_digits(secs / 60 % 60) + "m" + two_digits(secs % 60) + "s";
  if (s.rfind("0d00h", 0) == 0) s = text_mid(s, 6, 6);
  else if (s.rfind("0d", 0) == 0) s = text_mid(s, 3, 9);
  return " \u231A" + s;
}

bool generate_draws() {
  // The ticket size comes from the front of the entry text, "5N + 2S — 2.50 EUR":
  // the first and third blank-separated fields without their letter.
  const std::string entry = ui_text(PREFS_BET_TYPE_LIST);
  auto without_letter = [](const std::string& field) {
    return val_int(text_left(field, text_length(field) - 1));
  };
  // A refused run changes nothing: the listed tickets keep their sizes.
  const int64_t listed_numbers_per_draw = g_numbers_per_draw;
  const int64_t listed_stars_per_draw = g_stars_per_draw;
  g_numbers_per_draw = without_letter(string_field(entry, 1, " "));
  g_stars_per_draw = without_letter(string_field(entry, 3, " "));
  std::string refusal = generation_refusal();
  // Beyond the different tickets there are only repeats, and with the
  // techniques on beyond the tickets that pass them only rejections: the
  // cap keeps every run finite. The caller restores the request afterwards.
  int64_t cap = refusal.empty() ? std::min(g_draws_to_generate, different_tickets()) : 0;
  PassingTickets passing;
  if (refusal.empty() && g_use_special_techniques == 1) {
    passing = tickets_passing_techniques(cap);
    if (passing.count == 0)
      refusal = translate("No ticket of this selection passes the techniques. Widen the pool or the "
                          "technique windows, or turn the techniques off.");
    cap = std::min(cap, passing.count);
  }
  auto keep_listed_sizes = [&] {
    g_numbers_per_draw = listed_numbers_per_draw;
    g_stars_per_draw = listed_stars_per_draw;
  };
  if (!refusal.empty()) {
    keep_listed_sizes();
    ui_message(translate("Warning!"), refusal, UI_ICON_WARNING);
    return false;
  }
  // A window that cannot open is refused like the checks: opened before
  // anything of the listed tickets is touched.
  if (!open_progress_window()) {
    keep_listed_sizes();
    return false;
  }
  g_draw_count = 0;
  ui_set_text(GADGET_DRAWS_LABEL, translate("Draws:") + format_number(0, 0) + "/" +
                                      format_number(static_cast<double>(g_draws_to_generate), 0));
  ui_set_text(GADGET_COST_LABEL, translate("  Cost:") + "0.00" + " " + g_currency);
  show_zero_rejection_labels();
  g_draws_to_generate = cap;

  seed_random(static_cast<uint32_t>(ui_milliseconds()));
  reset_hit_counters();
  show_hit_counters();
  size_draw_list(g_draws_to_generate);
  g_repeated_count = 0;
  g_technique_reject_count = 0;
  g_common_rejections = 0;
  if (passing.held) {
    // Every ticket of the selection is judged once: those the techniques rule
    // out, and among them those whose numbers pass every window and then
    // fail on the common numbers (the star check never sees them).
    g_technique_reject_count = different_tickets() - passing.count;
    g_common_rejections = passing.common_rejected_sets * passing.star_pairs_in_selection;
  }
  // The window's first labels already show the elapsed time, so the run's
  // start is taken before they are made, not left at the previous run's.
  g_generation_start_ms = ui_milliseconds();
  fill_progress_window();
  ui_clear_items(GADGET_DRAW_LIST);
  forget_listed_tickets();
  g_preview_valid = 0;
  ui_add_timer(WINDOW_PROGRESS, TIMER_LONG_OPERATION, 800);

  // Held tickets are all listed here, which leaves the loop nothing to do.
  if (passing.held && !list_held_tickets(passing)) {
    g_draws_changed = g_draw_count > 0 ? 1 : 0;
    return true;
  }
  while (g_draw_count < g_draws_to_generate) {
    std::string numbers = build_candidate_text(g_pick_numbers, 12, g_fixed_number_count,
                                               g_number_play_state, g_highest_number,
                                               g_numbers_per_draw);
    std::string stars = build_candidate_text(g_pick_stars, 13, g_fixed_star_count,
                                             g_star_play_state, g_highest_star, g_stars_per_draw);

    if (progress_cancelled()) {
      g_draws_changed = g_draw_count > 0 ? 1 : 0;
      return true;
    }

    if (g_draw_count > 0 && (g_scan_for_repeats == 1 ? ticket_is_listed_by_scan(numbers, stars)
                                                     : ticket_is_listed(numbers, stars))) {
      ++g_repeated_count;
      continue;
    }
    if (g_use_special_techniques == 1 &&
        (check_number_techniques(numbers) == 0 || check_star_windows(stars) == 0)) {
      ++g_technique_reject_count;
      continue;
    }
    ++g_draw_count;
    add_draw_to_list(numbers, stars);
  }

  ui_remove_timer(WINDOW_PROGRESS, TIMER_LONG_OPERATION);
  show_progress_counts();
  show_progress_rejections();
  ui_delay(500);
  ui_close_window(WINDOW_PROGRESS);
  // Tickets that are in no file yet: Open asks before it replaces them.
  g_draws_changed = g_draw_count > 0 ? 1 : 0;
  return true;
}

void generate_requested_draws() {
  ui_disable_window(WINDOW_MAIN, true);
  read_technique_windows();

  // generate_draws lowers the request to what the selection allows once the
  // ticket size of this run is known. A refused run leaves the list and its
  // summary as they were.
  int64_t requested = g_draws_to_generate;
  const bool ran = generate_draws();
  g_draws_to_generate = requested;
  ui_disable_window(WINDOW_MAIN, false);
  if (!ran) return;

  show_run_summary(requested);
}

void show_run_summary(int64_t requested) {
  ui_set_text(GADGET_DRAWS_LABEL, translate("Draws:") +
                                      format_number(static_cast<double>(g_draw_count), 0) + "/" +
                                      format_number(static_cast<double>(requested), 0));
  ui_set_text(GADGET_COST_LABEL, translate("  Cost:") + money(tickets_cost(g_draw_count)));
  ui_set_text(GADGET_REPEATED_LABEL,
              translate("  Repeated:") + format_number(static_cast<double>(g_repeated_count), 0));
  std::string techniques =
      translate("Techniques:") + format_number(static_cast<double>(g_technique_reject_count), 0);
  if (g_technique_reject_count != 0)
    techniques += " (" + translate("Saved:") + money(tickets_cost(g_technique_reject_count)) + ")";
  ui_set_text(GADGET_TECHNIQUES_LABEL, techniques);
  ui_set_text(GADGET_COMMON_LABEL, std::string("(") + translate("Max Common Numbers:") +
                                       format_number(static_cast<double>(g_common_rejections), 0) +
                                       ")");
}

void show_zero_rejection_labels() {
  ui_set_text(GADGET_REPEATED_LABEL, translate("  Repeated:") + "0");
  ui_set_text(GADGET_TECHNIQUES_LABEL, translate("Techniques:") + "0");
  ui_set_text(GADGET_COMMON_LABEL, std::string("(") + translate("Max Common Numbers:") + "0)");
}
