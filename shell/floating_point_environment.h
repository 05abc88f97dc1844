#pragma once

// The arithmetic the program runs with: every floating-point exception
// masked, so overflow gives an infinity and an invalid operation a NaN and
// nothing traps, and rounding to nearest. Doubles are computed in SSE
// registers at 53-bit precision on x86-64, so no precision control is needed.
namespace quorvane::shell {

void EnterProgramFloatingPointEnvironment();

}  // namespace quorvane::shell
