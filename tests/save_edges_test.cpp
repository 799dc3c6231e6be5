// The five saves (main settings, technique settings, recent-files log, draws
// file, extract) at the edges of the file system: a target that is a
// symbolic link, a file of the player's beside the target, a name at the
// length limit, a file-size limit, and a path holding a line break.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "core/core.h"
#include "core/files.h"
#include "core/ids.h"
#include "core/state.h"
#include "draws/draws.h"
#include "draws/main_tab_ids.h"
#include "support/program_fixture.h"
#include "support/test_support.h"
#include "techniques/catalogue.h"
#include "techniques/techniques.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

namespace fs = std::filesystem;

// One save of the program, to the file it writes.
struct Save {
  const char* name;
  std::function<std::string()> target;
  std::function<void(const std::string& target)> write;  // the new content, through the program
  std::string marker;                                     // a piece only the new content holds
  std::string old_content = "old";                        // what the target held before
};

void list_one_ticket() {
  size_draw_list(1);
  g_draw_count = 1;
  add_draw_to_list("1,12,23,34,45", "6,7");
}

// The Save dialog answered with `target`, and the overwrite question with Yes
// when the program asks it (the target exists and is not empty).
void answer_save_dialog(const std::string& target) {
  ui_test_push_file_answer(target);
  if (fs::exists(target) && fs::file_size(target) > 0) ui_test_push_message_answer(UI_ANSWER_YES);
}

std::vector<Save> five_saves() {
  const std::string ten_free_slots = [] {
    std::string s;
    for (int i = 0; i < 10; ++i) s += "\r\n";
    return s;
  }();
  return {
      {"main settings", [] { return g_program_dir + "settings/kestrova.prefs"; },
       [](const std::string&) {
         g_currency = "LINKED";
         save_main_prefs();
       },
       "LINKED\n"},
      {"technique settings", [] { return g_program_dir + "settings/techniques.prefs"; },
       [](const std::string&) {
         reset_technique_windows();
         g_techniques[T_sum_numbers].max = 0x4B4B4B;
         save_technique_prefs();
       },
       std::string("\x4B\x4B\x4B\x00", 4)},
      {"recent-files log", [] { return g_program_dir + "settings/recent_files.log"; },
       [](const std::string&) { update_recent_files("/home/player/linked.draws.txt"); },
       "/home/player/linked.draws.txt\r\n", ten_free_slots},
      {"draws file", [] { return g_program_dir + "week12.draws.txt"; },
       [](const std::string& target) {
         list_one_ticket();
         answer_save_dialog(target);
         save_draws_file(0, 1);
       },
       "\r\n1,12,23,34,45\r\n6,7\r\n"},
      {"extract", [] { return g_program_dir + "week12.txt"; },
       [](const std::string& target) {
         list_one_ticket();
         answer_save_dialog(target);
         extract_draws_to_text();
       },
       "\r\n1 12 23 34 45 + 6 7\r\n"},
  };
}

// The saves report nothing; the only message is the overwrite question.
bool nothing_reported() {
  for (const UiMessageRecord& m : ui_test_messages())
    if (m.text != "File already exists! Overwrite it?") return false;
  return true;
}

bool holds(const std::string& bytes, const std::string& piece) { return bytes.find(piece) != std::string::npos; }

class SaveEdges : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = start_program_for_test(); }
  void TearDown() override { g_test_change_file_mode = nullptr; }
  std::string dir_;
};

// Each save through a link writes the file at the end of the link's chain
// and leaves the link in place: a relative link into another folder, a chain
// of two links (the second absolute), and a link to a file not made yet.
TEST_F(SaveEdges, SavingThroughASymbolicLinkKeepsTheLink) {
  enum Shape { relative, chain, dangling };
  for (const Save& save : five_saves()) {
    for (Shape shape : {relative, chain, dangling}) {
      // A missing log is only created, with nothing recorded.
      if (shape == dangling && std::string(save.name) == "recent-files log") continue;
      SCOPED_TRACE(std::string(save.name) + ", link shape " + std::to_string(shape));
      const std::string target = save.target();
      const fs::path folder = fs::path(target).parent_path();
      const fs::path elsewhere = fs::path(dir_) / "elsewhere";
      fs::remove(target);
      fs::remove_all(elsewhere);
      fs::create_directory(elsewhere);
      const fs::path final_file = elsewhere / fs::path(target).filename();
      if (shape != dangling) write_file_bytes(final_file, save.old_content);
      const fs::path link_text = fs::relative(final_file, folder);
      if (shape == chain) {
        fs::create_symlink(final_file, elsewhere / "second_link");
        fs::create_symlink(elsewhere / "second_link", target);
      } else {
        fs::create_symlink(link_text, target);
      }
      const fs::path expected_link = shape == chain ? elsewhere / "second_link" : link_text;

      ui_test_clear_messages();
      save.write(target);
      EXPECT_TRUE(nothing_reported());
      ASSERT_TRUE(fs::is_symlink(target));
      EXPECT_EQ(fs::read_symlink(target), expected_link);
      if (shape == chain) EXPECT_TRUE(fs::is_symlink(elsewhere / "second_link"));
      EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(final_file)));
      EXPECT_TRUE(holds(read_file_bytes(final_file), save.marker));
      EXPECT_TRUE(staged_leftovers(folder).empty());
      EXPECT_TRUE(staged_leftovers(elsewhere).empty());
      fs::remove(target);
    }
  }
}

// A file of the player's that bears the target's name and ".tmp" is no
// business of the save.
TEST_F(SaveEdges, APlayersTmpFileBesideTheTargetSurvivesTheSave) {
  for (const Save& save : five_saves()) {
    SCOPED_TRACE(save.name);
    const std::string target = save.target();
    write_file_bytes(target, save.old_content);
    write_file_bytes(target + ".tmp", "the player's own");
    ui_test_clear_messages();
    save.write(target);
    EXPECT_TRUE(nothing_reported());
    EXPECT_TRUE(holds(read_file_bytes(target), save.marker));
    EXPECT_EQ(read_file_bytes(target + ".tmp"), "the player's own");
    EXPECT_TRUE(staged_leftovers(fs::path(target).parent_path()).empty());
  }
}

// A file system that keeps modes of its own (a FAT stick, some network
// mounts) refuses every change of mode: each save, of a new file and over an
// old one, still succeeds, and the file keeps the mode the system gave it.
TEST_F(SaveEdges, ASaveSucceedsWhenTheFileSystemRefusesModeChanges) {
  int refused = 0;
  static int* counter = nullptr;
  counter = &refused;
  g_test_change_file_mode = [](int, mode_t) {
    ++*counter;
    errno = EPERM;
    return -1;
  };
  for (const Save& save : five_saves()) {
    SCOPED_TRACE(save.name);
    const std::string target = save.target();
    for (bool existed : {false, true}) {
      SCOPED_TRACE(existed ? "over an old file" : "a new file");
      fs::remove(target);
      if (existed) write_file_bytes(target, save.old_content);
      const int before = refused;
      ui_test_clear_messages();
      save.write(target);
      EXPECT_TRUE(nothing_reported());
      EXPECT_GT(refused, before) << "the mode change was tried";
      ASSERT_TRUE(fs::exists(target));
      // A log that was missing is only created, with ten free slots.
      if (existed || save.name != std::string("recent-files log"))
        EXPECT_TRUE(holds(read_file_bytes(target), save.marker));
      else
        EXPECT_EQ(read_file_bytes(target), save.old_content);
      struct stat state {};
      ASSERT_EQ(::stat(target.c_str(), &state), 0);
      EXPECT_EQ(state.st_mode & 0777, 0600u) << "the mode of a file the system made";
      EXPECT_TRUE(staged_leftovers(fs::path(target).parent_path()).empty());
    }
  }
}

// A name of 252 to 255 bytes, as long as the file system allows, is saved
// like any other and opens again.
TEST_F(SaveEdges, ANameAtTheLengthLimitIsSaved) {
  for (size_t length : {252u, 255u}) {
    SCOPED_TRACE(length);
    const std::string draws = dir_ + "/" + std::string(length - 10, 'd') + ".draws.txt";
    const std::string extract = dir_ + "/" + std::string(length - 4, 'e') + ".txt";
    ASSERT_EQ(fs::path(draws).filename().string().size(), length);
    for (const Save& save : five_saves()) {
      const std::string name = save.name;
      if (name != "draws file" && name != "extract") continue;
      const std::string target = name == "draws file" ? draws : extract;
      ui_test_clear_messages();
      save.write(target);
      EXPECT_TRUE(nothing_reported()) << name;
      EXPECT_TRUE(holds(read_file_bytes(target), save.marker)) << name;
    }
    clear_draw_list();
    open_draws_file(draws);
    EXPECT_EQ(g_draw_count, 1);
    EXPECT_EQ(g_draws_file_path, draws);
    EXPECT_TRUE(staged_leftovers(dir_).empty());
  }
}

// Under a file-size limit (ulimit -f) a write past it fails as on a full
// disk: the save reports it, the old file stays and the program lives on.
// The save runs in a child that has the signal's default action, as a
// program just started has, so that only the program's own start-up can
// keep the signal from ending it.
TEST_F(SaveEdges, ASaveUnderAFileSizeLimitIsReportedAndTheProgramLives) {
  const std::string target = dir_ + "/week12.draws.txt";
  write_file_bytes(target, "the old file\r\n");
  pid_t child = fork();
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_DFL);
    ui_test_reset();
    start_program();
    constexpr int64_t kTickets = 2000;  // some 50 KB, far past the limit
    size_draw_list(kTickets);
    g_draw_numbers.assign(kTickets + 1, "3,17,22,41,50");
    g_draw_stars.assign(kTickets + 1, "2,11");
    g_draw_count = kTickets;
    g_draws_file_path = target;
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = 4096;
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(2);
    save_draws_file(1, 0);  // to the file last saved, without a dialog
    if (ui_test_messages().size() != 1 || ui_test_messages()[0].text != "Can't write the file.") _exit(3);
    if (read_file_bytes(target) != "the old file\r\n") _exit(4);
    if (!staged_leftovers(dir_).empty()) _exit(5);
    _exit(0);
  }
  ASSERT_GT(child, 0);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_FALSE(WIFSIGNALED(status)) << "the save ended the program with signal " << WTERMSIG(status);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "3: not reported, 4: old file changed, 5: left a file beside it";
  EXPECT_EQ(read_file_bytes(target), "the old file\r\n");
}

// A draws file whose path holds a line break is saved and opened as usual,
// and the recent-files log keeps its ten entries whole.
TEST_F(SaveEdges, APathWithALineBreakIsSavedAndOpenedButNotRecorded) {
  std::string log;
  for (int i = 1; i <= 10; ++i) log += "/home/player/p" + std::to_string(i) + ".draws.txt\r\n";
  dir_ = start_program_for_test(1, [&] {
    fs::create_directory("settings");
    write_file_bytes("settings/recent_files.log", log);
  });
  const std::string log_path = dir_ + "/settings/recent_files.log";
  const std::string first_item = ui_menu_item_text(MENU_MAIN, MENU_RECENT_FIRST);
  ASSERT_EQ(first_item, "1: /home/player/p1.draws.txt");
  const std::string path = dir_ + "/week\n13.draws.txt";
  for (const Save& save : five_saves()) {
    if (std::string(save.name) != "draws file") continue;
    ui_test_clear_messages();
    save.write(path);
    EXPECT_TRUE(nothing_reported());
    EXPECT_TRUE(holds(read_file_bytes(path), save.marker));
  }
  EXPECT_EQ(g_draws_file_path, path);
  EXPECT_EQ(read_file_bytes(log_path), log);
  EXPECT_EQ(ui_menu_item_text(MENU_MAIN, MENU_RECENT_FIRST), first_item);

  clear_draw_list();
  open_draws_file(path);
  EXPECT_EQ(g_draw_count, 1);
  EXPECT_EQ(read_file_bytes(log_path), log);
  EXPECT_EQ(ui_menu_item_text(MENU_MAIN, MENU_RECENT_FIRST), first_item);
}

}  // namespace
