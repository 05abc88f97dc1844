#pragma once

#include <string>

#include "fit/eos_fit.h"

namespace quorvane::app {

// The parameter file of a fit, with its provenance: the covariance under the
// scaling the fit applied, and the fit's constraints and bounds. program
// names what made the fit ("quorvane-eos 6.0.0").
std::string FitParameterFileText(const std::string& program, const fit::FitData& data,
                                 const fit::FitResult& result);

}  // namespace quorvane::app
