#include "scales/volume_scale.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "models/model_volume.h"
#include "params/parameter_file.h"

namespace quorvane::scales {
namespace {

// The volume the scale's inversion gives back agrees with the reading to this
// fraction when both lie on the same branch; near the spinodal, where the
// pressure hardly moves with the volume, the search may end a few ulp away.
constexpr double kSameVolume = 1e-6;

using Json = nlohmann::json;

std::string TextOf(const Json& object, const char* key) {
  const auto found = object.find(key);
  if (found == object.end()) return {};
  if (found->is_string()) return found->get<std::string>();
  if (found->is_number()) return found->dump();
  return {};
}

// "Authors (year) Journal volume, pages, doi:..." from the citation object.
std::string CitationText(const Json& citation) {
  if (!citation.is_object()) return {};
  std::string text = TextOf(citation, "authors") + " (" + TextOf(citation, "year") + ") " +
                     TextOf(citation, "journal") + " " + TextOf(citation, "volume") + ", " +
                     TextOf(citation, "pages");
  const std::string doi = TextOf(citation, "doi");
  return doi.empty() ? text : text + ", doi:" + doi;
}

// [low, high] in the scale object, or the bounds as they were.
void ReadBounds(const Json& scale, const char* key, double& low, double& high,
                const std::string& source) {
  const auto found = scale.find(key);
  if (found == scale.end() || found->is_null()) return;
  const bool pair =
      found->is_array() && found->size() == 2 && (*found)[0].is_number() && (*found)[1].is_number();
  if (!pair || !((*found)[0].get<double>() <= (*found)[1].get<double>())) {
    throw ScaleError(source + ": \"scale\": \"" + key + "\" is not two increasing numbers");
  }
  low = (*found)[0].get<double>();
  high = (*found)[1].get<double>();
}

// "calibrated_ranges": pieces of the range, each with both pairs.
void ReadPieces(const Json& scale, const std::string& source, ScaleInfo& info) {
  const auto found = scale.find("calibrated_ranges");
  if (found == scale.end() || found->is_null()) return;
  if (!found->is_array()) {
    throw ScaleError(source + ": \"scale\": \"calibrated_ranges\" is not a list");
  }
  for (const Json& piece : *found) {
    const bool whole = piece.is_object() && piece.contains("pressure_range_GPa") &&
                       piece.contains("temperature_range_K");
    if (!whole) {
      throw ScaleError(source + ": \"scale\": a calibrated range needs pressure_range_GPa " +
                       "and temperature_range_K");
    }
    ScaleRange range;
    ReadBounds(piece, "pressure_range_GPa", range.minP, range.maxP, source);
    ReadBounds(piece, "temperature_range_K", range.minT, range.maxT, source);
    info.calibrated.push_back(range);
  }
}

void ReadScaleObject(const Json& scale, const std::string& source, VolumeScale& result) {
  if (!scale.is_object()) throw ScaleError(source + ": \"scale\" is not an object");
  if (const std::string name = TextOf(scale, "name"); !name.empty()) result.info.name = name;
  result.info.material = TextOf(scale, "material");
  if (const auto citation = scale.find("citation"); citation != scale.end()) {
    result.info.citation = CitationText(*citation);
  }
  ReadBounds(scale, "pressure_range_GPa", result.info.range.minP, result.info.range.maxP, source);
  ReadBounds(scale, "temperature_range_K", result.info.range.minT, result.info.range.maxT, source);
  ReadPieces(scale, source, result.info);
  result.cubic = TextOf(scale, "lattice") == "cubic";
  result.centring = CentringFromText(TextOf(scale, "centring"));
}

// The inversion follows the branch through V0; at or below V0 every shipped
// equation falls monotonically, so only an expanded cell needs it.
bool OnPhysicalBranch(const VolumeScale& scale, double V, double T, double P) {
  if (V <= scale.model[models::Parameter::V0]) return true;
  const engine::VolumeSolution back = models::VolumeFromPressure(scale.model, P, T);
  return back.converged && std::fabs(back.V - V) <= kSameVolume * V;
}

}  // namespace

bool InCalibratedRange(const VolumeScale& scale, double V, double T, double P, double dPdV) {
  if (!std::isfinite(P) || !(dPdV < 0.0) || !scale.info.Holds(P, T)) return false;
  return OnPhysicalBranch(scale, V, T, P);
}

VolumeScale ReadVolumeScale(std::string_view text, const std::string& source,
                            const std::string& fallbackName) {
  params::ParameterFile file;
  try {
    file = params::ReadParameterFile(text, source);
  } catch (const params::ParameterFileError& error) {
    throw ScaleError(error.what());
  }
  VolumeScale result;
  result.info.name = fallbackName;
  result.info.kind = ScaleKind::Volume;
  result.model = file.model;
  if (!file.covariance.empty()) {
    result.covariance = params::ParameterCovariance{file.refined, file.covariance};
  }
  // The parameter-file reader has accepted the text, so it is JSON.
  const Json json = Json::parse(text, nullptr, false);
  if (const auto scale = json.find("scale"); scale != json.end() && !scale->is_null()) {
    ReadScaleObject(*scale, source, result);
  }
  return result;
}

}  // namespace quorvane::scales
