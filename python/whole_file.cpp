#include "python/whole_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

namespace quorvane::python {
namespace {

// Threads of one process saving to one path each need a temporary of their own.
std::atomic<unsigned long> temporaryCount{0};

constexpr int kAttempts = 100;

int OpenTemporary(const std::string& path, std::string& temporary) {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    temporary = path + ".partial-" + std::to_string(getpid()) + "-" +
                std::to_string(temporaryCount.fetch_add(1));
    // O_EXCL: an unrelated file that happens to have the name is never overwritten.
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

int WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t written = write(fd, text.data() + done, text.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return errno;
    done += static_cast<std::size_t>(written);
  }
  return 0;
}

}  // namespace

int WriteWholeFile(const std::string& path, const std::string& text) {
  std::string temporary;
  const int fd = OpenTemporary(path, temporary);
  if (fd < 0) return errno;
  int error = WriteAll(fd, text);
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) unlink(temporary.c_str());
  return error;
}

}  // namespace quorvane::python
