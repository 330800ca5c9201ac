// The "System" page's device memories and noise gate against the virtual
// amplifier, with real clicks and keys: the slot shown first, asking a
// slot's name, storing a name as the device keeps it, refusing names the
// device cannot hold, recalling a mode, and the noise gate's positions.
#include <QStyle>
#include <QStyleOptionSpinBox>

#include "app/modes_page_rules.h"
#include "channels/noise_gate.h"
#include "controls/level_slider.h"
#include "link/frame_format.h"
#include "link/link_state.h"
#include "settings_fixture.h"

namespace zr78::test {
namespace {

class ModesPageTest : public SettingsFixture {
 protected:
  void SetUp() override { ASSERT_TRUE(startConnected()); }

  bool nameShown(const QString& name) {
    return waitUntil([&] { return modes().nameField()->text() == name; });
  }
  // A real click on the noise gate's up or down arrow.
  void clickArrow(QAbstractSpinBox::StepEnabledFlag arrow) {
    QSpinBox* field = modes().noiseGateField();
    QStyleOptionSpinBox option;
    option.initFrom(field);
    option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
    option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
    const QRect rect = field->style()->subControlRect(
        QStyle::CC_SpinBox, &option,
        arrow == QAbstractSpinBox::StepUpEnabled ? QStyle::SC_SpinBoxUp : QStyle::SC_SpinBoxDown, field);
    click(field, rect.center());
  }
};

TEST_F(ModesPageTest, OpensOnTheCurrentModeAndShowsItsName) {
  const struct {
    int32_t currentMode;
    int item;
  } cases[] = {{5, 4}, {1, 0}, {6, 5}, {0, 0}, {9, 0}};
  for (int mode = 1; mode <= 6; ++mode) amp().setModeName(mode, "Memory " + std::to_string(mode));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.currentMode);
    deviceValue(kActiveModeRegister, c.currentMode);
    ASSERT_NE(openSettings(), nullptr);
    QComboBox* selector = modes().slotSelector();
    ASSERT_EQ(selector->count(), 6);
    EXPECT_EQ(selector->itemText(0), "1-USER");
    EXPECT_EQ(selector->itemText(5), "6-USER");
    EXPECT_EQ(selector->currentIndex(), c.item);
    EXPECT_TRUE(nameShown(QStringLiteral("Memory %1").arg(c.item + 1)));
    settings().close();
    ASSERT_TRUE(waitUntil([&] { return openSettingsWindow(window()) == nullptr; }));
  }
}

// Only "Load" changes the device's mode: a new slot asks its name and nothing
// else reaches the device.
TEST_F(ModesPageTest, ChoosingASlotAsksItsNameWithoutChangingTheMode) {
  deviceValue(kActiveModeRegister, 1);
  amp().setModeName(3, "Door");
  ASSERT_NE(openSettings(), nullptr);
  ASSERT_TRUE(nameShown("Mode 1"));
  const auto before = amp().registers();
  amp().resetCounters();
  choose(modes().slotSelector(), 2);
  EXPECT_TRUE(nameShown("Door"));
  EXPECT_GE(amp().framesReceived(CMD_READ_MODE_NAME), 1);
  EXPECT_EQ(amp().framesReceived(CMD_RECALL_MODE), 0);
  EXPECT_EQ(amp().framesReceived(CMD_WRITE_MODE_NAME), 0);
  EXPECT_EQ(amp().registers(), before);
  EXPECT_EQ(table().getRegister(kActiveModeRegister), 1);
}

// The device keeps 20 characters without trailing blanks; the page shows
// what it reads back.
TEST_F(ModesPageTest, SaveStoresTheNameAsTheDeviceKeepsIt) {
  const struct {
    int slot;
    QString typed;
    std::string stored;
    QString shown;
  } cases[] = {
      {2, "A name longer than twenty characters", "A name longer than t", "A name longer than t"},
      {4, "12345678901234567890", "12345678901234567890", "12345678901234567890"},
      {1, "Bass  ", "Bass", "Bass"},
      {6, "   ", "", " "},
  };
  ASSERT_NE(openSettings(), nullptr);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed.toStdString());
    choose(modes().slotSelector(), c.slot - 1);
    ASSERT_TRUE(nameShown(QStringLiteral("Mode %1").arg(c.slot)));
    type(modes().nameField(), c.typed);
    BoxAnswerer boxes;
    press(modes().saveButton());
    ASSERT_TRUE(waitUntil([&] { return !boxes.seen().empty(); }));
    EXPECT_EQ(boxes.seen()[0].text, "Save successfully!");
    EXPECT_EQ(boxes.seen()[0].title, "ZR-78-USB");
    EXPECT_EQ(amp().modeName(c.slot), c.stored);
    EXPECT_TRUE(nameShown(c.shown)) << modes().nameField()->text().toStdString();
  }
}

TEST_F(ModesPageTest, NameTheDeviceCannotHoldIsRefused) {
  ASSERT_NE(openSettings(), nullptr);
  ASSERT_TRUE(nameShown("Mode 3"));
  for (const QString& typed : {QStringLiteral("Café"), QStringLiteral("低音")}) {
    SCOPED_TRACE(typed.toStdString());
    type(modes().nameField(), typed);
    ASSERT_EQ(modes().nameField()->text(), typed);
    amp().resetCounters();
    BoxAnswerer boxes;
    press(modes().saveButton());
    ASSERT_EQ(boxes.seen().size(), 1u);
    EXPECT_EQ(boxes.seen()[0].text, "Type in the name does not support.");
    EXPECT_EQ(boxes.seen()[0].title, "ZR-78-USB");
    QTest::qWait(200);
    EXPECT_FALSE(session().worker.requestRaised(kSlotWriteModeName));
    EXPECT_EQ(amp().framesReceived(CMD_WRITE_MODE_NAME), 0);
    EXPECT_EQ(amp().modeName(3), "Mode 3");
  }
}

// A name arriving while the user types into the field waits until the field
// loses the focus.
TEST_F(ModesPageTest, ArrivingNameLeavesTheFieldAloneWhileItIsTypedInto) {
  ASSERT_NE(openSettings(), nullptr);
  ASSERT_TRUE(nameShown("Mode 3"));
  type(modes().nameField(), "Bas");
  amp().setModeName(3, "Door");  // named meanwhile by another tool
  session().worker.requestModeName(3);
  ASSERT_TRUE(waitUntil([&] { return session().state.modeNameReceived.load() != 0; }));
  QTest::qWait(2 * kModeNameTimerMs);
  EXPECT_EQ(modes().nameField()->text(), "Bas");
  modes().saveButton()->setFocus();
  EXPECT_TRUE(nameShown("Door"));
}

// The field shows the selected slot's name, whichever mode's name arrived last.
TEST_F(ModesPageTest, TheFieldShowsTheSelectedSlotsName) {
  ASSERT_NE(openSettings(), nullptr);
  ASSERT_TRUE(nameShown("Mode 3"));
  modes().nameField()->setFocus();  // holds the arriving name back until the reply is in
  session().worker.requestModeName(5);
  ASSERT_TRUE(waitUntil([&] { return session().state.modeNameReceived.load() != 0; }));
  modes().saveButton()->setFocus();
  ASSERT_TRUE(waitUntil([&] { return session().state.modeNameReceived.load() == 0; }));
  EXPECT_EQ(modes().nameField()->text(), "Mode 3");
}

// After "Load" the device holds the recalled mode, and the page and the main
// window show its parameters.
TEST_F(ModesPageTest, LoadRecallsTheModeAndEveryControlShowsIt) {
  deviceValue(kNoiseGateRegister, 23);
  deviceValue(kFirstVolumeRegister, 580);  // -20 dB
  ASSERT_NE(openSettings(), nullptr);
  choose(modes().slotSelector(), 3);
  type(modes().nameField(), "Stage");
  {
    BoxAnswerer boxes;
    press(modes().saveButton());
    ASSERT_TRUE(waitUntil([&] { return !boxes.seen().empty(); }));
    ASSERT_EQ(boxes.seen()[0].text, "Save successfully!");
  }
  EXPECT_EQ(amp().modeImage(4)[kNoiseGateRegister], 23);

  deviceValue(kNoiseGateRegister, 184);
  deviceValue(kFirstVolumeRegister, 540);
  EXPECT_EQ(modes().noiseGateField()->value(), 19);
  EXPECT_EQ(window().volumeSlider()->sliderValue(), -60);

  amp().resetCounters();
  BoxAnswerer boxes;
  press(modes().loadButton());
  ASSERT_TRUE(waitUntil([&] {
    return amp().reg(kActiveModeRegister) == 4 && modes().noiseGateField()->value() == 14 &&
           window().volumeSlider()->sliderValue() == -20;
  }));
  EXPECT_EQ(amp().framesReceived(CMD_RECALL_MODE), 1);
  EXPECT_EQ(table().getRegister(kNoiseGateRegister), 23);
  EXPECT_TRUE(waitUntil([&] { return table().getRegister(kActiveModeRegister) == 4; }));
  EXPECT_TRUE(boxes.seen().empty());
}

TEST_F(ModesPageTest, NoiseGateShowsTheFirstPositionNotBelowTheRegister) {
  const struct {
    int32_t value;
    int position;
  } cases[] = {{20, 14}, {23, 14}, {0, 0}, {1, 1}, {327, 20}, {328, 0}, {4000, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    deviceValue(kNoiseGateRegister, c.value);
    ASSERT_NE(openSettings(), nullptr);
    EXPECT_EQ(modes().noiseGateField()->value(), c.position);
    settings().close();
    ASSERT_TRUE(waitUntil([&] { return openSettingsWindow(window()) == nullptr; }));
  }
}

// The up-down moves one position and writes that position's value; the ends
// hold.
TEST_F(ModesPageTest, NoiseGateUpDownWritesTheTableValue) {
  deviceValue(kNoiseGateRegister, 20);
  ASSERT_NE(openSettings(), nullptr);
  QSpinBox* field = modes().noiseGateField();
  clickArrow(QAbstractSpinBox::StepUpEnabled);
  EXPECT_EQ(field->value(), 15);
  EXPECT_TRUE(waitUntil([&] { return amp().reg(kNoiseGateRegister) == 29; }));
  clickArrow(QAbstractSpinBox::StepDownEnabled);
  clickArrow(QAbstractSpinBox::StepDownEnabled);
  EXPECT_EQ(field->value(), 13);
  EXPECT_TRUE(waitUntil([&] { return amp().reg(kNoiseGateRegister) == 18; }));

  // Keys and typing: Up and Down step, typed digits change nothing.
  field->setFocus();
  for (int i = 0; i < 30; ++i) QTest::keyClick(field, Qt::Key_Up);
  EXPECT_EQ(field->value(), 20);
  EXPECT_TRUE(waitUntil([&] { return amp().reg(kNoiseGateRegister) == 327; }));
  QTest::keyClicks(field, "3");
  QTest::keyClick(field, Qt::Key_Tab);
  settle();
  EXPECT_EQ(field->value(), 20);
  field->setFocus();
  for (int i = 0; i < 30; ++i) QTest::keyClick(field, Qt::Key_Down);
  EXPECT_EQ(field->value(), 0);
  EXPECT_TRUE(waitUntil([&] { return amp().reg(kNoiseGateRegister) == 0; }));
}

}  // namespace
}  // namespace zr78::test
