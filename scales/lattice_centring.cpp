#include "scales/lattice_centring.h"

namespace quorvane::scales {

Centring CentringFromText(std::string_view text) {
  if (text == "P") return Centring::Primitive;
  if (text == "F") return Centring::FaceCentred;
  if (text == "I") return Centring::BodyCentred;
  return Centring::Unknown;
}

bool SystematicallyAbsent(Centring centring, int h, int k, int l) {
  // Parities by the low bit, so that negative indices count as their own.
  const bool hOdd = (h & 1) != 0, kOdd = (k & 1) != 0, lOdd = (l & 1) != 0;
  switch (centring) {
    case Centring::FaceCentred:
      return !(hOdd == kOdd && kOdd == lOdd);
    case Centring::BodyCentred:
      return ((h + k + l) & 1) != 0;
    case Centring::Primitive:
    case Centring::Unknown:
      break;
  }
  return false;
}

const char* ReflectionRule(Centring centring) {
  switch (centring) {
    case Centring::FaceCentred:
      return "h, k, l all odd or all even";
    case Centring::BodyCentred:
      return "h + k + l even";
    case Centring::Primitive:
    case Centring::Unknown:
      break;
  }
  return "";
}

}  // namespace quorvane::scales
