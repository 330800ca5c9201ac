#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "controls/numeric_edit.h"
#include "message_recorder.h"

namespace zr78 {
namespace {

constexpr int ID = 10024;
constexpr int NOTE = 62;

struct EditFixture : ::testing::Test {
  void SetUp() override {
    other = new QLineEdit(&parent);
    other->setGeometry(200, 10, 50, 20);
    edit = new NumericEdit(ID, &parent);
    edit->setGeometry(10, 10, 60, 20);
    edit->setBackgroundSource(&parent.surface);
    edit->setAppearance(14, "Arial Bold", QColor(186, 194, 208));
    edit->setNotificationValue(NOTE);
    parent.show();
    parent.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
    other->setFocus();
    parent.messages.clear();
  }
  void configure(int kind, const char* format, int minimum, int maximum, int value) {
    edit->setDisplay(EditDisplay{kind, format, minimum, maximum, 1});
    edit->setValue(value);
  }
  // Focus into the field, replace its text, press Enter.
  void type(const QString& text) {
    edit->editChild()->setFocus();
    edit->editChild()->selectAll();
    QTest::keyClicks(edit->editChild(), text);
    QTest::keyClick(edit->editChild(), Qt::Key_Return);
  }
  void wheel(int delta) {
    const QPointF at(30, 10);
    QWheelEvent e(at, edit->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(edit->editChild(), &e);
  }
  test::Recorded note(int value) const { return {ID, NOTE, value}; }

  test::MessageRecorder parent;
  QLineEdit* other = nullptr;
  NumericEdit* edit = nullptr;
};

struct TypingCase {
  const char* name;
  int kind;
  const char* format;
  int minimum, maximum;
  const char* typed;
  int value;
  const char* shownAfter;
};

class EditTyping : public EditFixture, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(EditTyping, EnterStoresTheTypedValueNotifiesAndShowsIt) {
  const TypingCase& c = GetParam();
  configure(c.kind, c.format, c.minimum, c.maximum, c.maximum);
  type(QString::fromUtf8(c.typed));
  EXPECT_EQ(edit->value(), c.value);
  ASSERT_FALSE(parent.messages.empty());
  EXPECT_EQ(parent.messages.back(), note(c.value));
  EXPECT_EQ(edit->editChild()->text(), QString::fromUtf8(c.shownAfter));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EditTyping,
    ::testing::Values(TypingCase{"Decibels", 0, "%0.0fdB", -3, 10, "-3dB", -3, "-3dB"},
                      TypingCase{"LettersGiveZeroThenTheMinimum", 0, "%0.0fdB", 5, 10, "loud", 5, "5dB"},
                      TypingCase{"GainOff", 7, "%0.0fdB", -60, 0, "OFF", -60, "OFF"},
                      TypingCase{"BalanceRight", 1, "%0.0f", 0, 20, "R3", 13, "R3"},
                      TypingCase{"DelayMs", 8, "%0.3f", 0, 960, "0.5", 24, "0.500"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditFixture, KindsShowTheirTexts) {
  configure(7, "%0.0fdB", -60, 0, -60);
  EXPECT_EQ(edit->editChild()->text(), "OFF");
  configure(1, "%0.0f", 0, 20, 10);
  EXPECT_EQ(edit->editChild()->text(), "Center");
  edit->setValue(7);
  EXPECT_EQ(edit->editChild()->text(), "L3");
  edit->setValue(13);
  EXPECT_EQ(edit->editChild()->text(), "R3");
  configure(8, "%0.3f", 0, 960, 48);
  EXPECT_EQ(edit->editChild()->text(), "1.000");
  EXPECT_TRUE(parent.messages.empty()) << "values set by code are not notified";
}

TEST_F(EditFixture, FocusInAlwaysNotifiesFocusOutOnlyOnAChange) {
  configure(0, "%0.0fdB", -10, 10, 4);
  edit->editChild()->setFocus();
  EXPECT_EQ(parent.messages, (std::vector<test::Recorded>{note(4)}));
  EXPECT_EQ(edit->colourState(), 1);
  other->setFocus();
  EXPECT_EQ(parent.messages.size(), 1u) << "left unchanged";
  EXPECT_EQ(edit->colourState(), 0);

  edit->editChild()->setFocus();
  edit->editChild()->selectAll();
  QTest::keyClicks(edit->editChild(), "7");
  other->setFocus();
  EXPECT_EQ(parent.messages, (std::vector<test::Recorded>{note(4), note(4), note(7)}));
  EXPECT_EQ(edit->value(), 7);
}

TEST_F(EditFixture, FocusingAnUntouchedFieldKeepsAValueItsTextCannotReadBack) {
  configure(1, "%0.0f", 0, 20, 10);  // shows "Center", which reads as 0
  edit->editChild()->setFocus();
  other->setFocus();
  EXPECT_EQ(edit->value(), 10);
  EXPECT_EQ(parent.messages, (std::vector<test::Recorded>{note(10)}));
}

TEST_F(EditFixture, WheelAndArrowKeysStepAndNotifyEvenAtTheEnds) {
  configure(0, "%0.0fdB", -10, 10, 10);
  wheel(120);
  EXPECT_EQ(edit->value(), 10);
  EXPECT_EQ(parent.messages, (std::vector<test::Recorded>{note(10)}));
  wheel(-120);
  EXPECT_EQ(edit->value(), 9);
  edit->editChild()->setFocus();
  parent.messages.clear();
  QTest::keyClick(edit->editChild(), Qt::Key_Down);
  QTest::keyClick(edit->editChild(), Qt::Key_Down);
  QTest::keyClick(edit->editChild(), Qt::Key_Up);
  EXPECT_EQ(parent.messages, (std::vector<test::Recorded>{note(8), note(7), note(8)}));
  EXPECT_EQ(edit->editChild()->text(), "8dB");
}

TEST_F(EditFixture, ReadOnlyFieldIgnoresWheelAndKeys) {
  configure(0, "%0.0fdB", -10, 10, 3);
  edit->setInteractive(false);
  wheel(120);
  edit->editChild()->setFocus();
  parent.messages.clear();
  QTest::keyClick(edit->editChild(), Qt::Key_Up);
  EXPECT_EQ(edit->value(), 3);
  EXPECT_TRUE(parent.messages.empty());
}

TEST_F(EditFixture, FaceIsFilledFramedAndCarriesTheTextForThePanels) {
  configure(0, "%0.0fdB", -10, 10, 3);
  edit->setStateColour(2, QColor(20, 20, 20));
  const QImage face = edit->composedImage();
  EXPECT_EQ(face.pixelColor(0, 0), QColor(20, 20, 20));
  EXPECT_EQ(face.pixelColor(2, 2), QColor(73, 72, 72));
  bool inked = false;
  for (int x = 0; x < face.width(); ++x) inked |= face.pixelColor(x, 10).red() > 120;
  EXPECT_TRUE(inked);
  edit->setValueFromNumber(-2.4);
  EXPECT_EQ(edit->value(), -2);
  EXPECT_TRUE(parent.messages.empty());
}

}  // namespace
}  // namespace zr78
