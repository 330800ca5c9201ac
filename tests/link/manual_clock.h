// A Clock that a test sets by hand.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/clock.h"

namespace zr78::test {

class ManualClock final : public Clock {
 public:
  explicit ManualClock(uint32_t now = 0) : now_(now) {}
  uint32_t tickMs() const override { return now_.load(); }
  void set(uint32_t now) { now_.store(now); }

 private:
  std::atomic<uint32_t> now_;
};

}  // namespace zr78::test
