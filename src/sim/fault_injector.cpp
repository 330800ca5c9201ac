#include "sim/fault_injector.h"

namespace zr78::sim {

void FaultInjector::configure(const FaultConfig& faults) {
  faults_ = faults;
  rng_.seed(faults.seed);
}

double FaultInjector::uniform() { return static_cast<double>(rng_()) / 4294967296.0; }

bool FaultInjector::pass(Report& report) {
  const bool lost = uniform() < faults_.lossRate;
  const bool corrupt = uniform() < faults_.corruptRate;
  const size_t index = 1 + rng_() % kReportPayload;              // never the report id
  const auto flip = static_cast<uint8_t>(1 + rng_() % 255);      // always a change
  if (lost) return false;
  if (corrupt) report[index] ^= flip;
  return true;
}

FaultInjector::ReplyFate FaultInjector::replyFate() {
  const double spread = uniform();
  const bool duplicate = uniform() < faults_.duplicateRate;
  const int least = faults_.delayMs > 0 ? faults_.delayMs : 0;
  const int most = faults_.delayMaxMs > least ? faults_.delayMaxMs : least;
  return {least + static_cast<int>(spread * (most - least + 1)), duplicate};
}

}  // namespace zr78::sim
