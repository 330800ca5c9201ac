// A HidDevice in front of another whose writes can be held: while held, a
// write waits until released (or at most the hold's limit), and close() does
// not end the wait, as with a device whose write blocks in the kernel. Tests
// use it to stop the worker in the middle of a send.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "link/hid_device.h"

namespace zr78::test {

class GatedDevice final : public HidDevice {
 public:
  explicit GatedDevice(HidDevice& inner) : inner_(inner) {}
  ~GatedDevice() override { release(); }

  // Every write from now on waits, at most `limit`.
  void hold(std::chrono::milliseconds limit = std::chrono::hours(1)) {
    std::lock_guard<std::mutex> lock(mutex_);
    held_ = true;
    limit_ = limit;
  }
  void release() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      held_ = false;
    }
    changed_.notify_all();
  }
  // Writes waiting right now.
  int waiting() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return waiting_;
  }

  bool open() override { return inner_.open(); }
  int readReport(uint8_t* report, int timeoutMs) override { return inner_.readReport(report, timeoutMs); }
  int writeReport(const uint8_t* report) override {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (held_) {
        ++waiting_;
        changed_.wait_for(lock, limit_, [&] { return !held_; });
        --waiting_;
      }
    }
    return inner_.writeReport(report);
  }
  void close() override { inner_.close(); }  // a held write stays held

 private:
  HidDevice& inner_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool held_ = false;
  std::chrono::milliseconds limit_{0};
  int waiting_ = 0;
};

}  // namespace zr78::test
