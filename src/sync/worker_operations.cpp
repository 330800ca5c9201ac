// The long operations the worker runs for the panels between two passes of
// its loop: saving the device to a file, writing a file to the device,
// recalling a mode, naming a mode, and reading the six mode names.
#include <algorithm>
#include <array>
#include <vector>

#include "link/frame_format.h"
#include "link/register_entries.h"
#include "sync/sync_worker.h"
#include "link/usb_link.h"
#include "sync/link_events.h"
#include "presets/preset_file.h"
#include "text/shared_texts.h"
#include "text/text_format.h"
#include "text/window_texts.h"

namespace zr78 {

namespace {

constexpr int kAttempts = 3;
constexpr int kNameBytes = 20;
constexpr int kNamePasses = 2;  // after the first pass over all six

// Registers a file never writes into the device: the password words, the
// active mode and the mode command word.
bool skippedOnFileWrite(int address) {
  return address == kPasswordWord0Register || address == kPasswordWord1Register ||
         address == kActiveModeRegister || address == kModeCommandRegister;
}

}  // namespace

bool SyncWorker::runRequest(int slot) {
  switch (slot) {
    case kSlotSaveToFile: return saveDeviceToFile();
    case kSlotWriteFile: return writeFileToDevice();
    case kSlotRecallMode: return recallMode();
    case kSlotWriteModeName: return writeModeName();
    default: return false;  // unused slots
  }
}

bool SyncWorker::saveDeviceToFile() {
  sleepMs(timing_.operationStartSleep);
  const std::string path = transferFilePath();
  if (path.empty()) {
    showMessage(text(kTextEnterFileName));
    return false;
  }
  // A backup must hold what the amplifier holds: what the user set goes to
  // it first, and a read that missed any register would put defaults into
  // the file as if they came from it. Edits made while the read runs are
  // kept (a read reply never replaces a pending edit) and sent before the
  // values are taken, so the file holds them as the amplifier does.
  if (!flushEdits() || !readAll() || state_.modeLocked.load() || countArrived() < kRegisterCount ||
      !flushEdits()) {
    showMessage(text(kTextSaveFailed));
    return false;
  }
  std::array<int32_t, kRegisterCount> values{};
  for (int a = 0; a < kRegisterCount; ++a) {
    values[a] = table_.getRegister(a);
    table_.setFromDevice(a, false);
  }
  PresetFile file(folders_);
  file.header.deviceId = static_cast<uint32_t>(state_.deviceId.load());
  const bool saved = file.save(path, values) == FileResult::Ok;
  if (saved)
    showMessage(file.lastPath(), text(kTextSaveSuccessfully));
  else
    showMessage(text(kTextSaveFailed));
  sleepMs(timing_.saveDoneSleep);
  return saved;
}

bool SyncWorker::writeFileToDevice() {
  bool written = false;
  bool linkLost = false;
  sleepMs(timing_.operationStartSleep);
  const std::string path = transferFilePath();
  if (path.empty()) {
    showMessage(text(kTextEnterFileName));
  } else {
    PresetFile file(folders_);
    if (file.load(path) != FileResult::Ok) {
      progressEnd();
      showMessage(text(kTextNoFiles));
    } else if (file.header.passwordFlag == 1) {
      progressEnd();
      showMessage(text(kTextDataHasPassword));
      return false;
    } else if (static_cast<int64_t>(file.header.deviceId) != state_.deviceId.load()) {
      progressEnd();
      showMessage(text(kTextWrongFileVersion));
    } else {
      // Only table addresses, and never the image's last register.
      const int count = static_cast<int>(std::min<uint32_t>(file.header.registerCount, kRegisterCount));
      for (int a = 0; a < count - 1; ++a) {
        if (skippedOnFileWrite(a)) continue;
        table_.setRegisterQuiet(a, file.values[a]);
        table_.setDirty(a, true);
      }
      if (state_.running.load()) {
        events_.progressSetValue(0);
        progressStart(kRegisterCount, workerText(WorkerText::kUpdateSceneData));
      }
      for (int a = 0; a < kRegisterCount; ++a) table_.setTries(a, 0);
      writeCursor_ = 0;
      events_.progressSetRange(kRegisterCount);
      size_t givenUp = 0;
      while (state_.connected.load() && state_.running.load()) {
        for (int a = 0; a < kRegisterCount - 1 && state_.connected.load(); ++a) {
          if (table_.takeFromDevice(a)) events_.postNotify(kNotifyRegister, a);
          if (!table_.dirty(a)) continue;
          const WriteBatch batch = collectBatch(kContinue, kWriteBatchLimit);
          sendBatch(batch, timing_.bulkWriteWait);
          reportGivenUp(batch.givenUp);
          givenUp += batch.givenUp.size();
          events_.progressSetValue(countClean());
        }
        const int clean = countClean();
        events_.progressSetValue(clean);
        sleepMs(timing_.bulkWritePassSleep);
        if (clean >= kRegisterCount - 1) break;
      }
      // A register given up is clean but not written.
      written = countClean() >= kRegisterCount - 1 && givenUp == 0;
      // Taken now: the sends of the read that follows may set `connected`
      // again on a device that has stopped answering.
      linkLost = !state_.connected.load();
      sleepMs(timing_.requestSleep);
      readAndShowAll();
    }
    sleepMs(timing_.writeFileEndSleep);
  }
  progressEnd();
  if (linkLost || !state_.connected.load()) {
    showMessage(text(kTextWriteDataFailed));
    return false;
  }
  return written;
}

bool SyncWorker::recallMode() {
  // The slot the user chose (requestRecall); a slot raised alone takes the
  // mode from the command word as the panels wrote it.
  int chosen = recallSlot_.exchange(0);
  if (chosen == 0) chosen = modeOfCommandWord(table_.getRegister(kModeCommandRegister));
  const uint8_t mode = static_cast<uint8_t>(chosen);
  state_.recallAck.store(0);
  for (int attempt = 0; attempt < kAttempts && !state_.recallAck.load() && state_.running.load();
       ++attempt) {
    link_.awaitReply(
        timing_.recallWait,
        [&] {
          link_.sendFrame(CMD_RECALL_MODE, &mode, 1);
          sleepMs(timing_.recallSleep);
        },
        [&](int) { return state_.recallAck.load() != 0; });
  }
  if (!state_.recallAck.load()) {
    // Nothing is left to send: a recall word written later as a plain
    // register would recall the mode after the user was told it failed,
    // without the table following.
    showMessage(workerText(WorkerText::kInvocationFailed));
    return false;
  }
  if (state_.running.load()) {
    events_.progressSetRange(100);
    events_.progressSetValue(0);
    events_.progressSetFormat(workerText(WorkerText::kCall) + "...");
    events_.progressShow();
  }
  sleepMs(timing_.recallShowSleep);
  readAndShowAll();
  events_.postNotify(kNotifyReadDone, 0);
  return true;
}

bool SyncWorker::writeModeName() {
  std::vector<uint8_t> data;
  data.reserve(1 + kNameBytes);
  // The slot and name the user chose (requestStore); a slot raised alone
  // takes them from the command word and the name buffer.
  const std::shared_ptr<const StoreRequest> chosen = storeRequest_.exchange(nullptr);
  const int mode = chosen ? chosen->mode : modeOfCommandWord(table_.getRegister(kModeCommandRegister));
  data.push_back(static_cast<uint8_t>(mode));
  for (int i = 0; i < kNameBytes; ++i) {
    if (chosen)
      data.push_back(i < static_cast<int>(chosen->name.size()) ? static_cast<uint8_t>(chosen->name[i]) : ' ');
    else
      data.push_back(static_cast<uint8_t>(state_.modeNameBuffer.units[i].load() & 0xFF));
  }
  state_.nameWriteAck.store(0);
  for (int attempt = 0; attempt < kAttempts && !state_.nameWriteAck.load() && state_.running.load();
       ++attempt)
    link_.request(CMD_WRITE_MODE_NAME, data.data(), data.size(), timing_.nameWriteWait,
                  [&] { return state_.nameWriteAck.load() != 0; });
  const bool named = state_.nameWriteAck.load() != 0;
  if (named) {
    refreshModeNames(mode);
    showMessage(text(kTextSaveSuccessfully));
  } else {
    showMessage(text(kTextSaveFailed));
  }
  return named;
}

bool SyncWorker::readModeName(int mode) {
  const uint8_t m = static_cast<uint8_t>(mode);
  const bool answered = link_.request(CMD_READ_MODE_NAME, &m, 1, timing_.nameReadWait,
                                     [&] { return state_.modeNameFlags[(mode - 1) % kModeCount].load() != 0; });
  sleepMs(timing_.nameReadSleep);
  return answered;
}

void SyncWorker::readRequestedNames() {
  const uint32_t wanted = namesWanted_.exchange(0);
  for (int m = 1; m <= kModeCount && state_.running.load(); ++m) {
    if (!(wanted & (1u << m))) continue;
    state_.modeNameFlags[m - 1].store(0);
    for (int attempt = 0; attempt < kAttempts && state_.running.load() && !state_.modeNameFlags[m - 1].load();
         ++attempt)
      readModeName(m);
  }
}

void SyncWorker::refreshModeNames(int current) {
  for (auto& flag : state_.modeNameFlags) flag.store(0);
  for (int m = 1; m <= kModeCount && state_.running.load(); ++m) readModeName(m);
  for (int pass = 0; pass < kNamePasses; ++pass)
    for (int m = 1; m <= kModeCount && state_.running.load(); ++m)
      if (!state_.modeNameFlags[m - 1].load()) readModeName(m);
  if (current != 0 && state_.running.load()) readModeName(current);
  const auto activeMode = readRequestData(kActiveModeRegister);
  link_.sendFrame(CMD_READ_REGISTERS, activeMode.data(), activeMode.size());
}

}  // namespace zr78
