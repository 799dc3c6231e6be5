// The technique settings file followed by Generate Draws of a few tickets
// with the techniques on: the windows read from the bytes go through their
// fields (as at start-up) to the run, whose every accepted ticket must pass
// them. A run that accepts nothing within a fixed number of candidates is
// stopped with the progress window's Cancel, as a player would; a run that
// the generator refuses shows its message, answered by the test seam.
#include <cstdint>
#include <set>
#include <string>
#include <utility>

#include "core/core.h"
#include "core/ids.h"
#include "core/state.h"
#include "draws/draws.h"
#include "draws/main_tab_ids.h"
#include "fuzz/fuzz_support.h"
#include "support/program_fixture.h"
#include "techniques/techniques.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

constexpr int64_t kTickets = 3;
// Candidates a run may try without accepting one before Cancel is pressed.
constexpr int64_t kCandidatesWithoutTicket = 60;

int64_t g_candidates_since_ticket = 0;
int64_t g_tickets_seen = 0;

// The generator polls once per candidate, and the seam calls this hook when
// a poll finds nothing queued.
void count_candidate() {
  if (g_draw_count != g_tickets_seen) {
    g_tickets_seen = g_draw_count;
    g_candidates_since_ticket = 0;
  }
  if (++g_candidates_since_ticket == kCandidatesWithoutTicket) ui_test_click(GADGET_PROGRESS_CANCEL);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start_program();
  fuzz_learn_sample_database();
  fuzz_drop_association_grid();
  ui_test_select_tab(GADGET_PANEL, TAB_MAIN);
  g_draws_to_generate = kTickets;
  g_use_special_techniques = 1;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_write_file(fuzz_directory() + "settings/techniques.prefs", fuzz_bytes(data, size));
  FuzzEmptyDrawListAfter empty_list_after;
  reset_technique_windows();
  load_technique_prefs();
  show_technique_settings();
  ui_test_clear_messages();
  g_candidates_since_ticket = 0;
  g_tickets_seen = 0;
  ui_test_set_idle_hook(count_candidate);
  click_gadget(GADGET_GENERATE);
  ui_test_set_idle_hook(nullptr);

  fuzz_require(g_draw_count >= 0 && g_draw_count <= kTickets, "no more tickets than asked for");
  if (!ui_test_messages().empty()) fuzz_require(g_draw_count == 0, "a refused run lists nothing");
  std::set<std::pair<std::string, std::string>> tickets;
  for (int64_t i = 1; i <= g_draw_count; ++i) {
    const std::string& numbers = g_draw_numbers[static_cast<size_t>(i)];
    const std::string& stars = g_draw_stars[static_cast<size_t>(i)];
    fuzz_require(check_number_techniques(numbers) == 1 && check_star_windows(stars) == 1,
                 "every generated ticket passes the windows");
    fuzz_require(tickets.emplace(numbers, stars).second, "a ticket is listed once");
  }
  return 0;
}
