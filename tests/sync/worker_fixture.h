// A running link over the virtual amplifier, for the worker's tests: the
// fast profile for sleeps, the 1 ms-per-report link model (so the window
// between a send and its echo exists), a channel lock of the test's own
// (tests run in parallel), recorded events and a temporary folder tree for
// preset files. A test that needs instant replies builds its SimConfig
// without linkModel() and says why.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>

#include "sync/gated_device.h"
#include "sync/link_session.h"
#include "sync/recording_events.h"
#include "temp_dir.h"
#include "sim/virtual_amplifier.h"
#include "text/language.h"

namespace zr78::test {

class WorkerFixture : public ::testing::Test {
 protected:
  WorkerFixture() {
    static std::atomic<int> counter{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    unique_ = std::string(info->test_suite_name()) + "-" + info->name() + "-" +
              std::to_string(::getpid()) + "-" + std::to_string(counter++);
    std::filesystem::create_directories(root_ / "program" / "FileData");
    std::filesystem::create_directories(root_ / "fallback");
    folders_.program = root_ / "program";
    folders_.fallback = root_ / "fallback";
    folders_.baseName = "zr78";
    folders_.working = root_;
  }
  ~WorkerFixture() override {
    if (gate_) gate_->release();  // a held write returns, so the worker can end
    session_.reset();
  }

  // The virtual amplifier on the USB full-speed link model: one report per
  // millisecond each way.
  static sim::SimConfig linkModel() {
    sim::SimConfig config;
    config.reportIntervalUs = 1000;
    return config;
  }

  // `device` stands in front of the virtual amplifier when given.
  void start(const sim::SimConfig& config = linkModel(), LinkTiming timing = LinkTiming::fast(),
             HidDevice* device = nullptr) {
    amp_.setConfig(config);
    session_ = std::make_unique<LinkSession>(device ? *device : amp_.hidDevice(), events_, timing,
                                             folders_, language_);
    session_->link.setChannelLockName("zr78-test-" + unique_);
    ASSERT_TRUE(session_->worker.startLink());
  }
  // A gate in front of the virtual amplifier (pass it to start()); it lives
  // as long as the session that uses it.
  GatedDevice& gate() {
    if (!gate_) gate_ = std::make_unique<GatedDevice>(amp_.hidDevice());
    return *gate_;
  }
  bool waitSynchronising(int timeoutMs = 5000) {
    return events_.waitUntil([&] { return session_->worker.synchronising(); }, timeoutMs);
  }
  bool waitFor(const std::function<bool()>& done, int timeoutMs = 5000) {
    return events_.waitUntil(done, timeoutMs);
  }
  // Raises a slot and waits until its operation has ended.
  bool runSlot(int slot, int timeoutMs = 10000) {
    const uint32_t before = session_->worker.requestsCompleted();
    session_->worker.raiseRequest(slot);
    return waitFor([&] { return session_->worker.requestsCompleted() != before; }, timeoutMs);
  }
  // Starts an operation (`raise` raises its slot) and waits until it ended.
  bool completes(const std::function<void()>& raise, int timeoutMs = 10000) {
    const uint32_t before = session_->worker.requestsCompleted();
    raise();
    return waitFor([&] { return session_->worker.requestsCompleted() != before; }, timeoutMs);
  }
  bool nothingDirty() const {
    for (int a = 0; a < kRegisterCount; ++a)
      if (session_->table.dirty(a)) return false;
    return true;
  }
  std::filesystem::path path(const std::string& name) const { return root_ / name; }

  RegisterTable& table() { return session_->table; }
  LinkState& state() { return session_->state; }
  SyncWorker& worker() { return session_->worker; }

  sim::VirtualAmplifier amp_;
  RecordingEvents events_;
  LanguageIndex language_{Language::kEnglish};
  std::string unique_;
  TempDir dir_{"zr78-worker-"};
  const std::filesystem::path root_ = dir_.path();
  Folders folders_;
  std::unique_ptr<GatedDevice> gate_;
  std::unique_ptr<LinkSession> session_;
};

}  // namespace zr78::test
