// Timing helper of the benchmarks: the median of repeated runs, so that a
// busy machine's outliers do not move the figure.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace zr78::bench {

// Median time of one call of `work` in microseconds: `rounds` rounds of
// `callsPerRound` calls each, after one warm-up round.
template <typename Work>
double medianMicroseconds(Work&& work, int rounds, int callsPerRound) {
  using Clock = std::chrono::steady_clock;
  std::vector<double> perCall;
  perCall.reserve(rounds);
  for (int r = -1; r < rounds; ++r) {
    const auto start = Clock::now();
    for (int i = 0; i < callsPerRound; ++i) work();
    const std::chrono::duration<double, std::micro> elapsed = Clock::now() - start;
    if (r >= 0) perCall.push_back(elapsed.count() / callsPerRound);
  }
  std::nth_element(perCall.begin(), perCall.begin() + rounds / 2, perCall.end());
  return perCall[rounds / 2];
}

inline void printFigure(const char* name, double value, const char* unit) {
  std::printf("%s %.1f %s\n", name, value, unit);
}

}  // namespace zr78::bench
