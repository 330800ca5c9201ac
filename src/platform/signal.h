// A wake-up with the semantics of a semaphore of maximum count 1: releasing
// an already signalled Signal is absorbed (std::binary_semaphore would make
// that undefined). Used for the reply semaphore and the worker's wake-up.
#pragma once

#include <atomic>
#include <chrono>
#include <semaphore>

namespace zr78 {

class Signal {
 public:
  void release() {
    if (!signalled_.exchange(true)) sem_.release();
  }
  // Waits at most `ms` milliseconds; true when signalled.
  bool waitFor(int ms) {
    if (ms <= 0) return tryTake();
    if (sem_.try_acquire_for(std::chrono::milliseconds(ms))) {
      signalled_.store(false);
      return true;
    }
    return false;
  }
  bool tryTake() {
    if (sem_.try_acquire()) {
      signalled_.store(false);
      return true;
    }
    return false;
  }

 private:
  std::binary_semaphore sem_{0};
  std::atomic<bool> signalled_{false};
};

}  // namespace zr78
