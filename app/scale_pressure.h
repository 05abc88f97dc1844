#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/eos_request.h"
#include "scales/calibrant_cell.h"
#include "scales/scale_directory.h"

namespace quorvane::app {

// A pressure on a scale with its standard deviations, and whether the point
// lies where the scale was calibrated. sigP is what the reading's own
// standard deviations carry; sigPScale what the scale's published esds do.
// The latter is one error shared by every pressure on the scale, not a
// random one, so it is kept apart: added to each point's sigP it would
// weight a fit as if it averaged out.
struct ScalePressure {
  double P = 0.0;
  double sigP = 0.0;
  double sigPScale = 0.0;
  bool inRange = true;
};

// The one rule for a standard deviation read from an option, a file or
// Python: a finite number not below zero. Throws InputError, "what: name =
// x is ...", otherwise.
void RequireSigma(double sigma, const std::string& name, const std::string& what);

// The pressure of a calibrant cell volume V (A^3, or the scale's own unit) at
// T, sigP from sigV and sigT, sigPScale from the scale's own covariance.
// Throws InputError (what names the row) for V or T not above zero, a
// standard deviation RequireSigma refuses, a volume the scale's equation
// gives no pressure for and a sigP or sigPScale that is no finite number.
ScalePressure VolumeScalePressure(const scales::VolumeScale& scale, double V, double sigV, double T,
                                  double sigT, const std::string& what);

// What a scale reads: a cell volume, a cubic cell's lattice parameter (its
// cube is the volume) or a fluorescence line's wavelength.
enum class Reading { Volume, Lattice, Wavelength };

// The pressure of one reading x on any scale; lambda0 is a gauge's ambient
// line (empty: the gauge's own). Throws InputError as the two functions
// above, and for a reading of the wrong kind for the scale.
ScalePressure ReadingPressure(const scales::Scale& scale, Reading reading, double x, double sigX,
                              double T, double sigT, std::optional<double> lambda0,
                              const std::string& what);

// The pressure of a cubic calibrant's spacing d (A) of a reflection: its
// lattice parameter d sqrt(h^2 + k^2 + l^2) read as ReadingPressure reads a.
// Throws InputError as that, naming the spacing (d111) where d or sigD is
// refused.
ScalePressure SpacingPressure(const scales::Scale& scale, const scales::Reflection& reflection,
                              double d, double sigD, double T, double sigT,
                              const std::string& what);

// The pressure of a line at lambda (nm), lambda0 its ambient wavelength.
// Throws InputError for lambda, lambda0 or T not above zero, a standard
// deviation RequireSigma refuses, or no pressure.
ScalePressure GaugePressure(const scales::FluorescenceScale& scale, double lambda, double sigLambda,
                            double lambda0, double T, double sigT, const std::string& what);

// The volume of the calibrant at P and T on the scale; throws InputError
// when the scale's equation does not reach P.
double CalibrantVolume(const scales::VolumeScale& scale, double P, double T,
                       const std::string& what);

// P on scale from moved to scale to of the same calibrant through the
// calibrant's reading from implies at P and T (lambda0: a gauge's ambient
// line); sigP is carried over by the ratio of the two scales' slopes there,
// sigPScale is to's own. Throws InputError where from does not reach P or
// sigP is refused by RequireSigma.
ScalePressure MovedPressure(const scales::Scale& from, const scales::Scale& to, double P,
                            double sigP, double T, double lambda0, const std::string& what);

// The scale by name or path (--scale, --from, --to); the error names option.
scales::Scale ScaleOption(const std::string& option, const std::string& nameOrPath);
// The same with the shipped scales looked for in folder.
scales::Scale ScaleOption(const std::string& option, const std::string& nameOrPath,
                          const std::filesystem::path& folder);

// The temperature a scale is read at when none is given: its reference.
double DefaultTemperature(const scales::Scale& scale);

// A lambda0 given, else the gauge's own; throws InputError when neither.
double GaugeLambda0(const scales::FluorescenceScale& scale, double given, bool hasGiven);

// Columns of numbers and the in_range flag, written whole as CSV, TSV or JSON.
struct ScaleTable {
  std::vector<std::string> columns;
  std::vector<std::vector<double>> rows;
  std::vector<bool> inRange;

  std::string Text(OutputFormat format) const;
  long OutOfRange() const;
};

OutputFormat ScaleFormat(const std::string& text);

// Where a scale was calibrated, as the warnings say it: "0 to 94 GPa at 300 K;
// 0 to 29 GPa, 300 to 1873 K".
std::string RangeText(const scales::ScaleInfo& info);

// The warning line for rows beyond the scale's range, or empty.
std::string RangeWarning(const std::string& command, long rows, const scales::ScaleInfo& info);

// What to say of reflections the calibrant's lattice extinguishes (100 of a
// face-centred one): no line of its pattern has such a spacing, so a reading
// of it is likely mis-indexed. Empty when there are none.
std::string AbsentReflections(const scales::VolumeScale& scale,
                              const std::vector<scales::Reflection>& reflections);
// The same as the command's warning line.
std::string AbsentReflectionWarning(const std::string& command, const scales::VolumeScale& scale,
                                    const std::vector<scales::Reflection>& reflections);

}  // namespace quorvane::app
