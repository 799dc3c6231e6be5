// The About window and the credits window: two small modal windows from the
// Help menu. Each disables the main window, runs its own loop until Escape,
// Return or its "OK" button ends it, and enables the main window again.
#include <algorithm>
#include <string>

#include "app/app.h"
#include "core/core.h"
#include "core/ids.h"
#include "ui/ui.h"

namespace {

// Gadgets of the About window.
constexpr int ABOUT_OK = 911;
constexpr int ABOUT_DATA_PANEL = 912;
constexpr int ABOUT_NAME_CAPTION = 913;  // 913..920: caption / value, four lines
constexpr int ABOUT_LOGO = 923;
constexpr int ABOUT_CREDITS_PANEL = 924;
constexpr int ABOUT_CREDIT_FIRST = 925;  // 925 + 5(k - 1): role, person, name, envelope, link

// Gadgets of the credits window.
constexpr int CREDITS_BANNER = 906;
constexpr int CREDITS_LOGO = 907;
constexpr int CREDITS_TEXT = 908;
constexpr int CREDITS_OK = 909;

constexpr int ABOUT_WIDTH = 887;
constexpr int ABOUT_HEIGHT = 520;
constexpr int CREDITS_WIDTH = 580;
constexpr int CREDITS_HEIGHT = 303;

// Captions and values of the About window: RGB(41, 88, 139) as 0xBBGGRR.
constexpr int64_t ABOUT_TEXT_COLOUR = 0x8B5829;
// Mail links: blue, also while hovered.
constexpr int64_t LINK_COLOUR = 0xFF0000;

struct AboutCredit {
  std::string role;  // translated when the window opens
  std::string name;
  std::string address;  // shown as the link; "N/A" has no mail behind it
};

// Both the programming and the artwork are the project's own, so both rows
// credit the team under the repository's maintainer address.
const AboutCredit kAboutCredits[3] = {
    {"DEVELOPMENT", "Kestrova Developers", "maintainers@users.noreply.c-seed-0f33fb31.example"},
    {"GRAPHICS", "Kestrova Developers", "maintainers@users.noreply.c-seed-0f33fb31.example"},
    {"CONSULTOR", "Tarvik", "N/A"},
};

// What the program is built with, one line each with its licence (keys of
// the interface texts: the licences keep their names in every language).
const char* const kToolCreditsLibraries[] = {
    "Qt 6 \u2014 GNU LGPL v3",
    "libpng \u2014 PNG Reference Library License version 2 (libpng license)",
    "zlib \u2014 zlib license",
};

std::string tool_credits_text() {
  std::string text = program_title() + "\n";
  for (const char* library : kToolCreditsLibraries) {
    text += '\n';
    text += translate(library);
  }
  return text;
}

// Whether an event of one of these two windows closes it: Escape, Return,
// its close box or its "OK" button.
bool closes_window(int kind, int object, int ok_button) {
  if (kind == UI_EVENT_MENU) return object == MENU_EVENT_ESCAPE || object == MENU_EVENT_RETURN;
  return kind == UI_EVENT_CLOSE || (kind == UI_EVENT_GADGET && object == ok_button);
}

// The size a picture is shown at: the image's own when it is loaded, else the
// size its artwork has (the gadget then stays blank).
int picture_width(int image, int fallback) {
  return ui_image_exists(image) ? ui_image_width(image) : fallback;
}
int picture_height(int image, int fallback) {
  return ui_image_exists(image) ? ui_image_height(image) : fallback;
}

// A label in the About colour; fitted to its text when fit is true.
void about_label(int gadget, int x, int y, int width, const std::string& text, int font, bool fit) {
  ui_label(gadget, x, y, width, static_cast<int>(g_text_height), text);
  if (font != UI_DEFAULT_FONT) ui_set_gadget_font(gadget, font);
  ui_set_colour(gadget, UI_FRONT, ABOUT_TEXT_COLOUR);
  if (fit) fit_gadget_to_content(gadget);
}

std::string version_text() {
  std::string text = "V" + g_program_version;
  if (g_beta_release == 1) text += " (beta)";
  return text + " build " + g_program_build;
}

void build_program_data_panel(int x, int y) {
  ui_container(ABOUT_DATA_PANEL, x, y, 277, 95);
  const std::string lines[4][2] = {
      {translate("Name:"), "Kestrova"},
      {translate("Version:"), version_text()},
      {translate("Core:"), "64-bit"},
      {translate("Released:"), g_release_date},
  };
  for (int i = 0; i < 4; i++) {
    int top = 1 + i * static_cast<int>(g_text_height + 2);
    about_label(ABOUT_NAME_CAPTION + 2 * i, 1, top, 67, lines[i][0], FONT_BOLD, false);
  }
  // A caption longer than its column in some language ("Lançamento:") widens
  // the column for all four lines, so the values stay aligned and clear of it.
  int caption_width = 67;
  for (int i = 0; i < 4; i++) caption_width = std::max(caption_width, ui_required_width(ABOUT_NAME_CAPTION + 2 * i));
  for (int i = 0; i < 4; i++) {
    int caption = ABOUT_NAME_CAPTION + 2 * i;
    int top = ui_y(caption);
    if (caption_width != ui_width(caption)) ui_resize(caption, 1, top, caption_width, ui_height(caption));
    about_label(caption + 1, caption_width + 6, top, 200, lines[i][1], UI_DEFAULT_FONT, true);
  }
  ui_close_gadget_list();
}

// One credit block of panel 924, its top at y inside the panel. Returns the
// right edge of its widest line.
int build_credit_block(int k, int y) {
  const AboutCredit& credit = kAboutCredits[k - 1];
  int base = ABOUT_CREDIT_FIRST + 5 * (k - 1);
  about_label(base, 5, y, 344, translate(credit.role), FONT_BOLD, false);

  int person_w = picture_width(IMAGE_PERSON, 27);
  int person_h = picture_height(IMAGE_PERSON, 24);
  ui_image_gadget(base + 1, 5, y + 26, person_w, person_h, IMAGE_PERSON);
  int text_top_offset = std::max(0, (person_h - static_cast<int>(g_text_height)) / 2);
  about_label(base + 2, 5 + person_w + 6, y + 26 + text_top_offset, 200, credit.name, FONT_BOLD, true);

  int envelope_w = picture_width(IMAGE_ENVELOPE, 26);
  int envelope_h = picture_height(IMAGE_ENVELOPE, 24);
  ui_image_gadget(base + 3, 5, y + 52, envelope_w, envelope_h, IMAGE_ENVELOPE);
  int link = base + 4;
  int link_x = 5 + envelope_w + 6;
  text_top_offset = std::max(0, (envelope_h - static_cast<int>(g_text_height)) / 2);
  ui_hyperlink(link, link_x, y + 52 + text_top_offset, 200, static_cast<int>(g_text_height), credit.address,
               LINK_COLOUR);
  ui_set_colour(link, UI_FRONT, LINK_COLOUR);
  ui_set_tooltip(link, "E-mail " + credit.name);
  fit_gadget_to_content(link);

  int name_right = 5 + person_w + 6 + ui_required_width(base + 2);
  int link_right = link_x + ui_required_width(link);
  return std::max({5 + 344, name_right, link_right});
}

void build_credits_panel(int logo_right, int logo_top) {
  int width = 353;
  int height = 391;
  int x = logo_right + 148;
  ui_container(ABOUT_CREDITS_PANEL, x, logo_top + 20, width, height);
  int needed = 0;
  for (int k = 1; k <= 3; k++) needed = std::max(needed, build_credit_block(k, 5 + 102 * (k - 1)));
  ui_close_gadget_list();
  // The panel's place beside the logo would push its right part (and the
  // long mail address) out of the window: keep the whole panel inside it.
  width = std::max(width, needed + 4);
  x = std::min(x, ABOUT_WIDTH - width - 10);
  ui_resize(ABOUT_CREDITS_PANEL, x, logo_top + 20, width, height);
}

std::string mail_address_for(int link) {
  for (int k = 1; k <= 2; k++) {
    if (link == ABOUT_CREDIT_FIRST + 5 * (k - 1) + 4) return kAboutCredits[k - 1].address;
  }
  return "";
}

}  // namespace

void show_about_window() {
  if (!ui_open_window(WINDOW_ABOUT, 0, 0, ABOUT_WIDTH, ABOUT_HEIGHT, translate("About"),
                      UI_WINDOW_CAPTION | UI_WINDOW_TOOL | UI_WINDOW_CENTER_PARENT, WINDOW_MAIN)) {
    report_window_failure();
    return;
  }
  ui_disable_window(WINDOW_MAIN, true);

  const int logo_x = 28;
  const int logo_y = 29;
  int logo_w = picture_width(IMAGE_ABOUT_LOGO, 400);
  int logo_h = picture_height(IMAGE_ABOUT_LOGO, 295);
  ui_image_gadget(ABOUT_LOGO, logo_x, logo_y, logo_w, logo_h, IMAGE_ABOUT_LOGO);

  build_program_data_panel(logo_x + 15, logo_y + logo_h + 25);
  build_credits_panel(logo_x + logo_w, logo_y);

  ui_button(ABOUT_OK, ABOUT_WIDTH - 110, ABOUT_HEIGHT - 42, 90, static_cast<int>(g_button_height), "OK");

  ui_add_shortcut(WINDOW_ABOUT, UI_KEY_ESCAPE, MENU_EVENT_ESCAPE);
  ui_add_shortcut(WINDOW_ABOUT, UI_KEY_RETURN, MENU_EVENT_RETURN);

  for (;;) {
    int kind = ui_wait_event();
    if (ui_event_window() != WINDOW_ABOUT) continue;
    int object = ui_event_object();
    if (closes_window(kind, object, ABOUT_OK)) break;
    if (kind != UI_EVENT_GADGET) continue;
    std::string address = mail_address_for(object);
    if (!address.empty() && !open_in_browser("mailto:" + address + "?subject=" + program_title()))
      ui_message(translate("Warning!"), translate("The link could not be opened:") + " " + address,
                 UI_ICON_WARNING);
  }

  ui_disable_window(WINDOW_MAIN, false);
  ui_close_window(WINDOW_ABOUT);
}

void show_tool_credits_window() {
  int banner_w = picture_width(IMAGE_BANNER, 439);
  int banner_h = picture_height(IMAGE_BANNER, 140);
  int logo_w = picture_width(IMAGE_LOGO, 140);
  int logo_h = picture_height(IMAGE_LOGO, 140);
  // The two pictures side by side are wider than the window's design width:
  // the window grows to hold them rather than cut the logo.
  int width = std::max(CREDITS_WIDTH, 10 + banner_w + 5 + logo_w + 10);

  if (!ui_open_window(WINDOW_CREDITS, 0, 0, width, CREDITS_HEIGHT, translate("Credits"),
                      UI_WINDOW_CAPTION | UI_WINDOW_CENTER_PARENT, WINDOW_MAIN)) {
    report_window_failure();
    return;
  }
  ui_disable_window(WINDOW_MAIN, true);

  ui_image_gadget(CREDITS_BANNER, 10, 10, banner_w, banner_h, IMAGE_BANNER);
  ui_image_gadget(CREDITS_LOGO, 10 + banner_w + 5, 10, logo_w, logo_h, IMAGE_LOGO);
  ui_editor(CREDITS_TEXT, 10, 10 + banner_h + 5, width - 20, 100,
            UI_EDITOR_READONLY | UI_EDITOR_CENTER | UI_EDITOR_WORDWRAP);
  ui_set_text(CREDITS_TEXT, tool_credits_text());
  ui_button(CREDITS_OK, width / 2 - 45, 263, 90, static_cast<int>(g_button_height), "OK");

  ui_add_shortcut(WINDOW_CREDITS, UI_KEY_ESCAPE, MENU_EVENT_ESCAPE);
  ui_add_shortcut(WINDOW_CREDITS, UI_KEY_RETURN, MENU_EVENT_RETURN);

  for (;;) {
    int kind = ui_wait_event();
    if (ui_event_window() != WINDOW_CREDITS) continue;
    if (closes_window(kind, ui_event_object(), CREDITS_OK)) break;
  }

  ui_close_window(WINDOW_CREDITS);
  ui_disable_window(WINDOW_MAIN, false);
}
