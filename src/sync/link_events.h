// How the link reports to the user interface. The worker never touches a
// widget: it posts notifications, sends notifications that wait until the UI
// has handled them, shows message boxes that wait for the user, drives the
// progress window and sets the window title.
//
// Texts are UTF-8. An empty caption means "the main window's title".
//
// The UI implements this by marshalling onto the UI thread; once the link is
// stopping (stopLink), every waiting call must return promptly so the worker
// can end. Tests implement it by recording.
#pragma once

#include <string>

#include "link/connect_observer.h"
#include "text/message_box.h"

namespace zr78 {

// MSG_DEVICE_NOTIFY codes.
enum NotifyCode : int {
  kNotifyRegister = 0,  // value = register address refreshed from the table
  kNotifyReadDone = 1,
  kNotifyShowDone = 2,
  kNotifyLinkStatus = 4,  // value 0 connected, 1 connecting, 3 thread start
  kNotifyOperationEnd = 8,
};

class LinkEvents : public ConnectObserver {
 public:

  // MSG_DEVICE_NOTIFY, queued; returns at once.
  virtual void postNotify(int code, int value) = 0;
  // MSG_DEVICE_NOTIFY, synchronous: returns once the UI has handled it (or
  // the link is stopping).
  virtual void sendNotify(int code, int value) = 0;
  // A message box owned by the main window; returns the user's answer (or
  // Cancel/No when the link is stopping).
  virtual MessageResult messageBox(const std::string& text, const std::string& caption,
                                   MessageButtons buttons) = 0;

  // The progress window.
  virtual void progressSetRange(int range) = 0;
  virtual void progressSetFormat(const std::string& format) = 0;
  virtual void progressSetValue(int value) = 0;
  virtual void progressShow() = 0;
  virtual void progressHide() = 0;

  // The main window's title.
  virtual void setTitle(const std::string& title) = 0;

  // What connecting looks like to the user: the status "connecting", and the
  // blocked channel as a message box with the window's title.
  void connecting() override { sendNotify(kNotifyLinkStatus, 1); }
  void channelBlocked(const std::string& message) override {
    messageBox(message, "", MessageButtons::Ok);
  }
};

}  // namespace zr78
