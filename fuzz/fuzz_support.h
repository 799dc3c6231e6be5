// Shared set-up of the fuzz targets: the gadget layer offscreen in test mode
// and the whole program started once in a directory of its own, so that each
// input runs the real reader on real files, with the real windows built.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Starts the toolkit offscreen and the program (defaults, fonts, images, the
// main window and its four tabs) in a fresh working directory, and changes
// into it. Called once, from LLVMFuzzerInitialize.
void fuzz_start_program();
// The directory the program runs in, with a trailing "/".
const std::string& fuzz_directory();
// Writes bytes as the whole content of a file, replacing it.
void fuzz_write_file(const std::string& path, const std::string& bytes);
std::string fuzz_bytes(const uint8_t* data, size_t size);
// Imports a small well-formed past-results database and learns from it, so
// that the filter has windows and past results to work with.
void fuzz_learn_sample_database();
// Answers the open-file dialog with `path` and imports it.
void fuzz_import_database(const std::string& path);
// Stops the run with a message when a property of the program is broken.
void fuzz_require(bool holds, const char* what);
