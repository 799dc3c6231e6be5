// Text helpers shared by every subsystem. Texts are UTF-8; wherever a length
// or a position is taken it counts characters (code points), not bytes.
// Positions are 1-based.
#pragma once

#include <cstdint>
#include <string>

int64_t text_length(const std::string& s);
std::string text_left(const std::string& s, int64_t characters);
std::string text_right(const std::string& s, int64_t characters);
// Characters from position `start` (1-based), `length` of them (-1: to the end).
std::string text_mid(const std::string& s, int64_t start, int64_t length = -1);
// Field n (1-based) of s split at sep; "" when s has fewer fields.
std::string string_field(const std::string& s, int64_t n, const std::string& sep);
// Non-overlapping occurrences of sub in s (0 for an empty sub).
int64_t count_string(const std::string& s, const std::string& sub);
std::string replace_string(const std::string& s, const std::string& from, const std::string& to);
// The part of a path after its last backslash or, when it has none, after
// its last slash; "" for a path with neither (or ending in its separator).
std::string file_name_of(const std::string& path);
// Without leading and trailing blanks.
std::string trim_blanks(const std::string& s);
// ASCII letters lowered; other characters kept.
std::string lower_ascii(const std::string& s);
// 1 when s is one or more of the digits 0..9 and nothing else (no blank, no
// sign), as a number or star of a past result or a ticket is written.
bool text_is_digits(const std::string& s);

// Integer value of a text: leading blanks and tabs skipped, an optional "+" or
// "-", then decimal digits up to the first other character; "$" reads
// hexadecimal and "%" binary digits instead; no digit gives 0; no overflow
// check (the value wraps).
int64_t val_int(const std::string& s);
// Decimal value as a 32-bit float with "." as decimal point; 0 when the text
// does not begin with a number.
float val_float(const std::string& s);
// Decimal text of an integer.
std::string str_int(int64_t v);
// v with `decimals` decimals, "." as decimal point and, when thousands is
// true, "," between thousands: 3125 -> 3,125.00.
std::string format_number(double v, int decimals, bool thousands = true);
// The last two characters of "0" + decimal v: 7 -> "07", 40 -> "40".
std::string two_digits(int64_t v);
// The text with every byte that is not part of well-formed UTF-8 (an edited
// file) replaced by U+FFFD; overlong forms, surrogates and values beyond
// U+10FFFF are not well formed.
std::string valid_utf8(const std::string& s);
