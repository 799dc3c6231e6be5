// Helpers shared by the tests.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The project's source folder, and a file of the real history that ships in
// its data/ folder ("past_results.txt", "results.csv").
std::string source_dir();
std::string history_file(const std::string& file);
// A fresh, empty working directory for one test; the process changes into it.
std::string enter_fresh_directory();
std::string read_file_bytes(const std::string& path);
void write_file_bytes(const std::string& path, const std::string& bytes);
// The low 32 bits of v as 4 little-endian bytes, as the settings files hold
// an integer.
std::string le32_bytes(int64_t v);
// Names of the files in `folder` that a save stages its content in (named
// as staged_file_name names them): what a save that did not finish would
// leave beside its target.
std::vector<std::string> staged_leftovers(const std::string& folder);
// Runs `action` while file permissions bind this process, the superuser
// too: a superuser gives up, for that time, the power to read and write any
// file. False, with nothing run, when that power cannot be given up.
bool with_file_permissions_enforced(const std::function<void()>& action);
// Runs `action` while no file may grow past `bytes`: a write beyond fails as
// on a full disk (the signal that would end the process is ignored meanwhile).
void with_file_size_limit(uint64_t bytes, const std::function<void()>& action);
