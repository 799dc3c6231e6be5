#include "support/draws_support.h"

#include "draws/draws.h"
#include "draws/main_tab_ids.h"
#include "ui/ui.h"

void list_tickets(const std::vector<Ticket>& tickets) {
  ui_clear_items(GADGET_DRAW_LIST);
  forget_listed_tickets();
  g_draw_count = 0;
  size_draw_list(static_cast<int64_t>(tickets.size()));
  for (const Ticket& t : tickets) {
    ++g_draw_count;
    add_draw_to_list(t.first, t.second);
  }
  g_preview_valid = 0;
}
