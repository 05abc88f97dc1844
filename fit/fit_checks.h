#pragma once

#include <string>
#include <vector>

#include "engine/eos_parameters.h"
#include "fit/fit_data.h"
#include "fit/refined_parameter.h"

namespace quorvane::fit {

// The thermal model squares temperatures: beyond this magnitude the squares
// are no longer numbers.
inline constexpr double kLargestTemperature = 1e150;

// Weights are 1/sigma^2: beyond these the squares underflow or overflow.
inline constexpr double kSmallestSigma = 1e-150;
inline constexpr double kLargestSigma = 1e150;

// Each refusal throws FitError with one line for the user.

// Finite P, V, T; positive V; finite, non-negative standard deviations.
void CheckPoints(const FitData& data);
// T(ref) and every point's T within kLargestTemperature.
void CheckTemperatures(const FitData& data, double Tref);
// A non-empty list, no name twice, nothing the type and order imply, and no
// more parameters than points.
void CheckRefined(const engine::EosParameters& parameters,
                  const std::vector<RefinedParameter>& refined, std::size_t points);
// Points at one pressure and temperature tell one volume however many there
// are: the data need as many distinct states as refined parameters.
void CheckStates(const FitData& data, std::size_t refined);

// Why sigma cannot weight the point (no standard deviation given, none the
// model can give, or one whose square underflows or overflows); empty when it
// can.
std::string SigmaProblem(const Observation& point, double sigma);

// Why fitted parameters are no equation of state: a value that is not finite,
// V0 or K0 negative or below the calculator's floor, or |K'0| below it. Empty
// when they are one.
std::string DomainProblem(const engine::EosParameters& parameters);

}  // namespace quorvane::fit
