// The page's core: the fit, the data reader, the state points and the scale
// pressures of the command line, and the catalogue of its models, bound to
// JavaScript.
#include <emscripten/bind.h>

#include <string>
#include <vector>

#include "web/page_calibrant.h"
#include "web/page_catalogue.h"
#include "web/page_fit.h"
#include "web/page_state.h"

namespace {

std::string Version() {
  return QUORVANE_VERSION;
}

}  // namespace

EMSCRIPTEN_BINDINGS(quorvane_core) {
  using quorvane::web::PageFit;
  emscripten::register_vector<std::string>("StringList");
  emscripten::register_vector<int>("IndexList");
  emscripten::value_object<PageFit>("PageFit")
      .field("ok", &PageFit::ok)
      .field("json", &PageFit::json)
      .field("text", &PageFit::text)
      .field("parameterFile", &PageFit::parameterFile)
      .field("curves", &PageFit::curves)
      .field("error", &PageFit::error);
  emscripten::function("fitDataText", &quorvane::web::FitDataText);
  emscripten::function("dataPointsJson", &quorvane::web::DataPointsJson);
  emscripten::function("catalogueJson", &quorvane::web::CatalogueJson);
  emscripten::function("fitOptionsError", &quorvane::web::FitOptionsError);
  emscripten::function("statePointJson", &quorvane::web::StatePointJson);
  emscripten::function("scaleListJson", &quorvane::web::ScaleListJson);
  emscripten::function("calibrantPressuresJson", &quorvane::web::CalibrantPressuresJson);
  emscripten::function("version", &Version);
}
