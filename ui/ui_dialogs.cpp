// Message boxes, file dialogs, the clipboard, handing addresses to the
// system, and the test seam.
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>

#include "ui/ui_internal.h"

extern char** environ;

void ui_scope_reset();
void ui_free_all_gadgets();
void ui_free_all_windows_and_menus();
void ui_trigger_menu_item(int window, int item);
void ui_press_key(int window, int key);
void ui_player_click(int gadget);
void ui_player_type(int gadget, const std::string& text);
void ui_player_spin_arrow(int gadget, bool up);
void ui_player_choose(int gadget, int index);
void ui_player_select_tab(int panel, int tab);
void ui_player_canvas_click(int gadget, int x, int y);
void ui_player_toggle_item(int gadget, int row);
extern std::vector<int> g_ui_failing_window_opens;
extern int64_t g_ui_test_clock;

namespace {

std::deque<int> g_message_answers;
std::vector<UiMessageRecord> g_messages;
std::deque<std::string> g_file_answers;
std::vector<UiFileDialogRecord> g_file_dialogs;
std::string g_test_clipboard;
std::vector<std::string> g_opened_addresses;
bool g_refuse_addresses = false;
bool g_use_system_opener = false;
std::function<void()> g_idle_hook;
bool g_in_idle_hook = false;

// The window a dialog belongs to: the active one, else the newest enabled one.
QWidget* dialog_parent() {
  if (QWidget* active = QApplication::activeWindow()) return active;
  for (auto it = g_ui_windows.rbegin(); it != g_ui_windows.rend(); ++it)
    if (it->second.top && !it->second.disabled) return it->second.top;
  return nullptr;
}

// "Draws (*.draws.txt)|*.draws.txt|All|*.*" -> Qt's "label (patterns);;...".
// Qt reads the patterns from the last parentheses of each entry; a ";"
// between patterns becomes a blank.
QStringList qt_filters(const std::string& filter) {
  QStringList parts = to_qstring(filter).split(QLatin1Char('|'));
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    out << parts[i] + QStringLiteral(" (") + patterns.simplified() + QLatin1Char(')');
  }
  return out;
}

// The file list of a file dialog as the toolkit's model gives it, but with
// sizes and dates written in the toolkit's locale (QLocale's default, which
// ui_set_toolkit_language sets): the model itself writes them in the
// system's, whatever language the program speaks.
class LocaleFileList : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant data(const QModelIndex& index, int role) const override {
    auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || !files || (index.column() != 1 && index.column() != 3))
      return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    if (index.column() == 1)
      return files->isDir(source) ? QString() : QLocale().formattedDataSize(files->size(source));
    return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
  }
};

// Room for the dialog's own texts in the program's language, whose words may
// be longer than the English ones the dialog is laid out for: every column
// title of the file list whole, and every place of the side panel.
void make_room_for_texts(QFileDialog& dialog) {
  if (auto* tree = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
    QHeaderView* header = tree->header();
    for (int column = 0; column < header->count(); ++column)
      if (header->sectionSize(column) < header->sectionSizeHint(column))
        header->resizeSection(column, header->sectionSizeHint(column));
  }
  auto* places = dialog.findChild<QListView*>(QStringLiteral("sidebar"));
  auto* splitter = dialog.findChild<QSplitter*>(QStringLiteral("splitter"));
  if (!places || !splitter || !places->model() || splitter->count() < 2) return;
  int widest = 0;
  for (int row = 0; row < places->model()->rowCount(); ++row)
    widest = std::max(widest, places->sizeHintForIndex(places->model()->index(row, 0)).width());
  const int needed = widest + 2 * places->frameWidth() +
                     places->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, places);
  QList<int> sizes = splitter->sizes();
  if (sizes.size() < 2 || sizes[0] >= needed) return;
  sizes[1] = std::max(0, sizes[1] - (needed - sizes[0]));
  sizes[0] = needed;
  splitter->setSizes(sizes);
}

// The file dialog the program asked for, not shown yet.
std::unique_ptr<QFileDialog> make_file_dialog(QWidget* parent, bool save, const std::string& title,
                                              const std::string& default_path,
                                              const std::string& filter, int filter_index) {
  auto made = std::make_unique<QFileDialog>(parent, to_qstring(title));
  QFileDialog& dialog = *made;
  // First, while the dialog shows no folder yet; the views take the new
  // model with their columns as the dialog had set them.
  if (auto* tree = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
    const QByteArray columns = tree->header()->saveState();
    dialog.setProxyModel(new LocaleFileList(&dialog));
    tree->header()->restoreState(columns);
  }
  make_room_for_texts(dialog);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // The program asks about overwriting and reports a missing file itself.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  // The labels carry their patterns already ("Draws (*.draws.txt)").
  dialog.setOption(QFileDialog::HideNameFilterDetails, true);
  QStringList filters = qt_filters(filter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    if (filter_index >= 0 && filter_index < filters.size())
      dialog.selectNameFilter(filters[filter_index]);
  }
  if (!default_path.empty()) {
    QFileInfo info(to_qstring(default_path));
    if (info.isDir()) {
      dialog.setDirectory(info.absoluteFilePath());
    } else {
      if (!info.path().isEmpty()) dialog.setDirectory(info.absolutePath());
      dialog.selectFile(info.fileName());
    }
  }
  return made;
}

// The message box the program asked for, not shown yet.
std::unique_ptr<QMessageBox> make_message_box(QWidget* parent, const std::string& title,
                                              const std::string& text, unsigned flags) {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  if (flags & UI_ICON_ERROR)
    icon = QMessageBox::Critical;
  else if (flags & UI_ICON_WARNING)
    icon = QMessageBox::Warning;
  else if (flags & UI_ICON_INFO)
    icon = QMessageBox::Information;
  auto box = std::make_unique<QMessageBox>(
      icon, to_qstring(title), to_qstring(text),
      (flags & UI_MESSAGE_YES_NO) ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, parent);
  box->setTextFormat(Qt::PlainText);
  return box;
}

// What a text takes across in a font, in units: its widest line's advance,
// rounded up.
int text_width(const QFont& font, const QString& text) {
  const QFontMetricsF metrics(font);
  qreal widest = 0;
  for (const QString& line : text.split(QLatin1Char('\n')))
    widest = std::max(widest, metrics.horizontalAdvance(line));
  return static_cast<int>(std::ceil(widest));
}

// The room a widget gives its own text (a label's, a button's, a check box's
// or an option's, a frame's caption) against what the text takes in the
// widget's font, in units; nothing for a widget without a text. For a label
// that wraps, both are heights.
std::optional<UiTestTextRoom> text_room_of(const QWidget* widget) {
  if (auto* label = qobject_cast<const QLabel*>(widget)) {
    if (!label->pixmap().isNull() || label->text().isEmpty()) return std::nullopt;
    // A "&" before a letter marks a key and takes no room, but in plain text.
    const QString shown =
        label->textFormat() == Qt::PlainText ? label->text() : to_qstring(shown_caption(label->text()));
    if (label->wordWrap())
      return UiTestTextRoom{to_std(shown), label->heightForWidth(label->width()), label->height()};
    return UiTestTextRoom{to_std(shown), text_width(label->font(), shown),
                          label->contentsRect().width() - 2 * label->margin()};
  }
  if (auto* button = qobject_cast<const QAbstractButton*>(widget)) {
    if (button->text().isEmpty()) return std::nullopt;
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(button)) contents = QStyle::SE_CheckBoxContents;
    if (qobject_cast<const QRadioButton*>(button)) contents = QStyle::SE_RadioButtonContents;
    const QRect room = button->style()->subElementRect(contents, &option, button);
    const QString shown = to_qstring(shown_caption(button->text()));
    return UiTestTextRoom{to_std(shown), text_width(button->font(), shown), room.width()};
  }
  if (auto* frame = qobject_cast<const QGroupBox*>(widget)) {
    if (frame->title().isEmpty()) return std::nullopt;
    QStyleOptionGroupBox option;
    option.initFrom(frame);
    option.text = frame->title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    option.textAlignment = frame->alignment();
    option.lineWidth = 1;
    const QRect label =
        frame->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
    // The caption runs from where the frame puts it to the frame's right edge.
    const QString shown = to_qstring(shown_caption(frame->title()));
    return UiTestTextRoom{to_std(shown), text_width(frame->font(), shown),
                          frame->width() - std::max(0, label.left())};
  }
  return std::nullopt;
}

bool cut_short(const std::optional<UiTestTextRoom>& room) { return room && room->needed > room->room; }

// What a dialog shows of its own once it is shown: the texts of its labels,
// push buttons, column titles and tool tips, in the order it holds them, the
// rows of its file list, and which of its texts it cuts short.
UiToolkitTexts toolkit_texts(QWidget* dialog) {
  UiToolkitTexts texts;
  for (QWidget* widget : dialog->findChildren<QWidget*>()) {
    if (!widget->isVisibleTo(dialog)) continue;
    if (!widget->toolTip().isEmpty()) texts.tooltips.push_back(to_std(widget->toolTip()));
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      if (label->text().isEmpty()) continue;
      texts.labels.push_back(shown_caption(label->text()));
      if (cut_short(text_room_of(label))) texts.cut_short.push_back(texts.labels.back());
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
      texts.buttons.push_back(shown_caption(button->text()));
      if (cut_short(text_room_of(button))) texts.cut_short.push_back(texts.buttons.back());
    } else if (auto* header = qobject_cast<QHeaderView*>(widget)) {
      for (int column = 0; column < header->count(); ++column) {
        if (header->isSectionHidden(column)) continue;
        texts.column_titles.push_back(
            to_std(header->model()->headerData(column, header->orientation()).toString()));
        if (header->sectionSize(column) < header->sectionSizeHint(column))
          texts.cut_short.push_back(texts.column_titles.back());
      }
    } else if (auto* list = qobject_cast<QListView*>(widget);
               list && list->objectName() == QLatin1String("sidebar") && list->model()) {
      // The places of the side panel, each as wide as the panel's inside.
      for (int row = 0; row < list->model()->rowCount(); ++row) {
        const QModelIndex place = list->model()->index(row, 0);
        if (list->sizeHintForIndex(place).width() > list->viewport()->width())
          texts.cut_short.push_back(to_std(place.data().toString()));
      }
    }
  }
  if (auto* tree = dialog->findChild<QTreeView*>(QStringLiteral("treeView"))) {
    const QModelIndex folder = tree->rootIndex();
    const QAbstractItemModel* model = tree->model();
    for (int row = 0; model && row < model->rowCount(folder); ++row) {
      std::vector<std::string> cells;
      for (int column = 0; column < model->columnCount(folder); ++column)
        cells.push_back(to_std(model->index(row, column, folder).data().toString()));
      texts.file_rows.push_back(cells);
    }
  }
  return texts;
}

// Shows a toolkit window built for a test where no screen shows it, lets it
// lay itself out (a file dialog also reads its folder, for at most 5 s), and
// reads what it shows.
UiToolkitTexts shown_toolkit_texts(QWidget* dialog) {
  dialog->setAttribute(Qt::WA_DontShowOnScreen);
  QEventLoop loop;
  QTimer limit;
  limit.setSingleShot(true);
  QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
  auto* files = dialog->findChild<QFileSystemModel*>();
  if (files) QObject::connect(files, &QFileSystemModel::directoryLoaded, &loop, &QEventLoop::quit);
  dialog->show();
  if (files) {
    limit.start(5000);
    loop.exec();
  }
  QCoreApplication::processEvents();
  UiToolkitTexts texts = toolkit_texts(dialog);
  dialog->hide();
  return texts;
}

bool g_build_toolkit_windows = false;

// The toolkit keeps a file dialog's state (folder, view) among its user
// settings; a dialog that a test builds keeps it in the test's folder.
void keep_toolkit_settings_here() {
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QDir::currentPath());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QDir::currentPath());
}

std::string run_file_dialog(bool save, const std::string& title, const std::string& default_path,
                            const std::string& filter, int filter_index) {
  if (g_ui_test_mode) {
    std::string answer;
    if (!g_file_answers.empty()) {
      answer = g_file_answers.front();
      g_file_answers.pop_front();
    }
    UiToolkitTexts shown;
    if (g_build_toolkit_windows) {
      keep_toolkit_settings_here();
      shown = shown_toolkit_texts(
          make_file_dialog(nullptr, save, title, default_path, filter, filter_index).get());
    }
    g_file_dialogs.push_back(UiFileDialogRecord{save, title, default_path, filter, filter_index,
                                                answer, shown});
    return answer;
  }
  ui_flush_lists();
  std::unique_ptr<QFileDialog> dialog =
      make_file_dialog(dialog_parent(), save, title, default_path, filter, filter_index);
  if (dialog->exec() != QDialog::Accepted) return {};
  QStringList chosen = dialog->selectedFiles();
  return chosen.isEmpty() ? std::string() : to_std(QDir::toNativeSeparators(chosen.first()));
}

}  // namespace

// ---- message boxes and dialogs ---------------------------------------------------------
int ui_message(const std::string& title, const std::string& text, unsigned flags) {
  const bool yes_no = (flags & UI_MESSAGE_YES_NO) != 0;
  if (g_ui_test_mode) {
    // Every box takes the next scripted answer; an OK box can only say OK,
    // and a Yes/No box told OK says No.
    int answer = yes_no ? UI_ANSWER_NO : UI_ANSWER_OK;
    if (!g_message_answers.empty()) {
      int scripted = g_message_answers.front();
      g_message_answers.pop_front();
      if (yes_no) answer = scripted == UI_ANSWER_YES ? UI_ANSWER_YES : UI_ANSWER_NO;
    }
    UiToolkitTexts shown;
    if (g_build_toolkit_windows) {
      shown = shown_toolkit_texts(make_message_box(nullptr, title, text, flags).get());
    }
    g_messages.push_back(UiMessageRecord{title, text, flags, answer, shown});
    return answer;
  }
  ui_flush_lists();
  int result = make_message_box(dialog_parent(), title, text, flags)->exec();
  if (!yes_no) return UI_ANSWER_OK;
  return result == QMessageBox::Yes ? UI_ANSWER_YES : UI_ANSWER_NO;
}

std::string ui_open_file_dialog(const std::string& title, const std::string& default_path,
                                const std::string& filter, int filter_index) {
  return run_file_dialog(false, title, default_path, filter, filter_index);
}

std::string ui_save_file_dialog(const std::string& title, const std::string& default_path,
                                const std::string& filter, int filter_index) {
  return run_file_dialog(true, title, default_path, filter, filter_index);
}

std::string ui_clipboard_text() {
  if (g_ui_test_mode) return g_test_clipboard;
  if (!QCoreApplication::instance()) return {};
  QClipboard* clipboard = QGuiApplication::clipboard();
  return clipboard ? to_std(clipboard->text()) : std::string();
}

namespace {

// The desktop's opener (xdg-open) gives its verdict in its exit status: 0
// when a program took the address, an error when none could (3 when no
// browser or mail program is set up). It says so at once when the desktop's
// own opener takes the address over; one still running after this long has
// started a program that stays in the foreground (the browser of a bare
// window manager) and counts as having opened the address.
constexpr int64_t kOpenerVerdictMs = 3000;

// Openers left running when the wait ended, reaped once they are done.
std::vector<pid_t> g_running_openers;

int64_t clock_ms() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void reap_finished_openers() {
  std::erase_if(g_running_openers, [](pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, WNOHANG) != 0;
  });
}

// Starts xdg-open on the address, with no shell in between, and waits for
// its verdict while the windows keep painting and the player's actions
// raise nothing. Empty when there is no xdg-open to start.
std::optional<bool> hand_to_desktop_opener(const std::string& address) {
  reap_finished_openers();
  char program[] = "xdg-open";
  std::string argument = address;
  char* argv[] = {program, argument.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0) return std::nullopt;
  bool opened = true;
  const int64_t deadline = clock_ms() + kOpenerVerdictMs;
  g_ui_taking_no_player_events = true;
  for (;;) {
    int status = 0;
    pid_t ended = waitpid(pid, &status, WNOHANG);
    if (ended == pid) {
      opened = WIFEXITED(status) && WEXITSTATUS(status) == 0;
      break;
    }
    if (ended < 0) break;  // reaped by someone else: no verdict to read
    if (clock_ms() >= deadline) {
      g_running_openers.push_back(pid);
      break;
    }
    ui_paint_only(10);
    if (g_ui_test_mode) ui_call_idle_hook();
  }
  g_ui_taking_no_player_events = false;
  return opened;
}

}  // namespace

bool ui_open_address(const std::string& address) {
  if (g_ui_test_mode) {
    g_opened_addresses.push_back(address);
    if (!g_use_system_opener) return !g_refuse_addresses;
  }
  if (!QCoreApplication::instance() || address.empty()) return false;
  // The address is already encoded: read it strictly, never "repaired".
  QUrl url = QUrl::fromEncoded(QByteArray(address.data(), static_cast<qsizetype>(address.size())),
                               QUrl::StrictMode);
  if (!url.isValid() || url.scheme().isEmpty()) return false;
  if (std::optional<bool> opened = hand_to_desktop_opener(address)) return *opened;
  // Without xdg-open the toolkit finds another way, and tells only whether
  // it started one.
  return QDesktopServices::openUrl(url);
}

// ---- test seam ------------------------------------------------------------------------------
void ui_test_reset() {
  ui_stop_drawing();
  ui_free_all_gadgets();
  ui_free_all_windows_and_menus();
  ui_free_all_images();
  ui_scope_reset();
  g_ui_default_font = UI_DEFAULT_FONT;
  g_ui_program_setting = 0;
  g_ui_failing_window_opens.clear();
  g_ui_test_clock = -1;
  ui_reset_dialog_state();
  ui_test_set_toolkit_catalogue_folder("");
  ui_set_toolkit_language(1);
  g_ui_test_mode = true;
}

void ui_reset_dialog_state() {
  g_message_answers.clear();
  g_messages.clear();
  g_file_answers.clear();
  g_file_dialogs.clear();
  g_test_clipboard.clear();
  g_opened_addresses.clear();
  g_refuse_addresses = false;
  g_use_system_opener = false;
  g_idle_hook = nullptr;
  g_build_toolkit_windows = false;
}

void ui_test_push_message_answer(int answer) { g_message_answers.push_back(answer); }
const std::vector<UiMessageRecord>& ui_test_messages() { return g_messages; }
void ui_test_clear_messages() { g_messages.clear(); }

void ui_test_build_toolkit_windows(bool on) { g_build_toolkit_windows = on; }

namespace {

// Reads the entries of every menu that pops up while it lives, and closes
// each unchosen as soon as it shows.
class MenuReader : public QObject {
 public:
  std::vector<std::string> entries;

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    auto* menu = qobject_cast<QMenu*>(object);
    if (menu && event->type() == QEvent::Show) {
      // What follows a tab is the entry's shortcut.
      for (QAction* action : menu->actions())
        if (!action->isSeparator())
          entries.push_back(shown_caption(action->text().section(QLatin1Char('\t'), 0, 0)));
      QMetaObject::invokeMethod(menu, &QMenu::close, Qt::QueuedConnection);
    }
    return false;
  }
};

}  // namespace

std::vector<std::string> ui_test_context_menu(int gadget) {
  std::vector<std::string> entries;
  Gadget* g = ui_find_gadget(gadget);
  if (!g || !g->widget) return entries;
  QWidget* widget = g->widget;
  // A spin makes its menu from its text's, with entries of its own, only as
  // it opens it: the menu is opened as by the menu key and read.
  if (auto* spin = qobject_cast<QAbstractSpinBox*>(widget)) {
    MenuReader reader;
    QCoreApplication::instance()->installEventFilter(&reader);
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(1, 1), spin->mapToGlobal(QPoint(1, 1)));
    QCoreApplication::sendEvent(spin, &event);
    QCoreApplication::instance()->removeEventFilter(&reader);
    return reader.entries;
  }
  // A combo's text is a field of its own inside it.
  auto* field = qobject_cast<QLineEdit*>(widget);
  if (!field) field = widget->findChild<QLineEdit*>();
  std::unique_ptr<QMenu> menu;
  if (auto* editor = qobject_cast<QTextEdit*>(widget))
    menu.reset(editor->createStandardContextMenu());
  else if (field)
    menu.reset(field->createStandardContextMenu());
  if (!menu) return entries;
  // What follows a tab is the entry's shortcut.
  for (QAction* action : menu->actions())
    if (!action->isSeparator())
      entries.push_back(shown_caption(action->text().section(QLatin1Char('\t'), 0, 0)));
  return entries;
}

std::vector<int> ui_test_windows() {
  std::vector<int> windows;
  for (const auto& [number, w] : g_ui_windows)
    if (w.top) windows.push_back(number);
  return windows;
}

std::vector<int> ui_test_window_gadgets(int window) {
  std::vector<int> gadgets;
  for (const auto& [number, g] : g_ui_gadgets)
    if (g.window == window && g.widget) gadgets.push_back(number);
  std::sort(gadgets.begin(), gadgets.end());
  return gadgets;
}

std::vector<UiTestTextRoom> ui_test_text_rooms(int gadget) {
  std::vector<UiTestTextRoom> rooms;
  Gadget* g = ui_find_gadget(gadget);
  if (!g) return rooms;
  switch (g->kind) {
    case GadgetKind::label:
    case GadgetKind::hyperlink:
    case GadgetKind::button:
    case GadgetKind::check_box:
    case GadgetKind::option:
    case GadgetKind::frame:
      if (std::optional<UiTestTextRoom> room = text_room_of(g->widget)) rooms.push_back(*room);
      break;
    case GadgetKind::list: {
      QHeaderView* header = static_cast<QTableView*>(g->widget.data())->horizontalHeader();
      for (int column = 0; column < header->count(); ++column)
        rooms.push_back({to_std(header->model()->headerData(column, Qt::Horizontal).toString()),
                         header->sectionSizeHint(column), header->sectionSize(column)});
      break;
    }
    default:
      break;
  }
  return rooms;
}

std::string ui_test_file_type_text(const std::string& path) {
  return to_std(QFileIconProvider().type(QFileInfo(to_qstring(path))));
}

void ui_test_push_file_answer(const std::string& path) { g_file_answers.push_back(path); }
const std::vector<UiFileDialogRecord>& ui_test_file_dialogs() { return g_file_dialogs; }

void ui_test_set_clipboard(const std::string& text) { g_test_clipboard = text; }
const std::vector<std::string>& ui_test_opened_addresses() { return g_opened_addresses; }
void ui_test_refuse_addresses(bool refuse) { g_refuse_addresses = refuse; }
void ui_test_use_system_opener(bool on) { g_use_system_opener = on; }

void ui_test_set_idle_hook(std::function<void()> hook) { g_idle_hook = std::move(hook); }

bool ui_has_idle_hook() { return static_cast<bool>(g_idle_hook); }

void ui_call_idle_hook() {
  // A hook that runs program code which polls again does not re-enter itself.
  if (!g_idle_hook || g_in_idle_hook) return;
  g_in_idle_hook = true;
  std::function<void()> hook = g_idle_hook;  // the hook may replace itself
  hook();
  g_in_idle_hook = false;
}

void ui_test_click(int gadget) { ui_player_click(gadget); }
void ui_test_type(int gadget, const std::string& text) { ui_player_type(gadget, text); }
void ui_test_spin_arrow(int gadget, bool up) { ui_player_spin_arrow(gadget, up); }
void ui_test_choose(int gadget, int index) { ui_player_choose(gadget, index); }
void ui_test_select_tab(int panel, int tab) { ui_player_select_tab(panel, tab); }
void ui_test_canvas_click(int gadget, int x, int y) { ui_player_canvas_click(gadget, x, y); }
void ui_test_toggle_item(int gadget, int row) { ui_player_toggle_item(gadget, row); }
void ui_test_menu(int window, int item) { ui_trigger_menu_item(window, item); }
void ui_test_key(int window, int key) { ui_press_key(window, key); }

void ui_test_close_window(int window) {
  Window* w = ui_find_window(window);
  if (w && !w->disabled) ui_queue_event(UI_EVENT_CLOSE, window, window, 0);
}

void ui_test_fail_next_window_open(int window) { g_ui_failing_window_opens.push_back(window); }
void ui_test_hold_clock(int64_t milliseconds) { g_ui_test_clock = milliseconds < 0 ? -1 : milliseconds; }

namespace {

// Drops every request to paint a window on screen. A grab paints the widgets
// itself, so pictures and pixels asked for by a test are still drawn.
class ScreenPaintingFilter : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    const QEvent::Type type = event->type();
    return type == QEvent::Expose || type == QEvent::UpdateRequest || type == QEvent::UpdateLater;
  }
};

}  // namespace

void ui_test_skip_screen_painting() {
  static ScreenPaintingFilter* filter = nullptr;
  if (filter != nullptr || QCoreApplication::instance() == nullptr) return;
  filter = new ScreenPaintingFilter;
  QCoreApplication::instance()->installEventFilter(filter);
}

int ui_test_queue_length() { return static_cast<int>(g_ui_queue.size()); }

int64_t ui_test_gadget_pixel(int gadget, int x, int y) {
  Gadget* g = ui_find_gadget(gadget);
  if (!g || x < 0 || y < 0 || x >= g->widget->width() || y >= g->widget->height()) return -1;
  ui_flush_lists();
  QWidget* top = g->widget->window();
  // The window painted into that one pixel: a widget's own grab paints its
  // palette background even where the widget never fills it, so the grab is
  // of the window, limited to the pixel asked for.
  QPoint at = g->widget->mapTo(top, QPoint(x, y));
  QImage picture = top->grab(QRect(at, QSize(1, 1))).toImage();
  if (picture.isNull()) return -1;
  return from_qrgb(picture.pixel(0, 0));
}

UiTestPicture ui_test_gadget_picture(int gadget) {
  UiTestPicture picture;
  Gadget* g = ui_find_gadget(gadget);
  if (!g) return picture;
  ui_flush_lists();
  QWidget* top = g->widget->window();
  QRect area(g->widget->mapTo(top, QPoint(0, 0)), g->widget->size());
  QImage image = top->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
  picture.width = image.width();
  picture.height = image.height();
  picture.pixels.reserve(static_cast<size_t>(picture.width) * picture.height);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) picture.pixels.push_back(from_qrgb(image.pixel(x, y)));
  return picture;
}

bool ui_test_save_png(int window, const std::string& path) {
  Window* w = ui_find_window(window);
  if (!w) return false;
  ui_flush_lists();
  QCoreApplication::processEvents();
  return w->top->grab().save(to_qstring(path), "PNG");
}
