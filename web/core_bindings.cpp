// The page's core: the fit, the data reader, the state points and the scale
// pressures of the command line, and the catalogue of its models, bound to
// JavaScript.
#include <emscripten/bind.h>

#include <string>
#include <utility>
#include <vector>

#include "web/page_calibrant.h"
#include "web/page_catalogue.h"
#include "web/page_figures.h"
#include "web/page_fit.h"
#include "web/page_state.h"

namespace {

using emscripten::val;
using quorvane::web::PageFit;

std::string Version() {
  return QUORVANE_VERSION;
}

// A JavaScript string of the UTF-8 text, decoded by the script engine in one
// call: embind's own std::string conversion walks every byte in script.
val DecodedText(const std::string& text) {
  static const val decoder = val::global("TextDecoder").new_(val("utf-8"));
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  return decoder.call<val>("decode", val(emscripten::typed_memory_view(text.size(), bytes)));
}

// PageFit as its value_object gives it, with the long texts decoded in one
// call each.
val FitDataText(const std::string& dataText, const std::string& source,
                const std::vector<std::string>& options, const std::vector<int>& excluded) {
  PageFit fit = quorvane::web::FitDataText(dataText, source, options, excluded);
  const std::string json = std::exchange(fit.json, {});
  const std::string text = std::exchange(fit.text, {});
  const std::string parameterFile = std::exchange(fit.parameterFile, {});
  val object(fit);
  object.set("json", DecodedText(json));
  object.set("text", DecodedText(text));
  object.set("parameterFile", DecodedText(parameterFile));
  return object;
}

}  // namespace

EMSCRIPTEN_BINDINGS(quorvane_core) {
  emscripten::register_vector<std::string>("StringList");
  emscripten::register_vector<int>("IndexList");
  emscripten::value_object<PageFit>("PageFit")
      .field("ok", &PageFit::ok)
      .field("json", &PageFit::json)
      .field("text", &PageFit::text)
      .field("parameterFile", &PageFit::parameterFile)
      .field("error", &PageFit::error);
  emscripten::function("fitDataText", &FitDataText);
  emscripten::function("dataPointsJson", &quorvane::web::DataPointsJson);
  emscripten::function("fitFiguresJson", &quorvane::web::FitFiguresJson);
  emscripten::function("figureSvgJson", &quorvane::web::FigureSvgJson);
  emscripten::function("ellipseFigureJson", &quorvane::web::EllipseFigureJson);
  emscripten::function("catalogueJson", &quorvane::web::CatalogueJson);
  emscripten::function("fitOptionsError", &quorvane::web::FitOptionsError);
  emscripten::function("statePointJson", &quorvane::web::StatePointJson);
  emscripten::function("scaleListJson", &quorvane::web::ScaleListJson);
  emscripten::function("calibrantPressuresJson", &quorvane::web::CalibrantPressuresJson);
  emscripten::function("version", &Version);
}
