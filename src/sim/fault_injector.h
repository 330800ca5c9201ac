// Report faults of the virtual link: loss and single-byte corruption, drawn
// from a seeded std::mt19937 so that a fault pattern repeats exactly for the
// same seed and the same sequence of reports. The caller serialises access.
#pragma once

#include <random>

#include "sim/device_packets.h"
#include "sim/virtual_amplifier.h"

namespace zr78::sim {

class FaultInjector {
 public:
  // Takes the rates and restarts the pattern from the seed.
  void configure(const FaultConfig& faults);
  const FaultConfig& faults() const { return faults_; }

  // The fate of one report: false when it is lost; otherwise one payload
  // byte may have been changed. Every report consumes the same number of
  // draws whatever its fate (four), so the pattern depends only on the seed
  // and the report's position in the sequence.
  bool pass(Report& report);

  // The fate of one reply frame: its extra latency and whether it arrives
  // twice. Two draws per frame whatever the settings.
  struct ReplyFate {
    int delayMs = 0;
    bool duplicate = false;
  };
  ReplyFate replyFate();

 private:
  double uniform();  // [0, 1), the same on every standard library

  FaultConfig faults_;
  std::mt19937 rng_{1};
};

}  // namespace zr78::sim
