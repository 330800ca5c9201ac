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
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "link/link_state.h"
#include "link/link_timing.h"
#include "registers/register_table.h"
#include "platform/signal.h"
#include "sync/echo_timer.h"

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
  kSlotRecallMode = 3,     // recall a mode (requestRecall; raised alone: 1243's low byte)
  kSlotWriteModeName = 12, // store into a mode (requestStore; raised alone: 1243 and modeNameBuffer)
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
  // joins the thread. The worker's waits all end once running is clear, but a
  // device call may not (a write the device holds up): the join waits at
  // most LinkTiming::stopJoinLimit from the first call. True when the thread
  // has ended; false means it is still inside the device, and the objects it
  // uses must outlive it (the program ends without destroying them).
  bool stopLink();

  // A panel raises a slot; the worker clears it and runs the operation once.
  void raiseRequest(int slot);

  // The device modes, each carrying the slot the user chose (1..6; other
  // numbers are ignored), whatever register 1243 holds meanwhile.
  // Ask mode `mode`'s name; the reply only updates the names.
  void requestModeName(int mode);
  // Recall mode `mode` (the long operation of slot 3).
  void requestRecall(int mode);
  // Store the working registers into mode `mode` under `name` (slot 12).
  void requestStore(int mode, const std::string& name);

  // Top button 4: pause idles the synchronisation loop; resume ends the
  // pause with a fresh connection and full read (never skipped, whatever the
  // worker was doing when resumed).
  void pause();
  void resume();
  bool paused() const { return state_.paused.load(); }

  // Edits given up because the amplifier never acknowledged them (each one
  // also reported with kNotifyEditGivenUp).
  uint32_t editsGivenUp() const { return editsGivenUp_.load(); }
  bool requestRaised(int slot) const;
  // Written by the preset file panel before it raises slot 0 or 1.
  void setTransferFilePath(const std::string& path);
  std::string transferFilePath() const;

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
  void setThreadEnded(bool ended);  // and wakes a stopLink waiting for the end
  bool handshake();
  void synchronisationLoop();
  void loopIteration(int& writePosition, int& idle, bool& skipLoopSleep);
  void showModuleAcknowledgements();

  // Register traffic (register_transfer.cpp).
  struct WriteBatch {
    std::vector<int> addresses;
    std::vector<int32_t> values;
    std::vector<uint32_t> generations;  // the generation each value belongs to
    std::vector<int> givenUp;           // records given up while collecting
    bool firstSends = true;             // every value goes out for the first time
    int mostSends = 0;                  // the most times one of the values has been sent
  };
  // Up to `limit` dirty records from `start` (kContinue: the write cursor),
  // each counted as sent; records sent too often are given up instead.
  WriteBatch collectBatch(int start, int limit);
  // Sends the batch and waits for its echo, at most waitMs; true when a
  // reply came. One batch at a time is in flight, so the sends keep the
  // pace of the echoes.
  bool sendBatch(const WriteBatch& batch, int waitMs);
  // Some value of the batch still waits for its echo (dirty, no newer edit).
  bool batchPending(const WriteBatch& batch) const;
  // Every value of the batch acknowledged (clean, no newer edit).
  bool batchAcknowledged(const WriteBatch& batch) const;
  // One write pass of the loop from its write position; false when nothing
  // was dirty.
  bool writePass(int& writePosition);
  // Tells the user about edits given up (the message at the end of the loop
  // iteration) and reads those registers again.
  void reportGivenUp(const std::vector<int>& addresses);
  // Sends the flagged re-read requests; true when it stopped early so that
  // a pending edit goes first.
  bool rereadPass();
  bool pendingEdits() const;
  // Write passes until nothing is dirty, at most LinkTiming::flushLimit.
  bool flushEdits();
  void sendReadRequest(int start, int limit);
  bool identify();
  // Register 1242 read now, so that the lock flag describes the active mode.
  bool readActiveMode();
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
  void readRequestedNames();

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
  struct StoreRequest {
    int mode;
    std::string name;
  };
  std::atomic<std::shared_ptr<const StoreRequest>> storeRequest_;
  std::atomic<int> recallSlot_{0};        // 0: none (a slot raised alone)
  std::atomic<uint32_t> namesWanted_{0};  // bit m: read mode m's name
  std::atomic<bool> reconnect_{false};    // resume: end the loop, connect anew
  std::atomic<uint32_t> editsGivenUp_{0};
  int writeCursor_ = 0;  // worker thread only
  int readCursor_ = 0;   // worker thread only
  bool giveUpToShow_ = false;  // worker thread only
  EchoTimer echoTimer_;        // worker thread only

  Signal wake_;       // edits, reread requests, raised slots, stopLink
  Signal stopWake_;   // stopLink: ends plain sleeps
  std::thread thread_;
  std::atomic<bool> threadAlive_{false};
  std::mutex stopMutex_;  // one stopLink at a time; guards stopDeadline_
  std::optional<std::chrono::steady_clock::time_point> stopDeadline_;
  std::mutex endMutex_;   // guards threadEnded_
  std::condition_variable ended_;
  bool threadEnded_ = true;
};

}  // namespace zr78
