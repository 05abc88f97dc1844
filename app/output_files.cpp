#include "app/output_files.h"

#include <filesystem>

#include "app/input_error.h"
#include "app/safe_text.h"
#include "files/atomic_file.h"
#include "plot/figure_writer.h"

namespace quorvane::cli {
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

}  // namespace

void CheckFileName(const std::string& option, const std::string& path) {
  if (path.empty()) throw InputError(option + ": the file name is empty");
  if (!std::filesystem::path(path).has_filename()) {
    throw InputError(option + ": " + QuotedInput(path) + " names a folder, not a file");
  }
}

void AddFigureFiles(std::vector<OutputFile>& outputs, const std::string& option,
                    const plot::Figure& figure, const std::string& base) {
  plot::FigureFiles drawn;
  const std::string problem = plot::DrawFigure(figure, drawn);
  if (!problem.empty()) throw WriteError(option + ": " + problem);
  outputs.push_back({option, base + ".svg", std::move(drawn.svg)});
  outputs.push_back({option, base + ".png", std::move(drawn.png)});
}

void WriteOutputFiles(const std::vector<OutputFile>& outputs,
                      const std::vector<std::string>& inputs) {
  for (const OutputFile& file : outputs) CheckOutput(file, inputs);
  for (const OutputFile& file : outputs) {
    const files::WriteResult result = files::WriteFileAtomically(file.path, file.bytes);
    if (!result.Written()) Throw(file, result);
  }
}

}  // namespace quorvane::cli
