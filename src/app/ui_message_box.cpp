#include "app/ui_message_box.h"

#include <QMessageBox>

#include "app/dialog_style.h"

namespace zr78 {

namespace {

QMessageBox::StandardButtons standardButtons(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::Ok:
      break;
  }
  return QMessageBox::Ok;
}

MessageResult resultOf(int button, MessageButtons buttons) {
  switch (button) {
    case QMessageBox::Yes:
      return MessageResult::Yes;
    case QMessageBox::No:
      return MessageResult::No;
    case QMessageBox::Ok:
      return MessageResult::Ok;
    case QMessageBox::Cancel:
      return MessageResult::Cancel;
    default:
      return dismissedResult(buttons);
  }
}

}  // namespace

MessageResult dismissedResult(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::YesNo:
      return MessageResult::No;
    case MessageButtons::OkCancel:
      return MessageResult::Cancel;
    case MessageButtons::Ok:
      break;
  }
  return MessageResult::Ok;
}

MessageResult UiMessageBox::showMessage(const std::string& text, const std::string& caption,
                                        MessageButtons buttons) {
  return show(text, caption, buttons, {});
}

MessageResult UiMessageBox::show(const std::string& text, const std::string& caption,
                                 MessageButtons buttons,
                                 const std::function<void(QMessageBox*)>& opened) {
  QString title = QString::fromStdString(caption);
  if (title.isEmpty() && owner_ != nullptr) title = owner_->window()->windowTitle();
  QMessageBox box(messageIcon(text, buttons), title, QString::fromStdString(text),
                  standardButtons(buttons), owner_.data());
  box.setTextFormat(Qt::PlainText);
  if (opened) opened(&box);
  return resultOf(box.exec(), buttons);
}

}  // namespace zr78
