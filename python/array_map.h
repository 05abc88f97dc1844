#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <array>
#include <cstddef>

#include "app/state_rows.h"
#include "python/parallel_loop.h"

namespace quorvane::python {

using Array = pybind11::array_t<double, pybind11::array::c_style | pybind11::array::forcecast>;
using Flags = pybind11::array_t<bool, pybind11::array::c_style>;

inline constexpr int kStateColumns = app::kStateColumnCount;
using StateRowValues = std::array<double, kStateColumns>;

inline void RequireSameSize(const Array& a, const Array& b) {
  if (a.size() != b.size()) throw pybind11::value_error("the two arrays differ in size");
}

// out[i] = f(a[i], b[i]) over the whole arrays, without the GIL.
template <typename Function>
Array Map(const Array& a, const Array& b, const Function& f) {
  RequireSameSize(a, b);
  Array result(a.size());
  const double* x = a.data();
  const double* y = b.data();
  double* out = result.mutable_data();
  {
    pybind11::gil_scoped_release release;
    ParallelFor(static_cast<std::size_t>(a.size()), [&](std::size_t begin, std::size_t end) {
      for (std::size_t i = begin; i < end; ++i) out[i] = f(x[i], y[i]);
    });
  }
  return result;
}

// The state point of each (value, partner) pair, without the GIL: the
// columns of app::StateValues and whether each volume was found, as a tuple of seven arrays.
// state(value, partner, row) fills row and says whether its volume was found.
template <typename State>
pybind11::tuple MapStates(const Array& values, const Array& partners, const State& state) {
  RequireSameSize(values, partners);
  const pybind11::ssize_t count = values.size();
  Array columns[kStateColumns] = {Array(count), Array(count), Array(count),
                                  Array(count), Array(count), Array(count)};
  Flags found(count);
  double* out[kStateColumns];
  for (int c = 0; c < kStateColumns; ++c) out[c] = columns[c].mutable_data();
  bool* reached = found.mutable_data();
  const double* value = values.data();
  const double* partner = partners.data();
  {
    pybind11::gil_scoped_release release;
    ParallelFor(static_cast<std::size_t>(count), [&](std::size_t begin, std::size_t end) {
      StateRowValues row;
      for (std::size_t i = begin; i < end; ++i) {
        reached[i] = state(value[i], partner[i], row);
        for (int c = 0; c < kStateColumns; ++c) out[c][i] = row[c];
      }
    });
  }
  return pybind11::make_tuple(columns[0], columns[1], columns[2], columns[3], columns[4],
                              columns[5], found);
}

}  // namespace quorvane::python
