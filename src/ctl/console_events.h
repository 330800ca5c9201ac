// LinkEvents for programs without a window: progress on stderr, messages
// printed, every message box answered with its first button. Remembers the
// registers the worker reported, so a caller can wait for fresh values, and
// the edits it gave up.
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "sync/link_events.h"
#include "registers/register_table.h"

namespace zr78 {

class ConsoleEvents final : public LinkEvents {
 public:
  explicit ConsoleEvents(bool showProgress = true) : showProgress_(showProgress) {}

  void postNotify(int code, int value) override;
  void sendNotify(int code, int value) override;
  MessageResult messageBox(const std::string& text, const std::string& caption,
                           MessageButtons buttons) override;
  void progressSetRange(int range) override { range_.store(range > 0 ? range : 1); }
  void progressSetFormat(const std::string& format) override;
  void progressSetValue(int value) override;
  void progressShow() override { shown_.store(true); }
  void progressHide() override;
  void setTitle(const std::string&) override {}

  // Registers reported (code 0) since the last take.
  bool takeNotified(int address);
  // Reported at least once since the start (the register was read).
  bool received(int address) const;
  // Edits given up since the last take, in address order.
  std::vector<int> takeGivenUp();
  int linkStatus() const { return linkStatus_.load(); }

 private:
  bool showProgress_;
  std::atomic<int> range_{1};
  std::atomic<bool> shown_{false};
  std::atomic<int> linkStatus_{-1};
  std::atomic<std::shared_ptr<const std::string>> format_{std::make_shared<const std::string>()};
  std::array<std::atomic<bool>, kRecordCount> notified_{};
  std::array<std::atomic<bool>, kRecordCount> received_{};
  std::array<std::atomic<bool>, kRecordCount> givenUp_{};
};

}  // namespace zr78
