// The EQ panel and its response graph in the window, with real mouse, wheel
// and key events, against the virtual amplifier.
#include <QComboBox>
#include <QAbstractItemView>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QLineEdit>
#include <QMenu>

#include "app/app_options.h"
#include "app/qt_text.h"
#include "text/shared_texts.h"
#include "controls/fader.h"
#include "controls/image_button.h"
#include "controls/skin_combo_box.h"
#include "controls/skin_label.h"
#include "eq/crossover_code.h"
#include "eq/eq_channel_state.h"
#include "eq/eq_field_text.h"
#include "eq/eq_tables.h"
#include "eq_panel_fixture.h"
#include "text/language.h"

namespace zr78::test {
namespace {

using namespace EqParamIndex;

class EqPanelTest : public EqPanelFixture {};

TEST_F(EqPanelTest, DraggingBand5ToTheTopGivesPlus20AndSendsThreeParametersPerMove) {
  MessageSpy notices(&panel(), EqPanel::kGraphId);
  MessageSpy edits(&window(), MSG_PANEL_EDIT);
  const QPoint from = handleAt(bandPoint(4));
  std::vector<QPoint> path;
  for (int y = from.y() - 10; y >= -20; y -= 10) path.push_back(QPoint(from.x(), y));
  drag(from, path);

  // One notice on the press and one per move, each sending frequency, Q, gain.
  ASSERT_EQ(notices.seen.size(), path.size() + 1);
  for (const auto& n : notices.seen) EXPECT_EQ(n, (MessageSpy::Seen{0, 4}));
  ASSERT_EQ(edits.seen.size(), 3 * (path.size() + 1));
  for (size_t i = 0; i < edits.seen.size(); ++i)
    EXPECT_EQ(edits.seen[i], (MessageSpy::Seen{0, std::array{4, 35, 66}[i % 3]})) << i;
  EXPECT_EQ(model().currentState().gainDb[bandPoint(4)], 20.0);
  EXPECT_EQ(panel().gainField(4)->shownText(), "20.0");
  EXPECT_EQ(panel().fader(4)->position(), 200);
  EXPECT_EQ(reg(0, kBandGain + 4), 700);
  EXPECT_TRUE(deviceHolds(0, kBandGain + 4, 700));
}

TEST_F(EqPanelTest, GeqMovesBandHandlesOnlyVerticallyAndCrossoversStillHorizontally) {
  const int32_t frequency = reg(0, kBandFrequency + 9);
  const QPoint band = handleAt(bandPoint(9));
  drag(band, {band + QPoint(60, -10), band + QPoint(150, -30)});
  EXPECT_EQ(model().handle(bandPoint(9)).x, model().layout().xOf(decodeFrequency(frequency)));
  EXPECT_EQ(reg(0, kBandFrequency + 9), frequency);
  EXPECT_GT(decodeGain(reg(0, kBandGain + 9)), 5.0);

  const QPoint lp = handleAt(kLowPassPoint);
  drag(lp, {lp + QPoint(-100, -20), lp + QPoint(-300, -40)});
  EXPECT_LT(reg(0, kLowPassFrequency), 6000);
  EXPECT_EQ(model().handle(kLowPassPoint).y, model().layout().crossoverY());
  EXPECT_EQ(panel().crossoverField(1)->value(), reg(0, kLowPassFrequency));
}

TEST_F(EqPanelTest, HighPassDraggedFarLeftStopsAt19HzAndReadsOff) {
  deviceParam(0, kHighPassFrequency, encodeFrequency(200));
  ASSERT_EQ(panel().crossoverField(0)->shownText(), "200Hz");
  const QPoint hp = handleAt(kHighPassPoint);
  drag(hp, {hp + QPoint(-50, 0), QPoint(-200, hp.y())});
  EXPECT_EQ(model().currentState().frequencyHz[kHighPassPoint], 19);
  EXPECT_EQ(model().labelText(), "F:OFF");
  EXPECT_EQ(panel().crossoverField(0)->shownText(), "OFF");
  EXPECT_EQ(reg(0, kHighPassFrequency), 32958);
}

TEST_F(EqPanelTest, WheelOnTheFocusedGraphMovesTheLowPassOneHertzPerNotchDownIsHigher) {
  deviceParam(0, kLowPassFrequency, 1000);
  clickGraph(handleAt(kLowPassPoint));
  ASSERT_TRUE(graph().hasFocus());
  wheel(&graph(), -1);
  EXPECT_EQ(reg(0, kLowPassFrequency), 1001);
  wheel(&graph(), 2);
  EXPECT_EQ(reg(0, kLowPassFrequency), 999);
  EXPECT_EQ(panel().crossoverField(1)->shownText(), "999Hz");
  // Without the focus the wheel does nothing to the graph.
  panel().gainField(0)->setFocus();
  settle();
  wheel(&graph(), -3);
  EXPECT_EQ(reg(0, kLowPassFrequency), 999);
}

TEST_F(EqPanelTest, LegendTogglesAnotherChannelAsBand1AndNeverTheCurrentOne) {
  MessageSpy notices(&panel(), EqPanel::kGraphId);
  MessageSpy edits(&window(), MSG_PANEL_EDIT);
  const auto centre = [&](int channel) {
    const GraphRect r = model().layout().legendBox(channel);
    return QPoint(r.left + r.width / 2, r.top + r.height / 2);
  };
  clickGraph(centre(0));
  EXPECT_FALSE(model().visible(0));
  EXPECT_TRUE(notices.seen.empty());
  EXPECT_TRUE(edits.seen.empty());

  clickGraph(centre(3));
  EXPECT_TRUE(model().visible(3));
  ASSERT_EQ(notices.seen.size(), 1u);
  EXPECT_EQ(notices.seen[0], (MessageSpy::Seen{5, 0}));
  EXPECT_EQ(edits.lParams(), (std::vector<qintptr>{0, 31, 62}));
  EXPECT_EQ(panel().highlightedBand(), 0);
  clickGraph(centre(3));
  EXPECT_FALSE(model().visible(3));
}

TEST_F(EqPanelTest, ArrowKeysPushACrossoverPastItsLimits) {
  clickGraph(handleAt(kLowPassPoint));
  keys(&graph(), Qt::Key_Down, 4);
  EXPECT_EQ(model().currentState().frequencyHz[kLowPassPoint], 20600);
  EXPECT_EQ(panel().crossoverField(1)->shownText(), "20000Hz");  // the field's limit
  EXPECT_EQ(reg(0, kLowPassFrequency), 20000);

  deviceParam(0, kHighPassFrequency, encodeFrequency(25));
  clickGraph(handleAt(kHighPassPoint));
  keys(&graph(), Qt::Key_Up, 30);
  EXPECT_EQ(model().currentState().frequencyHz[kHighPassPoint], 19);
  EXPECT_EQ(reg(0, kHighPassFrequency), 32958);
}

TEST_F(EqPanelTest, WheelAndArrowGainStepsLeaveFieldGraphAndRegisterInAgreement) {
  deviceParam(0, kBandGain + 4, encodeGain(1.0));
  clickGraph(handleAt(bandPoint(4)));
  wheel(&graph(), -1);
  EXPECT_EQ(panel().gainField(4)->shownText(), "0.9");
  EXPECT_EQ(model().currentState().gainDb[bandPoint(4)], 0.9);
  EXPECT_EQ(reg(0, kBandGain + 4), 509);
  EXPECT_EQ(model().handle(bandPoint(4)).y, model().layout().yOf(0.9));

  deviceParam(0, kBandGain + 4, encodeGain(0));
  clickGraph(handleAt(bandPoint(4)));
  keys(&graph(), Qt::Key_Up, 63);
  EXPECT_EQ(panel().gainField(4)->shownText(), "6.3");
  EXPECT_EQ(model().currentState().gainDb[bandPoint(4)], 6.3);
  EXPECT_EQ(reg(0, kBandGain + 4), 563);
  EXPECT_EQ(panel().fader(4)->position(), 63);
}

TEST_F(EqPanelTest, BandOffAndOnRestoresItsGainAndOffAtZeroStaysZero) {
  type(panel().gainField(6), "4.5");
  ASSERT_EQ(reg(0, kBandGain + 6), 545);
  ImageButton* button = panel().onOffButton(6);
  EXPECT_EQ(button->state(), ButtonState::kReleased);  // on
  click(button);
  EXPECT_EQ(button->state(), ButtonState::kPressed);
  EXPECT_EQ(panel().gainField(6)->shownText(), "0.0");
  EXPECT_EQ(reg(0, kBandGain + 6), 500);
  click(button);
  EXPECT_EQ(panel().gainField(6)->shownText(), "4.5");
  EXPECT_EQ(panel().fader(6)->position(), 45);
  EXPECT_EQ(model().currentState().gainDb[bandPoint(6)], 4.5);
  EXPECT_EQ(reg(0, kBandGain + 6), 545);

  ImageButton* zero = panel().onOffButton(7);
  ASSERT_EQ(zero->state(), ButtonState::kPressed);  // gain 0: off
  click(zero);
  EXPECT_EQ(zero->state(), ButtonState::kPressed);
  EXPECT_EQ(reg(0, kBandGain + 7), 500);
}

TEST_F(EqPanelTest, BypassKeepsZeroGainsAtZeroAndTwiceRestoresTheGains) {
  ImageButton* bypass = panel().commandButton(1);
  ASSERT_EQ(bypass->state(), ButtonState::kPressed);  // all gains 0
  click(bypass);
  for (int b = 0; b < kBandCount; ++b) ASSERT_EQ(reg(0, kBandGain + b), 500) << b;
  EXPECT_EQ(bypass->state(), ButtonState::kPressed);

  type(panel().gainField(2), "-3.5");
  type(panel().gainField(20), "6");
  ASSERT_EQ(bypass->state(), ButtonState::kReleased);
  click(bypass);
  EXPECT_EQ(reg(0, kBandGain + 2), 500);
  EXPECT_EQ(reg(0, kBandGain + 20), 500);
  EXPECT_EQ(model().currentState().gainDb[bandPoint(20)], 0);
  click(bypass);
  EXPECT_EQ(reg(0, kBandGain + 2), 465);
  EXPECT_EQ(reg(0, kBandGain + 20), 560);
  EXPECT_EQ(panel().fader(20)->position(), 60);
  EXPECT_EQ(panel().highlightedBand(), EqPanel::kNoBand);
}

TEST_F(EqPanelTest, ResetAsksAndRestoresBandsAndInactiveCrossovers) {
  deviceParam(0, kLowPassFrequency, 1000);
  deviceParam(0, kHighPassFrequency, encodeFrequency(200));
  type(panel().gainField(5), "3");
  BoxAnswerer no(QMessageBox::No);
  click(panel().commandButton(0));
  ASSERT_EQ(no.seen().size(), 1u);
  EXPECT_EQ(no.seen()[0].text, "Whether to reset EQ");
  EXPECT_EQ(no.seen()[0].title, "Tip!");
  EXPECT_EQ(reg(0, kLowPassFrequency), 1000);
  EXPECT_EQ(reg(0, kBandGain + 5), 530);

  no.setAnswer(QMessageBox::Yes);
  click(panel().commandButton(0));
  EXPECT_EQ(reg(0, kLowPassFrequency), 20000);
  EXPECT_EQ(reg(0, kHighPassFrequency), 32958);
  for (int b = 0; b < kBandCount; ++b) {
    ASSERT_EQ(reg(0, kBandGain + b), 500) << b;
    ASSERT_EQ(reg(0, kBandFrequency + b), encodeFrequency(DEFAULT_BAND_FREQUENCIES[b])) << b;
    ASSERT_EQ(reg(0, kBandQ + b), 240) << b;
  }
  EXPECT_TRUE(deviceHolds(0, kLowPassFrequency, 20000));
}

TEST_F(EqPanelTest, TabFollowsTheParameterOrderAndSkipsReadOnlyFieldsInGeq) {
  panel().gainField(30)->setFocus(Qt::MouseFocusReason);
  settle();
  ASSERT_EQ(panel().lastEdited(), kBandGain + 30);
  keys(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_TRUE(panel().crossoverField(0)->editChild()->hasFocus());
  EXPECT_EQ(panel().lastEdited(), kHighPassFrequency);
  keys(QApplication::focusWidget(), Qt::Key_Left);
  EXPECT_TRUE(panel().gainField(30)->editChild()->hasFocus());

  // Past the release list the index wraps and the focus stays; the next Tab
  // skips the read-only frequency and Q fields.
  panel().crossoverField(3)->setFocus(Qt::MouseFocusReason);  // the attack, 100
  settle();
  keys(QApplication::focusWidget(), Qt::Key_Right);
  ASSERT_TRUE(panel().list(4)->hasFocus());
  EXPECT_EQ(panel().lastEdited(), kLimiterRelease);
  keys(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(panel().lastEdited(), 0);
  EXPECT_TRUE(panel().list(4)->hasFocus());
  keys(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_TRUE(panel().gainField(0)->editChild()->hasFocus());

  // In PEQ mode the frequency fields take part.
  click(panel().commandButton(2));
  panel().qField(3)->setFocus(Qt::MouseFocusReason);
  settle();
  keys(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_TRUE(panel().qField(4)->editChild()->hasFocus());
  panel().gainField(0)->setFocus(Qt::MouseFocusReason);
  settle();
  keys(QApplication::focusWidget(), Qt::Key_Backtab);
  EXPECT_TRUE(panel().qField(30)->editChild()->hasFocus());
}

TEST_F(EqPanelTest, HighPassSlopeSends94AndTheNextTabGoesTo96) {
  MessageSpy edits(&window(), MSG_PANEL_EDIT);
  SkinComboBox* slope = panel().list(1);
  slope->setFocus(Qt::TabFocusReason);
  slope->showPopup();
  settle();
  const int before = slope->displayedIndex();
  QTest::keyClick(slope->view(), Qt::Key_Down);
  QTest::keyClick(slope->view(), Qt::Key_Return);
  settle();
  ASSERT_EQ(slope->displayedIndex(), before + 1);
  ASSERT_FALSE(edits.seen.empty());
  EXPECT_EQ(edits.seen.back().lParam, kHighPassCode);
  EXPECT_EQ(panel().lastEdited(), kHighPassSlope);
  const auto kind = decodeCrossoverCode(reg(0, kHighPassCode));
  ASSERT_TRUE(kind);
  EXPECT_EQ(kind->slope, before + 1);
  EXPECT_EQ(model().currentState().type[kHighPassPoint], reg(0, kHighPassCode));
  keys(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_TRUE(panel().crossoverField(1)->editChild()->hasFocus());
  EXPECT_EQ(panel().lastEdited(), kLowPassFrequency);
}

TEST_F(EqPanelTest, PeqModeDrawsQArmsAndGeqPutsEveryQBackTo76) {
  ImageButton* mode = panel().commandButton(2);
  EXPECT_EQ(mode->text(), "GEQ");
  EXPECT_FALSE(panel().qField(3)->interactive());
  click(mode);
  EXPECT_EQ(mode->text(), "PEQ");
  EXPECT_TRUE(panel().qField(3)->interactive());
  EXPECT_TRUE(model().peqMode());

  deviceParam(0, kBandQ + 17, encodeQ(7.6));
  clickGraph(handleAt(bandPoint(17)));
  ASSERT_TRUE(model().qArmsShown());
  const GraphRect arm = model().qArmCell(false);
  const QPoint grab(arm.left + arm.width / 2, arm.top + arm.height / 2);
  drag(grab, {grab + QPoint(-10, 0), grab + QPoint(-25, 0)});
  const int32_t q = reg(0, kBandQ + 17);
  EXPECT_LT(q, encodeQ(7.6));
  EXPECT_EQ(encodeQ(qStepValue(panel().qField(17)->value())), q);

  click(mode);
  EXPECT_EQ(mode->text(), "GEQ");
  for (int b = 0; b < kBandCount; ++b) ASSERT_EQ(reg(0, kBandQ + b), 240) << b;
  EXPECT_FALSE(model().qArmsShown());
}

TEST_F(EqPanelTest, DeviceValuesAreCheckedBeforeTheControlsAndTheGraph) {
  deviceParam(0, kLowPassCode, 31);  // Linkwitz-Riley 48 dB/Oct
  EXPECT_EQ(panel().list(2)->displayedIndex(), 2);
  EXPECT_EQ(panel().list(3)->displayedText(), "48dB/Oct");
  EXPECT_EQ(model().currentState().type[kLowPassPoint], 31);
  // A low-pass code in the high-pass register, and a code of no list, leave
  // both crossovers as they are.
  const int highPass = model().currentState().type[kHighPassPoint];
  const int family = panel().list(0)->displayedIndex();
  for (int32_t word : {21, 34, 7}) {
    deviceParam(0, kHighPassCode, word);
    EXPECT_EQ(model().currentState().type[kHighPassPoint], highPass) << word;
    EXPECT_EQ(model().currentState().type[kLowPassPoint], 31) << word;
    EXPECT_EQ(panel().list(0)->displayedIndex(), family) << word;
  }
  deviceParam(0, kLimiterRelease, 3);
  EXPECT_EQ(panel().list(4)->displayedText(), "Atk*2");

  deviceParam(0, kBandQ + 3, 0);
  EXPECT_EQ(model().currentState().q[bandPoint(3)], kMinDisplayedQ);
  clickGraph(handleAt(bandPoint(3)));
  EXPECT_EQ(model().labelText().find("nan"), std::string::npos) << model().labelText();
  EXPECT_NE(model().labelText().find("Q:0.40"), std::string::npos) << model().labelText();
}

TEST_F(EqPanelTest, DraggingBand5OfChannel3ReachesTheAmplifier) {
  sim::SimConfig link = amp().config();
  link.reportIntervalUs = 1000;  // the USB link model: one report per millisecond
  amp().setConfig(link);
  showChannel(2);
  ASSERT_EQ(model().currentChannel(), 2);
  const QPoint from = handleAt(bandPoint(4));
  drag(from, {from + QPoint(0, -20), from + QPoint(0, -40)});
  const int32_t word = reg(2, kBandGain + 4);
  EXPECT_GT(word, 500);
  EXPECT_EQ(reg(0, kBandGain + 4), 500);  // channel 1 untouched
  // One worker pass takes a few milliseconds; the bound leaves room for a
  // loaded machine.
  EXPECT_TRUE(deviceHolds(2, kBandGain + 4, word, 2000));
}

// Moves as fast as a 1 kHz mouse: each writes the table, none waits for the
// link, and the amplifier ends with the last one.
TEST_F(EqPanelTest, RapidMovesLeaveTheAmplifierWithTheLastGain) {
  const QPoint from = handleAt(bandPoint(12));
  QTest::mousePress(&graph(), Qt::LeftButton, Qt::NoModifier, from);
  int32_t last = 0;
  for (int i = 0; i < 200; ++i) {
    QTest::mouseMove(&graph(), from + QPoint(0, (i % 80) - 40));
    ASSERT_EQ(reg(0, kBandGain + 12), encodeGain(model().currentState().gainDb[bandPoint(12)]));
    last = reg(0, kBandGain + 12);
  }
  QTest::mouseRelease(&graph(), Qt::LeftButton, Qt::NoModifier, from + QPoint(0, 39));
  EXPECT_TRUE(deviceHolds(0, kBandGain + 12, last));
  settle();
  EXPECT_EQ(reg(0, kBandGain + 12), last);
  EXPECT_EQ(panel().gainField(12)->value(), last - 500);
}

TEST_F(EqPanelTest, AValueReadFromTheAmplifierMovesTheHandle) {
  const int a = address(0, kBandGain + 9);
  amp().setReg(a, encodeGain(12));
  table().requestReread(a, a);
  EXPECT_TRUE(waitUntil([&] { return model().handle(bandPoint(9)).y == model().layout().yOf(12); }));
  EXPECT_EQ(panel().gainField(9)->shownText(), "12.0");
  EXPECT_EQ(panel().fader(9)->position(), 120);
}

TEST_F(EqPanelTest, AnEditOnALinkedChannelReachesEveryMember) {
  app_->groups().setGroups({1, 1, 1, 0, 0, 0, 0, 0});
  type(panel().gainField(3), "5");
  for (int c : {0, 1, 2}) {
    EXPECT_EQ(reg(c, kBandGain + 3), 550) << c;
    EXPECT_TRUE(deviceHolds(c, kBandGain + 3, 550)) << c;
  }
  EXPECT_EQ(reg(3, kBandGain + 3), 500);
  // The copies reach the graph's values of the members.
  EXPECT_EQ(model().state(2).gainDb[bandPoint(3)], 5.0);
}

TEST_F(EqPanelTest, GraphSitsOnTheCanvasAndFollowsTheScale) {
  EXPECT_EQ(graph().mapTo(&window(), QPoint(0, 0)), QPoint(197, 73));  // where zr78ctl draws it
  EXPECT_EQ(graph().size(), QSize(1067, 213));
  window().resize(2556, 1436);
  settle();
  EXPECT_EQ(graph().mapTo(&window(), QPoint(0, 0)), QPoint(394, 146));
  EXPECT_EQ(graph().size(), QSize(2134, 426));
  EXPECT_EQ(model().layout().handleSize(), 48);
  EXPECT_EQ(panel().gainField(0)->size(), QSize(62, 24));
}

TEST_F(EqPanelTest, ADragRepaintsOnlyTheStripOfTheGraphItChanges) {
  // A tuned channel: every band moved, so the curve has a point at every
  // change (a flat stretch is one long segment that a change anywhere moves).
  for (int b = 0; b < kBandCount; ++b) deviceParam(0, kBandGain + b, encodeGain(b % 2 ? 3 : -3));
  QImage before = graph().picture();
  const QPoint from = handleAt(bandPoint(15));
  QTest::mousePress(&graph(), Qt::LeftButton, Qt::NoModifier, from);  // selects band 16
  QApplication::processEvents();
  const int paints = graph().paintCount();
  QTest::mouseMove(&graph(), from + QPoint(0, -6));
  QApplication::processEvents();
  EXPECT_GT(graph().paintCount(), paints);
  const QRect painted = graph().lastPaintedRect();
  const GraphRect legend0 = model().layout().legendBox(0);
  EXPECT_LT(painted.right(), legend0.left) << painted.x() << " " << painted.width();
  EXPECT_GT(painted.left(), model().layout().plot().x0);
  EXPECT_TRUE(painted.contains(from));
  QTest::mouseRelease(&graph(), Qt::LeftButton, Qt::NoModifier, from + QPoint(0, -6));
  // The picture changed where the band was dragged, nowhere near the legend.
  const QImage after = graph().picture();
  const GraphRect legend = model().layout().legendBox(4);
  EXPECT_EQ(before.copy(legend.left, legend.top, legend.width, legend.height),
            after.copy(legend.left, legend.top, legend.width, legend.height));
  EXPECT_NE(before, after);
}

TEST_F(EqPanelTest, TextsFollowTheLanguage) {
  app_->language().set(Language::kSimplifiedChinese);
  postMessage(&window(), MSG_LANGUAGE_REFRESH, 0, 0);
  settle();
  EXPECT_EQ(panel().sectionLabel(0)->text(), QString::fromUtf8("高通"));
  EXPECT_EQ(panel().sectionLabel(10)->text(), QString::fromUtf8("启动时间:"));
  EXPECT_EQ(panel().headerLabel(0)->text(), QString::fromUtf8("序号"));
  EXPECT_EQ(panel().commandButton(2)->text(), QString::fromUtf8("图示\n均衡"));
  EXPECT_EQ(panel().list(0)->itemText(0),
            qtText(sharedText(kTextButterworth, Language::kSimplifiedChinese)));
  app_->language().set(Language::kTraditionalChinese);
  postMessage(&window(), MSG_LANGUAGE_REFRESH, 1, 1);
  settle();
  EXPECT_EQ(panel().commandButton(0)->text(), QString::fromUtf8("重設"));
}

// The context menu's item opens a real file dialog and writes the picture.
TEST_F(EqPanelTest, SaveGraphAsPngFromTheContextMenu) {
  // The dialog offers CHn-EQ.png in the home folder and, once it has read that
  // folder, selects the offered name again (a name chosen earlier in a test
  // races with it), so the test's home is its own folder and the offer is taken.
  const QByteArray home = qgetenv("HOME");
  qputenv("HOME", QByteArray::fromStdString(root_.string()));
  const QString path = QString::fromStdString((root_ / "CH1-EQ").string());
  bool menuSeen = false, dialogSeen = false;
  QTimer driver;
  driver.setInterval(10);
  QObject::connect(&driver, &QTimer::timeout, [&] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      ASSERT_FALSE(menu->actions().isEmpty());
      EXPECT_EQ(menu->actions()[0]->text(), QString::fromUtf8("Save graph as PNG…"));
      if (menuSeen) return;
      menuSeen = true;
      // Clicked from a fresh call: the item opens the dialog in a loop of its
      // own, and this timer does not fire inside its own call.
      const QPoint item = menu->actionGeometry(menu->actions()[0]).center();
      QTimer::singleShot(0, menu, [menu, item] {
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, item);
      });
    } else if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      dialogSeen = true;
      EXPECT_EQ(dialog->windowTitle(), "Save graph as PNG");
      static_cast<QDialog*>(dialog)->accept();  // as its Save button does
    }
  });
  driver.start();
  QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(400, 100),
                              graph().mapToGlobal(QPoint(400, 100)));
  QApplication::sendEvent(&graph(), &menuEvent);
  settle();
  driver.stop();
  qputenv("HOME", home);
  EXPECT_TRUE(menuSeen);
  EXPECT_TRUE(dialogSeen);
  QImageReader reader(path + ".png");
  EXPECT_EQ(reader.format(), "png");
  EXPECT_EQ(reader.size(), graph().size() * graph().devicePixelRatioF());
}

}  // namespace
}  // namespace zr78::test

namespace zr78::test {
namespace {

TEST(EqScreenshotOptions, ModeAndCurvesGoWithTheScreenshot) {
  std::string error;
  auto o = parseAppOptions({"--screenshot", "s.png", "--eq-mode", "peq", "--show-curves", "2,7"}, error);
  ASSERT_TRUE(o) << error;
  EXPECT_TRUE(o->screenshotPeq);
  EXPECT_EQ(o->screenshotCurves, (std::vector<int>{1, 6}));
  o = parseAppOptions({"--screenshot", "s.png", "--show-curves", "all", "--eq-mode", "geq"}, error);
  ASSERT_TRUE(o) << error;
  EXPECT_FALSE(o->screenshotPeq);
  EXPECT_EQ(o->screenshotCurves.size(), 8u);
  const std::vector<QStringList> bad = {{"--eq-mode", "peq"},
                                        {"--show-curves", "all"},
                                        {"--screenshot", "s.png", "--eq-mode", "flat"},
                                        {"--screenshot", "s.png", "--show-curves", "0"},
                                        {"--screenshot", "s.png", "--show-curves", "1,9"},
                                        {"--screenshot", "s.png", "--show-curves"}};
  for (const QStringList& args : bad) {
    error.clear();
    EXPECT_FALSE(parseAppOptions(args, error)) << args.join(' ').toStdString();
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace zr78::test
