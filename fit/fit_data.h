#pragma once

#include <string>
#include <vector>

namespace quorvane::fit {

// One measured state point. A standard deviation of 0 means the column was
// not given; the data reader refuses zero or negative values in a given
// column, so 0 never stands for a measured exact value.
struct Observation {
  double P = 0.0;
  double V = 0.0;
  double T = 0.0;
  double sigP = 0.0;
  double sigV = 0.0;
  double sigT = 0.0;
};

struct FitData {
  std::vector<Observation> points;
  // Where the data named the file they came from, for messages and provenance.
  std::string source;
};

// True when every point has the same temperature.
bool IsIsothermal(const FitData& data);

// True when at least one point carries a standard deviation.
bool HasSigmas(const FitData& data);

}  // namespace quorvane::fit
