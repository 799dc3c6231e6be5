#include "support/engine_support.h"

#include "core/state.h"
#include "support/test_support.h"
#include "techniques/techniques.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

void start_engine_test() {
  enter_fresh_directory();
  ui_test_reset();
  init_game_state();
}

void set_database(const std::vector<std::string>& entries) {
  g_database_draws.assign(1, "");
  g_database_draws.insert(g_database_draws.end(), entries.begin(), entries.end());
  g_database_draw_count = static_cast<int64_t>(entries.size());
  g_database_path = "past_results.txt";
}

void open_every_window() {
  for (TechniqueTable& table : g_techniques) {
    table.min = -1000;
    table.max = 1000;
  }
  g_max_number_sequence = 5;
  g_max_common_numbers = 5;
}

void set_window(TechniqueId technique, int64_t min, int64_t max) {
  g_techniques[technique].min = min;
  g_techniques[technique].max = max;
}

void create_engine_gadgets() {
  ui_open_window(0, 0, 0, 800, 600, "Kestrova", UI_WINDOW_CAPTION);
  ui_text_field(438, 10, 10, 40, 23, "3");
  ui_spin(363, 10, 40, 56, 34, 0, 100, UI_SPIN_NUMERIC);
  ui_label(610, 10, 80, 200, 18, "Information Theory Removed:N/A");
}
