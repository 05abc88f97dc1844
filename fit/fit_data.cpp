#include "fit/fit_data.h"

namespace quorvane::fit {

bool IsIsothermal(const FitData& data) {
  for (const Observation& point : data.points) {
    if (point.T != data.points.front().T) return false;
  }
  return true;
}

bool HasSigmas(const FitData& data) {
  for (const Observation& point : data.points) {
    if (point.sigP > 0.0 || point.sigV > 0.0 || point.sigT > 0.0) return true;
  }
  return false;
}

}  // namespace quorvane::fit
