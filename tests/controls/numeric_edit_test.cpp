#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "app/edit_kinds.h"
#include "controls/numeric_edit.h"
#include "decimal_comma_locale.h"
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
  void configure(EditRules rules, int value) {
    edit->setRules(std::move(rules));
    edit->setValue(value);
  }
  void configure(const char* format, int minimum, int maximum, int value) {
    configure(plainNumberRules(format, minimum, maximum), value);
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
  EditRules rules;
  const char* typed;
  int value;
  const char* shownAfter;
};

void PrintTo(const TypingCase& c, std::ostream* os) { *os << c.name; }

class EditTyping : public EditFixture, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(EditTyping, EnterStoresTheTypedValueNotifiesAndShowsIt) {
  const TypingCase& c = GetParam();
  configure(c.rules, c.rules.maximum);
  type(QString::fromUtf8(c.typed));
  EXPECT_EQ(edit->value(), c.value);
  ASSERT_FALSE(parent.messages.empty());
  EXPECT_EQ(parent.messages.back(), note(c.value));
  EXPECT_EQ(edit->editChild()->text(), QString::fromUtf8(c.shownAfter));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EditTyping,
    ::testing::Values(
        TypingCase{"Decibels", plainNumberRules("%0.0fdB", -3, 10), "-3dB", -3, "-3dB"},
        TypingCase{"LettersGiveZeroThenTheMinimum", plainNumberRules("%0.0fdB", 5, 10), "loud", 5, "5dB"},
        TypingCase{"GainOff", channelGainEdit(), "OFF", -60, "OFF"},
        TypingCase{"BalanceRight", balanceEdit(0, 20), "R3", 13, "R3"},
        TypingCase{"DelayMs", delayEdit(DelayUnit::Milliseconds), "0.5", 24, "0.500"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditFixture, KindsShowTheirTexts) {
  configure(channelGainEdit(), -60);
  EXPECT_EQ(edit->editChild()->text(), "OFF");
  configure(balanceEdit(0, 20), 10);
  EXPECT_EQ(edit->editChild()->text(), "Center");
  edit->setValue(7);
  EXPECT_EQ(edit->editChild()->text(), "L3");
  edit->setValue(13);
  EXPECT_EQ(edit->editChild()->text(), "R3");
  configure(delayEdit(DelayUnit::Milliseconds), 48);
  EXPECT_EQ(edit->editChild()->text(), "1.000");
  EXPECT_TRUE(parent.messages.empty()) << "values set by code are not notified";
}

TEST_F(EditFixture, FocusInAlwaysNotifiesFocusOutOnlyOnAChange) {
  configure("%0.0fdB", -10, 10, 4);
  edit->editChild()->setFocus();
  EXPECT_EQ(parent.messages, (std::vector<test::Recorded>{note(4)}));
  EXPECT_EQ(edit->colourState(), EditColour::kFocused);
  other->setFocus();
  EXPECT_EQ(parent.messages.size(), 1u) << "left unchanged";
  EXPECT_EQ(edit->colourState(), EditColour::kNormal);

  edit->editChild()->setFocus();
  edit->editChild()->selectAll();
  QTest::keyClicks(edit->editChild(), "7");
  other->setFocus();
  EXPECT_EQ(parent.messages, (std::vector<test::Recorded>{note(4), note(4), note(7)}));
  EXPECT_EQ(edit->value(), 7);
}

TEST_F(EditFixture, FocusingAnUntouchedFieldKeepsAValueItsTextCannotReadBack) {
  configure(balanceEdit(0, 20), 10);  // shows "Center", which reads as 0
  edit->editChild()->setFocus();
  other->setFocus();
  EXPECT_EQ(edit->value(), 10);
  EXPECT_EQ(parent.messages, (std::vector<test::Recorded>{note(10)}));
}

TEST_F(EditFixture, WheelAndArrowKeysStepAndNotifyEvenAtTheEnds) {
  configure("%0.0fdB", -10, 10, 10);
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
  configure("%0.0fdB", -10, 10, 3);
  edit->setInteractive(false);
  wheel(120);
  edit->editChild()->setFocus();
  parent.messages.clear();
  QTest::keyClick(edit->editChild(), Qt::Key_Up);
  EXPECT_EQ(edit->value(), 3);
  EXPECT_TRUE(parent.messages.empty());
}

TEST_F(EditFixture, FaceIsFilledFramedAndCarriesTheTextForThePanels) {
  configure("%0.0fdB", -10, 10, 3);
  edit->setStateColour(EditColour::kFrame, QColor(20, 20, 20));
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

// The field a user in a decimal-comma locale meets: Qt has set the process
// locale from the environment, and QLocale's default follows it. The field
// still shows and reads a decimal point.
TEST_F(EditFixture, ShowsAndReadsTheSameUnderADecimalCommaLocale) {
  test::DecimalCommaLocale locale;
  ASSERT_TRUE(locale.active()) << test::kNoDecimalCommaLocale;
  const QLocale previous;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  ASSERT_EQ(QLocale().decimalPoint(), QStringLiteral(","));
  struct Case {
    const char* name;
    EditRules rules;
    int value;
    const char* shown;
    const char* typed;
    int typedValue;
    const char* shownAfter;
  } cases[] = {
      {"ms", delayEdit(DelayUnit::Milliseconds), 48, "1.000", "1.5", 72, "1.500"},
      {"cm", delayEdit(DelayUnit::Centimetres), 72, "51.90", "34.6", 48, "34.60"},
      {"inch", delayEdit(DelayUnit::Inches), 72, "20.43", "13.62", 48, "13.62"},
      {"Hz", frequencyEdit("%0.0fHz", 19, 20000), 1000, "1000Hz", "1000.7Hz", 1000, "1000Hz"},
      {"Hz on the grid", gridFrequencyEdit(), 0, "19.7", "88.5", 79, "90.1"},
      {"Q", qEdit(), 51, "7.60", "1.5", 23, "1.50"},
      {"dB", bandGainEdit(), -35, "-3.5", "1.5", 15, "1.5"},
      {"dBu", thresholdEdit(), -300, "-30.0 dBu", "-12.5", -125, "-12.5 dBu"},
  };
  for (const Case& c : cases) {
    configure(c.rules, c.value);
    EXPECT_EQ(edit->editChild()->text(), QString::fromUtf8(c.shown)) << c.name;
    type(QString::fromUtf8(c.typed));
    EXPECT_EQ(edit->value(), c.typedValue) << c.name;
    EXPECT_EQ(edit->editChild()->text(), QString::fromUtf8(c.shownAfter)) << c.name;
  }
  edit->setRules(qEdit());
  edit->setValueFromNumber(1.5);
  EXPECT_EQ(edit->value(), 23);
  EXPECT_DOUBLE_EQ(edit->valueInDisplayUnits(), 1.5);
  QLocale::setDefault(previous);
}

}  // namespace
}  // namespace zr78
