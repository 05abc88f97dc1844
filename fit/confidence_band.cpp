#include "fit/confidence_band.h"

#include <cmath>
#include <limits>

namespace quorvane::fit {

double PredictionScatter(const FitData& data, const FitResult& result, double T) {
  double sum = 0.0;
  int count = 0;
  for (std::size_t i = 0; i < data.points.size() && i < result.residuals.size(); ++i) {
    if (data.points[i].T != T) continue;
    sum += result.residuals[i].sigma * result.residuals[i].sigma;
    ++count;
  }
  if (count == 0) return std::numeric_limits<double>::quiet_NaN();
  const double rms = std::sqrt(sum / count);
  return result.dof > 0 ? rms * std::sqrt(result.ReducedChi2()) : rms;
}

}  // namespace quorvane::fit
