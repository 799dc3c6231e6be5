#include "core/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

static std::string directory_of(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string temporary_path_for(const std::string& path) { return path + ".tmp"; }

int64_t write_file_atomically(const std::string& path, const std::string& bytes) {
  // The temporary file lives in the same folder so that the rename stays on
  // one file system and replaces path in one step.
  const std::string temporary = temporary_path_for(path);
  // Keep the mode of the file being replaced, or that of an ordinary new file.
  struct stat old_state {};
  mode_t mode;
  if (::stat(path.c_str(), &old_state) == 0) {
    mode = old_state.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return 0;
  bool ok = ::fchmod(fd, mode) == 0;
  size_t done = 0;
  while (ok && done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ok = false;
    else done += static_cast<size_t>(n);
  }
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) {
    ::unlink(temporary.c_str());
    return 0;
  }
  // Make the rename itself durable.
  int dir = ::open(directory_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return 1;
}
