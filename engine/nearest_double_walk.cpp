#include "engine/nearest_double_walk.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace quorvane::engine {
namespace {

constexpr double kNotComputed = std::numeric_limits<double>::quiet_NaN();

// The bits of a double and back (std::bit_cast, which not every standard
// library offers).
std::int64_t BitsOf(double x) {
  std::int64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}

double DoubleOf(std::uint64_t bits) {
  double x;
  std::memcpy(&x, &bits, sizeof x);
  return x;
}

// The double offset steps from a positive finite V. Past zero or the largest
// double this gives zero, infinity or no number, which the walk never asks
// the pressure of.
double Stepped(double V, int offset) {
  return DoubleOf(static_cast<std::uint64_t>(BitsOf(V)) +
                  static_cast<std::uint64_t>(static_cast<std::int64_t>(offset)));
}

bool IsVolume(double V) {
  return V > 0.0 && V < std::numeric_limits<double>::infinity();
}

}  // namespace

void NearestDoubleWalk::Start(double V) {
  centre_ = V;
  known_ = 0;
  moves_ = 0;
  Advance();
}

void NearestDoubleWalk::Start(double V, double known, double residual) {
  centre_ = V;
  known_ = 0;
  moves_ = 0;
  const std::int64_t offset = BitsOf(known) - BitsOf(V);
  if (offset >= -kReach && offset <= kReach) {
    residuals_[offset + kReach] = residual;
    known_ = 1u << (offset + kReach);
  }
  Advance();
}

void NearestDoubleWalk::Supply(const double* residuals) {
  for (std::size_t i = 0; i < wantedCount_; ++i) {
    const int index = wantedOffsets_[i] + kReach;
    residuals_[index] = residuals[i];
    known_ |= 1u << index;
  }
  wantedCount_ = 0;
  Advance();
}

double NearestDoubleWalk::Residual(int offset) const {
  if (offset < -kReach || offset > kReach) return kNotComputed;
  const int index = offset + kReach;
  return (known_ >> index) & 1u ? residuals_[index] : kNotComputed;
}

// Asks for the window's residuals not yet computed; once all are known,
// moves to the nearest double in it and asks again, or stops.
void NearestDoubleWalk::Advance() {
  for (;;) {
    RequestUnknown();
    if (wantedCount_ > 0) return;
    const int best = BestOffset();
    if (best == 0) return;
    Shift(best);
    if (++moves_ == kMoveCap) return;
  }
}

// A window double that is no positive finite volume has no residual.
void NearestDoubleWalk::RequestUnknown() {
  wantedCount_ = 0;
  for (int offset = -kReach; offset <= kReach; ++offset) {
    const int index = offset + kReach;
    if ((known_ >> index) & 1u) continue;
    const double V = Stepped(centre_, offset);
    known_ |= 1u << index;
    residuals_[index] = kNotComputed;
    if (!IsVolume(V)) continue;
    wanted_[wantedCount_] = V;
    wantedOffsets_[wantedCount_] = offset;
    ++wantedCount_;
  }
}

// Outward from the centre, the smaller volume first, so that a strictly
// smaller residual is needed to displace one nearer the centre.
int NearestDoubleWalk::BestOffset() const {
  int best = 0;
  double smallest = std::fabs(residuals_[kReach]);
  for (int distance = 1; distance <= kReach; ++distance) {
    for (const int offset : {-distance, distance}) {
      const double size = std::fabs(residuals_[offset + kReach]);
      if (size < smallest) {
        best = offset;
        smallest = size;
      }
    }
  }
  return best;
}

void NearestDoubleWalk::Shift(int offset) {
  std::array<double, kWindow> residuals = {};
  std::uint32_t known = 0;
  for (int index = 0; index < kWindow; ++index) {
    const int from = index + offset;
    if (from < 0 || from >= kWindow || !((known_ >> from) & 1u)) continue;
    residuals[index] = residuals_[from];
    known |= 1u << index;
  }
  residuals_ = residuals;
  known_ = known;
  centre_ = Stepped(centre_, offset);
}

}  // namespace quorvane::engine
