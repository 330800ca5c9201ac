#include "app/ui_link_events.h"

#include <QMessageBox>
#include <QMetaObject>
#include <QThread>
#include <QWidget>
#include <algorithm>
#include <utility>

#include "app/progress_window.h"
#include "app/ui_message_box.h"
#include "controls/window_message.h"
#include "controls/window_messages.h"

namespace zr78 {

void UiLinkEvents::attach(QWidget* window, UiMessageBox* messages, ProgressWindow* progress) {
  window_ = window;
  messages_ = messages;
  progress_ = progress;
}

void UiLinkEvents::onUiThread(std::function<void()> job) {
  {
    const std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
  }
  QMetaObject::invokeMethod(this, &UiLinkEvents::runJobs, Qt::QueuedConnection);
}

void UiLinkEvents::runJobs() {
  for (;;) {
    std::function<void()> job;
    {
      const std::lock_guard lock(mutex_);
      if (jobs_.empty()) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    job();  // without the lock: a job may wait for the user
  }
}

bool UiLinkEvents::runAndWait(const std::shared_ptr<Waiter>& waiter, std::function<void()> job) {
  if (QThread::currentThread() == thread()) {
    // Called on the UI thread itself (no worker involved): run it now.
    if (stopping_.load()) return false;
    job();
    return true;
  }
  {
    const std::lock_guard lock(mutex_);
    if (stopping_.load()) return false;
    waiters_.push_back(waiter);
    jobs_.push_back([waiter, job = std::move(job)] {
      job();
      waiter->release();
    });
  }
  QMetaObject::invokeMethod(this, &UiLinkEvents::runJobs, Qt::QueuedConnection);
  waiter->finished.acquire();
  {
    const std::lock_guard lock(mutex_);
    waiters_.erase(std::find(waiters_.begin(), waiters_.end(), waiter));
  }
  return !stopping_.load();
}

int UiLinkEvents::waitingCalls() const {
  const std::lock_guard lock(mutex_);
  return static_cast<int>(waiters_.size());
}

// Queued like a posted message; the job queue (not a message allocated on
// the worker) carries it, so the hand-over is the queue's mutex.
void UiLinkEvents::postNotify(int code, int value) {
  onUiThread([this, code, value] {
    sendMessage(window_.data(), MSG_DEVICE_NOTIFY, code, value);
  });
}

void UiLinkEvents::sendNotify(int code, int value) {
  runAndWait(std::make_shared<Waiter>(), [this, code, value] {
    sendMessage(window_.data(), MSG_DEVICE_NOTIFY, code, value);
  });
}

MessageResult UiLinkEvents::messageBox(const std::string& text, const std::string& caption,
                                       MessageButtons buttons) {
  auto waiter = std::make_shared<Waiter>();
  waiter->result.store(dismissedResult(buttons));
  const bool answered = runAndWait(waiter, [this, waiter, text, caption, buttons] {
    if (stopping_.load() || messages_ == nullptr) return;
    const MessageResult r =
        messages_->show(text, caption, buttons, [this](QMessageBox* box) { workerBox_ = box; });
    workerBox_ = nullptr;
    if (!stopping_.load()) waiter->result.store(r);
  });
  if (!answered) return dismissedResult(buttons);
  return waiter->result.load();
}

void UiLinkEvents::progressSetRange(int range) {
  onUiThread([this, range] {
    if (progress_) progress_->setRange(range);
  });
}

void UiLinkEvents::progressSetFormat(const std::string& format) {
  onUiThread([this, format] {
    if (progress_) progress_->setFormat(format);
  });
}

void UiLinkEvents::progressSetValue(int value) {
  onUiThread([this, value] {
    if (progress_) progress_->setValue(value);
  });
}

void UiLinkEvents::progressShow() {
  onUiThread([this] {
    if (progress_ && !stopping_.load()) progress_->show();
  });
}

void UiLinkEvents::progressHide() {
  onUiThread([this] {
    if (progress_) progress_->hide();
  });
}

void UiLinkEvents::setTitle(const std::string& title) {
  onUiThread([this, title] {
    if (window_) window_->setWindowTitle(QString::fromStdString(title));
  });
}

void UiLinkEvents::beginStopping() {
  std::vector<std::shared_ptr<Waiter>> waiting;
  {
    const std::lock_guard lock(mutex_);
    stopping_.store(true);
    waiting = waiters_;
  }
  for (const auto& waiter : waiting) waiter->release();
  if (workerBox_) workerBox_->done(QMessageBox::Cancel);
  if (progress_) progress_->hide();
}

}  // namespace zr78
