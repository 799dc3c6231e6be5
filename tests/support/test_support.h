// Helpers shared by the tests.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// The project's source folder, and the shared data folder beside the project
// (empty when it is absent).
std::string source_dir();
std::string shared_data_path(const std::string& file);
// A fresh, empty working directory for one test; the process changes into it.
std::string enter_fresh_directory();
std::string read_file_bytes(const std::string& path);
void write_file_bytes(const std::string& path, const std::string& bytes);
// The low 32 bits of v as 4 little-endian bytes, as the settings files hold
// an integer.
std::string le32_bytes(int64_t v);
// Runs `action` while no file may grow past `bytes`: a write beyond fails as
// on a full disk (the signal that would end the process is ignored meanwhile).
void with_file_size_limit(uint64_t bytes, const std::function<void()>& action);
