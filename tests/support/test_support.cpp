#include "support/test_support.h"

#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "core/files.h"

std::string source_dir() { return KESTROVA_SOURCE_DIR; }

std::string history_file(const std::string& file) {
  return (std::filesystem::path(KESTROVA_SOURCE_DIR) / "data" / file).string();
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

std::vector<std::string> staged_leftovers(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (is_staged_file_name(name)) names.push_back(name);
  }
  return names;
}

namespace {

// The capabilities that let the superuser pass over file permissions.
constexpr uint32_t kFilePermissionOverrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

bool set_file_permission_overrides(bool on) {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2]{};
  if (syscall(SYS_capget, &header, data) != 0) return false;
  if (on) data[0].effective |= kFilePermissionOverrides & data[0].permitted;
  else data[0].effective &= ~kFilePermissionOverrides;
  return syscall(SYS_capset, &header, data) == 0;
}

}  // namespace

bool with_file_permissions_enforced(const std::function<void()>& action) {
  if (geteuid() == 0 && !set_file_permission_overrides(false)) return false;
  action();
  if (geteuid() == 0) set_file_permission_overrides(true);
  return true;
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
