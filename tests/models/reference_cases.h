#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "models/model.h"
#include "models/model_catalogue.h"

namespace quorvane::models {

struct ReferenceCase {
  Model model;
  double V = 0.0;
  double T = 0.0;
  double P = 0.0;
  std::string line;
};

// Each line of reference/model_cases.txt: the model, its parameters, V, T and
// the pressure computed at 40 digits from the textbook formulas.
inline std::vector<ReferenceCase> ReadReferenceCases() {
  std::vector<ReferenceCase> cases;
  std::ifstream file(QUORVANE_MODELS_REFERENCE_DIR "/model_cases.txt");
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string equation, thermal, unit;
    ReferenceCase c;
    fields >> equation >> c.model.order >> thermal >> unit >> c.model.Z;
    c.model.equation = *EquationFromName(equation);
    c.model.thermal = *ThermalFromName(thermal);
    c.model.volumeUnit = *VolumeUnitFromName(unit);
    c.model.arithmetic = Arithmetic::Textbook;
    for (double& value : c.model.values) fields >> value;
    fields >> c.V >> c.T >> c.P;
    ApplyImpliedCoefficients(c.model);
    c.line = line;
    cases.push_back(c);
  }
  return cases;
}

}  // namespace quorvane::models
