// File helpers shared by the settings files and the other writers.
#pragma once

#include <cstdint>
#include <string>

// Writes `bytes` to `path` so that the path ends up holding either its old
// content or all of the new bytes, never a part of them: the bytes go to a
// temporary file in the same folder, which is flushed to the disk and then
// renamed over the path. On any failure the temporary file is removed and an
// existing file at the path is left as it was. Returns 1 when the new content
// is in place, 0 when not.
int64_t write_file_atomically(const std::string& path, const std::string& bytes);
