#include "app/atom_count.h"

#include "app/decimal_text.h"
#include "app/input_error.h"
#include "app/safe_text.h"
#include "models/model_catalogue.h"

namespace quorvane::app {

void ReadAtomCount(const std::string& text, EosRequest& request) {
  const models::Model& model = request.model;
  const std::string thermal = models::Info(model.thermal).name;
  if (model.thermal != models::Thermal::Einstein) {
    if (models::RoleOf(model, models::Parameter::natoms) != models::Role::Unused) {
      throw InputError("--natoms: the " + thermal +
                       " thermal model's atom count is its parameter natoms, given with the "
                       "other parameters");
    }
    throw InputError("--natoms: the " + thermal + " thermal model has no natoms");
  }
  if (!request.properties.wanted) throw InputError("--natoms: goes with --properties");
  const auto atoms = ParseDecimal(text);
  if (!atoms || !(*atoms > 0.0)) {
    throw InputError("--natoms: " + QuotedInput(text) + " is not a number above zero");
  }
  request.properties.einsteinAtoms = *atoms;
}

}  // namespace quorvane::app
