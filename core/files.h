// Files: their size, reading text lines, and writing whole files safely.
#pragma once

#include <cstdint>
#include <cstdio>
#include <sys/types.h>
#include <string>
#include <string_view>

// Size of a plain file; 0 for a missing path, a folder or anything else.
uint64_t plain_file_size(const std::string& path);

// One line of a text file. A line ends at LF, CR or CR LF, which is not part
// of it. `characters` counts the whole line in UTF-8 characters, while `text`
// keeps at most `keep` bytes of it, cut at a character boundary.
struct TextLine {
  std::string text;
  int64_t characters = 0;
};
// Reads the next line. False when the file has nothing more (so a final line
// break opens no empty line) or a read error stopped it (ferror tells which).
bool read_text_line(FILE* file, TextLine& line, size_t keep);

// A file written beside its target and renamed over it only when complete:
// until then, and after a crash, an abort or a full disk, the target keeps
// its old content. The temporary file gets a new name in the target's
// folder (staged_file_name: kStagedFilePrefix, a random tag and its check
// digits) and stays locked (flock) from just after it is made until it is
// renamed or removed. One left by a killed save is never read, and the next
// staged file in that folder removes it: a plain file whose name is such a
// name, check digits and all, and that no process holds locked, is a
// leftover. Every other file is left alone, whatever its name. A target
// that is a symbolic link stays one: the file at the end of its links is
// replaced.
struct StagedFile {
  std::string target;     // the file replaced, links followed
  std::string temporary;  // empty once renamed or removed
  int fd = -1;            // open, and holding the lock, until renamed or removed
  std::string pending;  // bytes not yet handed to the system
  bool failed = false;  // a write failed; commit will refuse
};
inline constexpr char kStagedFilePrefix[] = ".kestrova-staged-";
// The name of a staged file with this tag: kStagedFilePrefix, the tag in 16
// lower-case hexadecimal digits, "-", and 8 check digits that the tag
// decides, as in .kestrova-staged-3f9a1c07e2b4d815-92bd3e63. A name made by
// hand carries the right check digits by a chance of one in four billion.
std::string staged_file_name(uint64_t tag);
// Whether a file name (without its folder) is one that staged_file_name makes.
bool is_staged_file_name(std::string_view name);
// Removes the leftovers of killed saves from the target's folder, then
// creates the temporary file, locked, with the target's mode (or a new
// file's). False when it cannot be created (or the target's links form a
// loop).
bool open_staged_file(StagedFile& file, const std::string& target);
void write_staged_file(StagedFile& file, std::string_view bytes);
// Puts everything on disk and the file in the target's place. False, with the
// temporary file removed and the target untouched, when any step failed.
bool commit_staged_file(StagedFile& file);
// Drops what was written; the target is untouched.
void discard_staged_file(StagedFile& file);

// For the crash tests only, never set by the program: when set, it is called
// just before each step of a staged file that reaches the system (creating
// the temporary file, locking it, each write, the flush to disk, the rename,
// the flush of the folder), so that a test can stop the process at any one
// of them.
extern void (*g_test_staged_file_step)();
// For the tests only: when set, it stands in for the system's change of a
// staged file's mode, so that a test can make every change fail.
extern int (*g_test_change_file_mode)(int fd, mode_t mode);

// Writes `bytes` as the whole content of `path` through a staged file.
// Returns 1 when the new content is in place, 0 otherwise.
int64_t write_file_atomically(const std::string& path, const std::string& bytes);
