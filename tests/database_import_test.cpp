// Import of the past-results database through "Open" on the Techniques tab.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <tuple>
#include <string>
#include <vector>

#include "core/core.h"
#include "core/ids.h"
#include "support/engine_support.h"
#include "support/program_fixture.h"
#include "support/test_support.h"
#include "techniques/tab_gadgets.h"
#include "techniques/techniques.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

// Draw lines of the shape the import keeps: 17 leading characters, then the
// five numbers and the two stars, the stars marked by "+".
const std::string kDraw1 = "00001 2004-02-13 01 12 23 34 45 +06 +07";
const std::string kDraw2 = "00002 2004-02-20 07 13 39 47 50 +02 +05";
const std::string kDraw3 = "00003 2004-02-27 14 18 19 31 37 +04 +05";

std::string join_lines(const std::vector<std::string>& lines, const std::string& brk = "\n") {
  std::string out;
  for (const std::string& l : lines) out += l + brk;
  return out;
}

std::string write_database(const std::string& bytes, const std::string& name = "draws.txt") {
  std::string path = (std::filesystem::current_path() / name).string();
  write_file_bytes(path, bytes);
  return path;
}

std::vector<std::string> entries() {
  return {g_database_draws.begin() + 1, g_database_draws.end()};
}

class DatabaseImport : public ::testing::Test {
 protected:
  void SetUp() override { start_with_techniques_tab(); }
};

TEST_F(DatabaseImport, StartsWithNoDatabaseAndItsLabels) {
  EXPECT_EQ(g_database_draw_count, 0);
  EXPECT_EQ(ui_text(GADGET_DATABASE_FILE), "File:N/A");
  EXPECT_EQ(ui_text(GADGET_DRAWS_IMPORTED), "Draws Imported:0");
}

TEST_F(DatabaseImport, DialogTitleAndFilter) {
  import_file_through_open("");
  ASSERT_EQ(ui_test_file_dialogs().size(), 1u);
  const UiFileDialogRecord& d = ui_test_file_dialogs()[0];
  EXPECT_FALSE(d.save);
  EXPECT_EQ(d.title, "Open Draws database");
  EXPECT_EQ(d.default_path, "");
  EXPECT_EQ(d.filter, "Draws database (*.txt)|*.txt|CSV (*.csv)|*.csv");
  EXPECT_EQ(d.filter_index, 0);
}

TEST_F(DatabaseImport, ReadsDrawLinesAndShowsTheFile) {
  std::string path = write_database(
      join_lines({"# past results", kDraw1, "# a comment of any length, even past 39 characters",
                  kDraw2, kDraw3, "@end_database"}));
  import_file_through_open(path);
  EXPECT_TRUE(ui_test_messages().empty());
  EXPECT_EQ(entries(), (std::vector<std::string>{"01 12 23 34 45 06 07", "07 13 39 47 50 02 05",
                                                 "14 18 19 31 37 04 05"}));
  EXPECT_EQ(g_database_draw_count, 3);
  EXPECT_EQ(g_database_path, path);
  EXPECT_EQ(ui_text(GADGET_DATABASE_FILE), "File:draws.txt");
  EXPECT_EQ(ui_text(GADGET_DRAWS_IMPORTED), "Draws Imported:3");
}

TEST_F(DatabaseImport, EntryIsTheLastTwentyCharactersWithoutThePluses) {
  // The two "+" may stand anywhere; only the three counts are checked.
  import_file_through_open(write_database(join_lines({
      "+00001 2004-02-13 01 12 23 34 45 06 07+",
      "00002+2004-02-20  01 12 23 34 45 06 +07",
  })));
  EXPECT_TRUE(ui_test_messages().empty());
  EXPECT_EQ(entries(), (std::vector<std::string>{"01 12 23 34 45 06 07", "01 12 23 34 45 06 07"}));
}

TEST_F(DatabaseImport, BadLineStopsWithItsNumberAndKeepsEarlierEntries) {
  struct Case {
    std::vector<std::string> lines;
    std::string message;
    int64_t kept;
  };
  const std::vector<Case> cases = {
      {{"#", "#", "#", "00004 2004-02-13 01 12 23 34 45 +06  07"}, "Invalid number of spaces in line:4", 0},
      {{"#", kDraw1, kDraw2, "00004 2004-02-13 01 12 23 34 45 +06 +7"}, "Invalid number of length in line:4", 2},
      {{"#", kDraw1, kDraw2, "00004+2004-02-13 01 12 23 34 45 +06 +07"}, "Invalid number of spaces in line:4", 2},
      {{kDraw1, "00002 2004-02-13 01 12 23 34 45 +06 ++7"}, "Invalid number of stars in line:2", 1},
      {{kDraw1, kDraw2, "", kDraw3}, "Invalid number of length in line:3", 2},
      {{kDraw1, "@end_database ", kDraw2}, "Invalid number of length in line:2", 1},
      {{" # not a comment"}, "Invalid number of length in line:1", 0},
      // Well-formed lines whose entry cannot be a draw: five different numbers
      // in 1..50 and two different stars in 1..12, whatever the game.
      {{kDraw1, "00002 2004-02-20 07 13 39 47 07 +02 +05"}, "Invalid number or star in line:2", 1},
      {{kDraw1, "00002 2004-02-20 07 13 39 47 50 +05 +05"}, "Invalid number or star in line:2", 1},
      {{"#", kDraw1, kDraw2, "00004 2004-02-20 00 13 39 47 50 +02 +05"}, "Invalid number or star in line:4", 2},
      {{kDraw1, "00002 2004-02-20 07 13 39 47 51 +02 +05"}, "Invalid number or star in line:2", 1},
      {{kDraw1, "00002 2004-02-20 60 13 39 47 50 +02 +05"}, "Invalid number or star in line:2", 1},
      {{kDraw1, "00002 2004-02-20 07 13 39 47 50 +02 +13"}, "Invalid number or star in line:2", 1},
      {{kDraw1, "00002 2004-02-20 07 13 39 47 50 +00 +05"}, "Invalid number or star in line:2", 1},
      // A number or star is digits alone: a letter O for a zero, an l for a
      // one, a tab before a digit.
      {{kDraw1, "00002 2004-04-16 04 07 33 37 3O +01 +05"}, "Invalid number or star in line:2", 1},
      {{kDraw1, kDraw2, "00003 2004-04-16 04 07 33 37 1l +01 +05"}, "Invalid number or star in line:3", 2},
      {{kDraw1, "00002 2004-04-16 04 07 33 37 39 +1l +05"}, "Invalid number or star in line:2", 1},
      {{kDraw1, "00002 2004-04-16 04 07 33 37 \t9 +01 +05"}, "Invalid number or star in line:2", 1},
      {{"ab cd ef gh ij kl mn op qr+st+uvwxyz!?."}, "Invalid number or star in line:1", 0},
      {{"00001 2004-02-13 01  12 23 34 45 06+07+"}, "Invalid number or star in line:1", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    ui_test_clear_messages();
    std::string path = write_database(join_lines(c.lines) + join_lines({kDraw3, kDraw3}));
    import_file_through_open(path);
    ASSERT_EQ(ui_test_messages().size(), 1u);
    EXPECT_EQ(ui_test_messages()[0].title, "Error");
    EXPECT_EQ(ui_test_messages()[0].text, c.message);
    EXPECT_EQ(ui_test_messages()[0].flags, static_cast<unsigned>(UI_ICON_WARNING));
    EXPECT_EQ(g_database_draw_count, c.kept);
    EXPECT_EQ(static_cast<int64_t>(g_database_draws.size()), c.kept + 1);
    EXPECT_EQ(g_database_path, path);
    EXPECT_EQ(ui_text(GADGET_DATABASE_FILE), "File:draws.txt");
    EXPECT_EQ(ui_text(GADGET_DRAWS_IMPORTED), "Draws Imported:" + std::to_string(c.kept));
  }
}

TEST_F(DatabaseImport, EntriesAreJudgedByTheFormatsRangeNotTheGames) {
  g_highest_number = 30;
  g_highest_star = 9;
  import_file_through_open(write_database(join_lines({kDraw1, kDraw2, "@end_database"})));
  EXPECT_TRUE(ui_test_messages().empty());
  EXPECT_EQ(g_database_draw_count, 2);
}

// A file imported again from the same path, with the same count and the same
// first and last entries but another entry between them, is judged by its new
// entries at the very next check: within 3 common numbers, 10,20,30,40,44
// shares 4 with 10 20 30 40 41.
TEST_F(DatabaseImport, AReimportIsJudgedByItsNewEntriesAtOnce) {
  open_every_window();
  g_max_common_numbers = 3;
  const std::string far = "00002 2004-02-20 05 06 07 08 09 +02 +05";
  const std::string near = "00002 2004-02-20 10 20 30 40 41 +02 +05";
  for (const auto& [before, after, pass_before, pass_after] :
       {std::tuple{far, near, 1, 0}, std::tuple{near, far, 0, 1}}) {
    import_file_through_open(write_database(join_lines({kDraw1, before, kDraw3})));
    ASSERT_EQ(g_database_draw_count, 3);
    EXPECT_EQ(check_number_techniques("10,20,30,40,44"), pass_before);
    const auto start = std::chrono::steady_clock::now();
    import_file_through_open(write_database(join_lines({kDraw1, after, kDraw3})));
    EXPECT_EQ(check_number_techniques("10,20,30,40,44"), pass_after);
    // Past the filter's pause every entry is compared anyway, so only a check
    // this soon shows whether the import itself renewed the tables.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
    EXPECT_TRUE(ui_test_messages().empty());
  }
}

TEST_F(DatabaseImport, NothingAfterTheEndLineIsRead) {
  import_file_through_open(
      write_database(join_lines({kDraw1, "@end_database", "garbage", "", kDraw2})));
  EXPECT_TRUE(ui_test_messages().empty());
  EXPECT_EQ(g_database_draw_count, 1);
}

TEST_F(DatabaseImport, CommentsAndEndLineOnlyGiveAnEmptyDatabase) {
  import_file_through_open(write_database(join_lines({"# one", "# two", "@end_database"})));
  EXPECT_TRUE(ui_test_messages().empty());
  EXPECT_EQ(g_database_draw_count, 0);
  EXPECT_EQ(ui_text(GADGET_DRAWS_IMPORTED), "Draws Imported:0");
  EXPECT_EQ(ui_text(GADGET_DATABASE_FILE), "File:draws.txt");
}

TEST_F(DatabaseImport, LineBreaksByteOrderMarkAndCharacterCounts) {
  const std::string bom = "\xEF\xBB\xBF";
  // "é" and "€" take 2 and 3 bytes but one character each.
  const std::string accented = "0000\xC3\xA9 2004-02-13 01 12 23 34 45 +06 +07";
  const std::string euro = "0000\xE2\x82\xAC 2004-02-13 01 12 23 34 45 +06 +07";
  const std::string short_accented = "000\xC3\xA9 2004-02-13 01 12 23 34 45 +06 +07";
  struct Case {
    const char* name;
    std::string bytes;
    int64_t count;
    std::string message;  // "" for none
  };
  const std::vector<Case> cases = {
      {"LF", join_lines({kDraw1, kDraw2}, "\n"), 2, ""},
      {"CR", join_lines({kDraw1, kDraw2}, "\r"), 2, ""},
      {"CR LF", join_lines({kDraw1, kDraw2}, "\r\n"), 2, ""},
      {"mixed", kDraw1 + "\r\n" + kDraw2 + "\r" + kDraw3 + "\n", 3, ""},
      {"no final break", kDraw1 + "\n" + kDraw2, 2, ""},
      {"no break at all", kDraw1, 1, ""},
      {"CR LF then blank line", kDraw1 + "\r\n\r\n" + kDraw2, 1, "Invalid number of length in line:2"},
      {"two CR are two breaks", kDraw1 + "\r\r" + kDraw2, 1, "Invalid number of length in line:2"},
      {"byte-order mark before a draw", bom + kDraw1 + "\n", 0, "Invalid number of length in line:1"},
      {"byte-order mark hides a comment", bom + "#\n" + kDraw1, 0, "Invalid number of length in line:1"},
      {"non-ASCII characters", join_lines({"# Résultats — passés", accented, euro}), 2, ""},
      {"39 bytes but 38 characters", short_accented + "\n", 0, "Invalid number of length in line:1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui_test_clear_messages();
    import_file_through_open(write_database(c.bytes));
    EXPECT_EQ(g_database_draw_count, c.count);
    if (c.message.empty()) {
      EXPECT_TRUE(ui_test_messages().empty());
    } else {
      ASSERT_EQ(ui_test_messages().size(), 1u);
      EXPECT_EQ(ui_test_messages()[0].text, c.message);
    }
  }
  ui_test_clear_messages();
  import_file_through_open(write_database(join_lines({accented, euro})));
  EXPECT_EQ(entries(), (std::vector<std::string>{"01 12 23 34 45 06 07", "01 12 23 34 45 06 07"}));
}

TEST_F(DatabaseImport, CancelledDialogOrMissingFileKeepsTheEarlierDatabase) {
  std::string first = write_database(join_lines({kDraw1, kDraw2}), "first.txt");
  import_file_through_open(first);
  ASSERT_EQ(g_database_draw_count, 2);
  std::filesystem::create_directory("folder.txt");
  write_database("", "empty.txt");

  import_file_through_open("");
  EXPECT_TRUE(ui_test_messages().empty());

  for (const char* path : {"missing.txt", "folder.txt", "empty.txt"}) {
    SCOPED_TRACE(path);
    ui_test_clear_messages();
    import_file_through_open((std::filesystem::current_path() / path).string());
    ASSERT_EQ(ui_test_messages().size(), 1u);
    EXPECT_EQ(ui_test_messages()[0].title, "Error");
    EXPECT_EQ(ui_test_messages()[0].text, ".TXT file not found.");
    EXPECT_EQ(ui_test_messages()[0].flags, static_cast<unsigned>(UI_ICON_WARNING));
  }
  EXPECT_EQ(g_database_draw_count, 2);
  EXPECT_EQ(entries(), (std::vector<std::string>{"01 12 23 34 45 06 07", "07 13 39 47 50 02 05"}));
  EXPECT_EQ(g_database_path, first);
  EXPECT_EQ(ui_text(GADGET_DATABASE_FILE), "File:first.txt");
  EXPECT_EQ(ui_text(GADGET_DRAWS_IMPORTED), "Draws Imported:2");
}

TEST_F(DatabaseImport, UnreadableFileIsReportedAndKeepsTheEarlierDatabase) {
  std::string first = write_database(join_lines({kDraw1}), "first.txt");
  import_file_through_open(first);
  ASSERT_EQ(g_database_draw_count, 1);

  // The file has content but no one may read it; root reads anything, so
  // the check runs under another user for the moment of the import.
  std::string locked = write_database(join_lines({kDraw1, kDraw2}), "locked.txt");
  chmod(locked.c_str(), 0);
  chmod(std::filesystem::current_path().c_str(), 0755);
  const bool as_root = geteuid() == 0;
  if (as_root) ASSERT_EQ(seteuid(65534), 0);
  import_file_through_open(locked);
  if (as_root) ASSERT_EQ(seteuid(0), 0);

  ASSERT_EQ(ui_test_messages().size(), 1u);
  EXPECT_EQ(ui_test_messages()[0].title, "Error");
  EXPECT_EQ(ui_test_messages()[0].text, translate("The draws database file can't be read."));
  EXPECT_NE(ui_test_messages()[0].text.rfind("Invalid number of length", 0), 0u);
  EXPECT_EQ(g_database_draw_count, 1);
  EXPECT_EQ(g_database_path, first);
  EXPECT_EQ(ui_text(GADGET_DATABASE_FILE), "File:first.txt");
}

TEST_F(DatabaseImport, EscapeThenYesAbortsAndKeepsWhatWasRead) {
  std::string path = write_database(join_lines({kDraw1, kDraw2, kDraw3}));
  // The Escape press waits in the queue: the poll after line 1 finds it.
  ui_test_push_file_answer(path);
  ui_test_click(GADGET_OPEN_DATABASE);
  ui_test_key(WINDOW_MAIN, UI_KEY_ESCAPE);
  ui_test_push_message_answer(UI_ANSWER_YES);
  run_pending_events();
  ASSERT_EQ(ui_test_messages().size(), 1u);
  EXPECT_EQ(ui_test_messages()[0].title, "Warning!");
  EXPECT_EQ(ui_test_messages()[0].text, "Really abort?");
  EXPECT_EQ(ui_test_messages()[0].flags,
            static_cast<unsigned>(UI_MESSAGE_YES_NO | UI_ICON_WARNING));
  EXPECT_EQ(entries(), std::vector<std::string>{"01 12 23 34 45 06 07"});
  EXPECT_EQ(ui_text(GADGET_DRAWS_IMPORTED), "Draws Imported:1");
  EXPECT_EQ(g_database_path, path);
  EXPECT_EQ(ui_text(GADGET_DATABASE_FILE), "File:draws.txt");
}

TEST_F(DatabaseImport, EscapeThenNoGoesOnAndAsksOnce) {
  std::string path = write_database(join_lines({kDraw1, kDraw2, kDraw3}));
  ui_test_push_file_answer(path);
  ui_test_click(GADGET_OPEN_DATABASE);
  ui_test_key(WINDOW_MAIN, UI_KEY_ESCAPE);
  ui_test_push_message_answer(UI_ANSWER_NO);
  run_pending_events();
  EXPECT_EQ(ui_test_messages().size(), 1u);
  EXPECT_EQ(g_database_draw_count, 3);
}

TEST_F(DatabaseImport, OtherEventsDuringTheImportAreDropped) {
  std::string path = write_database(join_lines({kDraw1, kDraw2, kDraw3}));
  ui_test_push_file_answer(path);
  ui_test_click(GADGET_OPEN_DATABASE);
  ui_test_click(GADGET_RESET);  // taken by the import's poll, never handled
  run_pending_events();
  EXPECT_EQ(g_database_draw_count, 3);
  EXPECT_EQ(ui_test_queue_length(), 0);
}

TEST_F(DatabaseImport, EveryWayOutStopsTheTimer) {
  struct Case {
    const char* name;
    std::string bytes;
    int answer;  // to "Really abort?", 0 when Escape is not pressed
  };
  const std::vector<Case> cases = {
      {"end of file", join_lines({kDraw1, kDraw2}), 0},
      {"end line", join_lines({kDraw1, "@end_database", kDraw2}), 0},
      {"bad line", join_lines({kDraw1, "bad"}), 0},
      {"abort", join_lines({kDraw1, kDraw2}), UI_ANSWER_YES},
      {"end of a CSV file", join_lines({"date,n1,n2,n3,n4,n5,s1,s2", "2004-02-13,16,29,32,36,41,7,9"}), 0},
      {"bad CSV row", join_lines({"date,n1,n2,n3,n4,n5,s1,s2", "2004-02-13,16,29,32,36,41,7"}), 0},
      {"abort of a CSV file", join_lines({"date,n1,n2,n3,n4,n5,s1,s2", "2004-02-13,16,29,32,36,41,7,9"}),
       UI_ANSWER_YES},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui_test_push_file_answer(write_database(c.bytes));
    ui_test_click(GADGET_OPEN_DATABASE);
    if (c.answer != 0) {
      ui_test_key(WINDOW_MAIN, UI_KEY_ESCAPE);
      ui_test_push_message_answer(c.answer);
    }
    run_pending_events();
    // A timer left running would tick within its 800 ms.
    EXPECT_EQ(ui_wait_event(900), UI_EVENT_NONE);
  }
}

TEST_F(DatabaseImport, FileNameShownAfterTheLastSeparator) {
  struct Case {
    std::string path;
    std::string shown;
  };
  const std::vector<Case> cases = {
      {"C:\\results\\draws.txt", "File:draws.txt"},
      {"/home/player/draws.txt", "File:draws.txt"},
      {"draws.txt", "File:n/a"},
      {"/home/player/", "File:n/a"},
      {"", "File:n/a"},
      // The backslash decides when both occur, wherever they stand.
      {"a\\b/c.txt", "File:b/c.txt"},
      {"a/b\\c.txt", "File:c.txt"},
  };
  for (const Case& c : cases) {
    g_database_path = c.path;
    show_database_file_name();
    EXPECT_EQ(ui_text(GADGET_DATABASE_FILE), c.shown) << c.path;
  }
}

TEST_F(DatabaseImport, RealHistoryImportsEveryDraw) {
  std::string path = history_file("past_results.txt");
  import_file_through_open(path);
  EXPECT_TRUE(ui_test_messages().empty());
  EXPECT_EQ(g_database_draw_count, 1698);
  EXPECT_EQ(g_database_draws[1], "16 29 32 36 41 07 09");
  EXPECT_EQ(g_database_draws[1698], "02 03 19 36 37 06 09");
  EXPECT_EQ(ui_text(GADGET_DRAWS_IMPORTED), "Draws Imported:1698");
  EXPECT_EQ(ui_text(GADGET_DATABASE_FILE), "File:past_results.txt");
}

// ---- the operators' result files ------------------------------------------------

// One past result as the history files write it.
struct Result {
  std::string date;  // yyyy-mm-dd
  std::vector<int> numbers;
  std::vector<int> stars;
};

// The draws of data/past_results.txt, read here by their columns.
std::vector<Result> history_results() {
  std::vector<Result> results;
  FILE* f = std::fopen(history_file("past_results.txt").c_str(), "rb");
  EXPECT_NE(f, nullptr);
  if (f == nullptr) return results;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, f) != nullptr) {
    std::string line(buffer);
    if (line.empty() || line[0] == '#' || line.rfind("@end_database", 0) == 0) continue;
    Result r{line.substr(6, 10), {}, {}};
    for (int k = 0; k < 5; ++k) r.numbers.push_back(std::stoi(line.substr(17 + 3 * k, 2)));
    r.stars = {std::stoi(line.substr(33, 2)), std::stoi(line.substr(37, 2))};
    results.push_back(r);
  }
  std::fclose(f);
  return results;
}

std::string two(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

// The entries the import is to keep of these results: five numbers and two
// stars, two digits each, in the order of the list.
std::vector<std::string> entries_of(const std::vector<Result>& results) {
  std::vector<std::string> out;
  for (const Result& r : results) {
    std::string e;
    for (int v : r.numbers) e += two(v) + " ";
    out.push_back(e + two(r.stars[0]) + " " + two(r.stars[1]));
  }
  return out;
}

// The values in an order an operator might have drawn them.
std::vector<int> as_drawn(std::vector<int> values, std::mt19937& random) {
  for (size_t i = values.size(); i > 1; --i) std::swap(values[i - 1], values[random() % i]);
  return values;
}

std::string joined(const std::vector<std::string>& fields, const std::string& separator) {
  std::string out;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += separator;
    out += fields[i];
  }
  return out;
}

std::string year_of(const Result& r) { return r.date.substr(0, 4); }
std::string month_of(const Result& r) { return r.date.substr(5, 2); }
std::string day_of(const Result& r) { return r.date.substr(8, 2); }

// The French operator's form: semicolons, many columns, newest first, the
// oldest rows dated yyyymmdd and the others dd/mm/yyyy, each row ending in a
// semicolon.
std::string french_file(const std::vector<Result>& results) {
  std::mt19937 random(7);
  std::string text =
      "annee_numero_de_tirage;jour_de_tirage;date_de_tirage;date_de_forclusion;boule_1;boule_2;boule_3;"
      "boule_4;boule_5;etoile_1;etoile_2;boules_gagnantes_en_ordre_croissant;"
      "etoiles_gagnantes_en_ordre_croissant;nombre_de_gagnant_au_rang1_Euro_Millions_en_france;"
      "rapport_du_rang1_Euro_Millions;devise;\n";
  for (size_t i = results.size(); i-- > 0;) {
    const Result& r = results[i];
    const std::string date = year_of(r) < "2006" ? year_of(r) + month_of(r) + day_of(r)
                                                 : day_of(r) + "/" + month_of(r) + "/" + year_of(r);
    std::vector<std::string> fields = {year_of(r) + std::to_string(100 + i % 100), i % 2 ? "MARDI" : "VENDREDI",
                                       date, "01/01/2099"};
    for (int v : as_drawn(r.numbers, random)) fields.push_back(std::to_string(v));
    for (int v : as_drawn(r.stars, random)) fields.push_back(std::to_string(v));
    fields.push_back(two(r.numbers[0]) + "+" + two(r.numbers[1]) + "+" + two(r.numbers[2]));
    fields.push_back(two(r.stars[0]) + "+" + two(r.stars[1]));
    fields.push_back(std::to_string(i % 3));
    fields.push_back("15234567,80");
    fields.push_back("eur");
    text += joined(fields, ";") + ";\n";
  }
  return text;
}

// The UK operator's draw history: dates such as 04-Apr-2023, newest first,
// further columns after the stars (one quoted, holding a comma), CR LF.
std::string uk_file(const std::vector<Result>& results) {
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::mt19937 random(11);
  std::string text =
      "DrawDate,Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Lucky Star 1,Lucky Star 2,UK Millionaire Maker,"
      "European Millionaire Maker,DrawNumber\r\n";
  for (size_t i = results.size(); i-- > 0;) {
    const Result& r = results[i];
    std::vector<std::string> fields = {day_of(r) + "-" + kMonths[std::stoi(month_of(r)) - 1] + "-" + year_of(r)};
    for (int v : as_drawn(r.numbers, random)) fields.push_back(std::to_string(v));
    for (int v : as_drawn(r.stars, random)) fields.push_back(std::to_string(v));
    fields.push_back(i % 5 ? "XBRT" + std::to_string(10000 + i) : "\"XBRT10001, XBRT10002\"");
    fields.push_back("");
    fields.push_back(std::to_string(i + 1));
    text += joined(fields, ",") + "\r\n";
  }
  return text;
}

// The plain form as a spreadsheet saves it: a byte-order mark, CR LF, the
// rows in no order and each row's values as drawn.
std::string plain_file_from_a_spreadsheet(const std::vector<Result>& results) {
  std::mt19937 random(3);
  std::vector<size_t> order(results.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  for (size_t i = order.size(); i > 1; --i) std::swap(order[i - 1], order[random() % i]);
  std::string text = "\xEF\xBB\xBF" "date,n1,n2,n3,n4,n5,s1,s2\r\n";
  for (size_t i : order) {
    std::vector<std::string> fields = {results[i].date};
    for (int v : as_drawn(results[i].numbers, random)) fields.push_back(std::to_string(v));
    for (int v : as_drawn(results[i].stars, random)) fields.push_back(std::to_string(v));
    text += joined(fields, ",") + "\r\n";
  }
  return text;
}

// What data/README.md promises of the two history files: the same draws,
// dates that rise, and each draw five different numbers of 1..50 and two
// different stars of 1..12. Read here column by column, not by the import.
TEST_F(DatabaseImport, BothHistoryFilesHoldTheSameDrawsInRisingDates) {
  const std::vector<Result> results = history_results();
  ASSERT_EQ(results.size(), 1698u);
  const std::string csv = read_file_bytes(history_file("results.csv"));
  std::vector<std::string> rows;
  for (size_t from = 0, to; from < csv.size(); from = to + 1) {
    to = csv.find('\n', from);
    if (to == std::string::npos) to = csv.size();
    rows.push_back(csv.substr(from, to - from));
  }
  ASSERT_EQ(rows.size(), results.size() + 1);
  EXPECT_EQ(rows[0], "date,n1,n2,n3,n4,n5,s1,s2");
  for (size_t i = 0; i < results.size(); ++i) {
    const Result& r = results[i];
    SCOPED_TRACE(r.date);
    std::vector<std::string> fields = {r.date};
    for (int v : r.numbers) fields.push_back(std::to_string(v));
    for (int v : r.stars) fields.push_back(std::to_string(v));
    EXPECT_EQ(rows[i + 1], joined(fields, ","));
    if (i > 0) EXPECT_LT(results[i - 1].date, r.date);
    std::vector<int> n = r.numbers, s = r.stars;
    std::sort(n.begin(), n.end());
    std::sort(s.begin(), s.end());
    EXPECT_TRUE(n.front() >= 1 && n.back() <= 50 && std::adjacent_find(n.begin(), n.end()) == n.end());
    EXPECT_TRUE(s.front() >= 1 && s.back() <= 12 && s[0] != s[1]);
  }
}

// Every form of results file, written here from the real history, imports
// to exactly the entries of data/past_results.txt, oldest first, as that
// file itself does; the file's name is shown as for any other.
TEST_F(DatabaseImport, EveryFormOfResultsFileGivesTheEntriesOfTheHistory) {
  const std::vector<Result> results = history_results();
  const std::vector<std::string> expected = entries_of(results);
  ASSERT_EQ(expected.size(), 1698u);
  EXPECT_EQ(expected.front(), "16 29 32 36 41 07 09");
  struct Case {
    const char* name;
    std::string path;
  };
  const std::vector<Case> cases = {
      {"the program's own", history_file("past_results.txt")},
      {"the shipped CSV", history_file("results.csv")},
      {"French", write_database(french_file(results), "euromillions_202002.csv")},
      {"UK", write_database(uk_file(results), "euromillions-draw-history.csv")},
      {"plain from a spreadsheet", write_database(plain_file_from_a_spreadsheet(results), "results.txt")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui_test_clear_messages();
    import_file_through_open(c.path);
    EXPECT_TRUE(ui_test_messages().empty());
    EXPECT_EQ(g_database_draw_count, 1698);
    EXPECT_TRUE(entries() == expected);
    EXPECT_EQ(g_database_path, c.path);
    EXPECT_EQ(ui_text(GADGET_DATABASE_FILE), "File:" + std::filesystem::path(c.path).filename().string());
    EXPECT_EQ(ui_text(GADGET_DRAWS_IMPORTED), "Draws Imported:1698");
  }
}

// Every check holds for the operators' files: the line named is the file's
// own line (the header is line 1, an empty line counts), and the rows read
// before it stay, oldest first.
TEST_F(DatabaseImport, ARowThatCannotBeAResultStopsAtItsLine) {
  const std::string plain = "date,n1,n2,n3,n4,n5,s1,s2";
  const std::string french =
      "annee_numero_de_tirage;date_de_tirage;boule_1;boule_2;boule_3;boule_4;boule_5;etoile_1;etoile_2;rapport";
  const std::string uk = "DrawDate,Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Lucky Star 1,Lucky Star 2,DrawNumber";
  const std::string first = "2004-02-20,7,13,39,47,50,2,5";
  const std::vector<std::string> none;
  const std::vector<std::string> one = {"07 13 39 47 50 02 05"};
  struct Case {
    std::vector<std::string> lines;
    std::string message;
    std::vector<std::string> kept;
  };
  const std::vector<Case> cases = {
      // Values: out of range, repeated, not a number.
      {{plain, first, "2004-02-27,14,18,19,31,51,4,5"}, "Invalid number or star in line:3", one},
      {{plain, first, "2004-02-27,14,18,19,31,0,4,5"}, "Invalid number or star in line:3", one},
      {{plain, first, "2004-02-27,14,18,19,31,37,4,13"}, "Invalid number or star in line:3", one},
      {{plain, first, "2004-02-27,14,18,19,14,37,4,5"}, "Invalid number or star in line:3", one},
      {{plain, first, "2004-02-27,14,18,19,31,37,5,5"}, "Invalid number or star in line:3", one},
      {{plain, first, "2004-02-27,14,18,19,3O,37,4,5"}, "Invalid number or star in line:3", one},
      {{plain, first, "2004-02-27,14,18,19,31,37,1l,5"}, "Invalid number or star in line:3", one},
      {{plain, first, "2004-02-27,14,18,19,31,37,4.0,5"}, "Invalid number or star in line:3", one},
      {{plain, first, "2004-02-27,14,18,,31,37,4,5"}, "Invalid number or star in line:3", one},
      {{plain, first, "2004-02-27,14,18,-19,31,37,4,5"}, "Invalid number or star in line:3", one},
      {{plain, "2004-02-27,14,18,19,31,37,4,18446744073709551621"}, "Invalid number or star in line:2", none},
      // Columns: missing from the header or from a row.
      {{"date,n1,n2,n3,n4,n5,s1"}, "Missing column in line:1", none},
      {{"n1,n2,date,n3,n4,n5,s1,s3", first}, "Missing column in line:1", none},
      {{uk.substr(0, uk.find(",Lucky Star 2"))}, "Missing column in line:1", none},
      {{"boule_1;boule_2;boule_3;boule_4;boule_5;etoile_1;date_de_tirage"}, "Missing column in line:1", none},
      {{plain, first, "2004-02-27,14,18,19,31,37,4"}, "Missing column in line:3", one},
      {{french, "2004001;20040213;16;29;32;36;41;7"}, "Missing column in line:2", none},
      // A line of bytes that make no character is no empty line.
      {{plain, first, "\x8a"}, "Missing column in line:3", one},
      // Dates: none, impossible, or the same twice.
      {{plain, first, "2004-02-30,14,18,19,31,37,4,5"}, "Invalid date in line:3", one},
      {{plain, first, "27/02/04,14,18,19,31,37,4,5"}, "Invalid date in line:3", one},
      {{plain, first, ",14,18,19,31,37,4,5"}, "Invalid date in line:3", one},
      {{french, "2004001;32/01/2004;16;29;32;36;41;7;9;0"}, "Invalid date in line:2", none},
      {{french, "2004001;20040230;16;29;32;36;41;7;9;0"}, "Invalid date in line:2", none},
      {{uk, "31-Apr-2023,1,2,3,4,5,6,7,1"}, "Invalid date in line:2", none},
      {{uk, "04-Apx-2023,1,2,3,4,5,6,7,1"}, "Invalid date in line:2", none},
      {{plain, first, "2004-02-20,14,18,19,31,37,4,5"}, "Repeated date in line:3", one},
      {{french, "2004002;20/02/2004;39;7;50;13;47;5;2;0", "2004001;20040220;16;29;32;36;41;7;9;0"},
       "Repeated date in line:3", one},
      // Rows newest first: those read before the bad line stay, oldest first.
      {{uk, "27-Feb-2004,37,14,31,19,18,5,4,3", "20-Feb-2004,50,7,47,39,13,5,2,2", "", "13-Feb-2004,1,2,3,4,5,6,6,1"},
       "Invalid number or star in line:5",
       {"07 13 39 47 50 02 05", "14 18 19 31 37 04 05"}},
      // A row too long to be read whole is refused, not read in part.
      {{plain, first, "2004-02-27,14,18,19,31,37,4,5," + std::string(70 * 1024, 'x')},
       "Invalid number of length in line:3", one},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines.back().substr(0, 60));
    ui_test_clear_messages();
    const std::string path = write_database(join_lines(c.lines) + "2010-01-01,1,2,3,4,5,6,7\n", "results.csv");
    import_file_through_open(path);
    ASSERT_EQ(ui_test_messages().size(), 1u);
    EXPECT_EQ(ui_test_messages()[0].title, "Error");
    EXPECT_EQ(ui_test_messages()[0].text, c.message);
    EXPECT_EQ(ui_test_messages()[0].flags, static_cast<unsigned>(UI_ICON_WARNING));
    EXPECT_EQ(entries(), c.kept);
    EXPECT_EQ(g_database_path, path);
    EXPECT_EQ(ui_text(GADGET_DRAWS_IMPORTED), "Draws Imported:" + std::to_string(c.kept.size()));
  }
}

// The messages of the operators' files in the Portuguese program.
TEST_F(DatabaseImport, TheOperatorsFilesMessagesInPortuguese) {
  g_language = 2;
  struct Case {
    std::string bytes;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"date,n1,n2,n3,n4,n5,s1\n", "Coluna em falta na linha:1"},
      {"date,n1,n2,n3,n4,n5,s1,s2\n2004-02-30,1,2,3,4,5,6,7\n", "Data inválida na linha:2"},
      {"date,n1,n2,n3,n4,n5,s1,s2\n2004-02-13,1,2,3,4,5,6,7\n2004-02-13,1,2,3,4,5,6,7\n",
       "Data repetida na linha:3"},
  };
  for (const Case& c : cases) {
    ui_test_clear_messages();
    import_file_through_open(write_database(c.bytes, "results.csv"));
    ASSERT_EQ(ui_test_messages().size(), 1u);
    EXPECT_EQ(ui_test_messages()[0].title, "Erro");
    EXPECT_EQ(ui_test_messages()[0].text, c.message);
  }
}

// Escape is polled after every line of an operator's file too; Yes keeps the
// rows read so far, in date order.
TEST_F(DatabaseImport, EscapeDuringAnOperatorsFileKeepsTheRowsReadInDateOrder) {
  const std::string path = write_database(join_lines({
                                              "DrawDate,Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Lucky Star 1,Lucky Star 2",
                                              "27-Feb-2004,37,14,31,19,18,5,4",
                                              "20-Feb-2004,50,7,47,39,13,5,2",
                                              "13-Feb-2004,41,36,32,29,16,9,7",
                                          }),
                                          "draw-history.csv");
  ui_test_push_file_answer(path);
  ui_test_click(GADGET_OPEN_DATABASE);
  // The polls after the header and the first row each take one of these
  // clicks (and drop it); the one after the second row takes the Escape.
  ui_test_click(GADGET_RESET);
  ui_test_click(GADGET_RESET);
  ui_test_key(WINDOW_MAIN, UI_KEY_ESCAPE);
  ui_test_push_message_answer(UI_ANSWER_YES);
  run_pending_events();
  ASSERT_EQ(ui_test_messages().size(), 1u);
  EXPECT_EQ(ui_test_messages()[0].text, "Really abort?");
  EXPECT_EQ(entries(), (std::vector<std::string>{"07 13 39 47 50 02 05", "14 18 19 31 37 04 05"}));
  EXPECT_EQ(ui_text(GADGET_DRAWS_IMPORTED), "Draws Imported:2");
  EXPECT_EQ(g_database_path, path);
}

}  // namespace
