#include "ctl/console_events.h"

#include <cstdio>

#include "sync/progress_model.h"

namespace zr78 {

void ConsoleEvents::postNotify(int code, int value) {
  if (!RegisterTable::isRecordAddress(value)) return;
  if (code == kNotifyEditGivenUp) givenUp_[value].store(true);
  if (code != kNotifyRegister) return;
  received_[value].store(true);
  notified_[value].store(true);
}

void ConsoleEvents::sendNotify(int code, int value) {
  if (code != kNotifyLinkStatus) return;
  const int previous = linkStatus_.exchange(value);
  if (previous == value || !showProgress_) return;
  if (static_cast<LinkStatus>(value) == LinkStatus::Connected) std::fputs("connected\n", stderr);
  else std::fputs("connecting\n", stderr);
}

MessageResult ConsoleEvents::messageBox(const std::string& text, const std::string& caption,
                                        MessageButtons buttons) {
  if (caption.empty())
    std::fprintf(stdout, "%s\n", text.c_str());
  else
    std::fprintf(stdout, "%s: %s\n", caption.c_str(), text.c_str());
  std::fflush(stdout);
  switch (buttons) {
    case MessageButtons::YesNo: return MessageResult::Yes;
    case MessageButtons::OkCancel:
    case MessageButtons::Ok: return MessageResult::Ok;
  }
  return MessageResult::Ok;
}

void ConsoleEvents::progressSetFormat(const std::string& format) {
  format_.store(std::make_shared<const std::string>(format));
}

void ConsoleEvents::progressSetValue(int value) {
  if (!showProgress_ || !shown_.load()) return;
  const auto format = format_.load();
  const std::string line = ProgressModel::text(*format, value, range_.load());
  std::fprintf(stderr, "\r%s", line.c_str());
}

void ConsoleEvents::progressHide() {
  if (shown_.exchange(false) && showProgress_) std::fputs("\n", stderr);
}

bool ConsoleEvents::takeNotified(int address) {
  return RegisterTable::isRecordAddress(address) && notified_[address].exchange(false);
}

bool ConsoleEvents::received(int address) const {
  return RegisterTable::isRecordAddress(address) && received_[address].load();
}

std::vector<int> ConsoleEvents::takeGivenUp() {
  std::vector<int> addresses;
  for (int a = 0; a < kRecordCount; ++a)
    if (givenUp_[a].exchange(false)) addresses.push_back(a);
  return addresses;
}

}  // namespace zr78
