#include "web/page_fit.h"

#include <algorithm>
#include <optional>
#include <sstream>

#include "app/data_table.h"
#include "app/decimal_text.h"
#include "app/fit_data_input.h"
#include "app/fit_ellipses.h"
#include "app/fit_parameter_file.h"
#include "app/fit_report.h"
#include "app/fit_request.h"
#include "app/input_error.h"
#include "app/safe_text.h"
#include "fit/eos_fit.h"
#include "params/json_text.h"
#include "web/page_figures.h"

namespace quorvane::web {
namespace {

// The parameter file names the program as --params-out does, so that the
// page's file is the command line's byte for byte.
constexpr const char* kProgram = "quorvane-eos " QUORVANE_VERSION;

// Building the command line's parser costs a tenth of a 100-point fit in
// the page, which asks fit after fit with the same options; the request
// depends on the options alone.
app::FitCommandRequest RequestFromOptions(const std::vector<std::string>& options) {
  thread_local std::vector<std::string> lastOptions;
  thread_local std::optional<app::FitCommandRequest> lastRequest;
  if (lastRequest && options == lastOptions) return *lastRequest;
  std::vector<std::string> arguments = options;
  arguments.push_back("-");
  app::FitCommandRequest request = app::FitRequestFromArguments(arguments);
  if (request.help) throw app::InputError("--help: the page shows no help text");
  lastOptions = options;
  lastRequest = request;
  return request;
}

fit::FitData ReadData(const std::string& dataText, const std::string& source,
                      const app::FitCommandRequest& request) {
  std::istringstream in(dataText);
  return app::ReadFitData(in, source, request.fit.start[models::Parameter::Tref], request.axis);
}

void AppendStringList(std::string& json, const std::vector<std::string>& items) {
  json += "[";
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) json += ", ";
    params::AppendJsonString(json, items[i]);
  }
  json += "]";
}

void LeaveOut(fit::FitData& data, std::vector<int> excluded) {
  std::sort(excluded.begin(), excluded.end());
  excluded.erase(std::unique(excluded.begin(), excluded.end()), excluded.end());
  for (auto index = excluded.rbegin(); index != excluded.rend(); ++index) {
    if (*index < 0 || static_cast<std::size_t>(*index) >= data.points.size()) continue;
    data.points.erase(data.points.begin() + *index);
    if (!data.lines.empty()) data.lines.erase(data.lines.begin() + *index);
  }
}

PageFit Report(const app::FitCommandRequest& request, const fit::FitData& data,
               const fit::FitResult& result) {
  app::FitReport report = app::MakeFitReport(data, result);
  report.ellipses = app::MakeEllipseReports(result, request.ellipses);
  PageFit page;
  page.ok = true;
  app::AppendFitJson(page.json, report);
  app::AppendFitText(page.text, report);
  page.parameterFile = app::FitParameterFileText(kProgram, data, result);
  RememberFit(request.ellipses, data, result);
  return page;
}

PageFit Failure(const std::string& message) {
  PageFit page;
  page.error = message;
  return page;
}

}  // namespace

PageFit FitDataText(const std::string& dataText, const std::string& source,
                    const std::vector<std::string>& options, const std::vector<int>& excluded) {
  fit::FitData data;
  try {
    const app::FitCommandRequest request = RequestFromOptions(options);
    data = ReadData(dataText, source, request);
    LeaveOut(data, excluded);
    const fit::FitResult result = fit::FitEos(data, request.fit);
    if (!result.converged) return Failure(result.failure + "; no results are given");
    return Report(request, data, result);
  } catch (const app::InputError& error) {
    return Failure(error.what());
  } catch (const fit::FitError& error) {
    return Failure(app::SafeText(data.source, app::kLongInputLimit) + ": " + error.what());
  }
}

std::string DataPointsJson(const std::string& dataText, const std::string& source,
                           const std::vector<std::string>& options) {
  std::istringstream header(dataText);
  const std::vector<std::string> columns = app::DataColumnNames(header);
  std::string json = "{\"columns\": ";
  AppendStringList(json, columns);
  json += ", \"edges\": ";
  AppendStringList(json, app::EdgeColumns(columns));
  const std::size_t pointsStart = json.size();
  json += ", \"points\": [";
  try {
    const app::FitCommandRequest request = RequestFromOptions(options);
    std::istringstream in(dataText);
    const fit::FitData data =
        app::ReadDataAsGiven(in, source, request.fit.start[models::Parameter::Tref], request.axis);
    for (std::size_t i = 0; i < data.points.size(); ++i) {
      const fit::Observation& point = data.points[i];
      json += i == 0 ? "[" : ", [";
      json += data.lines.empty() ? std::to_string(i + 1) : std::to_string(data.lines[i]);
      for (double x : {point.P, point.V, point.T, point.sigP, point.sigV, point.sigT}) {
        json += ", ";
        app::AppendShortest(json, x);
      }
      json += "]";
    }
    return json + "], \"error\": null}";
  } catch (const app::InputError& error) {
    json.resize(pointsStart);
    json += ", \"points\": [], \"error\": ";
    params::AppendJsonString(json, error.what());
    return json + "}";
  }
}

}  // namespace quorvane::web
