// file_open.cpp: opening only regular files.
#include "files/file_open.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int File_OpenRegular(const std::string& path, int flags) {
  if (path.empty()) return -1;
  // Non-blocking for the open itself: opening a pipe for reading would wait
  // for a writer.
  int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0644);
  if (fd < 0) return -1;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  int fl = ::fcntl(fd, F_GETFL);
  if (fl >= 0) ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
  return fd;
}

bool File_IsFolderOrDevice(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}
