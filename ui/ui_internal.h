// Shared state of the gadget layer's implementation. Only ui/*.cpp include
// this header: it is the one place above the toolkit where Qt types appear.
#pragma once

#include <QtWidgets>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "ui/ui.h"
#include "ui/ui_test.h"

enum class GadgetKind {
  button,
  image_button,
  text_field,
  spin,
  label,
  frame,
  panel,
  container,
  list,
  combo,
  check_box,
  option,
  canvas,
  editor,
  image,
  hyperlink,
};

struct Gadget {
  int number = -1;
  GadgetKind kind = GadgetKind::button;
  int window = -1;
  QPointer<QWidget> widget;
  int64_t front = UI_DEFAULT_COLOUR;
  int64_t back = UI_DEFAULT_COLOUR;
  bool disabled = false;
  int font = UI_DEFAULT_FONT;
  bool colours_waiting = false;  // set while hidden; put on when it is shown
};

class TopWindow;

struct Window {
  int number = -1;
  QPointer<TopWindow> top;
  QPointer<QWidget> inner;  // the gadgets' area, below the menu bar
  QPointer<QMenuBar> menu_bar;
  int inner_width = 0;
  int inner_height = 0;
  int owner = -1;
  bool disabled = false;
  std::map<int, std::vector<QShortcut*>> shortcuts;  // key -> its shortcuts
  std::map<int, QTimer*> timers;
};

struct UiEvent {
  int kind = UI_EVENT_NONE;
  int object = 0;
  int window = -1;
  int type = 0;
};

// A top-level window: the close box only asks (the program decides).
class TopWindow : public QWidget {
 public:
  explicit TopWindow(int number) : number_(number) {}
  int number() const { return number_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  int number_;
};

// ---- state shared by the implementation files ------------------------------
extern std::unordered_map<int, Gadget> g_ui_gadgets;
extern std::map<int, Window> g_ui_windows;
extern std::deque<UiEvent> g_ui_queue;
extern int g_ui_program_setting;  // > 0 while the program itself changes a gadget
extern bool g_ui_test_mode;
extern int g_ui_default_font;
// While true, the player's actions raise no event: what the window system
// delivers meanwhile (a click, a key, the close box) is dropped, and only
// timer ticks are queued.
extern bool g_ui_taking_no_player_events;

// Holds the "program is setting" guard for the lifetime of the object, so
// that the toolkit's change signals raised by a setter queue nothing.
struct ProgramSetting {
  ProgramSetting() { ++g_ui_program_setting; }
  ~ProgramSetting() { --g_ui_program_setting; }
  ProgramSetting(const ProgramSetting&) = delete;
  ProgramSetting& operator=(const ProgramSetting&) = delete;
};

// ---- helpers -----------------------------------------------------------------
inline QString to_qstring(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string to_std(const QString& text) {
  // Plain ASCII, which every number a field shows is, reads the same in
  // UTF-8: it is copied straight, without the toolkit's UTF-8 buffer.
  std::string ascii(static_cast<size_t>(text.size()), '\0');
  const QChar* c = text.constData();
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (c[i].unicode() >= 0x80) {
      QByteArray bytes = text.toUtf8();
      return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
    }
    ascii[static_cast<size_t>(i)] = static_cast<char>(c[i].unicode());
  }
  return ascii;
}
// Push buttons, check boxes, options, frames, tab captions and menus read an
// "&" as a keyboard marker, which the program never uses: their captions go
// to the toolkit with every "&" doubled, so that every character shows as it
// stands (a path such as /home/me/R&D included).
inline QString to_caption(const std::string& text) {
  return to_qstring(text).replace(QLatin1Char('&'), QLatin1String("&&"));
}
// What such a caption shows: "&&" as one "&"; any other "&" marks the next
// character and is not shown.
inline std::string shown_caption(const QString& caption) {
  QString shown;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] != QLatin1Char('&')) {
      shown += caption[i];
    } else if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
      shown += QLatin1Char('&');
      ++i;
    }
  }
  return to_std(shown);
}
// 0xBBGGRR <-> toolkit colours.
inline QColor to_qcolor(int64_t colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}
inline int64_t from_qrgb(QRgb rgb) {
  return static_cast<int64_t>(qRed(rgb)) | (static_cast<int64_t>(qGreen(rgb)) << 8) |
         (static_cast<int64_t>(qBlue(rgb)) << 16);
}

// Queues an event record as it is (timer ticks are coalesced by the caller).
void ui_queue_event(int kind, int object, int window, int type);
// Queues a gadget event raised by the player; nothing while the program is
// setting, nothing for a number whose widget is not `source`.
void ui_queue_gadget_event(int gadget, const QWidget* source, int type);
// Waits up to `ms` for the toolkit, painting what needs it; the player's input
// stays with the window system until the next pump that takes it.
void ui_paint_only(int ms);
// Drops every queued event of a gadget / of a window.
void ui_drop_gadget_events(int gadget);
void ui_drop_window_events(int window);

// The record of a live gadget, or nullptr.
Gadget* ui_find_gadget(int gadget);
Window* ui_find_window(int window);
// Frees a gadget's widget and record (no events).
void ui_destroy_gadget(int gadget);
// Forgets the records whose widgets died with a freed parent.
void ui_sweep_dead_gadgets();
// Whether the player could act on this widget now (it and its window enabled).
bool ui_player_can_reach(const QWidget* widget);

// Fonts and images.
QFont ui_font(int font);  // UI_DEFAULT_FONT or an unknown number: the default
bool ui_font_exists(int font);
QImage* ui_find_image(int image);
// Gives an image button (made by ui_make_image_button) another face.
void ui_set_image_button_face(QWidget* button, const QImage& face);
// The picture as the display shows it: at the display's pixels per unit.
QImage ui_image_for_display(const QImage& image);
void ui_free_all_images();

// Lists (ui_list.cpp).
QWidget* ui_make_list(int gadget, QWidget* parent, const std::string& first_title,
                      int first_width, unsigned flags);
void ui_flush_lists();  // shows the rows appended since the last pump
void ui_list_add_item(QWidget* list, int row, const std::string& text);
void ui_list_clear(QWidget* list);
int ui_list_count(QWidget* list);
void ui_list_set_item_text(QWidget* list, int row, const std::string& text, int column);
std::string ui_list_item_text(QWidget* list, int row, int column);
void ui_list_set_item_colour(QWidget* list, int row, int64_t colour);
int64_t ui_list_item_colour(QWidget* list, int row);
int64_t ui_list_item_state(QWidget* list, int row);
void ui_list_toggle_item(QWidget* list, int row);  // as the player's click on the box
void ui_list_add_column(QWidget* list, int column, const std::string& title, int width);
std::string ui_list_column_title_of(QWidget* list, int column);
int ui_list_selected(QWidget* list);
void ui_list_select(QWidget* list, int row, bool by_player);
void ui_list_font_changed(QWidget* list);

// Canvases and image gadgets (ui_draw.cpp).
QWidget* ui_make_canvas(int gadget, QWidget* parent, int width, int height);
void ui_canvas_resized(QWidget* canvas, int width, int height);
void ui_canvas_player_click(QWidget* canvas, int x, int y);
int ui_canvas_last_x(QWidget* canvas);
int ui_canvas_last_y(QWidget* canvas);
QWidget* ui_make_image_button(int gadget, QWidget* parent, const QImage& face);
void ui_end_drawing_on_gadget(int gadget);

// Test seam pieces (ui_dialogs.cpp).
void ui_reset_dialog_state();
void ui_call_idle_hook();
bool ui_has_idle_hook();
