#include "core/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

int64_t write_file_atomically(const std::string& path, const std::string& bytes) {
  // The temporary file lives in the same folder so that the rename stays on
  // one file system and replaces path in one step.
  std::string pattern = path + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = ::mkstemp(name.data());
  if (fd < 0) return 0;
  const std::string temporary(name.data());
  // mkstemp makes the file private; give it the mode of the file it replaces,
  // or that of an ordinary new file.
  struct stat old_state {};
  mode_t mode = ::stat(path.c_str(), &old_state) == 0 ? (old_state.st_mode & 07777) : 0644;
  bool ok = ::fchmod(fd, mode) == 0;
  size_t done = 0;
  while (ok && done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
    } else {
      done += static_cast<size_t>(n);
    }
  }
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) {
    ::unlink(temporary.c_str());
    return 0;
  }
  return 1;
}
