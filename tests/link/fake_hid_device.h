// A HidDevice scripted by the test: queued input reports, recorded output
// reports, a chosen write result, and a device that can vanish. Reads wait
// on a condition variable, so close() and vanish() end them at once.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "link/hid_device.h"

namespace zr78::test {

using Report = std::array<uint8_t, kReportSize>;

class FakeHidDevice : public HidDevice {
 public:
  bool open() override {
    std::lock_guard<std::mutex> lock(mutex_);
    ++opens_;
    open_ = present_;
    return open_;
  }
  int readReport(uint8_t* report, int timeoutMs) override {
    std::unique_lock<std::mutex> lock(mutex_);
    ++reads_;
    changed_.notify_all();
    changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                      [&] { return !open_ || !input_.empty(); });
    if (!open_) return -1;
    if (input_.empty()) return 0;
    std::memcpy(report, input_.front().data(), kReportSize);
    input_.pop_front();
    return static_cast<int>(kReportSize);
  }
  int writeReport(const uint8_t* report) override {
    Report r;
    std::memcpy(r.data(), report, kReportSize);
    std::function<void(const Report&)> onWrite;
    int result = static_cast<int>(kReportSize);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!open_) return -1;
      written_.push_back(r);
      if (failAfter_ >= 0 && static_cast<int>(written_.size()) > failAfter_) result = writeFailure_;
      onWrite = onWrite_;
    }
    if (onWrite) onWrite(r);  // outside the lock: it may push input
    return result;
  }
  void close() override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      open_ = false;
    }
    changed_.notify_all();
  }

  // Script.
  void pushPayload(const std::vector<uint8_t>& payload) {
    Report r{};
    std::memcpy(r.data() + 1, payload.data(), std::min(payload.size(), kReportPayload));
    {
      std::lock_guard<std::mutex> lock(mutex_);
      input_.push_back(r);
    }
    changed_.notify_all();
  }
  // Called with every written report (on the writer's thread), e.g. to answer.
  void setOnWrite(std::function<void(const Report&)> onWrite) {
    std::lock_guard<std::mutex> lock(mutex_);
    onWrite_ = std::move(onWrite);
  }
  // Writes after the first `count` return `result` (-1, or a short count).
  void failWritesAfter(int count, int result) {
    std::lock_guard<std::mutex> lock(mutex_);
    failAfter_ = count;
    writeFailure_ = result;
  }
  // Unplugged: open handles fail, open() fails until present again.
  void setPresent(bool present) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      present_ = present;
      if (!present) open_ = false;
    }
    changed_.notify_all();
  }
  // Waits until a read has started after `reads` reads (a reader is waiting in it).
  bool waitForReads(int reads, int timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return reads_ >= reads; });
  }

  std::vector<Report> written() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return written_;
  }
  int reads() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return reads_;
  }
  int opens() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return opens_;
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Report> input_;
  std::vector<Report> written_;
  std::function<void(const Report&)> onWrite_;
  bool present_ = true;
  bool open_ = false;
  int opens_ = 0;
  int reads_ = 0;
  int failAfter_ = -1;
  int writeFailure_ = -1;
};

}  // namespace zr78::test
