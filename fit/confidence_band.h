#pragma once

#include "fit/eos_fit.h"
#include "fit/fit_data.h"

namespace quorvane::fit {

// The scatter of one measurement in pressure at temperature T, for a
// prediction band: the root mean square of the effective sigmas of the points
// at T, times sqrt(chi2w / dof) where there are degrees of freedom. With unit
// weights that is the root mean square residual of the whole fit. Not a
// number when no point lies at T.
double PredictionScatter(const FitData& data, const FitResult& result, double T);

}  // namespace quorvane::fit
