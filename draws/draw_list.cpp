// The draw list (its storage, its rows in list 26 and the set of listed
// tickets that the repeat check asks), the 18 prize tiers and the actions of
// the result box: field colouring, Check for Prizes, Validate, clearing the
// fields and Paste.
#include <algorithm>
#include <functional>
#include <string_view>
#include <vector>

#include "core/core.h"
#include "core/text.h"
#include "draws/draws.h"
#include "draws/main_tab_ids.h"
#include "techniques/techniques.h"
#include "ui/ui.h"

namespace {

// ---- the set of listed tickets ----------------------------------------------
// Open addressing over ticket indices: slot value i (> 0) stands for ticket i
// of g_draw_numbers / g_draw_stars, 0 for a free slot. The texts stay in the
// list; the table holds only their positions and hashes, so a lookup builds
// no string.
struct ListedTicketSlot {
  uint64_t hash;
  int64_t ticket;
};
std::vector<ListedTicketSlot> g_listed_slots;  // a power of two in size, or empty
int64_t g_listed_count = 0;

uint64_t ticket_hash(const std::string& numbers, const std::string& stars) {
  std::hash<std::string_view> h;
  uint64_t a = h(numbers);
  uint64_t b = h(stars);
  return a ^ (b + 0x9E3779B97F4A7C15ull + (a << 6) + (a >> 2));
}

void insert_listed_slot(uint64_t hash, int64_t ticket) {
  size_t mask = g_listed_slots.size() - 1;
  size_t at = hash & mask;
  while (g_listed_slots[at].ticket != 0) at = (at + 1) & mask;
  g_listed_slots[at] = {hash, ticket};
}

// The slot that holds a listed ticket equal to these texts, or else the free
// slot where the probe for them ends. The table must not be empty.
size_t listed_slot_for(uint64_t hash, const std::string& numbers, const std::string& stars) {
  const size_t mask = g_listed_slots.size() - 1;
  size_t at = hash & mask;
  for (; g_listed_slots[at].ticket != 0; at = (at + 1) & mask) {
    const ListedTicketSlot& s = g_listed_slots[at];
    if (s.hash == hash && s.ticket <= g_draw_count && g_draw_numbers[s.ticket] == numbers &&
        g_draw_stars[s.ticket] == stars)
      break;
  }
  return at;
}

void remember_listed_ticket(int64_t ticket) {
  if ((g_listed_count + 1) * 2 > static_cast<int64_t>(g_listed_slots.size())) {
    std::vector<ListedTicketSlot> old;
    old.swap(g_listed_slots);
    g_listed_slots.assign(old.empty() ? 1024 : old.size() * 2, ListedTicketSlot{0, 0});
    for (const ListedTicketSlot& s : old)
      if (s.ticket != 0) insert_listed_slot(s.hash, s.ticket);
  }
  // A ticket already in the set is not entered again: one entry answers
  // "is it listed?", and copies would share one probe chain, so that a list
  // of a few tickets repeated many times (an opened file) took quadratic time.
  const uint64_t hash = ticket_hash(g_draw_numbers[ticket], g_draw_stars[ticket]);
  const size_t at = listed_slot_for(hash, g_draw_numbers[ticket], g_draw_stars[ticket]);
  if (g_listed_slots[at].ticket != 0) return;
  g_listed_slots[at] = {hash, ticket};
  ++g_listed_count;
}

// ---- prize tiers --------------------------------------------------------------
// Tier k (0..17) counts tickets with 5 - k / 3 number hits and 2 - k % 3 star
// hits; label 28 + k shows it.
int64_t* const kTierCounters[18] = {
    &g_hits_5_2, &g_hits_5_1, &g_hits_5_0, &g_hits_4_2, &g_hits_4_1, &g_hits_4_0,
    &g_hits_3_2, &g_hits_3_1, &g_hits_3_0, &g_hits_2_2, &g_hits_2_1, &g_hits_2_0,
    &g_hits_1_2, &g_hits_1_1, &g_hits_1_0, &g_hits_0_2, &g_hits_0_1, &g_hits_0_0};
const char* const kTierTexts[18] = {"5+2:", "5+1:", "5+0:", "4+2:", "4+1:", "4+0:",
                                    "3+2:", "3+1:", "3+0:", "2+2:", "2+1:", "2+0:",
                                    "1+2:", "1+1:", "1+0:", "0+2:", "0+1:", "0+0:"};

// Integer values of fields 1..count of a text split at ",", as the prize check
// reads them (an empty or missing field is 0).
void read_ticket_fields(const std::string& text, int count, int64_t* values) {
  size_t start = 0;
  bool more = true;
  for (int j = 0; j < count; ++j) {
    if (!more) {
      values[j] = 0;
      continue;
    }
    size_t comma = text.find(',', start);
    values[j] = val_int(text.substr(start, comma == std::string::npos ? std::string::npos
                                                                       : comma - start));
    if (comma == std::string::npos) more = false;
    else start = comma + 1;
  }
}

// Appends to row the cells of fields 1..cells of text split at ",", each
// after a line feed, empty past the text's last field.
void append_row_cells(std::string& row, const std::string& text, int cells) {
  size_t start = 0;
  bool more = true;
  for (int j = 0; j < cells; ++j) {
    row += '\n';
    if (!more) continue;
    size_t comma = text.find(',', start);
    if (comma == std::string::npos) {
      row.append(text, start, std::string::npos);
      more = false;
    } else {
      row.append(text, start, comma - start);
      start = comma + 1;
    }
  }
}

constexpr int64_t kUpFrontSlots = 1 << 16;

}  // namespace

int64_t g_scan_for_repeats = 0;

const int64_t kHitColours[6] = {HIT_COLOUR_GREY, HIT_COLOUR_BLACK, HIT_COLOUR_GREEN,
                                HIT_COLOUR_YELLOW, HIT_COLOUR_PINK, HIT_COLOUR_RED};

int64_t hit_colour(int64_t number_hits) {
  if (number_hits < 0) number_hits = 0;
  return kHitColours[number_hits > 5 ? 5 : number_hits];
}

int64_t tier_colour(int64_t tier) { return kHitColours[5 - tier / 3]; }

void forget_listed_tickets() {
  g_listed_slots.clear();
  g_listed_count = 0;
}

int64_t ticket_is_listed(const std::string& numbers, const std::string& stars) {
  if (g_listed_count == 0) return 0;
  return g_listed_slots[listed_slot_for(ticket_hash(numbers, stars), numbers, stars)].ticket != 0;
}

int64_t ticket_is_listed_by_scan(const std::string& numbers, const std::string& stars) {
  for (int64_t i = 1; i <= g_draw_count; ++i)
    if (g_draw_numbers[i] == numbers && g_draw_stars[i] == stars) return 1;
  return 0;
}

void size_draw_list(int64_t count) {
  // A request can reach 139,838,160 tickets; slots beyond the first 65,536
  // are added by add_draw_to_list as tickets arrive instead of up front.
  size_t slots = static_cast<size_t>(std::clamp<int64_t>(count, 0, kUpFrontSlots)) + 1;
  g_draw_numbers.resize(slots);
  g_draw_stars.resize(slots);
}

void add_draw_to_list(const std::string& numbers, const std::string& stars) {
  if (g_draw_count < 1) return;
  if (static_cast<size_t>(g_draw_count) >= g_draw_numbers.size()) {
    size_t slots = std::max(g_draw_numbers.size() * 2, static_cast<size_t>(g_draw_count) + 1);
    g_draw_numbers.resize(slots);
    g_draw_stars.resize(slots);
  }
  g_draw_numbers[g_draw_count] = numbers;
  g_draw_stars[g_draw_count] = stars;
  // Every fill of the list (a generation, an opened file) starts at ticket
  // 1, so the set starts afresh there too.
  if (g_draw_count == 1) forget_listed_tickets();
  remember_listed_ticket(g_draw_count);
  std::string row = str_int(g_draw_count);
  row.reserve(row.size() + numbers.size() + stars.size() + 24);
  append_row_cells(row, numbers, 11);
  append_row_cells(row, stars, 12);
  ui_add_item(GADGET_DRAW_LIST, -1, row);
}

void reset_hit_counters() {
  for (int64_t* counter : kTierCounters) *counter = 0;
}

void show_hit_counters() {
  for (int k = 0; k < 18; ++k)
    ui_set_text(GADGET_TIER_FIRST + k, std::string(kTierTexts[k]) + str_int(*kTierCounters[k]));
}

std::string tier_text(int64_t tier) { return kTierTexts[tier]; }

void validate_result_field(int64_t gadget) {
  float highest = gadget <= GADGET_RESULT_NUMBER_LAST ? static_cast<float>(g_highest_number)
                                                      : static_cast<float>(g_highest_star);
  validate_number_field(gadget, 1, highest, 0, 1);
}

int64_t result_field_value(int64_t gadget) {
  const int g = static_cast<int>(gadget);
  const int64_t highest = g <= GADGET_RESULT_NUMBER_LAST ? g_highest_number : g_highest_star;
  const std::string text = ui_text(g);
  return number_text_in_range(text, 1, static_cast<float>(highest), 0) == 1 ? val_int(text) : 0;
}

int64_t check_result_fields_range() {
  // Whole numbers only: "2.5" would be read as 2.
  std::string numbers_message =
      translate("The numbers must be in the range 1:") + str_int(g_highest_number);
  for (int g = GADGET_RESULT_NUMBER_FIRST; g <= GADGET_RESULT_NUMBER_LAST; ++g)
    if (check_whole_range_field(g, static_cast<float>(g_highest_number), numbers_message) == 1)
      return 0;
  std::string stars_message =
      translate("The stars must be in the range 1:") + str_int(g_highest_star);
  for (int g = GADGET_RESULT_STAR_FIRST; g <= GADGET_RESULT_STAR_LAST; ++g)
    if (check_whole_range_field(g, static_cast<float>(g_highest_star), stars_message) == 1) return 0;
  return check_result_fields_differ();
}

int64_t check_result_fields_differ() {
  // No drawn result repeats a number or a star, so a repeat is a slip of
  // typing or pasting; checked, it would count a ticket's value once per
  // field. The focus goes to the field that repeats an earlier one.
  auto repeats_earlier = [](int first, int field) {
    const int64_t value = result_field_value(field);
    if (value == 0) return false;
    for (int g = first; g < field; ++g)
      if (result_field_value(g) == value) return true;
    return false;
  };
  for (int g = GADGET_RESULT_NUMBER_FIRST; g <= GADGET_RESULT_STAR_LAST; ++g) {
    int first = g <= GADGET_RESULT_NUMBER_LAST ? GADGET_RESULT_NUMBER_FIRST : GADGET_RESULT_STAR_FIRST;
    if (!repeats_earlier(first, g)) continue;
    ui_message(translate("Warning!"),
               translate("The numbers and the stars of a result must all be different."),
               UI_ICON_WARNING);
    ui_set_focus(g);
    return 0;
  }
  return 1;
}

void check_for_prizes() {
  if (g_draw_count == 0) {
    ui_message(translate("Warning!"), translate("No draws found."), UI_ICON_WARNING);
    return;
  }
  g_result_numbers.assign(6, 0);
  g_result_stars.assign(3, 0);
  if (check_result_fields_range() == 0) return;
  for (int k = 1; k <= 5; ++k)
    g_result_numbers[k] = val_int(ui_text(GADGET_RESULT_NUMBER_FIRST + k - 1));
  for (int k = 1; k <= 2; ++k)
    g_result_stars[k] = val_int(ui_text(GADGET_RESULT_STAR_FIRST + k - 1));
  reset_hit_counters();
  int64_t numbers[11];
  int64_t stars[12];
  for (int64_t i = 1; i <= g_draw_count; ++i) {
    read_ticket_fields(g_draw_numbers[i], 11, numbers);
    read_ticket_fields(g_draw_stars[i], 12, stars);
    // Each result field counts every equal ticket value, so a number typed
    // twice counts twice; an empty ticket field reads 0, which no checked
    // result value equals.
    int64_t h = 0;
    for (int r = 1; r <= 5; ++r)
      for (int64_t v : numbers) h += v == g_result_numbers[r];
    int64_t s = 0;
    for (int r = 1; r <= 2; ++r)
      for (int64_t v : stars) s += v == g_result_stars[r];
    int row = static_cast<int>(i - 1);
    ui_set_item_text(GADGET_DRAW_LIST, row, str_int(h), 24);
    ui_set_item_text(GADGET_DRAW_LIST, row, str_int(s), 25);
    ui_set_item_colour(GADGET_DRAW_LIST, row, hit_colour(h));
    if (h >= 0 && h <= 5 && s >= 0 && s <= 2) *kTierCounters[(5 - h) * 3 + (2 - s)] += 1;
  }
  show_hit_counters();
}

void validate_typed_draw() {
  if (check_result_fields_range() == 0) return;
  std::string numbers;
  for (int g = GADGET_RESULT_NUMBER_FIRST; g <= GADGET_RESULT_NUMBER_LAST; ++g)
    numbers += ui_text(g) + ",";
  std::string stars;
  for (int g = GADGET_RESULT_STAR_FIRST; g <= GADGET_RESULT_STAR_LAST; ++g)
    stars += ui_text(g) + ",";
  bool valid = check_number_techniques(numbers) == 1 && check_star_windows(stars) == 1;
  ui_message("Warning!", valid ? "Draw is valid." : "Draw is invalid.", UI_ICON_WARNING);
}

void clear_result_fields() {
  for (int g = GADGET_RESULT_NUMBER_FIRST; g <= GADGET_RESULT_STAR_LAST; ++g) ui_set_text(g, "");
}

void paste_draw_from_clipboard() {
  std::string t = ui_clipboard_text();
  if (t.empty()) {
    ui_message(translate("Warning!"), translate("No draw in clipboard."), UI_ICON_WARNING);
    return;
  }
  t = replace_string(t, " + ", " ");
  // The values are not checked here: a field keeps what is pasted into it,
  // however long ("148", "11" with a line break), and the range check of
  // "Check for Prizes" and "Validate" refuses it there.
  if (count_string(t, " ") != 6) {
    ui_message(translate("Warning!"), translate("Invalid draw in clipboard."), UI_ICON_WARNING);
    return;
  }
  for (int k = 0; k < 7; ++k) ui_set_text(GADGET_RESULT_NUMBER_FIRST + k, string_field(t, k + 1, " "));
}
