// The technique windows as the player sees them: one text field per settings
// slot. Values move between the fields and the globals only here, always in
// slot order; the field check colours a field red while its text is not a
// whole number in the field's range.
#include "core/core.h"
#include "core/text.h"
#include "draws/draws.h"
#include "techniques/catalogue.h"
#include "techniques/tab_gadgets.h"
#include "techniques/techniques.h"
#include "ui/ui.h"

void read_technique_windows() {
  // No range check: a field shown in red is taken as typed, an empty one as 0.
  for (const TechniqueSlot& slot : g_technique_slots) *slot.value = val_int(ui_text(slot.field));
}

void show_technique_settings() {
  // The association grid is redrawn between the column fields and the right
  // diagonals, where the grid's page comes in the slot order.
  const int grid_slot = g_technique_catalogue[T_right_diagonal_1].max_slot - 1;
  for (int k = 0; k < TECHNIQUE_SLOT_COUNT; ++k) {
    if (k == grid_slot) refresh_number_association_buttons();
    ui_set_text(g_technique_slots[k].field, str_int(*g_technique_slots[k].value));
  }
}

int64_t validate_technique_field(int64_t gadget) {
  int64_t min = 0;
  int64_t max = 0;
  const int slot = technique_slot_of_field(gadget);
  if (slot >= 0) {
    technique_field_range(g_technique_slots[slot].range, &min, &max);
  } else if (gadget == GADGET_REMOVE_THRESHOLD) {
    min = 0;
    max = 100;
  } else if (gadget == GADGET_MAX_STAR_SEQUENCE) {
    min = 1;
    max = 2;
  } else {
    return 0;
  }
  validate_number_field(gadget, static_cast<float>(min), static_cast<float>(max), 0, 0);
  return 0;
}

void reset_techniques() {
  draw_chart_frames();
  clear_best_lists();
  reset_technique_windows();
  show_technique_settings();
}

void save_techniques() {
  read_technique_windows();
  save_technique_prefs();
}
