#include "app/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "app/input_error.h"
#include "app/parameter_options.h"
#include "app/safe_text.h"

namespace quorvane::app {
namespace {

struct OptionDescription {
  const char* name;
  const char* help;
};

// The options of the table itself; those of the model come first, from the
// catalogue.
const OptionDescription kTableOptions[] = {
    {"--P", "pressure: a number, a list a,b,c or a range start:stop:step"},
    {"--T", "temperature, number, list or range (default T(ref)); derived with --VT0"},
    {"--V", "volume, number or range; the volume held with --VT0"},
    {"--V-over-V00", "V/V(0,0), number or range"},
    {"--VT0",
     "V(T,0), number or range; needs --V, gives T (the calculator's linear thermal model only)"},
    {"--V-over-VT0", "V/V(T,0), number or range"},
    {"--input",
     "CSV or TSV file (- for standard input): a header naming the known quantity "
     "(P, V, V/V00, V/VT0, or VT0 with V) and optionally T, in any case and with an optional "
     "unit (\"P (GPa)\"); other columns, blank lines and lines starting with # are passed over"},
    {"--params",
     "a JSON parameter file (as quorvane-eos fit writes it) instead of --eos ... --Tref; with a "
     "covariance, adds sigV (known P) or sigP (known V)"},
    {"--band",
     "LEVEL (0 to 1, e.g. 0.683): with --params and a covariance, adds the confidence band of the "
     "derived quantity, V_lo and V_hi (known P) or P_lo and P_hi (known V): it +- z sigma"},
    {"--plot",
     "also draw the isotherms (V against P) to FILE.svg, and FILE.png where the build has Qt; "
     "FILE.svg asks for the SVG alone"},
    {"--format", "csv | tsv | json (default csv)"},
    {"--solver",
     "exact | form (default exact): how V follows from P. exact gives the volume whose "
     "pressure is nearest P among the doubles around it (neither of the two on either side is "
     "nearer); form runs the calculator's own search, which stops within a relative 1e-5 of P, "
     "and repeats its answers to the last bit (the calculator's arithmetic only)"},
    {"--width", "print every number as the form shows it in a field N characters wide (1-32)"},
    {"--isobar", "the one pressure held over the --T range (the same as --P with one value)"},
    {"--isochore", "the one volume held over the --T range (the same as --V with one value)"},
    {"--molar-mass",
     "with --properties: the molar mass in g/mol, which adds rho (g/cm3) and Vphi (km/s)"},
};

// The options that take no value.
const OptionDescription kTableFlags[] = {
    {"--properties",
     "add the thermodynamic properties: KT, Kp, alpha, and dKdT (linear, berman, fei) or Pth, "
     "CV, gamma, CP, KS (mgd; einstein with --natoms); with a covariance, sig_ of each"},
    {"--isentrope",
     "the temperatures of the isentrope through the first --P and the one --T at every --P "
     "(mgd, whose theta/T is constant along it)"},
};

const char* const kFooter =
    "Units: none are built in, except for the thermal-pressure models (einstein, mgd: GPa, K,\n"
    "and cm3/mol or A3 per unit cell). Otherwise give every value in one consistent set of\n"
    "units of your own (for example GPa, cubic angstroms and kelvin); the results come in\n"
    "the same units.\n"
    "alpha0 is given in units of 1e-5 and alpha1 in units of 1e-8 per degree of your\n"
    "temperature scale (and per degree squared).\n"
    "\n"
    "Exit codes: 0 the table was written (rows that are not state points have converged\n"
    "false and are counted on stderr); 1 writing the output failed; 2 bad input (one line on\n"
    "stderr, nothing written); 3 a single point whose inputs determine no state point.\n"
    "\n"
    "Examples:\n"
    "  quorvane-eos --eos vinet --V0 74.7 --K0 160 --Kp0 4.5 --P 0:20:5 --T 300:900:300\n"
    "  quorvane-eos --eos bm --input measured.csv --format json\n"
    "  quorvane-eos --eos tait --thermal mgd --theta0 760 --natoms 2 --P 0:100:50 --T 2000\n"
    "  quorvane-eos --params fitted.json --P 0:10:1\n"
    "\n"
    "Commands (each with its own --help):\n"
    "  quorvane-eos fit DATA       fit an equation of state to measured P-V or P-V-T data\n"
    "  quorvane-eos scales         list the pressure scales\n"
    "  quorvane-eos pressure       the pressure a calibrant's volume or line gives on a scale\n"
    "  quorvane-eos rescale DATA   move a data set's pressures to another scale\n";

// CLI11's message on one line, with the arguments it quotes made safe.
std::string OneLine(std::string text) {
  std::replace(text.begin(), text.end(), '\n', ' ');
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return SafeText(text, kLongInputLimit);
}

}  // namespace

TypedOptions ReadCommandLine(const std::vector<std::string>& arguments) {
  CLI::App app{
      "State points and P-V-T tables of a solid's equation of state, computed as the "
      "Quorvane calculator computes them.",
      "quorvane-eos"};
  app.footer(kFooter);
  app.set_version_flag("--version", std::string("quorvane-eos ") + QUORVANE_VERSION);
  std::map<std::string, std::string> typed;
  std::vector<std::string> names;
  for (const ParameterOption& option : ParameterOptions()) {
    app.add_option(option.name, typed[option.name], option.help)->allow_extra_args(false);
    names.push_back(option.name);
  }
  for (const OptionDescription& option : kTableOptions) {
    app.add_option(option.name, typed[option.name], option.help)->allow_extra_args(false);
    names.push_back(option.name);
  }
  for (const OptionDescription& option : kTableFlags) {
    app.add_flag(option.name, option.help);
    names.push_back(option.name);
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
  } catch (const CLI::CallForVersion& version) {
    options.help = true;
    options.helpText = std::string(version.what()) + '\n';
    return options;
  } catch (const CLI::ParseError& error) {
    throw InputError(OneLine(error.what()));
  }
  for (const std::string& name : names) {
    if (app.count(name) > 0) options.values[name] = typed[name];
  }
  return options;
}

}  // namespace quorvane::app
