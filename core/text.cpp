#include "core/text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Byte offset of character `index` (0-based) in s, or s.size() past the end.
size_t byte_offset(const std::string& s, int64_t index) {
  size_t i = 0;
  while (i < s.size() && index > 0) {
    ++i;
    while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
    --index;
  }
  return i;
}

}  // namespace

int64_t text_length(const std::string& s) {
  int64_t n = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

std::string text_left(const std::string& s, int64_t characters) {
  if (characters <= 0) return "";
  return s.substr(0, byte_offset(s, characters));
}

std::string text_right(const std::string& s, int64_t characters) {
  int64_t len = text_length(s);
  if (characters <= 0) return "";
  if (characters >= len) return s;
  return s.substr(byte_offset(s, len - characters));
}

std::string text_mid(const std::string& s, int64_t start, int64_t length) {
  if (start < 1) start = 1;
  size_t from = byte_offset(s, start - 1);
  if (length < 0) return s.substr(from);
  size_t to = from;
  while (to < s.size() && length > 0) {
    ++to;
    while (to < s.size() && (static_cast<unsigned char>(s[to]) & 0xC0) == 0x80) ++to;
    --length;
  }
  return s.substr(from, to - from);
}

std::string string_field(const std::string& s, int64_t n, const std::string& sep) {
  if (n < 1 || sep.empty()) return n == 1 ? s : "";
  size_t start = 0;
  for (int64_t k = 1; k < n; ++k) {
    size_t pos = s.find(sep, start);
    if (pos == std::string::npos) return "";
    start = pos + sep.size();
  }
  size_t end = s.find(sep, start);
  return s.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

int64_t count_string(const std::string& s, const std::string& sub) {
  if (sub.empty()) return 0;
  int64_t n = 0;
  for (size_t pos = s.find(sub); pos != std::string::npos; pos = s.find(sub, pos + sub.size())) ++n;
  return n;
}

std::string replace_string(const std::string& s, const std::string& from, const std::string& to) {
  if (from.empty()) return s;
  std::string out;
  size_t start = 0;
  for (size_t pos = s.find(from); pos != std::string::npos; pos = s.find(from, start)) {
    out.append(s, start, pos - start);
    out += to;
    start = pos + from.size();
  }
  out.append(s, start, std::string::npos);
  return out;
}

std::string file_name_of(const std::string& path) {
  size_t cut = path.rfind('\\');
  if (cut == std::string::npos) cut = path.rfind('/');
  return cut == std::string::npos ? "" : path.substr(cut + 1);
}

std::string trim_blanks(const std::string& s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(' ');
  return s.substr(b, e - b + 1);
}

std::string lower_ascii(const std::string& s) {
  std::string out = s;
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool text_is_digits(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

int64_t val_int(const std::string& s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  unsigned base = 10;
  if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  } else if (i < s.size() && s[i] == '%') {
    base = 2;
    ++i;
  }
  uint64_t v = 0;  // unsigned, so that a long text wraps instead of overflowing
  for (; i < s.size(); ++i) {
    char c = s[i];
    unsigned d;
    if (c >= '0' && c <= '9') d = static_cast<unsigned>(c - '0');
    else if (base == 16 && c >= 'a' && c <= 'f') d = static_cast<unsigned>(c - 'a' + 10);
    else if (base == 16 && c >= 'A' && c <= 'F') d = static_cast<unsigned>(c - 'A' + 10);
    else break;
    if (d >= base) break;
    v = v * base + d;
  }
  if (negative) v = ~v + 1;
  return static_cast<int64_t>(v);
}

float val_float(const std::string& s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  size_t start = i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return 0.0f;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && s[j] >= '0' && s[j] <= '9') {
      while (j < s.size() && s[j] >= '0' && s[j] <= '9') ++j;
      i = j;
    }
  }
  const char* first = s.data() + start;
  if (*first == '+') ++first;  // from_chars takes no plus sign
  float v = 0.0f;
  auto r = std::from_chars(first, s.data() + i, v, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    bool neg = *first == '-';
    // A value beyond a float's range reads as infinity, a tiny one as zero.
    bool huge = false;
    for (const char* p = first; p < s.data() + i && *p != 'e' && *p != 'E'; ++p)
      if (*p >= '1' && *p <= '9') { huge = true; break; }
    std::string rest(first, s.data() + i);
    size_t e = rest.find_first_of("eE");
    if (e != std::string::npos && rest[e + 1] == '-') huge = false;
    v = huge ? (neg ? -INFINITY : INFINITY) : 0.0f;
  }
  return v;
}

std::string str_int(int64_t v) { return std::to_string(v); }

std::string format_number(double v, int decimals, bool thousands) {
  if (!std::isfinite(v)) return std::isnan(v) ? "nan" : (v > 0 ? "inf" : "-inf");
  char buf[512];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  std::string s = buf;
  if (!thousands) return s;
  bool negative = !s.empty() && s[0] == '-';
  std::string digits = negative ? s.substr(1) : s;
  size_t point = digits.find('.');
  std::string whole = digits.substr(0, point);
  std::string frac = point == std::string::npos ? "" : digits.substr(point);
  std::string grouped;
  int count = 0;
  for (size_t k = whole.size(); k-- > 0;) {
    grouped.insert(grouped.begin(), whole[k]);
    if (++count % 3 == 0 && k > 0) grouped.insert(grouped.begin(), ',');
  }
  return (negative ? "-" : "") + grouped + frac;
}

std::string two_digits(int64_t v) { return text_right("0" + str_int(v), 2); }

std::string valid_utf8(const std::string& s) {
  std::string out;
  size_t i = 0;
  while (i < s.size()) {
    // A run of ASCII is taken whole, eight bytes at a time where it can.
    size_t ascii = i;
    while (ascii + 8 <= s.size()) {
      uint64_t word;
      std::memcpy(&word, s.data() + ascii, 8);
      if ((word & 0x8080808080808080ull) != 0) break;
      ascii += 8;
    }
    while (ascii < s.size() && static_cast<unsigned char>(s[ascii]) < 0x80) ++ascii;
    if (ascii > i) {
      out.append(s, i, ascii - i);
      i = ascii;
      continue;
    }
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    bool ok = len > 0 && i + len <= s.size();
    uint32_t cp = len == 1 ? c : len == 2 ? c & 0x1F : len == 3 ? c & 0x0F : c & 0x07;
    for (size_t k = 1; ok && k < len; ++k) {
      unsigned char cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    // Overlong forms, surrogates and values beyond U+10FFFF are not UTF-8.
    if (ok && ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) ||
               (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF))
      ok = false;
    if (ok) {
      out.append(s, i, len);
      i += len;
    } else {
      out += "\xEF\xBF\xBD";
      ++i;
    }
  }
  return out;
}
