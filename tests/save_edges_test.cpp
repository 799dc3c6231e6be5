// The five saves (main settings, technique settings, recent-files log, draws
// file, extract) at the edges of the file system: a target that is a
// symbolic link, a file of the player's beside the target, a name at the
// length limit, a file-size limit, a path holding a line break, and what
// killed saves and other copies of the program have in the target's folder.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
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

// ---- what killed saves and running ones leave beside the target -------------

// The folder a save stages its file in.
std::string folder_of(const Save& save) { return fs::path(save.target()).parent_path().string(); }

// Set in a child before it saves: the first step at which a staged file of
// its own in g_watched_folder holds g_watched_piece kills it, its content
// then staged in full and its rename still to come.
std::string g_watched_folder;
std::string g_watched_piece;
std::vector<std::string> g_staged_before;  // not the child's own
void kill_once_staged_in_full() {
  for (const std::string& name : staged_leftovers(g_watched_folder)) {
    if (std::find(g_staged_before.begin(), g_staged_before.end(), name) != g_staged_before.end()) continue;
    if (holds(read_file_bytes(g_watched_folder + "/" + name), g_watched_piece)) ::raise(SIGKILL);
  }
}

// Runs the save in a child process that is killed between staging its file
// and renaming it. True when the kill came.
bool kill_save_before_its_rename(const Save& save) {
  const std::string target = save.target();
  pid_t child = fork();
  if (child == 0) {
    g_watched_folder = folder_of(save);
    g_watched_piece = save.marker;
    g_staged_before = staged_leftovers(g_watched_folder);
    g_test_staged_file_step = kill_once_staged_in_full;
    save.write(target);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

// A pipe from one process to another. After the fork each side keeps only
// its own end, so that one side ending or failing gives the other the end
// of the file instead of a wait for ever.
struct Pipe {
  int ends[2] = {-1, -1};
  Pipe() {
    if (::pipe(ends) != 0) ADD_FAILURE() << "no pipe";
  }
  ~Pipe() {
    for (int end : ends)
      if (end >= 0) ::close(end);
  }
  void keep_end(int which) {
    ::close(ends[1 - which]);
    ends[1 - which] = -1;
  }
  void send(const std::string& text) const {
    if (::write(ends[1], text.data(), text.size()) != static_cast<ssize_t>(text.size())) std::abort();
  }
  // Reads up to `lines` lines; fewer when the other side closed its end.
  std::vector<std::string> receive_lines(size_t lines) const {
    std::vector<std::string> got;
    std::string line;
    char c;
    while (got.size() < lines && ::read(ends[0], &c, 1) == 1) {
      if (c != '\n') line += c;
      else got.push_back(std::exchange(line, ""));
    }
    return got;
  }
};
constexpr int kReadEnd = 0;
constexpr int kWriteEnd = 1;

// Waits for the child and gives its exit code, or -1 when a signal ended it.
int exit_code_of(pid_t child) {
  int status = 0;
  if (waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Each of the five saves removes from its folder the file that a save killed
// after staging its content, before the rename, left there.
TEST_F(SaveEdges, EachSaveRemovesWhatASaveKilledBeforeItsRenameLeft) {
  for (const Save& save : five_saves()) {
    SCOPED_TRACE(save.name);
    const std::string target = save.target();
    const std::string folder = folder_of(save);
    const std::vector<std::string> before = staged_leftovers(folder);
    write_file_bytes(target, save.old_content);
    ASSERT_TRUE(kill_save_before_its_rename(save));
    EXPECT_EQ(read_file_bytes(target), save.old_content);
    std::vector<std::string> left;
    for (const std::string& name : staged_leftovers(folder))
      if (std::find(before.begin(), before.end(), name) == before.end()) left.push_back(name);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_TRUE(holds(read_file_bytes(folder + "/" + left[0]), save.marker));

    ui_test_clear_messages();
    save.write(target);
    EXPECT_TRUE(nothing_reported());
    EXPECT_TRUE(holds(read_file_bytes(target), save.marker));
    EXPECT_TRUE(staged_leftovers(folder).empty());
  }
}

// Another copy of the program in the middle of a save holds a staged file in
// each of the two folders the saves write to. Every save leaves both alone,
// while it removes the leftover of a save that died beside them; the other
// copy then finishes its saves.
TEST_F(SaveEdges, AStagedFileOfASaveStillRunningIsLeftAlone) {
  const std::vector<std::string> folders = {dir_, g_program_dir + "settings"};
  Pipe ready, go;
  pid_t other = fork();
  if (other == 0) {
    ready.keep_end(kWriteEnd);
    go.keep_end(kReadEnd);
    StagedFile files[2];
    std::string names;
    for (int k = 0; k < 2; ++k) {
      if (!open_staged_file(files[k], folders[k] + "/other.txt")) _exit(2);
      write_staged_file(files[k], "written before, ");
      names += fs::path(files[k].temporary).filename().string() + "\n";
    }
    ready.send(names);
    if (go.receive_lines(1).size() != 1) _exit(3);
    for (StagedFile& file : files) {
      write_staged_file(file, "and after the other saves");
      if (!commit_staged_file(file)) _exit(4);
    }
    _exit(0);
  }
  ASSERT_GT(other, 0);
  ready.keep_end(kReadEnd);
  go.keep_end(kWriteEnd);
  const std::vector<std::string> live = ready.receive_lines(2);
  ASSERT_EQ(live.size(), 2u);

  for (const Save& save : five_saves()) {
    SCOPED_TRACE(save.name);
    const std::string folder = folder_of(save);
    const std::string dead = folder + "/" + staged_file_name(0xd3ad00);
    write_file_bytes(dead, "left by a save that was killed");
    write_file_bytes(save.target(), save.old_content);
    ui_test_clear_messages();
    save.write(save.target());
    EXPECT_TRUE(nothing_reported());
    EXPECT_TRUE(holds(read_file_bytes(save.target()), save.marker));
    EXPECT_FALSE(fs::exists(dead));
    for (int k = 0; k < 2; ++k) EXPECT_TRUE(fs::is_regular_file(folders[k] + "/" + live[k])) << live[k];
  }

  go.send("finish\n");
  EXPECT_EQ(exit_code_of(other), 0) << "2: not staged, 3: no word to finish, 4: not renamed";
  for (const std::string& folder : folders) {
    EXPECT_EQ(read_file_bytes(folder + "/other.txt"), "written before, and after the other saves");
    EXPECT_TRUE(staged_leftovers(folder).empty()) << folder;
  }
}

// Another copy of the program has made its staged file and not yet locked
// it: a save in between takes the file for a leftover and removes it. The
// other copy, once it holds the lock, finds its name gone and stages anew;
// its save succeeds and nothing is left.
TEST_F(SaveEdges, AStagedFileRemovedBeforeItsSaveLockedItIsMadeAgain) {
  const std::string folder = g_program_dir + "settings";
  const std::string target = folder + "/other.prefs";
  Pipe ready, go;
  pid_t other = fork();
  if (other == 0) {
    ready.keep_end(kWriteEnd);
    go.keep_end(kReadEnd);
    // The second step of a staged file is its lock, the first its creation.
    static int step = 0;
    static const Pipe* ready_pipe = &ready;
    static const Pipe* go_pipe = &go;
    g_test_staged_file_step = [] {
      if (++step != 2) return;
      ready_pipe->send("made\n");
      if (go_pipe->receive_lines(1).size() != 1) _exit(3);
    };
    _exit(write_file_atomically(target, "the other copy's content") == 1 ? 0 : 4);
  }
  ASSERT_GT(other, 0);
  ready.keep_end(kReadEnd);
  go.keep_end(kWriteEnd);
  ASSERT_EQ(ready.receive_lines(1).size(), 1u);
  ASSERT_EQ(staged_leftovers(folder).size(), 1u);

  g_currency = "BETWEEN";
  save_main_prefs();
  EXPECT_TRUE(holds(read_file_bytes(folder + "/kestrova.prefs"), "BETWEEN\n"));
  EXPECT_TRUE(staged_leftovers(folder).empty()) << "the unlocked file was taken for a leftover";

  go.send("go on\n");
  EXPECT_EQ(exit_code_of(other), 0) << "3: no word to go on, 4: the save failed";
  EXPECT_EQ(read_file_bytes(target), "the other copy's content");
  EXPECT_TRUE(staged_leftovers(folder).empty());
}

// Files that only look like a leftover survive every save, beside two real
// leftovers that the same save removes: a player's own hidden files named
// as staged files were once named (".kestrova-" and six letters or digits),
// names of the staged form that the program never makes (a check digit, the
// case or a separator changed, a digit short, something after the name or
// before it), and things of a staged file's name that are no plain file (a
// folder, a link to a player's file, a named pipe, which must not stop the
// save either).
TEST_F(SaveEdges, AFileThatOnlyLooksLikeALeftoverSurvivesEverySave) {
  const std::string real_name = staged_file_name(0x0123456789abcdefull);
  std::string wrong_check = real_name;
  wrong_check.back() = wrong_check.back() == '0' ? '1' : '0';
  std::string upper_case = real_name;
  for (char& c : upper_case) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::string underscore = real_name;
  underscore[underscore.rfind('-')] = '_';
  std::string digit_short = real_name;
  digit_short.erase(std::string(kStagedFilePrefix).size(), 1);
  const std::vector<std::string> look_alike_files = {
      ".kestrova-backup",   ".kestrova-ABCDEF",        ".kestrova-abc123", ".kestrova-k1Ll3d",
      wrong_check,          upper_case,                underscore,         digit_short,
      real_name + "~",      real_name + ".draws.txt",  "x" + real_name,    kStagedFilePrefix,
      std::string(kStagedFilePrefix) + "backup",
  };
  const std::string folder_name = staged_file_name(0xf01de5);
  const std::string link_name = staged_file_name(0x11111ed);
  const std::string pipe_name = staged_file_name(0x919e00);
  for (const Save& save : five_saves()) {
    SCOPED_TRACE(save.name);
    const std::string folder = folder_of(save);
    for (const std::string& name : look_alike_files) write_file_bytes(folder + "/" + name, name);
    fs::create_directories(folder + "/" + folder_name);
    write_file_bytes(folder + "/notes.txt", "the player's notes");
    fs::remove(folder + "/" + link_name);
    fs::create_symlink("notes.txt", folder + "/" + link_name);
    ::unlink((folder + "/" + pipe_name).c_str());
    ASSERT_EQ(::mkfifo((folder + "/" + pipe_name).c_str(), 0600), 0);
    const std::vector<std::string> real = {folder + "/" + staged_file_name(1),
                                           folder + "/" + staged_file_name(~uint64_t{0})};
    for (const std::string& path : real) write_file_bytes(path, "left by a save that was killed");
    write_file_bytes(save.target(), save.old_content);

    ui_test_clear_messages();
    save.write(save.target());
    EXPECT_TRUE(nothing_reported());
    EXPECT_TRUE(holds(read_file_bytes(save.target()), save.marker));
    for (const std::string& path : real) EXPECT_FALSE(fs::exists(path)) << path;
    for (const std::string& name : look_alike_files)
      EXPECT_EQ(read_file_bytes(folder + "/" + name), name) << name;
    EXPECT_TRUE(fs::is_directory(folder + "/" + folder_name));
    EXPECT_TRUE(fs::is_symlink(folder + "/" + link_name));
    EXPECT_EQ(read_file_bytes(folder + "/notes.txt"), "the player's notes");
    EXPECT_TRUE(fs::is_fifo(folder + "/" + pipe_name));
  }
}

}  // namespace
