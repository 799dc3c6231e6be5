// What open_in_browser hands to the system, seen from the other end: on a
// real display the desktop's opener (xdg-open) is started, here a stand-in
// first on PATH that writes down the arguments it got. A working directory or
// a mail address holding quotes, ";", "$()", back quotes or a line break
// reaches it as one encoded argument and runs nothing. The opener's exit
// status says whether the address was opened.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

std::string shell_quoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

bool have_program(const char* name) {
  return std::system((std::string("command -v ") + name + " > /dev/null 2>&1").c_str()) == 0;
}

class AddressHandoverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!have_program("xvfb-run")) GTEST_SKIP() << "xvfb-run is not installed";
    base_ = enter_fresh_directory();
    bin_ = base_ + "/bin";
    fs::create_directory(bin_);
    write_opener("exit 0");
  }

  // The stand-in opener: it writes one line per argument, between brackets,
  // then runs `verdict` (a shell command that ends it).
  void write_opener(const std::string& verdict) {
    write_file_bytes(bin_ + "/xdg-open",
                     "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\" >> " + shell_quoted(base_ + "/args") +
                         "; done\n" + verdict + "\n");
    chmod((bin_ + "/xdg-open").c_str(), 0755);
  }

  // Runs the helper in `directory` on a virtual display and returns what the
  // opener received ("" when it was not started within 10 s); the helper's
  // exit status goes to `status` (0 opened, 1 not) when asked for, and must
  // be 0 otherwise.
  std::string hand_over(const std::string& directory, const std::string& what, int* status = nullptr) {
    const std::string command = "cd " + shell_quoted(directory) + " && env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION" +
                                " PATH=" + shell_quoted(bin_ + ":" + std::getenv("PATH")) +
                                " QT_QPA_PLATFORM=xcb xvfb-run -a " + shell_quoted(OPEN_ADDRESS_HELPER) + " " +
                                shell_quoted(what) + " > /dev/null 2>&1";
    const int result = std::system(command.c_str());
    const int exit_status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    if (status != nullptr) *status = exit_status;
    else EXPECT_EQ(exit_status, 0) << command;
    for (int i = 0; i < 100 && !fs::exists(base_ + "/args"); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::string args = read_file_bytes(base_ + "/args");
    fs::remove(base_ + "/args");
    return args;
  }

  std::string base_;
  std::string bin_;
};

TEST_F(AddressHandoverTest, AHostileWorkingDirectoryReachesTheOpenerAsOneEncodedAddress) {
  // Each payload would create a file named "pwned..." in base_ if a shell
  // ever read the address.
  const std::string name = "a'b\";c$(touch pwned1)`touch pwned2`;touch pwned3\nx";
  const std::string directory = base_ + "/" + name;
  fs::create_directory(directory);
  const std::string args = hand_over(directory, "manual");
  EXPECT_EQ(args, "[file://" + base_ +
                      "/a'b%22;c$(touch%20pwned1)%60touch%20pwned2%60;touch%20pwned3%0Ax/"
                      "Kestrova_Manual10_EN.html]\n");
  for (const char* file : {"pwned1", "pwned2", "pwned3"}) {
    EXPECT_FALSE(fs::exists(base_ + "/" + file)) << file;
    EXPECT_FALSE(fs::exists(directory + "/" + file)) << file;
  }
}

TEST_F(AddressHandoverTest, AHostileMailAddressReachesTheOpenerAsOneEncodedAddress) {
  const std::string args = hand_over(base_, "mailto:x@y.z?subject=$(touch pwned4);touch pwned5 && echo");
  EXPECT_EQ(args, "[mailto:x@y.z?subject=$(touch%20pwned4);touch%20pwned5%20&&%20echo]\n");
  EXPECT_FALSE(fs::exists(base_ + "/pwned4"));
  EXPECT_FALSE(fs::exists(base_ + "/pwned5"));
}

// xdg-open exits with 3 when no browser or mail program is set up, and with
// 4 when the program it started failed: neither address was opened. An
// opener that is still running when the wait ends has started a program in
// the foreground, and the wait does not outlast it by more than a few
// seconds.
TEST_F(AddressHandoverTest, TheOpenersExitStatusSaysWhetherTheAddressWasOpened) {
  struct Case {
    const char* verdict;
    int status;  // the helper's: 0 opened, 1 not
  };
  const Case cases[] = {
      {"exit 0", 0},
      {"exit 3", 1},
      {"exit 4", 1},
      {"kill -KILL $$", 1},
      {"sleep 9; exit 3", 0},
  };
  write_file_bytes(base_ + "/Kestrova_Manual10_EN.html", "<html></html>");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.verdict);
    write_opener(c.verdict);
    int status = -1;
    const auto start = std::chrono::steady_clock::now();
    for (const std::string what : {"manual", "mailto:x@y.z?subject=Kestrova%20V1.0%20build%2026"}) {
      EXPECT_FALSE(hand_over(base_, what, &status).empty()) << what;
      EXPECT_EQ(status, c.status) << what;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 16.0) << "two hand-overs waited for the opener";
  }
}

}  // namespace
