#include "files/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>
#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <unistd.h>
#endif

namespace quorvane::files {
namespace {

namespace fs = std::filesystem;

// Symbolic links followed before the path is taken for a loop, as the
// kernel counts them.
constexpr int kMaxLinks = 40;
// Fresh temporary names tried before the folder is given up on.
constexpr int kTemporaryAttempts = 100;
// The most one write call is given: Windows counts in unsigned int.
constexpr std::size_t kWriteChunk = std::size_t{1} << 30;
constexpr fs::perms kWriteBits =
    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

#ifdef _WIN32
int OpenNew(const fs::path& path) {
  return ::_wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
}
long WriteSome(int fd, const char* data, std::size_t size) {
  return ::_write(fd, data, static_cast<unsigned>(size));
}
int Flush(int fd) {
  return ::_commit(fd);
}
int CloseFile(int fd) {
  return ::_close(fd);
}
// A file Windows lets us replace has no permission bits worth carrying over.
int KeepMode(int, fs::perms) {
  return 0;
}
bool DeniedToUs(const fs::path&) {
  return false;
}
std::uint64_t ProcessId() {
  return static_cast<std::uint64_t>(::_getpid());
}
#else
int OpenNew(const fs::path& path) {
  // Created by the user, as any new file: the umask applies.
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
long WriteSome(int fd, const char* data, std::size_t size) {
  return ::write(fd, data, size);
}
int Flush(int fd) {
  return ::fsync(fd);
}
int CloseFile(int fd) {
  return ::close(fd);
}
int KeepMode(int fd, fs::perms perms) {
  return ::fchmod(fd, static_cast<mode_t>(perms & fs::perms::all));
}
// The bits say nothing of a file owned by another user, or on a read-only
// file system.
bool DeniedToUs(const fs::path& file) {
  return ::access(file.c_str(), W_OK) != 0 && (errno == EACCES || errno == EROFS);
}
std::uint64_t ProcessId() {
  return static_cast<std::uint64_t>(::getpid());
}
#endif

std::error_code LastError() {
  return {errno, std::generic_category()};
}

std::string Quoted(const std::string& path) {
  return "\"" + path + "\"";
}

WriteResult Refused(const std::string& path, const std::string& why) {
  return {WriteStatus::Refused, Quoted(path) + " " + why};
}

WriteResult Failed(const std::string& path, const std::error_code& error) {
  return {WriteStatus::Failed, "cannot write " + Quoted(path) + ": " + error.message()};
}

// The file the path names once its symbolic links are followed, as the
// system would follow them on opening it; it need not exist.
std::error_code FollowLinks(fs::path& file) {
  for (int hops = 0; hops <= kMaxLinks; ++hops) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(file, error))) return {};
    const fs::path next = fs::read_symlink(file, error);
    if (error) return error;
    file = next.is_absolute() ? next : file.parent_path() / next;
  }
  return std::make_error_code(std::errc::too_many_symbolic_link_levels);
}

// What is at the path now: the file to replace, if there is one.
struct Target {
  fs::path file;
  bool exists = false;
  fs::perms perms = fs::perms::none;
};

WriteResult Examine(const std::string& path, const std::string& keep, Target& target) {
  if (path.empty()) return {WriteStatus::Refused, "the file name is empty"};
  target.file = fs::path(path);
  if (!target.file.has_filename()) return Refused(path, "names a folder, not a file");
  if (const std::error_code error = FollowLinks(target.file)) {
    return {WriteStatus::Refused, Quoted(path) + ": " + error.message()};
  }
  std::error_code error;
  const fs::file_status status = fs::status(target.file, error);
  // A path through a missing folder fails when the temporary is made.
  if (status.type() == fs::file_type::not_found) return {};
  if (error) return Failed(path, error);
  if (fs::is_directory(status)) return Refused(path, "is a folder");
  if (!fs::is_regular_file(status)) return Refused(path, "is not a regular file");
  if (!keep.empty() && fs::equivalent(target.file, fs::path(keep), error)) {
    return Refused(path, path == keep
                             ? "is the input file"
                             : "is the input file " + Quoted(keep) + " under another name");
  }
  // Running as root, nothing stops a write to a file without write bits: its
  // owner made it read-only, and so it stays.
  if ((status.permissions() & kWriteBits) == fs::perms::none || DeniedToUs(target.file)) {
    return Refused(path, "is read-only");
  }
  target.exists = true;
  target.perms = status.permissions();
  return {};
}

std::uint64_t NextRandom() {
  thread_local std::mt19937_64 generator([] {
    std::uint64_t seed =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    seed ^= ProcessId() << 32;
    try {
      std::random_device device;
      seed ^= (std::uint64_t{device()} << 32) | device();
    } catch (...) {
      // The clock and the process id still tell concurrent writers apart.
    }
    return seed;
  }());
  return generator();
}

// A new file beside the target, of a name no other file had, removed unless
// it is renamed into place.
class Temporary {
 public:
  Temporary() = default;
  Temporary(const Temporary&) = delete;
  Temporary& operator=(const Temporary&) = delete;
  ~Temporary() {
    if (fd_ >= 0) CloseFile(fd_);
    std::error_code ignored;
    if (!path_.empty()) fs::remove(path_, ignored);
  }

  std::error_code Create(const fs::path& folder) {
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
      char name[40];
      std::snprintf(name, sizeof name, ".quorvane-%016" PRIx64 ".tmp", NextRandom());
      const fs::path candidate = folder / name;
      fd_ = OpenNew(candidate);
      if (fd_ >= 0) {
        path_ = candidate;
        return {};
      }
      if (errno != EEXIST) return LastError();
    }
    return std::make_error_code(std::errc::file_exists);
  }

  std::error_code Write(std::string_view bytes) {
    while (!bytes.empty()) {
      const long written = WriteSome(fd_, bytes.data(), std::min(bytes.size(), kWriteChunk));
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0)
        return written < 0 ? LastError() : std::make_error_code(std::errc::io_error);
      bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
  }

  // On the disk and closed, with the replaced file's permissions.
  std::error_code Finish(const Target& target) {
    if (target.exists && KeepMode(fd_, target.perms) != 0) return LastError();
    if (Flush(fd_) != 0) return LastError();
    const int fd = fd_;
    fd_ = -1;
    if (CloseFile(fd) != 0) return LastError();
    return {};
  }

  std::error_code RenameOver(const fs::path& file) {
    std::error_code error;
    // Replaces an existing file on Windows as well, where std::rename refuses to.
    fs::rename(path_, file, error);
    if (!error) path_.clear();
    return error;
  }

 private:
  int fd_ = -1;
  fs::path path_;
};

fs::path Folder(const fs::path& file) {
  return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

}  // namespace

WriteResult CheckTarget(const std::string& path, const std::string& keep) {
  Target target;
  return Examine(path, keep, target);
}

WriteResult WriteFileAtomically(const std::string& path, std::string_view bytes,
                                const std::string& keep) {
  Target target;
  if (WriteResult checked = Examine(path, keep, target); !checked.Written()) return checked;
  Temporary temporary;
  std::error_code error = temporary.Create(Folder(target.file));
  if (!error) error = temporary.Write(bytes);
  if (!error) error = temporary.Finish(target);
  if (!error) error = temporary.RenameOver(target.file);
  if (error) return Failed(path, error);
  return {};
}

}  // namespace quorvane::files
