// How long the worker waits for the echo of a write batch: the round trip it
// has measured (smoothed time plus four times its variation, as TCP times
// its retransmissions) within a floor and the profile's longest wait, doubled
// for each time the batch's values were sent before. Before the first
// measurement, the longest wait. A lost write is then sent again after a few
// round trips rather than after the full wait, while a slow link still gets
// the time it needs and a record is not given up sooner than with the full
// wait each time.
#pragma once

#include <algorithm>
#include <cmath>

namespace zr78 {

class EchoTimer {
 public:
  EchoTimer(int floorMs, int limitMs) : floorMs_(floorMs), limitMs_(std::max(floorMs, limitMs)) {}

  // `sends`: the most times a value of the batch has now been sent (1..).
  int waitMs(int sends = 1) const {
    if (!measured_) return limitMs_;
    const double wait = (smoothed_ + 4 * variation_) * (1 << std::clamp(sends - 1, 0, 8));
    return std::clamp(static_cast<int>(std::ceil(std::min(wait, 1e6))), floorMs_, limitMs_);
  }
  // The round trip of a batch sent once and acknowledged by its echo.
  void sample(double ms) {
    if (!measured_) {
      smoothed_ = ms;
      variation_ = ms / 2;
      measured_ = true;
      return;
    }
    variation_ = 0.75 * variation_ + 0.25 * std::abs(smoothed_ - ms);
    smoothed_ = 0.875 * smoothed_ + 0.125 * ms;
  }
  // A new connection: nothing is known about it yet.
  void reset() { measured_ = false; }

 private:
  int floorMs_;
  int limitMs_;
  bool measured_ = false;
  double smoothed_ = 0;
  double variation_ = 0;
};

}  // namespace zr78
