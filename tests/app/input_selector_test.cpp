// The input selector in the main window: what it shows for the device's
// words, what a choice writes, USB only when the device offers it, and the
// "Mixer" button hidden while the device rebuilds the matrix.
#include <QAbstractItemView>

#include "app_fixture.h"
#include "controls/skin_combo_box.h"

namespace zr78::test {
namespace {

class InputSelectorTest : public AppFixture {
 protected:
  void SetUp() override {
    options_.mixerTiming.hiddenMs = 300;  // the real 3.5 s is checked on the timer itself
    ASSERT_TRUE(startConnected());
  }
  // Opens the list and clicks the item, as the user does.
  void choose(int item) {
    SkinComboBox* s = window().inputSelector();
    s->showPopup();
    QAbstractItemView* view = s->view();
    ASSERT_TRUE(waitUntil([&] { return view->isVisible(); }));
    const QRect r = view->visualRect(view->model()->index(item, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    settle();
  }
  SkinComboBox* selector() { return window().inputSelector(); }
  // The edit reaches the device (it was marked dirty). The keep-alive polls
  // 1234: a reply that overtakes the edit replaces it in the table, as the
  // worker's rule says, and the user's choice is made again.
  bool sentToDevice(int address, int32_t value, const std::function<void()>& again) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      waitUntil(
          [&] { return amp().reg(address) == value || table().getRegister(address) != value; });
      if (amp().reg(address) == value) return true;
      again();
    }
    return false;
  }
};

TEST_F(InputSelectorTest, ChoosingOptWritesFiveAndHidesMixerForAWhile) {
  deviceValue(1234, 3);
  choose(2);
  EXPECT_EQ(table().getRegister(1234), 5);
  EXPECT_FALSE(window().buttonVisible(kButtonMixer));
  EXPECT_FALSE(window().topButton(kButtonMixer)->isVisible());
  EXPECT_TRUE(window().mixerTimer().isActive());
  EXPECT_TRUE(sentToDevice(1234, 5, [&] { choose(2); }));
  EXPECT_TRUE(waitUntil([&] { return window().topButton(kButtonMixer)->isVisible(); }, 3000));
  EXPECT_FALSE(window().mixerTimer().isActive());
}

TEST_F(InputSelectorTest, MixerStaysHiddenThreeAndAHalfSeconds) {
  app_.reset();
  options_.mixerTiming = MixerTiming{};
  ASSERT_TRUE(startConnected());
  choose(0);
  EXPECT_TRUE(window().mixerTimer().isActive());
  EXPECT_EQ(window().mixerTimer().interval(), 3500);
  EXPECT_FALSE(window().topButton(kButtonMixer)->isVisible());
  EXPECT_TRUE(waitUntil([&] { return window().topButton(kButtonMixer)->isVisible(); }, 6000));
}

TEST_F(InputSelectorTest, UsbOnlyWhenTheDeviceOffersIt) {
  struct Case {
    const char* name;
    int32_t config;
    int32_t expected;
    bool refused;
  } cases[] = {{"USB audio available", 0x24, 7, false}, {"no USB audio", 0x04, 3, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    deviceValue(1234, 3);
    deviceConfiguration(c.config);
    ASSERT_EQ(table().getRegister(1248), c.config);
    BoxAnswerer boxes;
    choose(3);
    EXPECT_EQ(table().getRegister(1234), c.expected);
    ASSERT_EQ(boxes.seen().size(), c.refused ? 1u : 0u);
    if (c.refused) {
      EXPECT_EQ(boxes.seen()[0].text, "No USB connection!");
      EXPECT_EQ(boxes.seen()[0].title, "ZR-78-USB");
      EXPECT_EQ(selector()->displayedIndex(), 1);  // back to "hi level"
    } else {
      EXPECT_TRUE(sentToDevice(1234, 7, [&] { choose(3); }));
    }
    EXPECT_FALSE(window().buttonVisible(kButtonMixer));  // hidden either way
    waitUntil([&] { return window().buttonVisible(kButtonMixer); }, 3000);
  }
}

TEST_F(InputSelectorTest, DeviceWordsAndTheItemShown) {
  struct Case {
    int32_t word;
    int item;  // -1: none selected
    int32_t stored;
  } cases[] = {{2, 0, 2}, {3, 1, 3}, {5, 2, 5}, {7, 3, 7}, {4, -1, 4}, {1, -1, 1}, {9, 1, 3}};
  for (const auto& c : cases) {
    deviceValue(1234, c.word);
    EXPECT_EQ(selector()->curSel(), c.item) << c.word;
    if (c.item >= 0) {
      EXPECT_EQ(selector()->displayedIndex(), c.item) << c.word;
    }
    EXPECT_EQ(table().getRegister(1234), c.stored) << c.word;
    EXPECT_FALSE(table().dirty(1234)) << c.word;  // the replacement is not sent back
  }
}

}  // namespace
}  // namespace zr78::test
