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
  kNotifyLinkStatus = 4,  // value: a LinkStatus
  kNotifyOperationEnd = 8,
  // value = register address: the amplifier never acknowledged the edit of
  // it and the worker gave it up (the register is read again).
  kNotifyEditGivenUp = 9,
};

// The link's status as MSG_DEVICE_NOTIFY code 4 carries it (the values are
// the message's). The UI shows every value but Connected as "connecting".
enum class LinkStatus : int {
  Connected = 0,
  Connecting = 1,
  ThreadStart = 3,  // the worker has started; nothing is connected yet
};

class LinkEvents : public ConnectObserver {
 public:

  // MSG_DEVICE_NOTIFY, queued; returns at once.
  virtual void postNotify(int code, int value) = 0;
  // MSG_DEVICE_NOTIFY, synchronous: returns once the UI has handled it (or
  // the link is stopping).
  virtual void sendNotify(int code, int value) = 0;
  // Code 4, sent.
  void sendLinkStatus(LinkStatus status) {
    sendNotify(kNotifyLinkStatus, static_cast<int>(status));
  }
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
  void connecting() override { sendLinkStatus(LinkStatus::Connecting); }
  void channelBlocked(const std::string& message) override {
    messageBox(message, "", MessageButtons::Ok);
  }
};

}  // namespace zr78
