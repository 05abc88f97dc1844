#include "cli/state_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <numeric>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>

#include "app/command_line.h"
#include "cli/request_options.h"
#include "params/confidence_band.h"
#include "params/json_text.h"

namespace quorvane::cli {
namespace {

// Takes the first bytes offered, then refuses every write, as a full disk or
// a closed pipe does.
class RefusingBuffer : public std::streambuf {
 public:
  explicit RefusingBuffer(std::streamsize room) : room_(room) {}

 protected:
  std::streamsize xsputn(const char*, std::streamsize count) override {
    const std::streamsize taken = std::min(count, room_);
    room_ -= taken;
    return taken;
  }
  int_type overflow(int_type c) override {
    if (room_ == 0 || traits_type::eq_int_type(c, traits_type::eof())) return traits_type::eof();
    --room_;
    return c;
  }

 private:
  std::streamsize room_;
};

std::int64_t RowsComputed(const TableSummary& summary) {
  return std::accumulate(summary.rows.begin(), summary.rows.end(), std::int64_t{0});
}

TEST(StateTable, StopsAtTheFirstBlockTheOutputRefuses) {
  const app::EosRequest request = RequestFromOptions(app::ReadCommandLine({"--P", "0:999999:1"}));
  for (const std::streamsize room : {std::streamsize{0}, std::streamsize{100000}}) {
    RefusingBuffer buffer(room);
    std::ostream out(&buffer);
    const TableSummary summary = WriteStateTable(request, out);
    EXPECT_FALSE(summary.written);
    EXPECT_LT(RowsComputed(summary), 200000) << "room " << room;
  }
}

// The band's columns follow the standard deviation and hold the derived
// quantity +- z sigma: V at a known P, P at a known V, in every format.
TEST(StateTableBand, BoundsTheDerivedQuantityByZSigmas) {
  const struct {
    std::vector<std::string> grid;
    const char *value, *sigma, *lower, *upper;
  } kCases[] = {{{"--P", "0:10:5", "--T", "300:900:600"}, "V", "sigV", "V_lo", "V_hi"},
                {{"--V", "150:160:5"}, "P", "sigP", "P_lo", "P_hi"}};
  // z of 95 % from tables, not from the quantile the table uses.
  constexpr double kZ95 = 1.959963985;
  for (const auto& c : kCases) {
    std::vector<std::string> arguments{"--V0",  "163.7", "--K0",     "84.4",
                                       "--Kp0", "4.9",   "--format", "json"};
    arguments.insert(arguments.end(), c.grid.begin(), c.grid.end());
    app::EosRequest request = RequestFromOptions(app::ReadCommandLine(arguments));
    request.covariance =
        params::ParameterCovariance{{models::Parameter::V0, models::Parameter::K0,
                                     models::Parameter::Kp0, models::Parameter::dKdT},
                                    {{5.8e-05, -0.0016, 0.00034, 0.0},
                                     {-0.0016, 0.17, -0.051, 0.0},
                                     {0.00034, -0.051, 0.017, 0.0},
                                     {0.0, 0.0, 0.0, 1e-6}}};
    request.band = app::EosRequest::Band{0.95, params::TwoSidedNormalQuantile(0.95)};
    std::ostringstream out;
    ASSERT_TRUE(WriteStateTable(request, out).written);
    const params::Json rows = params::ParseJson(out.str());
    ASSERT_GT(rows.size(), 1u);
    for (const params::Json& row : rows) {
      const double value = row.at(c.value).get<double>(), sigma = row.at(c.sigma).get<double>();
      EXPECT_GT(sigma, 0.0);
      EXPECT_NEAR(row.at(c.lower).get<double>(), value - kZ95 * sigma,
                  1e-8 * sigma + 1e-14 * std::fabs(value));
      EXPECT_NEAR(row.at(c.upper).get<double>(), value + kZ95 * sigma,
                  1e-8 * sigma + 1e-14 * std::fabs(value));
    }
    request.format = app::OutputFormat::Csv;
    std::ostringstream csv;
    WriteStateTable(request, csv);
    const std::string header = csv.str().substr(0, csv.str().find('\n'));
    EXPECT_EQ(header, std::string("P,T,V,V/V00,VT0,V/VT0,") + c.sigma + "," + c.lower + "," +
                          c.upper + ",converged");
  }
}

}  // namespace
}  // namespace quorvane::cli
