// Numbered gadgets: the current container, the creators, and the operations
// shared by every kind.
#include "ui/ui_internal.h"

namespace {

// Where the next gadget goes: a window's inner area, a tab page or a
// container. A scope whose parent is null makes every creator fail (the
// program opened a list that does not exist) and still pops in balance.
struct Scope {
  int window = -1;
  QPointer<QWidget> parent;
  int owner = -1;  // the panel or container that pushed it, -1 for the window
};
std::vector<Scope> g_scopes;

// Option buttons made one after the other share a group.
QPointer<QButtonGroup> g_option_group;
QPointer<QWidget> g_option_group_parent;
int g_last_created = -1;

const Scope* current_scope() {
  if (g_scopes.empty()) return nullptr;
  return &g_scopes.back();
}

// A one-line field. A text the program sets while the field cannot be seen
// (on a tab page not shown) waits until the field is shown: laying a text out
// is what costs, and the Techniques tab rewrites its 169 fields at once,
// whichever tab is in front. The gadget's text is the waiting one meanwhile.
class TextField : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;

  QString shown_or_waiting() const { return waiting_ ? *waiting_ : text(); }

  void set_from_program(const QString& t) {
    if (!isVisible()) {
      waiting_ = t;
      return;
    }
    waiting_.reset();
    put(t);
  }

  // The waiting text goes in now (the player is about to act on the field).
  void take_waiting() {
    if (!waiting_) return;
    QString t = std::move(*waiting_);
    waiting_.reset();
    put(t);
  }

 protected:
  void showEvent(QShowEvent* event) override {
    ProgramSetting setting;
    take_waiting();
    QLineEdit::showEvent(event);
  }

 private:
  // The same text again changes nothing but the cursor and the modified mark.
  void put(const QString& t) {
    if (text() != t) setText(t);
    else setModified(false);
    if (cursorPosition() != 0) setCursorPosition(0);
  }

  std::optional<QString> waiting_;
};

// A label that raises a click (image gadgets and hyperlinks).
class ClickLabel : public QLabel {
 public:
  ClickLabel(int gadget, QWidget* parent) : QLabel(parent), gadget_(gadget) {}
  void player_click() { ui_queue_gadget_event(gadget_, this, UI_TYPE_CLICK); }
  int64_t normal = UI_DEFAULT_COLOUR;
  int64_t hover = UI_DEFAULT_COLOUR;
  bool link = false;
  void show_colour(bool hovered) {
    int64_t c = hovered && hover != UI_DEFAULT_COLOUR ? hover : normal;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, c == UI_DEFAULT_COLOUR ? QApplication::palette().color(QPalette::Link)
                                                            : to_qcolor(c));
    setPalette(p);
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
      player_click();
    QLabel::mouseReleaseEvent(event);
  }
  void enterEvent(QEnterEvent* event) override {
    if (link) show_colour(true);
    QLabel::enterEvent(event);
  }
  void leaveEvent(QEvent* event) override {
    if (link) show_colour(false);
    QLabel::leaveEvent(event);
  }

 private:
  int gadget_;
};

// Makes room for gadget `number` and returns the parent it goes into, or
// nullptr when there is no current container.
QWidget* begin_gadget(int number) {
  const Scope* scope = current_scope();
  if (!scope || !scope->parent) return nullptr;
  QWidget* parent = scope->parent;
  if (g_ui_gadgets.count(number)) {
    // The old gadget may be the current container's ancestor; then the new
    // gadget has nowhere to go.
    Gadget* old = ui_find_gadget(number);
    if (old && old->widget && (old->widget == parent || old->widget->isAncestorOf(parent))) {
      ui_destroy_gadget(number);
      return nullptr;
    }
    ui_destroy_gadget(number);
  }
  return parent;
}

// The font a gadget made now gets.
int new_gadget_font() {
  return g_ui_default_font != UI_DEFAULT_FONT && ui_font_exists(g_ui_default_font)
             ? g_ui_default_font
             : UI_DEFAULT_FONT;
}

bool finish_gadget(int number, GadgetKind kind, QWidget* widget, int x, int y, int w, int h) {
  const Scope* scope = current_scope();
  Gadget g;
  g.number = number;
  g.kind = kind;
  g.window = scope ? scope->window : -1;
  g.widget = widget;
  widget->setProperty("ui_gadget", number);
  g.font = new_gadget_font();
  if (g.font != UI_DEFAULT_FONT) {
    widget->setFont(ui_font(g.font));
    if (kind == GadgetKind::list) ui_list_font_changed(widget);
  }
  widget->setGeometry(x, y, std::max(w, 0), std::max(h, 0));
  // Widgets added to a window that is already shown stay hidden until shown.
  widget->show();
  g_ui_gadgets[number] = g;
  g_last_created = number;
  if (kind != GadgetKind::option) g_option_group = nullptr;
  return true;
}

void set_roles(QWidget* widget, QPalette::ColorRole front_role, QPalette::ColorRole back_role,
               int64_t front, int64_t back, bool fill) {
  QPalette p = QApplication::palette(widget);
  if (front != UI_DEFAULT_COLOUR) {
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
      p.setColor(group, front_role, to_qcolor(front));
  }
  if (back != UI_DEFAULT_COLOUR) {
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
      p.setColor(group, back_role, to_qcolor(back));
  }
  widget->setPalette(p);
  if (fill) widget->setAutoFillBackground(back != UI_DEFAULT_COLOUR);
}

void apply_colours(Gadget& g);

// Puts on the colours of a gadget that was hidden when they were set, once
// it is shown, and then lets the gadget go.
class ShowColoursFilter : public QObject {
 public:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      object->removeEventFilter(this);
      Gadget* g = ui_find_gadget(object->property("ui_gadget").toInt());
      if (g && g->widget == object && g->colours_waiting) apply_colours(*g);
    }
    return false;
  }
};

void apply_colours(Gadget& g) {
  QWidget* w = g.widget;
  // A new palette costs as much as laying the text out, and fields on a tab
  // page not shown are recoloured by the hundred: they get it when shown.
  if (!w->isVisible()) {
    if (!g.colours_waiting) {
      static ShowColoursFilter* filter = new ShowColoursFilter;
      g.colours_waiting = true;
      w->installEventFilter(filter);
    }
    return;
  }
  g.colours_waiting = false;
  switch (g.kind) {
    case GadgetKind::label:
    case GadgetKind::check_box:
    case GadgetKind::option:
    case GadgetKind::frame:
    case GadgetKind::container:
    case GadgetKind::image:
      set_roles(w, QPalette::WindowText, QPalette::Window, g.front, g.back, true);
      break;
    case GadgetKind::text_field:
    case GadgetKind::editor:
    case GadgetKind::list:
    case GadgetKind::combo:
      set_roles(w, QPalette::Text, QPalette::Base, g.front, g.back, false);
      break;
    case GadgetKind::spin:
      // The frame around the edit area and the edit area itself.
      set_roles(w, QPalette::Text, QPalette::Base, g.front, g.back, false);
      set_roles(w->findChild<QLineEdit*>(), QPalette::Text, QPalette::Base, g.front, g.back,
                false);
      break;
    case GadgetKind::hyperlink: {
      auto* link = static_cast<ClickLabel*>(w);
      link->normal = g.front;
      set_roles(w, QPalette::WindowText, QPalette::Window, UI_DEFAULT_COLOUR, g.back, true);
      link->show_colour(link->underMouse());
      break;
    }
    case GadgetKind::button:
      set_roles(w, QPalette::ButtonText, QPalette::Button, g.front, g.back, false);
      break;
    default:
      break;
  }
}

QTabWidget* panel_of(int gadget) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g || g->kind != GadgetKind::panel) return nullptr;
  return static_cast<QTabWidget*>(g->widget.data());
}

QLineEdit* spin_line(QWidget* spin) { return spin->findChild<QLineEdit*>(); }

void set_editor_text(QTextEdit* editor, const QString& text, bool centred) {
  editor->setPlainText(text);
  if (centred) {
    QTextCursor cursor(editor->document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setAlignment(Qt::AlignHCenter);
    cursor.mergeBlockFormat(format);
  }
}

}  // namespace

// ---- scopes ------------------------------------------------------------------------
void ui_scope_use_window(int window) {
  g_scopes.clear();
  Window* w = ui_find_window(window);
  if (w) g_scopes.push_back(Scope{window, w->inner, -1});
  g_option_group = nullptr;
}

void ui_scope_forget_window(int window) {
  std::erase_if(g_scopes, [window](const Scope& s) { return s.window == window; });
  if (g_scopes.empty() && !g_ui_windows.empty()) {
    // Back to the first window still open (the main window).
    for (auto& [number, w] : g_ui_windows) {
      if (w.top) {
        g_scopes.push_back(Scope{number, w.inner, -1});
        break;
      }
    }
  }
  g_option_group = nullptr;
}

void ui_scope_reset() {
  g_scopes.clear();
  g_option_group = nullptr;
  g_last_created = -1;
}

void ui_open_gadget_list(int panel, int tab) {
  Gadget* g = ui_find_gadget(panel);
  Scope scope;
  scope.owner = panel;
  if (g) {
    scope.window = g->window;
    if (g->kind == GadgetKind::panel && tab >= 0) {
      auto* tabs = static_cast<QTabWidget*>(g->widget.data());
      if (tab < tabs->count()) scope.parent = tabs->widget(tab);
    } else if (g->kind == GadgetKind::container && tab < 0) {
      scope.parent = g->widget;
    }
  }
  g_scopes.push_back(scope);
  g_option_group = nullptr;
}

void ui_close_gadget_list() {
  if (g_scopes.size() > 1) g_scopes.pop_back();
  g_option_group = nullptr;
}

// ---- records ----------------------------------------------------------------------
Gadget* ui_find_gadget(int gadget) {
  auto it = g_ui_gadgets.find(gadget);
  if (it == g_ui_gadgets.end()) return nullptr;
  if (!it->second.widget) {
    g_ui_gadgets.erase(it);
    return nullptr;
  }
  return &it->second;
}

void ui_destroy_gadget(int gadget) {
  auto it = g_ui_gadgets.find(gadget);
  if (it == g_ui_gadgets.end()) return;
  ui_end_drawing_on_gadget(gadget);
  bool holds_others = it->second.kind == GadgetKind::panel ||
                      it->second.kind == GadgetKind::container;
  QWidget* widget = it->second.widget;
  g_ui_gadgets.erase(it);
  ui_drop_gadget_events(gadget);
  {
    ProgramSetting setting;
    delete widget;
  }
  if (holds_others) ui_sweep_dead_gadgets();
}

void ui_sweep_dead_gadgets() {
  for (auto it = g_ui_gadgets.begin(); it != g_ui_gadgets.end();) {
    if (!it->second.widget) {
      ui_drop_gadget_events(it->first);
      it = g_ui_gadgets.erase(it);
    } else {
      ++it;
    }
  }
}

bool ui_gadget_exists(int gadget) { return ui_find_gadget(gadget) != nullptr; }

void ui_free_gadget(int gadget) {
  if (ui_find_gadget(gadget)) ui_destroy_gadget(gadget);
}

void ui_free_all_gadgets() {
  g_ui_gadgets.clear();  // their widgets die with their windows
  ui_scope_reset();
}

// ---- creators ---------------------------------------------------------------------
bool ui_button(int gadget, int x, int y, int w, int h, const std::string& text) {
  QWidget* parent = begin_gadget(gadget);
  if (!parent) return false;
  auto* button = new QPushButton(to_caption(text), parent);
  button->setAutoDefault(false);
  QObject::connect(button, &QPushButton::clicked,
                   [gadget, button] { ui_queue_gadget_event(gadget, button, UI_TYPE_CLICK); });
  return finish_gadget(gadget, GadgetKind::button, button, x, y, w, h);
}

namespace {

// An image button made again under its number in the same place (a pool
// button recoloured, dozens at a time) keeps its widget and takes the new
// face, when nothing else about the old one differs from a new gadget: the
// program sees a new gadget, and no widget is torn down and built again.
bool reface_image_button(int gadget, const QImage& face, int x, int y, int w, int h) {
  const Scope* scope = current_scope();
  Gadget* old = ui_find_gadget(gadget);
  if (!scope || !scope->parent || !old || old->kind != GadgetKind::image_button) return false;
  QWidget* button = old->widget;
  if (button->parentWidget() != scope->parent || old->window != scope->window || old->disabled ||
      old->front != UI_DEFAULT_COLOUR || old->back != UI_DEFAULT_COLOUR ||
      old->font != new_gadget_font() || !button->toolTip().isEmpty())
    return false;
  ui_end_drawing_on_gadget(gadget);
  ui_drop_gadget_events(gadget);
  ui_set_image_button_face(button, face);
  button->setGeometry(x, y, std::max(w, 0), std::max(h, 0));
  button->raise();  // on top of its neighbours, as a new widget would be
  g_last_created = gadget;
  g_option_group = nullptr;
  return true;
}

}  // namespace

bool ui_image_button(int gadget, int x, int y, int w, int h, int image) {
  QImage* face = ui_find_image(image);
  // The button's own picture: drawing on the image afterwards, or freeing
  // it, leaves the button's as it is (the toolkit copies pixels on write).
  QImage copy = face ? *face : QImage();
  if (reface_image_button(gadget, copy, x, y, w, h)) return true;
  QWidget* parent = begin_gadget(gadget);
  if (!parent) return false;
  QWidget* button = ui_make_image_button(gadget, parent, copy);
  return finish_gadget(gadget, GadgetKind::image_button, button, x, y, w, h);
}

namespace {

// What the player may type into a field: digits only for a numeric field, and
// at most `characters` of them (0: no limit). The limit binds the keys alone,
// as a validator does: a text the program sets is kept whole, so a pasted
// "148" stays "148" for the range check to refuse rather than reading as 14.
void set_field_validator(QLineEdit* field, int characters) {
  const bool numeric = field->property("ui_numeric").toBool();
  field->setProperty("ui_max_length", characters);
  if (!numeric && characters == 0) {
    delete field->validator();
    field->setValidator(nullptr);
    return;
  }
  QString pattern = numeric ? QStringLiteral("[0-9]") : QStringLiteral(".");
  pattern += characters > 0 ? QStringLiteral("{0,%1}").arg(characters) : QStringLiteral("*");
  const QValidator* old = field->validator();
  field->setValidator(new QRegularExpressionValidator(
      QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption), field));
  delete old;
}

}  // namespace

bool ui_text_field(int gadget, int x, int y, int w, int h, const std::string& text,
                   unsigned flags) {
  QWidget* parent = begin_gadget(gadget);
  if (!parent) return false;
  auto* field = new TextField(parent);
  {
    ProgramSetting setting;
    field->setText(to_qstring(text));
  }
  field->setProperty("ui_numeric", (flags & UI_FIELD_NUMERIC) != 0);
  set_field_validator(field, 0);
  if (flags & UI_FIELD_READONLY) field->setReadOnly(true);
  field->setCursorPosition(0);
  QObject::connect(field, &QLineEdit::textEdited,
                   [gadget, field] { ui_queue_gadget_event(gadget, field, UI_TYPE_CHANGE); });
  return finish_gadget(gadget, GadgetKind::text_field, field, x, y, w, h);
}

void ui_set_max_length(int gadget, int characters) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g || g->kind != GadgetKind::text_field) return;
  ProgramSetting setting;
  set_field_validator(static_cast<QLineEdit*>(g->widget.data()), characters > 0 ? characters : 0);
}

namespace {
// A spin field's changes are queued coalesced: keys typed before the program
// looks are one change.
void queue_spin_change(int gadget, QWidget* spin) {
  if (g_ui_program_setting > 0) return;
  if (!g_ui_queue.empty()) {
    const UiEvent& last = g_ui_queue.back();
    if (last.kind == UI_EVENT_GADGET && last.object == gadget && last.type == UI_TYPE_CHANGE)
      return;
  }
  ui_queue_gadget_event(gadget, spin, UI_TYPE_CHANGE);
}

// The integer a text begins with: leading blanks, an optional sign, decimal
// digits up to the first other character; 0 without digits; held at the
// ends of int64_t when longer.
int64_t leading_integer(const QString& text) {
  qsizetype i = 0;
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  // Gathered as a negative number: INT64_MIN has no positive twin.
  int64_t v = 0;
  bool held = false;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    int digit = text[i].unicode() - u'0';
    if (held || v < (INT64_MIN + digit) / 10) {
      held = true;
      continue;
    }
    v = v * 10 - digit;
  }
  if (held) return negative ? INT64_MIN : INT64_MAX;
  if (negative) return v;
  return v == INT64_MIN ? INT64_MAX : -v;
}

// A text field with arrows. The player may type anything: the program reads
// the text and checks it itself, so no key is refused and nothing is
// corrected when the focus leaves. The arrows step the text's number, taken
// into the range first, and write the result, kept in the range, as text.
class SpinField : public QAbstractSpinBox {
 public:
  SpinField(int gadget, int64_t min, int64_t max, QWidget* parent)
      : QAbstractSpinBox(parent), gadget_(gadget), min_(std::min(min, max)),
        max_(std::max(min, max)) {
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  }

  int64_t number() const { return leading_integer(lineEdit()->text()); }
  int64_t in_range(int64_t v) const { return std::clamp(v, min_, max_); }

  // Text written by the program: it never counts as the player's change.
  void write(const QString& text) {
    ProgramSetting setting;
    lineEdit()->setText(text);
    update();  // the arrows' live look follows the text
  }

  QValidator::State validate(QString&, int&) const override { return QValidator::Acceptable; }
  void fixup(QString&) const override {}

  void stepBy(int steps) override {
    QString next = stepped(steps);
    if (next == lineEdit()->text()) return;
    write(next);
    if (hasFocus()) selectAll();
    queue_spin_change(gadget_, this);
  }

  QSize sizeHint() const override { return with_room_for_numbers(QAbstractSpinBox::sizeHint()); }
  QSize minimumSizeHint() const override {
    return with_room_for_numbers(QAbstractSpinBox::minimumSizeHint());
  }

 protected:
  // An arrow is live when its click would change the text.
  StepEnabled stepEnabled() const override {
    if (isReadOnly()) return StepNone;
    StepEnabled live = StepNone;
    const QString now = lineEdit()->text();
    if (stepped(1) != now) live |= StepUpEnabled;
    if (stepped(-1) != now) live |= StepDownEnabled;
    return live;
  }

 private:
  QString stepped(int steps) const {
    int64_t from = in_range(number());
    int64_t to = steps > 0 ? (max_ - from < steps ? max_ : from + steps)
                           : (from - min_ < -static_cast<int64_t>(steps) ? min_ : from + steps);
    return QString::number(to);
  }

  // The toolkit measures no number for a spin box without a value type.
  QSize with_room_for_numbers(QSize size) const {
    QFontMetrics metrics(font());
    int widest = std::max(metrics.horizontalAdvance(QString::number(min_)),
                          metrics.horizontalAdvance(QString::number(max_)));
    return QSize(size.width() + widest, size.height());
  }

  int gadget_;
  int64_t min_;
  int64_t max_;
};
}  // namespace

bool ui_spin(int gadget, int x, int y, int w, int h, int64_t min, int64_t max, unsigned flags) {
  (void)flags;  // the arrows always write the number
  QWidget* parent = begin_gadget(gadget);
  if (!parent) return false;
  auto* spin = new SpinField(gadget, min, max, parent);
  spin->write(QString::number(spin->in_range(min)));
  QObject::connect(spin_line(spin), &QLineEdit::textEdited,
                   [gadget, spin] { queue_spin_change(gadget, spin); });
  return finish_gadget(gadget, GadgetKind::spin, spin, x, y, w, h);
}

bool ui_label(int gadget, int x, int y, int w, int h, const std::string& text, unsigned flags) {
  QWidget* parent = begin_gadget(gadget);
  if (!parent) return false;
  auto* label = new QLabel(to_qstring(text), parent);
  label->setTextFormat(Qt::PlainText);
  Qt::Alignment horizontal = Qt::AlignLeft;
  if (flags & UI_LABEL_RIGHT) horizontal = Qt::AlignRight;
  if (flags & UI_LABEL_CENTER) horizontal = Qt::AlignHCenter;
  label->setAlignment(horizontal | Qt::AlignTop);
  label->setWordWrap((flags & UI_LABEL_WRAP) != 0);
  return finish_gadget(gadget, GadgetKind::label, label, x, y, w, h);
}

bool ui_frame(int gadget, int x, int y, int w, int h, const std::string& text) {
  QWidget* parent = begin_gadget(gadget);
  if (!parent) return false;
  auto* frame = new QGroupBox(to_caption(text), parent);
  // Gadgets made after the frame are its siblings and lie above it.
  frame->setAttribute(Qt::WA_TransparentForMouseEvents);
  return finish_gadget(gadget, GadgetKind::frame, frame, x, y, w, h);
}

bool ui_panel(int gadget, int x, int y, int w, int h) {
  QWidget* parent = begin_gadget(gadget);
  if (!parent) return false;
  const Scope* scope = current_scope();
  int window = scope ? scope->window : -1;
  auto* tabs = new QTabWidget(parent);
  tabs->setUsesScrollButtons(true);
  QObject::connect(tabs, &QTabWidget::currentChanged,
                   [gadget, tabs] { ui_queue_gadget_event(gadget, tabs, UI_TYPE_CHANGE); });
  finish_gadget(gadget, GadgetKind::panel, tabs, x, y, w, h);
  // Until its first tab is added, nothing can go into the panel.
  g_scopes.push_back(Scope{window, nullptr, gadget});
  return true;
}

void ui_add_panel_tab(int panel, const std::string& caption) {
  QTabWidget* tabs = panel_of(panel);
  if (!tabs) return;
  auto* page = new QWidget();
  page->setAutoFillBackground(false);
  {
    ProgramSetting setting;
    tabs->addTab(page, to_caption(caption));
  }
  Gadget* g = ui_find_gadget(panel);
  if (!g_scopes.empty() && g_scopes.back().owner == panel)
    g_scopes.back().parent = page;
  else
    g_scopes.push_back(Scope{g->window, page, panel});
  g_option_group = nullptr;
}

bool ui_container(int gadget, int x, int y, int w, int h, unsigned flags) {
  QWidget* parent = begin_gadget(gadget);
  if (!parent) return false;
  const Scope* scope = current_scope();
  int window = scope ? scope->window : -1;
  auto* box = new QFrame(parent);
  if (flags & UI_CONTAINER_BORDER) {
    box->setFrameStyle(QFrame::Panel | QFrame::Raised);
    box->setLineWidth(2);
  }
  finish_gadget(gadget, GadgetKind::container, box, x, y, w, h);
  g_scopes.push_back(Scope{window, box, gadget});
  g_option_group = nullptr;
  return true;
}

bool ui_list(int gadget, int x, int y, int w, int h, const std::string& first_title,
             int first_width, unsigned flags) {
  QWidget* parent = begin_gadget(gadget);
  if (!parent) return false;
  QWidget* list = ui_make_list(gadget, parent, first_title, first_width, flags);
  return finish_gadget(gadget, GadgetKind::list, list, x, y, w, h);
}

void ui_add_list_column(int gadget, int column, const std::string& title, int width) {
  Gadget* g = ui_find_gadget(gadget);
  if (g && g->kind == GadgetKind::list) ui_list_add_column(g->widget, column, title, width);
}

std::string ui_list_column_title(int gadget, int column) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g || g->kind != GadgetKind::list) return {};
  return ui_list_column_title_of(g->widget, column);
}

bool ui_combo(int gadget, int x, int y, int w, int h) {
  QWidget* parent = begin_gadget(gadget);
  if (!parent) return false;
  auto* combo = new QComboBox(parent);
  combo->setMaxVisibleItems(20);
  QObject::connect(combo, &QComboBox::currentIndexChanged,
                   [gadget, combo] { ui_queue_gadget_event(gadget, combo, UI_TYPE_CHANGE); });
  return finish_gadget(gadget, GadgetKind::combo, combo, x, y, w, h);
}

bool ui_check_box(int gadget, int x, int y, int w, int h, const std::string& text) {
  QWidget* parent = begin_gadget(gadget);
  if (!parent) return false;
  auto* box = new QCheckBox(to_caption(text), parent);
  QObject::connect(box, &QCheckBox::clicked,
                   [gadget, box] { ui_queue_gadget_event(gadget, box, UI_TYPE_CLICK); });
  return finish_gadget(gadget, GadgetKind::check_box, box, x, y, w, h);
}

bool ui_option(int gadget, int x, int y, int w, int h, const std::string& text) {
  QWidget* parent = begin_gadget(gadget);
  if (!parent) return false;
  bool continues = g_option_group && g_option_group_parent == parent &&
                   g_last_created >= 0 && ui_find_gadget(g_last_created) &&
                   ui_find_gadget(g_last_created)->kind == GadgetKind::option;
  if (!continues) {
    g_option_group = new QButtonGroup(parent);
    g_option_group->setExclusive(true);
    g_option_group_parent = parent;
  }
  auto* option = new QRadioButton(to_caption(text), parent);
  option->setAutoExclusive(false);
  g_option_group->addButton(option);
  QObject::connect(option, &QRadioButton::clicked,
                   [gadget, option] { ui_queue_gadget_event(gadget, option, UI_TYPE_CLICK); });
  QButtonGroup* group = g_option_group;
  bool made = finish_gadget(gadget, GadgetKind::option, option, x, y, w, h);
  g_option_group = group;
  return made;
}

bool ui_canvas(int gadget, int x, int y, int w, int h) {
  QWidget* parent = begin_gadget(gadget);
  if (!parent) return false;
  QWidget* canvas = ui_make_canvas(gadget, parent, std::max(w, 1), std::max(h, 1));
  return finish_gadget(gadget, GadgetKind::canvas, canvas, x, y, w, h);
}

bool ui_editor(int gadget, int x, int y, int w, int h, unsigned flags) {
  QWidget* parent = begin_gadget(gadget);
  if (!parent) return false;
  auto* editor = new QTextEdit(parent);
  editor->setAcceptRichText(false);
  editor->setReadOnly((flags & UI_EDITOR_READONLY) != 0);
  editor->setLineWrapMode((flags & UI_EDITOR_WORDWRAP) ? QTextEdit::WidgetWidth
                                                       : QTextEdit::NoWrap);
  editor->setProperty("ui_centred", (flags & UI_EDITOR_CENTER) != 0);
  QObject::connect(editor, &QTextEdit::textChanged,
                   [gadget, editor] { ui_queue_gadget_event(gadget, editor, UI_TYPE_CHANGE); });
  return finish_gadget(gadget, GadgetKind::editor, editor, x, y, w, h);
}

bool ui_image_gadget(int gadget, int x, int y, int w, int h, int image) {
  QImage* picture = ui_find_image(image);
  QPixmap pixmap = picture ? QPixmap::fromImage(ui_image_for_display(*picture)) : QPixmap();
  QWidget* parent = begin_gadget(gadget);
  if (!parent) return false;
  auto* label = new ClickLabel(gadget, parent);
  label->setPixmap(pixmap);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // An image gadget takes the image's size, as the player sees it.
  QSize units = pixmap.deviceIndependentSize().toSize();
  if (w <= 0) w = units.width();
  if (h <= 0) h = units.height();
  return finish_gadget(gadget, GadgetKind::image, label, x, y, w, h);
}

bool ui_hyperlink(int gadget, int x, int y, int w, int h, const std::string& text,
                  int64_t hover_colour) {
  QWidget* parent = begin_gadget(gadget);
  if (!parent) return false;
  auto* link = new ClickLabel(gadget, parent);
  link->setTextFormat(Qt::PlainText);
  link->setText(to_qstring(text));
  link->link = true;
  link->hover = hover_colour;
  link->setCursor(Qt::PointingHandCursor);
  link->show_colour(false);
  return finish_gadget(gadget, GadgetKind::hyperlink, link, x, y, w, h);
}

// ---- text and state -----------------------------------------------------------------
void ui_set_text(int gadget, const std::string& text) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g) return;
  ProgramSetting setting;
  QString t = to_qstring(text);
  QWidget* w = g->widget;
  switch (g->kind) {
    case GadgetKind::button:
    case GadgetKind::check_box:
    case GadgetKind::option:
      static_cast<QAbstractButton*>(w)->setText(to_caption(text));
      break;
    case GadgetKind::label:
    case GadgetKind::hyperlink:
      static_cast<QLabel*>(w)->setText(t);
      break;
    case GadgetKind::frame:
      static_cast<QGroupBox*>(w)->setTitle(to_caption(text));
      break;
    case GadgetKind::text_field:
      static_cast<TextField*>(w)->set_from_program(t);
      break;
    case GadgetKind::spin:
      static_cast<SpinField*>(w)->write(t);
      break;
    case GadgetKind::combo: {
      auto* combo = static_cast<QComboBox*>(w);
      int index = combo->findText(t, Qt::MatchExactly);
      if (index >= 0) combo->setCurrentIndex(index);
      break;
    }
    case GadgetKind::editor:
      set_editor_text(static_cast<QTextEdit*>(w), t, w->property("ui_centred").toBool());
      break;
    case GadgetKind::panel: {
      auto* tabs = static_cast<QTabWidget*>(w);
      if (tabs->currentIndex() >= 0) tabs->setTabText(tabs->currentIndex(), to_caption(text));
      break;
    }
    default:
      break;
  }
}

std::string ui_text(int gadget) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g) return {};
  QWidget* w = g->widget;
  switch (g->kind) {
    case GadgetKind::button:
    case GadgetKind::check_box:
    case GadgetKind::option:
      return shown_caption(static_cast<QAbstractButton*>(w)->text());
    case GadgetKind::label:
    case GadgetKind::hyperlink:
      return to_std(static_cast<QLabel*>(w)->text());
    case GadgetKind::frame:
      return shown_caption(static_cast<QGroupBox*>(w)->title());
    case GadgetKind::text_field:
      return to_std(static_cast<TextField*>(w)->shown_or_waiting());
    case GadgetKind::spin:
      return to_std(spin_line(w)->text());
    case GadgetKind::combo: {
      auto* combo = static_cast<QComboBox*>(w);
      return combo->currentIndex() >= 0 ? to_std(combo->currentText()) : std::string();
    }
    case GadgetKind::editor:
      return to_std(static_cast<QTextEdit*>(w)->toPlainText());
    case GadgetKind::panel: {
      auto* tabs = static_cast<QTabWidget*>(w);
      return tabs->currentIndex() >= 0 ? shown_caption(tabs->tabText(tabs->currentIndex()))
                                       : std::string();
    }
    case GadgetKind::list: {
      int row = ui_list_selected(w);
      return row >= 0 ? ui_list_item_text(w, row, 0) : std::string();
    }
    default:
      return {};
  }
}

void ui_set_state(int gadget, int64_t state) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g) return;
  ProgramSetting setting;
  QWidget* w = g->widget;
  switch (g->kind) {
    case GadgetKind::check_box:
      static_cast<QCheckBox*>(w)->setChecked(state != 0);
      break;
    case GadgetKind::option: {
      auto* option = static_cast<QRadioButton*>(w);
      QButtonGroup* group = option->group();
      if (state == 0 && group) {
        // An exclusive group refuses to have nothing checked.
        group->setExclusive(false);
        option->setChecked(false);
        group->setExclusive(true);
      } else {
        option->setChecked(state != 0);
      }
      break;
    }
    case GadgetKind::spin: {
      auto* spin = static_cast<SpinField*>(w);
      spin->write(QString::number(spin->in_range(state)));
      break;
    }
    case GadgetKind::combo: {
      auto* combo = static_cast<QComboBox*>(w);
      combo->setCurrentIndex(state >= 0 && state < combo->count() ? static_cast<int>(state) : -1);
      break;
    }
    case GadgetKind::panel: {
      auto* tabs = static_cast<QTabWidget*>(w);
      if (state >= 0 && state < tabs->count()) tabs->setCurrentIndex(static_cast<int>(state));
      break;
    }
    case GadgetKind::list:
      ui_list_select(w, static_cast<int>(std::clamp<int64_t>(state, -1, INT32_MAX)), false);
      break;
    default:
      break;
  }
}

int64_t ui_state(int gadget) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g) return 0;
  QWidget* w = g->widget;
  switch (g->kind) {
    case GadgetKind::check_box:
    case GadgetKind::option:
      return static_cast<QAbstractButton*>(w)->isChecked() ? 1 : 0;
    case GadgetKind::spin:
      return static_cast<SpinField*>(w)->number();
    case GadgetKind::combo:
      return static_cast<QComboBox*>(w)->currentIndex();
    case GadgetKind::panel:
      return static_cast<QTabWidget*>(w)->currentIndex();
    case GadgetKind::list:
      return ui_list_selected(w);
    default:
      return 0;
  }
}

// ---- items ------------------------------------------------------------------------------
void ui_add_item(int gadget, int row, const std::string& text) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g) return;
  if (g->kind == GadgetKind::list) {
    ui_list_add_item(g->widget, row, text);
  } else if (g->kind == GadgetKind::combo) {
    ProgramSetting setting;
    auto* combo = static_cast<QComboBox*>(g->widget.data());
    if (row < 0 || row >= combo->count())
      combo->addItem(to_qstring(text));
    else
      combo->insertItem(row, to_qstring(text));
  }
}

void ui_clear_items(int gadget) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g) return;
  if (g->kind == GadgetKind::list) {
    ui_list_clear(g->widget);
  } else if (g->kind == GadgetKind::combo) {
    ProgramSetting setting;
    static_cast<QComboBox*>(g->widget.data())->clear();
  }
}

int ui_count_items(int gadget) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g) return 0;
  if (g->kind == GadgetKind::list) return ui_list_count(g->widget);
  if (g->kind == GadgetKind::combo) return static_cast<QComboBox*>(g->widget.data())->count();
  if (g->kind == GadgetKind::panel) return static_cast<QTabWidget*>(g->widget.data())->count();
  return 0;
}

void ui_set_item_text(int gadget, int row, const std::string& text, int column) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g) return;
  if (g->kind == GadgetKind::list) {
    ui_list_set_item_text(g->widget, row, text, column);
  } else if (g->kind == GadgetKind::combo) {
    ProgramSetting setting;
    auto* combo = static_cast<QComboBox*>(g->widget.data());
    if (row >= 0 && row < combo->count()) combo->setItemText(row, to_qstring(text));
  } else if (g->kind == GadgetKind::panel) {
    auto* tabs = static_cast<QTabWidget*>(g->widget.data());
    if (row >= 0 && row < tabs->count()) tabs->setTabText(row, to_caption(text));
  }
}

std::string ui_item_text(int gadget, int row, int column) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g) return {};
  if (g->kind == GadgetKind::list) return ui_list_item_text(g->widget, row, column);
  if (g->kind == GadgetKind::combo) {
    auto* combo = static_cast<QComboBox*>(g->widget.data());
    return row >= 0 && row < combo->count() ? to_std(combo->itemText(row)) : std::string();
  }
  if (g->kind == GadgetKind::panel) {
    auto* tabs = static_cast<QTabWidget*>(g->widget.data());
    return row >= 0 && row < tabs->count() ? shown_caption(tabs->tabText(row)) : std::string();
  }
  return {};
}

void ui_set_item_colour(int gadget, int row, int64_t front) {
  Gadget* g = ui_find_gadget(gadget);
  if (g && g->kind == GadgetKind::list) ui_list_set_item_colour(g->widget, row, front);
}

int64_t ui_item_colour(int gadget, int row) {
  Gadget* g = ui_find_gadget(gadget);
  if (g && g->kind == GadgetKind::list) return ui_list_item_colour(g->widget, row);
  return UI_DEFAULT_COLOUR;
}

int64_t ui_item_state(int gadget, int row) {
  Gadget* g = ui_find_gadget(gadget);
  if (g && g->kind == GadgetKind::list) return ui_list_item_state(g->widget, row);
  return 0;
}

// ---- look ---------------------------------------------------------------------------------
void ui_set_colour(int gadget, int which, int64_t colour) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g) return;
  if (colour < 0) colour = UI_DEFAULT_COLOUR;
  int64_t& kept = which == UI_FRONT ? g->front : g->back;
  if (which != UI_FRONT && which != UI_BACK) return;
  // A field checked again with the same outcome keeps its palette as it is.
  if (kept == colour) return;
  kept = colour;
  apply_colours(*g);
}

int64_t ui_colour(int gadget, int which) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g) return UI_DEFAULT_COLOUR;
  if (which == UI_FRONT) return g->front;
  if (which == UI_BACK) return g->back;
  return UI_DEFAULT_COLOUR;
}

void ui_set_gadget_font(int gadget, int font) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g) return;
  g->font = ui_font_exists(font) ? font : UI_DEFAULT_FONT;
  g->widget->setFont(ui_font(g->font));
  if (g->kind == GadgetKind::list) ui_list_font_changed(g->widget);
}

void ui_set_tooltip(int gadget, const std::string& text) {
  if (Gadget* g = ui_find_gadget(gadget)) g->widget->setToolTip(to_qstring(text));
}

void ui_disable(int gadget, bool disabled) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g) return;
  g->disabled = disabled;
  g->widget->setEnabled(!disabled);
}

bool ui_disabled(int gadget) {
  Gadget* g = ui_find_gadget(gadget);
  return g && g->disabled;
}

int ui_x(int gadget) {
  Gadget* g = ui_find_gadget(gadget);
  return g ? g->widget->x() : 0;
}
int ui_y(int gadget) {
  Gadget* g = ui_find_gadget(gadget);
  return g ? g->widget->y() : 0;
}
int ui_width(int gadget) {
  Gadget* g = ui_find_gadget(gadget);
  return g ? g->widget->width() : 0;
}
int ui_height(int gadget) {
  Gadget* g = ui_find_gadget(gadget);
  return g ? g->widget->height() : 0;
}

int64_t ui_button_face_colour() {
  if (!QCoreApplication::instance()) return 0xEFEFEF;
  return from_qrgb(QApplication::palette().color(QPalette::Active, QPalette::Button).rgb());
}

int ui_required_width(int gadget) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g) return 0;
  if (g->kind == GadgetKind::label || g->kind == GadgetKind::hyperlink) {
    auto* label = static_cast<QLabel*>(g->widget.data());
    if (label->pixmap().isNull()) {
      QFontMetrics fm(label->font());
      int width = 0;
      for (const QString& line : label->text().split(QLatin1Char('\n')))
        width = std::max(width, fm.horizontalAdvance(line));
      return width + 2 * label->margin() + 2 * label->frameWidth() + 1;
    }
  }
  return g->widget->sizeHint().width();
}

int ui_required_height(int gadget) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g) return 0;
  if (g->kind == GadgetKind::label || g->kind == GadgetKind::hyperlink) {
    auto* label = static_cast<QLabel*>(g->widget.data());
    if (label->pixmap().isNull()) {
      QFontMetrics fm(label->font());
      int lines = static_cast<int>(label->text().count(QLatin1Char('\n'))) + 1;
      return lines * fm.height() + 2 * label->margin() + 2 * label->frameWidth();
    }
  }
  return g->widget->sizeHint().height();
}

void ui_resize(int gadget, int x, int y, int w, int h) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g) return;
  g->widget->setGeometry(x, y, std::max(w, 0), std::max(h, 0));
  if (g->kind == GadgetKind::canvas) ui_canvas_resized(g->widget, w, h);
}

void ui_set_focus(int gadget) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g) return;
  g->widget->setFocus(Qt::OtherFocusReason);
  if (QWidget* top = g->widget->window()) top->setProperty("ui_focus_gadget", gadget);
}

int ui_focused_gadget() {
  QWidget* w = QApplication::focusWidget();
  if (!w) {
    // Without an active window the toolkit reports no focus; the window the
    // program works in still knows its focus gadget.
    for (auto it = g_ui_windows.rbegin(); it != g_ui_windows.rend(); ++it) {
      if (it->second.top && it->second.top->focusWidget()) {
        w = it->second.top->focusWidget();
        break;
      }
    }
  }
  for (; w; w = w->parentWidget()) {
    QVariant number = w->property("ui_gadget");
    if (number.isValid()) {
      int n = number.toInt();
      Gadget* g = ui_find_gadget(n);
      if (g && g->widget == w) return n;
    }
  }
  return -1;
}

int ui_canvas_mouse_x(int gadget) {
  Gadget* g = ui_find_gadget(gadget);
  return g && g->kind == GadgetKind::canvas ? ui_canvas_last_x(g->widget) : 0;
}

int ui_canvas_mouse_y(int gadget) {
  Gadget* g = ui_find_gadget(gadget);
  return g && g->kind == GadgetKind::canvas ? ui_canvas_last_y(g->widget) : 0;
}

// ---- the player's actions on gadgets (test seam) ----------------------------------------
void ui_player_click(int gadget) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g || !ui_player_can_reach(g->widget)) return;
  switch (g->kind) {
    case GadgetKind::button:
    case GadgetKind::image_button:
    case GadgetKind::check_box:
    case GadgetKind::option:
      static_cast<QAbstractButton*>(g->widget.data())->click();
      break;
    case GadgetKind::hyperlink:
    case GadgetKind::image:
      static_cast<ClickLabel*>(g->widget.data())->player_click();
      break;
    case GadgetKind::canvas:
      ui_canvas_player_click(g->widget, 0, 0);
      break;
    default:
      break;
  }
}

void ui_player_type(int gadget, const std::string& text) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g || !ui_player_can_reach(g->widget)) return;
  QString t = to_qstring(text);
  switch (g->kind) {
    case GadgetKind::text_field: {
      auto* field = static_cast<TextField*>(g->widget.data());
      {
        ProgramSetting setting;
        field->take_waiting();
      }
      if (field->isReadOnly()) return;
      // Keys beyond the field's limit are refused one by one, so typing a
      // longer text leaves its first characters.
      const int limit = field->property("ui_max_length").toInt();
      if (limit > 0 && t.size() > limit) t.truncate(limit);
      if (const QValidator* v = field->validator()) {
        int pos = 0;
        QString probe = t;
        if (v->validate(probe, pos) == QValidator::Invalid) return;  // the keys are refused
      }
      if (field->text() == t) return;
      {
        ProgramSetting setting;
        field->setText(t);
      }
      ui_queue_gadget_event(gadget, field, UI_TYPE_CHANGE);  // what textEdited queues
      break;
    }
    case GadgetKind::spin: {
      auto* spin = static_cast<QAbstractSpinBox*>(g->widget.data());
      QLineEdit* line = spin_line(spin);
      int pos = static_cast<int>(t.size());
      QString probe = t;
      if (spin->validate(probe, pos) == QValidator::Invalid) return;  // the keys are refused
      if (line->text() == t) return;
      {
        ProgramSetting setting;
        line->setText(t);
      }
      queue_spin_change(gadget, spin);
      break;
    }
    case GadgetKind::editor: {
      auto* editor = static_cast<QTextEdit*>(g->widget.data());
      if (editor->isReadOnly()) return;
      editor->setPlainText(t);  // textChanged reports it
      break;
    }
    default:
      break;
  }
}

void ui_player_spin_arrow(int gadget, bool up) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g || g->kind != GadgetKind::spin || !ui_player_can_reach(g->widget)) return;
  auto* spin = static_cast<QAbstractSpinBox*>(g->widget.data());
  // A press and a release on the middle of the arrow, as the mouse gives them:
  // the spin box itself decides whether the arrow is live and steps.
  QStyleOptionSpinBox option;
  option.initFrom(spin);
  option.rect = spin->rect();
  option.subControls = QStyle::SC_All;
  option.buttonSymbols = spin->buttonSymbols();
  option.frame = spin->hasFrame();
  QRect arrow = spin->style()->subControlRect(
      QStyle::CC_SpinBox, &option, up ? QStyle::SC_SpinBoxUp : QStyle::SC_SpinBoxDown, spin);
  QPointF at = arrow.center();
  QPointF global = spin->mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(spin, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(spin, &release);
}

void ui_player_choose(int gadget, int index) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g || !ui_player_can_reach(g->widget)) return;
  if (g->kind == GadgetKind::combo) {
    auto* combo = static_cast<QComboBox*>(g->widget.data());
    if (index >= 0 && index < combo->count()) combo->setCurrentIndex(index);
  } else if (g->kind == GadgetKind::list) {
    ui_list_select(g->widget, index, true);
  }
}

void ui_player_select_tab(int panel, int tab) {
  QTabWidget* tabs = panel_of(panel);
  if (!tabs || !ui_player_can_reach(tabs)) return;
  if (tab >= 0 && tab < tabs->count() && tabs->isTabEnabled(tab)) tabs->setCurrentIndex(tab);
}

void ui_player_canvas_click(int gadget, int x, int y) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g || g->kind != GadgetKind::canvas || !ui_player_can_reach(g->widget)) return;
  ui_canvas_player_click(g->widget, x, y);
}

void ui_player_toggle_item(int gadget, int row) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g || g->kind != GadgetKind::list || !ui_player_can_reach(g->widget)) return;
  ui_list_toggle_item(g->widget, row);
}
