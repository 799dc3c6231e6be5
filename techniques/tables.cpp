// The technique tables' start-up state and the reset of every window to
// "not learned" (max 0, min 999), with the association matrices.
#include <algorithm>

#include "core/core.h"
#include "core/text.h"
#include "techniques/catalogue.h"
#include "techniques/engine.h"
#include "techniques/tab_gadgets.h"
#include "techniques/techniques.h"
#include "ui/ui.h"

std::vector<std::vector<OutcomeStat>> g_number_associations;
std::vector<std::vector<int64_t>> g_star_associations;
std::vector<std::vector<int64_t>> g_star_pair_associations;
int64_t g_selected_association_number = 1;
int64_t g_selected_association_star = 1;
int64_t g_selected_star_association_star = 1;

namespace {

constexpr int64_t NOT_LEARNED_MAX = 0;
constexpr int64_t NOT_LEARNED_MIN = 999;

}  // namespace

void create_number_associations() {
  int64_t n = std::clamp<int64_t>(g_highest_number, 0, 50);
  g_number_associations.assign(static_cast<size_t>(n + 1),
                               std::vector<OutcomeStat>(static_cast<size_t>(n + 1), OutcomeStat{0, 0}));
}

void init_technique_tables() {
  int64_t n = std::clamp<int64_t>(g_highest_number, 0, 50);
  int64_t m = std::clamp<int64_t>(g_highest_star, 0, 12);
  for (const TechniqueRow& row : g_technique_catalogue) {
    TechniqueTable& table = g_techniques[row.id];
    table.cells.assign(static_cast<size_t>(technique_cell_count(row.cells)), OutcomeStat{0, 0});
    table.max = NOT_LEARNED_MAX;
    table.min = NOT_LEARNED_MIN;
    if (row.id == T_max_distance) g_max_number_sequence = 1;
    if (row.id == T_row_9) {
      g_selected_association_number = 1;
      create_number_associations();
    }
    if (row.id == T_half_high) g_max_common_numbers = 3;
    if (row.id == T_star_column_3) {
      g_selected_association_star = 1;
      g_star_associations.assign(static_cast<size_t>(m + 1),
                                 std::vector<int64_t>(static_cast<size_t>(n + 1), 0));
      g_selected_star_association_star = 1;
      g_star_pair_associations.assign(static_cast<size_t>(m + 1),
                                      std::vector<int64_t>(static_cast<size_t>(m + 1), 0));
    }
  }
}

void reset_technique_windows() {
  for (const TechniqueRow& row : g_technique_catalogue) {
    g_techniques[row.id].max = NOT_LEARNED_MAX;
    g_techniques[row.id].min = NOT_LEARNED_MIN;
    if (row.id == T_primes) g_max_common_numbers = 3;
    if (row.id == T_max_distance) g_max_number_sequence = 1;
  }
  // Cells (i, j) for i, j in 1..N, as far as the matrix reaches (it was sized
  // from the N in force when it was made).
  const size_t n = static_cast<size_t>(std::max<int64_t>(g_highest_number, 0));
  for (size_t i = 1; i <= n && i < g_number_associations.size(); ++i) {
    std::vector<OutcomeStat>& cells = g_number_associations[i];
    if (cells.size() > 1) std::fill(cells.begin() + 1, cells.begin() + std::min(n + 1, cells.size()), OutcomeStat{0, 0});
  }
  ui_set_text(GADGET_INFORMATION_THEORY_LABEL, translate("Information Theory Removed:") + "N/A");
  fit_gadget_to_content(GADGET_INFORMATION_THEORY_LABEL);
}
