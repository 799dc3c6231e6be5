// The technique settings file "settings/techniques.prefs": the version line
// "2" and LF, then the 169 slots in slot order, each the low 32 bits of its
// global as a signed little-endian integer (678 bytes in all).
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/files.h"
#include "core/state.h"
#include "techniques/catalogue.h"
#include "techniques/techniques.h"

namespace {

std::string technique_prefs_path() { return g_program_dir + "settings/techniques.prefs"; }

}  // namespace

int64_t load_technique_prefs() {
  const std::string path = technique_prefs_path();
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error) || std::filesystem::file_size(path, error) == 0 || error)
    return 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) return 0;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

  // The version line ends at the first LF or CR (CR LF ends it as one); a
  // byte-order mark is part of the line, so such a file is another version.
  size_t end = bytes.find_first_of("\r\n");
  const std::string version = bytes.substr(0, end);
  if (version != g_techniques_prefs_version) return 0;
  size_t at = end == std::string::npos ? bytes.size() : end + 1;
  if (end != std::string::npos && bytes[end] == '\r' && at < bytes.size() && bytes[at] == '\n') ++at;

  // Bytes missing at the end read as 0: a slot cut short keeps the bytes it
  // has, every later slot reads 0.
  for (const TechniqueSlot& slot : g_technique_slots) {
    uint32_t raw = 0;
    for (int b = 0; b < 4; ++b, ++at)
      if (at < bytes.size()) raw |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) << (8 * b);
    *slot.value = static_cast<int32_t>(raw);
  }
  return 1;
}

int64_t save_technique_prefs() {
  std::string bytes = g_techniques_prefs_version + "\n";
  for (const TechniqueSlot& slot : g_technique_slots) {
    const uint32_t raw = static_cast<uint32_t>(static_cast<uint64_t>(*slot.value));
    for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<char>((raw >> (8 * b)) & 0xFF));
  }
  // The old file stays whole until the new one is complete on the disk. The
  // result is not reported: saving is silent whatever happens to the file.
  write_file_atomically(technique_prefs_path(), bytes);
  return 1;
}
