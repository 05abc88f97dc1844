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
  // The volume unit of a thermal pressure, and the formula units per cell
  // with A^3.
  models::VolumeUnit volumeUnit = models::VolumeUnit::CubicCentimetresPerMole;
  int Z = 1;
  // The cell edge whose cube is fitted in place of V; empty: V.
  std::string axis;
  // Values the user typed, as typed; the others are the defaults.
  std::map<models::Parameter, std::string> typed;
  // The refined set the user chose; none: the fit's default for the data.
  std::optional<std::vector<models::Parameter>> refined;
};

// The fit command's request for the setup. Throws app::InputError with the
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

// The model a fit of the setup to the data starts from: refined V0 and K0
// not typed as the fit estimates them from the data, in the data's units.
models::Model StartFor(const FitSetup& setup, const fit::FitData& data);

// For data of another file: the starts of V0 and K0 and the choice of
// refined parameters go back to the fit's own, which read them off the data.
void ForgetDataStarts(FitSetup& setup);

// Unticking Refine every parameter the model leaves free.
bool RefinesNothing(const FitSetup& setup);

}  // namespace quorvane::workbench
