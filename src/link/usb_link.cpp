#include "link/usb_link.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "link/register_entries.h"

namespace zr78 {

namespace {

constexpr int kProbeAddress = kIdentityRegister;
const char* const kBlockedSuffix = " Channel is Blocked!";

}  // namespace

std::string usbChannelLockName(uint16_t vendorId, uint16_t productId) {
  char name[32];
  std::snprintf(name, sizeof name, "HID_VID_%0x_PID_%0x", static_cast<unsigned>(vendorId),
                static_cast<unsigned>(productId));
  return name;
}

UsbLink::UsbLink(HidDevice& device, RegisterTable& table, LinkState& state, const Clock& clock,
                 const LinkTiming& timing)
    : table_(table),
      state_(state),
      receiver_(table, state, clock),
      cmd_(device, state),
      sender_(state, clock, cmd_),
      reader_(cmd_.io(), receiver_, state) {
  setTiming(timing);
}

UsbLink::~UsbLink() {
  closeDevice();  // a pending read returns at once
  reader_.stopAndJoin();
}

void UsbLink::setTiming(const LinkTiming& timing) {
  timing_ = timing;
  sender_.setSilenceLimit(timing.silenceLimit);
  cmd_.io().setReadTimeout(timing.reportReadTimeout);
}

void UsbLink::connectUsb(ConnectObserver& observer) {
  for (;;) {
    if (state_.running.load()) observer.connecting();
    sleepWhileRunning(timing_.connectSleep);
    state_.connected.store(false);
    if (!lockChannel(observer)) return;  // stopped
    bool startOver = false;
    // The probe's write sets `connected`, which ends this loop; a failed
    // write or a lost reader clears it again and the device is opened anew.
    while (!state_.connected.load() && state_.running.load()) {
      if (!cmd_.io().openDevice()) {
        sleepWhileRunning(timing_.openRetrySleep);
        continue;
      }
      reader_.start();  // unless alive
      if (!probeDevice()) {
        startOver = true;  // the lock is taken again
        break;
      }
      sleepWhileRunning(timing_.probeSettle);
    }
    if (!startOver) return;
  }
}

bool UsbLink::lockChannel(ConnectObserver& observer) {
  while (state_.running.load()) {
    if (channelLock_.tryAcquire(lockName_)) return true;
    observer.channelBlocked(lockName_ + kBlockedSuffix);
    sleepWhileRunning(timing_.lockRetrySleep);
  }
  return false;
}

bool UsbLink::probeDevice() {
  // A flag left from an earlier connection must not pass for this reply.
  table_.setFromDevice(kProbeAddress, false);
  const auto probe = readRequestData(kProbeAddress);
  const bool taken = request(CMD_READ_REGISTERS, probe.data(), probe.size(), timing_.probeWait);
  // The wait must have run its course (semaphore or timeout), not ended
  // because the reader died.
  const bool waited = taken || reader_.alive();
  return waited && table_.fromDevice(kProbeAddress);
}

bool UsbLink::awaitReply(int waitMs, const std::function<void()>& send) {
  return awaitReply(waitMs, send, [](int replies) { return replies > 0; });
}

bool UsbLink::awaitReply(int waitMs, const std::function<void()>& send,
                         const std::function<bool(int replies)>& done) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs);
  state_.awaitingReply.store(1);
  send();
  int replies = 0;
  while (!done(replies)) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0 || !waitReply(static_cast<int>(left))) break;
    ++replies;
  }
  state_.awaitingReply.store(0);
  return done(replies);
}

bool UsbLink::request(uint8_t command, const uint8_t* data, size_t count, int waitMs) {
  return awaitReply(waitMs, [&] { sender_.sendFrame(command, data, count); });
}

bool UsbLink::request(uint8_t command, const uint8_t* data, size_t count, int waitMs,
                      const std::function<bool()>& done) {
  return awaitReply(waitMs, [&] { sender_.sendFrame(command, data, count); }, [&](int) { return done(); });
}

bool UsbLink::waitReply(int waitMs) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs);
  while (reader_.alive()) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    const auto slice = std::min<long long>(left, timing_.replyWaitSlice);
    if (state_.replySemaphore.waitFor(static_cast<int>(slice))) return true;
  }
  return false;
}

void UsbLink::sleepWhileRunning(int ms) const {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
  while (state_.running.load()) {
    const auto now = Clock::now();
    if (now >= deadline) return;
    const auto slice = std::chrono::milliseconds(timing_.stopPollSlice);
    std::this_thread::sleep_for(std::min<Clock::duration>(deadline - now, slice));
  }
}

}  // namespace zr78
