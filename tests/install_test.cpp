// The installation of this build: `cmake --install` under a prefix of its own
// and a DESTDIR, the installed launcher started offscreen up to its main
// window, the installed program finding its own manual, the menu entries and
// the AppStream file checked by their validators, and the Debian package
// that CPack makes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/state.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

const std::string kProgramDir = KESTROVA_INSTALLED_PROGRAM_DIR;
const std::string kDataDir = KESTROVA_INSTALLED_DATA_DIR;

// Every file an installation holds, below its prefix.
const std::vector<std::string> kInstalledFiles = {
    "bin/kestrova_en",
    "bin/kestrova_pt",
    kProgramDir + "/kestrova_en",
    kProgramDir + "/kestrova_pt",
    kDataDir + "/Kestrova_Manual10_EN.html",
    kDataDir + "/Kestrova_Manual10_PT.html",
    kDataDir + "/data/past_results.txt",
    kDataDir + "/data/results.csv",
    kDataDir + "/data/README.md",
    "share/applications/org.example.kestrova.desktop",
    "share/applications/org.example.kestrova_pt.desktop",
    "share/metainfo/org.example.kestrova.metainfo.xml",
    "share/icons/hicolor/64x64/apps/org.example.kestrova.png",
    "share/icons/hicolor/128x128/apps/org.example.kestrova.png",
    "share/icons/hicolor/256x256/apps/org.example.kestrova.png",
};

std::string shell_quoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// Runs a shell command; returns its exit status (-1 when it did not exit)
// and, in `output`, what it wrote to standard output and standard error.
int run(const std::string& command, std::string* output = nullptr) {
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return -1;
  std::string text;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
  const int status = pclose(pipe);
  if (output != nullptr) *output = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool have_program(const std::string& name) { return run("command -v " + name + " > /dev/null") == 0; }

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The value of `key` in a desktop entry ("" when it has none).
std::string desktop_value(const std::string& entry, const std::string& key) {
  for (const std::string& line : lines_of(entry))
    if (line.starts_with(key + "=")) return line.substr(key.size() + 1);
  return "";
}

class InstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = enter_fresh_directory();
    root_ = base_ + "/stage" + kPrefix;
    std::string output;
    ASSERT_EQ(run("DESTDIR=" + shell_quoted(base_ + "/stage") + " " + shell_quoted(CMAKE_COMMAND) + " --install " +
                      shell_quoted(KESTROVA_BINARY_DIR) + " --prefix " + shell_quoted(kPrefix),
                  &output),
              0)
        << output;
  }

  // Starts `program` of bin/ with HOME in the test's folder and XDG_DATA_HOME
  // as given (nullptr: not set), waits until the program has built its main
  // window (the recent-files log is written after it) in `folder`, and
  // checks that it went on waiting for the player there. Ends it.
  void start_launcher(const std::string& program, const char* data_home, const std::string& folder) {
    SCOPED_TRACE(program + " for " + folder);
    const std::string launcher = root_ + "/bin/" + program;
    const std::string home = base_ + "/home";
    fs::create_directories(home);
    ASSERT_FALSE(fs::exists(folder));
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
      // QT_QPA_PLATFORM=offscreen is inherited from the test program.
      setenv("HOME", home.c_str(), 1);
      if (data_home != nullptr) setenv("XDG_DATA_HOME", data_home, 1);
      else unsetenv("XDG_DATA_HOME");
      execl(launcher.c_str(), program.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    ASSERT_GT(child, 0);
    bool started = false, ended = false;
    int status = 0;
    for (int i = 0; i < 200 && !started && !ended; ++i) {
      started = fs::exists(folder + "/settings/recent_files.log");
      ended = waitpid(child, &status, WNOHANG) == child;
      if (!started && !ended) usleep(50 * 1000);
    }
    std::error_code error;
    const fs::path cwd = fs::read_symlink("/proc/" + std::to_string(child) + "/cwd", error);
    const fs::path exe = fs::read_symlink("/proc/" + std::to_string(child) + "/exe", error);
    if (!ended) {
      usleep(300 * 1000);
      ended = waitpid(child, &status, WNOHANG) == child;
    }
    if (!ended) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
    }
    EXPECT_TRUE(started);
    EXPECT_FALSE(ended) << "ended by itself with status " << status;
    EXPECT_EQ(cwd, fs::canonical(folder));
    EXPECT_EQ(exe, fs::canonical(root_ + "/" + kProgramDir + "/" + program));
  }

  static constexpr const char* kPrefix = "/opt/kestrova test";  // a blank, as a player's folder may hold
  std::string base_;
  std::string root_;  // the prefix inside DESTDIR
};

TEST_F(InstallTest, InstallsBothProgramsTheManualsTheDataTheMenuEntriesAndTheIcon) {
  for (const std::string& file : kInstalledFiles) EXPECT_TRUE(fs::is_regular_file(root_ + "/" + file)) << file;
  for (const char* program : {"bin/kestrova_en", "bin/kestrova_pt"})
    EXPECT_EQ(access((root_ + "/" + program).c_str(), X_OK), 0) << program;
  // Nothing lands outside DESTDIR's prefix.
  std::set<std::string> top;
  for (const auto& entry : fs::directory_iterator(base_ + "/stage")) top.insert(entry.path().filename());
  EXPECT_EQ(top, std::set<std::string>{"opt"});
  // What is installed is the project's own.
  const std::string source = source_dir();
  for (const char* name : {"Kestrova_Manual10_EN.html", "Kestrova_Manual10_PT.html"})
    EXPECT_EQ(read_file_bytes(root_ + "/" + kDataDir + "/" + name), read_file_bytes(source + "/" + name)) << name;
  for (const char* name : {"past_results.txt", "results.csv", "README.md"})
    EXPECT_EQ(read_file_bytes(root_ + "/" + kDataDir + "/data/" + name), read_file_bytes(source + "/data/" + name))
        << name;
  // Each icon's size is that of its hicolor folder: width and height of the
  // PNG header, big-endian, at bytes 16 and 20; the 64 x 64 one is the
  // program's own.
  for (int size : {64, 128, 256}) {
    SCOPED_TRACE(size);
    const std::string folder = std::to_string(size) + "x" + std::to_string(size);
    const std::string icon = read_file_bytes(root_ + "/share/icons/hicolor/" + folder + "/apps/org.example.kestrova.png");
    ASSERT_GE(icon.size(), 24u);
    EXPECT_EQ(icon.substr(12, 4), "IHDR");
    const std::string side = {'\0', '\0', static_cast<char>(size >> 8), static_cast<char>(size & 0xFF)};
    EXPECT_EQ(icon.substr(16, 8), side + side);
  }
  EXPECT_EQ(read_file_bytes(root_ + "/share/icons/hicolor/64x64/apps/org.example.kestrova.png"),
            read_file_bytes(source + "/resources/icon.png"));
}

// The installed launcher starts its program in $XDG_DATA_HOME/kestrova, or
// in ~/.local/share/kestrova when that is not set or not an absolute path
// (as the freedesktop base directories have it), making the folder.
TEST_F(InstallTest, TheLauncherStartsTheProgramInThePlayersDataFolder) {
  const std::string home = base_ + "/home";
  start_launcher("kestrova_en", nullptr, home + "/.local/share/kestrova");
  start_launcher("kestrova_pt", (base_ + "/data home").c_str(), base_ + "/data home/kestrova");
  fs::remove_all(home + "/.local");
  start_launcher("kestrova_pt", "relative/data", home + "/.local/share/kestrova");
  EXPECT_FALSE(fs::exists(home + "/relative"));
}

// The installed program, started in a folder of the player's that holds no
// manual, hands the system the manual of its installation: the helper that
// opens the manual is put beside the installed programs and started in such
// a folder, with a stand-in opener first on PATH that writes down what it got.
TEST_F(InstallTest, TheInstalledProgramOpensTheInstalledManual) {
  const std::string helper = root_ + "/" + kProgramDir + "/open_address_helper";
  fs::copy_file(OPEN_ADDRESS_HELPER, helper);
  const std::string bin = base_ + "/bin";
  fs::create_directories(bin);
  write_file_bytes(bin + "/xdg-open",
                   "#!/bin/sh\nprintf '[%s]\\n' \"$@\" > " + shell_quoted(base_ + "/args") + "\n");
  fs::permissions(bin + "/xdg-open", fs::perms::owner_all);
  fs::create_directories(base_ + "/player");
  std::string output;
  EXPECT_EQ(run("cd " + shell_quoted(base_ + "/player") + " && PATH=" + shell_quoted(bin + ":" + std::getenv("PATH")) +
                    " " + shell_quoted(helper) + " manual",
                &output),
            0)
      << output;
  std::string encoded_root = root_;
  encoded_root.replace(encoded_root.find(' '), 1, "%20");
  EXPECT_EQ(read_file_bytes(base_ + "/args"), "[file://" + encoded_root + "/" + kDataDir + "/Kestrova_Manual10_EN.html]\n");
}

// The menu entries each start one installed launcher and show the installed
// icon, the AppStream file names both entries, and each passes its
// validator.
TEST_F(InstallTest, MenuEntriesAndTheAppStreamFilePassTheirValidators) {
  const std::string applications = root_ + "/share/applications/";
  const std::string metainfo = root_ + "/share/metainfo/org.example.kestrova.metainfo.xml";
  for (const char* lang : {"en", "pt"}) {
    SCOPED_TRACE(lang);
    const std::string id = std::string("org.example.kestrova") + (std::string(lang) == "pt" ? "_pt" : "");
    const std::string entry = read_file_bytes(applications + id + ".desktop");
    EXPECT_EQ(desktop_value(entry, "Exec"), std::string("kestrova_") + lang);
    EXPECT_TRUE(fs::exists(root_ + "/bin/" + desktop_value(entry, "Exec")));
    EXPECT_EQ(desktop_value(entry, "Icon"), "org.example.kestrova");
    EXPECT_NE(read_file_bytes(metainfo).find("<launchable type=\"desktop-id\">" + id + ".desktop</launchable>"),
              std::string::npos);
  }
  if (!have_program("desktop-file-validate") || !have_program("appstreamcli"))
    GTEST_SKIP() << "desktop-file-validate or appstreamcli is not installed (scripts/setup.sh installs them)";
  for (const char* id : {"org.example.kestrova", "org.example.kestrova_pt"}) {
    std::string output;
    EXPECT_EQ(run("desktop-file-validate " + shell_quoted(applications + id + ".desktop"), &output), 0) << output;
    EXPECT_EQ(output, "") << id;
  }
  std::string output;
  EXPECT_EQ(run("appstreamcli validate --no-net --pedantic " + shell_quoted(metainfo), &output), 0) << output;
  EXPECT_NE(output.find("Validation was successful."), std::string::npos) << output;
}

// The Debian package holds what the installation does, under /usr, at the
// program's version and build, and depends on the libraries it links.
TEST_F(InstallTest, TheDebianPackageHoldsTheInstalledFiles) {
  if (!have_program("dpkg-deb") || !have_program("dpkg-shlibdeps"))
    GTEST_SKIP() << "dpkg-deb or dpkg-shlibdeps is not installed (scripts/setup.sh installs them)";
  std::string output;
  ASSERT_EQ(run(shell_quoted(CMAKE_CPACK_COMMAND) + " --config " +
                    shell_quoted(std::string(KESTROVA_BINARY_DIR) + "/CPackConfig.cmake") + " -G DEB -B " +
                    shell_quoted(base_ + "/package"),
                &output),
            0)
      << output;
  init_game_state();
  const std::string version = g_program_version + "." + g_program_build;
  std::string deb = base_ + "/package/kestrova_" + version + "_";
  std::string arch;
  ASSERT_EQ(run("dpkg --print-architecture", &arch), 0);
  deb += lines_of(arch).at(0) + ".deb";
  ASSERT_TRUE(fs::exists(deb)) << output;

  std::string listing;
  ASSERT_EQ(run("dpkg-deb -c " + shell_quoted(deb), &listing), 0) << listing;
  std::set<std::string> files;
  for (const std::string& line : lines_of(listing)) {
    if (line.empty() || line[0] == 'd') continue;
    const size_t path = line.find(" ./");
    if (path != std::string::npos) files.insert(line.substr(path + 3));
  }
  std::set<std::string> expected;
  for (const std::string& file : kInstalledFiles) expected.insert("usr/" + file);
  EXPECT_EQ(files, expected);

  std::string fields;
  ASSERT_EQ(run("dpkg-deb -f " + shell_quoted(deb) + " Package Version Depends", &fields), 0) << fields;
  EXPECT_NE(fields.find("Package: kestrova\n"), std::string::npos) << fields;
  EXPECT_NE(fields.find("Version: " + version + "\n"), std::string::npos) << fields;
  for (const char* dependency : {"libqt6widgets6", "libpng16-16", "qt6-qpa-plugins", "fonts-liberation2"})
    EXPECT_NE(fields.find(dependency), std::string::npos) << dependency << " in " << fields;
}

}  // namespace
