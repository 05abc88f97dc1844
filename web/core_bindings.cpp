// The page's core: the fit and the data reader of the command line, bound to
// JavaScript.
#include <emscripten/bind.h>

#include <string>
#include <vector>

#include "web/page_figures.h"
#include "web/page_fit.h"

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
      .field("error", &PageFit::error);
  emscripten::function("fitDataText", &quorvane::web::FitDataText);
  emscripten::function("dataPointsJson", &quorvane::web::DataPointsJson);
  emscripten::function("fitFiguresJson", &quorvane::web::FitFiguresJson);
  emscripten::function("figureSvgJson", &quorvane::web::FigureSvgJson);
  emscripten::function("ellipseFigureJson", &quorvane::web::EllipseFigureJson);
  emscripten::function("version", &Version);
}
