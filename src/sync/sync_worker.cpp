#include "sync/sync_worker.h"

#include <chrono>

#include "link/frame_format.h"
#include "link/register_entries.h"
#include "link/usb_link.h"
#include "platform/clock.h"
#include "sync/link_events.h"
#include "text/fixed_texts.h"

namespace zr78 {

namespace {

constexpr int32_t kSkipIdentityValue = 4095;
constexpr int32_t kExpectedDeviceId = 4037;
constexpr int kHandshakeAttempts = 10;  // the twelfth pass gives up
constexpr int kKeepAliveIdle = 15;
constexpr const char* kLinkSuffix = "-USB";
constexpr const char* kModel = "ZR-78";

}  // namespace

SyncWorker::SyncWorker(RegisterTable& table, LinkState& state, UsbLink& link, LinkEvents& events,
                       const Clock& clock, const LinkTiming& timing, const Folders& folders,
                       const LanguageIndex& language)
    : table_(table),
      state_(state),
      link_(link),
      events_(events),
      clock_(clock),
      timing_(timing),
      folders_(folders),
      language_(language) {
  transferFilePath_.store(std::make_shared<const std::string>());
}

SyncWorker::~SyncWorker() { stopLink(); }

bool SyncWorker::startLink() {
  table_.initRegisters();
  for (auto& ack : state_.wifiAcks) ack.store(0);
  table_.setEditSignal(&wake_);
  state_.running.store(true);
  try {
    threadAlive_.store(true);
    thread_ = std::thread([this] {
      run();
      threadAlive_.store(false);
    });
  } catch (const std::system_error&) {
    threadAlive_.store(false);
    showMessage(std::string(kWorkerThreadFailed));
    return false;
  }
  return true;
}

void SyncWorker::stopLink() {
  state_.connected.store(false);
  state_.running.store(false);
  link_.closeDevice();
  if (thread_.joinable()) {
    state_.replySemaphore.release();
    wake_.release();
    stopWake_.release();
    // Every wait of the worker ends once running is clear and every
    // LinkEvents call returns once the link is stopping, so the join is
    // bounded by the longest single step (one report wait), far below
    // stopJoinLimit.
    thread_.join();
  }
  table_.setEditSignal(nullptr);
}

void SyncWorker::raiseRequest(int slot) {
  if (slot < 0 || slot >= kRequestSlotCount) return;
  requests_[slot].store(1);
  wake_.release();
}

bool SyncWorker::lastRequestSucceeded(int slot) const {
  return slot >= 0 && slot < kRequestSlotCount && requestSucceeded_[slot].load();
}

bool SyncWorker::requestRaised(int slot) const {
  return slot >= 0 && slot < kRequestSlotCount && requests_[slot].load() != 0;
}

void SyncWorker::setTransferFilePath(const std::string& path) {
  transferFilePath_.store(std::make_shared<const std::string>(path));
}

std::string SyncWorker::transferFilePath() const { return *transferFilePath_.load(); }

// ---------------------------------------------------------------------------
// Mode operations: the mode command word (register 1243), the mode name
// buffer and the request slots.

namespace {

bool isMode(int mode) { return mode >= 1 && mode <= kModeCount; }

// How long a store waits before it asks for the stored mode's name: longer
// than the worker's pause before it runs a request, so the name it sends is
// already taken from the buffer when the reply overwrites it.
constexpr std::chrono::milliseconds kStoreNameReadDelay{200};

}  // namespace

// The write pass turns a dirty command word with high byte 5 into a name
// request instead of a register write.
void SyncWorker::requestModeName(int mode) {
  if (!isMode(mode)) return;
  table_.setRegisterQuiet(kModeCommandRegister, modeCommandWord(ModeOperation::ReadName, mode));
  table_.setDirty(kModeCommandRegister, true);
}

void SyncWorker::requestRecall(int mode) {
  if (!isMode(mode)) return;
  table_.setRegisterQuiet(kModeCommandRegister, modeCommandWord(ModeOperation::Recall, mode));
  table_.setDirty(kModeCommandRegister, true);
  raiseRequest(kSlotRecallMode);
}

void SyncWorker::requestStore(int mode, const std::string& name) {
  if (!isMode(mode)) return;
  table_.setRegisterQuiet(kModeCommandRegister, modeCommandWord(ModeOperation::Store, mode));
  state_.modeNameBuffer.assign(name);
  raiseRequest(kSlotWriteModeName);
  std::this_thread::sleep_for(kStoreNameReadDelay);
  // A worker still busy elsewhere has not taken the name yet: a name request
  // now would be sent first and its reply would replace the name to store.
  // The store reads all names back afterwards anyway.
  if (requestRaised(kSlotWriteModeName)) return;
  requestModeName(mode);
}

// ---------------------------------------------------------------------------
// Waits

void SyncWorker::sleepMs(int ms) {
  if (ms <= 0 || !state_.running.load()) return;
  stopWake_.waitFor(ms);
}

bool SyncWorker::idleWait(int ms) {
  if (ms <= 0 || !state_.running.load()) return false;
  return wake_.waitFor(ms);
}

bool SyncWorker::waitUntil(int ms, const std::function<bool()>& done) {
  const uint32_t start = clock_.tickMs();
  while (!done()) {
    const auto waited = static_cast<int32_t>(clock_.tickMs() - start);  // wraps like the tick
    if (!state_.running.load() || waited >= ms) return done();
    stopWake_.waitFor(timing_.conditionPollSlice);
  }
  return true;
}

// ---------------------------------------------------------------------------
// The thread

void SyncWorker::run() {
  if (state_.running.load()) events_.sendLinkStatus(LinkStatus::ThreadStart);
  sleepMs(timing_.threadStartSleep);
  events_.setTitle(std::string(kModel) + kLinkSuffix);
  events_.sendLinkStatus(LinkStatus::ThreadStart);

  while (state_.running.load()) {
    link_.setTiming(timing_);
    state_.lastReceiveTick.store(clock_.tickMs());

    link_.connectUsb(events_);
    if (!state_.running.load()) return;
    state_.connected.store(true);

    const bool shook = handshake();
    if (!state_.running.load()) return;
    if (!shook) continue;

    const auto announce = writeEntryData(kHandshakeRegister, kHandshakeDoneWord);
    link_.sendFrame(CMD_WRITE_REGISTERS, announce.data(), announce.size());
    sleepMs(timing_.after1244Sleep);

    for (int a = 0; a < kRegisterCount; ++a) {
      table_.setFromDevice(a, false);
      table_.setDirty(a, false);
    }
    if (state_.running.load()) events_.sendLinkStatus(LinkStatus::Connected);
    state_.connected.store(true);

    readAndShowAll();
    refreshModeNames(table_.getRegister(kActiveModeRegister) & 0xFF);
    // The pause after the names ends once the last request, the read of the
    // active mode, has been answered.
    waitUntil(timing_.afterModeNamesSleep, [&] { return table_.fromDevice(kActiveModeRegister); });

    synchronising_.store(true);
    synchronisationLoop();
    synchronising_.store(false);

    state_.connected.store(false);
    if (state_.running.load()) events_.sendLinkStatus(LinkStatus::Connecting);
  }
}

bool SyncWorker::handshake() {
  int attempts = 0;
  while (state_.running.load()) {
    if (table_.getRegister(kIdentityRegister) == kSkipIdentityValue) return true;
    identify();
    const auto readIdentity = readRequestData(kIdentityRegister);
    link_.sendFrame(CMD_READ_REGISTERS, readIdentity.data(), readIdentity.size());
    sleepMs(timing_.handshakeReadSleep);
    if (attempts > kHandshakeAttempts) {
      sleepMs(timing_.handshakeFailSleep);
      return false;
    }
    ++attempts;
    if (state_.deviceId.load() == kExpectedDeviceId) return true;
    if (!link_.readerAlive() || state_.missCount.load() >= timing_.missLimit - 2) return false;
    // A failed write has cleared connected: go on as if the handshake had
    // succeeded; the full read then fails and the worker reconnects.
    if (!state_.connected.load()) return true;
  }
  return false;
}

bool SyncWorker::identify() {
  return link_.request(CMD_IDENTIFY, {0x00}, timing_.identifyWait);
}

void SyncWorker::synchronisationLoop() {
  int writePosition = 0;
  int idle = 0;
  bool skipLoopSleep = false;
  while (state_.running.load() && state_.missCount.load() < timing_.missLimit &&
         state_.connected.load()) {
    loopIteration(writePosition, idle, skipLoopSleep);
  }
}

void SyncWorker::loopIteration(int& writePosition, int& idle, bool& skipLoopSleep) {
  // 1. Pace, and idle while paused. A wake-up from the idle wait of the last
  // iteration skips the pause so that an edit is sent at once.
  if (!skipLoopSleep) idleWait(timing_.loopSleep);
  skipLoopSleep = false;
  while (state_.paused.load() && state_.running.load()) sleepMs(timing_.loopSleep);
  // Resuming clears `connected` to force a fresh connection: end here, before
  // a send's successful write could set it again.
  if (!state_.connected.load()) return;

  // 2. Module acknowledgements.
  showModuleAcknowledgements();

  // 3. Write pass: the first dirty record from the write position on. The
  // scan that restarts at 1 runs in the same pass rather than one idle
  // iteration later, so an edit below the position is sent at once.
  if (writePosition >= kRegisterCount) writePosition = 1;
  int first = -1;
  for (int a = writePosition; a < kRegisterCount && first < 0; ++a)
    if (table_.dirty(a)) first = a;
  for (int a = 1; a < writePosition && first < 0; ++a)
    if (table_.dirty(a)) first = a;
  if (first < 0) {
    writePosition = kRegisterCount;
  } else {
    writePosition = first;
    const bool answered =
        link_.awaitReply(timing_.writeReplyWait, [&] { sendDirtyBatch(first, kWriteBatchLimit); });
    if (!answered && !link_.readerAlive()) {
      if (state_.running.load()) progressEnd();
      state_.connected.store(false);
    }
    idle = 0;
  }

  // 4. Re-read pass.
  for (int a = 0; a < kRegisterCount; ++a) {
    if (!table_.rereadRequested(a)) continue;
    sendReadRequest(a, kReadBatchLimit);
    table_.clearRereadRequest(a);
    sleepMs(timing_.rereadSleep);
  }

  // 5. Refresh pass (register 0 is the identity probe, not a view).
  for (int a = 1; a < kRegisterCount; ++a)
    if (table_.takeFromDevice(a)) events_.postNotify(kNotifyRegister, a);

  // 6. Requests.
  for (int slot = 0; slot < kRequestSlotCount; ++slot) {
    if (!requests_[slot].load()) continue;
    sleepMs(timing_.requestSleep);
    requests_[slot].store(0);
    requestSucceeded_[slot].store(runRequest(slot));
    requestsCompleted_.fetch_add(1);
    if (slot == kSlotWriteFile || slot == kSlotRecallMode) events_.postNotify(kNotifyReadDone, 0);
    if (state_.running.load()) progressEnd();
    idle = 0;
  }

  // 7. Idle pacing and keep-alive.
  const int k = idle++;
  if (k < kKeepAliveIdle) {
    skipLoopSleep = idleWait(k + 1 < 10 ? timing_.idleShortSleep : timing_.idleLongSleep);
  } else {
    const auto poll = readRequestData(kInputSourceRegister, kDeviceConfigurationRegister);
    link_.sendFrame(CMD_READ_REGISTERS, poll.data(), poll.size());
    idle = 10;
    skipLoopSleep = idleWait(timing_.keepAliveSleep1) || idleWait(timing_.keepAliveSleep2);
  }
}

void SyncWorker::showModuleAcknowledgements() {
  auto& acks = state_.wifiAcks;
  auto takePair = [&](int a, int b) {
    if (acks[a].load() && acks[b].load()) {
      acks[a].store(0);
      acks[b].store(0);
      return true;
    }
    return false;
  };
  auto take = [&](int a) { return acks[a].exchange(0) != 0; };
  const std::string caption(kWifiCaption);
  if (takePair(kAckRoutePW, kAckRouteSSID)) showMessage(std::string(kWifiRouteSetOk), caption);
  if (takePair(kAckHotPW, kAckHotSSID)) showMessage(std::string(kWifiHotspotSetOk), caption);
  if (take(kAckWiFiMode)) showMessage(std::string(kWifiModeOk), caption);
  if (take(kAckRestore)) showMessage(std::string(kWifiRestoreOk), caption);
  if (take(kAckRestart)) showMessage(std::string(kWifiRestartOk), caption);
}

// ---------------------------------------------------------------------------
// Messages and progress

void SyncWorker::showMessage(const std::string& text, const std::string& caption) {
  events_.messageBox(text, caption, MessageButtons::Ok);
}

void SyncWorker::progressStart(int range, const std::string& format) {
  events_.progressSetRange(range);
  events_.progressSetFormat(format);
  events_.progressSetValue(0);
  events_.progressShow();
}

void SyncWorker::progressEnd() {
  events_.progressHide();
  events_.postNotify(kNotifyOperationEnd, 0);
}

}  // namespace zr78
