#pragma once

#include <cstdint>

#include "cli/eos_request.h"
#include "engine/eos_parameters.h"

namespace quorvane::cli {

struct StateRow {
  engine::WorkingPoint point;
  // False when the pressure could not be reached: V is then V(T,0).
  bool converged = true;
};

// One state point along the calculator's own path for the known quantity.
StateRow ComputeStateRow(const engine::EosParameters& parameters, KnownQuantity known,
                         PressureSolver solver, StateInput input);

// The rows of a request in output order: the CSV rows as read, or the grid
// with the partner (temperature, or the volume held) outermost.
std::int64_t RowCount(const EosRequest& request);
StateInput RowInput(const EosRequest& request, std::int64_t row);

}  // namespace quorvane::cli
