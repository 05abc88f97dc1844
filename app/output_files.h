#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "plot/figure.h"

namespace quorvane::app {

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

// The path --plot names, without a ".svg" or ".png" the user may have added:
// both files are written.
std::string PlotBasePath(const std::string& path);

// The files --plot asks for. "NAME.svg" asks for the SVG alone, and Qt is
// never loaded; "NAME.png" for both; a bare NAME for both where the build
// renders PNG, otherwise for the SVG alone.
struct PlotFiles {
  std::string base;
  bool png = false;
};
PlotFiles PlotFilesFor(const std::string& path);

// Adds the figure's files, base + suffix + ".svg", and + ".png" where asked
// for. Throws WriteError when the PNG cannot be drawn (as in a build without
// Qt).
void AddFigureFiles(std::vector<OutputFile>& outputs, const std::string& option,
                    const plot::Figure& figure, const PlotFiles& files,
                    const std::string& suffix = "");

// Writes each file whole or not at all, after checking every target: two
// naming one file, or one that may not be replaced (not a regular file,
// read-only, or one of the files the command reads, "-" being standard
// input) throws InputError and nothing is written. A write that fails throws WriteError; the files
// before it stay written.
void WriteOutputFiles(const std::vector<OutputFile>& outputs,
                      const std::vector<std::string>& inputs);

}  // namespace quorvane::app
