// Start-up, the event queue and its pumping, windows, key bindings, timers,
// menus and the clock.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "ui/ui_internal.h"

std::unordered_map<int, Gadget> g_ui_gadgets;
std::map<int, Window> g_ui_windows;
std::deque<UiEvent> g_ui_queue;
int g_ui_program_setting = 0;
bool g_ui_test_mode = false;
int g_ui_default_font = UI_DEFAULT_FONT;
bool g_ui_taking_no_player_events = false;

void ui_scope_use_window(int window);
void ui_scope_forget_window(int window);

namespace {

QApplication* g_app = nullptr;
QTimer* g_wake_timer = nullptr;  // ends a blocking wait on time

UiEvent g_current;  // the event the last wait or poll returned

// Pumping the toolkit from the poll: the clock is read every kPollClockEvery
// calls, and the toolkit pumped once the next pump time has come. The next
// pump is scheduled from the end of the last one, and at least three times
// its own cost later, so that slow repaints cannot eat the program's time.
constexpr uint32_t kPollClockEvery = 32;
constexpr int64_t kMinPumpGapMs = 3;
uint32_t g_poll_calls = 0;
int64_t g_next_pump_ms = 0;

// Menus under construction.
struct Menu {
  int window = -1;
  QPointer<QMenuBar> bar;
  std::map<int, QPointer<QAction>> items;
};
std::map<int, Menu> g_menus;
int g_building_menu = -1;
std::vector<QPointer<QMenu>> g_menu_stack;  // title menu, then open sub-menus

int64_t steady_ms() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The offscreen platform reports every window-manager request it cannot do;
// those notes say nothing about the program.
QtMessageHandler g_previous_handler = nullptr;
void filter_messages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && (message.startsWith(QLatin1String("This plugin does not support")) ||
                               message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR"))))
    return;
  if (g_previous_handler) {
    g_previous_handler(type, context, message);
  } else {
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    if (type == QtFatalMsg) std::abort();
  }
}

bool can_start_toolkit() {
  if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) return true;
  return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

// One pass over the toolkit without blocking. Rows waiting for a list reach
// its view here; from the poll (a long operation filling a list) only every
// kListFlushGapMs at least, since showing them repaints the whole view, and
// the player needs no more than a few updates a second to see it grow.
constexpr int64_t kListFlushGapMs = 50;
int64_t g_next_list_flush_ms = 0;

void pump(bool from_poll) {
  int64_t start = steady_ms();
  bool flush = !from_poll || start >= g_next_list_flush_ms;
  if (flush) ui_flush_lists();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  int64_t end = steady_ms();
  int64_t cost = end - start;
  if (flush) g_next_list_flush_ms = end + std::max(kListFlushGapMs, 10 * cost);
  g_next_pump_ms = end + std::max(kMinPumpGapMs, 3 * cost);
}

int take_event() {
  g_current = g_ui_queue.front();
  g_ui_queue.pop_front();
  return g_current.kind;
}

void relayout_window(Window& w) {
  if (!w.top) return;
  int bar_height = 0;
  if (w.menu_bar) {
    bar_height = w.menu_bar->sizeHint().height();
    w.menu_bar->setGeometry(0, 0, w.inner_width, bar_height);
  }
  if (w.inner) w.inner->setGeometry(0, bar_height, w.inner_width, w.inner_height);
  w.top->setFixedSize(w.inner_width, w.inner_height + bar_height);
}

void free_menus_of_window(int window) {
  for (auto it = g_menus.begin(); it != g_menus.end();) {
    if (it->second.window == window) {
      if (g_building_menu == it->first) {
        g_building_menu = -1;
        g_menu_stack.clear();
      }
      it = g_menus.erase(it);
    } else {
      ++it;
    }
  }
}

QAction* find_menu_item(int menu, int item) {
  auto m = g_menus.find(menu);
  if (m == g_menus.end()) return nullptr;
  auto it = m->second.items.find(item);
  if (it == m->second.items.end()) return nullptr;
  return it->second.data();
}

// Qt keys that a program key code stands for (Windows virtual-key codes:
// letters and digits as their capital ASCII, F1 = 112).
std::vector<int> qt_keys_for(int key) {
  switch (key) {
    case UI_KEY_RETURN: return {Qt::Key_Return, Qt::Key_Enter};
    case UI_KEY_ESCAPE: return {Qt::Key_Escape};
    case 8: return {Qt::Key_Backspace};
    case 9: return {Qt::Key_Tab};
    case 32: return {Qt::Key_Space};
    case 46: return {Qt::Key_Delete};
    default: break;
  }
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return {key};
  if (key >= 112 && key <= 123) return {Qt::Key_F1 + (key - 112)};
  return {};
}

}  // namespace

void TopWindow::closeEvent(QCloseEvent* event) {
  // The window never closes itself: the program decides on the request.
  event->ignore();
  Window* w = ui_find_window(number_);
  if (w && !w->disabled) ui_queue_event(UI_EVENT_CLOSE, number_, number_, 0);
}

// ---- start and end -------------------------------------------------------------
bool ui_init() {
  if (g_app) return true;
  if (QCoreApplication::instance()) return false;  // someone else's application
  if (!can_start_toolkit()) return false;
  // A unit is 1/96 inch: the toolkit scales every window, gadget, font and
  // picture by the display's ratio (1 at 96 DPI, 2 at 192 DPI).
  g_previous_handler = qInstallMessageHandler(filter_messages);
  static int argc = 1;
  static char name[] = "kestrova";
  static char* argv[] = {name, nullptr};
  g_app = new QApplication(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  if (QStyle* fusion = QStyleFactory::create("Fusion")) QApplication::setStyle(fusion);
  QFont gui_font(QStringLiteral("Arial"));
  gui_font.setPointSize(8);
  QApplication::setFont(gui_font);
  g_wake_timer = new QTimer();
  g_wake_timer->setSingleShot(true);
  g_wake_timer->setTimerType(Qt::PreciseTimer);
  QObject::connect(g_wake_timer, &QTimer::timeout, [] {});
  return true;
}

void ui_shutdown() {
  if (!g_app) return;
  std::vector<int> windows;
  for (auto& [number, w] : g_ui_windows) windows.push_back(number);
  for (int number : windows) ui_close_window(number);
  g_ui_gadgets.clear();
  ui_free_all_images();
  g_ui_queue.clear();
  ui_set_toolkit_language(1);
  delete g_wake_timer;
  g_wake_timer = nullptr;
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  delete g_app;
  g_app = nullptr;
}

// ---- the queue -------------------------------------------------------------------
void ui_queue_event(int kind, int object, int window, int type) {
  if (g_ui_taking_no_player_events && kind != UI_EVENT_TIMER) return;
  g_ui_queue.push_back(UiEvent{kind, object, window, type});
}

void ui_paint_only(int ms) {
  if (!g_app) return;
  g_wake_timer->start(std::max(ms, 0));
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
  g_wake_timer->stop();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void ui_queue_gadget_event(int gadget, const QWidget* source, int type) {
  if (g_ui_program_setting > 0) return;
  Gadget* g = ui_find_gadget(gadget);
  if (!g || g->widget != source) return;
  ui_queue_event(UI_EVENT_GADGET, gadget, g->window, type);
}

void ui_drop_gadget_events(int gadget) {
  std::erase_if(g_ui_queue, [gadget](const UiEvent& e) {
    return e.kind == UI_EVENT_GADGET && e.object == gadget;
  });
}

void ui_drop_window_events(int window) {
  std::erase_if(g_ui_queue, [window](const UiEvent& e) { return e.window == window; });
}

int ui_poll_event() {
  if (++g_poll_calls >= kPollClockEvery) {
    g_poll_calls = 0;
    if (steady_ms() >= g_next_pump_ms) pump(true);
  }
  if (!g_ui_queue.empty()) return take_event();
  if (g_ui_test_mode && ui_has_idle_hook()) {
    ui_call_idle_hook();
    if (!g_ui_queue.empty()) return take_event();
  }
  g_current = UiEvent{};
  return UI_EVENT_NONE;
}

int ui_wait_event(int timeout_ms) {
  const int64_t start = steady_ms();
  const int64_t deadline = timeout_ms < 0 ? INT64_MAX : start + timeout_ms;
  constexpr int64_t kTestGuardMs = 10000;
  for (;;) {
    pump(false);
    if (!g_ui_queue.empty()) return take_event();
    if (g_ui_test_mode) {
      ui_call_idle_hook();
      if (!g_ui_queue.empty()) return take_event();
    }
    int64_t now = steady_ms();
    if (now >= deadline) break;
    if (g_ui_test_mode && now - start >= kTestGuardMs) {
      std::fprintf(stderr,
                   "ui: test mode: a wait for an event found the queue empty for %lld ms; "
                   "nothing the test scripted answers it. Ending the test program.\n",
                   static_cast<long long>(now - start));
      std::fflush(stderr);
      std::abort();
    }
    int64_t remaining = deadline - now;
    // In test mode the idle hook gets its next chance soon.
    if (g_ui_test_mode) remaining = std::min<int64_t>(remaining, 2);
    remaining = std::min<int64_t>(remaining, 1000000);
    g_wake_timer->start(static_cast<int>(remaining));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    g_wake_timer->stop();
  }
  g_current = UiEvent{};
  return UI_EVENT_NONE;
}

int ui_event_object() { return g_current.object; }
int ui_event_window() { return g_current.window; }
int ui_event_type() { return g_current.kind == UI_EVENT_GADGET ? g_current.type : 0; }

int64_t g_ui_test_clock = -1;  // what ui_milliseconds reads in test mode; -1: the real clock

int64_t ui_milliseconds() { return g_ui_test_mode && g_ui_test_clock >= 0 ? g_ui_test_clock : steady_ms(); }

void ui_delay(int ms) {
  if (!g_app) return;
  pump(false);
  if (g_ui_test_mode) {
    // Tests do not sit out the program's pauses, but may look at what the
    // pause shows.
    ui_call_idle_hook();
    return;
  }
  const int64_t deadline = steady_ms() + std::max(ms, 0);
  for (;;) {
    int64_t now = steady_ms();
    if (now >= deadline) break;
    g_wake_timer->start(static_cast<int>(deadline - now));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    g_wake_timer->stop();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  pump(false);
}

// ---- windows -----------------------------------------------------------------------
Window* ui_find_window(int window) {
  auto it = g_ui_windows.find(window);
  if (it == g_ui_windows.end()) return nullptr;
  if (!it->second.top) {
    g_ui_windows.erase(it);
    return nullptr;
  }
  return &it->second;
}

std::vector<int> g_ui_failing_window_opens;

bool ui_open_window(int window, int x, int y, int inner_width, int inner_height,
                    const std::string& title, unsigned flags, int owner) {
  if (!g_app || inner_width < 0 || inner_height < 0) return false;
  auto failing = std::find(g_ui_failing_window_opens.begin(), g_ui_failing_window_opens.end(), window);
  if (failing != g_ui_failing_window_opens.end()) {
    g_ui_failing_window_opens.erase(failing);
    return false;
  }
  if (ui_find_window(window)) ui_close_window(window);
  Window w;
  w.number = window;
  w.owner = owner;
  w.inner_width = inner_width;
  w.inner_height = inner_height;
  // A secondary window has no toolkit parent (a child would be disabled with
  // its owner); it is tied to the owner through its transient parent.
  auto* top = new TopWindow(window);
  Qt::WindowFlags wf = Qt::Window | Qt::CustomizeWindowHint;
  if (flags & (UI_WINDOW_CAPTION | UI_WINDOW_TOOL)) wf |= Qt::WindowTitleHint;
  if ((flags & UI_WINDOW_CLOSE_BOX) && !(flags & UI_WINDOW_TOOL))
    wf |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if ((flags & UI_WINDOW_MINIMIZE_BOX) && !(flags & UI_WINDOW_TOOL))
    wf |= Qt::WindowMinimizeButtonHint;
  top->setWindowFlags(wf);
  top->setWindowTitle(to_qstring(title));
  top->setAttribute(Qt::WA_DeleteOnClose, false);
  w.top = top;
  w.inner = new QWidget(top);
  g_ui_windows[window] = w;
  Window& stored = g_ui_windows[window];
  relayout_window(stored);

  Window* owner_window = owner >= 0 ? ui_find_window(owner) : nullptr;
  if (owner_window) {
    top->winId();
    owner_window->top->winId();
    if (top->windowHandle() && owner_window->top->windowHandle())
      top->windowHandle()->setTransientParent(owner_window->top->windowHandle());
  }
  QPoint position(x, y);
  QSize outer = top->size();
  if ((flags & UI_WINDOW_CENTER_PARENT) && owner_window) {
    QRect o = owner_window->top->frameGeometry();
    position = o.center() - QPoint(outer.width() / 2, outer.height() / 2);
  } else if (flags & (UI_WINDOW_CENTER_PARENT | UI_WINDOW_CENTER_SCREEN)) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
      QRect s = screen->availableGeometry();
      position = s.center() - QPoint(outer.width() / 2, outer.height() / 2);
    }
  }
  top->move(position);
  top->show();
  top->raise();
  top->activateWindow();
  ui_scope_use_window(window);
  return true;
}

void ui_close_window(int window) {
  Window* w = ui_find_window(window);
  if (!w) return;
  std::vector<int> numbers;
  for (auto& [number, g] : g_ui_gadgets)
    if (g.window == window) numbers.push_back(number);
  for (int number : numbers) ui_end_drawing_on_gadget(number);
  for (int number : numbers) g_ui_gadgets.erase(number);
  free_menus_of_window(window);
  for (auto& [timer, t] : w->timers) delete t;
  w->timers.clear();
  TopWindow* top = w->top;
  g_ui_windows.erase(window);
  delete top;  // frees every gadget, shortcut and menu of the window
  ui_drop_window_events(window);
  ui_scope_forget_window(window);
}

bool ui_window_exists(int window) { return ui_find_window(window) != nullptr; }

void ui_disable_window(int window, bool disabled) {
  Window* w = ui_find_window(window);
  if (!w) return;
  w->disabled = disabled;
  // A disabled top level refuses every kind of player input, keys included.
  w->top->setEnabled(!disabled);
}

bool ui_window_disabled(int window) {
  Window* w = ui_find_window(window);
  return w && w->disabled;
}

void ui_set_window_title(int window, const std::string& title) {
  if (Window* w = ui_find_window(window)) w->top->setWindowTitle(to_qstring(title));
}

std::string ui_window_title(int window) {
  Window* w = ui_find_window(window);
  return w ? to_std(w->top->windowTitle()) : std::string();
}

int ui_window_inner_width(int window) {
  Window* w = ui_find_window(window);
  return w ? w->inner_width : 0;
}

int ui_window_inner_height(int window) {
  Window* w = ui_find_window(window);
  return w ? w->inner_height : 0;
}

void ui_use_window(int window) {
  if (ui_find_window(window)) ui_scope_use_window(window);
}

bool ui_set_window_icon(int window, int image) {
  Window* w = ui_find_window(window);
  QImage* picture = ui_find_image(image);
  if (!w || !picture) return false;
  w->top->setWindowIcon(QIcon(QPixmap::fromImage(*picture)));
  return true;
}

bool ui_player_can_reach(const QWidget* widget) {
  if (!widget) return false;
  if (!widget->isEnabled()) return false;  // false too when its window is disabled
  return true;
}

// ---- key bindings and timers ------------------------------------------------------
void ui_add_shortcut(int window, int key, int menu_event) {
  Window* w = ui_find_window(window);
  if (!w) return;
  ui_remove_shortcut(window, key);
  std::vector<QShortcut*> made;
  for (int qt_key : qt_keys_for(key)) {
    auto* shortcut = new QShortcut(QKeySequence(qt_key), w->top);
    shortcut->setContext(Qt::WindowShortcut);
    shortcut->setAutoRepeat(false);
    QObject::connect(shortcut, &QShortcut::activated, [window, menu_event] {
      Window* target = ui_find_window(window);
      if (target && !target->disabled)
        ui_queue_event(UI_EVENT_MENU, menu_event, window, 0);
    });
    made.push_back(shortcut);
  }
  if (!made.empty()) w->shortcuts[key] = made;
}

void ui_remove_shortcut(int window, int key) {
  Window* w = ui_find_window(window);
  if (!w) return;
  auto it = w->shortcuts.find(key);
  if (it == w->shortcuts.end()) return;
  for (QShortcut* s : it->second) delete s;
  w->shortcuts.erase(it);
}

// The player pressing a key in a window (test seam): runs what the key's
// binding runs, which queues nothing while the window is disabled.
void ui_press_key(int window, int key) {
  Window* w = ui_find_window(window);
  if (!w || w->disabled) return;
  auto it = w->shortcuts.find(key);
  if (it == w->shortcuts.end() || it->second.empty()) return;
  QShortcut* shortcut = it->second.front();
  if (shortcut->isEnabled()) emit shortcut->activated();
}

void ui_add_timer(int window, int timer, int ms) {
  Window* w = ui_find_window(window);
  if (!w) return;
  ui_remove_timer(window, timer);
  auto* t = new QTimer(w->top);
  t->setInterval(std::max(ms, 1));
  QObject::connect(t, &QTimer::timeout, [window, timer] {
    for (const UiEvent& e : g_ui_queue)
      if (e.kind == UI_EVENT_TIMER && e.object == timer && e.window == window) return;
    ui_queue_event(UI_EVENT_TIMER, timer, window, 0);
  });
  t->start();
  w->timers[timer] = t;
}

void ui_remove_timer(int window, int timer) {
  Window* w = ui_find_window(window);
  if (!w) return;
  auto it = w->timers.find(timer);
  if (it == w->timers.end()) return;
  delete it->second;
  w->timers.erase(it);
  std::erase_if(g_ui_queue, [window, timer](const UiEvent& e) {
    return e.kind == UI_EVENT_TIMER && e.object == timer && e.window == window;
  });
}

// ---- menus --------------------------------------------------------------------------
bool ui_create_menu(int menu, int window) {
  Window* w = ui_find_window(window);
  if (!w) return false;
  // A window has one menu bar: a new menu replaces the old one.
  free_menus_of_window(window);
  g_menus.erase(menu);
  if (w->menu_bar) delete w->menu_bar.data();
  auto* bar = new QMenuBar(w->top);
  bar->setNativeMenuBar(false);
  w->menu_bar = bar;
  Menu m;
  m.window = window;
  m.bar = bar;
  g_menus[menu] = m;
  g_building_menu = menu;
  g_menu_stack.clear();
  relayout_window(*w);
  bar->show();
  return true;
}

void ui_menu_title(const std::string& title) {
  auto m = g_menus.find(g_building_menu);
  if (m == g_menus.end() || !m->second.bar) return;
  QMenu* title_menu = m->second.bar->addMenu(to_caption(title));
  g_menu_stack.clear();
  g_menu_stack.push_back(title_menu);
  if (Window* w = ui_find_window(m->second.window)) relayout_window(*w);
}

void ui_menu_item(int item, const std::string& text) {
  auto m = g_menus.find(g_building_menu);
  if (m == g_menus.end() || g_menu_stack.empty() || !g_menu_stack.back()) return;
  // QMenu shows what follows a tab as the shortcut text, and binds no key.
  QAction* action = g_menu_stack.back()->addAction(to_caption(text));
  int window = m->second.window;
  QObject::connect(action, &QAction::triggered, [window, item] {
    Window* w = ui_find_window(window);
    if (w && !w->disabled) ui_queue_event(UI_EVENT_MENU, item, window, 0);
  });
  m->second.items[item] = action;
}

void ui_menu_separator() {
  if (g_menu_stack.empty() || !g_menu_stack.back()) return;
  g_menu_stack.back()->addSeparator();
}

void ui_open_sub_menu(const std::string& title) {
  if (g_menu_stack.empty() || !g_menu_stack.back()) return;
  g_menu_stack.push_back(g_menu_stack.back()->addMenu(to_caption(title)));
}

void ui_close_sub_menu() {
  if (g_menu_stack.size() > 1) g_menu_stack.pop_back();
}

void ui_set_menu_item_text(int menu, int item, const std::string& text) {
  if (QAction* a = find_menu_item(menu, item)) a->setText(to_caption(text));
}

std::string ui_menu_item_text(int menu, int item) {
  QAction* a = find_menu_item(menu, item);
  return a ? shown_caption(a->text()) : std::string();
}

void ui_disable_menu_item(int menu, int item, bool disabled) {
  if (QAction* a = find_menu_item(menu, item)) a->setEnabled(!disabled);
}

bool ui_menu_item_disabled(int menu, int item) {
  QAction* a = find_menu_item(menu, item);
  return a && !a->isEnabled();
}

int ui_menu_height(int window) {
  Window* w = ui_find_window(window);
  return w && w->menu_bar ? w->menu_bar->height() : 0;
}

// The player choosing a menu entry of a window (test seam).
void ui_trigger_menu_item(int window, int item) {
  Window* w = ui_find_window(window);
  if (!w || w->disabled) return;
  for (auto& [number, m] : g_menus) {
    if (m.window != window) continue;
    auto it = m.items.find(item);
    if (it != m.items.end() && it->second) {
      it->second->trigger();  // does nothing while the entry is disabled
      return;
    }
  }
}

void ui_free_all_windows_and_menus() {
  std::vector<int> windows;
  for (auto& [number, w] : g_ui_windows) windows.push_back(number);
  for (int number : windows) ui_close_window(number);
  g_ui_windows.clear();
  g_menus.clear();
  g_building_menu = -1;
  g_menu_stack.clear();
  g_ui_queue.clear();
  g_current = UiEvent{};
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
