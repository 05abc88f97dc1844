#include "engine/exact_volume_solver.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/isothermal_curve.h"

namespace quorvane::engine {
namespace {

constexpr double kEpsilon = std::numeric_limits<double>::epsilon();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Once a step moves the volume by less than this relative amount, the root
// lies within a few doubles and the walk over neighbours finishes.
constexpr double kSettled = 4.0 * kEpsilon;
// Halley's error is about the cube of its step, so after a step this small
// the next volume is within a few doubles of the root and needs only the walk.
constexpr double kLastStep = 1e-6;
// Halving the logarithm of a bracket that spans every positive double down to
// adjacent doubles takes about 62 steps; Halley's steps need far fewer.
constexpr int kStepCap = 200;
// The walk starts within a few doubles of the root; the cap only bounds it.
constexpr int kWalkCap = 64;
// A residual this small relative to the target and K(T) is the rounding of the
// pressure itself, which can leave equal residuals on neighbouring doubles.
constexpr double kRoundingResidual = 64.0 * kEpsilon;
// Where the pressure is computed from a difference of nearly equal terms (a
// Murnaghan K'0 near zero), it stays constant over many doubles; a residual
// that the modulus puts within this relative volume of the root is such a
// step of the pressure, not a target out of reach.
constexpr double kRootResolution = 1e-10;

struct Sample {
  double V = 0.0;
  double residual = 0.0;  // P(V) minus the target
  double modulus = 0.0;   // -V dP/dV
  double change = 0.0;    // -V dK/dV
  bool onBranch = false;
};

// e^d - 1, by its Taylor polynomial below kShortStep: it is off by about
// d^6/720, a millionth of Halley's own error on such a step and nothing on
// the last one (below kLastStep), and much cheaper than expm1.
constexpr double kShortStep = 0.1;
double GrowthLess1(double d) {
  if (std::fabs(d) >= kShortStep) return std::expm1(d);
  return d * (1.0 + d * (0.5 + d * (1.0 / 6.0 + d * (1.0 / 24.0 + d / 120.0))));
}

// The neighbouring doubles of a positive finite volume, without the general
// cases nextafter pays for.
double Below(double V) {
  return std::bit_cast<double>(std::bit_cast<std::uint64_t>(V) - 1);
}
double Above(double V) {
  return std::bit_cast<double>(std::bit_cast<std::uint64_t>(V) + 1);
}

bool Opposite(double a, double b) {
  return (a < 0.0 && b > 0.0) || (a > 0.0 && b < 0.0);
}

bool StrictlyBetween(double x, double a, double b) {
  return a < b ? (x > a && x < b) : (x > b && x < a);
}

// Halves the bracket in the logarithm of the volume, so that a bracket
// reaching to the largest or smallest double closes in a few dozen steps.
// Gives one of the ends once they are adjacent doubles.
double Midpoint(double a, double b) {
  const double low = std::fmin(a, b);
  const double high = std::fmax(a, b);
  const double geometric = std::sqrt(low) * std::sqrt(high);
  if (geometric > low && geometric < high) return geometric;
  return low + (high - low) / 2.0;
}

// Halley's iteration on the logarithm of the volume, bracketed between a
// volume whose pressure has not yet reached the target ("inside", first
// V(T,0)) and either one that has passed it or the first volume off the branch
// ("outside").
class ExactSearch {
 public:
  ExactSearch(const IsothermalCurve& curve, double target)
      : curve_(curve), target_(target), VT0_(curve.ReferenceVolume()), K_(curve.BulkModulus()) {}

  VolumeSolution Solve() {
    if (!std::isfinite(target_) || !std::isfinite(VT0_) || !(VT0_ > 0.0)) return NotReached();
    if (!std::isfinite(K_)) return NotReached();
    // x = 1 gives exactly zero pressure for every type whose terms are finite.
    if (target_ == 0.0) return {VT0_, 1, Residual(VT0_) == 0.0};
    // With K(T) = 0 every pressure is zero.
    if (K_ == 0.0) return NotReached();
    return Bracketed();
  }

 private:
  VolumeSolution NotReached() const { return {VT0_, evaluations_, false}; }

  Sample Evaluate(double V) {
    ++evaluations_;
    const IsothermalCurve::PressureAndModulus at = curve_.PressureWithModulus(V);
    const bool onBranch =
        std::isfinite(at.P) && std::isfinite(at.K) && (K_ > 0.0) == (at.K > 0.0) && at.K != 0.0;
    return {V, at.P - target_, at.K, at.dK, onBranch};
  }

  double Residual(double V) {
    ++evaluations_;
    return curve_.Pressure(V) - target_;
  }

  // For Murnaghan the guess is the root itself, in every digit; for the other
  // types it is a few digits off anyway, which a single-precision power, far
  // cheaper, keeps.
  double GuessPower(double base, double exponent) const {
    if (curve_.Type() == EosType::Murnaghan) return std::pow(base, exponent);
    return std::pow(static_cast<float>(base), static_cast<float>(exponent));
  }

  // The Murnaghan inverse with the parameter set's K'0 lands within a few
  // percent of every type's root at moderate compression; where it has no
  // value, the linear (constant K) estimate.
  double FirstGuess() const {
    const double Kp = curve_.PressureDerivative();
    const double base = (Kp * target_) / K_ + 1.0;
    const double murnaghan = VT0_ * GuessPower(base, -(1.0 / Kp));
    if (base > 0.0 && std::isfinite(murnaghan) && murnaghan > 0.0) return murnaghan;
    return VT0_ * std::exp(-target_ / K_);
  }

  // Halley's step in ln V for f = P - target, whose derivatives in ln V are
  // -K and -V dK/dV; Newton's where the curvature would more than halve or
  // double that step.
  static double HalleyStep(const Sample& s) {
    const double inverse = 1.0 / s.modulus;
    const double newton = s.residual * inverse;
    const double correction = 1.0 - 0.5 * newton * s.change * inverse;
    if (!(correction > 0.5 && correction < 2.0)) return newton;
    return newton / correction;
  }

  VolumeSolution Bracketed() {
    const bool insideBelowTarget = -target_ < 0.0;
    double inside = VT0_;
    const bool expands = (K_ > 0.0) == (target_ < 0.0);
    double outside =
        expands ? std::numeric_limits<double>::max() : std::numeric_limits<double>::denorm_min();
    bool outsidePassed = false;
    double candidate = FirstGuess();
    if (!StrictlyBetween(candidate, inside, outside)) candidate = Midpoint(inside, outside);
    double lastStep = kInfinity;
    double stepBeforeLast = kInfinity;
    for (int step = 0; step < kStepCap; ++step) {
      if (candidate == inside || candidate == outside) break;
      const Sample s = Evaluate(candidate);
      if (!s.onBranch) {
        outside = s.V;
        outsidePassed = false;
        candidate = Midpoint(inside, outside);
        continue;
      }
      if (s.residual == 0.0) return {s.V, evaluations_, true};
      if ((s.residual < 0.0) == insideBelowTarget) {
        inside = s.V;
      } else {
        outside = s.V;
        outsidePassed = true;
      }
      const double logStep = HalleyStep(s);
      const double next = s.V + s.V * GrowthLess1(logStep);
      const double change = std::fabs(next - s.V);
      if (change <= kSettled * s.V) return Walk(s.V, s.residual, s.modulus);
      const bool inBracket = StrictlyBetween(next, inside, outside);
      if (inBracket && std::fabs(logStep) < kLastStep) return Walk(next, Residual(next), s.modulus);
      candidate = next;
      // Bisect when the step leaves the bracket or, once the root is
      // bracketed, stops halving.
      if (!inBracket || (outsidePassed && change > 0.5 * stepBeforeLast)) {
        candidate = Midpoint(inside, outside);
      }
      stepBeforeLast = lastStep;
      lastStep = std::fabs(candidate - s.V);
    }
    if (!outsidePassed) return NotReached();
    const Sample last = Evaluate(Midpoint(inside, outside));
    return Walk(last.V, last.residual, last.modulus);
  }

  // Moves to a neighbouring double while that gives a smaller residual, so
  // that the volume returned is a local best among doubles; the target counts
  // as reached when the residual changes sign beside it, is rounding noise,
  // or puts the root within a step of the computed pressure.
  VolumeSolution Walk(double V, double residual, double modulus) {
    double below = Residual(Below(V));
    double above = Residual(Above(V));
    for (int moves = 0; moves < kWalkCap; ++moves) {
      if (std::fabs(below) < std::fabs(residual) && !(std::fabs(above) < std::fabs(below))) {
        above = residual;
        residual = below;
        V = Below(V);
        below = Residual(Below(V));
      } else if (std::fabs(above) < std::fabs(residual)) {
        below = residual;
        residual = above;
        V = Above(V);
        above = Residual(Above(V));
      } else {
        break;
      }
    }
    const bool reached =
        residual == 0.0 || Opposite(residual, below) || Opposite(residual, above) ||
        std::fabs(residual) <= kRoundingResidual * (std::fabs(target_) + std::fabs(K_)) ||
        std::fabs(residual) <= kRootResolution * std::fabs(modulus);
    if (!reached) return NotReached();
    return {V, evaluations_, true};
  }

  const IsothermalCurve& curve_;
  double target_;
  double VT0_;
  double K_;
  std::int32_t evaluations_ = 0;
};

}  // namespace

VolumeSolution SolveVolumeExactly(const EosParameters& parameters, double P, double T) {
  return SolveVolumeExactly(IsothermalCurve(parameters, T), P);
}

VolumeSolution SolveVolumeExactly(const IsothermalCurve& isotherm, double P) {
  return ExactSearch(isotherm, P).Solve();
}

}  // namespace quorvane::engine
