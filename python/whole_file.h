#pragma once

#include <string>

namespace quorvane::python {

// Writes text to path whole or not at all: into a file of its own beside
// path, then renamed over it, so that a reader sees the old file or the new
// one and a failed write leaves the old one as it was. Returns 0, or the
// errno of what failed.
int WriteWholeFile(const std::string& path, const std::string& text);

}  // namespace quorvane::python
