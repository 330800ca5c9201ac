#include "sync/sync_worker.h"

#include <chrono>

#include "link/frame_format.h"
#include "link/register_entries.h"
#include "link/usb_link.h"
#include "platform/clock.h"
#include "sync/link_events.h"
#include "text/fixed_texts.h"
#include "text/shared_texts.h"

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
      language_(language),
      echoTimer_(timing.echoWaitFloor, timing.writeReplyWait) {
  transferFilePath_.store(std::make_shared<const std::string>());
}

SyncWorker::~SyncWorker() {
  // The thread uses this object: it must have ended before the object goes.
  if (!stopLink() && thread_.joinable()) thread_.join();
}

bool SyncWorker::startLink() {
  table_.initRegisters();
  for (auto& ack : state_.wifiAcks) ack.store(0);
  table_.setEditSignal(&wake_);
  state_.running.store(true);
  try {
    threadAlive_.store(true);
    setThreadEnded(false);
    thread_ = std::thread([this] {
      run();
      threadAlive_.store(false);
      setThreadEnded(true);
    });
  } catch (const std::system_error&) {
    threadAlive_.store(false);
    setThreadEnded(true);
    showMessage(std::string(kWorkerThreadFailed));
    return false;
  }
  return true;
}

void SyncWorker::setThreadEnded(bool ended) {
  {
    std::lock_guard<std::mutex> lock(endMutex_);
    threadEnded_ = ended;
  }
  if (ended) ended_.notify_all();
}

bool SyncWorker::stopLink() {
  std::lock_guard<std::mutex> stopping(stopMutex_);
  state_.connected.store(false);
  state_.running.store(false);
  link_.closeDevice();
  if (thread_.joinable()) {
    state_.replySemaphore.release();
    wake_.release();
    stopWake_.release();
    // Every wait of the worker ends once running is clear and every
    // LinkEvents call returns once the link is stopping; only a device call
    // that ignores the close can hold the thread, and the wait for it is
    // bounded.
    if (!stopDeadline_)
      stopDeadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(timing_.stopJoinLimit);
    std::unique_lock<std::mutex> lock(endMutex_);
    if (!ended_.wait_until(lock, *stopDeadline_, [&] { return threadEnded_; })) return false;
    lock.unlock();
    thread_.join();
  }
  table_.setEditSignal(nullptr);
  return true;
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

void SyncWorker::requestModeName(int mode) {
  if (mode < 1 || mode > kModeCount) return;
  namesWanted_.fetch_or(1u << mode);
  wake_.release();
}

void SyncWorker::requestRecall(int mode) {
  if (mode < 1 || mode > kModeCount) return;
  recallSlot_.store(mode);
  raiseRequest(kSlotRecallMode);
}

void SyncWorker::requestStore(int mode, const std::string& name) {
  if (mode < 1 || mode > kModeCount) return;
  storeRequest_.store(std::make_shared<const StoreRequest>(StoreRequest{mode, name}));
  raiseRequest(kSlotWriteModeName);
}

void SyncWorker::pause() { state_.paused.store(true); }

void SyncWorker::resume() {
  // The reconnect is a flag of its own: `connected` alone could be set again
  // by a send that was under way when the pause ended.
  reconnect_.store(true);
  state_.connected.store(false);
  state_.paused.store(false);
  wake_.release();
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
    reconnect_.store(false);  // this attempt is the fresh connection asked for
    echoTimer_.reset();

    link_.connectUsb(events_);
    if (!state_.running.load()) return;
    state_.connected.store(true);

    const bool shook = handshake();
    if (!state_.running.load()) return;
    if (!shook) continue;

    const auto announce = writeEntryData(kHandshakeRegister, kHandshakeDoneWord);
    link_.sendFrame(CMD_WRITE_REGISTERS, announce.data(), announce.size());
    sleepMs(timing_.after1244Sleep);

    // Pending edits stay: one made while the link was down is still what
    // the user set, and the full read keeps it (a read reply never replaces
    // a dirty record), so the loop sends it.
    for (int a = 0; a < kRegisterCount; ++a) table_.setFromDevice(a, false);
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
         state_.connected.load() && !reconnect_.load()) {
    loopIteration(writePosition, idle, skipLoopSleep);
  }
}

void SyncWorker::loopIteration(int& writePosition, int& idle, bool& skipLoopSleep) {
  // 1. Pace, and idle while paused. A wake-up from the idle wait of the last
  // iteration skips the pause so that an edit is sent at once.
  if (!skipLoopSleep) idleWait(timing_.loopSleep);
  skipLoopSleep = false;
  while (state_.paused.load() && state_.running.load()) sleepMs(timing_.loopSleep);
  // Resuming asks for a fresh connection: end here.
  if (!state_.connected.load() || reconnect_.load()) return;

  // 2. Module acknowledgements.
  showModuleAcknowledgements();

  // 3. Write pass.
  const bool wrote = writePass(writePosition);
  if (wrote) idle = 0;

  // 4. Re-read pass; an edit made meanwhile goes first.
  const bool editWaiting = rereadPass();

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
  if (namesWanted_.load() != 0) {
    readRequestedNames();
    idle = 0;
  }
  if (giveUpToShow_) {
    giveUpToShow_ = false;
    showMessage(text(kTextWriteDataFailed));
  }

  // 7. Idle pacing and keep-alive; none while edits wait (one whose write
  // or echo was lost is sent again at once).
  if (editWaiting || (wrote && pendingEdits())) {
    skipLoopSleep = true;
    return;
  }
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
