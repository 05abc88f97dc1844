#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "plot/figure.h"

namespace quorvane::cli {

// A file a command was asked to write: the option that asked for it, its
// path as given, and its bytes.
struct OutputFile {
  std::string option;
  std::string path;
  std::string bytes;
};

// Writing failed after every target was accepted: one line, without the
// program's name.
class WriteError : public std::runtime_error {
 public:
  explicit WriteError(const std::string& message) : std::runtime_error(message) {}
};

// Throws InputError when path names no file: empty, or a folder's name
// ending in a separator. For --plot, whose path gets a suffix, this is the
// only chance to tell.
void CheckFileName(const std::string& option, const std::string& path);

// Adds the figure's files, base + ".svg" and base + ".png". Throws WriteError
// when it cannot be drawn (as in a build without plots).
void AddFigureFiles(std::vector<OutputFile>& outputs, const std::string& option,
                    const plot::Figure& figure, const std::string& base);

// Writes each file whole or not at all, after checking every target: one
// that may not be replaced (not a regular file, read-only, or one of the
// files the command reads, "-" being standard input) throws InputError and
// nothing is written. A write that fails throws WriteError; the files
// before it stay written.
void WriteOutputFiles(const std::vector<OutputFile>& outputs,
                      const std::vector<std::string>& inputs);

}  // namespace quorvane::cli
