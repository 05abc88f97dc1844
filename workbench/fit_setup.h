#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fit/eos_fit.h"
#include "fit/fit_data.h"
#include "models/model.h"

namespace quorvane::workbench {

// What the user chose in the model panel, held as the fit command's options
// so that the command line's rules build the model: defaults, order limits,
// implied coefficients and the arithmetic come from the one place.
struct FitSetup {
  models::Equation equation = models::Equation::BirchMurnaghan;
  int order = 3;
  models::Thermal thermal = models::Thermal::Linear;
  // Values the user typed, as typed; the others are the defaults.
  std::map<models::Parameter, std::string> typed;
  // The refined set the user chose; none: the fit's default for the data.
  std::optional<std::vector<models::Parameter>> refined;
};

// The fit command's request for the setup. Throws cli::InputError with the
// command line's message for a value or combination it refuses.
fit::FitRequest RequestFor(const FitSetup& setup);

// Changes the equation or thermal model keeping what still applies: the
// nearest order the equation offers, the typed values of parameters the new
// model leaves free, the refined choice only where all of it is still free.
void ChooseModel(FitSetup& setup, models::Equation equation, int order, models::Thermal thermal);

// The parameters the panel lists for the model, in the catalogue's order.
std::vector<models::Parameter> ListedParameters(const models::Model& model);

// The refined set a fit of the setup to the data uses.
std::vector<models::Parameter> EffectiveRefined(const FitSetup& setup, const fit::FitData& data);

}  // namespace quorvane::workbench
