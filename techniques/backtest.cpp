// The back-test's counts. Every figure is exact: the tickets of the game are
// walked one by one, never sampled.
//
// What a ticket shows for a technique is its statistic as Learn counts it
// (technique_statistics), read for each of the C(N,5) sets of five numbers
// and each of the C(M,2) pairs of stars; the counts of the five numbers in a
// set or an ending come from the candidate filter's lanes, which the walk
// over the number sets adds up as it goes. The number checks read the
// numbers only and the star checks the stars only, so the tickets a set of
// windows keeps are the number sets it keeps times the star pairs it keeps.
//
// - For one technique alone, the sets are counted once by the value they
//   show (one histogram per technique, kept for the game size), and any
//   window's count is the sum of the histogram over the window.
// - For all the checks together, the number sets are walked once for several
//   sets of windows at a time (the fields' windows, or the windows of every
//   walked result): for each technique and value a bit mask says which sets
//   of windows admit it, so a number set is checked against all of them with
//   one AND per technique.
// - A ticket of five different numbers shares more than L numbers with a
//   past result exactly when one of its subsets of L + 1 numbers lies among
//   the result's numbers. The first past result holding each such subset is
//   looked up in an array over all the subsets, which gives for each number
//   set the first result it shares too many numbers with: it passes the
//   check against the first k results when that one comes later.
#include "techniques/backtest.h"

#include <algorithm>
#include <climits>
#include <span>

#include "core/core.h"
#include "core/text.h"
#include "draws/draws.h"
#include "techniques/catalogue.h"
#include "techniques/engine.h"
#include "techniques/techniques.h"
#include "ui/ui.h"

std::vector<BacktestRow> g_backtest_rows;
BacktestWalk g_backtest_walk;

namespace {

// ---- the game and its checks ----------------------------------------------------

// The game size as the technique tables are built for it (at most 50 numbers
// and 12 stars).
int64_t game_numbers() { return std::clamp<int64_t>(g_highest_number, 0, 50); }
int64_t game_stars() { return std::clamp<int64_t>(g_highest_star, 0, 12); }

bool is_star_technique(const TechniqueRow& row) {
  return row.statistic == STAT_SUM_STARS || row.statistic == STAT_STAR_SET;
}

// The techniques the checks test, of the numbers or of the stars, in
// catalogue order.
std::vector<const TechniqueRow*> checked_techniques(bool stars) {
  std::vector<const TechniqueRow*> rows;
  for (const TechniqueRow& row : g_technique_catalogue)
    if (row.check != CHECK_NONE && is_star_technique(row) == stars) rows.push_back(&row);
  return rows;
}

// The value a technique's window tests: the statistic, or, for the gaps,
// which are tested against the maximum alone one by one, the largest gap.
__int128 checked_value(const TechniqueRow& row, const EntryValues& e) {
  __int128 values[4] = {};
  const int produced = technique_statistics(row, e, values);
  __int128 value = values[0];
  for (int i = 1; i < produced; ++i) value = std::max(value, values[i]);
  return value;
}

bool window_admits(const TechniqueRow& row, const CheckWindows& w, __int128 v) {
  if (v > w.max[row.id]) return false;
  return row.check == CHECK_MAX_ONLY || v >= w.min[row.id];
}

// A run is tested only where it grows: a limit below 1 still passes a ticket
// without two consecutive numbers.
bool run_admitted(int64_t run, int64_t limit) { return run < 2 || run <= limit; }

bool number_checks_admit(const CheckWindows& w, const EntryValues& e) {
  for (const TechniqueRow& row : g_technique_catalogue)
    if (row.check != CHECK_NONE && !is_star_technique(row) && !window_admits(row, w, checked_value(row, e)))
      return false;
  return run_admitted(longest_number_run(e), w.max_number_sequence);
}

bool star_checks_admit(const CheckWindows& w, const EntryValues& e) {
  for (const TechniqueRow& row : g_technique_catalogue)
    if (row.check != CHECK_NONE && is_star_technique(row) && !window_admits(row, w, checked_value(row, e)))
      return false;
  return true;
}

// Every pair of stars of the game, ascending.
std::vector<EntryValues> star_pairs() {
  std::vector<EntryValues> pairs;
  const int64_t m = game_stars();
  for (int64_t s1 = 1; s1 <= m; ++s1)
    for (int64_t s2 = s1 + 1; s2 <= m; ++s2) {
      EntryValues e{};
      e.stars[0] = s1;
      e.stars[1] = s2;
      pairs.push_back(e);
    }
  return pairs;
}

// A set of five numbers of the game as the number checks read it: its
// values as a ticket (ascending, as the generator writes them, the endings
// their last digits), and the count of every count technique in its lane of
// the candidate filter's layout.
struct NumberSet {
  EntryValues e{};
  uint64_t lanes[LANE_WORDS] = {};
};

int lane_count(const uint64_t* lanes, int lane) { return static_cast<int>((lanes[lane / 8] >> (8 * (lane % 8))) & 0xFF); }

// A number check, as the passes over the game take it: the count techniques
// read their lane, the others their statistic.
struct NumberCheck {
  const TechniqueRow* row;
  int lane;      // -1: not a count technique
  size_t cells;  // every value a ticket of the game shows is below this
};

// The techniques other than the counts first (the sum rejects most), then
// the counts in lane order.
std::vector<NumberCheck> number_checks() {
  std::vector<NumberCheck> checks;
  const LaneLayout& layout = lane_layout();
  for (const TechniqueRow* row : checked_techniques(false))
    if (row->statistic != STAT_NUMBER_SET && row->statistic != STAT_ENDING)
      checks.push_back({row, -1, static_cast<size_t>(technique_cell_count(row->cells))});
  for (int lane = 0; lane < layout.lanes; ++lane) {
    const TechniqueRow& row = g_technique_catalogue[layout.technique[lane]];
    checks.push_back({&row, lane, static_cast<size_t>(technique_cell_count(row.cells))});
  }
  return checks;
}

__int128 number_check_value(const NumberCheck& check, const NumberSet& set) {
  return check.lane >= 0 ? lane_count(set.lanes, check.lane) : checked_value(*check.row, set.e);
}

// Calls visit(set) for every set of five numbers of 1..N in ascending order
// and polls for an abort after each pair of first numbers. 0 when aborted.
template <typename Visit>
int64_t for_each_number_set(Visit&& visit) {
  const int64_t n = game_numbers();
  const LaneLayout& layout = lane_layout();
  NumberSet set;
  int64_t* x = set.e.numbers;
  // lanes[k]: the counts of the first k + 1 numbers.
  uint64_t lanes[4][LANE_WORDS] = {};
  auto add = [&](uint64_t* to, const uint64_t* from, int64_t v) {
    for (int w = 0; w < LANE_WORDS; ++w) to[w] = from[w] + layout.contribution[v][w];
  };
  const uint64_t none[LANE_WORDS] = {};
  for (x[0] = 1; x[0] <= n - 4; ++x[0]) {
    set.e.endings[0] = x[0] % 10;
    add(lanes[0], none, x[0]);
    for (x[1] = x[0] + 1; x[1] <= n - 3; ++x[1]) {
      if (poll_abort_request()) return 0;
      set.e.endings[1] = x[1] % 10;
      add(lanes[1], lanes[0], x[1]);
      for (x[2] = x[1] + 1; x[2] <= n - 2; ++x[2]) {
        set.e.endings[2] = x[2] % 10;
        add(lanes[2], lanes[1], x[2]);
        for (x[3] = x[2] + 1; x[3] <= n - 1; ++x[3]) {
          set.e.endings[3] = x[3] % 10;
          add(lanes[3], lanes[2], x[3]);
          for (x[4] = x[3] + 1; x[4] <= n; ++x[4]) {
            set.e.endings[4] = x[4] % 10;
            add(set.lanes, lanes[3], x[4]);
            visit(static_cast<const NumberSet&>(set));
          }
        }
      }
    }
  }
  return 1;
}

// ---- each technique alone: histograms over the game ------------------------------

// The number sets (or star pairs) of the game by the value that each
// checked technique's window tests, and the number sets by their longest
// run. They depend on the game size alone and are kept for it.
struct GameHistograms {
  int64_t numbers = -1;
  int64_t stars = -1;
  std::vector<int64_t> values[TECHNIQUE_COUNT];
  int64_t runs[6] = {};
};
GameHistograms g_game_histograms;

int64_t count_game_histograms() {
  if (g_game_histograms.numbers == game_numbers() && g_game_histograms.stars == game_stars()) return 1;
  GameHistograms h;
  const std::vector<NumberCheck> checks = number_checks();
  for (const TechniqueRow& row : g_technique_catalogue)
    if (row.check != CHECK_NONE) h.values[row.id].assign(static_cast<size_t>(technique_cell_count(row.cells)), 0);
  // Every value a ticket of the game shows has a cell: sums up to 5N - 10,
  // gaps up to N - 4, counts up to 5 or 2, a longest run up to 5.
  auto count = [](std::vector<int64_t>& cells, __int128 v) {
    if (v >= 0 && v < static_cast<__int128>(cells.size())) ++cells[static_cast<size_t>(v)];
  };
  if (!for_each_number_set([&](const NumberSet& set) {
        for (const NumberCheck& check : checks) count(h.values[check.row->id], number_check_value(check, set));
        ++h.runs[longest_number_run(set.e)];
      }))
    return 0;
  for (const EntryValues& pair : star_pairs())
    for (const TechniqueRow* row : checked_techniques(true)) count(h.values[row->id], checked_value(*row, pair));
  h.numbers = game_numbers();
  h.stars = game_stars();
  g_game_histograms = std::move(h);
  return 1;
}

// ---- common numbers ---------------------------------------------------------------

constexpr int32_t kNoResult = INT32_MAX;
constexpr int kHighestEntryNumber = 50;  // past results hold numbers of 1..50

// C(n, k) for n up to 50 and k up to 5.
struct Binomials {
  int64_t c[kHighestEntryNumber + 1][6] = {};
  constexpr Binomials() {
    for (int n = 0; n <= kHighestEntryNumber; ++n) {
      c[n][0] = 1;
      for (int k = 1; k <= 5 && k <= n; ++k) c[n][k] = c[n - 1][k - 1] + (k <= n - 1 ? c[n - 1][k] : 0);
    }
  }
};
constexpr Binomials kBinomials;

// The subsets of k of the positions 0..4, as bit masks.
struct PositionSubsets {
  int count[6] = {};
  unsigned mask[6][10] = {};
  constexpr PositionSubsets() {
    for (unsigned bits = 1; bits < 32; ++bits) {
      const int size = __builtin_popcount(bits);
      mask[size][count[size]++] = bits;
    }
  }
};
constexpr PositionSubsets kPositionSubsets;

// The first past result that shares more than `limit` numbers with a
// ticket, for tickets of five different numbers of 1..50.
struct FirstSharingResult {
  int size = 0;  // limit + 1; 0: no result ever shares too many; -1: the first result always does
  int64_t results = 0;
  std::vector<int32_t> first;  // by subset index: the first result (1-based) that holds the subset

  // The subset of `sorted` picked by `bits`, numbered among all subsets of
  // its size of 1..50 (the combinatorial number system).
  static int64_t subset_index(const int64_t* sorted, unsigned bits) {
    int64_t index = 0;
    int picked = 0;
    for (int i = 0; i < 5; ++i)
      if (bits & (1u << i)) {
        ++picked;
        index += kBinomials.c[sorted[i] - 1][picked];
      }
    return index;
  }

  void build(const std::vector<EntryValues>& entries, int64_t limit) {
    results = static_cast<int64_t>(entries.size());
    first.clear();
    if (results == 0 || limit >= 5) {
      size = 0;
      return;
    }
    if (limit < 0) {
      size = -1;
      return;
    }
    size = static_cast<int>(limit) + 1;
    first.assign(static_cast<size_t>(kBinomials.c[kHighestEntryNumber][size]), kNoResult);
    for (int64_t r = 0; r < results; ++r) {
      // A ticket holds numbers of 1..N only, and a number that a result holds
      // twice is still one number it shares.
      int64_t distinct[5];
      int held = 0;
      for (int64_t v : entries[static_cast<size_t>(r)].numbers) {
        if (v < 1 || v > kHighestEntryNumber || std::find(distinct, distinct + held, v) != distinct + held) continue;
        int at = held++;
        for (; at > 0 && distinct[at - 1] > v; --at) distinct[at] = distinct[at - 1];
        distinct[at] = v;
      }
      for (int i = 0; i < kPositionSubsets.count[size]; ++i) {
        const unsigned bits = kPositionSubsets.mask[size][i];
        if (bits >> held) continue;
        int32_t& at = first[static_cast<size_t>(subset_index(distinct, bits))];
        at = std::min(at, static_cast<int32_t>(r + 1));
      }
    }
  }

  // For a ticket of five different ascending numbers of 1..50: the first
  // result it shares too many numbers with, kNoResult for none.
  int64_t of(const int64_t* sorted) const {
    if (size == 0) return kNoResult;
    if (size < 0) return 1;
    int64_t earliest = kNoResult;
    for (int i = 0; i < kPositionSubsets.count[size]; ++i)
      earliest = std::min<int64_t>(earliest, first[static_cast<size_t>(subset_index(sorted, kPositionSubsets.mask[size][i]))]);
    return earliest;
  }
};

// For each past result, whether it shares more than `limit` numbers with
// one of the results before it, counted as the check counts a numbers text:
// the positions of its numbers that one of the other result's numbers equals.
std::vector<uint8_t> shares_with_earlier_results(const std::vector<EntryValues>& entries, int64_t limit) {
  std::vector<uint8_t> shares(entries.size(), 0);
  for (size_t j = 0; j < entries.size(); ++j) {
    const int64_t* x = entries[j].numbers;
    for (size_t r = 0; r < j && !shares[j]; ++r) {
      const int64_t* e = entries[r].numbers;
      int64_t common = 0;
      for (int k = 0; k < 5; ++k) common += std::find(e, e + 5, x[k]) != e + 5 ? 1 : 0;
      if (common > limit) shares[j] = 1;
    }
  }
  return shares;
}

// ---- every check together, for several sets of windows ---------------------------

struct NumberSetCounts {
  std::vector<int64_t> passing;         // per set of windows: the number sets that pass every number check
  std::vector<int64_t> free_of_common;  // per set of windows: the number sets the common numbers alone pass
};

// Walks the number sets of the game once for several sets of windows, all
// with the limit of common numbers that `sharing` was built for; set s
// checks common numbers against the first results_before[s] past results
// (ascending in s). 0 when aborted.
int64_t count_passing_number_sets(const std::vector<CheckWindows>& sets, const std::vector<int64_t>& results_before,
                                  const FirstSharingResult& sharing, NumberSetCounts& counts) {
  const size_t set_count = sets.size();
  const size_t words = (set_count + 63) / 64;
  counts.passing.assign(set_count, 0);
  counts.free_of_common.assign(set_count, 0);
  if (set_count == 0) return 1;

  // admitted[offset[t] + v * words + w]: bit s of word w is set when the
  // window of check t in set s admits the value v.
  const std::vector<NumberCheck> checks = number_checks();
  std::vector<size_t> offset(checks.size());
  std::vector<uint64_t> admitted;
  for (size_t t = 0; t < checks.size(); ++t) {
    offset[t] = admitted.size();
    admitted.resize(admitted.size() + checks[t].cells * words, 0);
    for (size_t v = 0; v < checks[t].cells; ++v)
      for (size_t s = 0; s < set_count; ++s)
        if (window_admits(*checks[t].row, sets[s], static_cast<__int128>(v)))
          admitted[offset[t] + v * words + s / 64] |= uint64_t{1} << (s % 64);
  }
  std::vector<uint64_t> runs_admitted(6 * words, 0);
  for (int64_t run = 1; run <= 5; ++run)
    for (size_t s = 0; s < set_count; ++s)
      if (run_admitted(run, sets[s].max_number_sequence))
        runs_admitted[static_cast<size_t>(run) * words + s / 64] |= uint64_t{1} << (s % 64);

  // How many sets of windows a number set's common numbers allow: those that
  // read fewer results than the first one it shares too many numbers with.
  std::vector<int64_t> allowed_by_common(set_count + 1, 0);
  std::vector<uint64_t> pass(words);
  const int64_t ok = for_each_number_set([&](const NumberSet& set) {
    const int64_t first = sharing.of(set.e.numbers);
    const size_t allowed =
        static_cast<size_t>(std::lower_bound(results_before.begin(), results_before.end(), first) - results_before.begin());
    ++allowed_by_common[allowed];
    if (allowed == 0) return;
    for (size_t w = 0; w < words; ++w) {
      const size_t bits = std::min<size_t>(64, allowed > 64 * w ? allowed - 64 * w : 0);
      pass[w] = bits == 64 ? ~uint64_t{0} : (uint64_t{1} << bits) - 1;
    }
    for (size_t t = 0; t < checks.size(); ++t) {
      const __int128 v = number_check_value(checks[t], set);
      if (v < 0 || v >= static_cast<__int128>(checks[t].cells)) return;  // no ticket of the game shows such a value
      const uint64_t* admits = &admitted[offset[t] + static_cast<size_t>(v) * words];
      uint64_t any = 0;
      for (size_t w = 0; w < words; ++w) any |= pass[w] &= admits[w];
      if (any == 0) return;
    }
    const uint64_t* admits = &runs_admitted[static_cast<size_t>(longest_number_run(set.e)) * words];
    for (size_t w = 0; w < words; ++w)
      for (uint64_t bits = pass[w] & admits[w]; bits != 0; bits &= bits - 1)
        ++counts.passing[64 * w + static_cast<size_t>(__builtin_ctzll(bits))];
  });
  if (!ok) return 0;
  // A number set that allows k sets of windows is free of common numbers in
  // each of the first k.
  int64_t later = 0;
  for (size_t s = set_count; s-- > 0;) {
    later += allowed_by_common[s + 1];
    counts.free_of_common[s] = later;
  }
  return 1;
}

int64_t passing_star_pairs(const CheckWindows& w) {
  int64_t passing = 0;
  for (const EntryValues& pair : star_pairs()) passing += star_checks_admit(w, pair) ? 1 : 0;
  return passing;
}

// ---- the windows of a walked result ------------------------------------------------

// The windows of every technique (anything with a max and a min per
// technique: learned tables, the globals) and the two limits.
CheckWindows windows_of(const auto& windows, int64_t max_common_numbers, int64_t max_number_sequence) {
  CheckWindows w{};
  for (int t = 0; t < TECHNIQUE_COUNT; ++t) {
    w.max[t] = windows[t].max;
    w.min[t] = windows[t].min;
  }
  w.max_common_numbers = max_common_numbers;
  w.max_number_sequence = max_number_sequence;
  return w;
}

// The windows that Learn, then Remove at `threshold`, would leave after
// learning from these past results, with the given limit of common numbers.
// The association passes are left out: they change no window.
CheckWindows learned_and_narrowed_windows(std::span<const EntryValues> entries, int64_t threshold,
                                         int64_t max_common_numbers) {
  TechniqueTable tables[TECHNIQUE_COUNT];
  for (TechniqueTable& table : tables) {
    table.max = 0;
    table.min = 999;
  }
  int64_t max_number_sequence = 1;
  for (const EnginePass& pass : g_learning_order) {
    if (pass.kind == PASS_TECHNIQUE)
      learn_technique_table(g_technique_catalogue[pass.technique], entries, tables[pass.technique]);
    else if (pass.kind == PASS_MAX_SEQUENCE)
      max_number_sequence = longest_run_of(entries);
  }
  force_removal_limits(tables, max_number_sequence);
  for (const EnginePass& pass : g_removal_order)
    if (pass.kind == PASS_TECHNIQUE)
      trim_technique_table(g_technique_catalogue[pass.technique], threshold, tables[pass.technique]);
  return windows_of(tables, max_common_numbers, max_number_sequence);
}

// ---- the table's rows ----------------------------------------------------------------

// Techniques that share a frame of two windows, whose fields have no label
// of their own: each is named on its own.
struct OwnCaption {
  TechniqueId technique;
  const char* caption;
};
constexpr OwnCaption kOwnCaptions[] = {
    {T_even, "Even"},           {T_odd, "Odd"},
    {T_diag1_low, "Diag1. Low"}, {T_diag1_high, "Diag1. High"},
    {T_diag2_low, "Diag2. Low"}, {T_diag2_high, "Diag2. High"},
    {T_low, "Half Low"},         {T_high, "Half High"},
    {T_half_low, "Half Left"},   {T_half_high, "Half Right"},
};

// A technique as the window names it: its frame's caption; in a frame of
// many windows followed by the label of its field without the colon ("Numbers
// per rows 4", "Numbers per decade 2x", "Distances between numbers 1:2").
std::string technique_caption(const TechniqueRow& row) {
  for (const OwnCaption& own : kOwnCaptions)
    if (own.technique == row.id) return translate(own.caption);
  int sharing = 0;
  for (const TechniqueRow& other : g_technique_catalogue)
    sharing += std::string_view(other.caption) == row.caption ? 1 : 0;
  const std::string caption = translate(row.caption);
  if (sharing == 1) return caption;
  if (row.statistic == STAT_DISTANCE) return caption + " " + str_int(row.parameter) + ":" + str_int(row.parameter + 1);
  const std::string key = row.key;
  return caption + " " + key.substr(key.rfind('_') + 1);
}

int64_t count_if_entries(const std::vector<EntryValues>& entries, const auto& passes) {
  int64_t count = 0;
  for (size_t j = 0; j < entries.size(); ++j) count += passes(j) ? 1 : 0;
  return count;
}

}  // namespace

CheckWindows check_windows_in_fields() {
  // read_technique_windows writes the fields' values into the slot globals;
  // the copy takes them from there, and the globals get their values back.
  int64_t kept[TECHNIQUE_SLOT_COUNT];
  for (int k = 0; k < TECHNIQUE_SLOT_COUNT; ++k) kept[k] = *g_technique_slots[k].value;
  read_technique_windows();
  const CheckWindows w = windows_of(g_techniques, g_max_common_numbers, g_max_number_sequence);
  for (int k = 0; k < TECHNIQUE_SLOT_COUNT; ++k) *g_technique_slots[k].value = kept[k];
  return w;
}

int64_t count_backtest_table(const CheckWindows& windows) {
  g_backtest_rows.clear();
  const std::vector<EntryValues> entries = read_database_values();
  const int64_t results = static_cast<int64_t>(entries.size());
  if (!count_game_histograms()) return 0;

  FirstSharingResult sharing;
  sharing.build(entries, windows.max_common_numbers);
  NumberSetCounts all;
  if (!count_passing_number_sets({windows}, {results}, sharing, all)) return 0;
  const std::vector<uint8_t> shares = shares_with_earlier_results(entries, windows.max_common_numbers);

  const int64_t number_sets = combinations(game_numbers(), 5);
  const int64_t pairs = combinations(game_stars(), 2);
  std::vector<BacktestRow> rows;
  auto add_row = [&](std::string key, std::string caption, int64_t past_inside, int64_t tickets_inside) {
    BacktestRow row;
    row.key = std::move(key);
    row.caption = std::move(caption);
    row.past_inside = past_inside;
    row.past_total = results;
    row.tickets_inside = tickets_inside;
    row.tickets_total = number_sets * pairs;
    rows.push_back(row);
    return &rows.back();
  };

  for (const TechniqueRow& technique : g_technique_catalogue) {
    if (technique.check == CHECK_NONE) continue;
    const std::vector<int64_t>& histogram = g_game_histograms.values[technique.id];
    int64_t kept = 0;
    for (size_t v = 0; v < histogram.size(); ++v)
      if (window_admits(technique, windows, static_cast<__int128>(v))) kept += histogram[v];
    const int64_t past = count_if_entries(entries, [&](size_t j) {
      return window_admits(technique, windows, checked_value(technique, entries[j]));
    });
    BacktestRow* row = add_row(technique.key, technique_caption(technique), past,
                               kept * (is_star_technique(technique) ? number_sets : pairs));
    row->has_max = true;
    row->max = windows.max[technique.id];
    row->has_min = technique.check == CHECK_BOTH;
    row->min = windows.min[technique.id];
  }

  int64_t runs_kept = 0;
  for (int64_t run = 1; run <= 5; ++run)
    if (run_admitted(run, windows.max_number_sequence)) runs_kept += g_game_histograms.runs[run];
  BacktestRow* row = add_row("max_number_sequence", translate("Max sequence of Nrs"),
                             count_if_entries(entries, [&](size_t j) {
                               return run_admitted(longest_number_run(entries[j]), windows.max_number_sequence);
                             }),
                             runs_kept * pairs);
  row->has_max = true;
  row->max = windows.max_number_sequence;

  row = add_row("max_common_numbers", translate("Max Common Numbers"),
                count_if_entries(entries, [&](size_t j) { return shares[j] == 0; }), all.free_of_common[0] * pairs);
  row->has_max = true;
  row->max = windows.max_common_numbers;

  // No check reads the associations: they keep every ticket and every result.
  if (g_use_special_techniques == 1)
    add_row("associations", translate("Number and star associations"), results, number_sets * pairs);

  add_row("all", translate("All techniques"), count_if_entries(entries, [&](size_t j) {
            return shares[j] == 0 && number_checks_admit(windows, entries[j]) && star_checks_admit(windows, entries[j]);
          }),
          all.passing[0] * passing_star_pairs(windows));
  g_backtest_rows = std::move(rows);
  return 1;
}

int64_t walk_forward(int64_t results, int64_t max_common_numbers, int64_t threshold) {
  g_backtest_walk = BacktestWalk{};
  const std::vector<EntryValues> entries = read_database_values();
  const int64_t count = static_cast<int64_t>(entries.size());
  if (results < 1 || results > count) return 1;

  // Walked result s is past result count - results + 1 + s (1-based); its
  // windows are learned from the results before it.
  std::vector<CheckWindows> sets(static_cast<size_t>(results));
  std::vector<int64_t> results_before(static_cast<size_t>(results));
  for (int64_t s = 0; s < results; ++s) {
    if (poll_abort_request()) return 0;
    results_before[static_cast<size_t>(s)] = count - results + s;
    sets[static_cast<size_t>(s)] = learned_and_narrowed_windows(
        std::span<const EntryValues>(entries.data(), static_cast<size_t>(count - results + s)), threshold,
        max_common_numbers);
  }

  FirstSharingResult sharing;
  sharing.build(entries, max_common_numbers);
  NumberSetCounts numbers;
  if (!count_passing_number_sets(sets, results_before, sharing, numbers)) return 0;
  const std::vector<uint8_t> shares = shares_with_earlier_results(entries, max_common_numbers);

  BacktestWalk walk;
  walk.results = results;
  const double tickets = static_cast<double>(combinations(game_numbers(), 5)) *
                         static_cast<double>(combinations(game_stars(), 2));
  double shares_sum = 0;
  for (int64_t s = 0; s < results; ++s) {
    const CheckWindows& w = sets[static_cast<size_t>(s)];
    const EntryValues& result = entries[static_cast<size_t>(results_before[static_cast<size_t>(s)])];
    const bool passed = shares[static_cast<size_t>(results_before[static_cast<size_t>(s)])] == 0 &&
                        number_checks_admit(w, result) && star_checks_admit(w, result);
    walk.marks.push_back(passed ? 1 : 0);
    walk.passed += passed ? 1 : 0;
    if (tickets > 0)
      shares_sum += static_cast<double>(numbers.passing[static_cast<size_t>(s)]) *
                    static_cast<double>(passing_star_pairs(w)) / tickets;
  }
  walk.mean_ticket_share = shares_sum / static_cast<double>(results);
  g_backtest_walk = std::move(walk);
  return 1;
}

std::string backtest_table_csv() {
  auto bound = [](bool has, int64_t v) { return has ? str_int(v) : std::string(); };
  std::string csv = "technique,min,max,past_inside,past_total,tickets_inside,tickets_total,ratio\n";
  for (const BacktestRow& row : g_backtest_rows) {
    // The past share over the ticket share; none when either share is
    // undefined or no ticket is kept.
    std::string ratio;
    if (row.past_total > 0 && row.tickets_inside > 0 && row.tickets_total > 0)
      ratio = format_number(static_cast<double>(row.past_inside) * static_cast<double>(row.tickets_total) /
                                (static_cast<double>(row.past_total) * static_cast<double>(row.tickets_inside)),
                            4, false);
    csv += row.key + "," + bound(row.has_min, row.min) + "," + bound(row.has_max, row.max) + "," +
           str_int(row.past_inside) + "," + str_int(row.past_total) + "," + str_int(row.tickets_inside) + "," +
           str_int(row.tickets_total) + "," + ratio + "\n";
  }
  csv += "walk_forward," + str_int(g_backtest_walk.results) + "," + str_int(g_backtest_walk.passed) + "," +
         (g_backtest_walk.results > 0 ? format_number(g_backtest_walk.mean_ticket_share, 6, false) : std::string()) +
         "\n";
  return csv;
}
