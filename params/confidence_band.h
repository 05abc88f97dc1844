#pragma once

#include "models/model.h"
#include "params/parameter_covariance.h"

namespace quorvane::params {

// z of the two-sided normal interval holding `level`: 1.0 at 0.6827, 1.96 at
// 0.95. Throws std::invalid_argument unless 0 < level < 1.
double TwoSidedNormalQuantile(double level);

// Half-widths of the bands around V(P) on the isotherm T at the point (V, T).
// The confidence band, z sigma_V from the parameters' covariance, is where
// the curve itself lies; the prediction band adds the scatter of one
// measurement, scatterP in pressure, carried to volume by V / K_T, and is
// where a new measurement lies: z sqrt(sigma_V^2 + (scatterP V / K_T)^2).
struct BandHalfWidths {
  double confidence = 0.0;
  double prediction = 0.0;
};
BandHalfWidths VolumeBandHalfWidths(const models::Model& model,
                                    const ParameterCovariance& covariance, double V, double T,
                                    double z, double scatterP);

}  // namespace quorvane::params
