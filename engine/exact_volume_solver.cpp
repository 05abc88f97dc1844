#include "engine/exact_volume_solver.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>

#include "engine/isothermal_curve.h"
#include "engine/nearest_double_walk.h"

namespace quorvane::engine {
namespace {

constexpr double kEpsilon = std::numeric_limits<double>::epsilon();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Once a step moves the volume by less than this relative amount, the root
// lies within a few doubles and the walk over nearby doubles finishes.
constexpr double kSettled = 4.0 * kEpsilon;
// Halley's error is about the cube of its step, so after a step this small
// the next volume is within a few doubles of the root and needs only the walk.
constexpr double kLastStep = 1e-6;
// Newton's error is about the square of its step.
constexpr double kLastNewtonStep = 1e-9;
// Halving the logarithm of a bracket that spans every positive double down to
// adjacent doubles takes about 62 steps; Halley's steps need far fewer.
constexpr int kStepCap = 200;
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
// ("outside"). The search asks for the pressures it needs (Wanted) and goes on
// when they are supplied, so that many searches can share their evaluations.
class ExactSearch {
 public:
  using Evaluation = IsothermalCurve::PressureAndModulus;
  static constexpr std::size_t kMostWanted = NearestDoubleWalk::kWindow;

  ExactSearch(const SearchOrigin& origin, double target)
      : origin_(origin), target_(target), VT0_(origin.V), P0_(origin.P), K_(origin.K) {
    Start();
  }

  bool Done() const { return state_ == State::Done; }
  VolumeSolution Result() const { return result_; }

  // The volumes whose pressures the search waits for, and whether it needs
  // their moduli too.
  const double* Wanted() const { return state_ == State::Walk ? walk_.Wanted() : wanted_; }
  std::size_t WantedCount() const {
    return state_ == State::Walk ? walk_.WantedCount() : wantedCount_;
  }
  bool WantsModulus() const { return state_ == State::Halley || state_ == State::LastHalley; }

  // The evaluations at the wanted volumes, in their order.
  void Supply(const Evaluation* at) {
    evaluations_ += static_cast<std::int32_t>(WantedCount());
    switch (state_) {
      case State::ZeroTarget:
        return Finish({VT0_, 1, at[0].P - target_ == 0.0});
      case State::Halley:
        return OnHalley(Sampled(wanted_[0], at[0]));
      case State::LastHalley: {
        const Sample last = Sampled(wanted_[0], at[0]);
        return WalkFrom(last.V, last);
      }
      case State::Walk: {
        double residuals[NearestDoubleWalk::kWindow];
        for (std::size_t i = 0; i < walk_.WantedCount(); ++i) residuals[i] = at[i].P - target_;
        walk_.Supply(residuals);
        return OnWalk();
      }
      case State::Done:
        return;
    }
  }

 private:
  enum class State { ZeroTarget, Halley, LastHalley, Walk, Done };

  void Start() {
    if (!std::isfinite(target_) || !std::isfinite(VT0_) || !(VT0_ > 0.0)) return NotReached();
    if (!std::isfinite(K_)) return NotReached();
    // x = 1 gives exactly zero pressure for every type whose terms are finite.
    if (target_ == P0_) return Want(State::ZeroTarget, {VT0_});
    // With K(T) = 0 every pressure is zero.
    if (K_ == 0.0) return NotReached();
    insideBelowTarget_ = P0_ - target_ < 0.0;
    inside_ = VT0_;
    const bool expands = (K_ > 0.0) == (target_ < P0_);
    outside_ =
        expands ? std::numeric_limits<double>::max() : std::numeric_limits<double>::denorm_min();
    candidate_ = FirstGuess();
    if (!StrictlyBetween(candidate_, inside_, outside_)) candidate_ = Midpoint(inside_, outside_);
    NextHalley();
  }

  // Element by element: a call to copy would cost more than these stores.
  void Want(State state, std::initializer_list<double> volumes) {
    state_ = state;
    wantedCount_ = 0;
    for (const double V : volumes) wanted_[wantedCount_++] = V;
  }

  void Finish(VolumeSolution result) {
    result_ = result;
    state_ = State::Done;
    wantedCount_ = 0;
  }

  void NotReached() { Finish({VT0_, evaluations_, false}); }

  Sample Sampled(double V, const Evaluation& at) const {
    const bool onBranch =
        std::isfinite(at.P) && std::isfinite(at.K) && (K_ > 0.0) == (at.K > 0.0) && at.K != 0.0;
    return {V, at.P - target_, at.K, at.dK, onBranch};
  }

  // For Murnaghan the guess is the root itself, in every digit; for the other
  // types it is a few digits off anyway, which a single-precision power, far
  // cheaper, keeps.
  double GuessPower(double base, double exponent) const {
    if (origin_.guessIsRoot) return std::pow(base, exponent);
    return std::pow(static_cast<float>(base), static_cast<float>(exponent));
  }

  // The Murnaghan inverse with the parameter set's K'0 lands within a few
  // percent of every type's root at moderate compression; where it has no
  // value, the linear (constant K) estimate.
  double FirstGuess() const {
    const double Kp = origin_.Kp;
    const double rise = target_ - P0_;
    const double base = (Kp * rise) / K_ + 1.0;
    const double murnaghan = VT0_ * GuessPower(base, -(1.0 / Kp));
    if (base > 0.0 && std::isfinite(murnaghan) && murnaghan > 0.0) return murnaghan;
    return VT0_ * std::exp(-rise / K_);
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

  // The next Halley step at the candidate, or, once the candidate has met an
  // end of the bracket or the steps are used up, the bracket's last word.
  void NextHalley() {
    if (step_ < kStepCap && candidate_ != inside_ && candidate_ != outside_) {
      return Want(State::Halley, {candidate_});
    }
    if (!outsidePassed_) return NotReached();
    Want(State::LastHalley, {Midpoint(inside_, outside_)});
  }

  void OnHalley(const Sample& s) {
    ++step_;
    if (!s.onBranch) {
      outside_ = s.V;
      outsidePassed_ = false;
      candidate_ = Midpoint(inside_, outside_);
      return NextHalley();
    }
    if (s.residual == 0.0) return Finish({s.V, evaluations_, true});
    if ((s.residual < 0.0) == insideBelowTarget_) {
      inside_ = s.V;
    } else {
      outside_ = s.V;
      outsidePassed_ = true;
    }
    const double logStep = HalleyStep(s);
    const double next = s.V + s.V * GrowthLess1(logStep);
    const double change = std::fabs(next - s.V);
    if (change <= kSettled * s.V) return WalkFrom(next, s);
    const bool inBracket = StrictlyBetween(next, inside_, outside_);
    const double lastStep = origin_.curvature ? kLastStep : kLastNewtonStep;
    if (inBracket && std::fabs(logStep) < lastStep) return WalkFrom(next, s.modulus);
    candidate_ = next;
    // Bisect when the step leaves the bracket or, once the root is
    // bracketed, stops halving.
    if (!inBracket || (outsidePassed_ && change > 0.5 * stepBeforeLast_)) {
      candidate_ = Midpoint(inside_, outside_);
    }
    stepBeforeLast_ = lastStep_;
    lastStep_ = std::fabs(candidate_ - s.V);
    NextHalley();
  }

  // The walk over nearby doubles from V, with the residuals there yet to be
  // computed, or knowing the sample's.
  void WalkFrom(double V, double modulus) {
    walkModulus_ = modulus;
    walk_.Start(V);
    OnWalk();
  }

  void WalkFrom(double V, const Sample& known) {
    walkModulus_ = known.modulus;
    walk_.Start(V, known.V, known.residual);
    OnWalk();
  }

  // The target counts as reached where the walk stops when the residual
  // changes sign beside it, is rounding noise, or puts the root within a step
  // of the computed pressure.
  void OnWalk() {
    state_ = State::Walk;
    if (!walk_.Done()) return;
    const double residual = walk_.Residual(0);
    const bool reached =
        residual == 0.0 || Opposite(residual, walk_.Residual(-1)) ||
        Opposite(residual, walk_.Residual(1)) ||
        std::fabs(residual) <= kRoundingResidual * (std::fabs(target_) + std::fabs(K_)) ||
        std::fabs(residual) <= kRootResolution * std::fabs(walkModulus_);
    if (!reached) return NotReached();
    Finish({walk_.V(), evaluations_, true});
  }

  SearchOrigin origin_;
  double target_;
  double VT0_;
  double P0_;
  double K_;
  State state_ = State::Done;
  double wanted_[kMostWanted] = {};
  std::size_t wantedCount_ = 0;
  VolumeSolution result_;
  std::int32_t evaluations_ = 0;
  // The bracketed Halley iteration.
  bool insideBelowTarget_ = false;
  double inside_ = 0.0;
  double outside_ = 0.0;
  bool outsidePassed_ = false;
  double candidate_ = 0.0;
  double lastStep_ = kInfinity;
  double stepBeforeLast_ = kInfinity;
  int step_ = 0;
  // The walk over nearby doubles, and the modulus where it started.
  NearestDoubleWalk walk_;
  double walkModulus_ = 0.0;
};

// Searches taken at a time by the batch: enough that their evaluations
// overlap in the processor and fill the four-abreast powers.
constexpr std::size_t kLanes = 8;

// An isotherm's search starts at V(T,0), where its pressure is zero.
SearchOrigin OriginOf(const IsothermalCurve& isotherm) {
  return {isotherm.ReferenceVolume(),
          0.0,
          isotherm.BulkModulus(),
          isotherm.PressureDerivative(),
          isotherm.Type() == EosType::Murnaghan,
          true};
}

}  // namespace

VolumeSolution SolveVolumeExactly(const EosParameters& parameters, double P, double T) {
  return SolveVolumeExactly(IsothermalCurve(parameters, T), P);
}

VolumeSolution SolveVolumeExactly(const IsothermalCurve& isotherm, double P) {
  ExactSearch search(OriginOf(isotherm), P);
  ExactSearch::Evaluation at[ExactSearch::kMostWanted];
  double pressures[ExactSearch::kMostWanted];
  while (!search.Done()) {
    const std::size_t count = search.WantedCount();
    if (search.WantsModulus()) {
      for (std::size_t i = 0; i < count; ++i) {
        at[i] = isotherm.PressureWithModulus(search.Wanted()[i]);
      }
    } else {
      isotherm.Pressures(search.Wanted(), count, pressures);
      for (std::size_t i = 0; i < count; ++i) at[i] = {pressures[i], 0.0, 0.0};
    }
    search.Supply(at);
  }
  return search.Result();
}

void SolveVolumesExactly(const IsothermalCurve& isotherm, const double* P, std::size_t n,
                         VolumeSolution* solutions) {
  const SearchOrigin origin = OriginOf(isotherm);
  std::array<std::optional<ExactSearch>, kLanes> lanes;
  std::array<std::size_t, kLanes> point{};
  std::size_t next = 0;
  // Gives the lane the next point that needs evaluations, settling those that
  // need none on the way.
  const auto refill = [&](std::size_t lane) {
    lanes[lane].reset();
    while (next < n) {
      point[lane] = next;
      lanes[lane].emplace(origin, P[next++]);
      if (!lanes[lane]->Done()) return;
      solutions[point[lane]] = lanes[lane]->Result();
      lanes[lane].reset();
    }
  };
  for (std::size_t lane = 0; lane < kLanes; ++lane) refill(lane);
  std::array<double, kLanes * ExactSearch::kMostWanted> volumes;
  std::array<ExactSearch::Evaluation, kLanes * ExactSearch::kMostWanted> at;
  for (;;) {
    std::size_t count = 0;
    for (const auto& search : lanes) {
      if (!search) continue;
      for (std::size_t i = 0; i < search->WantedCount(); ++i) {
        volumes[count++] = search->Wanted()[i];
      }
    }
    if (count == 0) return;
    isotherm.PressuresWithModulus(volumes.data(), count, at.data());
    std::size_t offset = 0;
    for (std::size_t lane = 0; lane < kLanes; ++lane) {
      if (!lanes[lane]) continue;
      const std::size_t wanted = lanes[lane]->WantedCount();
      lanes[lane]->Supply(at.data() + offset);
      offset += wanted;
      if (!lanes[lane]->Done()) continue;
      solutions[point[lane]] = lanes[lane]->Result();
      refill(lane);
    }
  }
}

VolumeSolution SolveVolumeExactly(const SearchOrigin& origin, double P, PressureEvaluator evaluate,
                                  const void* context) {
  ExactSearch search(origin, P);
  ExactSearch::Evaluation at[ExactSearch::kMostWanted];
  while (!search.Done()) {
    for (std::size_t i = 0; i < search.WantedCount(); ++i) {
      at[i] = evaluate(context, search.Wanted()[i]);
    }
    search.Supply(at);
  }
  return search.Result();
}

}  // namespace quorvane::engine
