#include "web/page_calibrant.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include "app/data_table.h"
#include "app/input_error.h"
#include "app/safe_text.h"
#include "app/scale_pressure.h"
#include "scales/fluorescence_scale.h"
#include "scales/scale_directory.h"
#include "web/page_json.h"
#include "web/shipped_scales.h"

namespace quorvane::web {
namespace {

// The columns that hold a calibrant's reading beside a sample's V; the
// calibrant's own V or a would be taken for the sample's.
struct ReadingColumn {
  const char* name;
  const char* sigma;
  app::Reading reading;
};
constexpr ReadingColumn kReadingColumns[] = {
    {"Vcal", "sigVcal", app::Reading::Volume},
    {"acal", "sigAcal", app::Reading::Lattice},
    {"lambda", "sigLambda", app::Reading::Wavelength},
};
// The sample's columns the fit reads, after P and sigP.
const char* const kSampleColumns[] = {"V", "sigV", "T", "sigT"};

bool IsGauge(const scales::Scale& scale) {
  return std::holds_alternative<const scales::FluorescenceScale*>(scale);
}

std::vector<ReadingColumn> ReadingsOf(const scales::Scale& scale) {
  std::vector<ReadingColumn> readings;
  for (const ReadingColumn& column : kReadingColumns) {
    const bool wavelength = column.reading == app::Reading::Wavelength;
    if (wavelength != IsGauge(scale)) continue;
    if (column.reading == app::Reading::Lattice && !std::get<scales::VolumeScale>(scale).cubic) {
      continue;
    }
    readings.push_back(column);
  }
  return readings;
}

scales::Scale FindShippedScale(const std::string& name) {
  if (const scales::FluorescenceScale* gauge = scales::FindFluorescenceScale(name)) return gauge;
  for (const ShippedScaleText& shipped : ShippedScaleTexts()) {
    if (name == shipped.name) return scales::ReadVolumeScale(shipped.text, name, name);
  }
  throw app::InputError("--scale: no scale is named " + app::QuotedInput(name));
}

std::vector<scales::Scale> AllScales() {
  std::vector<scales::Scale> all;
  for (const ShippedScaleText& shipped : ShippedScaleTexts()) {
    all.push_back(scales::ReadVolumeScale(shipped.text, shipped.name, shipped.name));
  }
  for (const scales::FluorescenceScale& gauge : scales::FluorescenceScales()) {
    all.push_back(&gauge);
  }
  return all;
}

void AppendScale(std::string& out, const scales::Scale& scale) {
  const scales::ScaleInfo& info = scales::InfoOf(scale);
  out += "{";
  for (const auto& [key, value] : {std::pair<const char*, std::string>{"name", info.name},
                                   {"material", info.material},
                                   {"kind", IsGauge(scale) ? "fluorescence" : "volume"},
                                   {"citation", info.citation},
                                   {"range", app::RangeText(info)}}) {
    AppendJsonKey(out, key);
    params::AppendJsonString(out, value);
  }
  AppendJsonKey(out, "readings");
  out += "[";
  for (const ReadingColumn& column : ReadingsOf(scale)) {
    if (out.back() != '[') out += ", ";
    params::AppendJsonString(out, column.name);
  }
  out += "]}";
}

ReadingColumn ChosenReading(const scales::Scale& scale, const app::DataHeader& header,
                            const std::string& named) {
  std::vector<ReadingColumn> present;
  std::string all;
  for (const ReadingColumn& column : ReadingsOf(scale)) {
    all += (all.empty() ? "" : " or ") + std::string(column.name);
    if (named.empty() ? header.Has(column.name) : named == column.name) present.push_back(column);
  }
  const std::string where = app::DataLocation(header.source, header.line);
  if (!named.empty() && present.empty()) {
    throw app::InputError("--column: " + app::QuotedInput(named) +
                          " is no reading this scale takes (" + all + ")");
  }
  if (present.empty() || !header.Has(present.front().name)) {
    throw app::InputError(where + ": no column " + (named.empty() ? all : named));
  }
  if (present.size() > 1) {
    throw app::InputError(where + ": the columns " + std::string(present[0].name) + " and " +
                          present[1].name + " could each be the calibrant's reading: choose one");
  }
  return present.front();
}

app::DataTable ReadTable(const std::string& dataText, const std::string& source,
                         const scales::Scale& scale) {
  app::DataColumns columns{{"V"}, {"sigV", "T", "sigT", "lambda0"}};
  for (const ReadingColumn& column : ReadingsOf(scale)) {
    columns.optional.push_back(column.name);
    columns.optional.push_back(column.sigma);
  }
  std::istringstream in(dataText);
  return app::ReadDataTable(in, source, columns);
}

struct Computed {
  std::vector<app::ScalePressure> pressures;
  long outOfRange = 0;
};

Computed Compute(const scales::Scale& scale, const ReadingColumn& reading,
                 const app::DataTable& table) {
  const app::DataHeader& header = table.header;
  auto value = [&](std::size_t row, const char* name, double fallback) {
    if (!header.Has(name)) return fallback;
    return table.Value(row, static_cast<std::size_t>(header.Find(name)));
  };
  const double defaultT = app::DefaultTemperature(scale);
  Computed computed;
  for (std::size_t r = 0; r < table.RowCount(); ++r) {
    std::optional<double> lambda0;
    if (header.Has("lambda0")) lambda0 = value(r, "lambda0", 0.0);
    const app::ScalePressure p = app::ReadingPressure(
        scale, reading.reading, value(r, reading.name, 0.0), value(r, reading.sigma, 0.0),
        value(r, "T", defaultT), value(r, "sigT", 0.0), lambda0,
        app::DataLocation(header.source, table.lines[r]));
    computed.outOfRange += p.inRange ? 0 : 1;
    computed.pressures.push_back(p);
  }
  return computed;
}

// The table as the fit reads it, each row on the line it was read from.
std::string DataWithPressures(const app::DataTable& table, const Computed& computed) {
  const app::DataHeader& header = table.header;
  const long last = table.lines.empty() ? header.line : table.lines.back();
  std::vector<std::string> lines(static_cast<std::size_t>(last));
  // Readings without sigmas give none to P: a sigP of zero would be read
  // as a sigma the point claims and refused.
  const bool sigmas = std::any_of(computed.pressures.begin(), computed.pressures.end(),
                                  [](const app::ScalePressure& p) { return p.sigP > 0.0; });
  std::string& head = lines[static_cast<std::size_t>(header.line - 1)];
  head = sigmas ? "P,sigP" : "P";
  for (const char* name : kSampleColumns) {
    if (header.Has(name)) head += std::string(",") + name;
  }
  for (std::size_t r = 0; r < table.RowCount(); ++r) {
    std::string& line = lines[static_cast<std::size_t>(table.lines[r] - 1)];
    app::AppendShortest(line, computed.pressures[r].P);
    if (sigmas) {
      line += ",";
      app::AppendShortest(line, computed.pressures[r].sigP);
    }
    for (const char* name : kSampleColumns) {
      if (!header.Has(name)) continue;
      line += ",";
      app::AppendShortest(line, table.Value(r, static_cast<std::size_t>(header.Find(name))));
    }
  }
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

}  // namespace

std::string ScaleListJson() {
  std::string out = "[";
  for (const scales::Scale& scale : AllScales()) {
    if (out.size() > 1) out += ", ";
    AppendScale(out, scale);
  }
  return out + "]";
}

std::string CalibrantPressuresJson(const std::string& dataText, const std::string& source,
                                   const std::string& scaleName, const std::string& column) {
  try {
    const scales::Scale scale = FindShippedScale(scaleName);
    const app::DataTable table = ReadTable(dataText, source, scale);
    const ReadingColumn reading = ChosenReading(scale, table.header, column);
    const Computed computed = Compute(scale, reading, table);
    std::string out = "{\"column\": ";
    params::AppendJsonString(out, reading.name);
    out += ", \"rows\": [";
    for (std::size_t r = 0; r < table.RowCount(); ++r) {
      const app::ScalePressure& p = computed.pressures[r];
      out += r == 0 ? "[" : ", [";
      out += std::to_string(table.lines[r]);
      for (double x : {p.P, p.sigP, p.sigPScale}) {
        out += ", ";
        AppendJsonNumber(out, x);
      }
      out += p.inRange ? ", true]" : ", false]";
    }
    out += "], \"default_T\": ";
    if (table.header.Has("T")) {
      out += "null";
    } else {
      AppendJsonNumber(out, app::DefaultTemperature(scale));
    }
    out += ", \"warning\": ";
    params::AppendJsonString(
        out, app::RangeWarning("pressure", computed.outOfRange, scales::InfoOf(scale)));
    out += ", \"data\": ";
    params::AppendJsonString(out, DataWithPressures(table, computed));
    return out + ", \"error\": null}";
  } catch (const app::InputError& error) {
    return ErrorJson(error.what());
  } catch (const scales::ScaleError& error) {
    return ErrorJson(error.what());
  }
}

}  // namespace quorvane::web
