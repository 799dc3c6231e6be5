// The test seam of the gadget layer: tests script the player's answers and
// actions, read back what the program showed, and never block.
//
// Once ui_test_reset() has run, no real message box or file dialog ever
// appears: each one is recorded and answered from the scripted answers (a
// message box without a scripted answer gets OK or No; a dialog without one is
// cancelled), the clipboard is the text set here, and opened addresses are
// recorded instead of being handed to the system.
//
// Every message box takes the next scripted answer, whatever its kind: an OK
// box always returns OK, a Yes/No box returns Yes only for a scripted Yes.
// In test mode ui_delay pumps the toolkit once, gives the idle hook one call
// and returns at once.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What the toolkit itself puts into a message box or a file dialog, as the
// player reads it (a "&" that marks a key is not shown), in the order the
// window holds them.
struct UiToolkitTexts {
  std::vector<std::string> labels;         // the message, "Look in:", "File name:"...
  std::vector<std::string> buttons;        // push buttons
  std::vector<std::string> column_titles;  // the file list's columns
  std::vector<std::string> tooltips;       // the file dialog's tool buttons
  // The file list's rows (the folder the dialog shows), cell by cell: name,
  // size, type, date.
  std::vector<std::vector<std::string>> file_rows;
  // Labels, buttons, column titles and places of the side panel that the
  // window, laid out as it shows, cuts short.
  std::vector<std::string> cut_short;
};

struct UiMessageRecord {
  std::string title;
  std::string text;
  unsigned flags;  // UI_MESSAGE_YES_NO and UI_ICON_* of ui.h
  int answer;      // what the program got back
  UiToolkitTexts shown = {};  // with ui_test_build_toolkit_windows on
};

struct UiFileDialogRecord {
  bool save;
  std::string title;
  std::string default_path;
  std::string filter;
  int filter_index;
  std::string answer;
  UiToolkitTexts shown = {};  // with ui_test_build_toolkit_windows on
};

// Frees every window, gadget, menu, timer, key binding and image, empties the
// event queue, forgets scripted answers and records, and turns test mode on.
// Loaded fonts stay; the default gadget font returns to the system's, and
// the toolkit's own texts to English.
void ui_test_reset();

void ui_test_push_message_answer(int answer);  // UI_ANSWER_OK / YES / NO, in order
const std::vector<UiMessageRecord>& ui_test_messages();
void ui_test_clear_messages();

void ui_test_push_file_answer(const std::string& path);  // "" cancels
const std::vector<UiFileDialogRecord>& ui_test_file_dialogs();

// While on (until ui_test_reset), every scripted message box and file dialog
// is also built as the toolkit's own window, exactly as outside test mode,
// and laid out as it would show (a file dialog with its folder read), and
// its texts are kept in its record; the window never reaches the screen and
// the scripted answer still decides. The toolkit keeps a file dialog's state
// among its user settings: these are kept in the working folder of the
// moment instead of the user's.
void ui_test_build_toolkit_windows(bool on);
// The entries of the menu that a right click on a text field, a spin or an
// editor opens (for a combo, the entries its text part gives that menu),
// separators and shortcuts left out; empty for other gadgets.
std::vector<std::string> ui_test_context_menu(int gadget);
// The type that the file dialogs' list shows for this file or folder.
std::string ui_test_file_type_text(const std::string& path);
// What the toolkit's own windows show for one of the toolkit's texts (its
// English source text in its context, such as "QFileDialog", "Delete"), in
// the toolkit's language of the moment, a "&" that marks a key left out.
std::string ui_test_toolkit_text(const std::string& context, const std::string& source);
// Where ui_set_toolkit_language looks for the toolkit's translations; "" (and
// ui_test_reset) the toolkit's own folder.
void ui_test_set_toolkit_catalogue_folder(const std::string& folder);
std::string ui_test_toolkit_catalogue_folder();  // the folder in use

void ui_test_set_clipboard(const std::string& text);
const std::vector<std::string>& ui_test_opened_addresses();
// From now on until the next reset, every opened address is still recorded
// but refused, as by a system with no program for it.
void ui_test_refuse_addresses(bool refuse);
// From now on until the next reset, every opened address is still recorded
// and then handed to the system's opener as outside test mode, whose verdict
// decides; the idle hook is called while the layer waits for that verdict.
void ui_test_use_system_opener(bool on);

// Called whenever a wait or a poll finds the queue empty: the place where a
// test acts inside a loop that the program runs (a modal window, a long
// operation). Pass nullptr to remove it. A wait that stays empty for 10 s in
// test mode ends the test program with a message instead of hanging.
void ui_test_set_idle_hook(std::function<void()> hook);

// The player's actions. Each acts on the real widget (a disabled gadget or a
// gadget of a disabled window does nothing) and so queues exactly the events a
// real player's action would.
void ui_test_click(int gadget);                           // button, check box, option, link
void ui_test_type(int gadget, const std::string& text);   // field or spin: the new whole text
void ui_test_spin_arrow(int gadget, bool up);             // a mouse click on a spin's arrow
void ui_test_choose(int gadget, int index);               // combo entry or list row
void ui_test_toggle_item(int gadget, int row);            // a list row's check box
void ui_test_select_tab(int panel, int tab);
void ui_test_canvas_click(int gadget, int x, int y);
void ui_test_menu(int window, int item);                  // a menu entry chosen
void ui_test_key(int window, int key);                    // a key pressed in the window
void ui_test_close_window(int window);                    // the close box

// The next ui_open_window(window, ...) returns false and opens nothing.
void ui_test_fail_next_window_open(int window);

// Every window open now, by number, ascending.
std::vector<int> ui_test_windows();
// Every gadget of a window (in its tab pages and containers too), ascending.
std::vector<int> ui_test_window_gadgets(int window);
// A text that a gadget shows of its own, and the room the gadget gives it, in
// units: needed is what the text takes across in the gadget's font (its
// widest line), room what the gadget leaves inside its borders, box or
// margins; for a label that wraps, both are heights.
struct UiTestTextRoom {
  std::string text;
  int needed = 0;
  int room = 0;
};
// One for a label, a link, a button, a check box, an option or a frame with
// a text, one per column title of a list; none for other gadgets.
std::vector<UiTestTextRoom> ui_test_text_rooms(int gadget);

// From now on ui_milliseconds reads `milliseconds` and stands still there,
// so that what the program seeds from the clock repeats; a negative value,
// or ui_test_reset, gives the real clock back. The toolkit's timers and the
// 10 s guard of a wait keep the real time.
void ui_test_hold_clock(int64_t milliseconds);

// From now on, for the rest of the process, no window is painted on screen:
// for the fuzz targets, which check the program and not its pixels, and for
// which painting every window opened would cost most of each input's time.
// ui_test_gadget_pixel and ui_test_save_png still paint what they show.
void ui_test_skip_screen_painting();

int ui_test_queue_length();
// Colour of a pixel of a gadget as painted (image buttons, canvases, labels).
int64_t ui_test_gadget_pixel(int gadget, int x, int y);
// Saves a picture of a window as it would show on screen.
bool ui_test_save_png(int window, const std::string& path);

// A gadget as its window paints it on the screen, in the display's own
// pixels: a unit is as many of them each way as the display's ratio.
struct UiTestPicture {
  int width = 0;
  int height = 0;
  std::vector<int64_t> pixels;  // 0xBBGGRR, row after row
  int64_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
UiTestPicture ui_test_gadget_picture(int gadget);
