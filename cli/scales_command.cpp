#include <CLI/CLI.hpp>

#include "app/decimal_text.h"
#include "app/input_error.h"
#include "cli/eos_command.h"
#include "cli/scale_commands.h"
#include "cli/subcommand_parse.h"
#include "scales/scale_directory.h"

namespace quorvane::cli {
namespace {

std::string Bounds(double low, double high) {
  std::string text;
  app::AppendShortest(text, low);
  text += "-";
  app::AppendShortest(text, high);
  return text;
}

void AppendLine(std::string& out, const scales::ScaleInfo& info) {
  const bool gauge = info.kind == scales::ScaleKind::Fluorescence;
  out += info.name + '\t' + info.material + '\t' + (gauge ? "fluorescence" : "volume") + '\t' +
         Bounds(info.range.minP, info.range.maxP) + '\t' +
         Bounds(info.range.minT, info.range.maxT) + '\t' + info.citation + '\n';
}

}  // namespace

bool IsScaleCommand(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return false;
  const std::string& name = arguments.front();
  return name == "scales" || name == "pressure" || name == "rescale" || name == "cell";
}

int RunScaleCommand(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
                    std::ostream& err) {
  const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
  if (arguments.front() == "scales") return RunScalesList(rest, out, err);
  if (arguments.front() == "pressure") return RunPressureCommand(rest, in, out, err);
  if (arguments.front() == "cell") return RunCellCommand(rest, in, out, err);
  return RunRescaleCommand(rest, in, out, err);
}

int RunScalesList(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  CLI::App app{
      "Lists the pressure scales: name, calibrant, kind, pressure range (GPa), "
      "temperature range (K) and source.",
      "quorvane-eos scales"};
  try {
    if (const auto help = ParseSubcommand(app, "quorvane-eos scales", arguments)) {
      out << *help;
      return out.flush() ? kExitSuccess : kExitWriteFailed;
    }
  } catch (const app::InputError& error) {
    err << "quorvane-eos scales: " << error.what() << '\n';
    return kExitBadInput;
  }
  std::string text = "name\tmaterial\tkind\tP (GPa)\tT (K)\tsource\n";
  const scales::ScaleFolder folder = scales::ShippedVolumeScales(scales::ShippedScalesFolder());
  for (const scales::VolumeScale& scale : folder.scales) AppendLine(text, scale.info);
  for (const scales::FluorescenceScale& gauge : scales::FluorescenceScales()) {
    AppendLine(text, gauge.info);
  }
  out << text;
  if (!out.flush()) {
    err << "quorvane-eos scales: writing the list failed\n";
    return kExitWriteFailed;
  }
  // One broken file must not hide the others: it is named and left out.
  for (const std::string& problem : folder.problems) {
    err << "quorvane-eos scales: warning: left out: " << problem << '\n';
  }
  return kExitSuccess;
}

}  // namespace quorvane::cli
