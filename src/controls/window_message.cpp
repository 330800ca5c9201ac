#include "controls/window_message.h"

#include <QCoreApplication>
#include <QObject>

namespace zr78 {

WindowMessage::WindowMessage(int message, qintptr wParam, qintptr lParam)
    : QEvent(eventType()), message_(message), wParam_(wParam), lParam_(lParam) {}

QEvent::Type WindowMessage::eventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

qintptr sendMessage(QObject* target, int message, qintptr wParam, qintptr lParam) {
  if (target == nullptr) return 0;
  WindowMessage event(message, wParam, lParam);
  QCoreApplication::sendEvent(target, &event);
  return event.result();
}

void postMessage(QObject* target, int message, qintptr wParam, qintptr lParam) {
  if (target == nullptr) return;
  QCoreApplication::postEvent(target, new WindowMessage(message, wParam, lParam));
}

MessageTable& MessageTable::on(int message, Handler handler) {
  return onRange(message, message, std::move(handler));
}

MessageTable& MessageTable::onRange(int first, int last, Handler handler) {
  rows_.push_back(Row{first, last, std::move(handler)});
  return *this;
}

bool MessageTable::dispatch(QEvent* event) const {
  if (event->type() != WindowMessage::eventType()) return false;
  auto* msg = static_cast<WindowMessage*>(event);
  for (const Row& row : rows_) {
    if (msg->message() >= row.first && msg->message() <= row.last) {
      msg->setResult(row.handler(*msg));
      msg->accept();
      return true;
    }
  }
  return false;
}

}  // namespace zr78
