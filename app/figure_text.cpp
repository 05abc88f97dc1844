#include "app/figure_text.h"

#include <charconv>
#include <cmath>

#include "models/model_catalogue.h"
#include "numtext/double_text.h"

namespace quorvane::app {
namespace {

// The names as a reader of a paper writes them, with the en dash that joins
// two people's names.
const char* EquationTitle(models::Equation equation) {
  switch (equation) {
    case models::Equation::BirchMurnaghan:
      return "Birch\u2013Murnaghan";
    case models::Equation::NaturalStrain:
      return "natural-strain";
    default:
      return models::Info(equation).title;
  }
}

const char* ThermalTitle(models::Thermal thermal) {
  switch (thermal) {
    case models::Thermal::Linear:
      return "linear expansion";
    case models::Thermal::Berman:
      return "Berman expansion";
    case models::Thermal::Fei:
      return "Fei expansion";
    case models::Thermal::HollandPowell:
      return "Holland\u2013Powell expansion";
    case models::Thermal::Einstein:
      return "Einstein thermal pressure";
    case models::Thermal::MieGruneisenDebye:
      return "Mie\u2013Gr\u00fcneisen\u2013Debye";
  }
  return "";
}

// Values at or above this keep their whole part and drop their fraction.
constexpr double kWhole = 10.0;
constexpr int kSmallDigits = 3;

}  // namespace

std::string ModelTitle(const models::Model& model, bool isothermal) {
  const char* ordinal = model.order == 2 ? "2nd" : model.order == 3 ? "3rd" : "4th";
  std::string title = std::string(ordinal) + "-order " + EquationTitle(model.equation);
  if (isothermal && !models::Info(model.thermal).thermalPressure) return title;
  return title + " + " + ThermalTitle(model.thermal);
}

std::string WholeOrThreeDigits(double value) {
  if (std::fabs(value) >= kWhole) {
    return numtext::FormattedText(std::round(value), std::chars_format::fixed, 0);
  }
  return numtext::FormattedText(value, std::chars_format::general, kSmallDigits);
}

}  // namespace quorvane::app
