#include "shell/floating_point_environment.h"

#include <cfenv>

namespace quorvane::shell {

void EnterProgramFloatingPointEnvironment() {
  std::fenv_t previous;
  // Saves the current environment, clears its flags and masks every exception.
  std::feholdexcept(&previous);
  std::fesetround(FE_TONEAREST);
}

}  // namespace quorvane::shell
