#include "python/lane_pressures.h"

#include <cstdlib>
#include <string>

namespace quorvane::python {
namespace {

enum class InstructionSet { None, Avx, Avx512 };

// The widest set the processor offers; QUORVANE_LANES=avx or none narrows it,
// so that every path can be checked on one machine.
InstructionSet Detected() {
#ifdef QUORVANE_WITH_SLEEF
  const char* chosen = std::getenv("QUORVANE_LANES");
  const std::string narrowed = chosen ? chosen : "";
  if (narrowed == "none") return InstructionSet::None;
  // GCC's check includes the operating system's saving of the wide registers.
  if (narrowed != "avx" && __builtin_cpu_supports("avx512f")) return InstructionSet::Avx512;
  if (__builtin_cpu_supports("avx")) return InstructionSet::Avx;
#endif
  return InstructionSet::None;
}

InstructionSet Available() {
  static const InstructionSet set = Detected();
  return set;
}

}  // namespace

const char* LaneSetName() {
  switch (Available()) {
    case InstructionSet::Avx512:
      return "avx512";
    case InstructionSet::Avx:
      return "avx";
    case InstructionSet::None:
      break;
  }
  return "none";
}

bool HasLanePressures(const models::Model& model) {
  return model.arithmetic == models::Arithmetic::Textbook && Available() != InstructionSet::None;
}

void LanePressures(const models::Model& model, const double* V, const double* T, std::size_t stride,
                   std::size_t n, double* out) {
#ifdef QUORVANE_WITH_SLEEF
  if (Available() == InstructionSet::Avx512) {
    Avx512Pressures(model, model.values.data(), V, T, stride, n, out);
  } else {
    AvxPressures(model, model.values.data(), V, T, stride, n, out);
  }
#else
  (void)model, (void)V, (void)T, (void)stride, (void)n, (void)out;
#endif
}

}  // namespace quorvane::python
