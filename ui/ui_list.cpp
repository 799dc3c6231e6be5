// The list gadget: a table view over rows kept as one UTF-8 text each
// (cells separated by '\n'), so that 100,000 rows of 26 cells stay small and
// appending one is cheap. Rows appended between two pumps wait in the model
// and reach the view in one insertion when the toolkit is next pumped.
#include <unordered_set>

#include "ui/ui_internal.h"

namespace {

struct ListRow {
  std::string text;
  int64_t colour = UI_DEFAULT_COLOUR;
  bool checked = false;
};

class ListModel;
std::unordered_set<ListModel*> g_lists_with_pending_rows;

std::string_view cell_of(const std::string& text, int column) {
  size_t start = 0;
  for (int i = 0; i < column; ++i) {
    size_t p = text.find('\n', start);
    if (p == std::string::npos) return {};
    start = p + 1;
  }
  size_t end = text.find('\n', start);
  if (end == std::string::npos) end = text.size();
  return std::string_view(text).substr(start, end - start);
}

class ListModel : public QAbstractTableModel {
 public:
  ListModel(int gadget, QObject* parent, bool checkboxes)
      : QAbstractTableModel(parent), gadget_(gadget), checkboxes_(checkboxes) {}
  ~ListModel() override { g_lists_with_pending_rows.erase(this); }

  std::vector<ListRow> rows;
  int shown = 0;  // rows the view knows of; the rest wait for the next pump
  std::vector<QString> titles;
  QWidget* view = nullptr;

  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : shown; }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(titles.size());
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || index.row() >= shown) return {};
    const ListRow& row = rows[static_cast<size_t>(index.row())];
    switch (role) {
      case Qt::DisplayRole: {
        std::string_view cell = cell_of(row.text, index.column());
        return QString::fromUtf8(cell.data(), static_cast<qsizetype>(cell.size()));
      }
      case Qt::ForegroundRole:
        if (row.colour != UI_DEFAULT_COLOUR) return QBrush(to_qcolor(row.colour));
        return {};
      case Qt::CheckStateRole:
        if (checkboxes_ && index.column() == 0) return row.checked ? Qt::Checked : Qt::Unchecked;
        return {};
      default:
        return {};
    }
  }

  bool setData(const QModelIndex& index, const QVariant& value, int role) override {
    if (role != Qt::CheckStateRole || !checkboxes_ || !index.isValid() || index.column() != 0 ||
        index.row() >= shown)
      return false;
    ListRow& row = rows[static_cast<size_t>(index.row())];
    bool checked = value.toInt() == Qt::Checked;
    if (row.checked == checked) return true;
    row.checked = checked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    // Only the view writes check states: it is the player's click.
    ui_queue_gadget_event(gadget_, view, UI_TYPE_CHANGE);
    return true;
  }

  Qt::ItemFlags flags(const QModelIndex& index) const override {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (checkboxes_ && index.column() == 0) f |= Qt::ItemIsUserCheckable;
    return f;
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < static_cast<int>(titles.size()))
      return titles[static_cast<size_t>(section)];
    return {};
  }

  void append(const std::string& text) {
    rows.push_back(ListRow{text, UI_DEFAULT_COLOUR, false});
    g_lists_with_pending_rows.insert(this);
  }

  // Hands the waiting rows to the view in one insertion, then shows the last.
  void flush();

  void row_changed(int row) {
    if (row < shown) emit dataChanged(index(row, 0), index(row, columnCount({}) - 1));
  }

  void clear_rows() {
    beginResetModel();
    rows.clear();
    shown = 0;
    endResetModel();
    g_lists_with_pending_rows.erase(this);
  }

  void insert_row(int at, const std::string& text) {
    flush();
    ProgramSetting setting;
    beginInsertRows(QModelIndex(), at, at);
    rows.insert(rows.begin() + at, ListRow{text, UI_DEFAULT_COLOUR, false});
    ++shown;
    endInsertRows();
  }

  void insert_column(int at, const QString& title) {
    ProgramSetting setting;
    beginInsertColumns(QModelIndex(), at, at);
    titles.insert(titles.begin() + at, title);
    endInsertColumns();
  }

 private:
  int gadget_;
  bool checkboxes_;
};

class ListView : public QTableView {
 public:
  ListView(int gadget, QWidget* parent, bool checkboxes) : QTableView(parent) {
    model = new ListModel(gadget, this, checkboxes);
    model->view = this;
    setModel(model);
  }
  ListModel* model;
};

void ListModel::flush() {
  g_lists_with_pending_rows.erase(this);
  int total = static_cast<int>(rows.size());
  if (total <= shown) return;
  ProgramSetting setting;
  beginInsertRows(QModelIndex(), shown, total - 1);
  shown = total;
  endInsertRows();
  if (view) static_cast<QTableView*>(view)->scrollToBottom();
}

ListModel* model_of(QWidget* list) { return static_cast<ListView*>(list)->model; }

void apply_row_height(ListView* view) {
  QHeaderView* rows = view->verticalHeader();
  int height = view->fontMetrics().height() + 4;
  rows->setMinimumSectionSize(1);
  rows->setDefaultSectionSize(height);
}

}  // namespace

QWidget* ui_make_list(int gadget, QWidget* parent, const std::string& first_title,
                      int first_width, unsigned flags) {
  auto* view = new ListView(gadget, parent, (flags & UI_LIST_CHECKBOXES) != 0);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setShowGrid(false);
  view->setWordWrap(false);
  view->setCornerButtonEnabled(false);
  view->setTabKeyNavigation(false);
  view->verticalHeader()->hide();
  // Uniform, fixed rows keep a view of 100,000 rows cheap to lay out.
  view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  apply_row_height(view);
  QHeaderView* header = view->horizontalHeader();
  header->setMinimumSectionSize(8);
  header->setHighlightSections(false);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setStretchLastSection(false);
  header->setSectionsClickable(false);
  if (flags & UI_LIST_ALWAYS_SHOW_SELECTION) {
    QPalette p = view->palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Active, QPalette::HighlightedText));
    view->setPalette(p);
  }
  view->model->insert_column(0, to_qstring(first_title));
  view->setColumnWidth(0, first_width);
  QObject::connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged,
                   [gadget, view] { ui_queue_gadget_event(gadget, view, UI_TYPE_CHANGE); });
  return view;
}

void ui_flush_lists() {
  while (!g_lists_with_pending_rows.empty()) (*g_lists_with_pending_rows.begin())->flush();
}

void ui_list_add_item(QWidget* list, int row, const std::string& text) {
  ListModel* m = model_of(list);
  if (row < 0 || row >= static_cast<int>(m->rows.size()))
    m->append(text);
  else
    m->insert_row(row, text);
}

void ui_list_clear(QWidget* list) {
  ProgramSetting setting;
  model_of(list)->clear_rows();
}

int ui_list_count(QWidget* list) { return static_cast<int>(model_of(list)->rows.size()); }

void ui_list_set_item_text(QWidget* list, int row, const std::string& text, int column) {
  ListModel* m = model_of(list);
  if (row < 0 || row >= static_cast<int>(m->rows.size()) || column < 0) return;
  std::string& whole = m->rows[static_cast<size_t>(row)].text;
  // Find the cell in place; a row with fewer cells grows empty ones.
  size_t start = 0;
  for (int i = 0; i < column; ++i) {
    size_t p = whole.find('\n', start);
    if (p == std::string::npos) {
      whole.append(static_cast<size_t>(column - i), '\n');
      start = whole.size();
      break;
    }
    start = p + 1;
  }
  size_t end = whole.find('\n', start);
  if (end == std::string::npos) end = whole.size();
  whole.replace(start, end - start, text);
  m->row_changed(row);
}

std::string ui_list_item_text(QWidget* list, int row, int column) {
  ListModel* m = model_of(list);
  if (row < 0 || row >= static_cast<int>(m->rows.size()) || column < 0) return {};
  return std::string(cell_of(m->rows[static_cast<size_t>(row)].text, column));
}

void ui_list_set_item_colour(QWidget* list, int row, int64_t colour) {
  ListModel* m = model_of(list);
  if (row < 0 || row >= static_cast<int>(m->rows.size())) return;
  m->rows[static_cast<size_t>(row)].colour = colour < 0 ? UI_DEFAULT_COLOUR : colour;
  m->row_changed(row);
}

int64_t ui_list_item_colour(QWidget* list, int row) {
  ListModel* m = model_of(list);
  if (row < 0 || row >= static_cast<int>(m->rows.size())) return UI_DEFAULT_COLOUR;
  return m->rows[static_cast<size_t>(row)].colour;
}

int64_t ui_list_item_state(QWidget* list, int row) {
  ListModel* m = model_of(list);
  if (row < 0 || row >= static_cast<int>(m->rows.size())) return 0;
  return m->rows[static_cast<size_t>(row)].checked ? 1 : 0;
}

void ui_list_toggle_item(QWidget* list, int row) {
  ListModel* m = model_of(list);
  m->flush();
  if (row < 0 || row >= m->shown) return;
  if (!(m->flags(m->index(row, 0)) & Qt::ItemIsUserCheckable)) return;
  bool checked = m->rows[static_cast<size_t>(row)].checked;
  m->setData(m->index(row, 0), checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

void ui_list_add_column(QWidget* list, int column, const std::string& title, int width) {
  auto* view = static_cast<ListView*>(list);
  int count = static_cast<int>(view->model->titles.size());
  int at = column < 0 || column > count ? count : column;
  view->model->insert_column(at, to_qstring(title));
  view->setColumnWidth(at, width);
}

std::string ui_list_column_title_of(QWidget* list, int column) {
  auto* view = static_cast<ListView*>(list);
  if (column < 0 || column >= static_cast<int>(view->model->titles.size())) return {};
  return to_std(view->model->titles[static_cast<size_t>(column)]);
}

int ui_list_selected(QWidget* list) {
  auto* view = static_cast<ListView*>(list);
  QItemSelectionModel* selection = view->selectionModel();
  QModelIndex current = selection->currentIndex();
  if (current.isValid() && selection->isSelected(current)) return current.row();
  QModelIndexList selected = selection->selectedIndexes();
  return selected.isEmpty() ? -1 : selected.first().row();
}

void ui_list_select(QWidget* list, int row, bool by_player) {
  auto* view = static_cast<ListView*>(list);
  view->model->flush();
  QItemSelectionModel* selection = view->selectionModel();
  std::optional<ProgramSetting> setting;
  if (!by_player) setting.emplace();
  if (row < 0 || row >= view->model->shown) {
    if (by_player) return;
    selection->clearSelection();
    selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    return;
  }
  QModelIndex index = view->model->index(row, 0);
  selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  view->scrollTo(index);
}

void ui_list_font_changed(QWidget* list) { apply_row_height(static_cast<ListView*>(list)); }
