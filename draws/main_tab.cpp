// The Main tab: its controls, its event routing, Clear, and the preview window
// of the numbers and stars the listed tickets play.
#include <string>
#include <vector>

#include "core/core.h"
#include "core/ids.h"
#include "core/text.h"
#include "draws/draws.h"
#include "draws/main_tab_ids.h"
#include "ui/ui.h"

namespace {

constexpr int64_t kBlack = 0;
constexpr int64_t kGrey = 128 + 256 * 128 + 65536 * 128;
constexpr int64_t kBrightGreen = 256 * 255;  // a played cell of the preview
constexpr int64_t kRed = 255;                // an unhit result value
constexpr int64_t kLegendGreen = HIT_COLOUR_GREEN;

int right_edge(int gadget) { return ui_x(gadget) + ui_width(gadget); }
int bottom_edge(int gadget) { return ui_y(gadget) + ui_height(gadget); }

// A label of the preview made at (x, y) and shrunk or grown to its text.
void fitted_label(int gadget, int x, int y, int w, int h, const std::string& text, int64_t front) {
  ui_label(gadget, x, y, w, h, text);
  if (front != UI_DEFAULT_COLOUR) ui_set_colour(gadget, UI_FRONT, front);
  fit_gadget_to_content(gadget);
}

// The cell grid of the preview: count labels base + 1 .. base + count,
// per_row to a row, from (x0, 10); cells above highest are greyed.
void create_preview_grid(int base, int count, int per_row, int x0, int64_t highest) {
  int x = x0;
  int y = 10;
  for (int n = 1; n <= count; ++n) {
    int gadget = base + n;
    fitted_label(gadget, x, y, 90, 22, two_digits(n),
                 n <= highest ? kBlack : kGrey);
    if (n % per_row == 0) {
      x = x0;
      y += ui_height(gadget) + 10;
    } else {
      x = right_edge(gadget) + 15;
    }
  }
}

// Greens the cells of the values 1..highest that the listed tickets play;
// returns how many there are.
int64_t mark_played_values(int64_t highest, const std::vector<int64_t>& played, int base) {
  int64_t count = 0;
  for (int64_t v = 1; v <= highest; ++v) {
    if (played[v] != 1) continue;
    ++count;
    ui_set_colour(base + static_cast<int>(v), UI_BACK, kBrightGreen);
  }
  return count;
}

// Reds the cells of the result fields' values that no ticket plays; returns
// how many fields did so. A field without a value (empty, not a whole
// number, out of range) marks nothing.
int64_t mark_unhit_values(int first_field, int last_field, const std::vector<int64_t>& played, int base) {
  int64_t unhit = 0;
  for (int g = first_field; g <= last_field; ++g) {
    const int64_t v = result_field_value(g);
    if (v != 0 && played[v] == 0) {
      ui_set_colour(base + static_cast<int>(v), UI_BACK, kRed);
      ++unhit;
    }
  }
  return unhit;
}

}  // namespace

int64_t rebuild_preview_cache() {
  g_played_numbers.assign(g_highest_number + 1, 0);
  g_played_stars.assign(g_highest_star + 1, 0);
  for (int64_t i = 1; i <= g_draw_count; ++i) {
    for (int64_t j = 1; j <= g_numbers_per_draw; ++j) {
      int64_t v = val_int(string_field(g_draw_numbers[i], j, ","));
      if (v >= 1 && v <= g_highest_number) g_played_numbers[v] = 1;
    }
    for (int64_t j = 1; j <= g_stars_per_draw; ++j) {
      int64_t v = val_int(string_field(g_draw_stars[i], j, ","));
      if (v >= 1 && v <= g_highest_star) g_played_stars[v] = 1;
    }
    if (poll_abort_request()) return 0;
  }
  g_preview_valid = 1;
  return 1;
}

void build_main_tab() {
  const int text_h = static_cast<int>(g_text_height);
  const int button_h = static_cast<int>(g_button_height);
  const int pic_w = static_cast<int>(g_picture_button_width);
  const int pic_h = static_cast<int>(g_picture_button_height);

  // The list: index, 11 number cells, 12 star cells, the two hit columns,
  // as wide as they and its scroll bar need, so that the summaries beside
  // and under it have room for their largest figures in either language.
  ui_list(GADGET_DRAW_LIST, 4, 15, 965, 434, "#", 95,
          UI_LIST_CHECKBOXES | UI_LIST_FULL_ROW | UI_LIST_ALWAYS_SHOW_SELECTION);
  for (int c = 1; c <= 11; ++c) ui_add_list_column(GADGET_DRAW_LIST, c, str_int(c), 34);
  for (int s = 1; s <= 12; ++s)
    ui_add_list_column(GADGET_DRAW_LIST, 11 + s, "\u2605" + str_int(s), 34);
  std::string hit = g_language == 2 ? "A" : "H";
  ui_add_list_column(GADGET_DRAW_LIST, 24, hit + "\u26AB", 34);
  ui_add_list_column(GADGET_DRAW_LIST, 25, hit + "\u2605", 34);

  // HITS: the 18 tiers in their colours.
  const int hits_x = right_edge(GADGET_DRAW_LIST) + 10;
  const int hits_y = ui_y(GADGET_DRAW_LIST) - 2;
  ui_frame(GADGET_HITS_FRAME, hits_x, hits_y, 130, 437, translate("HITS"));
  for (int k = 0; k < 18; ++k) {
    int gadget = GADGET_TIER_FIRST + k;
    ui_label(gadget, hits_x + 4, hits_y + 21 + k * (text_h + 2), 130 - 5, text_h,
             tier_text(k) + "0");
    ui_set_colour(gadget, UI_FRONT, tier_colour(k));
  }
  ui_image_button(GADGET_EVALUATE, hits_x + 4, bottom_edge(GADGET_TIER_LAST) + 6, pic_w, pic_h,
                  IMAGE_BAR_CHART);
  ui_set_tooltip(GADGET_EVALUATE, translate("Evaluate draws"));
  ui_disable(GADGET_EVALUATE, true);

  // INFO and the Generate button under it.
  const int info_x = right_edge(GADGET_HITS_FRAME) + 10;
  // Wide enough for "Draws:139,838,160/139,838,160" and for the cost of as
  // many tickets at the highest price.
  const int info_w = 216;
  ui_frame(GADGET_INFO_FRAME, info_x, hits_y, info_w, 63, translate("INFO"));
  ui_label(GADGET_DRAWS_LABEL, info_x + 4, hits_y + 21, info_w - 8, text_h,
           translate("Draws:") + str_int(g_draw_count) + "/" + str_int(g_draws_to_generate));
  ui_label(GADGET_COST_LABEL, info_x + 4, bottom_edge(GADGET_DRAWS_LABEL) + 2, info_w - 8, text_h,
           translate("  Cost:") + "0.00 " + g_currency);
  ui_button(GADGET_GENERATE, info_x, bottom_edge(GADGET_INFO_FRAME) + 10, info_w, button_h + 25,
            translate("Generate Draws"));

  // The row under the list: Clear, Extract and Preview, the result box, the
  // rejection counts and the draws file.
  const int row_y = bottom_edge(GADGET_DRAW_LIST) + 21;
  ui_image_button(GADGET_CLEAR_LIST, 4, row_y, pic_w, pic_h, IMAGE_WASTE_BIN);
  ui_set_tooltip(GADGET_CLEAR_LIST, translate("Clear"));
  ui_button(GADGET_EXTRACT, right_edge(GADGET_CLEAR_LIST) + 5, row_y, 95, button_h,
            translate("Extract"));
  ui_button(GADGET_PREVIEW, ui_x(GADGET_EXTRACT), bottom_edge(GADGET_EXTRACT) + 5, 95, button_h,
            translate("Preview"));

  const int box_x = ui_x(GADGET_EXTRACT) + 110;
  const int box_y = row_y - 8;
  const int box_h = 112;
  ui_frame(GADGET_RESULT_FRAME, box_x, box_y, 361, box_h, "");
  const int field_y = box_y + 14;
  const int field_x = box_x + 10;
  const int step = 39;
  const int stars_x = field_x + 5 * step + 20;  // room for the "+" between the groups
  const int buttons_y = field_y + 34 + 10;
  ui_button(GADGET_CHECK_PRIZES, field_x, buttons_y, 120, button_h, translate("Check for Prizes"));
  ui_button(GADGET_VALIDATE, right_edge(GADGET_CHECK_PRIZES) + 10, buttons_y, 90, button_h,
            translate("Validate"));
  ui_image_button(GADGET_CLEAR_RESULT, right_edge(GADGET_VALIDATE) + 10,
                  buttons_y + (button_h - pic_h) / 2, pic_w, pic_h, IMAGE_WASTE_BIN);
  ui_set_tooltip(GADGET_CLEAR_RESULT, translate("Clear"));
  for (int k = 0; k < 5; ++k) {
    ui_text_field(GADGET_RESULT_NUMBER_FIRST + k, field_x + k * step, field_y, 34, 34, "",
                  UI_FIELD_NUMERIC);
    ui_set_max_length(GADGET_RESULT_NUMBER_FIRST + k, RESULT_FIELD_CHARACTERS);
  }
  for (int k = 0; k < 2; ++k) {
    ui_text_field(GADGET_RESULT_STAR_FIRST + k, stars_x + k * step, field_y, 34, 34, "",
                  UI_FIELD_NUMERIC);
    ui_set_max_length(GADGET_RESULT_STAR_FIRST + k, RESULT_FIELD_CHARACTERS);
  }
  ui_image_button(GADGET_PASTE, right_edge(GADGET_RESULT_STAR_LAST) + 10, field_y + (34 - pic_h) / 2,
                  pic_w, pic_h, IMAGE_CLIPBOARD);
  ui_set_tooltip(GADGET_PASTE, translate("Paste Draw from the website of the lottery operator"));
  ui_label(GADGET_RESULT_PLUS, right_edge(GADGET_RESULT_NUMBER_LAST), field_y + 8,
           stars_x - right_edge(GADGET_RESULT_NUMBER_LAST), text_h, "+", UI_LABEL_CENTER);

  // Wide enough for the techniques' count of every ticket of the game with
  // the money it saves at the highest price, in Portuguese the longest.
  const int deleted_x = right_edge(GADGET_RESULT_FRAME) + 15;
  const int deleted_w = 370;
  ui_frame(GADGET_DELETED_FRAME, deleted_x, box_y, deleted_w, box_h,
           translate("Deleted Draws - Techiques"));
  ui_label(GADGET_REPEATED_LABEL, deleted_x + 5, box_y + 28, deleted_w - 10, text_h, "");
  ui_label(GADGET_TECHNIQUES_LABEL, deleted_x + 5, bottom_edge(GADGET_REPEATED_LABEL) + 6,
           deleted_w - 10, text_h, "");
  ui_label(GADGET_COMMON_LABEL, deleted_x + 5, bottom_edge(GADGET_TECHNIQUES_LABEL) + 6,
           deleted_w - 10, text_h, "");
  show_zero_rejection_labels();

  const int file_x = right_edge(GADGET_DELETED_FRAME) + 15;
  // To the right edge of the INFO frame.
  const int file_w = right_edge(GADGET_INFO_FRAME) - file_x;
  ui_frame(GADGET_FILE_FRAME, file_x, box_y, file_w, box_h, "");
  ui_label(GADGET_FILE_LABEL, file_x + 10, box_y + 28, file_w - 20, text_h,
           translate("File:") + "N/A");
  const int file_buttons_y = bottom_edge(GADGET_FILE_LABEL) + 14;
  ui_button(GADGET_OPEN_DRAWS, file_x + 10, file_buttons_y, 100, button_h, translate("Open..."));
  ui_button(GADGET_SAVE_DRAWS, right_edge(GADGET_OPEN_DRAWS) + 10, file_buttons_y, 100, button_h,
            translate("Save"));
  ui_button(GADGET_SAVE_DRAWS_AS, right_edge(GADGET_SAVE_DRAWS) + 10, file_buttons_y, 100,
            button_h, translate("Save As..."));
}

void handle_draws_tab_event(int64_t event, int64_t gadget) {
  if (event != UI_EVENT_GADGET || ui_state(GADGET_PANEL) != TAB_MAIN) return;
  if (gadget >= GADGET_RESULT_NUMBER_FIRST && gadget <= GADGET_RESULT_STAR_LAST) {
    validate_result_field(gadget);
    return;
  }
  switch (gadget) {
    case GADGET_GENERATE: generate_requested_draws(); break;
    case GADGET_OPEN_DRAWS: open_draws_file(""); break;
    case GADGET_SAVE_DRAWS: save_draws_file(1, 0); break;
    case GADGET_SAVE_DRAWS_AS: save_draws_file(0, 1); break;
    case GADGET_CLEAR_LIST: clear_draw_list(); break;
    case GADGET_EXTRACT: extract_draws_to_text(); break;
    case GADGET_PREVIEW: show_preview_window(); break;
    case GADGET_CHECK_PRIZES: check_for_prizes(); break;
    case GADGET_VALIDATE: validate_typed_draw(); break;
    case GADGET_CLEAR_RESULT: clear_result_fields(); break;
    case GADGET_PASTE: paste_draw_from_clipboard(); break;
    default: break;
  }
}

void clear_draw_list() {
  size_draw_list(g_draws_to_generate);
  ui_clear_items(GADGET_DRAW_LIST);
  g_draw_count = 0;
  forget_listed_tickets();
  ui_set_text(GADGET_DRAWS_LABEL, translate("Draws:") + "0/" + str_int(g_draws_to_generate));
  ui_set_text(GADGET_COST_LABEL, translate("  Cost:") + "0.00" + " " + g_currency);
  reset_hit_counters();
  show_hit_counters();
  g_repeated_count = 0;
  g_technique_reject_count = 0;
  show_zero_rejection_labels();
  g_preview_valid = 0;
  g_draws_changed = 0;
}

void show_preview_window() {
  if (g_draw_count == 0) {
    ui_message(translate("Warning!"), translate("No draws found."), UI_ICON_WARNING);
    return;
  }
  // The preview takes the result fields as they stand, but one value typed
  // twice would be marked and counted twice: refused as Check for Prizes
  // refuses it, before the window opens.
  if (check_result_fields_differ() == 0) return;
  ui_disable_window(WINDOW_MAIN, true);
  if (!ui_open_window(WINDOW_PREVIEW, 10, 10, 450, 370,
                      translate("Preview of Numbers/Stars played/unhit"), UI_WINDOW_CAPTION)) {
    report_window_failure();
    ui_disable_window(WINDOW_MAIN, false);
    return;
  }
  // Bound before the cache is built, so that Escape can abort a long rebuild.
  ui_add_shortcut(WINDOW_PREVIEW, UI_KEY_ESCAPE, MENU_EVENT_ESCAPE);
  const int button_h = static_cast<int>(g_button_height);
  ui_button(GADGET_PREVIEW_CLOSE, 10, 360 - button_h, 90, button_h, translate("Close"));

  create_preview_grid(GADGET_PREVIEW_NUMBER_BASE, PREVIEW_NUMBER_CELLS, 6, 10, g_highest_number);
  create_preview_grid(GADGET_PREVIEW_STAR_BASE, PREVIEW_STAR_CELLS, 3,
                      right_edge(GADGET_PREVIEW_NUMBER_BASE + 6) + 50, g_highest_star);

  if (g_preview_valid == 0 && rebuild_preview_cache() == 0) {
    ui_close_window(WINDOW_PREVIEW);
    ui_disable_window(WINDOW_MAIN, false);
    return;
  }

  int64_t played_numbers =
      mark_played_values(g_highest_number, g_played_numbers, GADGET_PREVIEW_NUMBER_BASE);
  int64_t played_stars = mark_played_values(g_highest_star, g_played_stars, GADGET_PREVIEW_STAR_BASE);
  int64_t unhit_numbers = mark_unhit_values(GADGET_RESULT_NUMBER_FIRST, GADGET_RESULT_NUMBER_LAST,
                                            g_played_numbers, GADGET_PREVIEW_NUMBER_BASE);
  int64_t unhit_stars = mark_unhit_values(GADGET_RESULT_STAR_FIRST, GADGET_RESULT_STAR_LAST,
                                          g_played_stars, GADGET_PREVIEW_STAR_BASE);

  // The legend, under the star grid.
  const int lx = ui_x(GADGET_PREVIEW_STAR_BASE + 10);
  const int ly = ui_y(GADGET_PREVIEW_STAR_BASE + 13);
  fitted_label(GADGET_PREVIEW_PLAYED_SWATCH, lx, ly + 50, 10, 10, "\u2B1B", kLegendGreen);
  fitted_label(GADGET_PREVIEW_PLAYED_CAPTION, right_edge(GADGET_PREVIEW_PLAYED_SWATCH) + 5, ly + 50,
               10, 10, translate("Played Numbers/Stars"), UI_DEFAULT_COLOUR);
  fitted_label(GADGET_PREVIEW_PLAYED_NUMBERS, lx, ly + 70, 10, 10,
               "\u26AB " + str_int(played_numbers) + "/" + str_int(g_highest_number), kLegendGreen);
  fitted_label(GADGET_PREVIEW_PLAYED_STARS, lx, ly + 90, 10, 10,
               " \u2605 " + str_int(played_stars) + "/" + str_int(g_highest_star), kLegendGreen);
  fitted_label(GADGET_PREVIEW_UNHIT_SWATCH, lx, ly + 130, 10, 10, "\u2B1B", kRed);
  fitted_label(GADGET_PREVIEW_UNHIT_CAPTION, right_edge(GADGET_PREVIEW_UNHIT_SWATCH) + 5, ly + 130,
               10, 10, translate("Unhit Numbers/Stars"), UI_DEFAULT_COLOUR);
  fitted_label(GADGET_PREVIEW_UNHIT_NUMBERS, lx, ly + 150, 10, 10,
               "\u26AB " + str_int(unhit_numbers) + "/5", kRed);
  fitted_label(GADGET_PREVIEW_UNHIT_STARS, lx, ly + 170, 10, 10,
               " \u2605 " + str_int(unhit_stars) + "/2", kRed);

  for (;;) {
    int kind = ui_wait_event();
    if (kind == UI_EVENT_MENU && ui_event_object() == MENU_EVENT_ESCAPE) break;
    if (kind == UI_EVENT_GADGET && ui_event_object() == GADGET_PREVIEW_CLOSE) break;
  }
  ui_disable_window(WINDOW_MAIN, false);
  ui_close_window(WINDOW_PREVIEW);
}
