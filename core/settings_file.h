// The encoding that both settings files share: a version line, then signed
// 32-bit little-endian integers and UTF-8 text lines ending in one LF, in one
// fixed order, with no byte-order mark, count or checksum.
#pragma once

#include <cstdint>
#include <string>

struct SettingsReader {
  std::string bytes;
  size_t pos = 0;
};
// Reads a settings file for parsing: false (nothing read) when it is missing,
// empty, not a plain file or cannot be opened. At most `max_bytes` are read;
// anything beyond is treated as the end of the file.
bool open_settings_file(const std::string& path, size_t max_bytes, SettingsReader& reader);
// The bytes up to the first LF or CR; LF, CR or CR LF end the line. A
// byte-order mark is part of the line. Past the end the line is empty.
std::string read_settings_line(SettingsReader& reader);
// 4 bytes, sign-extended; bytes missing at the end count as zero.
int64_t read_settings_int(SettingsReader& reader);
// Steps over `count` integers at once (a count from an edited file may be
// two thousand million).
void skip_settings_ints(SettingsReader& reader, int64_t count);

// A text line: the text and one LF. A line break inside the text is written
// as a blank, so that it cannot shift every field after it.
void append_settings_line(std::string& out, const std::string& text);
// The low 32 bits of v, little-endian.
void append_settings_int(std::string& out, int64_t v);
