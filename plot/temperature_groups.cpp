#include "plot/temperature_groups.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace quorvane::plot {
namespace {

// Readings of one nominal temperature scatter by a few kelvin at a furnace,
// by about one per cent under laser heating.
constexpr double kSameTemperatureKelvin = 5.0;
constexpr double kSameTemperatureFraction = 0.01;

bool SameCluster(double lower, double upper) {
  return upper - lower <= std::max(kSameTemperatureKelvin, kSameTemperatureFraction * lower);
}

// The positions in `order` after which a new group starts.
std::vector<std::size_t> Breaks(const std::vector<double>& t, const std::vector<std::size_t>& order,
                                std::size_t mostGroups) {
  std::vector<std::size_t> breaks;
  for (std::size_t i = 1; i < order.size(); ++i) {
    if (!SameCluster(t[order[i - 1]], t[order[i]])) breaks.push_back(i);
  }
  if (breaks.size() < mostGroups) return breaks;
  auto gap = [&](std::size_t i) { return t[order[i]] - t[order[i - 1]]; };
  // The widest gaps; of equal ones the coolest, so the choice is the same
  // whatever the order of the points.
  std::stable_sort(breaks.begin(), breaks.end(),
                   [&](std::size_t a, std::size_t b) { return gap(a) > gap(b); });
  breaks.resize(mostGroups - 1);
  std::sort(breaks.begin(), breaks.end());
  return breaks;
}

TemperatureGroup GroupOf(const std::vector<double>& t, const std::vector<std::size_t>& order,
                         std::size_t begin, std::size_t end) {
  TemperatureGroup group;
  group.members.assign(order.begin() + static_cast<std::ptrdiff_t>(begin),
                       order.begin() + static_cast<std::ptrdiff_t>(end));
  std::sort(group.members.begin(), group.members.end());
  group.low = t[order[begin]];
  group.high = t[order[end - 1]];
  double sum = 0.0;
  for (std::size_t i : group.members) sum += t[i];
  group.mean = sum / static_cast<double>(group.members.size());
  return group;
}

}  // namespace

std::vector<TemperatureGroup> GroupTemperatures(const std::vector<double>& temperatures,
                                                std::size_t mostGroups) {
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < temperatures.size(); ++i) {
    if (std::isfinite(temperatures[i])) order.push_back(i);
  }
  if (order.empty()) return {};
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return temperatures[a] < temperatures[b]; });
  std::vector<std::size_t> breaks =
      Breaks(temperatures, order, std::max<std::size_t>(mostGroups, 1));
  breaks.push_back(order.size());
  std::vector<TemperatureGroup> groups;
  std::size_t begin = 0;
  for (std::size_t end : breaks) {
    groups.push_back(GroupOf(temperatures, order, begin, end));
    begin = end;
  }
  return groups;
}

}  // namespace quorvane::plot
