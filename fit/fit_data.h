#pragma once

#include <string>
#include <vector>

namespace quorvane::fit {

// One measured state point. A standard deviation of 0 means none is known
// from that column: the effective one of the point comes from the others,
// and a point none of whose columns gives one is refused in weighted data.
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
  // The file's line of each point, where they came from a file; else empty.
  std::vector<long> lines;
  // The crystal axis whose cube the points' V are; empty for volumes.
  std::string axis;
  // The units the file's column names gave, as written ("GPa", "A^3");
  // empty where none was given.
  struct Units {
    std::string P, V, T;
  };
  Units units = {};
};

// "line 12, point 3" where the data file's lines are known, else "point 3".
std::string PointName(const FitData& data, std::size_t index);

// True when every point has the same temperature.
bool IsIsothermal(const FitData& data);

// True when at least one point carries a standard deviation.
bool HasSigmas(const FitData& data);

}  // namespace quorvane::fit
