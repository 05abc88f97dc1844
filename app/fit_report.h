#pragma once

#include <optional>
#include <string>

#include "app/fit_ellipses.h"
#include "fit/axial_parameters.h"
#include "fit/eos_fit.h"
#include "fit/normalised_pressure.h"

namespace quorvane::app {

// A converged fit with everything the report shows beside it.
struct FitReport {
  const fit::FitData* data = nullptr;
  const fit::FitResult* result = nullptr;
  // The F-f analysis, for isothermal data only.
  std::optional<std::vector<fit::StrainPoint>> strain;
  fit::StrainLine strainLine;
  double strainV0 = 0.0;
  // For the fit of a crystal axis' cube, the axis' own parameters.
  std::optional<fit::AxialParameters> axial;
  // The confidence ellipses asked for, in the order asked.
  std::vector<EllipseReport> ellipses;
};

FitReport MakeFitReport(const fit::FitData& data, const fit::FitResult& result);

// The report as readable text: parameters with both esds, statistics,
// correlation and covariance, the residuals and the F-f table with its line.
void AppendFitText(std::string& out, const FitReport& report);

// The same, complete, as one JSON object.
void AppendFitJson(std::string& out, const FitReport& report);

}  // namespace quorvane::app
