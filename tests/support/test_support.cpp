#include "support/test_support.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

std::string source_dir() { return KESTROVA_SOURCE_DIR; }

std::string shared_data_path(const std::string& file) {
  // The shared folder stands beside the project; a work tree one folder
  // deeper (work trees/<name>) finds it one level further up.
  for (const char* up : {"..", "../.."}) {
    std::filesystem::path p = std::filesystem::path(KESTROVA_SOURCE_DIR) / up / "shared" / "data" / file;
    if (std::filesystem::exists(p)) return p.lexically_normal().string();
  }
  return "";
}

namespace {

// The folders made by this test program, removed when it ends. A forked child
// that exits must not remove what its parent still uses.
std::vector<std::string> g_made_directories;
pid_t g_maker_pid = 0;

void remove_made_directories() {
  if (getpid() != g_maker_pid) return;
  std::error_code ignored;
  std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
  for (const std::string& dir : g_made_directories) std::filesystem::remove_all(dir, ignored);
}

}  // namespace

std::string enter_fresh_directory() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "kestrova-test-XXXXXX").string();
  char* dir = mkdtemp(tmpl.data());
  if (dir == nullptr) std::abort();
  if (g_maker_pid == 0) {
    g_maker_pid = getpid();
    std::atexit(remove_made_directories);
  }
  if (getpid() == g_maker_pid) g_made_directories.push_back(dir);
  std::filesystem::current_path(dir);
  return dir;
}

std::string read_file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void write_file_bytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

void with_file_size_limit(uint64_t bytes, const std::function<void()>& action) {
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limited = old;
  limited.rlim_cur = static_cast<rlim_t>(bytes);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  action();
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, old_handler);
}

std::string le32_bytes(int64_t v) {
  uint32_t u = static_cast<uint32_t>(v);
  std::string s;
  for (int k = 0; k < 4; ++k) s += static_cast<char>((u >> (8 * k)) & 0xFF);
  return s;
}
