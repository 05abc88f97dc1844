#pragma once

#include <string>
#include <vector>

#include "fit/fit_data.h"
#include "models/model.h"

namespace quorvane::fit {

// The thermal model squares temperatures: beyond this magnitude the squares
// are no longer numbers.
inline constexpr double kLargestTemperature = 1e150;

// Weights are 1/sigma^2: beyond these the squares underflow or overflow.
inline constexpr double kSmallestSigma = 1e-150;
inline constexpr double kLargestSigma = 1e150;

// Each refusal throws FitError with one line for the user.

// A model the catalogue offers, with starting values in its range.
void CheckModel(const models::Model& model);
// Finite P, V, T; positive V; finite, non-negative standard deviations.
void CheckPoints(const FitData& data);
// T(ref) and every point's T within kLargestTemperature, and above zero
// where the model divides by T or takes its thermal pressure at T.
void CheckTemperatures(const FitData& data, const models::Model& model);
// A non-empty list, no name twice, only parameters the model leaves free
// (T(ref), the temperature the others refer to, is never refined), and no
// more parameters than points.
void CheckRefined(const models::Model& model, const std::vector<models::Parameter>& refined,
                  std::size_t points);
// Points at one pressure and temperature tell one volume however many there
// are: the data need as many distinct states as refined parameters.
void CheckStates(const FitData& data, std::size_t refined);

// Why sigma cannot weight the point (no standard deviation given, none the
// model can give, or one whose square underflows or overflows); empty when it
// can.
std::string SigmaProblem(const Observation& point, double sigma);

// Why fitted parameters are no equation of state: a value that is not finite,
// V0 or K0 negative or below the calculator's floor, |K'0| below it, or
// any other value outside the catalogue's range for it. Empty when they are
// one.
std::string DomainProblem(const models::Model& model);

}  // namespace quorvane::fit
