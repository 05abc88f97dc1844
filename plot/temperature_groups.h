#pragma once

#include <cstddef>
#include <vector>

namespace quorvane::plot {

// A figure shows at most this many temperatures, each in its own colour.
inline constexpr std::size_t kMostTemperatureGroups = 8;

// Points whose temperatures form one cluster of the data.
struct TemperatureGroup {
  double low = 0.0;
  double high = 0.0;
  double mean = 0.0;
  // Indices into the temperatures grouped, in increasing order.
  std::vector<std::size_t> members;
};

// The data's own clusters of temperature, coolest first: sorted, successive
// temperatures closer than kSameTemperature (absolute, or relative to the
// lower) belong together; when that leaves more than mostGroups clusters,
// the temperatures are split at the mostGroups - 1 widest gaps between
// successive ones instead. Non-finite temperatures belong to no group.
std::vector<TemperatureGroup> GroupTemperatures(const std::vector<double>& temperatures,
                                                std::size_t mostGroups = kMostTemperatureGroups);

}  // namespace quorvane::plot
