#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace quorvane::engine {

// From a volume within a few doubles of a root, the double whose residual
// (computed pressure minus the target) is smallest in magnitude among the
// kReach doubles on either side of it. The computed pressure is noisier than
// one step of the volume, so a double whose two neighbours both come out
// farther from the target can still have one a few steps away that comes
// nearer; the walk moves to the nearest double of its whole window until none
// in the window of where it stands is strictly nearer. Of equal residuals it
// keeps the first it reaches: it moves only to a strictly smaller one, and of
// equal ones in its window to the double closest to where it stands (the
// smaller volume when two are equally close). After kMoveCap moves it stops at
// the best double it has seen, whose window may then hold a nearer one. Like the search it serves,
// it asks for the residuals it needs and goes on when they are supplied, so that many walks can
// share their evaluations.
class NearestDoubleWalk {
 public:
  static constexpr int kReach = 2;
  static constexpr int kMoveCap = 64;
  // The doubles of a window: where the walk stands and kReach either side.
  static constexpr int kWindow = 2 * kReach + 1;

  // From V, with every residual yet to be computed, or with the residual
  // already known at a volume known, which counts where it lies within reach.
  void Start(double V);
  void Start(double V, double known, double residual);

  bool Done() const { return wantedCount_ == 0; }
  // The volumes whose residuals the walk waits for.
  const double* Wanted() const { return wanted_.data(); }
  std::size_t WantedCount() const { return wantedCount_; }
  // The residuals at the wanted volumes, in their order.
  void Supply(const double* residuals);

  // Where the walk stands, and the residual offset doubles from there (not a
  // number where the walk has not computed it).
  double V() const { return centre_; }
  double Residual(int offset) const;

 private:
  void Advance();
  void RequestUnknown();
  int BestOffset() const;
  void Shift(int offset);

  double centre_ = 0.0;
  // The residual at centre_ stepped by i - kReach doubles, where bit i of
  // known_ is set.
  std::array<double, kWindow> residuals_ = {};
  std::uint32_t known_ = 0;
  std::array<double, kWindow> wanted_ = {};
  std::array<int, kWindow> wantedOffsets_ = {};
  std::size_t wantedCount_ = 0;
  int moves_ = 0;
};

}  // namespace quorvane::engine
