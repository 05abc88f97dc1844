#pragma once

#include <cstring>
#include <span>
#include <string>

#include "app/eos_request.h"
#include "app/property_columns.h"
#include "app/state_rows.h"

namespace quorvane::cli {

// Writes state points as CSV, TSV or JSON. Columns: P, T, V, V/V00, VT0,
// V/VT0, the standard deviation (sigV or sigP) where one is asked for, the
// band's bounds (V_lo, V_hi or P_lo, P_hi) where one is asked for, and
// converged, true when the row is a state point. Numbers are
// the shortest text that reads back to the same double, or, with a width, the
// text the form shows in a field that wide (a JSON string then, since a field
// text such as "2." or "***" is no JSON number).
class TableWriter {
 public:
  // The text of each column's previous number: a table repeats the temperature
  // and V(T,0) row after row, and their text is then written only once. One
  // per thread.
  struct ColumnTexts {
    double values[app::kStateColumnCount] = {};
    std::string texts[app::kStateColumnCount];
    bool known[app::kStateColumnCount] = {};
  };

  // uncertainty: the name of a standard-deviation column after V/VT0, or
  // nullptr; band: the names of the band's columns after it, or nullptrs.
  // properties: the property columns after those.
  TableWriter(app::OutputFormat format, int width, const char* uncertainty = nullptr,
              app::BandColumns band = {}, app::PropertySet properties = {})
      : format_(format),
        width_(width),
        uncertainty_(uncertainty),
        band_(band),
        properties_(properties) {}

  void AppendHeader(std::string& out) const;
  // first: the row is the table's first (JSON separates rows with commas).
  // properties: the row's values of the property columns.
  void AppendRow(std::string& out, const app::StateRow& row, bool first, ColumnTexts& previous,
                 std::span<const double> properties = {}) const;
  void AppendFooter(std::string& out) const;

 private:
  void AppendNumber(std::string& out, double x) const;
  void AppendColumn(std::string& out, int column, double x, ColumnTexts& previous) const;
  char Separator() const { return format_ == app::OutputFormat::Tsv ? '\t' : ','; }

  // The extra columns of a row: the standard deviation and the band's bounds
  // where asked for.
  struct Extra {
    const char* name;
    double value;
  };
  int Extras(const app::StateRow& row, Extra (&extras)[3]) const;

  app::OutputFormat format_;
  int width_;
  const char* uncertainty_;
  app::BandColumns band_;
  app::PropertySet properties_;
};

}  // namespace quorvane::cli
