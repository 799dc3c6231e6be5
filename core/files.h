// Writing whole files safely.
#pragma once

#include <cstdint>
#include <string>

// Writes `bytes` as the whole content of `path`: first into a new file beside
// it, flushed to disk, then renamed over `path`. A crash or a full disk
// mid-way leaves the old file as it was (at worst a stray temporary file
// beside it). Returns 1 when the new content is in place, 0 otherwise.
int64_t write_file_atomically(const std::string& path, const std::string& bytes);
