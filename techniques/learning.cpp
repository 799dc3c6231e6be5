// Learning: every live technique's histogram and window from the past
// results, the longest run of consecutive numbers and the number-pair
// associations. Every technique pass is the one template below applied to a
// row of the catalogue, in the order of g_learning_order.
#include <algorithm>
#include <climits>
#include <span>

#include "core/core.h"
#include "core/text.h"
#include "draws/draws.h"
#include "draws/statistics.h"
#include "techniques/catalogue.h"
#include "techniques/engine.h"
#include "techniques/tab_gadgets.h"
#include "techniques/techniques.h"
#include "ui/ui.h"

int technique_statistics(const TechniqueRow& row, const EntryValues& e, __int128 out[4]) {
  const int64_t* n = e.numbers;
  switch (row.statistic) {
    case STAT_NONE: return 0;
    case STAT_SUM_NUMBERS: {
      __int128 sum = 0;
      for (int k = 0; k < 5; ++k) sum += n[k];
      out[0] = sum;
      return 1;
    }
    case STAT_DECADES: {
      unsigned touched = 0;
      for (int k = 0; k < 5; ++k) {
        int64_t d = decade_of(n[k]);
        if (d >= 0) touched |= 1u << d;
      }
      out[0] = __builtin_popcount(touched);
      return 1;
    }
    case STAT_FIRST_NUMBER: out[0] = n[0]; return 1;
    case STAT_NEIGHBOUR_GAPS:
      for (int k = 0; k < 4; ++k) out[k] = static_cast<__int128>(n[k + 1]) - n[k];
      return 4;
    case STAT_NUMBER_SET: {
      int count = 0;
      for (int k = 0; k < 5; ++k) count += technique_set_holds(row, n[k]) ? 1 : 0;
      out[0] = count;
      return 1;
    }
    case STAT_ENDING: {
      int count = 0;
      for (int k = 0; k < 5; ++k) count += e.endings[k] == row.parameter ? 1 : 0;
      out[0] = count;
      return 1;
    }
    case STAT_DISTANCE: {
      __int128 d = static_cast<__int128>(n[row.parameter - 1]) - n[row.parameter];
      out[0] = d < 0 ? -d : d;
      return 1;
    }
    case STAT_SUM_STARS: out[0] = static_cast<__int128>(e.stars[0]) + e.stars[1]; return 1;
    case STAT_STAR_SET: {
      int count = 0;
      for (int k = 0; k < 2; ++k) count += technique_set_holds(row, e.stars[k]) ? 1 : 0;
      out[0] = count;
      return 1;
    }
  }
  return 0;
}

int64_t longest_number_run(const EntryValues& e) {
  int64_t run = 1, longest = 1;
  for (int k = 0; k < 4; ++k) {
    if (static_cast<__int128>(e.numbers[k + 1]) == static_cast<__int128>(e.numbers[k]) + 1) {
      ++run;
      longest = std::max(longest, run);
    } else {
      run = 1;
    }
  }
  return longest;
}

// The learning template. A statistic that falls outside the table's cells (a
// negative gap, a sum or a value beyond the last cell, which only an entry
// out of order or out of range can give) is skipped: it is not counted and
// does not widen the window, so the window stays the range of values that
// have a cell.
void learn_technique_table(const TechniqueRow& row, std::span<const EntryValues> entries, TechniqueTable& table) {
  if (row.statistic == STAT_NONE) return;
  table.cells.assign(static_cast<size_t>(technique_cell_count(row.cells)), OutcomeStat{0, 0});
  table.max = 0;
  table.min = 999;
  const __int128 cells = static_cast<__int128>(table.cells.size());
  __int128 values[4];
  for (const EntryValues& entry : entries) {
    int produced = technique_statistics(row, entry, values);
    for (int i = 0; i < produced; ++i) {
      __int128 v = values[i];
      if (v < 0 || v >= cells) continue;
      OutcomeStat& cell = table.cells[static_cast<size_t>(v)];
      if (cell.count < INT32_MAX) ++cell.count;
      int64_t value = static_cast<int64_t>(v);
      if (value > table.max) table.max = value;
      if (value < table.min) table.min = value;
    }
  }
  if (table.max != 0 && table.min != 999 && table.max >= table.min) {
    int64_t largest = 0;
    for (int64_t v = table.min; v <= table.max; ++v)
      largest = std::max<int64_t>(largest, table.cells[static_cast<size_t>(v)].count);
    for (int64_t v = table.min; v <= table.max; ++v) {
      OutcomeStat& cell = table.cells[static_cast<size_t>(v)];
      if (cell.count > 0) cell.percent = static_cast<int32_t>(int64_t{cell.count} * 100 / largest);
    }
  }
}

int64_t longest_run_of(std::span<const EntryValues> entries) {
  int64_t longest = 1;
  for (const EntryValues& entry : entries) longest = std::max(longest, longest_number_run(entry));
  return longest;
}

namespace {

// A pair with a number outside 1..N has no cell of its own (row and column 0
// hold nothing) and is skipped.
void learn_number_associations_from(const std::vector<EntryValues>& entries) {
  create_number_associations();
  const int64_t n = static_cast<int64_t>(g_number_associations.size()) - 1;
  for (const EntryValues& entry : entries) {
    for (int64_t a : entry.numbers) {
      if (a < 1 || a > n) continue;
      for (int64_t b : entry.numbers) {
        if (b < 1 || b > n) continue;
        OutcomeStat& cell = g_number_associations[static_cast<size_t>(a)][static_cast<size_t>(b)];
        if (cell.count < INT32_MAX) ++cell.count;
      }
    }
  }
  for (int64_t a = 1; a <= n; ++a) {
    std::vector<OutcomeStat>& cells = g_number_associations[static_cast<size_t>(a)];
    int64_t largest = 0;
    for (int64_t b = 1; b <= n; ++b) largest = std::max<int64_t>(largest, cells[static_cast<size_t>(b)].count);
    for (int64_t b = 1; b <= n; ++b) {
      OutcomeStat& cell = cells[static_cast<size_t>(b)];
      if (cell.count > 0) cell.percent = static_cast<int32_t>(int64_t{cell.count} * 100 / largest);
    }
  }
}

}  // namespace

int64_t decade_of(int64_t v) {
  if (v >= 1 && v <= 9) return 0;
  if (v >= 10 && v <= 59) return v / 10;
  return -1;
}

int64_t database_entries_in_use() {
  int64_t stored = static_cast<int64_t>(g_database_draws.size()) - 1;
  return std::clamp<int64_t>(g_database_draw_count, 0, std::max<int64_t>(stored, 0));
}

EntryValues read_entry_values(const std::string& entry) {
  EntryValues e{};
  for (int k = 0; k < 5; ++k) {
    std::string field = string_field(entry, k + 1, " ");
    e.numbers[k] = val_int(field);
    e.endings[k] = val_int(text_right(field, 1));
  }
  for (int k = 0; k < 2; ++k) e.stars[k] = val_int(string_field(entry, k + 6, " "));
  return e;
}

std::vector<EntryValues> read_database_values() {
  int64_t count = database_entries_in_use();
  std::vector<EntryValues> values;
  values.reserve(static_cast<size_t>(count));
  for (int64_t i = 1; i <= count; ++i) values.push_back(read_entry_values(g_database_draws[static_cast<size_t>(i)]));
  return values;
}

void learn_technique(TechniqueId technique) {
  if (technique < 0 || technique >= TECHNIQUE_COUNT) return;
  const TechniqueRow& row = g_technique_catalogue[technique];
  learn_technique_table(row, read_database_values(), g_techniques[row.id]);
}

void learn_max_sequence() { g_max_number_sequence = longest_run_of(read_database_values()); }

void learn_number_associations() { learn_number_associations_from(read_database_values()); }

void run_learning_passes() {
  // Every entry is read once; the passes work on the values.
  const std::vector<EntryValues> entries = read_database_values();
  for (const EnginePass& pass : g_learning_order) {
    switch (pass.kind) {
      case PASS_TECHNIQUE: {
        const TechniqueRow& row = g_technique_catalogue[pass.technique];
        learn_technique_table(row, entries, g_techniques[row.id]);
        break;
      }
      case PASS_COMMON_NUMBERS_FIELD: g_max_common_numbers = val_int(ui_text(GADGET_MAX_COMMON_NUMBERS)); break;
      case PASS_MAX_SEQUENCE: g_max_number_sequence = longest_run_of(entries); break;
      case PASS_NUMBER_ASSOCIATIONS: learn_number_associations_from(entries); break;
    }
  }
}

void learn_techniques() {
  if (g_database_draw_count <= 0) {
    ui_message(translate("Error"), translate("No draws database for techniques."), UI_ICON_WARNING);
    return;
  }
  draw_chart_frames();
  clear_best_lists();
  count_number_and_star_frequencies();
  draw_frequency_charts();
  fill_frequency_rankings();
  reset_technique_windows();
  run_learning_passes();
  show_technique_settings();
  // The Statistics tab's copy buttons and their spins.
  for (int gadget = STATS_COPY_NUMBERS; gadget <= STATS_STARS_COUNT_SPIN; ++gadget)
    ui_disable(gadget, false);
}
