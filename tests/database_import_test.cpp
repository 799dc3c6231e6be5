// Import of the past-results database through "Open" on the Techniques tab.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
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
  EXPECT_EQ(d.filter, "Draws database (*.txt)|*.txt");
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

}  // namespace
