#pragma once

#include <string>
#include <string_view>

// Output files that appear whole or not at all, and never at the expense of
// something that is not theirs to replace.
namespace quorvane::files {

enum class WriteStatus {
  Written,
  // The target may not be replaced: it is not a regular file (a directory,
  // device, FIFO or socket), it is read-only, it is the file to keep, or the
  // path names no file. Nothing was changed.
  Refused,
  // The target was acceptable but the writing failed (no such folder, a full
  // disk, ...). Nothing was changed at the target and no temporary is left.
  Failed,
};

struct WriteResult {
  WriteStatus status = WriteStatus::Written;
  // One line naming the path as given; empty when written.
  std::string message;

  bool Written() const { return status == WriteStatus::Written; }
};

// Whether path may be replaced, without touching anything: the checks
// WriteFileAtomically makes first. A caller writing several files checks
// them all before writing any, so that a refused one leaves the others alone.
//
// keep: a file that must not be overwritten, the input being read (the
// message calls it so); it is compared as the same file (device and inode),
// so another spelling of its path, or a link to it, is refused as well.
// Empty: none.
WriteResult CheckTarget(const std::string& path, const std::string& keep = {});

// Replaces the file at path with bytes. A symbolic link is followed to the
// file it names, which is written and the link kept. The bytes go to a new
// temporary file of a unique name in the target's folder, which is then
// renamed over the target, so readers see the old file or the new one and
// never a part. An existing file keeps its permission bits; a new one gets
// the usual ones of a file the user creates. On Windows a file that another
// program holds open cannot be replaced: the write fails and it stays as it
// was.
WriteResult WriteFileAtomically(const std::string& path, std::string_view bytes,
                                const std::string& keep = {});

}  // namespace quorvane::files
