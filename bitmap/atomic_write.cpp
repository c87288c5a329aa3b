#include "bitmap/atomic_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace bitmap_files {

namespace {

mode_t mode_for(const char* path) {
  struct stat existing {};
  if (::stat(path, &existing) == 0)
    return existing.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// write(2) until done, retrying interrupted calls; false on any error (EFBIG, ENOSPC, EIO...).
bool write_all(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t done = ::write(fd, data, size);
    if (done < 0) {
      if (errno == EINTR)
        continue;
      return false;
    }
    if (done == 0)
      return false;
    data += done;
    size -= static_cast<std::size_t>(done);
  }
  return true;
}

// Makes the rename itself durable. The file is in place already, so a failure here is no
// reason to report the save as failed.
void sync_directory_of(const char* path) {
  std::string dir(path);
  const std::size_t slash = dir.find_last_of('/');
  dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : dir.substr(0, slash));
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0)
    return;
  ::fsync(fd);
  ::close(fd);
}

} // namespace

bool write_file_atomically(const char* path, std::initializer_list<std::span<const std::uint8_t>> pieces) {
  if (path == nullptr || *path == '\0')
    return false;
  std::string temp = std::string(path) + ".tmp-XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0)
    return false;
  bool ok = ::fchmod(fd, mode_for(path)) == 0;
  for (const auto& piece : pieces)
    ok = ok && write_all(fd, piece.data(), piece.size());
  ok = ok && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::rename(temp.c_str(), path) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  sync_directory_of(path);
  return true;
}

} // namespace bitmap_files
