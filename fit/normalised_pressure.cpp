#include "fit/normalised_pressure.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvane::fit {

std::vector<StrainPoint> EulerianStrainPoints(const FitData& data, double V0, double sigV0) {
  std::vector<StrainPoint> points;
  for (std::size_t i = 0; i < data.points.size(); ++i) {
    const Observation& obs = data.points[i];
    const double ratio = std::pow(V0 / obs.V, 2.0 / 3.0);
    StrainPoint point;
    point.point = i;
    point.f = 0.5 * (ratio - 1.0);
    if (point.f == 0.0 || obs.P == 0.0) continue;
    const double f = point.f;
    const double denominator = 3.0 * f * std::pow(1.0 + 2.0 * f, 2.5);
    point.F = obs.P / denominator;
    // df = (1/3)(V0/V)^(2/3) (dV0/V0 - dV/V); d ln F / df = -(1 + 7f) / (f (1 + 2f)).
    const double relV = obs.sigV / obs.V;
    const double relV0 = sigV0 / V0;
    point.sigf = ratio / 3.0 * std::sqrt(relV * relV + relV0 * relV0);
    const double fromP = obs.sigP / denominator;
    const double fromf = point.F * (1.0 + 7.0 * f) / (f * (1.0 + 2.0 * f)) * point.sigf;
    point.sigF = std::sqrt(fromP * fromP + fromf * fromf);
    points.push_back(point);
  }
  return points;
}

StrainLine FitStrainLine(const std::vector<StrainPoint>& all) {
  std::vector<StrainPoint> points;
  for (const StrainPoint& point : all) {
    if (std::isfinite(point.f) && std::isfinite(point.F) && std::isfinite(point.sigF)) {
      points.push_back(point);
    }
  }
  StrainLine line;
  line.leftOut = static_cast<int>(all.size() - points.size());
  line.points = static_cast<int>(points.size());
  line.weighted = !points.empty();
  for (const StrainPoint& point : points) {
    if (!(point.sigF > 0.0)) line.weighted = false;
  }
  double s = 0.0, sx = 0.0, sy = 0.0;
  for (const StrainPoint& point : points) {
    const double w = line.weighted ? 1.0 / (point.sigF * point.sigF) : 1.0;
    s += w;
    sx += w * point.f;
    sy += w * point.F;
  }
  const double meanf = sx / s, meanF = sy / s;
  double sff = 0.0, sfF = 0.0;
  for (const StrainPoint& point : points) {
    const double w = line.weighted ? 1.0 / (point.sigF * point.sigF) : 1.0;
    sff += w * (point.f - meanf) * (point.f - meanf);
    sfF += w * (point.f - meanf) * (point.F - meanF);
  }
  if (line.points < 2 || !(sff > 0.0)) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    line.intercept = line.slope = line.esdIntercept = line.esdSlope = nan;
    line.points = std::min(line.points, 1);
    return line;
  }
  line.slope = sfF / sff;
  line.intercept = meanF - line.slope * meanf;
  double varianceScale = 1.0;
  if (!line.weighted) {
    double chi2 = 0.0;
    for (const StrainPoint& point : points) {
      const double r = point.F - line.intercept - line.slope * point.f;
      chi2 += r * r;
    }
    varianceScale = line.points > 2 ? chi2 / (line.points - 2) : 0.0;
  }
  line.esdSlope = std::sqrt(varianceScale / sff);
  line.esdIntercept = std::sqrt(varianceScale * (1.0 / s + meanf * meanf / sff));
  return line;
}

}  // namespace quorvane::fit
