// The generator on a selection, a bet type, a request and switches taken from
// the bytes:
//
//   byte 0    the bet type, 0..39 (modulo 40)
//   byte 1    bit 0 the techniques switch, bit 1 the neighbour jitter, bit 2
//             the repeat check by scan, bit 3 the technique windows read from
//             the technique settings file in bytes 66.. (else the windows
//             learned at start), bit 4 a large request
//   bytes 2-3 the request: 1 + byte 2 modulo 32, or with bit 4
//             1 + (byte 2 + 256 byte 3) modulo 300 (the repeat check by scan
//             compares each candidate with every listed ticket: 300 keeps
//             an input of a few hundred tickets quick)
//   bytes 4-65 the play states of numbers 1..50 and stars 1..12, each byte
//             modulo 3 (0 not played, 1 played, 2 fixed); a missing byte plays
//             its value
//
// Before each run the list holds two tickets of another size and some hit
// counters are set, so that a refused run can be seen to change nothing. A
// run that passes its checks lists no more tickets than the request and the
// selection allow, each holding every fixed value and otherwise only played
// ones, and with the techniques on each passes the filter. A run that finds
// no new ticket within a number of candidates is stopped with the progress
// window's Cancel, as a player would. (The Generate button around the run
// adds the main window's disabling, whose cost in the toolkit would be most
// of an input's, and reads the windows from the Techniques tab's fields.)
#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/core.h"
#include "core/ids.h"
#include "core/state.h"
#include "core/text.h"
#include "draws/draws.h"
#include "draws/main_tab_ids.h"
#include "draws/selection.h"
#include "fuzz/fuzz_support.h"
#include "support/draws_support.h"
#include "support/program_fixture.h"
#include "techniques/catalogue.h"
#include "techniques/techniques.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

constexpr size_t kStatesStart = 4;
constexpr size_t kTechniquesStart = kStatesStart + 50 + 12;
// Candidates a run may try without a new ticket before Cancel is pressed.
constexpr int64_t kCandidatesWithoutTicket = 150;

int64_t g_candidates_since_ticket = 0;
int64_t g_tickets_seen = 0;
bool g_cancelled = false;

// The generator polls once per candidate, and the seam calls this hook when
// a poll finds nothing queued.
void count_candidate() {
  if (g_cancelled || !ui_window_exists(WINDOW_PROGRESS)) return;
  if (g_draw_count != g_tickets_seen) {
    g_tickets_seen = g_draw_count;
    g_candidates_since_ticket = 0;
  }
  if (++g_candidates_since_ticket == kCandidatesWithoutTicket) {
    g_cancelled = true;
    ui_test_click(GADGET_PROGRESS_CANCEL);
  }
}

// The windows learned at start, slot by slot.
std::vector<int64_t> g_learned_windows;

// n choose k, exactly (the largest, C(50, 25) x C(12, 6), fits in 64 bits).
int64_t choose(int64_t n, int64_t k) {
  if (k < 0 || k > n) return 0;
  unsigned __int128 c = 1;
  for (int64_t i = 1; i <= k; ++i) c = c * static_cast<unsigned __int128>(n - k + i) / static_cast<unsigned __int128>(i);
  return static_cast<int64_t>(c);
}

// A bet type's ticket size, read off its entry "5N + 2S — 2.50 EUR".
std::pair<int64_t, int64_t> ticket_size(int bet_type) {
  const std::string entry = ui_item_text(PREFS_BET_TYPE_LIST, bet_type);
  const size_t n = entry.find("N + ");
  return {std::stoll(entry.substr(0, n)), std::stoll(entry.substr(n + 4))};
}

// The refusal a selection must get, in the order the checks are made; ""
// when none of these applies (with the techniques on the windows may still
// refuse the run: unlearned, or passing no ticket of the selection).
std::string expected_refusal(bool techniques, int64_t per_numbers, int64_t per_stars, int64_t played,
                             int64_t fixed, int64_t played_stars, int64_t fixed_stars) {
  if (techniques && (per_numbers > 5 || per_stars > 2)) return "Techniques only work with simple draws (5N+2S).";
  if (played + fixed < per_numbers) return "Not enough numbers to play with.";
  if (fixed > per_numbers) return "Too many fixed numbers.";
  if (played_stars + fixed_stars < per_stars) return "Not enough stars to play with.";
  if (fixed_stars > per_stars) return "Too many fixed stars.";
  if (fixed >= per_numbers && fixed_stars >= per_stars) return "Too many fixed numbers and stars.";
  return "";
}

// One part of a ticket: `per` values of 1..highest written in decimal without
// leading zeros, ascending, holding every fixed value and otherwise only
// played ones.
void check_ticket_part(const std::string& text, int64_t per, const std::vector<int64_t>& states,
                       int64_t highest) {
  std::vector<int64_t> values;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    const std::string field = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    fuzz_require(!field.empty() && field.size() <= 2 && field[0] != '0' &&
                     std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; }),
                 "a ticket value is written in decimal");
    values.push_back(std::stoll(field));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  fuzz_require(static_cast<int64_t>(values.size()) == per, "a ticket holds as many values as its bet type");
  for (size_t k = 0; k < values.size(); ++k) {
    fuzz_require(values[k] >= 1 && values[k] <= highest, "a ticket value is in the game");
    if (k > 0) fuzz_require(values[k - 1] < values[k], "a ticket's values ascend");
    fuzz_require(states[static_cast<size_t>(values[k])] == 1 || states[static_cast<size_t>(values[k])] == 2,
                 "a ticket holds only played and fixed values");
  }
  for (int64_t v = 1; v <= highest; ++v)
    if (states[static_cast<size_t>(v)] == 2)
      fuzz_require(std::count(values.begin(), values.end(), v) == 1, "a ticket holds every fixed value");
}

// With the techniques on: how many tickets of the selection (5 numbers and 2
// stars) pass the filter, counted here one by one; -1 when there are too
// many to count at each input.
int64_t passing_tickets(int64_t different) {
  if (different > 600) return -1;
  auto passing_sets = [](const std::vector<int64_t>& states, int64_t highest, int64_t per, bool stars) {
    std::vector<int64_t> fixed, played;
    for (int64_t v = 1; v <= highest; ++v) {
      if (states[static_cast<size_t>(v)] == 2) fixed.push_back(v);
      if (states[static_cast<size_t>(v)] == 1) played.push_back(v);
    }
    const int64_t free = per - static_cast<int64_t>(fixed.size());
    int64_t count = 0;
    // Every choice of `free` played values, in ascending order of their indexes.
    std::vector<int> chosen(static_cast<size_t>(free));
    std::function<void(size_t, size_t)> walk = [&](size_t from, size_t k) {
      if (k == chosen.size()) {
        std::vector<int64_t> values = fixed;
        for (int i : chosen) values.push_back(played[static_cast<size_t>(i)]);
        std::sort(values.begin(), values.end());
        std::string text;
        for (int64_t v : values) text += (text.empty() ? "" : ",") + std::to_string(v);
        count += (stars ? check_star_windows(text) : check_number_techniques(text)) == 1;
        return;
      }
      for (size_t i = from; i < played.size(); ++i) {
        chosen[k] = static_cast<int>(i);
        walk(i + 1, k + 1);
      }
    };
    walk(0, 0);
    return count;
  };
  return passing_sets(g_number_play_state, 50, 5, false) * passing_sets(g_star_play_state, 12, 2, true);
}

struct ListState {
  int64_t count;
  std::vector<std::string> numbers;
  std::vector<std::string> stars;
  int64_t numbers_per_draw;
  int64_t stars_per_draw;
  std::array<int64_t, 18> hits;
  std::vector<std::string> rows;
  bool operator==(const ListState&) const = default;
};

ListState list_state() {
  ListState s;
  s.count = g_draw_count;
  s.numbers.assign(g_draw_numbers.begin(), g_draw_numbers.begin() + std::min<int64_t>(g_draw_count + 1, g_draw_numbers.size()));
  s.stars.assign(g_draw_stars.begin(), g_draw_stars.begin() + std::min<int64_t>(g_draw_count + 1, g_draw_stars.size()));
  s.numbers_per_draw = g_numbers_per_draw;
  s.stars_per_draw = g_stars_per_draw;
  s.hits = {g_hits_5_2, g_hits_5_1, g_hits_5_0, g_hits_4_2, g_hits_4_1, g_hits_4_0, g_hits_3_2, g_hits_3_1, g_hits_3_0,
            g_hits_2_2, g_hits_2_1, g_hits_2_0, g_hits_1_2, g_hits_1_1, g_hits_1_0, g_hits_0_2, g_hits_0_1, g_hits_0_0};
  for (int row = 0; row < ui_count_items(GADGET_DRAW_LIST); ++row)
    for (int column : {0, 1, 7, 12, 14, 24})
      s.rows.push_back(ui_item_text(GADGET_DRAW_LIST, row, column));
  return s;
}

// The list a run finds: two tickets of 7 numbers and 3 stars, checked
// against a result, with some counters set.
void list_earlier_tickets() {
  clear_draw_list();
  list_tickets({{"1,2,3,4,5,6,7", "1,2,3"}, {"8,13,21,34,40,45,50", "4,8,12"}});
  g_numbers_per_draw = 7;
  g_stars_per_draw = 3;
  g_hits_3_2 = 1;
  g_hits_0_1 = 1;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start_program();
  fuzz_learn_sample_database();
  fuzz_drop_association_grid();
  ui_test_select_tab(GADGET_PANEL, TAB_MAIN);
  for (const TechniqueSlot& slot : g_technique_slots) g_learned_windows.push_back(*slot.value);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto byte = [&](size_t k, uint8_t missing) { return k < size ? data[k] : missing; };
  const int bet_type = byte(0, 0) % BET_TYPE_COUNT;
  const uint8_t flags = byte(1, 1);
  const bool techniques = (flags & 1) != 0;
  const int64_t requested = (flags & 16) != 0 ? 1 + (byte(2, 2) + 256 * byte(3, 0)) % 300 : 1 + byte(2, 2) % 32;
  for (int64_t n = 1; n <= 50; ++n) g_number_play_state[static_cast<size_t>(n)] = byte(kStatesStart + n - 1, 1) % 3;
  for (int64_t s = 1; s <= 12; ++s) g_star_play_state[static_cast<size_t>(s)] = byte(kStatesStart + 49 + s, 1) % 3;
  update_selection_counts();
  g_use_special_techniques = techniques ? 1 : 0;
  g_neighbour_jitter = (flags & 2) != 0 ? 1 : 0;
  g_scan_for_repeats = (flags & 4) != 0 ? 1 : 0;
  ui_set_state(PREFS_BET_TYPE_LIST, bet_type);
  for (size_t k = 0; k < g_learned_windows.size(); ++k) *g_technique_slots[k].value = g_learned_windows[k];
  if ((flags & 8) != 0 && size > kTechniquesStart) {
    fuzz_write_file(fuzz_directory() + "settings/techniques.prefs",
                    fuzz_bytes(data + kTechniquesStart, size - kTechniquesStart));
    reset_technique_windows();
    load_technique_prefs();
  }

  FuzzEmptyDrawListAfter empty_list_after;
  list_earlier_tickets();
  const ListState before = list_state();
  ui_test_clear_messages();
  g_draws_to_generate = requested;
  g_candidates_since_ticket = 0;
  g_tickets_seen = 0;
  g_cancelled = false;
  ui_test_set_idle_hook(count_candidate);
  const bool made = generate_draws();
  fuzz_require(made == ui_test_messages().empty(), "a run is refused with a message, and only then");
  ui_test_set_idle_hook(nullptr);
  run_pending_events();
  fuzz_require(g_draws_to_generate <= requested, "the run asked for at most the request");

  const auto [per_numbers, per_stars] = ticket_size(bet_type);
  int64_t played = 0, fixed = 0, played_stars = 0, fixed_stars = 0;
  for (int64_t n = 1; n <= 50; ++n) {
    played += g_number_play_state[static_cast<size_t>(n)] == 1;
    fixed += g_number_play_state[static_cast<size_t>(n)] == 2;
  }
  for (int64_t s = 1; s <= 12; ++s) {
    played_stars += g_star_play_state[static_cast<size_t>(s)] == 1;
    fixed_stars += g_star_play_state[static_cast<size_t>(s)] == 2;
  }
  const std::string refusal =
      expected_refusal(techniques, per_numbers, per_stars, played, fixed, played_stars, fixed_stars);
  if (!refusal.empty()) {
    fuzz_require(!made && ui_test_messages().size() == 1 && ui_test_messages()[0].text == translate(refusal.c_str()),
                 "a selection the game cannot play is refused with its reason");
  } else if (!techniques) {
    fuzz_require(made, "a selection the game can play is not refused");
  }
  if (!made) {
    fuzz_require(list_state() == before, "a refused run changes nothing");
    return 0;
  }

  const int64_t different = choose(played, per_numbers - fixed) * choose(played_stars, per_stars - fixed_stars);
  // The run's cap, left in the request: what was asked, or every ticket of
  // the selection (with the techniques on, every one that passes them).
  const int64_t cap = g_draws_to_generate;
  fuzz_require(g_draw_count >= 0 && g_draw_count <= requested, "no more tickets than asked for");
  fuzz_require(cap <= std::min(requested, different), "no more tickets than the selection allows");
  if (!techniques) fuzz_require(cap == std::min(requested, different), "the cap is the request or every ticket");
  else if (const int64_t passing = passing_tickets(different); passing >= 0)
    fuzz_require(cap == std::min(requested, passing), "the cap is the request or every ticket that passes");
  if (!g_cancelled) fuzz_require(g_draw_count == cap, "a run ends with its cap, by itself");
  else fuzz_require(g_draw_count < cap, "only a run short of its cap is cancelled");
  fuzz_require(ui_count_items(GADGET_DRAW_LIST) == g_draw_count, "one row per ticket");
  fuzz_require(g_numbers_per_draw == per_numbers && g_stars_per_draw == per_stars, "the bet type's sizes are in force");
  fuzz_require(g_hits_3_2 == 0 && g_hits_0_1 == 0, "a run starts the hit counters afresh");
  std::set<std::pair<std::string, std::string>> tickets;
  for (int64_t i = 1; i <= g_draw_count; ++i) {
    const std::string& numbers = g_draw_numbers[static_cast<size_t>(i)];
    const std::string& stars = g_draw_stars[static_cast<size_t>(i)];
    check_ticket_part(numbers, per_numbers, g_number_play_state, 50);
    check_ticket_part(stars, per_stars, g_star_play_state, 12);
    if (techniques)
      fuzz_require(check_number_techniques(numbers) == 1 && check_star_windows(stars) == 1,
                   "every generated ticket passes the techniques");
    fuzz_require(tickets.emplace(numbers, stars).second, "a ticket is listed once");
  }
  return 0;
}
