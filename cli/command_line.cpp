#include "cli/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "cli/input_error.h"

namespace quorvane::cli {
namespace {

struct OptionDescription {
  const char* name;
  const char* help;
};

const OptionDescription kOptions[] = {
    {"--eos", "murnaghan | birch-murnaghan | vinet | natural-strain (default birch-murnaghan)"},
    {"--order", "2, 3 or 4 (default 3); murnaghan is 3rd order, vinet 2nd or 3rd"},
    {"--V0", "V(0,0), the volume at zero pressure and T(ref) (default 10)"},
    {"--K0", "bulk modulus at zero pressure and T(ref) (default 100)"},
    {"--Kp0", "K'0 (default 4); implied at 2nd order"},
    {"--Kpp0", "K''0, only at 4th order (default: the 3rd-order implied value)"},
    {"--alpha0", "alpha0 x 10^5 (default 2)"},
    {"--alpha1", "alpha1 x 10^8 (default 0)"},
    {"--dKdT", "dK/dT (default -0.019999999552965164)"},
    {"--Tref", "T(ref) (default 298)"},
    {"--P", "pressure: a number or a range start:stop:step"},
    {"--T", "temperature, number or range (default T(ref)); derived with --VT0"},
    {"--V", "volume, number or range; the volume held with --VT0"},
    {"--V-over-V00", "V/V(0,0), number or range"},
    {"--VT0", "V(T,0), number or range; needs --V, gives T"},
    {"--V-over-VT0", "V/V(T,0), number or range"},
    {"--input",
     "CSV file (- for standard input): a header row naming the known quantity "
     "(P, V, V/V00, VT0 with V, V/V00 or V/VT0) and optionally T, one point a row"},
    {"--format", "csv | tsv | json (default csv)"},
    {"--solver",
     "exact | form (default exact): how V follows from P. exact gives the volume whose "
     "pressure is nearest P of all doubles; form runs the calculator's own search, which "
     "stops within a relative 1e-5 of P, and repeats its answers to the last bit"},
    {"--width", "print every number as the form shows it in a field N characters wide (1-32)"},
};

std::string OneLine(std::string text) {
  std::replace(text.begin(), text.end(), '\n', ' ');
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace

TypedOptions ReadCommandLine(const std::vector<std::string>& arguments) {
  CLI::App app{
      "State points and P-V-T tables of a solid's equation of state, computed as the "
      "Quorvane calculator computes them.",
      "quorvane-eos"};
  std::map<std::string, std::string> typed;
  for (const OptionDescription& option : kOptions) {
    app.add_option(option.name, typed[option.name], option.help)->allow_extra_args(false);
  }

  std::vector<const char*> argv{"quorvane-eos"};
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  TypedOptions options;
  try {
    app.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::CallForHelp&) {
    options.help = true;
    options.helpText = app.help();
    return options;
  } catch (const CLI::ParseError& error) {
    throw InputError(OneLine(error.what()));
  }
  for (const OptionDescription& option : kOptions) {
    if (app.count(option.name) > 0) options.values[option.name] = typed[option.name];
  }
  return options;
}

}  // namespace quorvane::cli
