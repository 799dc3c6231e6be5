// The gadget layer: numbered windows, gadgets, menus, timers, fonts, images,
// message boxes, file dialogs, the clipboard, the shell and the clock.
//
// Everything above this layer names things by small fixed integers chosen by
// the program (window 0, gadget 26, menu item 6, timer 800, font 1, image 4)
// and never sees a toolkit type. Texts are UTF-8. Colours are 0xBBGGRR
// (r + 256 g + 65536 b); UI_DEFAULT_COLOUR (-1) stands for the toolkit's
// default. Coordinates are 96-DPI units relative to the current container;
// the toolkit shows them scaled by the display's DPI.
//
// Events are pulled: ui_wait_event blocks until the next event, ui_poll_event
// returns at once. Only the player raises gadget events: when the program sets
// a text, a state, a selection or a tab itself, nothing is queued.
//
// Any operation on a window, gadget, menu item or image that does not exist
// does nothing and returns "", 0, false, or -1 where -1 means "none" (colours,
// the focused gadget, a pixel outside).
//
// Gadget event types: a push, a check box or option click, a canvas, image or
// hyperlink click report UI_TYPE_CLICK (a check box's or option's new state is
// read with ui_state); typing into a field, spin or editor, a spin's arrows,
// a new combo or list selection, a player's change of tab and a list row's
// check box report UI_TYPE_CHANGE.
#pragma once

#include <cstdint>
#include <string>

// ---- event kinds and types -------------------------------------------------
constexpr int UI_EVENT_NONE = 0;
constexpr int UI_EVENT_GADGET = 13100;
constexpr int UI_EVENT_MENU = 13101;   // a menu entry or a bound key
constexpr int UI_EVENT_TIMER = 13110;
constexpr int UI_EVENT_CLOSE = 13116;  // the close box of a window

constexpr int UI_TYPE_CLICK = 1;        // a push, a tick, a canvas click
constexpr int UI_TYPE_CHANGE = 768;     // contents or selection changed

constexpr int64_t UI_DEFAULT_COLOUR = -1;
constexpr int UI_DEFAULT_FONT = -1;     // the system's default gui font

constexpr int UI_KEY_RETURN = 13;
constexpr int UI_KEY_ESCAPE = 27;

// ---- start and end ---------------------------------------------------------
// Starts the toolkit; returns false when it cannot start. Safe to call twice.
bool ui_init();
void ui_shutdown();
// The language of the texts that the toolkit draws itself (the buttons of
// message boxes, the file dialogs, the menu of a right click on a text
// field) and of the sizes, dates and file types its file dialogs write,
// whatever the system's language: 1 English, 2 Portuguese. What the toolkit
// makes from then on comes out in that language; where its translations are
// missing, in English.
void ui_set_toolkit_language(int language);

// ---- windows ---------------------------------------------------------------
enum : unsigned {
  UI_WINDOW_CAPTION = 1u << 0,        // a title bar
  UI_WINDOW_CLOSE_BOX = 1u << 1,      // system menu with a close box
  UI_WINDOW_MINIMIZE_BOX = 1u << 2,
  UI_WINDOW_TOOL = 1u << 3,           // tool window: caption without close box
  UI_WINDOW_CENTER_PARENT = 1u << 4,  // centred on the owner
  UI_WINDOW_CENTER_SCREEN = 1u << 5,
};
// Opens window `window` with the given inner size at (x, y) on the screen
// (ignored when centred). owner -1: no owner. The new window becomes the
// current container for gadgets. Returns false when it cannot be opened.
bool ui_open_window(int window, int x, int y, int inner_width, int inner_height,
                    const std::string& title, unsigned flags, int owner = -1);
// Closes for good: frees its gadgets, menu, timers and key bindings and drops
// its queued events. Queues nothing.
void ui_close_window(int window);
bool ui_window_exists(int window);
void ui_disable_window(int window, bool disabled);
bool ui_window_disabled(int window);
void ui_set_window_title(int window, const std::string& title);
std::string ui_window_title(int window);
int ui_window_inner_width(int window);
int ui_window_inner_height(int window);
// Makes `window` the current container again (its top level).
void ui_use_window(int window);
// The window's icon from a loaded image; false when either does not exist.
bool ui_set_window_icon(int window, int image);

// Binds a key on a window to a menu event (kind UI_EVENT_MENU, object
// menu_event, this window).
void ui_add_shortcut(int window, int key, int menu_event);
void ui_remove_shortcut(int window, int key);

// Window timers: every `ms` milliseconds a UI_EVENT_TIMER with object `timer`.
// At most one tick of a timer waits in the queue.
void ui_add_timer(int window, int timer, int ms);
void ui_remove_timer(int window, int timer);

// ---- fonts and images ------------------------------------------------------
enum : unsigned { UI_FONT_BOLD = 1u << 0, UI_FONT_HIGH_QUALITY = 1u << 1 };
bool ui_load_font(int font, const std::string& name, int points, unsigned style);
// Font of every gadget created from now on (UI_DEFAULT_FONT: the system's).
void ui_set_default_font(int font);

// Built-in images: pixels are rows of RGB (channels 3) or RGBA (channels 4).
bool ui_image_from_pixels(int image, int width, int height, int channels,
                          const unsigned char* pixels);
// A new blank 24-bit image under a fresh number (>= 100000); 0 on failure.
int ui_new_image(int width, int height);
void ui_free_image(int image);
bool ui_image_exists(int image);
int ui_image_width(int image);
int ui_image_height(int image);

// ---- drawing (on an image or a canvas gadget) --------------------------------
bool ui_start_drawing_image(int image);
bool ui_start_drawing_canvas(int gadget);
void ui_stop_drawing();  // a canvas shows what was drawn from here on
void ui_drawing_font(int font);  // UI_DEFAULT_FONT: the system's
void ui_draw_box(int x, int y, int width, int height, int64_t colour);
// back UI_DEFAULT_COLOUR: transparent ground.
void ui_draw_text(int x, int y, const std::string& text, int64_t front, int64_t back);
int ui_text_width(const std::string& text);
int ui_text_height(const std::string& text);
int64_t ui_point(int x, int y);  // colour of a pixel; -1 outside
void ui_flood_fill(int x, int y, int64_t colour);  // fills the area of (x, y)'s colour

// ---- gadgets -----------------------------------------------------------------
// Every creator makes the gadget in the current container. Creating a gadget
// under a number in use frees the old gadget first (and drops its queued
// events). Each returns false when the gadget cannot be made.
enum : unsigned {
  UI_FIELD_NUMERIC = 1u << 0,    // text field: digits only
  UI_FIELD_READONLY = 1u << 1,
  UI_LABEL_RIGHT = 1u << 2,      // label: right-aligned
  UI_LABEL_CENTER = 1u << 3,
  UI_LABEL_WRAP = 1u << 4,       // label: word wrapping
  UI_SPIN_NUMERIC = 1u << 5,     // spin: the arrows write the number as text
  UI_LIST_CHECKBOXES = 1u << 6,  // list: a check box on every row
  UI_LIST_FULL_ROW = 1u << 7,
  UI_LIST_ALWAYS_SHOW_SELECTION = 1u << 8,
  UI_CONTAINER_BORDER = 1u << 9, // container: dialog-frame border
  UI_EDITOR_READONLY = 1u << 10,
  UI_EDITOR_WORDWRAP = 1u << 11,
  UI_EDITOR_CENTER = 1u << 12,
};

bool ui_button(int gadget, int x, int y, int w, int h, const std::string& text);
// A push button that shows an image (the image is copied; a missing image
// gives a plain face). An image as large as the button is its whole face.
bool ui_image_button(int gadget, int x, int y, int w, int h, int image);
bool ui_text_field(int gadget, int x, int y, int w, int h, const std::string& text,
                   unsigned flags = 0);
void ui_set_max_length(int gadget, int characters);
// A spin field: a text field with two arrows, showing min at first. The
// player may type any text, in or out of the range, and it stays as typed
// (the program checks it). An arrow takes the text's number into min..max,
// steps it by one, and writes the result, kept in the range, as the text; an
// arrow that would change nothing is greyed.
bool ui_spin(int gadget, int x, int y, int w, int h, int64_t min, int64_t max,
             unsigned flags = 0);
bool ui_label(int gadget, int x, int y, int w, int h, const std::string& text,
              unsigned flags = 0);
bool ui_frame(int gadget, int x, int y, int w, int h, const std::string& text);
// A tab panel; it becomes the current container. Gadgets created after
// ui_add_panel_tab go into that tab until ui_close_gadget_list.
bool ui_panel(int gadget, int x, int y, int w, int h);
void ui_add_panel_tab(int panel, const std::string& caption);
// A plain container; it becomes the current container.
bool ui_container(int gadget, int x, int y, int w, int h, unsigned flags = 0);
// Makes tab `tab` of panel `panel` (or container `panel` when tab is -1) the
// current container; ui_close_gadget_list returns to the previous one.
void ui_open_gadget_list(int panel, int tab = -1);
void ui_close_gadget_list();
// A list with columns; first_title and first_width make column 0.
bool ui_list(int gadget, int x, int y, int w, int h, const std::string& first_title,
             int first_width, unsigned flags = 0);
void ui_add_list_column(int gadget, int column, const std::string& title, int width);
std::string ui_list_column_title(int gadget, int column);  // "" when there is no such column
bool ui_combo(int gadget, int x, int y, int w, int h);  // drop-down list
bool ui_check_box(int gadget, int x, int y, int w, int h, const std::string& text);
// Option buttons made one after the other form a group.
bool ui_option(int gadget, int x, int y, int w, int h, const std::string& text);
bool ui_canvas(int gadget, int x, int y, int w, int h);
bool ui_editor(int gadget, int x, int y, int w, int h, unsigned flags = 0);
// Shows a copy of the image (a missing image: nothing); w or h 0: the image's.
bool ui_image_gadget(int gadget, int x, int y, int w, int h, int image);
bool ui_hyperlink(int gadget, int x, int y, int w, int h, const std::string& text,
                  int64_t hover_colour);

bool ui_gadget_exists(int gadget);
void ui_free_gadget(int gadget);  // queues nothing

// Text: caption, field text, spin text, the selected entry of a combo.
void ui_set_text(int gadget, const std::string& text);
std::string ui_text(int gadget);
// State: check box / option 0 or 1, spin value, combo and list selection
// (-1 none), panel tab shown. A spin's value is the integer its text begins
// with (blanks, a sign, decimal digits: "12abc" 12, "2.5" 2, "" and "abc" 0),
// unchecked against the range; setting it writes the number taken into the
// range as the text.
void ui_set_state(int gadget, int64_t state);
int64_t ui_state(int gadget);

// Items of a list (cells separated by '\n') or a combo; row -1 appends.
void ui_add_item(int gadget, int row, const std::string& text);
void ui_clear_items(int gadget);
int ui_count_items(int gadget);
void ui_set_item_text(int gadget, int row, const std::string& text, int column = 0);
std::string ui_item_text(int gadget, int row, int column = 0);
void ui_set_item_colour(int gadget, int row, int64_t front);  // the row's text colour
int64_t ui_item_colour(int gadget, int row);
int64_t ui_item_state(int gadget, int row);  // a list row's check box

enum { UI_FRONT = 1, UI_BACK = 2 };
void ui_set_colour(int gadget, int which, int64_t colour);
int64_t ui_colour(int gadget, int which);  // UI_DEFAULT_COLOUR when none set
void ui_set_gadget_font(int gadget, int font);
void ui_set_tooltip(int gadget, const std::string& text);
void ui_disable(int gadget, bool disabled);
bool ui_disabled(int gadget);
int ui_x(int gadget);
int ui_y(int gadget);
int ui_width(int gadget);
int ui_height(int gadget);
// The toolkit's default push-button face colour (0xBBGGRR).
int64_t ui_button_face_colour();
int ui_required_width(int gadget);   // the size its content needs
int ui_required_height(int gadget);
void ui_resize(int gadget, int x, int y, int w, int h);
void ui_set_focus(int gadget);
int ui_focused_gadget();  // -1 none
// Position of the last click on a canvas, in its pixels.
int ui_canvas_mouse_x(int gadget);
int ui_canvas_mouse_y(int gadget);

// ---- menus -----------------------------------------------------------------
// Creates menu `menu` on a window; the items added next belong to it.
bool ui_create_menu(int menu, int window);
void ui_menu_title(const std::string& title);
// A tab in text separates the caption from the shortcut text shown beside it.
void ui_menu_item(int item, const std::string& text);
void ui_menu_separator();
void ui_open_sub_menu(const std::string& title);
void ui_close_sub_menu();
void ui_set_menu_item_text(int menu, int item, const std::string& text);
std::string ui_menu_item_text(int menu, int item);
void ui_disable_menu_item(int menu, int item, bool disabled);
bool ui_menu_item_disabled(int menu, int item);
// Height of a window's menu bar (0 without one); the bar lies above the
// window's inner area.
int ui_menu_height(int window);

// ---- events ----------------------------------------------------------------
// Blocks until the next event (timeout_ms -1: no limit); returns its kind, or
// UI_EVENT_NONE when the time ran out.
int ui_wait_event(int timeout_ms = -1);
// Returns the next queued event's kind, or UI_EVENT_NONE at once. Cheap enough
// to call once per candidate in a loop of millions.
int ui_poll_event();
int ui_event_object();  // gadget, menu item / bound menu event, or timer
int ui_event_window();
int ui_event_type();    // gadget events only

// ---- message boxes, dialogs, clipboard, shell, clock --------------------------
enum : unsigned {
  UI_MESSAGE_OK = 0,
  UI_MESSAGE_YES_NO = 1u << 0,
  UI_ICON_ERROR = 1u << 4,
  UI_ICON_WARNING = 1u << 5,
  UI_ICON_INFO = 1u << 6,
};
enum { UI_ANSWER_OK = 1, UI_ANSWER_YES = 6, UI_ANSWER_NO = 7 };
int ui_message(const std::string& title, const std::string& text, unsigned flags);
// filter: "label|pattern|label|pattern..."; returns the chosen path or "".
std::string ui_open_file_dialog(const std::string& title, const std::string& default_path,
                                const std::string& filter, int filter_index);
std::string ui_save_file_dialog(const std::string& title, const std::string& default_path,
                                const std::string& filter, int filter_index);
std::string ui_clipboard_text();  // "" when none
// Hands an address (already encoded) to the system's default program, without
// a shell in between. Returns whether the system accepted it: the opener's
// verdict is awaited for a few seconds at most, while the windows keep
// painting and the player's actions raise no event.
bool ui_open_address(const std::string& address);
int64_t ui_milliseconds();  // a monotonic millisecond counter
void ui_delay(int ms);      // waits, keeping the windows painted; queues stay
