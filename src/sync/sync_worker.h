// The sync worker: the one thread that talks to the amplifier. It connects,
// checks the device's identity, reads every register into the table, then
// loops: sends what the user changed, asks again for what a panel wants
// refreshed, tells the UI which registers arrived, runs the long operations
// raised in the request slots, and keeps a quiet link alive with a poll. When
// the device stops answering it starts over.
//
// The worker is the only sender of frames. It never touches a widget: all it
// shows goes through LinkEvents.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "link/link_state.h"
#include "link/link_timing.h"
#include "registers/register_table.h"
#include "platform/signal.h"

namespace zr78 {

// Known here by name only, so that an includer does not pull in the preset
// and text layers; the .cpp files include them.
class Clock;
class LanguageIndex;
class LinkEvents;
class UsbLink;
struct Folders;
enum class WorkerText : int;
enum TextId : int;

// The request slots a panel raises for a long operation.
enum WorkerSlot : int {
  kSlotSaveToFile = 0,     // read the device and save it to TransferFilePath
  kSlotWriteFile = 1,      // write the file TransferFilePath to the device
  kSlotRecallMode = 3,     // recall the mode in the low byte of register 1243
  kSlotWriteModeName = 12, // store modeNameBuffer as the name of that mode
  kRequestSlotCount = 15,
};

// Marker for "continue from the cursor" in sendDirtyBatch/sendReadRequest.
constexpr int kContinue = 0xFFFF;

class SyncWorker {
 public:
  // `clock` is the link's tick count; `folders` and `language` outlive the
  // worker.
  SyncWorker(RegisterTable& table, LinkState& state, UsbLink& link, LinkEvents& events,
             const Clock& clock, const LinkTiming& timing, const Folders& folders,
             const LanguageIndex& language);
  ~SyncWorker();
  SyncWorker(const SyncWorker&) = delete;
  SyncWorker& operator=(const SyncWorker&) = delete;

  // Loads the defaults, clears the module acknowledgements and starts the
  // thread. False when the thread could not be created (after the message).
  bool startLink();
  // Clears running and connected, closes the device, wakes every wait and
  // joins the thread (bounded by LinkTiming::stopJoinLimit; the worker's
  // waits all end once running is clear, so it always ends well within it).
  void stopLink();

  // A panel raises a slot; the worker clears it and runs the operation once.
  void raiseRequest(int slot);
  bool requestRaised(int slot) const;
  // Written by the preset file panel before it raises slot 0 or 1.
  void setTransferFilePath(const std::string& path);
  std::string transferFilePath() const;

  // The device modes page's operations on mode 1..6 (other numbers are
  // ignored). UI thread.
  // Asks for the mode's name; the reply only updates the names.
  void requestModeName(int mode);
  // Recalls the mode (the long operation of slot 3).
  void requestRecall(int mode);
  // Stores the working registers into the mode under `name` (its first 25
  // characters, ASCII; slot 12).
  void requestStore(int mode, const std::string& name);

  // True while the worker thread has not ended.
  bool threadAlive() const { return threadAlive_.load(); }
  // True while the worker runs its synchronisation loop (connected, read,
  // mode names fetched).
  bool synchronising() const { return synchronising_.load(); }
  // Completed requests, and whether the last one of a slot succeeded; for
  // callers without a window (zr78ctl) that wait for an operation.
  uint32_t requestsCompleted() const { return requestsCompleted_.load(); }
  bool lastRequestSucceeded(int slot) const;

 private:
  void run();
  bool handshake();
  void synchronisationLoop();
  void loopIteration(int& writePosition, int& idle, bool& skipLoopSleep);
  void showModuleAcknowledgements();

  // Register traffic.
  void sendDirtyBatch(int start, int limit);
  void sendReadRequest(int start, int limit);
  bool identify();
  bool readAll();
  bool readAndShowAll();
  int countArrived() const;
  int countClean() const;

  // The long operations (worker_operations.cpp).
  bool runRequest(int slot);
  bool saveDeviceToFile();
  bool writeFileToDevice();
  bool recallMode();
  bool writeModeName();
  void refreshModeNames(int current);
  bool readModeName(int mode);

  // Waits. All of them end early once running is cleared.
  void sleepMs(int ms);
  // Idle pacing: ends early when an edit or a request wakes the worker.
  // True when woken.
  bool idleWait(int ms);
  // Looks at `done` every conditionPollSlice for at most ms (by the clock);
  // true when it became true.
  bool waitUntil(int ms, const std::function<bool()>& done);

  std::string text(TextId entry) const;
  std::string workerText(WorkerText entry) const;
  void showMessage(const std::string& text, const std::string& caption = {});
  void progressStart(int range, const std::string& format);
  void progressEnd();

  RegisterTable& table_;
  LinkState& state_;
  UsbLink& link_;
  LinkEvents& events_;
  const Clock& clock_;
  LinkTiming timing_;
  const Folders& folders_;
  const LanguageIndex& language_;

  std::array<std::atomic<uint32_t>, kRequestSlotCount> requests_{};
  std::array<std::atomic<bool>, kRequestSlotCount> requestSucceeded_{};
  std::atomic<uint32_t> requestsCompleted_{0};
  std::atomic<bool> synchronising_{false};
  std::atomic<std::shared_ptr<const std::string>> transferFilePath_;
  int writeCursor_ = 0;  // worker thread only
  int readCursor_ = 0;   // worker thread only

  Signal wake_;       // edits, reread requests, raised slots, stopLink
  Signal stopWake_;   // stopLink: ends plain sleeps
  std::thread thread_;
  std::atomic<bool> threadAlive_{false};
};

}  // namespace zr78
