// Writing whole files safely.
#pragma once

#include <cstdint>
#include <string>

// Writes `bytes` as the whole content of `path`: first into a temporary file
// beside it (path + ".tmp"), flushed to disk, then renamed over `path`. A
// crash or a full disk mid-way leaves the old file as it was; a temporary file
// left by a crash is simply overwritten by the next write. Returns 1 when the
// new content is in place, 0 otherwise (the temporary file is removed again).
int64_t write_file_atomically(const std::string& path, const std::string& bytes);
// The name of that temporary file.
std::string temporary_path_for(const std::string& path);
