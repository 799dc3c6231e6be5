#include "core/settings_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/files.h"

bool open_settings_file(const std::string& path, size_t max_bytes, SettingsReader& reader) {
  reader.bytes.clear();
  reader.pos = 0;
  if (plain_file_size(path) == 0) return false;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  char buffer[4096];
  while (reader.bytes.size() < max_bytes) {
    size_t want = std::min(sizeof buffer, max_bytes - reader.bytes.size());
    size_t got = std::fread(buffer, 1, want, file);
    reader.bytes.append(buffer, got);
    if (got < want) break;
  }
  std::fclose(file);
  return true;
}

namespace {

// The position of the first CR or LF from `from` on, or the text's size.
size_t line_end_from(const std::string& text, size_t from) {
  if (from >= text.size()) return text.size();
  const char* begin = text.data() + from;
  const size_t left = text.size() - from;
  const void* lf = std::memchr(begin, '\n', left);
  const size_t to_lf = lf != nullptr ? static_cast<size_t>(static_cast<const char*>(lf) - begin) : left;
  const void* cr = std::memchr(begin, '\r', to_lf);
  return from + (cr != nullptr ? static_cast<size_t>(static_cast<const char*>(cr) - begin) : to_lf);
}

}  // namespace

std::string read_settings_line(SettingsReader& r) {
  size_t start = r.pos;
  r.pos = line_end_from(r.bytes, r.pos);
  std::string line = r.bytes.substr(start, r.pos - start);
  if (r.pos < r.bytes.size()) {
    if (r.bytes[r.pos] == '\r' && r.pos + 1 < r.bytes.size() && r.bytes[r.pos + 1] == '\n') ++r.pos;
    ++r.pos;
  }
  return line;
}

int64_t read_settings_int(SettingsReader& r) {
  uint32_t v = 0;
  for (int k = 0; k < 4; ++k) {
    uint32_t b = r.pos < r.bytes.size() ? static_cast<unsigned char>(r.bytes[r.pos]) : 0;
    v |= b << (8 * k);
    if (r.pos < r.bytes.size()) ++r.pos;
  }
  return static_cast<int32_t>(v);
}

void skip_settings_ints(SettingsReader& r, int64_t count) {
  if (count <= 0) return;
  uint64_t left = r.bytes.size() - r.pos;
  uint64_t want = static_cast<uint64_t>(count) * 4;
  r.pos += static_cast<size_t>(std::min(left, want));
}

void append_settings_line(std::string& out, const std::string& text) {
  const size_t start = out.size();
  out += text;
  for (size_t at = line_end_from(out, start); at < out.size(); at = line_end_from(out, at + 1)) out[at] = ' ';
  out += '\n';
}

void append_settings_int(std::string& out, int64_t v) {
  uint32_t u = static_cast<uint32_t>(static_cast<uint64_t>(v));
  for (int k = 0; k < 4; ++k) out += static_cast<char>((u >> (8 * k)) & 0xFF);
}
