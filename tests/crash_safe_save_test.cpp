// Killing the program while it saves loses nothing: for each of the five
// files it writes (main settings, technique settings, recent-files log,
// draws file, extract), a child process performs the save and is killed at
// every step that reaches the system (through the staged-file test hook) and
// after many delays from outside; after each kill the target must be the old
// file byte for byte or the complete new one, and what a kill leaves beside
// it must not be read by the next run, and the next save removes it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <csignal>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include "core/core.h"
#include "core/files.h"
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

constexpr int64_t kLargeList = 100000;  // big enough for a kill to land mid-write

// One file the program writes and how to make it write the new content.
struct SaveCase {
  const char* name;
  std::string target;
  std::function<void()> save;  // writes the new content; state is set already
  // The time of saving changes from one save to the next: this replaces it,
  // so that contents can be compared.
  std::function<std::string(const std::string&)> normalise = [](const std::string& s) { return s; };
};

std::string without_line(const std::string& bytes, int line) {
  size_t start = 0;
  for (int k = 1; k < line && start != std::string::npos; ++k) {
    start = bytes.find("\r\n", start);
    if (start != std::string::npos) start += 2;
  }
  if (start == std::string::npos) return bytes;
  size_t end = bytes.find("\r\n", start);
  if (end == std::string::npos) return bytes;
  return bytes.substr(0, start) + "<time>" + bytes.substr(end);
}

std::string folder_of(const std::string& target) { return fs::path(target).parent_path().string(); }

// What a killed save left beside the target.
bool leftovers_beside(const std::string& target) { return !staged_leftovers(folder_of(target)).empty(); }

void remove_leftovers_beside(const std::string& target) {
  for (const std::string& name : staged_leftovers(folder_of(target))) fs::remove(folder_of(target) + "/" + name);
}

int g_steps_left = 0;
void stop_at_this_step() {
  if (--g_steps_left == 0) ::raise(SIGKILL);
}

// Runs the save in a child process. stop_at_step > 0 kills it at that step
// of the staged files; delay_us >= 0 has the parent kill it after that many
// microseconds. Returns true when the child finished the save on its own.
bool save_in_child(const SaveCase& c, int stop_at_step, int64_t delay_us) {
  pid_t child = fork();
  if (child == 0) {
    if (stop_at_step > 0) {
      g_steps_left = stop_at_step;
      g_test_staged_file_step = stop_at_this_step;
    }
    c.save();
    _exit(0);
  }
  if (child < 0) ADD_FAILURE() << "fork failed";
  if (delay_us >= 0) {
    std::this_thread::sleep_for(std::chrono::microseconds(delay_us));
    ::kill(child, SIGKILL);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class CrashSafeSaveTest : public ::testing::Test {
 protected:
  void SetUp() override { start_program_for_test(); }

  // Saves the old content in place (make_old writes it itself when
  // old_by_save is false), then the new one, and puts the old one back;
  // afterwards every kill starts from the old file.
  void prepare(SaveCase& c, const std::function<void()>& make_old, const std::function<void()>& make_new,
               bool old_by_save = true) {
    make_old();
    if (old_by_save) c.save();
    old_bytes_ = read_file_bytes(c.target);
    make_new();
    c.save();
    new_bytes_ = read_file_bytes(c.target);
    ASSERT_FALSE(old_bytes_.empty());
    ASSERT_NE(c.normalise(old_bytes_), c.normalise(new_bytes_)) << c.name;
    restore_old(c);
  }

  void restore_old(const SaveCase& c) {
    write_file_bytes(c.target, old_bytes_);
    remove_leftovers_beside(c.target);
  }

  void expect_old_or_new(const SaveCase& c, const std::string& when) {
    const std::string now = c.normalise(read_file_bytes(c.target));
    EXPECT_TRUE(now == c.normalise(old_bytes_) || now == c.normalise(new_bytes_))
        << c.name << " " << when << ": the target is neither the old file nor the new one ("
        << now.size() << " bytes)";
  }

  // A kill may leave the temporary file beside the target; the next save
  // must still put the new content in place, and remove that file.
  void expect_next_save_recovers(const SaveCase& c, const std::string& when) {
    EXPECT_TRUE(save_in_child(c, 0, -1)) << c.name << " " << when;
    EXPECT_EQ(c.normalise(read_file_bytes(c.target)), c.normalise(new_bytes_)) << c.name << " " << when;
    EXPECT_TRUE(staged_leftovers(folder_of(c.target)).empty()) << c.name << " " << when;
  }

  // Kills the save at its first step, its second, ... until a run gets
  // through every step; each kill is checked. Returns the number of steps.
  int kill_at_every_step(const SaveCase& c) {
    int step = 1;
    for (;; ++step) {
      restore_old(c);
      bool finished = save_in_child(c, step, -1);
      expect_old_or_new(c, "killed at step " + std::to_string(step));
      if (finished) break;
      if (leftovers_beside(c.target)) expect_next_save_recovers(c, "after a kill at step " + std::to_string(step));
      if (step > 1000) {
        ADD_FAILURE() << c.name << ": the save never finishes";
        break;
      }
    }
    EXPECT_EQ(c.normalise(read_file_bytes(c.target)), c.normalise(new_bytes_)) << c.name;
    return step - 1;
  }

  // Kills the save from outside after increasing delays, from a few
  // microseconds to past its whole length. Returns how many kills found the
  // temporary file in place, that is landed in the middle of the save.
  int kill_after_delays(const SaveCase& c, int kills) {
    restore_old(c);
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(save_in_child(c, 0, -1));
    const int64_t whole_us =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
    std::mt19937 random(12345);
    int mid_save = 0;
    for (int k = 0; k < kills; ++k) {
      restore_old(c);
      // Spread over 0 .. 1.2 times the whole save, with a random part so that
      // the kills do not fall at the same instants each time.
      int64_t delay = whole_us * 12 * k / (10 * kills) + static_cast<int64_t>(random() % 50);
      save_in_child(c, 0, delay);
      expect_old_or_new(c, "killed after " + std::to_string(delay) + " us");
      if (leftovers_beside(c.target)) ++mid_save;
    }
    return mid_save;
  }

  // Kills at every step and after `kills` delays; prints what they found.
  void kill_everywhere(const SaveCase& c, int fewest_steps, int kills, bool must_land_mid_save) {
    const int steps = kill_at_every_step(c);
    EXPECT_GE(steps, fewest_steps) << c.name;
    const int mid_save = kill_after_delays(c, kills);
    if (must_land_mid_save) EXPECT_GT(mid_save, 0) << c.name << ": no kill landed in the middle of the save";
    std::printf("%s (%zu bytes): killed at each of %d steps; %d of %d timed kills landed mid-save\n", c.name,
                new_bytes_.size(), steps, mid_save, kills);
  }

  std::string old_bytes_;
  std::string new_bytes_;
};

void fill_large_list(const char* numbers, const char* stars) {
  size_draw_list(kLargeList);
  g_draw_numbers.assign(kLargeList + 1, numbers);
  g_draw_stars.assign(kLargeList + 1, stars);
  g_draw_count = kLargeList;
}

TEST_F(CrashSafeSaveTest, MainSettingsAreOldOrNewAfterAnyKill) {
  SaveCase c{"main settings", g_program_dir + "settings/kestrova.prefs", [] { save_main_prefs(); }};
  prepare(c, [] { g_currency = "EUR"; }, [] {
    g_currency = "R$";
    g_number_play_state[7] = 2;
    g_draws_to_generate = 25;
  });
  kill_everywhere(c, 4, 40, false);
}

TEST_F(CrashSafeSaveTest, TechniqueSettingsAreOldOrNewAfterAnyKill) {
  SaveCase c{"technique settings", g_program_dir + "settings/techniques.prefs",
             [] { save_technique_prefs(); }};
  prepare(c, [] { reset_technique_windows(); }, [] {
    for (const TechniqueSlot& slot : g_technique_slots) *slot.value = 7;
  });
  kill_everywhere(c, 4, 40, false);
}

TEST_F(CrashSafeSaveTest, RecentFilesLogIsOldOrNewAfterAnyKill) {
  const std::string newest = g_program_dir + "week13.draws.txt";
  SaveCase c{"recent-files log", g_program_dir + "settings/recent_files.log",
             [newest] { update_recent_files(newest); }};
  // The update reads the log it replaces, so the old log is a list of ten
  // and the new one the same list with the newest path on top.
  prepare(
      c,
      [&] {
        clear_recent_files();
        for (int i = 1; i <= 10; ++i) update_recent_files(g_program_dir + "week" + std::to_string(i) + ".draws.txt");
      },
      [] {}, false);
  kill_everywhere(c, 4, 40, false);
}

TEST_F(CrashSafeSaveTest, DrawsFileOfALargeListIsOldOrNewAfterAnyKill) {
  const std::string target = g_program_dir + "week12.draws.txt";
  // Save (1, 0) writes back to the file last saved, without a dialog.
  SaveCase c{"draws file", target, [] { save_draws_file(1, 0); },
             [](const std::string& s) { return without_line(s, 9); }};
  g_draws_file_path = target;
  prepare(c, [] { fill_large_list("3,17,22,41,50", "2,11"); },
          [] { fill_large_list("1,12,23,34,45", "6,7"); });
  ASSERT_GT(new_bytes_.size(), 2000000u);
  kill_everywhere(c, 30, 30, true);  // one write per 64 KiB at least
}

TEST_F(CrashSafeSaveTest, ExtractOfALargeListIsOldOrNewAfterAnyKill) {
  const std::string target = g_program_dir + "week12.txt";
  // Each extract asks for its file and, once it exists, whether to replace
  // it: the child takes the answers scripted here.
  SaveCase c{"extract", target,
             [target] {
               ui_test_push_file_answer(target);
               ui_test_push_message_answer(UI_ANSWER_YES);
               extract_draws_to_text();
             },
             [](const std::string& s) { return without_line(s, 5); }};
  prepare(c, [] { fill_large_list("3,17,22,41,50", "2,11"); },
          [] { fill_large_list("1,12,23,34,45", "6,7"); });
  ASSERT_GT(new_bytes_.size(), 2000000u);
  kill_everywhere(c, 30, 30, true);
}

// What a kill leaves beside a settings file is never read in its place.
TEST_F(CrashSafeSaveTest, ATemporaryFileLeftByAKillIsNeverRead) {
  const std::string settings = g_program_dir + "settings/";
  g_currency = "OLD";
  save_main_prefs();
  write_file_bytes(settings + staged_file_name(0x6b1113d), "2\nxxxxxxxx");
  g_currency = "";
  ASSERT_EQ(load_main_prefs(), 1);
  EXPECT_EQ(g_currency, "OLD");

  reset_technique_windows();
  g_techniques[T_sum_numbers].max = 170;
  save_technique_prefs();
  write_file_bytes(settings + staged_file_name(0x6b1113e), std::string(678, '\x7f'));
  g_techniques[T_sum_numbers].max = 0;
  ASSERT_EQ(load_technique_prefs(), 1);
  EXPECT_EQ(g_techniques[T_sum_numbers].max, 170);

  // A draws file's temporary does not end in ".draws.txt": the Open dialog's
  // filter does not offer it and the recent list never holds it.
  StagedFile file;
  ASSERT_TRUE(open_staged_file(file, g_program_dir + "week12.draws.txt"));
  EXPECT_FALSE(file.temporary.ends_with(".draws.txt")) << file.temporary;
  discard_staged_file(file);
  EXPECT_FALSE(leftovers_beside(g_program_dir + "week12.draws.txt"));
}

// A kill after the temporary file took a read-only target's mode leaves a
// read-only file behind; the next save must not be refused because of it,
// and removes it.
TEST_F(CrashSafeSaveTest, AReadOnlyTemporaryFileDoesNotStopTheNextSave) {
  const std::string target = g_program_dir + "settings/kestrova.prefs";
  const std::string left = g_program_dir + "settings/" + staged_file_name(0x43ad0);
  g_currency = "OLD";
  save_main_prefs();
  write_file_bytes(left, "left by a kill");
  ASSERT_EQ(chmod(left.c_str(), 0444), 0);
  ASSERT_EQ(chmod(target.c_str(), 0444), 0);
  // The superuser may write any file: the save runs as an ordinary user so
  // that the temporary file's mode counts, in a folder that user may write.
  ASSERT_EQ(chmod(g_program_dir.c_str(), 0755), 0);
  ASSERT_EQ(chmod((g_program_dir + "settings").c_str(), 0777), 0);
  g_currency = "NEW";
  pid_t child = fork();
  if (child == 0) {
    if (getuid() == 0 && setuid(65534) != 0) _exit(2);
    _exit(write_file_atomically(target, "2\nnew") == 1 ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(read_file_bytes(target), "2\nnew");
  EXPECT_TRUE(staged_leftovers(g_program_dir + "settings").empty());
}

}  // namespace
