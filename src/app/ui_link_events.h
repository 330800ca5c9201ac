// The user interface's side of LinkEvents. Lives on the UI thread; the
// worker calls it from its own thread and every call becomes a job that the
// UI thread runs, in call order:
//   - posted notifications are delivered as MSG_DEVICE_NOTIFY;
//   - a sent notification waits until the UI has handled it;
//   - a message box is shown by the UI thread, owned by the main window,
//     and the worker waits for the answer;
//   - progress calls go to the progress window.
// A waiting call blocks on a semaphore of its own, released by the UI
// thread once the job has run. beginStopping() — called by the UI thread
// before it joins the worker — releases every waiting call (a box answers
// No/Cancel), makes later ones return at once and closes a box the worker
// asked for, so the join can never deadlock.
#pragma once

#include <QObject>
#include <QPointer>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <semaphore>
#include <vector>

#include "sync/link_events.h"

class QMessageBox;
class QWidget;

namespace zr78 {

class ProgressWindow;
class UiMessageBox;

class UiLinkEvents final : public QObject, public LinkEvents {
  Q_OBJECT

 public:
  UiLinkEvents() = default;

  // The main window (notifications, title), its message box routine and the
  // progress window. Set once on the UI thread before the link starts.
  void attach(QWidget* window, UiMessageBox* messages, ProgressWindow* progress);

  void postNotify(int code, int value) override;
  void sendNotify(int code, int value) override;
  MessageResult messageBox(const std::string& text, const std::string& caption,
                           MessageButtons buttons) override;
  void progressSetRange(int range) override;
  void progressSetFormat(const std::string& format) override;
  void progressSetValue(int value) override;
  void progressShow() override;
  void progressHide() override;
  void setTitle(const std::string& title) override;

  // UI thread, before stopLink.
  void beginStopping();
  bool stopping() const { return stopping_.load(); }
  // Worker calls waiting for the UI right now (tests wait for one).
  int waitingCalls() const;

 private:
  // One waiting call. Whichever comes first, the job's end or the stop,
  // releases it; the second release is absorbed.
  struct Waiter {
    std::binary_semaphore finished{0};
    std::atomic<bool> released{false};
    std::atomic<MessageResult> result{MessageResult::Ok};
    void release() {
      if (!released.exchange(true)) finished.release();
    }
  };
  // Queues `job` for the UI thread; safe from any thread.
  void onUiThread(std::function<void()> job);
  // UI thread: runs the queued jobs, oldest first. A job that opens a nested
  // event loop (a message box) may run the ones behind it from there; they
  // still come off the one queue in order.
  void runJobs();
  // Queues `job` and blocks until it has run; false when the link is
  // stopping (the job may not have run). On the UI thread the job runs at once.
  bool runAndWait(const std::shared_ptr<Waiter>& waiter, std::function<void()> job);

  QPointer<QWidget> window_;  // the main window; UI thread only
  UiMessageBox* messages_ = nullptr;
  QPointer<ProgressWindow> progress_;
  QPointer<QMessageBox> workerBox_;  // UI thread only

  // Guards the queue and the waiting calls; stopping_ is set under it, so a
  // call that registers after beginStopping cannot miss the stop.
  mutable std::mutex mutex_;
  std::deque<std::function<void()>> jobs_;
  std::vector<std::shared_ptr<Waiter>> waiters_;
  std::atomic<bool> stopping_{false};
};

}  // namespace zr78
