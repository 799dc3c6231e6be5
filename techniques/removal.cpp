// Remove: strike every learned outcome at or below the threshold out of its
// table and move each window's bounds inwards past the outcomes that are
// struck out or were never seen; the Information Theory pass thins the
// number pairs the same way. Every window pass is the one trim routine below
// applied to a row of the catalogue, in the order of g_removal_order.
#include <algorithm>

#include "core/core.h"
#include "core/text.h"
#include "techniques/catalogue.h"
#include "techniques/engine.h"
#include "techniques/tab_gadgets.h"
#include "techniques/techniques.h"
#include "ui/ui.h"

// One window pass. A window can reach it holding anything (a typed field or
// the settings file is taken unchecked): outcomes that the table has no cell
// for are taken as never seen, percent 0, which is what they are. So the
// walks run over the part of min..max that the table covers, nothing outside
// the table is read or written, and a bound only ever moves onto a cell whose
// percent is not 0; when no such cell lies in the window, both bounds stay.
void trim_technique_table(const TechniqueRow& row, int64_t threshold, TechniqueTable& table) {
  if (row.trim != TRIM_BOTH && row.trim != TRIM_MAX_ONLY) return;
  if (table.max == 0 || table.min == 999 || table.max < table.min) return;

  const int64_t last_cell = static_cast<int64_t>(table.cells.size()) - 1;
  const int64_t low = std::max<int64_t>(table.min, 0);
  const int64_t high = std::min<int64_t>(table.max, last_cell);
  auto percent = [&](int64_t v) -> int32_t& { return table.cells[static_cast<size_t>(v)].percent; };

  for (int64_t v = low; v <= high; ++v)
    if (int64_t{percent(v)} <= threshold) percent(v) = 0;

  int64_t floor = table.min;
  if (row.trim == TRIM_BOTH) {
    for (int64_t v = low; v <= high; ++v) {
      if (percent(v) != 0) {
        table.min = v;
        break;
      }
    }
    floor = table.min;
  }
  for (int64_t v = high; v >= std::max<int64_t>(floor, 0) && v >= low; --v) {
    if (percent(v) != 0) {
      table.max = v;
      break;
    }
  }
}

void trim_technique_window(TechniqueId technique) {
  if (technique < 0 || technique >= TECHNIQUE_COUNT) return;
  trim_technique_table(g_technique_catalogue[technique], g_removal_threshold, g_techniques[technique]);
}

void remove_weak_associations() {
  const int64_t n = g_highest_number;
  const int64_t threshold = g_removal_threshold;
  int64_t removed = 0;
  // Rows and columns 1..N as far as the matrix reaches: it was sized from the
  // N in force at the last Learn or at start-up.
  for (int64_t i = 1; i <= n && i < static_cast<int64_t>(g_number_associations.size()); ++i) {
    std::vector<OutcomeStat>& cells = g_number_associations[static_cast<size_t>(i)];
    if (cells.size() <= 1) continue;
    const auto end = cells.begin() + static_cast<std::ptrdiff_t>(std::min<size_t>(static_cast<size_t>(n) + 1, cells.size()));
    for (auto cell = cells.begin() + 1; cell != end; ++cell) {
      if (cell->percent != 0 && int64_t{cell->percent} <= threshold) {
        cell->percent = 0;
        ++removed;
      }
    }
  }
  ui_set_text(GADGET_INFORMATION_THEORY_LABEL, translate("Information Theory Removed:") + str_int(removed));
  fit_gadget_to_content(GADGET_INFORMATION_THEORY_LABEL);
}

void force_removal_limits(TechniqueTable* tables, int64_t& max_number_sequence) {
  tables[T_decades].max = 4;
  tables[T_decades].min = 3;
  max_number_sequence = 2;
}

void run_removal_passes() {
  force_removal_limits(g_techniques, g_max_number_sequence);
  for (const EnginePass& pass : g_removal_order) {
    if (pass.kind == PASS_TECHNIQUE) trim_technique_window(pass.technique);
    else remove_weak_associations();
  }
}

void remove_weak_outcomes() {
  if (g_database_draw_count <= 0) {
    ui_message(translate("Error"), translate("No draws database for techniques."), UI_ICON_WARNING);
    return;
  }
  g_removal_threshold = ui_state(GADGET_REMOVE_THRESHOLD);
  run_removal_passes();
  show_technique_settings();
}
