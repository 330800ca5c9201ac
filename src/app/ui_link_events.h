// The user interface's side of LinkEvents. Lives on the UI thread; the
// worker calls it from its own thread and every call is marshalled onto the
// UI thread:
//   - posted notifications are queued and delivered as MSG_DEVICE_NOTIFY;
//   - sent notifications are queued too, and the worker waits (in short
//     slices) until the UI has handled them;
//   - message boxes are shown by the UI thread, owned by the main window,
//     and the worker waits for the answer;
//   - progress calls are queued to the progress window, in order.
// beginStopping() — called by the UI thread before it joins the worker —
// makes every waiting call return at once (a box answers No/Cancel) and
// closes a box the worker asked for, so the join can never deadlock.
#pragma once

#include <QObject>
#include <QPointer>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>

#include "sync/link_events.h"

class QMessageBox;
class QWidget;

namespace zr78 {

class ProgressWindow;
class UiMessageBox;

class UiLinkEvents final : public QObject, public LinkEvents {
  Q_OBJECT

 public:
  // How long one wait slice of the worker lasts (ms).
  static constexpr int kWaitSliceMs = 5;

  UiLinkEvents() = default;
  ~UiLinkEvents() override;

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
  int waitingCalls() const { return waiting_.load(); }

 private:
  struct Pending {
    std::atomic<bool> done{false};
    std::atomic<int> result{0};
  };
  // Runs `job` on the UI thread (queued, in call order); safe from any thread.
  void onUiThread(std::function<void()> job);
  // UI thread: runs the queued jobs.
  Q_INVOKABLE void runJobs();
  // Queues `job`, then waits until it has run or the link is stopping.
  void runAndWait(const std::shared_ptr<Pending>& pending, std::function<void()> job);

  QPointer<QWidget> window_;  // the main window; UI thread only
  UiMessageBox* messages_ = nullptr;
  QPointer<ProgressWindow> progress_;
  QPointer<QMessageBox> workerBox_;  // UI thread only
  // Jobs from other threads: pushed onto an atomic stack (release), taken
  // whole by the UI thread (acquire), then run in arrival order from a queue
  // of its own, so a job that opens a nested event loop cannot reorder them.
  struct Job {
    std::function<void()> run;
    Job* next = nullptr;
  };
  std::atomic<Job*> incoming_{nullptr};
  std::deque<std::unique_ptr<Job>> queued_;  // UI thread only
  std::atomic<bool> stopping_{false};
  std::atomic<int> waiting_{0};
};

}  // namespace zr78
