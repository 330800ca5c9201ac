#include "sim/virtual_amplifier.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

#include "sim/amplifier_commands.h"
#include "sim/amplifier_memory.h"
#include "sim/amplifier_state_file.h"
#include "sim/device_packets.h"
#include "sim/fault_injector.h"

namespace zr78::sim {

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kInputQueueLimit = 4096;  // reports; beyond it the device drops new ones

struct PendingReport {
  Report report;
  Clock::time_point readyAt;
};

}  // namespace

struct VirtualAmplifier::Impl {
  // The endpoint forwards to the simulator; it never outlives it.
  class Endpoint final : public HidDevice {
   public:
    explicit Endpoint(Impl& impl) : impl_(impl) {}
    bool open() override { return impl_.open(); }
    int readReport(uint8_t* report, int timeoutMs) override { return impl_.readReport(report, timeoutMs); }
    int writeReport(const uint8_t* report) override { return impl_.writeReport(report); }
    void close() override { impl_.closeEndpoint(); }

   private:
    Impl& impl_;
  };

  explicit Impl(const SimConfig& initial) : config(initial) {
    memory.applyHardware(config.register0, config.configWord);
  }

  bool open();
  int readReport(uint8_t* report, int timeoutMs);
  int writeReport(const uint8_t* report);
  void closeEndpoint();
  void dropEndpointLocked();
  bool waitForOutputSlot(std::unique_lock<std::mutex>& lock);
  void receiveLocked(Report report);
  void queueInputLocked(Report report, int delayMs);
  // Counts the host's calls inside the endpoint, so that the amplifier is
  // not destroyed under one.
  struct Call {
    explicit Call(Impl& impl) : impl_(impl) { ++impl_.calls; }
    ~Call() {
      if (--impl_.calls == 0) impl_.changed.notify_all();
    }
    Impl& impl_;
  };
  Clock::duration interval() const { return std::chrono::microseconds(std::max(0, config.reportIntervalUs)); }
  // The link model's slots lie on a free-running frame clock, as the host
  // polls an interrupt endpoint once per frame: a report waits for the next
  // slot even when the link was idle.
  Clock::time_point alignToSlot(Clock::time_point t) const {
    const auto step = interval();
    const auto since = t - frameEpoch;
    const auto slots = (since + step - Clock::duration(1)) / step;
    return frameEpoch + slots * step;
  }
  const Clock::time_point frameEpoch = Clock::now();

  // The simulator's one lock: it guards every member below. The condition
  // variable wakes reads waiting for input and writes waiting for their slot
  // when input arrives or the endpoint goes away.
  mutable std::mutex mutex;
  std::condition_variable changed;

  SimConfig config;
  AmplifierMemory memory;
  FaultInjector faults;
  PacketAssembler assembler;
  std::deque<PendingReport> input;
  std::array<int, 256> framesByCommand{};
  int registersRequested = 0;
  std::array<int, kRegisterCount> writesByAddress{};
  bool pluggedIn = true;
  bool isOpen = false;
  bool destroying = false;
  int calls = 0;  // host calls inside readReport and writeReport
  uint64_t session = 0;  // advances on every close and unplug: waits of an old session end
  Clock::time_point nextOutputSlot{};
  Clock::time_point lastInputReady{};

  Endpoint endpoint{*this};
};

bool VirtualAmplifier::Impl::open() {
  std::lock_guard lock(mutex);
  if (!pluggedIn) return false;
  dropEndpointLocked();  // a fresh handle starts with nothing queued
  isOpen = true;
  return true;
}

void VirtualAmplifier::Impl::closeEndpoint() {
  std::lock_guard lock(mutex);
  dropEndpointLocked();
}

void VirtualAmplifier::Impl::dropEndpointLocked() {
  isOpen = false;
  ++session;
  input.clear();
  assembler.reset();
  changed.notify_all();
}

int VirtualAmplifier::Impl::readReport(uint8_t* report, int timeoutMs) {
  std::unique_lock lock(mutex);
  const Call call(*this);
  const uint64_t mySession = session;
  const bool unlimited = timeoutMs < 0;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(0, timeoutMs));
  while (true) {
    if (!isOpen || session != mySession) return -1;
    const Clock::time_point now = Clock::now();
    if (!input.empty() && input.front().readyAt <= now) {
      std::copy(input.front().report.begin(), input.front().report.end(), report);
      input.pop_front();
      return static_cast<int>(kReportSize);
    }
    if (!unlimited && now >= deadline) return 0;
    // Wake at the deadline or when the next report is due, whichever is first.
    std::optional<Clock::time_point> wakeAt;
    if (!unlimited) wakeAt = deadline;
    if (!input.empty()) wakeAt = wakeAt ? std::min(*wakeAt, input.front().readyAt) : input.front().readyAt;
    if (wakeAt) {
      changed.wait_until(lock, *wakeAt);
    } else {
      changed.wait(lock);
    }
  }
}

// Paced link: holds the write until its slot, one slot per interval. False
// when the endpoint went away meanwhile.
bool VirtualAmplifier::Impl::waitForOutputSlot(std::unique_lock<std::mutex>& lock) {
  if (interval() == Clock::duration::zero()) return true;
  const Clock::time_point slot = alignToSlot(std::max(Clock::now(), nextOutputSlot));
  nextOutputSlot = slot + interval();
  const uint64_t mySession = session;
  while (session == mySession && Clock::now() < slot) changed.wait_until(lock, slot);
  return session == mySession && isOpen;
}

int VirtualAmplifier::Impl::writeReport(const uint8_t* report) {
  std::unique_lock lock(mutex);
  const Call call(*this);
  // A stalled device holds the write; the host closing its handle does not
  // end the wait, only the end of the stall, an unplug or the amplifier's end.
  changed.wait(lock, [&] { return !faults.faults().stall || !pluggedIn || destroying; });
  if (destroying || !isOpen || !waitForOutputSlot(lock)) return -1;
  Report copy;
  std::copy_n(report, kReportSize, copy.begin());
  receiveLocked(copy);
  return static_cast<int>(kReportSize);
}

void VirtualAmplifier::Impl::receiveLocked(Report report) {
  if (!faults.pass(report)) return;  // lost on the way to the device
  const auto frame = assembler.feed(report);
  if (!frame) return;
  ++framesByCommand[frame->command];
  if (frame->command == CMD_READ_REGISTERS) registersRequested += static_cast<int>(frame->data.size() / 2);
  if (frame->command == CMD_WRITE_REGISTERS)
    for (size_t at = 0; at + 4 <= frame->data.size(); at += 4) {
      const int address = frame->data[at] << 8 | frame->data[at + 1];
      if (address < kRegisterCount) ++writesByAddress[address];
    }
  const auto replies = answerFrame(memory, config, faults.faults(), *frame);
  if (faults.faults().silent) return;  // acts on the frame, answers nothing
  for (const DeviceFrame& reply : replies) {
    const FaultInjector::ReplyFate fate = faults.replyFate();
    const std::vector<Report> pieces = packReports(buildFrame(reply.command, reply.data));
    for (int copy = 0; copy < (fate.duplicate ? 2 : 1); ++copy)
      for (const Report& piece : pieces) queueInputLocked(piece, fate.delayMs);
  }
}

void VirtualAmplifier::Impl::queueInputLocked(Report report, int delayMs) {
  if (!faults.pass(report) || input.size() >= kInputQueueLimit) return;
  // Reports keep their order: a short delay never overtakes a long one.
  Clock::time_point readyAt = std::max(Clock::now() + std::chrono::milliseconds(std::max(0, delayMs)), lastInputReady);
  if (interval() > Clock::duration::zero()) readyAt = alignToSlot(std::max(readyAt, lastInputReady + interval()));
  lastInputReady = readyAt;
  input.push_back({report, readyAt});
  changed.notify_all();
}

VirtualAmplifier::VirtualAmplifier(SimConfig config) : impl_(std::make_unique<Impl>(config)) {}

VirtualAmplifier::~VirtualAmplifier() {
  std::unique_lock lock(impl_->mutex);
  impl_->destroying = true;
  impl_->dropEndpointLocked();
  impl_->changed.wait(lock, [&] { return impl_->calls == 0; });
}

HidDevice& VirtualAmplifier::hidDevice() { return impl_->endpoint; }

int32_t VirtualAmplifier::reg(int address) const {
  std::lock_guard lock(impl_->mutex);
  return impl_->memory.reg(address);
}

void VirtualAmplifier::setReg(int address, int32_t value) {
  std::lock_guard lock(impl_->mutex);
  impl_->memory.setReg(address, value);
}

std::array<int32_t, kRegisterCount> VirtualAmplifier::registers() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->memory.registers();
}

void VirtualAmplifier::randomiseMemory(uint32_t seed) {
  std::lock_guard lock(impl_->mutex);
  impl_->memory.randomise(seed);
  impl_->memory.applyHardware(impl_->config.register0, impl_->config.configWord);
}

std::string VirtualAmplifier::modeName(int mode) const {
  std::lock_guard lock(impl_->mutex);
  return AmplifierMemory::validMode(mode) ? impl_->memory.modeName(mode) : std::string();
}

void VirtualAmplifier::setModeName(int mode, const std::string& name) {
  std::lock_guard lock(impl_->mutex);
  impl_->memory.setModeName(mode, name);
}

std::array<int32_t, kRegisterCount> VirtualAmplifier::modeImage(int mode) const {
  std::lock_guard lock(impl_->mutex);
  return AmplifierMemory::validMode(mode) ? impl_->memory.modeImage(mode) : RegisterImage{};
}

void VirtualAmplifier::setConfig(const SimConfig& config) {
  std::lock_guard lock(impl_->mutex);
  impl_->config = config;
  impl_->memory.applyHardware(config.register0, config.configWord);
}

SimConfig VirtualAmplifier::config() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->config;
}

void VirtualAmplifier::setFaults(const FaultConfig& faults) {
  std::lock_guard lock(impl_->mutex);
  impl_->faults.configure(faults);
  impl_->changed.notify_all();  // a stalled write may go on
}

FaultConfig VirtualAmplifier::faults() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->faults.faults();
}

void VirtualAmplifier::unplug() {
  std::lock_guard lock(impl_->mutex);
  impl_->pluggedIn = false;
  impl_->dropEndpointLocked();
}

void VirtualAmplifier::replug() {
  std::lock_guard lock(impl_->mutex);
  impl_->pluggedIn = true;
}

bool VirtualAmplifier::plugged() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->pluggedIn;
}

int VirtualAmplifier::framesReceived(uint8_t command) const {
  std::lock_guard lock(impl_->mutex);
  return impl_->framesByCommand[command];
}

int VirtualAmplifier::writesReceived(int address) const {
  std::lock_guard lock(impl_->mutex);
  return address >= 0 && address < kRegisterCount ? impl_->writesByAddress[address] : 0;
}

int VirtualAmplifier::registersRequested() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->registersRequested;
}

void VirtualAmplifier::resetCounters() {
  std::lock_guard lock(impl_->mutex);
  impl_->framesByCommand.fill(0);
  impl_->registersRequested = 0;
  impl_->writesByAddress.fill(0);
}

bool VirtualAmplifier::saveState(const std::string& path) const {
  AmplifierMemory snapshot;
  {
    std::lock_guard lock(impl_->mutex);
    snapshot = impl_->memory;
  }
  return writeStateFile(path, snapshot);
}

bool VirtualAmplifier::loadState(const std::string& path) {
  auto loaded = readStateFile(path);
  if (!loaded) return false;
  std::lock_guard lock(impl_->mutex);
  impl_->memory = std::move(*loaded);
  impl_->memory.applyHardware(impl_->config.register0, impl_->config.configWord);
  return true;
}

}  // namespace zr78::sim
