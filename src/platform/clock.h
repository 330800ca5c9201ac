// The tick count of the link, behind a seam so that tests can drive it.
#pragma once

#include <chrono>
#include <cstdint>

namespace zr78 {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start; wraps like a 32-bit tick count.
  virtual uint32_t tickMs() const = 0;
};

class SteadyClock final : public Clock {
 public:
  uint32_t tickMs() const override {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }
};

// The process's steady clock (stateless; shared freely).
inline const Clock& steadyClock() {
  static const SteadyClock clock;
  return clock;
}

}  // namespace zr78
