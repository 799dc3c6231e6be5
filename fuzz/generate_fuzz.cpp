// The technique settings file followed by the generator making a few tickets
// with the techniques on: the windows read from the bytes go straight to the
// run, whose every accepted ticket must pass them. (Their way through the
// Techniques tab's fields is the technique_prefs target's; the Generate
// button around the run adds only the main window's disabling, whose cost in
// the toolkit would be most of an input's.) A run that accepts nothing
// within a fixed number of candidates is stopped with the progress window's
// Cancel, as a player would; a run that the generator refuses shows its
// message, answered by the test seam.
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
  ui_test_clear_messages();
  g_candidates_since_ticket = 0;
  g_tickets_seen = 0;
  // What the Generate button does around the run: an empty count before it,
  // the request as asked after it.
  g_draw_count = 0;
  ui_test_set_idle_hook(count_candidate);
  generate_draws();
  ui_test_set_idle_hook(nullptr);
  fuzz_require(g_draws_to_generate <= kTickets, "the run asked for at most the request");
  g_draws_to_generate = kTickets;

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
