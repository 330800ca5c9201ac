#include <QAbstractItemView>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include "controls/skin_combo_box.h"
#include "message_recorder.h"

namespace zr78 {
namespace {

constexpr int ID = 16124;

// Layout 3 skin: frame 0 dark blue, frame 1 (focused) orange.
QImage testSkin() {
  QImage img(2 * 109, 24, QImage::Format_ARGB32_Premultiplied);
  QPainter p(&img);
  p.fillRect(0, 0, 109, 24, QColor(0, 0, 90));
  p.fillRect(109, 0, 109, 24, QColor(255, 140, 0));
  return img;
}

struct ComboFixture : ::testing::Test {
  void SetUp() override {
    combo = new SkinComboBox(ID, &parent);
    combo->setGeometry(10, 10, 109, 24);
    combo->setUp(&parent.surface, testSkin(), 3);
    combo->setNotificationValue(3);
    for (const char* item : {"BT", "hi level", "OPT", "USB"}) combo->addItem(item);
    parent.show();
    parent.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
  }
  test::MessageRecorder parent;
  SkinComboBox* combo = nullptr;
};

TEST_F(ComboFixture, SetCurSelChangesOnlyTheDisplayedItem) {
  combo->setCurrentIndex(1);
  combo->setCurSel(2);
  EXPECT_EQ(combo->displayedText(), "OPT");
  EXPECT_EQ(combo->curSel(), 1) << "the list keeps its own selection";
  combo->setCurSel(0x10000 | 3);  // only the low 16 bits count
  EXPECT_EQ(combo->displayedIndex(), 3);
  EXPECT_TRUE(parent.delivered().empty()) << "a set from code is not a selection change";
}

TEST_F(ComboFixture, DisplayedIndexOutsideTheListShowsItemZero) {
  combo->setCurSel(7);
  EXPECT_EQ(combo->displayedText(), "BT");
  combo->setCurSel(0xFFFF);
  EXPECT_EQ(combo->displayedText(), "BT");
}

TEST_F(ComboFixture, UserSelectionShowsTheListSelectionAndPostsTheNotificationValue) {
  combo->setFocus();
  combo->setCurSel(3);
  QTest::keyClick(combo, Qt::Key_Down);  // list moves from 0 to 1
  EXPECT_EQ(combo->displayedText(), "hi level");
  EXPECT_EQ(parent.delivered(), (std::vector<test::Recorded>{{ID, 3, 3}}));
}

TEST_F(ComboFixture, FaceUsesTheFocusedFrameWhileFocused) {
  combo->clearFocus();
  EXPECT_FALSE(combo->focused());
  EXPECT_EQ(combo->composedImage().pixelColor(100, 20), QColor(0, 0, 90));
  combo->setFocus();
  EXPECT_TRUE(combo->focused());
  EXPECT_EQ(combo->composedImage().pixelColor(100, 20), QColor(255, 140, 0));
}

TEST_F(ComboFixture, DisabledOrHiddenControlSwallowsClicksAndHiddenShowsOnlyTheBackground) {
  combo->setEnabled(false);
  QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(50, 12));
  EXPECT_FALSE(combo->view()->isVisible());
  combo->setEnabled(true);
  combo->hide();
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(50, 12), combo->mapToGlobal(QPointF(50, 12)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(combo, &press);
  EXPECT_FALSE(combo->view()->isVisible());
  EXPECT_EQ(combo->composedImage().pixelColor(100, 20), QColor(73, 72, 72));
}

TEST_F(ComboFixture, ClickDropsDownTheList) {
  QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(50, 12));
  EXPECT_TRUE(combo->view()->isVisible());
  combo->hidePopup();
}

TEST(ComboLayouts, ScaleFollowsTheWidthAndTheSkinFillsTheScaledLayout) {
  test::MessageRecorder parent;
  SkinComboBox combo(ID, &parent);
  combo.setGeometry(0, 0, 218, 48);
  combo.setUp(&parent.surface, testSkin(), 3);
  combo.addItem("USB");
  const QImage face = combo.composedImage();
  EXPECT_EQ(face.pixelColor(210, 44), QColor(0, 0, 90)) << "skin stretched to twice its size";
  EXPECT_EQ(comboLayout(9).width, comboLayout(0).width) << "unknown layouts fall back to 0";
}

}  // namespace
}  // namespace zr78
