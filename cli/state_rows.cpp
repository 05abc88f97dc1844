#include "cli/state_rows.h"

#include "engine/state_point.h"

namespace quorvane::cli {

StateRow ComputeStateRow(const engine::EosParameters& parameters, KnownQuantity known,
                         PressureSolver solver, StateInput input) {
  switch (known) {
    case KnownQuantity::Pressure: {
      const engine::SolvedState solved =
          solver == PressureSolver::Form
              ? engine::SolveStateFromPressure(parameters, input.known, input.partner)
              : engine::SolveStateExactlyFromPressure(parameters, input.known, input.partner);
      return {solved.point, solved.solution.converged};
    }
    case KnownQuantity::Volume:
      return {engine::StateFromVolume(parameters, input.known, input.partner), true};
    case KnownQuantity::VolumeOverV00:
      return {engine::StateFromVolumeOverV00(parameters, input.known, input.partner), true};
    case KnownQuantity::ZeroPressureVolume:
      return {engine::StateFromZeroPressureVolume(parameters, input.known, input.partner), true};
    case KnownQuantity::VolumeOverVT0:
      return {engine::StateFromVolumeOverVT0(parameters, input.known, input.partner), true};
  }
  return {};
}

std::int64_t RowCount(const EosRequest& request) {
  if (request.inputPath) return static_cast<std::int64_t>(request.csvRows.size());
  return request.knownValues.count * request.partnerValues.count;
}

StateInput RowInput(const EosRequest& request, std::int64_t row) {
  if (request.inputPath) return request.csvRows[static_cast<std::size_t>(row)];
  const std::int64_t perPartner = request.knownValues.count;
  return {request.knownValues.At(row % perPartner), request.partnerValues.At(row / perPartner)};
}

}  // namespace quorvane::cli
