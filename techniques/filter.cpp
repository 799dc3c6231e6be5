// The candidate filter: does one ticket's numbers text (or stars text) pass
// every technique window, and does it share too many numbers with a past
// result?
//
// Two implementations give the same answers and the same count of
// common-number rejections:
// - the literal one reads every step off the text, field by field, in the
//   order of the steps; it is the reference;
// - check_number_techniques, which the generator calls once per candidate
//   with no limit on attempts, works from tables built out of the windows,
//   the limits and the past results, and hands every text it cannot judge
//   from its tables (a field that is not one or two digits, fewer than five
//   fields) to the literal one.
// Which step rejects first makes no difference to the answer, and the
// common-numbers step runs only when every window passed; so the fast filter
// tests all windows at once and then looks for one past result that shares
// too many numbers, without caring which one.
//
// Values are integers of any size (a typed field holds whatever its text
// reads as); sums and differences are worked out in 128 bits so that nothing
// overflows and no window bound is compared with a wrapped value.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "core/state.h"
#include "core/text.h"
#include "draws/draws.h"
#include "techniques/catalogue.h"
#include "techniques/engine.h"
#include "techniques/techniques.h"

namespace {

// ---- the literal reading --------------------------------------------------------

int64_t number_field(const std::string& text, int64_t k) { return val_int(string_field(text, k, ",")); }

bool in_window(TechniqueId t, __int128 v) { return g_techniques[t].min <= v && v <= g_techniques[t].max; }

bool up_to_max(TechniqueId t, __int128 v) { return v <= g_techniques[t].max; }

int64_t set_count(const std::string& text, TechniqueId t) {
  int64_t count = 0;
  for (int64_t k = 1; k <= 5; ++k) count += technique_set_holds(g_technique_catalogue[t], number_field(text, k)) ? 1 : 0;
  return count;
}

int64_t star_set_count(const std::string& text, TechniqueId t) {
  int64_t count = 0;
  for (int64_t k = 1; k <= 2; ++k) count += technique_set_holds(g_technique_catalogue[t], number_field(text, k)) ? 1 : 0;
  return count;
}

int64_t set_window(const std::string& text, TechniqueId t) { return in_window(t, set_count(text, t)) ? 1 : 0; }

// A field ends in the digit that its last character reads as: a missing or
// empty field, or one ending in something else than a digit, ends in 0 (and
// so 0 counts as ending in 0). Learning reads the entries' endings the same way.
int64_t ending_count(const std::string& text, int64_t digit) {
  int64_t count = 0;
  for (int64_t k = 1; k <= 5; ++k) count += val_int(text_right(string_field(text, k, ","), 1)) == digit ? 1 : 0;
  return count;
}

int64_t distance_window(const std::string& text, int64_t k, TechniqueId t) {
  __int128 d = static_cast<__int128>(number_field(text, k)) - number_field(text, k + 1);
  return in_window(t, d < 0 ? -d : d) ? 1 : 0;
}

}  // namespace

int64_t check_high_window(const std::string& numbers) { return set_window(numbers, T_high); }
int64_t check_diag1_low_window(const std::string& numbers) { return set_window(numbers, T_diag1_low); }
int64_t check_diag1_high_window(const std::string& numbers) { return set_window(numbers, T_diag1_high); }
int64_t check_diag2_low_window(const std::string& numbers) { return set_window(numbers, T_diag2_low); }
int64_t check_diag2_high_window(const std::string& numbers) { return set_window(numbers, T_diag2_high); }
int64_t check_half_low_window(const std::string& numbers) { return set_window(numbers, T_half_low); }
int64_t check_half_high_window(const std::string& numbers) { return set_window(numbers, T_half_high); }
int64_t check_distance_1_2_window(const std::string& numbers) { return distance_window(numbers, 1, T_distance_1_2); }
int64_t check_distance_2_3_window(const std::string& numbers) { return distance_window(numbers, 2, T_distance_2_3); }
int64_t check_distance_3_4_window(const std::string& numbers) { return distance_window(numbers, 3, T_distance_3_4); }
int64_t check_distance_4_5_window(const std::string& numbers) { return distance_window(numbers, 4, T_distance_4_5); }
int64_t check_column_4_window(const std::string& numbers) { return set_window(numbers, T_column_4); }
int64_t check_column_5_window(const std::string& numbers) { return set_window(numbers, T_column_5); }
int64_t check_column_6_window(const std::string& numbers) { return set_window(numbers, T_column_6); }

int64_t check_common_numbers(const std::string& numbers) {
  const std::string text = numbers;
  const int64_t entries = database_entries_in_use();
  if (entries <= 0) return 1;
  int64_t x[5];
  for (int64_t k = 1; k <= 5; ++k) x[k - 1] = number_field(text, k);
  for (int64_t r = 1; r <= entries; ++r) {
    const std::string& entry = g_database_draws[static_cast<size_t>(r)];
    int64_t e[5];
    for (int64_t k = 1; k <= 5; ++k) e[k - 1] = val_int(string_field(entry, k, " "));
    int64_t common = 0;
    for (int64_t k = 0; k < 5; ++k)
      if (std::find(e, e + 5, x[k]) != e + 5) ++common;
    if (common > g_max_common_numbers) {
      ++g_common_rejections;
      return 0;
    }
  }
  return 1;
}

int64_t check_number_techniques_literal(const std::string& numbers) {
  const std::string text = numbers;
  auto x = [&](int64_t k) { return number_field(text, k); };

  // 1: sum of the numbers.
  __int128 sum = 0;
  for (int64_t k = 1; k <= 5; ++k) sum += x(k);
  if (!in_window(T_sum_numbers, sum)) return 0;

  // 2: different decades hit.
  bool hit[6] = {};
  for (int64_t k = 1; k <= 5; ++k) {
    int64_t d = decade_of(x(k));
    if (d >= 0) hit[d] = true;
  }
  if (!in_window(T_decades, std::count(hit, hit + 6, true))) return 0;

  // 3-5: primes, first number and every neighbour gap, against the maximum alone.
  if (!up_to_max(T_primes, set_count(text, T_primes))) return 0;
  if (!up_to_max(T_tallest_first, x(1))) return 0;
  for (int64_t k = 2; k <= 5; ++k)
    if (!up_to_max(T_max_distance, static_cast<__int128>(x(k)) - x(k - 1))) return 0;

  // 6: runs of consecutive numbers; only an ascending step of +1 extends one.
  int64_t run = 1;
  for (int64_t k = 1; k <= 4; ++k) {
    if (static_cast<__int128>(x(k + 1)) == static_cast<__int128>(x(k)) + 1) {
      ++run;
      if (run > g_max_number_sequence) return 0;
    } else {
      run = 1;
    }
  }

  // 7-9: even, odd, low.
  if (!set_window(text, T_even)) return 0;
  if (!set_window(text, T_odd)) return 0;
  if (!set_window(text, T_low)) return 0;

  // 10: high, the diagonal halves, the board halves.
  if (!check_high_window(text)) return 0;
  if (!check_diag1_low_window(text)) return 0;
  if (!check_diag1_high_window(text)) return 0;
  if (!check_diag2_low_window(text)) return 0;
  if (!check_diag2_high_window(text)) return 0;
  if (!check_half_low_window(text)) return 0;
  if (!check_half_high_window(text)) return 0;

  // 11-12: rings, numbers per decade.
  for (TechniqueId t : {T_ring_1, T_ring_2, T_ring_3})
    if (!set_window(text, t)) return 0;
  for (TechniqueId t : {T_decade_0x, T_decade_1x, T_decade_2x, T_decade_3x, T_decade_4x, T_decade_5x})
    if (!set_window(text, t)) return 0;

  // 13: endings 1..9, then 0.
  for (TechniqueId t : {T_ending_1, T_ending_2, T_ending_3, T_ending_4, T_ending_5, T_ending_6,
                        T_ending_7, T_ending_8, T_ending_9, T_ending_0})
    if (!in_window(t, ending_count(text, g_technique_catalogue[t].parameter))) return 0;

  // 14: distance at each position.
  if (!check_distance_1_2_window(text)) return 0;
  if (!check_distance_2_3_window(text)) return 0;
  if (!check_distance_3_4_window(text)) return 0;
  if (!check_distance_4_5_window(text)) return 0;

  // 15: columns.
  for (TechniqueId t : {T_column_1, T_column_2, T_column_3})
    if (!set_window(text, t)) return 0;
  if (!check_column_4_window(text)) return 0;
  if (!check_column_5_window(text)) return 0;
  if (!check_column_6_window(text)) return 0;

  // 16-17: rows, right diagonals.
  for (int t = T_row_1; t <= T_row_9; ++t)
    if (!set_window(text, static_cast<TechniqueId>(t))) return 0;
  for (int t = T_right_diagonal_1; t <= T_right_diagonal_12; ++t)
    if (!set_window(text, static_cast<TechniqueId>(t))) return 0;

  // 18: numbers shared with any one past result.
  return check_common_numbers(text);
}

int64_t check_star_windows_literal(const std::string& stars) {
  const std::string text = stars;
  if (!in_window(T_sum_stars, static_cast<__int128>(number_field(text, 1)) + number_field(text, 2))) return 0;
  for (int t = T_star_row_1; t <= T_star_column_3; ++t)
    if (!in_window(static_cast<TechniqueId>(t), star_set_count(text, static_cast<TechniqueId>(t)))) return 0;
  return 1;
}

int64_t technique_windows_admit_tickets() {
  for (const TechniqueRow& row : g_technique_catalogue)
    if (row.check == CHECK_BOTH && g_techniques[row.id].min > g_techniques[row.id].max) return 0;
  return 1;
}

int64_t check_star_windows(const std::string& stars) {
  // Two fields only: read them once and test the eight windows in order.
  const int64_t s1 = number_field(stars, 1);
  const int64_t s2 = number_field(stars, 2);
  if (!in_window(T_sum_stars, static_cast<__int128>(s1) + s2)) return 0;
  for (int t = T_star_row_1; t <= T_star_column_3; ++t) {
    const TechniqueRow& row = g_technique_catalogue[t];
    int64_t count = (technique_set_holds(row, s1) ? 1 : 0) + (technique_set_holds(row, s2) ? 1 : 0);
    if (!in_window(static_cast<TechniqueId>(t), count)) return 0;
  }
  return 1;
}

// ---- the fast filter -------------------------------------------------------------

namespace {

// Fields of one or two digits: the values the tables cover.
constexpr int TABLE_VALUES = 100;

// Count windows are tested all at once, one byte lane per technique (see
// lane_layout): a lane holds how many of the five values fall in its set
// (0..5). For a lane with bounds lo..hi cut to the counts that can occur (lo
// 0..6, hi -1..5), the byte c + 128 - lo has its top bit set exactly when
// c >= lo, and the byte 128 + hi - c exactly when c <= hi; no lane carries
// into the next, since every byte stays within 122..133.
constexpr uint64_t LANE_TOPS = 0x8080808080808080ull;
static_assert(LANE_TABLE_VALUES == TABLE_VALUES);

}  // namespace

const LaneLayout& lane_layout() {
  static const LaneLayout layout = [] {
    LaneLayout l;
    for (const TechniqueRow& row : g_technique_catalogue) {
      if (row.check == CHECK_NONE) continue;
      if (row.statistic != STAT_NUMBER_SET && row.statistic != STAT_ENDING) continue;
      if (l.lanes == LANE_WORDS * 8) std::abort();  // more count techniques than lanes
      int lane = l.lanes++;
      l.technique[lane] = row.id;
      for (int v = 0; v < LANE_TABLE_VALUES; ++v) {
        bool counts = row.statistic == STAT_NUMBER_SET ? technique_set_holds(row, v) : v % 10 == row.parameter;
        if (counts) l.contribution[v][lane / 8] += uint64_t{1} << (8 * (lane % 8));
      }
    }
    return l;
  }();
  return layout;
}

namespace {

// A set of subsets of past results' numbers, each subset written as its
// values in ascending order, (value + 1) in 7 bits apiece (never 0).
struct SubsetSet {
  std::vector<uint64_t> slots;
  uint64_t mask = 0;

  static uint64_t spread(uint64_t key) { return (key * 0x9E3779B97F4A7C15ull) >> 20; }

  void reserve(size_t keys) {
    size_t size = 16;
    while (size < keys * 2) size *= 2;
    slots.assign(size, 0);
    mask = size - 1;
  }
  void insert(uint64_t key) {
    for (uint64_t i = spread(key) & mask;; i = (i + 1) & mask) {
      if (slots[i] == key) return;
      if (slots[i] == 0) {
        slots[i] = key;
        return;
      }
    }
  }
  bool holds(uint64_t key) const {
    if (slots.empty()) return false;
    for (uint64_t i = spread(key) & mask;; i = (i + 1) & mask) {
      if (slots[i] == key) return true;
      if (slots[i] == 0) return false;
    }
  }
};

// Bit masks over 5 positions with a given number of bits set.
struct SubsetMasks {
  int count[6] = {};
  unsigned mask[6][10] = {};
};
constexpr SubsetMasks subset_masks() {
  SubsetMasks m;
  for (unsigned bits = 1; bits < 32; ++bits) {
    int size = __builtin_popcount(bits);
    m.mask[size][m.count[size]++] = bits;
  }
  return m;
}
constexpr SubsetMasks SUBSETS = subset_masks();

// The key of the values picked by `bits` out of sorted values (at most 5).
uint64_t subset_key(const int64_t* sorted, unsigned bits) {
  uint64_t key = 0;
  int shift = 0;
  for (int i = 0; i < 5; ++i) {
    if (bits & (1u << i)) {
      key |= static_cast<uint64_t>(sorted[i] + 1) << shift;
      shift += 7;
    }
  }
  return key;
}

struct FilterTables {
  bool built = false;

  // What the tables were built from.
  int64_t window_max[TECHNIQUE_COUNT];
  int64_t window_min[TECHNIQUE_COUNT];
  int64_t max_common_numbers;
  int64_t max_number_sequence;
  int64_t database_count;
  size_t database_size;
  const std::string* database_storage;
  std::string database_path;
  std::vector<std::string> entries;  // copies of the entries in use
  uint64_t generation;

  // The windows as the values of the tables meet them.
  bool windows_never_pass;
  int64_t sum_min, sum_max, decades_min, decades_max, first_max, gap_max;
  int64_t distance_min[4], distance_max[4];
  uint64_t lane_low[LANE_WORDS];   // 128 - lo per lane
  uint64_t lane_high[LANE_WORDS];  // 128 + hi per lane

  // Common numbers: a candidate of distinct values is rejected when one of
  // its subsets of `subset_size` values is a subset of a past result's
  // numbers. subset_size 0: nothing is rejected; -1: everything is (a limit
  // below 0 is exceeded by any past result).
  int subset_size;
  SubsetSet subsets;
  std::vector<std::array<int64_t, 5>> entry_numbers;  // for candidates with repeated values
};

FilterTables g_filter;
uint64_t g_filter_generation = 0;

const std::string& entry_text(int64_t i) { return g_database_draws[static_cast<size_t>(i)]; }

// When the filter was last called. The past results can only change in an
// event of their own (an import), never between two checks of one generation
// run; so the entries are compared in full only after a pause, and a run of
// checks pays for the comparison once.
std::chrono::steady_clock::time_point g_last_filter_call;
constexpr std::chrono::milliseconds FULL_COMPARISON_PAUSE{50};

bool entries_unchanged(const FilterTables& f) {
  for (size_t i = 0; i < f.entries.size(); ++i)
    if (f.entries[i] != entry_text(static_cast<int64_t>(i) + 1)) return false;
  return true;
}

// Whether the tables still describe the windows, the limits and the past
// results as they stand: every window and limit is compared, the database by
// its count, storage and path, its first and last entries, and after a pause
// every entry.
bool filter_tables_current() {
  const FilterTables& f = g_filter;
  const auto now = std::chrono::steady_clock::now();
  const bool after_pause = now - g_last_filter_call >= FULL_COMPARISON_PAUSE;
  g_last_filter_call = now;
  if (!f.built || f.generation != g_filter_generation) return false;
  for (int t = 0; t < TECHNIQUE_COUNT; ++t)
    if (f.window_max[t] != g_techniques[t].max || f.window_min[t] != g_techniques[t].min) return false;
  if (f.max_common_numbers != g_max_common_numbers || f.max_number_sequence != g_max_number_sequence) return false;
  if (f.database_count != g_database_draw_count || f.database_size != g_database_draws.size() ||
      f.database_storage != g_database_draws.data() || f.database_path != g_database_path)
    return false;
  const int64_t entries = database_entries_in_use();
  if (static_cast<int64_t>(f.entries.size()) != entries) return false;
  if (entries > 0 && (f.entries.front() != entry_text(1) || f.entries.back() != entry_text(entries))) return false;
  return !after_pause || entries_unchanged(f);
}

void build_common_number_tables(FilterTables& f) {
  const int64_t entries = database_entries_in_use();
  f.subsets = SubsetSet{};
  f.entry_numbers.clear();
  if (entries <= 0 || g_max_common_numbers >= 5) {
    f.subset_size = 0;
    return;
  }
  if (g_max_common_numbers < 0) {
    f.subset_size = -1;
    return;
  }
  f.subset_size = static_cast<int>(g_max_common_numbers) + 1;
  f.entry_numbers.reserve(static_cast<size_t>(entries));
  f.subsets.reserve(static_cast<size_t>(entries) * static_cast<size_t>(SUBSETS.count[f.subset_size]));
  for (int64_t r = 1; r <= entries; ++r) {
    EntryValues e = read_entry_values(entry_text(r));
    f.entry_numbers.push_back({e.numbers[0], e.numbers[1], e.numbers[2], e.numbers[3], e.numbers[4]});
    // Only values the tables cover can equal a value of a candidate judged
    // from the tables; repeats in an entry count once.
    int64_t distinct[5];
    int size = 0;
    for (int64_t v : e.numbers)
      if (v >= 0 && v < TABLE_VALUES && std::find(distinct, distinct + size, v) == distinct + size) {
        int at = size++;
        for (; at > 0 && distinct[at - 1] > v; --at) distinct[at] = distinct[at - 1];
        distinct[at] = v;
      }
    for (int i = 0; i < SUBSETS.count[f.subset_size]; ++i) {
      unsigned bits = SUBSETS.mask[f.subset_size][i];
      if (bits >> size) continue;  // picks a value beyond the entry's
      f.subsets.insert(subset_key(distinct, bits));
    }
  }
}

void build_filter_tables() {
  FilterTables& f = g_filter;
  // The common-number tables follow the past results and the limit alone:
  // where only windows changed (Remove, a settings file, typed fields) they
  // are kept.
  const int64_t entries = database_entries_in_use();
  const bool same_results = f.built && f.generation == g_filter_generation &&
                            f.database_count == g_database_draw_count && f.database_size == g_database_draws.size() &&
                            f.database_storage == g_database_draws.data() && f.database_path == g_database_path &&
                            static_cast<int64_t>(f.entries.size()) == entries && entries_unchanged(f);
  const bool same_common_tables = same_results && f.max_common_numbers == g_max_common_numbers;
  for (int t = 0; t < TECHNIQUE_COUNT; ++t) {
    f.window_max[t] = g_techniques[t].max;
    f.window_min[t] = g_techniques[t].min;
  }
  f.max_common_numbers = g_max_common_numbers;
  f.max_number_sequence = g_max_number_sequence;
  f.database_count = g_database_draw_count;
  f.database_size = g_database_draws.size();
  f.database_storage = g_database_draws.data();
  f.database_path = g_database_path;
  if (!same_results) {
    f.entries.clear();
    if (entries > 0) f.entries.assign(g_database_draws.begin() + 1, g_database_draws.begin() + 1 + entries);
  }
  f.generation = g_filter_generation;

  // Windows of the statistics that are not counts, as the tables' values meet
  // them: every statistic of one- or two-digit values lies well inside -1000
  // .. 1000, so cutting a bound to that range changes no answer.
  auto cut = [](int64_t v) { return std::clamp<int64_t>(v, -1000, 1000); };
  f.sum_min = cut(g_techniques[T_sum_numbers].min);
  f.sum_max = cut(g_techniques[T_sum_numbers].max);
  f.decades_min = cut(g_techniques[T_decades].min);
  f.decades_max = cut(g_techniques[T_decades].max);
  f.first_max = cut(g_techniques[T_tallest_first].max);
  f.gap_max = cut(g_techniques[T_max_distance].max);
  for (int k = 0; k < 4; ++k) {
    f.distance_min[k] = cut(g_techniques[T_distance_1_2 + k].min);
    f.distance_max[k] = cut(g_techniques[T_distance_1_2 + k].max);
  }

  const LaneLayout& layout = lane_layout();
  f.windows_never_pass = f.sum_min > f.sum_max || f.decades_min > f.decades_max;
  for (int w = 0; w < LANE_WORDS; ++w) f.lane_low[w] = f.lane_high[w] = 0;
  for (int lane = 0; lane < LANE_WORDS * 8; ++lane) {
    int64_t lo = 0, hi = 5;  // unused lanes always pass
    if (lane < layout.lanes) {
      const TechniqueRow& row = g_technique_catalogue[layout.technique[lane]];
      const TechniqueTable& window = g_techniques[row.id];
      lo = row.check == CHECK_MAX_ONLY ? 0 : std::clamp<int64_t>(window.min, 0, 6);
      hi = std::clamp<int64_t>(window.max, -1, 5);
      if (lo > hi) f.windows_never_pass = true;
    }
    f.lane_low[lane / 8] |= static_cast<uint64_t>(128 - lo) << (8 * (lane % 8));
    f.lane_high[lane / 8] |= static_cast<uint64_t>(128 + hi) << (8 * (lane % 8));
  }
  for (int k = 0; k < 4; ++k)
    if (f.distance_min[k] > f.distance_max[k]) f.windows_never_pass = true;

  if (!same_common_tables) build_common_number_tables(f);
  f.built = true;
}

// Fields 1..5 of the text when each is one or two digits; anything after the
// fifth field's end (a "," and more fields) is ignored, as the steps ignore it.
bool read_table_values(const std::string& text, int64_t x[5]) {
  const char* p = text.data();
  const char* end = p + text.size();
  for (int k = 0; k < 5; ++k) {
    if (p == end || *p < '0' || *p > '9') return false;
    int64_t v = *p++ - '0';
    if (p != end && *p >= '0' && *p <= '9') v = v * 10 + (*p++ - '0');
    x[k] = v;
    if (k < 4) {
      if (p == end || *p != ',') return false;
      ++p;
    } else if (p != end && *p != ',') {
      return false;
    }
  }
  return true;
}

[[gnu::always_inline]] inline bool windows_pass(const FilterTables& f, const int64_t x[5]) {
  if (f.windows_never_pass) return false;
  const int64_t sum = x[0] + x[1] + x[2] + x[3] + x[4];
  if (sum < f.sum_min || sum > f.sum_max) return false;
  unsigned decades = 0;
  for (int k = 0; k < 5; ++k) {
    int64_t d = decade_of(x[k]);
    if (d >= 0) decades |= 1u << d;
  }
  const int64_t decade_count = __builtin_popcount(decades);
  if (decade_count < f.decades_min || decade_count > f.decades_max) return false;
  if (x[0] > f.first_max) return false;
  int64_t run = 1, longest = 1;
  for (int k = 0; k < 4; ++k) {
    const int64_t gap = x[k + 1] - x[k];
    if (gap > f.gap_max) return false;
    const int64_t distance = gap < 0 ? -gap : gap;
    if (distance < f.distance_min[k] || distance > f.distance_max[k]) return false;
    run = gap == 1 ? run + 1 : 1;
    longest = std::max(longest, run);
  }
  // A run is tested only where it grows, so a limit below 1 passes a ticket
  // without two consecutive numbers.
  if (longest >= 2 && longest > f.max_number_sequence) return false;

  const LaneLayout& layout = lane_layout();
  uint64_t all = LANE_TOPS;
  for (int w = 0; w < LANE_WORDS; ++w) {
    const uint64_t counts = layout.contribution[x[0]][w] + layout.contribution[x[1]][w] +
                            layout.contribution[x[2]][w] + layout.contribution[x[3]][w] +
                            layout.contribution[x[4]][w];
    all &= (counts + f.lane_low[w]) & (f.lane_high[w] - counts);
  }
  return all == LANE_TOPS;
}

[[gnu::always_inline]] inline bool shares_too_many(const FilterTables& f, const int64_t x[5]) {
  if (f.subset_size == 0) return false;
  if (f.subset_size < 0) return true;
  int64_t sorted[5] = {x[0], x[1], x[2], x[3], x[4]};
  std::sort(sorted, sorted + 5);
  bool distinct = true;
  for (int k = 1; k < 5; ++k) distinct = distinct && sorted[k] != sorted[k - 1];
  if (distinct) {
    for (int i = 0; i < SUBSETS.count[f.subset_size]; ++i)
      if (f.subsets.holds(subset_key(sorted, SUBSETS.mask[f.subset_size][i]))) return true;
    return false;
  }
  // A value that occurs twice counts twice: count position by position.
  for (const std::array<int64_t, 5>& e : f.entry_numbers) {
    int64_t common = 0;
    for (int k = 0; k < 5; ++k)
      if (std::find(e.begin(), e.end(), x[k]) != e.end()) ++common;
    if (common > f.max_common_numbers) return true;
  }
  return false;
}

}  // namespace

void invalidate_candidate_filter() { ++g_filter_generation; }

int64_t check_number_techniques(const std::string& numbers) {
  int64_t x[5];
  if (!read_table_values(numbers, x)) return check_number_techniques_literal(numbers);
  if (!filter_tables_current()) build_filter_tables();
  if (!windows_pass(g_filter, x)) return 0;
  if (shares_too_many(g_filter, x)) {
    ++g_common_rejections;
    return 0;
  }
  return 1;
}

// The fuzz targets get nothing from the coverage of this loop: every pass
// takes the filter's own steps, which the generator's candidates cover, and
// instrumenting up to two million passes would cost most of an input's time.
#if defined(__clang__)
#define KESTROVA_NO_COVERAGE __attribute__((no_sanitize("coverage")))
#else
#define KESTROVA_NO_COVERAGE
#endif

KESTROVA_NO_COVERAGE
NumberSetWalk walk_number_sets(const std::vector<int64_t>& fixed, const std::vector<int64_t>& played,
                               int64_t enough, bool keep_sets) {
  NumberSetWalk walk;
  const int fixed_count = static_cast<int>(fixed.size());
  const int need = 5 - fixed_count;
  const int pool = static_cast<int>(played.size());
  walk.complete = true;
  if (need < 0 || need > pool) return walk;  // the selection has no set at all
  if (enough <= 0) {
    walk.complete = false;
    return walk;
  }
  if (!filter_tables_current()) build_filter_tables();
  const FilterTables& f = g_filter;
  if (f.windows_never_pass) return walk;
  // Every choice of `need` played values in ascending order of their
  // indexes, each merged with the fixed values into an ascending ticket, as
  // the generator writes its numbers.
  const int64_t* values = played.data();
  const int64_t* fixed_values = fixed.data();
  int chosen[5];
  for (int i = 0; i < need; ++i) chosen[i] = i;
  int64_t x[5];
  for (;;) {
    if (fixed_count == 0) {
      for (int k = 0; k < 5; ++k) x[k] = values[chosen[k]];
    } else {
      int a = 0, b = 0;
      for (int k = 0; k < 5; ++k)
        x[k] = b == need || (a < fixed_count && fixed_values[a] < values[chosen[b]]) ? fixed_values[a++]
                                                                                  : values[chosen[b++]];
    }
    if (windows_pass(f, x)) {
      if (shares_too_many(f, x)) {
        ++walk.common_rejections;
      } else {
        if (keep_sets) {
          // Values of a selection are 1..50: 6 bits hold each.
          uint32_t packed = 0;
          for (int k = 0; k < 5; ++k) packed |= static_cast<uint32_t>(x[k]) << (6 * k);
          walk.passing_sets.push_back(packed);
        }
        if (++walk.passing >= enough) {
          walk.complete = false;
          return walk;
        }
      }
    }
    int i = need - 1;
    while (i >= 0 && chosen[i] == pool - need + i) --i;
    if (i < 0) return walk;
    ++chosen[i];
    for (int j = i + 1; j < need; ++j) chosen[j] = chosen[j - 1] + 1;
  }
}
