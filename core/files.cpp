#include "core/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

void (*g_test_staged_file_step)() = nullptr;
int (*g_test_change_file_mode)(int fd, mode_t mode) = nullptr;

namespace {

void staged_file_step() {
  if (g_test_staged_file_step != nullptr) g_test_staged_file_step();
}

// Bytes gathered before they are handed to the system in one write.
constexpr size_t kWriteChunk = 64 * 1024;

// The fuzz build checks what a save writes, not what survives a power cut:
// it skips the waits for the disk, which would take most of its time.
#ifdef KESTROVA_FUZZ_BUILD
constexpr bool kSyncToDisk = false;
#else
constexpr bool kSyncToDisk = true;
#endif

// Links followed before a chain is taken for a loop, as the system does.
constexpr int kMostLinksFollowed = 40;

// Temporary files made before one is locked under its own name; each one
// lost means another save took it for a leftover in the instant between its
// creation and its lock.
constexpr int kMostStagingAttempts = 8;

std::string directory_of(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

void flush_pending(StagedFile& file) {
  size_t done = 0;
  while (!file.failed && done < file.pending.size()) {
    staged_file_step();
    ssize_t n = ::write(file.fd, file.pending.data() + done, file.pending.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) file.failed = true;
    else done += static_cast<size_t>(n);
  }
  file.pending.clear();
}

// The file that a save to `path` replaces: `path` itself, or, when it is a
// symbolic link, the file at the end of its chain of links (which need not
// exist yet), so that the link stays and the file it names gets the content.
// Empty for a chain that never ends.
std::string final_link_target(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path current = path;
  for (int followed = 0; followed <= kMostLinksFollowed; ++followed) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(current, error))) return current.string();
    fs::path next = fs::read_symlink(current, error);
    if (error || next.empty()) return current.string();
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  return "";
}

bool same_file(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

constexpr size_t kTagDigits = 16;
constexpr size_t kCheckDigits = 8;

// The check digits of a tag: its bits mixed (the finaliser of splitmix64)
// with a constant of this program's own, so that no simple rule of a
// person's naming gives them.
uint32_t staged_name_check(uint64_t tag) {
  uint64_t z = tag ^ 0x6B657374726F7661ull;  // "kestrova"
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return static_cast<uint32_t>(z ^ (z >> 31));
}

void append_hex(std::string& text, uint64_t value, size_t digits) {
  static const char kHex[] = "0123456789abcdef";
  for (size_t k = digits; k-- > 0;) text += kHex[(value >> (4 * k)) & 0xF];
}

// Lower-case hexadecimal digits alone, read into value; false otherwise.
bool read_hex(std::string_view digits, uint64_t& value) {
  value = 0;
  for (char c : digits) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else return false;
    value = value << 4 | static_cast<uint64_t>(d);
  }
  return true;
}

// A tag no other staged file of this or another running copy is likely to
// have: random bytes from the system, or, should it give none, the clock,
// the process and a count of the tags made.
uint64_t new_staging_tag() {
  static uint64_t made = 0;
  ++made;
  uint64_t tag = 0;
  if (::getentropy(&tag, sizeof tag) == 0) return tag;
  struct timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000000007ull ^ static_cast<uint64_t>(now.tv_nsec) ^
         static_cast<uint64_t>(::getpid()) << 40 ^ made * 0x9E3779B97F4A7C15ull;
}

int lock_file(int fd, int how) {
  int result;
  do result = ::flock(fd, how);
  while (result != 0 && errno == EINTR);
  return result;
}

// Removes the staged files in `folder` that no save holds any more: a save
// holds the lock on its file from just after making it until the rename, so
// one whose lock can be taken belongs to a process that has ended, or to a
// save that made it an instant ago and has not locked it yet, which then
// finds its name gone and makes another (lock_staged_file). Only plain files
// named as staged_file_name names them, check digits and all, are looked at;
// every other file is left alone, whatever its name. A file that cannot be locked at
// all (a file system without locks) is left, as is anything that cannot be
// opened or removed: the save itself goes on regardless.
void remove_staged_leftovers(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  const int dir_fd = ::dirfd(dir);
  while (const dirent* entry = ::readdir(dir)) {
    const char* name = entry->d_name;
    if (!is_staged_file_name(name)) continue;
    // Links, folders, pipes and devices are never opened.
    struct stat named {};
    if (::fstatat(dir_fd, name, &named, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(named.st_mode)) continue;
    const int fd = ::openat(dir_fd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) continue;
    // Under the lock, the name must still be the file that was locked: a
    // file removed and made again in between belongs to a newer save.
    struct stat held {};
    if (lock_file(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
        ::fstatat(dir_fd, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && same_file(held, named)) {
      ::unlinkat(dir_fd, name, 0);
    }
    ::close(fd);
  }
  ::closedir(dir);
}

// Takes the lock on a just-made staged file and makes sure that its name
// still leads to it. Between its creation and the lock another save may have
// taken the file for a leftover and removed it (it unlinks only while it
// holds the lock, so once the lock is ours the name is checked after any
// such removal). False when the name is lost: the caller makes a new file.
// On a file system without locks the file goes on unlocked, and no other
// save can lock it either, so none removes it.
bool lock_staged_file(int fd, const std::string& name) {
  lock_file(fd, LOCK_EX);
  struct stat held {};
  struct stat named {};
  return ::fstat(fd, &held) == 0 && ::lstat(name.c_str(), &named) == 0 && same_file(held, named);
}

}  // namespace

std::string staged_file_name(uint64_t tag) {
  std::string name = kStagedFilePrefix;
  append_hex(name, tag, kTagDigits);
  name += '-';
  append_hex(name, staged_name_check(tag), kCheckDigits);
  return name;
}

bool is_staged_file_name(std::string_view name) {
  constexpr size_t prefix = sizeof kStagedFilePrefix - 1;
  if (name.size() != prefix + kTagDigits + 1 + kCheckDigits || !name.starts_with(kStagedFilePrefix) ||
      name[prefix + kTagDigits] != '-')
    return false;
  uint64_t tag = 0;
  uint64_t check = 0;
  return read_hex(name.substr(prefix, kTagDigits), tag) &&
         read_hex(name.substr(prefix + kTagDigits + 1), check) && check == staged_name_check(tag);
}

uint64_t plain_file_size(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return 0;
  uintmax_t size = std::filesystem::file_size(path, error);
  return error ? 0 : size;
}

bool read_text_line(FILE* file, TextLine& line, size_t keep) {
  line.text.clear();
  line.characters = 0;
  int c = getc_unlocked(file);
  if (c == EOF) return false;
  bool cut = false;
  for (; c != EOF; c = getc_unlocked(file)) {
    if (c == '\n') break;
    if (c == '\r') {
      int next = getc_unlocked(file);
      if (next != '\n' && next != EOF) std::ungetc(next, file);
      break;
    }
    // Continuation bytes of a multi-byte character add no character.
    if ((c & 0xC0) != 0x80) ++line.characters;
    if (line.text.size() < keep) line.text.push_back(static_cast<char>(c));
    else cut = true;
  }
  if (cut) {
    // Drop a character whose bytes the cut split.
    size_t lead = line.text.size();
    while (lead > 0 && (static_cast<unsigned char>(line.text[lead - 1]) & 0xC0) == 0x80) --lead;
    if (lead > 0) {
      unsigned char b = static_cast<unsigned char>(line.text[lead - 1]);
      size_t length = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
      if (lead - 1 + length > line.text.size()) line.text.resize(lead - 1);
    }
  }
  return std::ferror(file) == 0;
}

bool open_staged_file(StagedFile& file, const std::string& target) {
  file.target = final_link_target(target);
  file.temporary.clear();
  file.pending.clear();
  file.failed = false;
  file.fd = -1;
  if (file.target.empty()) return false;
  struct stat old_state {};
  mode_t mode;
  if (::stat(file.target.c_str(), &old_state) == 0 && S_ISREG(old_state.st_mode)) {
    mode = old_state.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  // The temporary file lives in the target's folder so that the rename stays
  // on one file system and replaces the target in one step. Its name is
  // short, whatever the target's length, and new: it is created only where
  // no file of that name exists, so no file already there is ever replaced.
  const std::string folder = directory_of(file.target);
  remove_staged_leftovers(folder);
  for (int attempt = 1;; ++attempt) {
    const std::string name = folder + "/" + staged_file_name(new_staging_tag());
    staged_file_step();
    const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
      // A name already taken (by a chance of one in 2^64) gets another tag.
      if (errno == EEXIST && attempt < kMostStagingAttempts) continue;
      return false;
    }
    staged_file_step();
    if (lock_staged_file(fd, name)) {
      file.fd = fd;
      file.temporary = name;
      break;
    }
    // The name is no longer this file's, and may already be another's.
    ::close(fd);
    if (attempt == kMostStagingAttempts) return false;
  }
  // Some file systems keep modes of their own (a FAT stick, some network
  // mounts) and refuse the change: the file then keeps the mode the system
  // gave it, and the save goes on.
  if (g_test_change_file_mode != nullptr) g_test_change_file_mode(file.fd, mode);
  else ::fchmod(file.fd, mode);
  return true;
}

void write_staged_file(StagedFile& file, std::string_view bytes) {
  file.pending.append(bytes);
  if (file.pending.size() >= kWriteChunk) flush_pending(file);
}

// The name goes before the descriptor: once the lock is gone, the name may
// be taken for a leftover and another file made under it.
void discard_staged_file(StagedFile& file) {
  if (!file.temporary.empty()) ::unlink(file.temporary.c_str());
  file.temporary.clear();
  if (file.fd >= 0) ::close(file.fd);
  file.fd = -1;
}

bool commit_staged_file(StagedFile& file) {
  flush_pending(file);
  staged_file_step();
  bool ok = !file.failed && (!kSyncToDisk || ::fsync(file.fd) == 0);
  if (ok) staged_file_step();
  // The file stays open, and so locked, until it bears the target's name.
  if (ok && std::rename(file.temporary.c_str(), file.target.c_str()) != 0) ok = false;
  if (!ok) {
    discard_staged_file(file);
    return false;
  }
  file.temporary.clear();
  // After the fsync a close has nothing left to report, and the target has
  // the new content whatever it says.
  ::close(file.fd);
  file.fd = -1;
  // The rename itself reaches the disk with its folder.
  staged_file_step();
  if (kSyncToDisk) {
    int dir = ::open(directory_of(file.target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
      ::fsync(dir);
      ::close(dir);
    }
  }
  return true;
}

int64_t write_file_atomically(const std::string& path, const std::string& bytes) {
  StagedFile file;
  if (!open_staged_file(file, path)) return 0;
  write_staged_file(file, bytes);
  return commit_staged_file(file) ? 1 : 0;
}
