// The generator behind "Generate Draws": random tickets from the player's
// selection, repeats and (while the option is on) technique failures dropped,
// with the progress window 155 serviced by one event poll per candidate.
#include <algorithm>
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

// With the techniques on (simple tickets only): how many tickets of the
// selection pass them, counted until there are `enough`. The number check
// reads only the numbers and the star check only the stars, so the passing
// tickets are the passing number sets times the passing star pairs.
int64_t tickets_passing_techniques(int64_t enough) {
  const std::vector<int64_t> fixed_stars = values_in_state(g_star_play_state, g_highest_star, 2);
  const std::vector<int64_t> played_stars = values_in_state(g_star_play_state, g_highest_star, 1);
  int64_t star_pairs = 0;
  auto count_pair = [&](std::vector<int64_t> pair) {
    std::sort(pair.begin(), pair.end());
    if (check_star_windows(str_int(pair[0]) + "," + str_int(pair[1])) == 1) ++star_pairs;
  };
  const size_t free_stars = 2 - std::min<size_t>(fixed_stars.size(), 2);
  if (free_stars == 0) {
    count_pair({fixed_stars[0], fixed_stars[1]});
  } else if (free_stars == 1) {
    for (int64_t s : played_stars) count_pair({fixed_stars[0], s});
  } else {
    for (size_t i = 0; i < played_stars.size(); ++i)
      for (size_t j = i + 1; j < played_stars.size(); ++j)
        count_pair({played_stars[i], played_stars[j]});
  }
  if (star_pairs == 0) return 0;
  const int64_t number_sets_needed = std::max<int64_t>(1, (enough + star_pairs - 1) / star_pairs);
  return star_pairs * count_passing_numbers(values_in_state(g_number_play_state, g_highest_number, 2),
                                            values_in_state(g_number_play_state, g_highest_number, 1),
                                            number_sets_needed);
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
  if (refusal.empty() && g_use_special_techniques == 1) {
    const int64_t passing = tickets_passing_techniques(std::max<int64_t>(cap, 1));
    if (passing == 0)
      refusal = translate("No ticket of this selection passes the techniques. Widen the pool or the "
                          "technique windows, or turn the techniques off.");
    cap = std::min(cap, passing);
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
  // The window's first labels already show the elapsed time, so the run's
  // start is taken before they are made, not left at the previous run's.
  g_generation_start_ms = ui_milliseconds();
  fill_progress_window();
  ui_clear_items(GADGET_DRAW_LIST);
  forget_listed_tickets();
  g_preview_valid = 0;
  ui_add_timer(WINDOW_PROGRESS, TIMER_LONG_OPERATION, 800);

  while (g_draw_count < g_draws_to_generate) {
    std::string numbers = build_candidate_text(g_pick_numbers, 12, g_fixed_number_count,
                                               g_number_play_state, g_highest_number,
                                               g_numbers_per_draw);
    std::string stars = build_candidate_text(g_pick_stars, 13, g_fixed_star_count,
                                             g_star_play_state, g_highest_star, g_stars_per_draw);

    int kind = ui_poll_event();
    if (kind == UI_EVENT_TIMER && ui_event_object() == TIMER_LONG_OPERATION) {
      show_progress_counts();
      show_progress_rejections();
    } else if (kind == UI_EVENT_GADGET && ui_event_object() == GADGET_PROGRESS_CANCEL) {
      close_progress_window();
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
