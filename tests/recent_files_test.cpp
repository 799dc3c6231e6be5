#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/core.h"
#include "core/ids.h"
#include "support/test_support.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

class RecentFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    enter_fresh_directory();
    init_game_state();
    ui_test_reset();
    ASSERT_TRUE(ui_open_window(WINDOW_MAIN, 0, 0, 400, 300, "recent", UI_WINDOW_CAPTION));
    ASSERT_TRUE(ui_create_menu(MENU_MAIN, WINDOW_MAIN));
    ui_menu_title("File");
    ui_open_sub_menu("Recent Files");
    for (int item = MENU_RECENT_FIRST; item <= MENU_RECENT_LAST; ++item)
      ui_menu_item(item, std::to_string(item - MENU_RECENT_FIRST + 1) + ":");
    ui_menu_separator();
    ui_menu_item(MENU_RECENT_CLEAR, "Clear");
    ui_close_sub_menu();
  }

  static std::string log_path() { return g_program_dir + "settings/recent_files.log"; }

  static std::string log_of(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    return bytes;
  }

  // Slots 1..10 as the program holds them.
  static std::vector<std::string> slots() {
    return std::vector<std::string>(g_recent_files.begin() + 1, g_recent_files.begin() + 11);
  }

  static std::vector<std::string> ten(std::vector<std::string> lines) {
    lines.resize(10);
    return lines;
  }

  static std::vector<std::string> numbered(int count) {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i) lines.push_back("/home/player/p" + std::to_string(i) + ".draws.txt");
    return lines;
  }

  // Each change of the list followed by the menu, as the callers do it.
  static void record(const std::string& path) {
    update_recent_files(path);
    refresh_recent_files_menu();
  }
};

TEST_F(RecentFilesTest, FirstStartCreatesTenEmptyLinesAndDisabledItems) {
  ASSERT_FALSE(std::filesystem::exists(log_path()));
  record("");
  std::string crlf10;
  for (int i = 0; i < 10; ++i) crlf10 += "\r\n";
  EXPECT_EQ(read_file_bytes(log_path()), crlf10);
  for (int i = 1; i <= 10; ++i) {
    int item = MENU_RECENT_FIRST + i - 1;
    EXPECT_EQ(ui_menu_item_text(MENU_MAIN, item), std::to_string(i) + ": ");
    EXPECT_TRUE(ui_menu_item_disabled(MENU_MAIN, item)) << item;
  }
}

TEST_F(RecentFilesTest, MissingOrEmptyLogIsCreatedWithoutRecordingThePath) {
  for (bool empty_file : {false, true}) {
    std::filesystem::remove(log_path());
    if (empty_file) write_file_bytes(log_path(), "");
    g_recent_files.assign(11, "");
    g_recent_files[1] = "/kept/in/memory.draws.txt";
    update_recent_files("/new.draws.txt");
    EXPECT_EQ(read_file_bytes(log_path()), log_of(ten({})));
    EXPECT_EQ(g_recent_files[1], "/kept/in/memory.draws.txt");
    EXPECT_EQ(g_recent_files[2], "");
    // The next call finds the log and records.
    update_recent_files("/new.draws.txt");
    EXPECT_EQ(slots(), ten({"/new.draws.txt"}));
  }
}

TEST_F(RecentFilesTest, ChosenEntryMovesToTheTop) {
  std::vector<std::string> p = numbered(10);
  write_file_bytes(log_path(), log_of(p));
  record(p[3]);
  std::vector<std::string> expected = {p[3], p[0], p[1], p[2], p[4], p[5], p[6], p[7], p[8], p[9]};
  EXPECT_EQ(slots(), expected);
  EXPECT_EQ(read_file_bytes(log_path()), log_of(expected));
  EXPECT_EQ(ui_menu_item_text(MENU_MAIN, 15), "1: " + p[3]);
  EXPECT_EQ(ui_menu_item_text(MENU_MAIN, 18), "4: " + p[2]);
  EXPECT_EQ(ui_menu_item_text(MENU_MAIN, 19), "5: " + p[4]);
}

TEST_F(RecentFilesTest, EleventhEntryDropsTheOldest) {
  std::vector<std::string> p = numbered(10);
  write_file_bytes(log_path(), log_of(p));
  record("/home/player/new.draws.txt");
  std::vector<std::string> expected = {"/home/player/new.draws.txt"};
  expected.insert(expected.end(), p.begin(), p.begin() + 9);
  EXPECT_EQ(slots(), expected);
  EXPECT_EQ(read_file_bytes(log_path()), log_of(expected));
  EXPECT_EQ(read_file_bytes(log_path()).find(p[9]), std::string::npos);
  EXPECT_EQ(ui_menu_item_text(MENU_MAIN, 24), "10: " + p[8]);
  for (int item = 15; item <= 24; ++item) EXPECT_FALSE(ui_menu_item_disabled(MENU_MAIN, item));
}

TEST_F(RecentFilesTest, SameFileTwiceKeepsOneEntryAndCaseCounts) {
  record("");
  record("/d/a.draws.txt");
  record("/d/b.draws.txt");
  record("/d/a.draws.txt");
  record("/d/a.draws.txt");
  EXPECT_EQ(slots(), ten({"/d/a.draws.txt", "/d/b.draws.txt"}));
  record("/d/A.draws.txt");
  EXPECT_EQ(slots(), ten({"/d/A.draws.txt", "/d/a.draws.txt", "/d/b.draws.txt"}));
  EXPECT_EQ(read_file_bytes(log_path()),
            log_of(ten({"/d/A.draws.txt", "/d/a.draws.txt", "/d/b.draws.txt"})));
  EXPECT_EQ(ui_menu_item_text(MENU_MAIN, 17), "3: /d/b.draws.txt");
  EXPECT_FALSE(ui_menu_item_disabled(MENU_MAIN, 17));
  EXPECT_EQ(ui_menu_item_text(MENU_MAIN, 18), "4: ");
  EXPECT_TRUE(ui_menu_item_disabled(MENU_MAIN, 18));
}

// The menu shows every path as stored: an "&" is no keyboard marker there.
TEST_F(RecentFilesTest, MenuShowsPathsWithAmpersandsWhole) {
  const std::vector<std::string> paths = {"/home/me/R&D/week.draws.txt", "/tmp/a&&b.draws.txt",
                                          "/tmp/&lead.draws.txt", "/tmp/trail&"};
  record("");
  for (const std::string& path : paths) record(path);
  for (size_t i = 0; i < paths.size(); ++i) {
    const std::string& path = paths[paths.size() - 1 - i];  // the last recorded on top
    int item = MENU_RECENT_FIRST + static_cast<int>(i);
    EXPECT_EQ(ui_menu_item_text(MENU_MAIN, item), std::to_string(i + 1) + ": " + path);
    EXPECT_EQ(g_recent_files[i + 1], path);
  }
}

TEST_F(RecentFilesTest, LongLogIsCutToTenLines) {
  std::vector<std::string> p = numbered(12);
  write_file_bytes(log_path(), log_of(p));
  record("");
  std::vector<std::string> first(p.begin(), p.begin() + 10);
  EXPECT_EQ(slots(), first);
  EXPECT_EQ(read_file_bytes(log_path()), log_of(first));
}

TEST_F(RecentFilesTest, ReadingTakesEveryLineEndAndKeepsAByteOrderMark) {
  const std::string bom = "\xEF\xBB\xBF";
  write_file_bytes(log_path(), bom + "/a\n/b\r/c\r\n\r\n/é ü.draws.txt");
  record("");
  std::vector<std::string> expected = ten({bom + "/a", "/b", "/c", "", "/é ü.draws.txt"});
  EXPECT_EQ(slots(), expected);
  // Loading alone closes no gaps; it only rewrites the log in its own form.
  EXPECT_EQ(read_file_bytes(log_path()), log_of(expected));
  EXPECT_TRUE(ui_menu_item_disabled(MENU_MAIN, 18));
  EXPECT_EQ(ui_menu_item_text(MENU_MAIN, 19), "5: /é ü.draws.txt");
  // Recording closes them.
  record("/c");
  EXPECT_EQ(slots(), ten({"/c", bom + "/a", "/b", "/é ü.draws.txt"}));
}

TEST_F(RecentFilesTest, ClearEmptiesSlotsLogAndMenu) {
  write_file_bytes(log_path(), log_of(numbered(10)));
  record("/x.draws.txt");
  clear_recent_files();
  for (const std::string& slot : g_recent_files) EXPECT_EQ(slot, "");
  EXPECT_EQ(g_recent_files.size(), 11u);
  EXPECT_EQ(read_file_bytes(log_path()), log_of(ten({})));
  for (int item = 15; item <= 24; ++item) {
    EXPECT_TRUE(ui_menu_item_disabled(MENU_MAIN, item)) << item;
    EXPECT_EQ(ui_menu_item_text(MENU_MAIN, item), std::to_string(item - 14) + ": ");
  }
}

TEST_F(RecentFilesTest, FolderInPlaceOfTheLogIsLeftAloneAndTheMenuShowsTheRun) {
  std::filesystem::create_directories(log_path() + "/inside");
  g_recent_files.assign(11, "");
  g_recent_files[1] = "/mem.draws.txt";
  record("/other.draws.txt");
  EXPECT_TRUE(std::filesystem::is_directory(log_path() + "/inside"));
  int entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(g_program_dir + "settings")) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 1) << "no temporary file left behind";
  EXPECT_EQ(ui_menu_item_text(MENU_MAIN, 15), "1: /mem.draws.txt");
  clear_recent_files();
  EXPECT_TRUE(std::filesystem::is_directory(log_path()));
}

TEST_F(RecentFilesTest, NoSettingsFolderWritesNothing) {
  std::filesystem::remove_all(g_program_dir + "settings");
  record("");
  record("/a.draws.txt");
  clear_recent_files();
  EXPECT_FALSE(std::filesystem::exists(g_program_dir + "settings"));
}

TEST_F(RecentFilesTest, FailedWriteKeepsThePreviousLog) {
  // A file-size limit smaller than the new log makes the write fail part way
  // (root is not exempt from it); the log on disk must stay whole.
  std::vector<std::string> p = numbered(3);
  write_file_bytes(log_path(), log_of(ten(p)));
  const std::string before = read_file_bytes(log_path());
  const std::string long_path = "/a/much/longer/path/than/the/limit/allows/for/this/log.draws.txt";
  std::string after_failure, first_item, after_clear;
  with_file_size_limit(before.size() + 10, [&] {
    record(long_path);
    after_failure = read_file_bytes(log_path());
    first_item = ui_menu_item_text(MENU_MAIN, MENU_RECENT_FIRST);
    clear_recent_files();  // 20 bytes fit under the limit
    after_clear = read_file_bytes(log_path());
  });
  EXPECT_EQ(after_failure, before);
  EXPECT_EQ(first_item, "1: " + long_path);
  EXPECT_EQ(after_clear, log_of(ten({})));
  int entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(g_program_dir + "settings")) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 1) << "no temporary file left behind";
}

// A line break in a path would split its line of the log, so such a path is
// never recorded; the ten entries stay whole, in the log and in the menu.
TEST_F(RecentFilesTest, APathWithALineBreakLeavesTheTenEntriesWhole) {
  const std::vector<std::string> p = numbered(10);
  write_file_bytes(log_path(), log_of(p));
  record("");
  for (const std::string& path : {"/home/player/week\n13.draws.txt", "/home/player/week\r13.draws.txt",
                                  "/home/player/week13.draws.txt\r\n"}) {
    record(path);
    EXPECT_EQ(read_file_bytes(log_path()), log_of(p)) << path;
    EXPECT_EQ(slots(), p) << path;
    EXPECT_EQ(ui_menu_item_text(MENU_MAIN, MENU_RECENT_FIRST), "1: " + p[0]) << path;
  }
  // The next start reads the same ten entries.
  g_recent_files.assign(11, "");
  record("");
  EXPECT_EQ(slots(), p);
}

// A log that is there but cannot be read is never rewritten: the start-up
// shows an empty menu, and neither a save nor Clear touches the file.
TEST_F(RecentFilesTest, AnUnreadableLogIsLeftUntouched) {
  const std::vector<std::string> p = numbered(3);
  const std::string bytes = log_of(ten(p));
  write_file_bytes(log_path(), bytes);
  ASSERT_EQ(chmod(log_path().c_str(), 0200), 0);  // writable, not readable
  std::vector<std::string> after_start, after_save, after_clear;
  std::string first_item;
  bool first_disabled = false;
  const bool enforced = with_file_permissions_enforced([&] {
    record("");
    after_start = slots();
    first_item = ui_menu_item_text(MENU_MAIN, MENU_RECENT_FIRST);
    first_disabled = ui_menu_item_disabled(MENU_MAIN, MENU_RECENT_FIRST);
    record("/home/player/new.draws.txt");
    after_save = slots();
    clear_recent_files();
    after_clear = slots();
  });
  if (!enforced) GTEST_SKIP() << "this superuser cannot give up reading every file";
  EXPECT_EQ(read_file_bytes(log_path()), bytes);
  struct stat state {};
  ASSERT_EQ(stat(log_path().c_str(), &state), 0);
  EXPECT_EQ(state.st_mode & 0777, 0200u);
  EXPECT_EQ(after_start, ten({}));
  EXPECT_EQ(first_item, "1: ");
  EXPECT_TRUE(first_disabled);
  EXPECT_EQ(after_save, ten({}));
  EXPECT_EQ(after_clear, ten({}));
  EXPECT_TRUE(staged_leftovers(g_program_dir + "settings").empty());

  // Readable again, it is read as before.
  ASSERT_EQ(chmod(log_path().c_str(), 0600), 0);
  record("");
  EXPECT_EQ(slots(), ten(p));
}

// A read-only log in a writable folder is not replaced: not after a save,
// not by Clear, whose rename would pass over its permission. The menu shows
// the list of this run all the same.
TEST_F(RecentFilesTest, AReadOnlyLogKeepsItsBytesAndMode) {
  const std::vector<std::string> p = numbered(3);
  const std::string bytes = log_of(ten(p));
  write_file_bytes(log_path(), bytes);
  ASSERT_EQ(chmod(log_path().c_str(), 0444), 0);
  std::vector<std::string> after_save, after_clear;
  std::string first_item;
  const bool enforced = with_file_permissions_enforced([&] {
    record("");
    record("/home/player/new.draws.txt");
    after_save = slots();
    first_item = ui_menu_item_text(MENU_MAIN, MENU_RECENT_FIRST);
    EXPECT_EQ(read_file_bytes(log_path()), bytes);
    clear_recent_files();
    after_clear = slots();
  });
  if (!enforced) GTEST_SKIP() << "this superuser cannot give up writing every file";
  EXPECT_EQ(read_file_bytes(log_path()), bytes);
  struct stat state {};
  ASSERT_EQ(stat(log_path().c_str(), &state), 0);
  EXPECT_EQ(state.st_mode & 0777, 0444u);
  std::vector<std::string> expected = p;
  expected.insert(expected.begin(), "/home/player/new.draws.txt");
  EXPECT_EQ(after_save, ten(expected));
  EXPECT_EQ(first_item, "1: /home/player/new.draws.txt");
  EXPECT_EQ(after_clear, ten({}));
  EXPECT_TRUE(staged_leftovers(g_program_dir + "settings").empty());

  // An empty read-only log is not filled either.
  write_file_bytes(log_path(), "");
  ASSERT_EQ(chmod(log_path().c_str(), 0444), 0);
  with_file_permissions_enforced([&] { record("/home/player/other.draws.txt"); });
  EXPECT_EQ(read_file_bytes(log_path()), "");
}

}  // namespace
