#include "sync/ledger_soak.h"

#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <random>
#include <thread>

#include "channels/input_source.h"
#include "registers/register_map.h"
#include "sync/link_session.h"
#include "text/language.h"

namespace zr78::test {

namespace {

using Clock = std::chrono::steady_clock;

// One count for the user's edits and the worker's reports, so that a report
// can be placed after or before an edit.
using Sequence = std::atomic<uint64_t>;

class SoakEvents final : public LinkEvents {
 public:
  explicit SoakEvents(Sequence& sequence) : sequence_(sequence) {
    for (auto& s : givenUpAt) s.store(0);
  }
  void postNotify(int code, int value) override {
    if (code == kNotifyEditGivenUp && RegisterTable::isDeviceAddress(value)) {
      givenUpAt[value].store(sequence_.load());
      reports.fetch_add(1);
    }
  }
  void sendNotify(int code, int value) override {
    if (code == kNotifyLinkStatus && static_cast<LinkStatus>(value) == LinkStatus::Connected)
      connections.fetch_add(1);
  }
  MessageResult messageBox(const std::string&, const std::string&, MessageButtons) override {
    return MessageResult::Ok;
  }
  void progressSetRange(int) override {}
  void progressSetFormat(const std::string&) override {}
  void progressSetValue(int) override {}
  void progressShow() override {}
  void progressHide() override {}
  void setTitle(const std::string&) override {}

  std::array<std::atomic<uint64_t>, kRegisterCount> givenUpAt;  // sequence at the last report
  std::atomic<int> reports{0};
  std::atomic<int> connections{0};

 private:
  Sequence& sequence_;
};

// Registers a user edits: the channel rows, limiter and channel blocks, the
// noise gate, the routing matrix (and the input source, through its change).
class Addresses {
 public:
  explicit Addresses(std::mt19937& rng) : rng_(rng) {}

  int any() {
    switch (pick(6)) {
      case 0: return muteRegister(pick(kChannelCount));
      case 1: return channelGainRegister(pick(kChannelCount));
      case 2: return delayRegister(pick(kChannelCount));
      case 3: return limiterRegister(pick(kChannelCount), kLimiterAttackOffset + pick(3));
      case 4: return routeRegister(pick(kRouteOutputs), pick(kRouteInputs));
      default: return channelBlockRegister(pick(kChannelCount), pick(kChannelBlockStride));
    }
  }
  // An offset of the channel block, the same for every channel.
  int blockOffset() { return pick(kChannelBlockStride); }
  int route() { return routeRegister(pick(kRouteOutputs), pick(kRouteInputs)); }
  int pick(int n) { return static_cast<int>(rng_() % static_cast<uint32_t>(n)); }

 private:
  std::mt19937& rng_;
};

class Soak {
 public:
  explicit Soak(const SoakOptions& o)
      : options_(o), rng_(o.seed), addresses_(rng_), events_(sequence_) {
    sim::SimConfig config;
    config.reportIntervalUs = 1000;  // USB full speed: one report per millisecond each way
    amp_.setConfig(config);
    amp_.randomiseMemory(o.seed);
    std::filesystem::create_directories(o.folder / "program" / "FileData");
    std::filesystem::create_directories(o.folder / "fallback");
    folders_.program = o.folder / "program";
    folders_.fallback = o.folder / "fallback";
    folders_.baseName = "zr78";
    folders_.working = o.folder;
    session_ = std::make_unique<LinkSession>(amp_.hidDevice(), events_, o.timing, folders_, language_);
    if (!o.channelLock.empty()) session_->link.setChannelLockName(o.channelLock);
  }

  SoakResult run() {
    SoakResult result;
    session_->worker.startLink();
    if (!waitFor([&] { return session_->worker.synchronising(); }, std::chrono::seconds(30))) return result;
    amp_.setFaults(options_.faults);
    const auto end = Clock::now() + options_.duration;
    int nextUnplug = options_.unplugEvery;
    auto lastUnplug = Clock::now();
    while (edits_ < options_.edits && (options_.duration.count() == 0 || Clock::now() < end)) {
      step();
      const bool byEdits = options_.unplugEvery > 0 && edits_ >= nextUnplug;
      const bool byTime = options_.unplugPeriod.count() > 0 && Clock::now() - lastUnplug >= options_.unplugPeriod;
      // The cable is pulled from a running link, not from one still coming up.
      if ((byEdits || byTime) && session_->worker.synchronising()) {
        unplugAndGoOn();
        nextUnplug = edits_ + options_.unplugEvery;
        lastUnplug = Clock::now();
      }
    }
    result.settled = settle();
    finish(result);
    session_->worker.stopLink();
    return result;
  }

 private:
  void edit(int address, int32_t value) {
    session_->table.setRegister(address, value);
    ledger_[address] = value;
    editedAt_[address] = sequence_.fetch_add(1) + 1;
    ++edits_;
  }
  int32_t randomValue() { return static_cast<int32_t>(rng_() & 0xFFFF); }
  void pause(int maxUs) { std::this_thread::sleep_for(std::chrono::microseconds(rng_() % (maxUs + 1))); }

  // One of the user's actions.
  void step() {
    const int kind = addresses_.pick(100);
    if (kind < 40) {
      edit(addresses_.any(), randomValue());
    } else if (kind < 60) {  // a drag: many edits of one register
      const int a = addresses_.any();
      for (int n = 5 + addresses_.pick(16); n > 0; --n) {
        edit(a, randomValue());
        pause(1000);
      }
    } else if (kind < 70) {  // a link group copies an edit to every channel
      const int offset = addresses_.blockOffset();
      const int32_t v = randomValue();
      for (int c = 0; c < kChannelCount; ++c) edit(channelBlockRegister(c, offset), v);
    } else if (kind < 80) {  // a value set back
      const int a = addresses_.any();
      const std::optional<int32_t> before = ledger_[a];
      edit(a, randomValue());
      pause(3000);
      edit(a, before ? *before : randomValue());
    } else if (kind < 86) {  // an input-source change, and routing edits during its re-read
      const int item = addresses_.pick(kInputSelectorItemCount);
      const int32_t config = session_->table.getRegister(kDeviceConfigurationRegister);
      changeInputSource(session_->table, item, {});
      if (const auto word = inputSourceWord(item, config)) {
        ledger_[kInputSourceRegister] = *word;
        editedAt_[kInputSourceRegister] = sequence_.fetch_add(1) + 1;
        ++edits_;
      }
      for (int n = addresses_.pick(6); n > 0; --n) {
        pause(2000);
        edit(addresses_.route(), randomValue() & 0x7F);
      }
    } else if (kind < 89) {  // a save to file: flush, full read, file
      if (outstanding() == 0) {
        session_->worker.setTransferFilePath((options_.folder / "soak.ryb").string());
        session_->worker.raiseRequest(kSlotSaveToFile);
        ++raised_;
      }
    } else if (kind < 92) {  // the modes page reads a name, now and then stores one
      session_->worker.requestModeName(1 + addresses_.pick(kModeCount));
      if (addresses_.pick(8) == 0 && outstanding() == 0) {
        session_->worker.requestStore(1 + addresses_.pick(kModeCount), "Soak");
        ++raised_;
      }
    } else if (kind < 94) {  // the mixer's timer asks for the matrix again
      session_->table.requestReread(kFirstRouteRegister, kLastRouteRegister);
    } else if (kind < 96) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5 + addresses_.pick(30)));
    }
    pause(2000);
  }

  // The cable pulled while the user goes on editing, then plugged back.
  void unplugAndGoOn() {
    ++unplugs_;
    amp_.unplug();
    const auto back = Clock::now() + std::chrono::milliseconds(50 + addresses_.pick(250));
    while (Clock::now() < back) {
      edit(addresses_.any(), randomValue());
      pause(3000);
    }
    amp_.replug();
  }

  int outstanding() const {
    return raised_ - static_cast<int>(session_->worker.requestsCompleted());
  }

  bool pendingEdits() const {
    for (int a = 0; a < kRegisterCount; ++a)
      if (session_->table.dirty(a)) return true;
    return false;
  }

  // Quiet: nothing dirty, no operation outstanding, the worker in its loop,
  // for half a second on end.
  bool settle() {
    const auto quiet = [&] { return !pendingEdits() && outstanding() == 0 && session_->worker.synchronising(); };
    const auto limit = Clock::now() + options_.settleLimit;
    auto quietSince = Clock::now();
    bool wasQuiet = false;
    while (Clock::now() < limit) {
      const bool now = quiet();
      if (now && !wasQuiet) quietSince = Clock::now();
      wasQuiet = now;
      if (now && Clock::now() - quietSince >= std::chrono::milliseconds(500)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }

  void finish(SoakResult& result) {
    result.edits = edits_;
    result.unplugs = unplugs_;
    result.reportedFailures = events_.reports.load();
    result.reconnects = std::max(0, events_.connections.load() - 1);
    for (int a = 0; a < kRegisterCount; ++a) {
      if (session_->table.dirty(a)) ++result.dirtyAtEnd;
      if (!ledger_[a]) continue;
      ++result.addresses;
      const int32_t held = amp_.reg(a);
      if (held == (*ledger_[a] & 0xFFFF)) continue;
      if (events_.givenUpAt[a].load() >= editedAt_[a]) continue;  // the user was told
      ++result.lostEdits;
      if (result.lost.size() < 10)
        result.lost.push_back("register " + std::to_string(a) + ": amplifier " + std::to_string(held) +
                              ", last set " + std::to_string(*ledger_[a]));
    }
  }

  template <typename Done>
  static bool waitFor(Done done, std::chrono::milliseconds limit) {
    const auto end = Clock::now() + limit;
    while (!done()) {
      if (Clock::now() >= end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }

  SoakOptions options_;
  std::mt19937 rng_;
  Addresses addresses_;
  Sequence sequence_{0};
  SoakEvents events_;
  sim::VirtualAmplifier amp_;
  LanguageIndex language_{Language::kEnglish};
  Folders folders_;
  std::unique_ptr<LinkSession> session_;
  std::array<std::optional<int32_t>, kRegisterCount> ledger_{};
  std::array<uint64_t, kRegisterCount> editedAt_{};
  int edits_ = 0;
  int raised_ = 0;
  int unplugs_ = 0;
};

}  // namespace

SoakResult runLedgerSoak(const SoakOptions& options) { return Soak(options).run(); }

}  // namespace zr78::test
