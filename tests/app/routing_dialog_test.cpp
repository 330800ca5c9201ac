// The mixer opened from the "Mixer" button under its opening rule, its
// labels by input source, and the route words its switches, boxes and
// faders write.
#include <set>

#include "channel_fixture.h"
#include "controls/skin_label.h"

namespace zr78::test {
namespace {

class RoutingDialogTest : public ChannelFixture {
 protected:
  // Clicks "Mixer"; `act` runs inside the dialog if it opens, then closes it.
  bool runMixer(const std::function<void(RoutingDialog&)>& act) {
    WhenModal<RoutingDialog> inside([&](RoutingDialog& d) {
      act(d);
      d.close();
    });
    click(window().topButton(kButtonMixer));
    waitUntil([&] { return inside.ran() && QApplication::activeModalWidget() == nullptr; }, 3000);
    settle();
    return inside.ran();
  }
  // MSG_DEVICE_NOTIFY code 0 for the routing registers reaching the window.
  struct RouteRefreshes : QObject {
    std::set<int> seen;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == WindowMessage::eventType()) {
        const auto* m = static_cast<WindowMessage*>(e);
        if (m->message() == MSG_DEVICE_NOTIFY && m->wParam() == 0 && m->lParam() >= 1614 &&
            m->lParam() <= 1677)
          seen.insert(static_cast<int>(m->lParam()));
      }
      return false;
    }
  };
};

TEST_F(RoutingDialogTest, OpensForHiAndLowLevelInputsWithTheirLabels) {
  struct Case {
    int32_t configuration, source;
    const char* firstRow;
  } cases[] = {{0x24, 3, "High1"}, {0x03, 4, "Low1"}};
  for (const Case& c : cases) {
    deviceConfiguration(c.configuration);
    deviceValue(1234, c.source);
    RouteRefreshes refreshes;
    window().installEventFilter(&refreshes);
    QStringList rows, columns;
    int rowCount = 0;
    const bool opened = runMixer([&](RoutingDialog& d) {
      rowCount = d.rowCount();
      for (int i = 0; i < 4; ++i) rows << d.label(i)->text();
      for (int o = 0; o < 8; ++o) columns << d.label(12 + o)->text();
      EXPECT_EQ(d.label(4)->isVisible(), false);
      EXPECT_EQ(d.levelBox(0, 4), nullptr);
    });
    window().removeEventFilter(&refreshes);
    ASSERT_TRUE(opened) << c.firstRow;
    EXPECT_EQ(rowCount, 4);
    EXPECT_EQ(rows.front(), c.firstRow);
    EXPECT_EQ(rows.back(), QString(c.firstRow).replace('1', '4'));
    EXPECT_EQ(columns.front(), "OutCh1");
    EXPECT_EQ(columns.back(), "OutCh8");
    EXPECT_EQ(refreshes.seen.size(), 64u) << "every routing register is refreshed after the dialog";
  }
}

TEST_F(RoutingDialogTest, RefusesOtherSourcesAndConfigurations) {
  struct Case {
    int32_t configuration, source;
  } cases[] = {{0x24, 7}, {0x22, 3}, {0x24, 2}};
  for (const Case& c : cases) {
    deviceConfiguration(c.configuration);
    deviceValue(1234, c.source);
    BoxAnswerer boxes;
    RouteRefreshes refreshes;
    window().installEventFilter(&refreshes);
    WhenModal<RoutingDialog> opened([](RoutingDialog& d) { d.close(); });
    click(window().topButton(kButtonMixer));
    ASSERT_TRUE(waitUntil([&] { return boxes.seen().size() == 1 && refreshes.seen.size() == 64; }));
    window().removeEventFilter(&refreshes);
    EXPECT_FALSE(opened.ran()) << c.configuration << " " << c.source;
    EXPECT_EQ(boxes.seen()[0].text, "The current input routing function of the device cannot be used!");
    EXPECT_EQ(refreshes.seen.size(), 64u);
  }
}

TEST_F(RoutingDialogTest, CellsWriteTheirRouteWords) {
  deviceConfiguration(0x24);
  deviceValue(1234, 3);
  deviceValues({{1614 + 8 * 5 + 3, 25600}});  // output 6, input 4: level 100, off
  ASSERT_TRUE(runMixer([&](RoutingDialog& d) {
    EXPECT_EQ(d.registerOfCell(RoutingDialog::cellOf(2, 1)), 1631);
    EXPECT_EQ(d.registerOfCell(RoutingDialog::cellOf(8, 1)), -1);
    EXPECT_EQ(d.levelBox(5, 3)->value(), 100);
    EXPECT_EQ(d.levelFader(5, 3)->position(), 100);
    EXPECT_EQ(d.routeSwitch(5, 3)->state(), ButtonState::kReleased);

    type(d.levelBox(2, 1), "75");
    EXPECT_EQ(d.levelFader(2, 1)->position(), 75);
    click(d.routeSwitch(2, 1));
    EXPECT_EQ(reg(1631), 0x4B01);
    click(d.routeSwitch(2, 1));
    EXPECT_EQ(reg(1631), 0x4B00);
    type(d.levelBox(2, 1), "140");  // clamped by the box
    EXPECT_EQ(reg(1631), 100 << 8);

    // The fader, stepped by its keys, moves the box and writes.
    Fader* f = d.levelFader(0, 0);
    f->setFocus();
    QTest::keyClick(f, Qt::Key_Up);
    QTest::keyClick(f, Qt::Key_Up);
    settle();
    EXPECT_EQ(d.levelBox(0, 0)->value(), f->position());
    EXPECT_EQ(reg(1614), (f->position() << 8) | (d.routeSwitch(0, 0)->state() == ButtonState::kPressed));
  }));
}

}  // namespace
}  // namespace zr78::test
