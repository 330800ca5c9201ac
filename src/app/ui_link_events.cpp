#include "app/ui_link_events.h"

#include <QMessageBox>
#include <QMetaObject>
#include <QThread>
#include <QWidget>
#include <chrono>
#include <thread>
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

UiLinkEvents::~UiLinkEvents() {
  Job* left = incoming_.exchange(nullptr, std::memory_order_acquire);
  while (left != nullptr) delete std::exchange(left, left->next);
}

void UiLinkEvents::onUiThread(std::function<void()> job) {
  auto* node = new Job{std::move(job)};
  node->next = incoming_.load(std::memory_order_relaxed);
  while (!incoming_.compare_exchange_weak(node->next, node, std::memory_order_release,
                                          std::memory_order_relaxed)) {
  }
  QMetaObject::invokeMethod(this, "runJobs", Qt::QueuedConnection);
}

void UiLinkEvents::runJobs() {
  // The stack holds the newest first: reverse it onto the queue's end.
  Job* taken = incoming_.exchange(nullptr, std::memory_order_acquire);
  std::deque<std::unique_ptr<Job>> arrived;
  while (taken != nullptr) arrived.emplace_front(std::exchange(taken, taken->next));
  for (auto& job : arrived) queued_.push_back(std::move(job));
  while (!queued_.empty()) {
    std::unique_ptr<Job> job = std::move(queued_.front());
    queued_.pop_front();
    job->run();
  }
}

void UiLinkEvents::runAndWait(const std::shared_ptr<Pending>& pending, std::function<void()> job) {
  if (stopping_.load()) return;
  if (QThread::currentThread() == thread()) {
    // Called on the UI thread itself (no worker involved): run it now.
    job();
    return;
  }
  ++waiting_;
  onUiThread([pending, job = std::move(job)] {
    job();
    pending->done.store(true);
  });
  while (!pending->done.load() && !stopping_.load())
    std::this_thread::sleep_for(std::chrono::milliseconds(kWaitSliceMs));
  --waiting_;
}

// Queued like a posted message; the job queue (not a message allocated on
// the worker) carries it, so the hand-over is the queue's release/acquire.
void UiLinkEvents::postNotify(int code, int value) {
  onUiThread([this, code, value] {
    sendMessage(window_.data(), MSG_DEVICE_NOTIFY, code, value);
  });
}

void UiLinkEvents::sendNotify(int code, int value) {
  auto pending = std::make_shared<Pending>();
  runAndWait(pending, [this, code, value] {
    sendMessage(window_.data(), MSG_DEVICE_NOTIFY, code, value);
  });
}

MessageResult UiLinkEvents::messageBox(const std::string& text, const std::string& caption,
                                       MessageButtons buttons) {
  auto pending = std::make_shared<Pending>();
  pending->result.store(static_cast<int>(dismissedResult(buttons)));
  runAndWait(pending, [this, pending, text, caption, buttons] {
    if (stopping_.load() || messages_ == nullptr) return;
    const MessageResult r =
        messages_->show(text, caption, buttons, [this](QMessageBox* box) { workerBox_ = box; });
    workerBox_ = nullptr;
    if (!stopping_.load()) pending->result.store(static_cast<int>(r));
  });
  if (stopping_.load()) return dismissedResult(buttons);
  return static_cast<MessageResult>(pending->result.load());
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
  stopping_.store(true);
  if (workerBox_) workerBox_->done(QMessageBox::Cancel);
  if (progress_) progress_->hide();
}

}  // namespace zr78
