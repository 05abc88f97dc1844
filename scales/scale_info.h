#pragma once

#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvane::scales {

// A scale that cannot be found or used; the message is one line.
class ScaleError : public std::runtime_error {
 public:
  explicit ScaleError(const std::string& message) : std::runtime_error(message) {}
};

enum class ScaleKind { Volume, Fluorescence };

// Where a scale was calibrated: outside it a pressure is computed but flagged.
struct ScaleRange {
  double minP = -std::numeric_limits<double>::infinity();
  double maxP = std::numeric_limits<double>::infinity();
  double minT = 0.0;
  double maxT = std::numeric_limits<double>::infinity();

  bool Holds(double P, double T) const { return P >= minP && P <= maxP && T >= minT && T <= maxT; }
};

// What the list of scales shows of one.
struct ScaleInfo {
  std::string name;
  std::string material;
  ScaleKind kind = ScaleKind::Volume;
  // "Fei et al. (2007) Proc. Natl. Acad. Sci. USA 104, 9182-9186, doi:..."
  std::string citation;
  // The bounds of the calibration, as the list of scales shows them.
  ScaleRange range;
  // Where the calibrating data lie when that is no rectangle (room-temperature
  // data to a higher pressure than the hot ones): a state is in range inside
  // one of these. Empty: inside range.
  std::vector<ScaleRange> calibrated;

  bool Holds(double P, double T) const {
    if (calibrated.empty()) return range.Holds(P, T);
    for (const ScaleRange& piece : calibrated) {
      if (piece.Holds(P, T)) return true;
    }
    return false;
  }
};

}  // namespace quorvane::scales
