#include "app/output_files.h"

#include <filesystem>

#include "app/input_error.h"
#include "app/safe_text.h"
#include "files/atomic_file.h"
#include "plot/figure_writer.h"

namespace quorvane::app {
namespace {

constexpr const char* kStandardInput = "-";

// The writer's line, with the path quoted as given, made safe for a terminal.
std::string Problem(const OutputFile& file, const files::WriteResult& result) {
  return file.option + ": " + SafeText(result.message, kLongInputLimit);
}

void Throw(const OutputFile& file, const files::WriteResult& result) {
  if (result.status == files::WriteStatus::Refused) throw InputError(Problem(file, result));
  throw WriteError(Problem(file, result));
}

void CheckOutput(const OutputFile& file, const std::vector<std::string>& inputs) {
  files::WriteResult result = files::CheckTarget(file.path);
  for (const std::string& input : inputs) {
    if (!result.Written()) break;
    if (input != kStandardInput) result = files::CheckTarget(file.path, input);
  }
  if (!result.Written()) Throw(file, result);
}

// However spelled, and whether or not it exists yet.
bool SameFile(const std::string& a, const std::string& b) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (fs::equivalent(a, b, error)) return true;
  const fs::path first = fs::weakly_canonical(fs::absolute(a, error), error);
  if (error) return a == b;
  const fs::path second = fs::weakly_canonical(fs::absolute(b, error), error);
  if (error) return a == b;
  return first == second;
}

// The later of two outputs naming one file would silently replace the first.
void CheckDistinct(const std::vector<OutputFile>& outputs) {
  for (std::size_t later = 1; later < outputs.size(); ++later) {
    for (std::size_t first = 0; first < later; ++first) {
      if (!SameFile(outputs[first].path, outputs[later].path)) continue;
      throw InputError(outputs[later].option + ": " + QuotedInput(outputs[later].path) +
                       " is also written by " + outputs[first].option);
    }
  }
}

}  // namespace

void CheckFileName(const std::string& option, const std::string& path) {
  if (path.empty()) throw InputError(option + ": the file name is empty");
  if (!std::filesystem::path(path).has_filename()) {
    throw InputError(option + ": " + QuotedInput(path) + " names a folder, not a file");
  }
}

std::string PlotBasePath(const std::string& path) {
  for (const char* extension : {".svg", ".png"}) {
    const std::string suffix = extension;
    if (path.size() > suffix.size() && path.ends_with(suffix)) {
      return path.substr(0, path.size() - suffix.size());
    }
  }
  return path;
}

PlotFiles PlotFilesFor(const std::string& path) {
  const std::string base = PlotBasePath(path);
  if (base != path) return {base, path.ends_with(".png")};
  return {base, plot::PngBuilt()};
}

void AddFigureFiles(std::vector<OutputFile>& outputs, const std::string& option,
                    const plot::Figure& figure, const PlotFiles& files, const std::string& suffix) {
  const std::string base = files.base + suffix;
  std::string svg = plot::FigureSvg(figure);
  if (files.png) {
    std::string png;
    const std::string problem = plot::RenderPng(svg, png);
    if (!problem.empty()) throw WriteError(option + ": " + problem);
    outputs.push_back({option, base + ".png", std::move(png)});
  }
  outputs.push_back({option, base + ".svg", std::move(svg)});
}

void WriteOutputFiles(const std::vector<OutputFile>& outputs,
                      const std::vector<std::string>& inputs) {
  CheckDistinct(outputs);
  for (const OutputFile& file : outputs) CheckOutput(file, inputs);
  for (const OutputFile& file : outputs) {
    const files::WriteResult result = files::WriteFileAtomically(file.path, file.bytes);
    if (!result.Written()) Throw(file, result);
  }
}

}  // namespace quorvane::app
