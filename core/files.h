// Whole-file writes that never leave a half-written file behind.
#pragma once

#include <cstdint>
#include <string>

// Writes bytes to a new file beside path, flushes it to disk and renames it
// over path, so path holds either its old content or all of bytes. Returns 1
// when path now holds bytes, 0 when nothing changed (the temporary file is
// removed again).
int64_t write_file_atomically(const std::string& path, const std::string& bytes);
