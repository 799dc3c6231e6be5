#include "support/test_support.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

std::string source_dir() { return KESTROVA_SOURCE_DIR; }

std::string shared_data_path(const std::string& file) {
  std::filesystem::path p = std::filesystem::path(KESTROVA_SOURCE_DIR) / ".." / "shared" / "data" / file;
  return std::filesystem::exists(p) ? p.lexically_normal().string() : "";
}

std::string enter_fresh_directory() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "kestrova-test-XXXXXX").string();
  char* dir = mkdtemp(tmpl.data());
  if (dir == nullptr) std::abort();
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
