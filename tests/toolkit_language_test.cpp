// The texts that the toolkit draws itself (the buttons of message boxes, the
// file dialogs, the menu of a right click on a text field) in the language
// of each program, read from the toolkit's own windows as they are built.
#include <gtest/gtest.h>
#include <utime.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "core/core.h"
#include "core/ids.h"
#include "core/state.h"
#include "draws/draws.h"
#include "draws/main_tab_ids.h"
#include "draws/selection.h"
#include "support/draws_support.h"
#include "support/program_fixture.h"
#include "support/test_support.h"
#include "techniques/tab_gadgets.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

using Texts = std::vector<std::string>;

// What the toolkit puts into each kind of window the program opens.
struct ToolkitWords {
  Texts yes_no_buttons;
  Texts ok_buttons;
  Texts open_labels;  // the file dialog's own labels
  Texts open_buttons;
  Texts save_buttons;
  Texts columns;
  Texts tooltips;
  Texts field_menu;   // a right click on a text field
  Texts spin_menu;    // a right click on a spin
  std::string folder_type;  // a folder's type in the file list
  // A file dialog's question before it deletes a file: title, text.
  std::string delete_title;
  std::string delete_question;
};

const ToolkitWords kEnglish = {
    {"Yes", "No"},
    {"OK"},
    {"Look in:", "File name:", "Files of type:"},
    {"Open", "Cancel"},
    {"Save", "Cancel"},
    {"Name", "Size", "Type", "Date Modified"},
    {"Back", "Forward", "Parent Directory", "Create New Folder", "List View", "Detail View"},
    {"Undo", "Redo", "Cut", "Copy", "Paste", "Delete", "Select All"},
    {"Undo", "Redo", "Cut", "Copy", "Paste", "Delete", "Select All", "Step up", "Step down"},
    "Folder",
    "Delete",
    "Are you sure you want to delete '%1'?",
};

// European forms wherever the toolkit's European catalogue has them, in the
// spelling of the program's own texts ("Selecionar"); where it has none, the
// Brazilian catalogue's when they are words of Portugal too ("Procurar em:"),
// else the program's wording ("Eliminar", where the Brazilian says
// "Excluir").
const ToolkitWords kPortuguese = {
    {"Sim", "N\xC3\xA3o"},
    {"OK"},
    {"Procurar em:", "Nome do Ficheiro:", "Ficheiros do tipo:"},
    {"Abrir", "Cancelar"},
    {"Gravar", "Cancelar"},
    {"Nome", "Tamanho", "Tipo", "Data de Modifica\xC3\xA7\xC3\xA3o"},
    {"Recuar", "Seguinte", "Pasta M\xC3\xA3" "e", "Criar Nova Pasta", "Vista Abreviada", "Vista Detalhada"},
    {"Desfazer", "Refazer", "Cortar", "Copiar", "Colar", "Apagar", "Selecionar Tudo"},
    {"Desfazer", "Refazer", "Cortar", "Copiar", "Colar", "Apagar", "Selecionar Tudo", "Passo acima",
     "Passo abaixo"},
    "Pasta",
    "Eliminar",
    "Tem a certeza de que quer eliminar '%1'?",
};

// Labels of a box other than its message.
Texts labels_but(const UiToolkitTexts& shown, const std::string& message) {
  Texts labels;
  for (const std::string& label : shown.labels)
    if (label != message) labels.push_back(label);
  return labels;
}

// The toolkit's windows as the program opens them: a refused Learn (an OK
// box), Open on the Main tab while the list has changed (the Yes/No question,
// answered Yes, then the open dialog, cancelled), Save As (cancelled).
struct ProgramWindows {
  UiMessageRecord ok_box;
  UiMessageRecord yes_no_box;
  UiFileDialogRecord open_dialog;
  UiFileDialogRecord save_dialog;
};

ProgramWindows open_toolkit_windows_of_the_program() {
  ProgramWindows windows;
  ui_test_build_toolkit_windows(true);
  ui_set_state(GADGET_PANEL, TAB_TECHNIQUES);
  click_gadget(GADGET_LEARN);
  ui_set_state(GADGET_PANEL, TAB_MAIN);
  list_tickets({{"3,17,22,41,50", "2,11"}});
  g_draws_changed = 1;
  ui_test_push_message_answer(UI_ANSWER_YES);
  click_gadget(GADGET_OPEN_DRAWS);
  click_gadget(GADGET_SAVE_DRAWS_AS);
  EXPECT_EQ(ui_test_messages().size(), 2u);
  EXPECT_EQ(ui_test_file_dialogs().size(), 2u);
  if (ui_test_messages().size() != 2u || ui_test_file_dialogs().size() != 2u) return windows;
  windows.ok_box = ui_test_messages()[0];
  windows.yes_no_box = ui_test_messages()[1];
  windows.open_dialog = ui_test_file_dialogs()[0];
  windows.save_dialog = ui_test_file_dialogs()[1];
  EXPECT_FALSE(windows.open_dialog.save);
  EXPECT_TRUE(windows.save_dialog.save);
  return windows;
}

void expect_toolkit_words(const ProgramWindows& w, const ToolkitWords& words, const std::string& where) {
  SCOPED_TRACE(where);
  EXPECT_EQ(w.ok_box.flags & UI_MESSAGE_YES_NO, 0u);
  EXPECT_EQ(w.ok_box.shown.buttons, words.ok_buttons);
  EXPECT_EQ(w.yes_no_box.flags & UI_MESSAGE_YES_NO, unsigned(UI_MESSAGE_YES_NO));
  EXPECT_EQ(w.yes_no_box.shown.buttons, words.yes_no_buttons);
  // The program's own message is in the box as the program wrote it.
  EXPECT_EQ(w.yes_no_box.shown.labels, Texts{w.yes_no_box.text});
  EXPECT_EQ(w.open_dialog.shown.labels, words.open_labels);
  EXPECT_EQ(w.open_dialog.shown.buttons, words.open_buttons);
  EXPECT_EQ(w.open_dialog.shown.column_titles, words.columns);
  EXPECT_EQ(w.open_dialog.shown.tooltips, words.tooltips);
  EXPECT_EQ(w.save_dialog.shown.labels, words.open_labels);
  EXPECT_EQ(w.save_dialog.shown.buttons, words.save_buttons);
  EXPECT_EQ(w.save_dialog.shown.column_titles, words.columns);
  // Every text whole, as laid out for the screen: the titles of the file
  // list and the places of the side panel are wider in Portuguese.
  for (const UiToolkitTexts* shown : {&w.ok_box.shown, &w.yes_no_box.shown, &w.open_dialog.shown,
                                      &w.save_dialog.shown})
    EXPECT_EQ(shown->cut_short, Texts{});
}

struct ProgramCase {
  const char* name;
  int64_t build_language;
  const ToolkitWords* words;
};

void PrintTo(const ProgramCase& c, std::ostream* out) { *out << c.name; }

class ToolkitLanguage : public ::testing::TestWithParam<ProgramCase> {};

// Each program, started with no settings file, in its own language.
TEST_P(ToolkitLanguage, EachProgramsToolkitWindowsSpeakItsLanguage) {
  const ProgramCase& c = GetParam();
  start_program_for_test(c.build_language);
  ASSERT_EQ(g_language, c.build_language);
  expect_toolkit_words(open_toolkit_windows_of_the_program(), *c.words, c.name);
  EXPECT_EQ(ui_test_context_menu(PREFS_PRICE_FIELD_BASE + 0), c.words->field_menu);
  EXPECT_EQ(ui_test_context_menu(PREFS_DRAWS_SPIN), c.words->spin_menu);
  EXPECT_EQ(ui_test_file_type_text("settings"), c.words->folder_type);
  EXPECT_EQ(ui_test_toolkit_text("QFileDialog", "Delete"), c.words->delete_title);
  EXPECT_EQ(ui_test_toolkit_text("QFileDialog", "Are you sure you want to delete '%1'?"),
            c.words->delete_question);
}

// The system's locale of the run: tests/CMakeLists.txt runs this program once
// more as on a German system.
bool system_locale_is_german() {
  const char* all = std::getenv("LC_ALL");
  return all != nullptr && std::string(all).rfind("de", 0) == 0;
}

// A file or folder last changed on 29 December 2023 at 21:05, local time.
void date_to_the_last_draw(const std::string& path) {
  std::tm local = {};
  local.tm_year = 2023 - 1900;
  local.tm_mon = 11;
  local.tm_mday = 29;
  local.tm_hour = 21;
  local.tm_min = 5;
  local.tm_isdst = -1;
  const std::time_t when = std::mktime(&local);
  const utimbuf times = {when, when};
  ASSERT_EQ(utime(path.c_str(), &times), 0) << path;
}

// A file dialog lists the working folder: its sizes, file
// types and dates come in the program's language whatever the system's, the
// English program's as the system writes them where the system is English
// (or plain C, as in the first run), else as in American English.
TEST_P(ToolkitLanguage, TheFileListWritesSizesTypesAndDatesInTheProgramsLanguage) {
  const ProgramCase& c = GetParam();
  start_program_for_test(c.build_language);
  write_file_bytes("tiny.draws.txt", "3,17\n");
  write_file_bytes("mid.draws.txt", std::string(3000, '1'));
  write_file_bytes("big.draws.txt", "");
  std::filesystem::resize_file("big.draws.txt", 3000000);
  for (const char* path : {"tiny.draws.txt", "mid.draws.txt", "big.draws.txt", "settings"})
    date_to_the_last_draw(path);

  std::vector<Texts> expected;
  if (c.build_language == 2) {
    const std::string text = "documento em texto simples", date = "29/12/23 21:05";
    expected = {{"settings", "", "Pasta", date},
                {"big.draws.txt", "2,86 MiB", text, date},
                {"mid.draws.txt", "2,93 KiB", text, date},
                {"tiny.draws.txt", "5 bytes", text, date}};
  } else {
    const std::string text = "plain text document";
    const std::string date = system_locale_is_german() ? "12/29/23 9:05 PM" : "29 Dec 2023 21:05:00";
    expected = {{"settings", "", "Folder", date},
                {"big.draws.txt", "2.86 MiB", text, date},
                {"mid.draws.txt", "2.93 KiB", text, date},
                {"tiny.draws.txt", "5 bytes", text, date}};
  }
  // Opened on the working folder: without a folder the dialog shows the one
  // it showed last, another test's.
  ui_test_build_toolkit_windows(true);
  ui_open_file_dialog(translate("Open Draws"), std::filesystem::current_path().string(),
                      "Draws (*.draws.txt)|*.draws.txt", 0);
  ASSERT_EQ(ui_test_file_dialogs().size(), 1u);
  std::vector<Texts> rows = ui_test_file_dialogs()[0].shown.file_rows;
  std::sort(rows.begin(), rows.end(), [](const Texts& a, const Texts& b) {
    return std::make_pair(a[2] == "Pasta" || a[2] == "Folder" ? 0 : 1, a[0]) <
           std::make_pair(b[2] == "Pasta" || b[2] == "Folder" ? 0 : 1, b[0]);
  });
  EXPECT_EQ(rows, expected);
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, ToolkitLanguage,
                         ::testing::Values(ProgramCase{"kestrova_en", 1, &kEnglish},
                                           ProgramCase{"kestrova_pt", 2, &kPortuguese}),
                         [](const auto& info) { return std::string(info.param.name); });

// The language the settings file holds wins over the program's own, for the
// toolkit as for the program's texts.
TEST(ToolkitLanguageSettings, TheSavedLanguageDecidesInBothPrograms) {
  struct Case {
    int64_t build_language;
    int64_t saved_language;
    const ToolkitWords* words;
  };
  const Case cases[] = {{1, 2, &kPortuguese}, {2, 1, &kEnglish}};
  for (const Case& c : cases) {
    const std::string dir = start_program_for_test(c.saved_language);
    ASSERT_EQ(save_main_prefs(), 1);
    const std::string prefs = read_file_bytes(dir + "/settings/kestrova.prefs");
    ASSERT_FALSE(prefs.empty());
    start_program_for_test(c.build_language, [&prefs] {
      std::filesystem::create_directory("settings");
      write_file_bytes("settings/kestrova.prefs", prefs);
    });
    ASSERT_EQ(g_language, c.saved_language);
    expect_toolkit_words(open_toolkit_windows_of_the_program(), *c.words,
                         "built " + std::to_string(c.build_language) + ", saved " +
                             std::to_string(c.saved_language));
  }
}

// A switch on the Preferences tab takes effect as for the program's texts:
// what is made afterwards speaks the new language, and the switch itself
// raises no event.
TEST(ToolkitLanguageSwitch, WindowsMadeAfterASwitchSpeakTheNewLanguage) {
  start_program_for_test(1);
  ui_set_state(GADGET_PANEL, TAB_PREFERENCES);
  click_gadget(PREFS_PORTUGUESE_OPTION);
  ASSERT_EQ(g_language, 2);
  ui_delay(0);
  EXPECT_EQ(ui_test_queue_length(), 0);
  EXPECT_EQ(ui_test_context_menu(PREFS_PRICE_FIELD_BASE + 0), kPortuguese.field_menu);
  expect_toolkit_words(open_toolkit_windows_of_the_program(), kPortuguese, "after English to Portuguese");

  ui_test_reset();
  start_program_for_test(2);
  ui_set_state(GADGET_PANEL, TAB_PREFERENCES);
  click_gadget(PREFS_ENGLISH_OPTION);
  ASSERT_EQ(g_language, 1);
  ui_delay(0);
  EXPECT_EQ(ui_test_queue_length(), 0);
  EXPECT_EQ(ui_test_context_menu(PREFS_PRICE_FIELD_BASE + 0), kEnglish.field_menu);
  expect_toolkit_words(open_toolkit_windows_of_the_program(), kEnglish, "after Portuguese to English");
}

// ---- the gadget layer on its own: which catalogues answer ---------------------

class ToolkitCatalogues : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = enter_fresh_directory();
    ui_test_reset();
    system_folder_ = ui_test_toolkit_catalogue_folder();
    ASSERT_TRUE(std::filesystem::exists(system_folder_ + "/qtbase_pt_BR.qm") &&
                std::filesystem::exists(system_folder_ + "/qt_pt_PT.qm"))
        << "the toolkit's Portuguese translations are missing from " << system_folder_
        << " (package qt6-translations-l10n, installed by scripts/setup.sh)";
    ASSERT_TRUE(ui_open_window(0, 0, 0, 400, 300, "Main", UI_WINDOW_CAPTION));
    ASSERT_TRUE(ui_text_field(10, 5, 5, 80, 22, "12"));
    ASSERT_TRUE(ui_editor(11, 5, 35, 200, 100));
    ASSERT_TRUE(ui_editor(12, 5, 140, 200, 100, UI_EDITOR_READONLY));
    ASSERT_TRUE(ui_spin(13, 5, 250, 80, 22, 1, 50));
    ui_test_build_toolkit_windows(true);
  }
  void TearDown() override { ui_test_reset(); }

  // A folder of the catalogues named, copied from the toolkit's; "junk" puts
  // a file of the same name that is no catalogue.
  std::string folder_with(const std::vector<std::string>& names, bool junk = false) {
    std::string folder = directory_ + "/catalogues" + std::to_string(++folders_);
    std::filesystem::create_directory(folder);
    for (const std::string& name : names) {
      if (junk) write_file_bytes(folder + "/" + name, "not a catalogue\n");
      else std::filesystem::copy_file(system_folder_ + "/" + name, folder + "/" + name);
    }
    return folder;
  }

  std::string directory_;
  std::string system_folder_;
  int folders_ = 0;
};

TEST_F(ToolkitCatalogues, TheEuropeanCatalogueAnswersFirstAndTheBrazilianTheRest) {
  struct Case {
    const char* name;
    std::vector<std::string> files;
    bool junk;
    Texts yes_no;
    Texts labels;
    Texts save_buttons;
    std::string date_column;
    Texts field_menu;
    Texts spin_menu;
    std::string folder_type;
    std::string delete_question;
  };
  const Texts english_menu = kEnglish.field_menu;
  const Texts european_menu = kPortuguese.field_menu;
  const Texts brazilian_menu = {"Desfazer", "Refazer", "Recortar", "Copiar", "Colar", "Excluir", "Selecionar tudo"};
  const Texts brazilian_spin_menu = {"Desfazer", "Refazer", "Recortar", "Copiar", "Colar", "Excluir",
                                     "Selecionar tudo", "Passo acima", "Passo abaixo"};
  const std::vector<Case> cases = {
      {"both", {"qtbase_pt_BR.qm", "qt_pt_PT.qm"}, false, kPortuguese.yes_no_buttons, kPortuguese.open_labels,
       kPortuguese.save_buttons, "Data de Modifica\xC3\xA7\xC3\xA3o", european_menu, kPortuguese.spin_menu, "Pasta",
       kPortuguese.delete_question},
      {"Brazilian only", {"qtbase_pt_BR.qm"}, false, {"Sim", "N\xC3\xA3o"},
       {"Procurar em:", "Nome do arquivo:", "Arquivos do tipo:"}, {"Salvar", "Cancelar"},
       "Data de modifica\xC3\xA7\xC3\xA3o", brazilian_menu, brazilian_spin_menu, "Pasta",
       "Deseja realmente excluir '%1'?"},
      // The old European catalogue alone still gives the standard buttons
      // and the editors' menu under the places' former names, and the texts
      // it lacks in the program's wording.
      {"European only", {"qt_pt_PT.qm"}, false, {"Sim", "N\xC3\xA3o"},
       {"Look in:", "Nome do Ficheiro:", "Ficheiros do tipo:"}, {"Gravar", "Cancelar"},
       "Data de Modifica\xC3\xA7\xC3\xA3o", european_menu, kPortuguese.spin_menu, "Folder",
       kPortuguese.delete_question},
      {"none", {}, false, kEnglish.yes_no_buttons, kEnglish.open_labels, kEnglish.save_buttons, "Date Modified",
       english_menu, kEnglish.spin_menu, "Folder", kEnglish.delete_question},
      {"unreadable", {"qtbase_pt_BR.qm", "qt_pt_PT.qm"}, true, kEnglish.yes_no_buttons, kEnglish.open_labels,
       kEnglish.save_buttons, "Date Modified", english_menu, kEnglish.spin_menu, "Folder", kEnglish.delete_question},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui_test_set_toolkit_catalogue_folder(folder_with(c.files, c.junk));
    ui_set_toolkit_language(2);
    ui_test_clear_messages();
    ui_message("Aviso!", "Continuar?", UI_MESSAGE_YES_NO | UI_ICON_WARNING);
    ui_save_file_dialog("Gravar", "", "Sorteios (*.draws.txt)|*.draws.txt", 0);
    ASSERT_EQ(ui_test_messages().size(), 1u);
    EXPECT_EQ(ui_test_messages()[0].shown.buttons, c.yes_no);
    const UiFileDialogRecord& dialog = ui_test_file_dialogs().back();
    EXPECT_EQ(dialog.shown.labels, c.labels);
    EXPECT_EQ(dialog.shown.buttons, c.save_buttons);
    ASSERT_EQ(dialog.shown.column_titles.size(), 4u);
    EXPECT_EQ(dialog.shown.column_titles[3], c.date_column);
    EXPECT_EQ(ui_test_context_menu(10), c.field_menu);
    EXPECT_EQ(ui_test_context_menu(11), c.field_menu);
    EXPECT_EQ(ui_test_context_menu(13), c.spin_menu);
    EXPECT_EQ(ui_test_file_type_text(directory_), c.folder_type);
    EXPECT_EQ(ui_test_toolkit_text("QFileDialog", "Are you sure you want to delete '%1'?"), c.delete_question);
  }
}

TEST_F(ToolkitCatalogues, EnglishLeavesTheToolkitsOwnTextsAndPortugueseComesBack) {
  const std::vector<std::pair<int, const ToolkitWords*>> steps = {
      {2, &kPortuguese}, {1, &kEnglish}, {2, &kPortuguese}, {2, &kPortuguese}, {1, &kEnglish}, {1, &kEnglish}};
  for (const auto& [language, words] : steps) {
    SCOPED_TRACE(language);
    ui_set_toolkit_language(language);
    ui_test_clear_messages();
    ui_message("Warning!", "Continue?", UI_MESSAGE_YES_NO | UI_ICON_INFO);
    ui_message("Warning!", "No draws found.", UI_ICON_WARNING);
    ui_open_file_dialog("Open", directory_, "Draws (*.draws.txt)|*.draws.txt", 0);
    ASSERT_EQ(ui_test_messages().size(), 2u);
    EXPECT_EQ(ui_test_messages()[0].shown.buttons, words->yes_no_buttons);
    EXPECT_EQ(ui_test_messages()[1].shown.buttons, words->ok_buttons);
    EXPECT_EQ(ui_test_file_dialogs().back().shown.labels, words->open_labels);
    EXPECT_EQ(ui_test_file_dialogs().back().shown.buttons, words->open_buttons);
    EXPECT_EQ(ui_test_context_menu(10), words->field_menu);
  }
}

// A read-only editor offers only what the player may do with its text.
TEST_F(ToolkitCatalogues, AReadOnlyEditorsMenuCopiesAndSelects) {
  ui_set_toolkit_language(2);
  EXPECT_EQ(ui_test_context_menu(12), (Texts{"Copiar", "Selecionar Tudo"}));
  ui_set_toolkit_language(1);
  EXPECT_EQ(ui_test_context_menu(12), (Texts{"Copy", "Select All"}));
}

// Without ui_test_build_toolkit_windows the scripted windows stay records
// only, and nothing is built.
TEST_F(ToolkitCatalogues, ScriptedWindowsBuildNothingUnlessAsked) {
  ui_test_build_toolkit_windows(false);
  ui_set_toolkit_language(2);
  ui_test_push_message_answer(UI_ANSWER_YES);
  EXPECT_EQ(ui_message("Aviso!", "Continuar?", UI_MESSAGE_YES_NO), UI_ANSWER_YES);
  ui_test_push_file_answer("/tmp/a.draws.txt");
  EXPECT_EQ(ui_open_file_dialog("Abrir", "", "Sorteios (*.draws.txt)|*.draws.txt", 0), "/tmp/a.draws.txt");
  EXPECT_TRUE(ui_test_messages().back().shown.buttons.empty());
  EXPECT_TRUE(ui_test_file_dialogs().back().shown.labels.empty());
  EXPECT_FALSE(std::filesystem::exists(directory_ + "/QtProject.conf"));
}

}  // namespace
