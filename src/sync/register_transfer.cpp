// Register traffic of the sync worker: write batches, read requests, the full
// read and the display refresh that follows it.
#include <algorithm>
#include <vector>

#include "link/frame_format.h"
#include "link/register_entries.h"
#include "sync/sync_worker.h"
#include "link/usb_link.h"
#include "sync/link_events.h"
#include "text/language.h"
#include "text/shared_texts.h"
#include "text/text_format.h"
#include "text/window_texts.h"

namespace zr78 {

namespace {

constexpr uint8_t kTriesLimit = 10;  // read tries wrap to 0 after this
constexpr int kActiveModeAttempts = 5;
constexpr int kDumpAttempts = 4;
constexpr int kDumpArrivedEnough = 10;
constexpr int kStreamComplete = 1668;
constexpr int kStreamMostly = 1249;
constexpr int kGapPasses = 8;
constexpr int kGapRequestLimit = 32;
constexpr int kShowProgressStep = 33;

}  // namespace

SyncWorker::WriteBatch SyncWorker::collectBatch(int start, int limit) {
  int a = start == kContinue ? writeCursor_ : start;
  if (a < 0 || a >= kRegisterCount) a = 0;
  WriteBatch batch;
  for (int scanned = 0; scanned < kRegisterCount && static_cast<int>(batch.addresses.size()) < limit;
       ++scanned, a = (a + 1) % kRegisterCount) {
    if (!table_.dirty(a)) continue;
    if (a == kModeCommandRegister) {
      // A panel that writes the command word to ask for a mode's name: the
      // name request travels as its own command, once, instead of a write.
      const RegisterState word = table_.state(a);
      if (word.dirty && isModeOperation(word.value, ModeOperation::ReadName)) {
        if (table_.clearGeneration(a, word.generation)) requestModeName(modeOfCommandWord(word.value));
        continue;
      }
    }
    const SendStep step = table_.beginSend(a);
    if (step.kind == SendStep::Kind::GiveUp) {
      batch.givenUp.push_back(a);
    } else if (step.kind == SendStep::Kind::Send) {
      batch.addresses.push_back(a);
      batch.values.push_back(step.value);
      batch.generations.push_back(step.generation);
      const int sends = table_.tries(a);
      if (sends != 1) batch.firstSends = false;  // a resend: no round trip to time
      batch.mostSends = std::max(batch.mostSends, sends);
    }
  }
  if (!batch.addresses.empty()) writeCursor_ = (batch.addresses.back() + 1) % kRegisterCount;
  return batch;
}

bool SyncWorker::batchPending(const WriteBatch& batch) const {
  for (size_t i = 0; i < batch.addresses.size(); ++i) {
    const RegisterState now = table_.state(batch.addresses[i]);
    if (now.dirty && now.generation == batch.generations[i]) return true;
  }
  return false;
}

bool SyncWorker::batchAcknowledged(const WriteBatch& batch) const {
  for (size_t i = 0; i < batch.addresses.size(); ++i) {
    const RegisterState now = table_.state(batch.addresses[i]);
    if (now.dirty || now.generation != batch.generations[i]) return false;
  }
  return true;
}

bool SyncWorker::sendBatch(const WriteBatch& batch, int waitMs) {
  if (batch.addresses.empty()) return true;
  std::vector<uint8_t> data;
  data.reserve(batch.addresses.size() * 4);
  for (size_t i = 0; i < batch.addresses.size(); ++i) {
    appendAddress(data, batch.addresses[i]);
    data.push_back(static_cast<uint8_t>((batch.values[i] >> 8) & 0xFF));
    data.push_back(static_cast<uint8_t>(batch.values[i] & 0xFF));
  }
  const uint32_t sentAt = clock_.tickMs();
  // The wait ends once every value is acknowledged, or once the values not
  // acknowledged have all been replaced by newer edits and a reply has come
  // back (so the sends keep the pace of the echoes during a drag). Other
  // replies do not end it: a late reply to an earlier request must not make
  // the worker send the batch again at once.
  bool replied = false;
  const bool settled = link_.awaitReply(
      waitMs, [&] { link_.sendFrame(CMD_WRITE_REGISTERS, data.data(), data.size()); },
      [&](int replies) {
        replied = replies > 0;
        return !batchPending(batch) && (replied || batchAcknowledged(batch));
      });
  if (settled && batch.firstSends && batchAcknowledged(batch))
    echoTimer_.sample(static_cast<double>(clock_.tickMs() - sentAt));
  return settled || replied;
}

bool SyncWorker::writePass(int& writePosition) {
  // The first dirty record from the write position on. The scan that
  // restarts at 1 runs in the same pass rather than one idle iteration
  // later, so an edit below the position is sent at once.
  if (writePosition >= kRegisterCount) writePosition = 1;
  int first = -1;
  for (int a = writePosition; a < kRegisterCount && first < 0; ++a)
    if (table_.dirty(a)) first = a;
  for (int a = 1; a < writePosition && first < 0; ++a)
    if (table_.dirty(a)) first = a;
  if (first < 0) {
    writePosition = kRegisterCount;
    return false;
  }
  writePosition = first;
  const WriteBatch batch = collectBatch(first, kWriteBatchLimit);
  if (!batch.addresses.empty()) {
    const bool answered = sendBatch(batch, echoTimer_.waitMs(batch.mostSends));
    if (!answered && !link_.readerAlive()) {
      if (state_.running.load()) progressEnd();
      state_.connected.store(false);
    }
  }
  reportGivenUp(batch.givenUp);
  return true;
}

void SyncWorker::reportGivenUp(const std::vector<int>& addresses) {
  if (addresses.empty()) return;
  for (int a : addresses) {
    events_.postNotify(kNotifyEditGivenUp, a);
    // Show what the amplifier holds rather than the edit it never took.
    table_.requestReread(a, a);
  }
  editsGivenUp_.fetch_add(static_cast<uint32_t>(addresses.size()));
  giveUpToShow_ = true;
}

bool SyncWorker::pendingEdits() const {
  for (int a = 1; a < kRegisterCount; ++a)
    if (table_.dirty(a)) return true;
  return false;
}

bool SyncWorker::flushEdits() {
  const uint32_t start = clock_.tickMs();
  int position = 0;
  while (pendingEdits()) {
    const auto waited = static_cast<int32_t>(clock_.tickMs() - start);
    if (!state_.running.load() || !state_.connected.load() || waited >= timing_.flushLimit) return false;
    writePass(position);
  }
  return true;
}

bool SyncWorker::rereadPass() {
  // Each request covers only flagged records, in address order, and clears
  // the flag of every record it covers; nothing wraps past the last register.
  for (int a = 0; a < kRegisterCount;) {
    if (!table_.rereadRequested(a)) {
      ++a;
      continue;
    }
    std::vector<uint8_t> data;
    for (int n = 0; a < kRegisterCount && n < kReadBatchLimit; ++a) {
      if (!table_.rereadRequested(a)) continue;
      table_.clearRereadRequest(a);
      appendAddress(data, a);
      ++n;
    }
    link_.sendFrame(CMD_READ_REGISTERS, data.data(), data.size());
    // The flags left stay for the next pass.
    if (idleWait(timing_.rereadSleep) && pendingEdits()) return true;
  }
  return false;
}

void SyncWorker::sendReadRequest(int start, int limit) {
  if (start != kContinue) readCursor_ = start;
  if (readCursor_ < 0 || readCursor_ >= kRegisterCount) readCursor_ = 0;
  if (limit > kReadBatchLimit) limit = kReadBatchLimit;
  std::vector<int> addresses;
  int a = readCursor_;
  for (int scanned = 0; scanned < kRegisterCount && static_cast<int>(addresses.size()) < limit;
       ++scanned, a = (a + 1) % kRegisterCount) {
    if (!table_.fromDevice(a)) addresses.push_back(a);
  }
  if (addresses.empty()) return;  // everything has arrived: nothing to ask for
  // Read requests count apart from the sends of an edit, which they must not
  // use up.
  for (size_t i = 0; i + 1 < addresses.size(); ++i) {
    const uint8_t tries = table_.readTries(addresses[i]);
    table_.setReadTries(addresses[i], tries >= kTriesLimit ? 0 : tries + 1);
  }
  readCursor_ = addresses.back();
  std::vector<uint8_t> data;
  data.reserve(addresses.size() * 2);
  for (int address : addresses) appendAddress(data, address);
  link_.sendFrame(CMD_READ_REGISTERS, data.data(), data.size());
}

int SyncWorker::countArrived() const {
  int n = 0;
  for (int a = 0; a < kRegisterCount; ++a) n += table_.fromDevice(a) ? 1 : 0;
  return n;
}

int SyncWorker::countClean() const {
  int n = 0;
  for (int a = 0; a < kRegisterCount - 1; ++a) n += table_.dirty(a) ? 0 : 1;
  return n;
}

bool SyncWorker::readActiveMode() {
  state_.modeLocked.store(0);
  table_.setFromDevice(kActiveModeRegister, false);
  const auto request = readRequestData(kActiveModeRegister);
  for (int attempt = 0; attempt < kActiveModeAttempts && state_.running.load(); ++attempt) {
    if (link_.request(CMD_READ_REGISTERS, request.data(), request.size(), timing_.identifyWait,
                      [&] { return table_.fromDevice(kActiveModeRegister); }))
      return true;
  }
  return false;
}

bool SyncWorker::readAll() {
  for (int a = 0; a < kRegisterCount; ++a) {
    table_.setTries(a, 0);
    table_.setReadTries(a, 0);
    table_.setFromDevice(a, false);
  }
  identify();
  // The lock flag must describe the mode active now: at the first connection
  // no reply has set it yet, after a recall it describes the previous mode.
  if (!readActiveMode()) {
    progressEnd();
    showMessage(text(kTextReadDataFailed));
    return false;
  }
  if (state_.modeLocked.load()) {
    showMessage(text(kTextUnableToReadEncryptedMode));
    return true;
  }
  if (state_.running.load()) progressStart(kRegisterCount, text(kTextReadDeviceData));

  // Bulk dump: the device streams its registers after command 240. The wait
  // ends as soon as the stream has started.
  const uint8_t dump[3] = {0x00, 0x00, 0x00};
  for (int attempt = 0; attempt < kDumpAttempts; ++attempt) {
    link_.sendFrame(CMD_DUMP_ALL, dump, sizeof dump);
    waitUntil(timing_.dumpSleep, [&] { return countArrived() > kDumpArrivedEnough; });
    if (countArrived() > kDumpArrivedEnough) break;
    if (!link_.readerAlive()) {
      progressEnd();  // the window must not stay up over a lost link
      return false;
    }
  }

  // Stream wait.
  int shown = 0;
  for (int poll = 0; poll < timing_.streamPolls && state_.running.load(); ++poll) {
    const int arrived = countArrived();
    if (arrived > shown) {
      shown = arrived;
      events_.progressSetValue(arrived);
    }
    if (arrived >= kStreamComplete) break;
    sleepMs(timing_.streamPollSleep);
    if (arrived >= kStreamMostly) {
      waitUntil(timing_.streamTailSleep, [&] { return countArrived() >= kStreamComplete; });
      break;
    }
  }

  // Fill the gaps with read requests; a pass that finds nothing missing is
  // the last.
  readCursor_ = 0;
  for (int pass = 0; pass < kGapPasses; ++pass) {
    bool missing = false;
    for (int a = 0; a < kRegisterCount && state_.connected.load(); ++a) {
      if (table_.fromDevice(a)) continue;
      missing = true;
      link_.awaitReply(timing_.readReplyWait, [&] {
        sendReadRequest(kContinue, kGapRequestLimit);
        events_.progressSetValue(countArrived());
      });
    }
    events_.progressSetValue(countArrived());
    if (!state_.connected.load()) {
      progressEnd();
      showMessage(text(kTextReadDataFailed));
      return false;
    }
    if (!missing) break;
    sleepMs(timing_.gapPassSleep);
  }

  events_.progressSetValue(countArrived());
  sleepMs(timing_.readDoneSleep);
  progressEnd();
  return true;
}

bool SyncWorker::readAndShowAll() {
  if (!readAll()) return false;
  if (state_.running.load()) {
    progressEnd();
    events_.progressSetValue(0);
    progressStart(kRegisterCount, text(kTextUpdateDisplayData));
  }
  sleepMs(timing_.showAllStartSleep);
  for (int a = 0; a < kRegisterCount; ++a) {
    if (table_.takeFromDevice(a)) events_.postNotify(kNotifyRegister, a);
    if (a % kShowProgressStep == 1) events_.progressSetValue(a);
  }
  events_.postNotify(kNotifyReadDone, 0);
  events_.postNotify(kNotifyShowDone, 0);
  sleepMs(timing_.showAllTailSleep);
  if (state_.running.load()) progressEnd();
  return true;
}

std::string SyncWorker::text(TextId entry) const {
  return std::string(sharedText(entry, language_.get()));
}

std::string SyncWorker::workerText(WorkerText entry) const {
  return std::string(windowText(entry, language_.get()));
}

}  // namespace zr78
