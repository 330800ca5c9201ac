// Numbered window messages between the program's windows: a message number
// with two integer parameters, delivered synchronously (sendMessage, the
// handler's result comes back) or queued (postMessage). Each window class
// dispatches them through one MessageTable in its event() override.
#pragma once

#include <QEvent>
#include <QtGlobal>

#include <functional>
#include <vector>

class QObject;

namespace zr78 {

class WindowMessage : public QEvent {
 public:
  WindowMessage(int message, qintptr wParam, qintptr lParam);

  static QEvent::Type eventType();

  int message() const { return message_; }
  qintptr wParam() const { return wParam_; }
  qintptr lParam() const { return lParam_; }
  qintptr result() const { return result_; }
  void setResult(qintptr r) { result_ = r; }

 private:
  int message_;
  qintptr wParam_;
  qintptr lParam_;
  qintptr result_ = 0;
};

// Delivers at once on the calling (UI) thread; returns the handler's result,
// 0 when nobody handled the message or the target is null.
qintptr sendMessage(QObject* target, int message, qintptr wParam, qintptr lParam);
// Queues the message for the target's thread; safe from any thread.
void postMessage(QObject* target, int message, qintptr wParam, qintptr lParam);

// Maps a message number, or a range of numbers, to a handler. The first
// matching row wins, so specific rows go before ranges that cover them.
class MessageTable {
 public:
  // The handler receives the message itself so range rows see which number came.
  using Handler = std::function<qintptr(const WindowMessage&)>;

  MessageTable& on(int message, Handler handler);
  MessageTable& onRange(int first, int last, Handler handler);

  // Runs the matching handler and stores its result in the event; false when
  // the event is not a window message or no row matches.
  bool dispatch(QEvent* event) const;

 private:
  struct Row {
    int first;
    int last;
    Handler handler;
  };
  std::vector<Row> rows_;
};

}  // namespace zr78
