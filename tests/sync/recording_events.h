// A LinkEvents that records what the link and the worker report, for tests.
// Message boxes get a scripted answer (or a handler's). Thread-safe: one
// mutex guards the records; waitUntil lets a test wait for an event without
// sleeping in a loop.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "sync/link_events.h"

namespace zr78::test {

class RecordingEvents : public LinkEvents {
 public:
  struct Notify {
    int code;
    int value;
    bool sent;  // sendNotify (true) or postNotify (false)
  };
  struct Message {
    std::string text;
    std::string caption;
    MessageButtons buttons;
  };
  using MessageHandler = std::function<MessageResult(const Message&)>;

  // The answer of every message box (default Ok), or a handler that decides.
  void setMessageAnswer(MessageResult answer) {
    std::lock_guard<std::mutex> lock(mutex_);
    answer_ = answer;
    handler_ = nullptr;
  }
  void setMessageHandler(MessageHandler handler) {
    std::lock_guard<std::mutex> lock(mutex_);
    handler_ = std::move(handler);
  }

  void postNotify(int code, int value) override { record([&] { notes_.push_back({code, value, false}); }); }
  void sendNotify(int code, int value) override { record([&] { notes_.push_back({code, value, true}); }); }
  MessageResult messageBox(const std::string& text, const std::string& caption,
                           MessageButtons buttons) override {
    const Message message{text, caption, buttons};
    MessageHandler handler;
    MessageResult answer;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      messages_.push_back(message);
      handler = handler_;
      answer = answer_;
    }
    changed_.notify_all();
    return handler ? handler(message) : answer;  // outside the lock: a handler may act
  }
  void progressSetRange(int range) override { progress("range " + std::to_string(range)); }
  void progressSetFormat(const std::string& format) override { progress("format " + format); }
  void progressSetValue(int value) override { progress("value " + std::to_string(value)); }
  void progressShow() override { progress("show"); }
  void progressHide() override { progress("hide"); }
  void setTitle(const std::string& title) override { record([&] { title_ = title; }); }

  std::vector<Notify> notifications() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return notes_;
  }
  int countNotify(int code, int value) const {
    std::lock_guard<std::mutex> lock(mutex_);
    int n = 0;
    for (const auto& note : notes_) n += note.code == code && note.value == value;
    return n;
  }
  std::vector<Message> messages() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_;
  }
  int countMessages(const std::string& text) const {
    std::lock_guard<std::mutex> lock(mutex_);
    int n = 0;
    for (const auto& m : messages_) n += m.text == text;
    return n;
  }
  // "range N", "format F", "value V", "show", "hide" in call order.
  std::vector<std::string> progressCalls() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return progress_;
  }
  std::string title() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return title_;
  }
  void clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    notes_.clear();
    messages_.clear();
    progress_.clear();
    title_.clear();
  }

  // Waits until `done` (called under no lock of ours) holds, re-checking at
  // every recorded event and at least every 10 ms; false after timeoutMs.
  bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
      if (std::chrono::steady_clock::now() >= deadline) return false;
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait_for(lock, std::chrono::milliseconds(10));
    }
    return true;
  }

 private:
  template <typename F>
  void record(F&& change) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      change();
    }
    changed_.notify_all();
  }
  void progress(std::string call) { record([&] { progress_.push_back(std::move(call)); }); }

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Notify> notes_;
  std::vector<Message> messages_;
  std::vector<std::string> progress_;
  std::string title_;
  MessageResult answer_ = MessageResult::Ok;
  MessageHandler handler_;
};

}  // namespace zr78::test
