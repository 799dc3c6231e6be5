// Shared set-up of the fuzz targets: the gadget layer offscreen in test mode
// and the whole program started once in a directory of its own, so that each
// input runs the real reader on real files, with the real windows built.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Starts the toolkit offscreen and the program (defaults, fonts, images, the
// main window and its four tabs) in a fresh working directory, and changes
// into it. Called once, from LLVMFuzzerInitialize. Windows are not painted
// on screen, and the directory is on a memory file system where there is one.
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
// Takes the numbers-with-numbers grid off the Techniques tab, so that
// showing the technique windows writes only their fields: the grid's 50
// buttons, made anew at each show, would cost most of an input's time. No
// settings file holds what they show; Learn and Remove still work out the
// pairs it would show.
void fuzz_drop_association_grid();
// The preview window for the list and the result fields as they stand,
// closed by its Close button as the player would. Building it costs
// milliseconds, far more than the rest of an input, so it is opened only for
// a kind of picture not checked before: whether the listed tickets play none,
// some or all of the numbers, the same of the stars (taken by the program's
// own cache, which the window then uses), and which result fields it marks
// unhit. Every input still has the cache built.
// An empty list gets the preview's warning.
void fuzz_preview_when_new();
// Empties the draw list when it goes out of scope: an input that lists
// tickets then leaves the list as it found it, empty, and frees the rows it
// made.
struct FuzzEmptyDrawListAfter {
  ~FuzzEmptyDrawListAfter();
};
// Whether the seven result fields (136..142) hold what a drawn result can be,
// read here from their texts alone: five different whole numbers of 1..50
// (the game's highest number) and two different ones of 1..12, each written
// in digits alone, leading zeros allowed.
bool fuzz_result_fields_hold_a_draw();
// Stops the run with a message when a property of the program is broken.
void fuzz_require(bool holds, const char* what);
