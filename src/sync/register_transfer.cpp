// Register traffic of the sync worker: write batches, read requests, the full
// read and the display refresh that follows it.
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

constexpr uint8_t kTriesLimit = 10;  // a record is given up after its eleventh send
constexpr int kDumpAttempts = 4;
constexpr int kDumpArrivedEnough = 10;
constexpr int kStreamComplete = 1668;
constexpr int kStreamMostly = 1249;
constexpr int kGapPasses = 8;
constexpr int kGapRequestLimit = 32;
constexpr int kShowProgressStep = 33;

}  // namespace

void SyncWorker::sendDirtyBatch(int start, int limit) {
  int a = start == kContinue ? writeCursor_ : start;
  if (a < 0 || a >= kRegisterCount) a = 0;
  std::vector<int> batch;
  for (int scanned = 0; scanned < kRegisterCount && static_cast<int>(batch.size()) < limit;
       ++scanned, a = (a + 1) % kRegisterCount) {
    if (!table_.dirty(a)) continue;
    const int32_t value = table_.getRegister(a);
    if (a == kModeCommandRegister && isModeOperation(value, ModeOperation::ReadName)) {
      // A mode-name read travels as its own command; the register stays dirty
      // until the name reply clears it.
      const uint8_t mode = static_cast<uint8_t>(modeOfCommandWord(value));
      link_.sendFrame(CMD_READ_MODE_NAME, &mode, 1);
      writeCursor_ = kModeCommandRegister;
      return;
    }
    batch.push_back(a);
  }
  if (batch.empty()) return;

  std::vector<uint8_t> data;
  data.reserve(batch.size() * 4);
  for (int address : batch) {
    const int32_t value = table_.getRegister(address);
    appendAddress(data, address);
    data.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
    data.push_back(static_cast<uint8_t>(value & 0xFF));
    const uint8_t tries = table_.tries(address);
    if (tries >= kTriesLimit) {
      table_.setTries(address, 0);
      table_.setDirty(address, false);
    } else {
      table_.setTries(address, tries + 1);
    }
  }
  writeCursor_ = (batch.back() + 1) % kRegisterCount;
  link_.sendFrame(CMD_WRITE_REGISTERS, data.data(), data.size());
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
  for (size_t i = 0; i + 1 < addresses.size(); ++i) {
    const uint8_t tries = table_.tries(addresses[i]);
    table_.setTries(addresses[i], tries >= kTriesLimit ? 0 : tries + 1);
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

bool SyncWorker::readAll() {
  for (int a = 0; a < kRegisterCount; ++a) {
    table_.setTries(a, 0);
    table_.setFromDevice(a, false);
  }
  identify();
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
