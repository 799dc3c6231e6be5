// Large and hostile files are read within bounded memory and with the window
// answering throughout: a past-results file of 1,000,000 lines, a draws file
// of 1,000,000 tickets, and a single line of 100 MB handed to every reader.
// Each read runs in a forked child, which measures its own peak resident
// size (getrusage) and counts the polls of the event queue (the idle hook is
// called by every poll that finds the queue empty, that is by nearly every
// one of the reader's one-per-step polls).
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "core/core.h"
#include "core/state.h"
#include "draws/draws.h"
#include "draws/main_tab_ids.h"
#include "support/program_fixture.h"
#include "support/test_support.h"
#include "techniques/techniques.h"
#include "ui/ui.h"
#include "ui/ui_test.h"

namespace {

constexpr int64_t kMillion = 1000000;
constexpr size_t kHundredMegabytes = 100u * 1024 * 1024;

// What a child reports of one read.
struct Measure {
  int64_t growth_kb = 0;  // peak resident size less the size before the read
  int64_t peak_kb = 0;
  int64_t polls = 0;      // polls that found the queue empty
  int64_t longest_wait_ms = 0;  // longest time without such a poll
  int64_t elapsed_ms = 0;
  int64_t count = 0;      // entries or tickets read
  char message[200] = {}; // the last message box's text
};

int64_t peak_kb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// The current resident size, which is where the peak of the child starts
// from: a forked child inherits its parent's peak.
int64_t resident_kb() {
  long pages = 0, resident = 0;
  std::FILE* f = std::fopen("/proc/self/statm", "r");
  if (f != nullptr) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

Measure measure_in_child(const std::function<int64_t()>& read) {
  int pipe_ends[2];
  EXPECT_EQ(pipe(pipe_ends), 0);
  pid_t child = fork();
  if (child == 0) {
    close(pipe_ends[0]);
    Measure m;
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    auto last = start;
    int64_t longest = 0;
    ui_test_set_idle_hook([&] {
      auto now = Clock::now();
      longest = std::max<int64_t>(longest, std::chrono::duration_cast<std::chrono::milliseconds>(now - last).count());
      last = now;
      ++m.polls;
    });
    const int64_t before = resident_kb();
    m.count = read();
    ui_test_set_idle_hook(nullptr);
    auto end = Clock::now();
    longest = std::max<int64_t>(longest, std::chrono::duration_cast<std::chrono::milliseconds>(end - last).count());
    m.longest_wait_ms = longest;
    m.elapsed_ms = std::chrono::duration_cast<std::chrono::milliseconds>(end - start).count();
    m.peak_kb = peak_kb();
    m.growth_kb = m.peak_kb - before;
    if (!ui_test_messages().empty())
      std::snprintf(m.message, sizeof m.message, "%s", ui_test_messages().back().text.c_str());
    ssize_t written = write(pipe_ends[1], &m, sizeof m);
    _exit(written == static_cast<ssize_t>(sizeof m) ? 0 : 1);
  }
  close(pipe_ends[1]);
  Measure m;
  ssize_t got = ::read(pipe_ends[0], &m, sizeof m);
  close(pipe_ends[0]);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_EQ(got, static_cast<ssize_t>(sizeof m));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the reading child died";
  return m;
}

void report(const char* what, const Measure& m) {
  std::printf("%-44s %7lld ms  peak %7lld KiB  growth %7lld KiB  %8lld polls  longest wait %5lld ms  %s\n", what,
              static_cast<long long>(m.elapsed_ms), static_cast<long long>(m.peak_kb),
              static_cast<long long>(m.growth_kb), static_cast<long long>(m.polls),
              static_cast<long long>(m.longest_wait_ms), m.message);
}

// One poll per line or ticket: each finds the queue empty, except those
// that take a tick of the 800 ms timer instead.
void expect_a_poll_per_step(const Measure& m, int64_t steps) {
  EXPECT_GE(m.polls + m.elapsed_ms / 800 + 1, steps);
}

void write_big_file(const std::string& path, const std::function<void(std::FILE*)>& fill) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::setvbuf(f, nullptr, _IOFBF, 1 << 20);
  fill(f);
  std::fclose(f);
}

// A single line of 100 MB of digits and blanks, with no line break at all.
void write_single_line(const std::string& path, const std::string& start) {
  write_big_file(path, [&](std::FILE* f) {
    std::fputs(start.c_str(), f);
    std::string block(1 << 20, '7');
    for (size_t i = 0; i < block.size(); i += 3) block[i] = ' ';
    for (size_t done = start.size(); done < kHundredMegabytes; done += block.size())
      std::fwrite(block.data(), 1, std::min(block.size(), kHundredMegabytes - done), f);
  });
}

int64_t import_file(const std::string& path) {
  ui_test_push_file_answer(path);
  import_draws_database();
  return g_database_draw_count;
}

int64_t open_file(const std::string& path) {
  open_draws_file(path);
  return g_draw_count;
}

class ResourceBoundsTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = start_program_for_test(); }
  void TearDown() override {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir_, error))
      if (entry.is_regular_file(error) && entry.file_size(error) > (1u << 20)) std::filesystem::remove(entry, error);
  }
  std::string dir_;
};

// Bounds: the readers keep what they read and nothing more. A past result is
// kept as a text of 20 characters and a ticket as two texts and a list row,
// so 1,000,000 of them stay within 256 MiB and 512 MiB; a line that cannot be
// what the reader looks for is never held whole, so a 100 MB line costs no
// more than 16 MiB beyond the program as it was.
constexpr int64_t kImportBoundKb = 256 * 1024;
constexpr int64_t kDrawsBoundKb = 512 * 1024;
constexpr int64_t kSingleLineBoundKb = 16 * 1024;

TEST_F(ResourceBoundsTest, AMillionPastResultsImportWithinBoundsPollingEveryLine) {
  const std::string path = dir_ + "/past_results.txt";
  write_big_file(path, [](std::FILE* f) {
    std::fputs("# a million results\n", f);
    char line[64];
    for (int64_t i = 1; i <= kMillion; ++i) {
      std::snprintf(line, sizeof line, "%05lld 2004-02-13 %02lld 29 32 36 41 +%02lld +09\n",
                    static_cast<long long>(i % 100000), static_cast<long long>(i % 15 + 1),
                    static_cast<long long>(i % 8 + 1));
      std::fputs(line, f);
    }
    std::fputs("@end_database\n", f);
  });
  Measure m = measure_in_child([&] { return import_file(path); });
  report("import of 1,000,000 lines", m);
  EXPECT_EQ(m.count, kMillion);
  EXPECT_STREQ(m.message, "");
  EXPECT_LE(m.growth_kb, kImportBoundKb);
  expect_a_poll_per_step(m, kMillion);
}

TEST_F(ResourceBoundsTest, AMillionTicketsOpenWithinBoundsPollingEveryTicket) {
  const std::string path = dir_ + "/million.draws.txt";
  write_big_file(path, [](std::FILE* f) {
    std::fputs("LOTTODRAWSFILE-1.01\r\n  Cost:2500000.00 EUR\r\n  Repeated:0\r\nTechniques:0\r\n"
               "(Max Common Numbers:0)\r\n1000000\r\n5\r\n2\r\n2022-02-22 18:05:09\r\n", f);
    for (int64_t i = 1; i <= kMillion; ++i)
      std::fprintf(f, "#:%lld\r\n%lld,%lld,22,41,50\r\n%lld,11\r\n", static_cast<long long>(i),
                   static_cast<long long>(i % 9 + 1), static_cast<long long>(i % 7 + 10),
                   static_cast<long long>(i % 10 + 1));
  });
  Measure m = measure_in_child([&] { return open_file(path); });
  report("open of a draws file of 1,000,000 tickets", m);
  EXPECT_EQ(m.count, kMillion);
  EXPECT_STREQ(m.message, "");
  EXPECT_LE(m.growth_kb, kDrawsBoundKb);
  expect_a_poll_per_step(m, kMillion);
}

// One line of 100 MB handed to each reader: each finishes with its message
// or its defaults, and none holds the line.
TEST_F(ResourceBoundsTest, ASingleLineOf100MegabytesIsNeverHeldWhole) {
  struct Case {
    const char* what;
    std::string file;
    std::string start;  // what the line begins with
    std::function<int64_t()> read;
    const char* message;
  };
  const std::string settings = dir_ + "/settings/";
  const Case cases[] = {
      {"import of one 100 MB line", dir_ + "/line.txt", "",
       [&] { return import_file(dir_ + "/line.txt"); }, "Invalid number of length in line:1"},
      {"open of one 100 MB line", dir_ + "/line.draws.txt", "",
       [&] { return open_file(dir_ + "/line.draws.txt"); }, "Not a valid draws file."},
      {"open of a 100 MB ticket line", dir_ + "/ticket.draws.txt",
       "LOTTODRAWSFILE-1.01\r\n\r\n\r\n\r\n\r\n1\r\n5\r\n2\r\n\r\n#:1\r\n",
       [&] { return open_file(dir_ + "/ticket.draws.txt"); }, "The file holds fewer draws than it announces."},
      {"main settings with a 100 MB currency", settings + "kestrova.prefs", std::string("2\n") + std::string(12, '\0'),
       [] { return load_main_prefs(); }, ""},
      {"technique settings of one 100 MB line", settings + "techniques.prefs", "2",
       [] { return load_technique_prefs(); }, ""},
      {"recent-files log of one 100 MB line", settings + "recent_files.log", "",
       [] {
         update_recent_files("");
         refresh_recent_files_menu();
         return int64_t{0};
       },
       ""},
  };
  for (const Case& c : cases) {
    write_single_line(c.file, c.start);
    ui_test_clear_messages();
    Measure m = measure_in_child(c.read);
    report(c.what, m);
    EXPECT_STREQ(m.message, c.message) << c.what;
    EXPECT_LE(m.growth_kb, kSingleLineBoundKb) << c.what;
    std::filesystem::remove(c.file);
  }
}

}  // namespace
