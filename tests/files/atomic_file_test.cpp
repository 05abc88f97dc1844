#include "files/atomic_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <csignal>
#endif

namespace quorvane::files {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

void Put(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Everything in a folder, links not followed: what each name is, and what a
// regular file holds. Two equal snapshots mean nothing was touched.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> entries;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().lexically_relative(folder).generic_string();
    const fs::file_status status = entry.symlink_status();
    if (fs::is_symlink(status)) {
      entries[name] = "link to " + fs::read_symlink(entry.path()).generic_string();
    } else if (fs::is_regular_file(status)) {
      entries[name] = "file: " + Read(entry.path());
    } else {
      entries[name] = "type " + std::to_string(static_cast<int>(status.type()));
    }
  }
  return entries;
}

// A folder of the test's own, of a name no other run uses, removed afterwards.
class AtomicFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    for (int attempt = 0; attempt < 100 && folder_.empty(); ++attempt) {
      const fs::path candidate =
          fs::temp_directory_path() / ("quorvane_files_" + std::to_string(random()));
      if (fs::create_directory(candidate)) folder_ = candidate;
    }
    ASSERT_FALSE(folder_.empty());
  }
  void TearDown() override {
    std::error_code ignored;
    // Windows removes no read-only file.
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder_, ignored)) {
      if (entry.is_regular_file(ignored) && !entry.is_symlink(ignored)) {
        fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ignored);
      }
    }
    fs::remove_all(folder_, ignored);
  }

  // A fresh subfolder for one case.
  fs::path CaseFolder(const std::string& name) const {
    const fs::path folder = folder_ / name;
    fs::create_directories(folder);
    return folder;
  }

  fs::path folder_;
};

// The data file a case may name as the one to keep.
constexpr const char* kData = "data.csv";

struct TargetCase {
  const char* name;
  // Makes what is at the target; returns the path to write, or nothing when
  // this system cannot make it (a device node needs root).
  std::function<std::optional<std::string>(const fs::path&)> arrange;
  WriteStatus status;
  // A part of the message.
  const char* message;
  // Written: the file, in the case's folder, that must hold the new bytes;
  // every other entry is as it was. Otherwise the folder is as it was.
  const char* written = nullptr;
  bool keepData = false;
};

std::optional<std::string> Named(const fs::path& folder, const char* name) {
  return (folder / name).string();
}

const TargetCase kCases[] = {
    {"a new file", [](const fs::path& d) { return Named(d, "out.json"); }, WriteStatus::Written, "",
     "out.json"},
    {"a regular file",
     [](const fs::path& d) {
       Put(d / "out.json", "old");
       return Named(d, "out.json");
     },
     WriteStatus::Written, "", "out.json"},
    {"a file beside leftovers of other writers",
     [](const fs::path& d) {
       Put(d / "out.json", "old");
       for (const char* stale :
            {"out.json.partial", "out.json.tmp", ".out.json.swp", "out.json~"}) {
         Put(d / stale, "stale");
       }
       return Named(d, "out.json");
     },
     WriteStatus::Written, "", "out.json"},
    {"a folder",
     [](const fs::path& d) {
       fs::create_directory(d / "out.json");
       return Named(d, "out.json");
     },
     WriteStatus::Refused, "is a folder"},
    {"a read-only file",
     [](const fs::path& d) {
       Put(d / "out.json", "old");
       fs::permissions(d / "out.json", fs::perms::owner_read | fs::perms::group_read);
       return Named(d, "out.json");
     },
     WriteStatus::Refused, "is read-only"},
    {"an empty name", [](const fs::path&) { return std::optional<std::string>(""); },
     WriteStatus::Refused, "the file name is empty"},
    {"a folder's name with no file",
     [](const fs::path& d) { return std::optional<std::string>(d.string() + "/"); },
     WriteStatus::Refused, "names a folder, not a file"},
    {"a file in a missing folder", [](const fs::path& d) { return Named(d, "missing/out.json"); },
     WriteStatus::Failed, "cannot write"},
    {"the file to keep under another spelling",
     [](const fs::path& d) {
       Put(d / kData, "old");
       return std::optional<std::string>((d / "." / kData).string());
     },
     WriteStatus::Refused, "is the input file", nullptr, true},
    {"a hard link to the file to keep",
     [](const fs::path& d) {
       Put(d / kData, "old");
       fs::create_hard_link(d / kData, d / "out.json");
       return Named(d, "out.json");
     },
     WriteStatus::Refused, "is the input file", nullptr, true},
#ifndef _WIN32
    {"a chain of relative links",
     [](const fs::path& d) {
       fs::create_directory(d / "sub");
       Put(d / "real.json", "old");
       fs::create_symlink("sub/hop.json", d / "out.json");
       fs::create_symlink("../real.json", d / "sub/hop.json");
       return Named(d, "out.json");
     },
     WriteStatus::Written, "", "real.json"},
    {"a link to a file not there yet",
     [](const fs::path& d) {
       fs::create_symlink("made.json", d / "out.json");
       return Named(d, "out.json");
     },
     WriteStatus::Written, "", "made.json"},
    {"a link to the file to keep",
     [](const fs::path& d) {
       Put(d / kData, "old");
       fs::create_symlink(kData, d / "out.json");
       return Named(d, "out.json");
     },
     WriteStatus::Refused, "is the input file", nullptr, true},
    {"a loop of links",
     [](const fs::path& d) {
       fs::create_symlink("b", d / "a");
       fs::create_symlink("a", d / "b");
       return Named(d, "a");
     },
     WriteStatus::Refused, "symbolic links"},
    {"a FIFO",
     [](const fs::path& d) {
       if (::mkfifo((d / "out.json").c_str(), 0644) != 0) return std::optional<std::string>();
       return Named(d, "out.json");
     },
     WriteStatus::Refused, "is not a regular file"},
    {"a link to a FIFO",
     [](const fs::path& d) {
       if (::mkfifo((d / "pipe").c_str(), 0644) != 0) return std::optional<std::string>();
       fs::create_symlink("pipe", d / "out.json");
       return Named(d, "out.json");
     },
     WriteStatus::Refused, "is not a regular file"},
    // A node of the null device of our own: a writer that wrongly wrote
    // through it would harm nothing.
    {"a device node",
     [](const fs::path& d) {
       if (::mknod((d / "out.json").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
         return std::optional<std::string>();
       }
       return Named(d, "out.json");
     },
     WriteStatus::Refused, "is not a regular file"},
#endif
};

// Every kind of target: a file is replaced (through its links, which stay);
// anything else is refused or fails with its reason, and then nothing in the
// folder has changed, no temporary is left and no neighbour is touched.
TEST_F(AtomicFile, ReplacesOnlyWhatIsItsToReplace) {
  const std::string bytes = "new";
  int index = 0;
  for (const TargetCase& c : kCases) {
    const fs::path d = CaseFolder("case" + std::to_string(index++));
    const std::optional<std::string> path = c.arrange(d);
    if (!path) {
      std::printf("skipped \"%s\": it cannot be made here\n", c.name);
      continue;
    }
    const std::string keep = c.keepData ? (d / kData).string() : std::string();
    std::map<std::string, std::string> expected = Snapshot(d);
    if (c.status == WriteStatus::Refused) {
      EXPECT_EQ(CheckTarget(*path, keep).status, WriteStatus::Refused) << c.name;
    }
    const WriteResult result = WriteFileAtomically(*path, bytes, keep);
    EXPECT_EQ(result.status, c.status) << c.name << ": " << result.message;
    EXPECT_NE(result.message.find(c.message), std::string::npos)
        << c.name << ": " << result.message;
    if (c.written) expected[c.written] = "file: " + bytes;
    EXPECT_EQ(Snapshot(d), expected) << c.name;
  }
}

#ifndef _WIN32
// A replaced file keeps its permission bits; a new one has those any new
// file of the user has, not a temporary's private ones.
TEST_F(AtomicFile, KeepsPermissionBits) {
  const mode_t mask = ::umask(022);
  ::umask(mask);
  struct Case {
    const char* name;
    std::optional<fs::perms> before;
    fs::perms after;
  };
  const Case cases[] = {
      {"new", std::nullopt, static_cast<fs::perms>(0666 & ~mask)},
      {"group readable", fs::perms(0640), fs::perms(0640)},
      {"world writable", fs::perms(0666), fs::perms(0666)},
      {"owner alone", fs::perms(0600), fs::perms(0600)},
  };
  for (const Case& c : cases) {
    const fs::path file = folder_ / c.name;
    if (c.before) {
      Put(file, "old");
      fs::permissions(file, *c.before);
    }
    ASSERT_TRUE(WriteFileAtomically(file.string(), "new").Written()) << c.name;
    EXPECT_EQ(fs::status(file).permissions(), c.after) << c.name;
  }
}

// A write that fails halfway (here at the file size limit) leaves the old
// file whole and no temporary behind.
TEST_F(AtomicFile, FailedWriteLeavesTheOldFile) {
  Put(folder_ / "out.json", "old");
  const auto before = Snapshot(folder_);
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 4096;
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const WriteResult result =
      WriteFileAtomically((folder_ / "out.json").string(), std::string(1 << 16, 'x'));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(result.status, WriteStatus::Failed);
  EXPECT_NE(result.message.find("out.json"), std::string::npos) << result.message;
  EXPECT_EQ(Snapshot(folder_), before);
}

// Writers racing on one path each put a whole file there, and a reader
// beside them never sees a mixture or a part. (Windows refuses to replace a
// file a reader holds open: there the writer fails instead.)
TEST_F(AtomicFile, ConcurrentWritersLeaveOneWholeFile) {
  constexpr int kWriters = 4;
  constexpr int kWrites = 25;
  constexpr std::size_t kSize = 1 << 16;
  const std::string path = (folder_ / "shared.json").string();
  ASSERT_TRUE(WriteFileAtomically(path, std::string(kSize, 'a')).Written());
  std::vector<std::thread> writers;
  for (int w = 0; w < kWriters; ++w) {
    writers.emplace_back([&path, w] {
      const std::string bytes(kSize, static_cast<char>('b' + w));
      for (int i = 0; i < kWrites; ++i) EXPECT_TRUE(WriteFileAtomically(path, bytes).Written());
    });
  }
  int mixed = 0;
  for (int i = 0; i < kWriters * kWrites; ++i) {
    const std::string text = Read(path);
    if (text.size() != kSize || text.find_first_not_of(text.front()) != std::string::npos) ++mixed;
  }
  for (std::thread& writer : writers) writer.join();
  EXPECT_EQ(mixed, 0);
  EXPECT_EQ(Snapshot(folder_).size(), 1u);
}

#endif

}  // namespace
}  // namespace quorvane::files
