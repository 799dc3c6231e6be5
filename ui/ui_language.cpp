// The toolkit's own texts (the buttons of message boxes, the file dialogs,
// the menus of text fields) in the program's language, from the toolkit's
// own translation catalogues, and the toolkit's own locale (the sizes, dates
// and file types of the file dialogs) with them.
#include "ui/ui_internal.h"

namespace {

// Texts of the file dialogs and the fields' menus that Qt's European
// Portuguese catalogue, made for an older Qt, lacks: without them the
// Brazilian catalogue would answer ("Excluir", "arquivo"). They follow the
// program's own Portuguese wording.
struct EuropeanText {
  const char* context;
  const char* source;
  const char* text;  // UTF-8
};
const EuropeanText kEuropeanTexts[] = {
    {"QFileDialog", "Are you sure you want to delete '%1'?",
     "Tem a certeza de que quer eliminar '%1'?"},
    {"QFileDialog", "Delete", "Eliminar"},
    {"QFileDialog", "&New Folder", "&Nova Pasta"},
    {"QFileDialog", "%1 File", "Ficheiro %1"},
    {"QFileDialog", "All files (*)", "Todos os Ficheiros (*)"},
    {"QFileDialog", "Files", "Ficheiros"},
    {"QFileDialog", "Go back", "Recuar"},
    {"QFileDialog", "Go forward", "Seguinte"},
    {"QFileDialog", "Go to the parent directory", "Ir para a pasta m\u00e3e"},
    {"QFileDialog", "Create a New Folder", "Criar uma nova pasta"},
    {"QFileDialog", "Change to list view mode", "Mudar para a vista abreviada"},
    {"QFileDialog", "Change to detail view mode", "Mudar para a vista detalhada"},
    {"QFileDialog", "List of places and bookmarks", "Lista de locais e marcadores"},
    {"QFileDialog", "Sidebar", "Painel lateral"},
    {"QFileSystemModel", "Invalid filename", "Nome de ficheiro inv\u00e1lido"},
    {"QAbstractSpinBox", "&Select All", "&Selecionar Tudo"},
};

// A catalogue of the toolkit's texts. The toolkit asks some of its texts
// under names its catalogues knew them by before (the standard buttons, the
// editors' menu, the type of a folder in the file dialogs): those are looked
// up under the former name too. The European catalogue also gets the texts
// above, and its own labels mended: one with a stray capital, and the
// spelling of "Selecionar" from before the spelling reform, which the
// program's texts no longer use.
class ToolkitCatalogue : public QTranslator {
 public:
  explicit ToolkitCatalogue(bool european) : european_(european) {}

  QString translate(const char* context, const char* source, const char* disambiguation,
                    int n) const override {
    QString text = QTranslator::translate(context, source, disambiguation, n);
    if (text.isEmpty()) {
      static const std::pair<const char*, const char*> renamed[] = {
          {"QPlatformTheme", "QDialogButtonBox"},
          {"QWidgetTextControl", "QTextControl"},
          {"QAbstractFileIconProvider", "QFileDialog"},
      };
      for (const auto& [today, before] : renamed)
        if (qstrcmp(context, today) == 0)
          text = QTranslator::translate(before, source, disambiguation, n);
    }
    if (!european_) return text;
    if (text.isEmpty()) {
      for (const EuropeanText& row : kEuropeanTexts)
        if (qstrcmp(context, row.context) == 0 && qstrcmp(source, row.source) == 0)
          return QString::fromUtf8(row.text);
      return text;
    }
    if (text == QLatin1String("FIcheiros do tipo:")) return QStringLiteral("Ficheiros do tipo:");
    text.replace(QLatin1String("Seleccionar"), QLatin1String("Selecionar"));
    return text;
  }

 private:
  bool european_;
};

// The Portuguese catalogues (file names without ".qm") in the order they are
// installed: the toolkit asks the one installed last first, so the European
// one, which covers only part of today's texts, comes after the complete
// Brazilian one, which answers what it lacks.
struct CatalogueFile {
  const char* name;
  bool european;
};
const CatalogueFile kPortugueseCatalogues[] = {{"qtbase_pt_BR", false}, {"qt_pt_PT", true}};

std::vector<QTranslator*> g_toolkit_catalogues;  // installed, in that order
std::string g_catalogue_folder;                  // "" the toolkit's own folder

void remove_toolkit_catalogues() {
  for (QTranslator* catalogue : g_toolkit_catalogues) {
    QCoreApplication::removeTranslator(catalogue);
    delete catalogue;
  }
  g_toolkit_catalogues.clear();
}

// The locale the toolkit writes sizes, dates and file types in: European
// Portuguese for Portuguese; for English the system's when it is an English
// one (or the plain "C" one), else American English.
QLocale toolkit_locale(int language) {
  if (language == 2) return QLocale(QLocale::Portuguese, QLocale::Portugal);
  const QLocale system = QLocale::system();
  if (system.language() == QLocale::English || system.language() == QLocale::C) return system;
  return QLocale(QLocale::English, QLocale::UnitedStates);
}

}  // namespace

void ui_set_toolkit_language(int language) {
  if (!QCoreApplication::instance()) return;
  QLocale::setDefault(toolkit_locale(language));
  remove_toolkit_catalogues();
  if (language != 2) return;
  const QString folder = to_qstring(ui_test_toolkit_catalogue_folder());
  for (const CatalogueFile& file : kPortugueseCatalogues) {
    auto* catalogue = new ToolkitCatalogue(file.european);
    // A missing or unreadable file leaves the texts it would have given as
    // they were.
    if (catalogue->load(QLatin1String(file.name), folder) &&
        QCoreApplication::installTranslator(catalogue)) {
      g_toolkit_catalogues.push_back(catalogue);
    } else {
      delete catalogue;
    }
  }
}

std::string ui_test_toolkit_catalogue_folder() {
  if (!g_catalogue_folder.empty()) return g_catalogue_folder;
  return to_std(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

void ui_test_set_toolkit_catalogue_folder(const std::string& folder) {
  g_catalogue_folder = folder;
}

std::string ui_test_toolkit_text(const std::string& context, const std::string& source) {
  return shown_caption(QCoreApplication::translate(context.c_str(), source.c_str()));
}
