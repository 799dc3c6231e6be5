// The toolkit's own texts (the buttons of message boxes, the file dialogs,
// the menus of text fields) in the program's language, from the toolkit's
// own translation catalogues.
#include "ui/ui_internal.h"

namespace {

// A catalogue of the toolkit's texts. The toolkit asks some of its texts
// under names its catalogues knew them by before (the standard buttons, the
// editors' menu, the type of a folder in the file dialogs): those are looked
// up under the former name too. Qt's European Portuguese catalogue was made
// for an older Qt, and has one label with a stray capital.
class ToolkitCatalogue : public QTranslator {
 public:
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
    if (text == QLatin1String("FIcheiros do tipo:")) text = QStringLiteral("Ficheiros do tipo:");
    return text;
  }
};

// The Portuguese catalogues (file names without ".qm") in the order they are
// installed: the toolkit asks the one installed last first, so the European
// one, which covers only part of today's texts, comes after the complete
// Brazilian one, which answers what it lacks.
const char* const kPortugueseCatalogues[] = {"qtbase_pt_BR", "qt_pt_PT"};

std::vector<QTranslator*> g_toolkit_catalogues;  // installed, in that order
std::string g_catalogue_folder;                  // "" the toolkit's own folder

void remove_toolkit_catalogues() {
  for (QTranslator* catalogue : g_toolkit_catalogues) {
    QCoreApplication::removeTranslator(catalogue);
    delete catalogue;
  }
  g_toolkit_catalogues.clear();
}

}  // namespace

void ui_set_toolkit_language(int language) {
  if (!QCoreApplication::instance()) return;
  remove_toolkit_catalogues();
  if (language != 2) return;
  const QString folder = to_qstring(ui_test_toolkit_catalogue_folder());
  for (const char* file : kPortugueseCatalogues) {
    auto* catalogue = new ToolkitCatalogue;
    // A missing or unreadable file leaves the texts it would have given as
    // they were.
    if (catalogue->load(QLatin1String(file), folder) &&
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
