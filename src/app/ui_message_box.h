// The message box routine on Qt: one QMessageBox with a language-table text,
// owned by the main window; an empty caption becomes the main window's
// title. The buttons carry the current language's texts through Qt's own
// translations (QtTranslations); the icon follows the kind of message
// (messageIcon in dialog_style.h). UI thread only.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "text/message_box.h"

class QMessageBox;

namespace zr78 {

class UiMessageBox final : public MessageBoxRoutine {
 public:
  // Owner null: no owner and no caption substitution (the second instance's
  // box, shown before any window exists, takes the system's default caption).
  explicit UiMessageBox(QWidget* owner) : owner_(owner) {}

  MessageResult showMessage(const std::string& text, const std::string& caption,
                            MessageButtons buttons) override;
  // The same; `opened` is told the box before it runs, so a caller can close
  // it from outside (the link does when it stops).
  MessageResult show(const std::string& text, const std::string& caption, MessageButtons buttons,
                     const std::function<void(QMessageBox*)>& opened);

 private:
  QPointer<QWidget> owner_;
};

// What a box closed without one of its buttons (by the link's stop, or the
// window manager) counts as: No for a question, Cancel or Ok otherwise.
MessageResult dismissedResult(MessageButtons buttons);

}  // namespace zr78
