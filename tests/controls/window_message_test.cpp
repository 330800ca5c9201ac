#include <QCoreApplication>

#include <gtest/gtest.h>

#include "controls/window_messages.h"
#include "message_recorder.h"

namespace zr78 {
namespace {

TEST(WindowMessage, SendIsSynchronousAndReturnsTheHandlersResult) {
  QObject target;
  MessageTable table;
  int seen = 0;
  table.on(MSG_PANEL_EDIT, [&](const WindowMessage& m) {
    seen = static_cast<int>(m.wParam() * 100 + m.lParam());
    return qintptr{42};
  });
  struct Target : QObject {
    MessageTable* t;
    bool event(QEvent* e) override { return t->dispatch(e) || QObject::event(e); }
  } window;
  window.t = &table;
  EXPECT_EQ(sendMessage(&window, MSG_PANEL_EDIT, 3, 7), 42);
  EXPECT_EQ(seen, 307);
  EXPECT_EQ(sendMessage(&window, MSG_LINK_RESYNC, 0, 0), 0) << "no row for it";
  EXPECT_EQ(sendMessage(nullptr, MSG_PANEL_EDIT, 0, 0), 0);
}

TEST(WindowMessage, PostIsQueuedUntilTheEventLoopRuns) {
  test::MessageRecorder parent;
  postMessage(&parent, MSG_DEVICE_NOTIFY, 0, 1614);
  EXPECT_TRUE(parent.messages.empty());
  QCoreApplication::sendPostedEvents(&parent, WindowMessage::eventType());
  ASSERT_EQ(parent.messages.size(), 1u);
  EXPECT_EQ(parent.messages[0], (test::Recorded{MSG_DEVICE_NOTIFY, 0, 1614}));
}

TEST(WindowMessage, FirstMatchingRowWinsSoSpecificRowsShadowRanges) {
  MessageTable table;
  std::vector<std::pair<char, int>> calls;
  table.on(MSG_TOP_BUTTON + 2, [&](const WindowMessage& m) { calls.push_back({'s', m.message()}); return qintptr{1}; })
      .onRange(MSG_TOP_BUTTON, MSG_TOP_BUTTON + MSG_TOP_BUTTON_COUNT - 1,
               [&](const WindowMessage& m) { calls.push_back({'r', m.message()}); return qintptr{2}; });
  for (int j : {0, 2, 11, 12}) {
    WindowMessage m(MSG_TOP_BUTTON + j, 0, j);
    table.dispatch(&m);
  }
  const std::vector<std::pair<char, int>> expected = {
      {'r', MSG_TOP_BUTTON}, {'s', MSG_TOP_BUTTON + 2}, {'r', MSG_TOP_BUTTON + 11}};
  EXPECT_EQ(calls, expected);
  QEvent other(QEvent::User);
  EXPECT_FALSE(table.dispatch(&other));
}

}  // namespace
}  // namespace zr78
