// UiLinkEvents on its own, between a worker thread and the UI thread: the
// calls reach the window in call order, a sent notification returns only
// after the window has handled it, a worker's box returns the user's answer,
// and once stopping has begun no call waits for the UI, even one that starts
// after the stop.
#include <QWidget>
#include <atomic>
#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "app/progress_window.h"
#include "app/ui_link_events.h"
#include "app/ui_message_box.h"
#include "app_fixture.h"
#include "controls/window_message.h"
#include "controls/window_messages.h"

namespace zr78::test {
namespace {

// A window that records the MSG_DEVICE_NOTIFY it receives, and what the
// progress window showed when the link status arrived.
class NotifyRecorder final : public QWidget {
 public:
  NotifyRecorder() {
    table_.on(MSG_DEVICE_NOTIFY, [this](const WindowMessage& m) {
      seen.emplace_back(static_cast<int>(m.wParam()), static_cast<int>(m.lParam()));
      if (m.wParam() == kNotifyLinkStatus) {
        progressAtStatus = progress != nullptr ? progress->text() : QString();
        statusHandled.store(true);
      }
      handled.fetch_add(1);
      return qintptr{0};
    });
  }
  bool event(QEvent* e) override { return table_.dispatch(e) || QWidget::event(e); }

  std::vector<std::pair<int, int>> seen;  // UI thread
  ProgressWindow* progress = nullptr;
  QString progressAtStatus;               // UI thread
  std::atomic<bool> statusHandled{false};
  std::atomic<int> handled{0};

 private:
  MessageTable table_;
};

class UiLinkEventsTest : public ::testing::Test {
 protected:
  UiLinkEventsTest() {
    window_.setWindowTitle("ZR-78-USB");
    window_.progress = &progress_;
    events_.attach(&window_, &messages_, &progress_);
  }

  NotifyRecorder window_;
  UiMessageBox messages_{&window_};
  ProgressWindow progress_{&window_};
  UiLinkEvents events_;
};

TEST_F(UiLinkEventsTest, CallsArriveInCallOrderAndASentOneWaitsForTheWindow) {
  std::atomic<bool> handledBeforeReturn{false};
  std::atomic<bool> done{false};
  std::thread worker([&] {
    for (int a = 0; a < 100; ++a) events_.postNotify(kNotifyRegister, a);
    events_.progressSetRange(200);
    events_.progressSetFormat("Read Device Data:%5.0f %%");
    events_.progressSetValue(50);
    events_.sendLinkStatus(LinkStatus::Connected);
    handledBeforeReturn.store(window_.statusHandled.load());
    events_.postNotify(kNotifyRegister, 100);
    done.store(true);
  });
  ASSERT_TRUE(waitUntil([&] { return done.load() && window_.handled.load() == 102; }));
  worker.join();

  std::vector<std::pair<int, int>> expected;
  for (int a = 0; a < 100; ++a) expected.emplace_back(kNotifyRegister, a);
  expected.emplace_back(kNotifyLinkStatus, static_cast<int>(LinkStatus::Connected));
  expected.emplace_back(kNotifyRegister, 100);
  EXPECT_EQ(window_.seen, expected);
  EXPECT_TRUE(handledBeforeReturn.load());
  EXPECT_EQ(window_.progressAtStatus, "Read Device Data:   25 %");
  EXPECT_EQ(events_.waitingCalls(), 0);
}

TEST_F(UiLinkEventsTest, AWorkerBoxReturnsTheUsersAnswer) {
  BoxAnswerer boxes(QMessageBox::Ok);
  std::atomic<int> answer{-1};
  std::thread worker([&] {
    answer.store(static_cast<int>(events_.messageBox("Store?", "", MessageButtons::OkCancel)));
  });
  ASSERT_TRUE(waitUntil([&] { return answer.load() != -1; }));
  worker.join();
  EXPECT_EQ(static_cast<MessageResult>(answer.load()), MessageResult::Ok);
  ASSERT_EQ(boxes.seen().size(), 1u);
  EXPECT_EQ(boxes.seen()[0].text, "Store?");
  EXPECT_EQ(boxes.seen()[0].title, "ZR-78-USB");  // empty caption: the window's title
}

// The worker keeps sending while the UI stops; from the stop on the UI runs
// no more events, so any call that still waited for it would never return
// and the join would hang.
TEST_F(UiLinkEventsTest, NoCallWaitsOnceStoppingHasBegun) {
  std::atomic<MessageResult> afterStop{MessageResult::Ok};
  std::atomic<bool> ended{false};
  std::thread worker([&] {
    while (!events_.stopping()) events_.sendNotify(kNotifyRegister, 1);
    for (int i = 0; i < 100; ++i) events_.sendNotify(kNotifyRegister, 2);
    afterStop.store(events_.messageBox("Store?", "", MessageButtons::YesNo));
    ended.store(true);
  });
  ASSERT_TRUE(waitUntil([&] { return window_.handled.load() > 50; }));
  events_.beginStopping();
  // Without event processing only the stop can end the worker's calls. The
  // bound only turns a hang into a failure.
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!ended.load() && std::chrono::steady_clock::now() < giveUp)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_TRUE(ended.load()) << "a call waited for the UI after the stop";
  waitUntil([&] { return ended.load(); });  // a stuck call's job runs, so the join ends
  worker.join();
  EXPECT_EQ(afterStop.load(), MessageResult::No);  // a question left unanswered is No
  EXPECT_EQ(events_.waitingCalls(), 0);
}

}  // namespace
}  // namespace zr78::test
