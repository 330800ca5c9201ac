// The main window with real mouse and key events, against the virtual
// amplifier: the corner and the drag band, keys, the exit question, the
// design canvas, the master volume and the navigation buttons.
#include <QMouseEvent>

#include "app/qt_text.h"
#include "app_fixture.h"
#include "controls/skin_label.h"
#include "controls/level_slider.h"
#include "controls/skin_combo_box.h"
#include "link/frame_format.h"
#include "link/link_state.h"
#include "text/shared_texts.h"

namespace zr78::test {
namespace {

class MainWindowTest : public AppFixture {
 protected:
  void SetUp() override { ASSERT_TRUE(startConnected()); }

  void sendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::LeftButton, held,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
  }
  // Presses on the slider at x (client pixels of the slider), drags to x2, releases.
  void dragSlider(double fromX, double toX) {
    LevelSlider* s = window().volumeSlider();
    const int y = static_cast<int>(s->geometryCache().trackY);
    sendMouse(s, QEvent::MouseButtonPress, QPoint(qRound(fromX), y), Qt::LeftButton);
    sendMouse(s, QEvent::MouseMove, QPoint(qRound(toX), y), Qt::LeftButton);
    sendMouse(s, QEvent::MouseButtonRelease, QPoint(qRound(toX), y), Qt::NoButton);
    settle();
  }
  double sliderX(double db) {
    return window().volumeSlider()->geometryCache().xOf(db, kVolumeMinDb, kVolumeMaxDb);
  }
  bool deviceHolds(int first, int last, int32_t value) {
    return waitUntil([&] {
      for (int a = first; a <= last; ++a)
        if (amp().reg(a) != value) return false;
      return true;
    });
  }
};

TEST_F(MainWindowTest, CornerClickShowsTheAboutText) {
  BoxAnswerer boxes;
  click(&window(), QPoint(9, 9));
  ASSERT_EQ(boxes.seen().size(), 1u);
  EXPECT_EQ(boxes.seen()[0].title, "About");
  EXPECT_TRUE(boxes.seen()[0].text.startsWith("Software version ZR-78-V3.08\n\r"))
      << boxes.seen()[0].text.toStdString();
  EXPECT_EQ(window().drag().started(), 0);
}

// The window menu's commands: 16 .. 31 open the about dialog, others nothing.
TEST_F(MainWindowTest, WindowMenuAboutCommand) {
  struct Case {
    int command;
    bool opens;
  } cases[] = {{16, true}, {0x13, true}, {0x20, false}, {0xF060, false}};
  for (const auto& c : cases) {
    QString opened;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
      if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        opened = d->windowTitle();
        d->accept();
      }
    });
    closer.start(5);
    window().systemCommand(c.command);
    EXPECT_EQ(opened, c.opens ? "About" : "") << c.command;
  }
}

TEST_F(MainWindowTest, TopBandDragsTheWindow) {
  BoxAnswerer boxes;
  const QPoint before = window().pos();
  sendMouse(&window(), QEvent::MouseButtonPress, QPoint(10, 5), Qt::LeftButton);
  sendMouse(&window(), QEvent::MouseMove, QPoint(60, 45), Qt::LeftButton);
  sendMouse(&window(), QEvent::MouseButtonRelease, QPoint(60, 45), Qt::NoButton);
  settle();
  EXPECT_EQ(window().drag().started(), 1);
  EXPECT_EQ(window().pos(), before + QPoint(50, 40));
  EXPECT_TRUE(boxes.seen().empty());

  // Below the band nothing drags.
  sendMouse(&window(), QEvent::MouseButtonPress, QPoint(300, 200), Qt::LeftButton);
  sendMouse(&window(), QEvent::MouseButtonRelease, QPoint(300, 200), Qt::NoButton);
  EXPECT_EQ(window().drag().started(), 1);
}

TEST_F(MainWindowTest, EnterDoesNothingAndEscapeAsks) {
  BoxAnswerer boxes(QMessageBox::No);
  QTest::keyClick(&window(), Qt::Key_Return);
  QTest::keyClick(&window(), Qt::Key_Enter);
  settle();
  EXPECT_TRUE(boxes.seen().empty());
  EXPECT_TRUE(window().isVisible());
  QTest::keyClick(&window(), Qt::Key_Escape);
  settle();
  ASSERT_EQ(boxes.seen().size(), 1u);
  EXPECT_EQ(boxes.seen()[0].text, "Whether to exit the program!");
  EXPECT_TRUE(window().isVisible());
}

TEST_F(MainWindowTest, ExitQuestionNoLeavesEverythingYesStopsTheLink) {
  BoxAnswerer boxes(QMessageBox::No);
  click(window().topButton(kButtonClose));
  ASSERT_EQ(boxes.seen().size(), 1u);
  EXPECT_EQ(boxes.seen()[0].title, "Tip!");
  EXPECT_EQ(boxes.seen()[0].text, "Whether to exit the program!");
  EXPECT_EQ(boxes.seen()[0].buttons.size(), 2);
  EXPECT_TRUE(window().isVisible());
  EXPECT_TRUE(session().worker.threadAlive());
  EXPECT_TRUE(session().state.running.load());
  EXPECT_TRUE(session().state.connected.load());
  // The link still carries edits.
  table().setRegister(13, 590);
  EXPECT_TRUE(deviceHolds(13, 13, 590));

  boxes.setAnswer(QMessageBox::Yes);
  click(window().topButton(kButtonClose));
  EXPECT_EQ(boxes.seen().size(), 2u);
  EXPECT_FALSE(window().isVisible());
  EXPECT_FALSE(session().worker.threadAlive());
  EXPECT_FALSE(session().state.running.load());
}

// Resizing to half the design size halves every control; fonts follow
// scaleMin (measured on the drawn text).
TEST_F(MainWindowTest, HalfSizeHalvesTheControls) {
  auto inkHeight = [](const QImage& face) {
    const QColor ground = face.pixelColor(0, 0);
    int top = face.height(), bottom = -1;
    for (int y = 0; y < face.height(); ++y)
      for (int x = 0; x < face.width(); ++x)
        if (qAbs(face.pixelColor(x, y).lightness() - ground.lightness()) > 40) {
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
    return bottom - top + 1;
  };
  std::vector<QWidget*> controls = {window().titleLabel(), window().volumeLabel(),
                                    window().volumeSlider(), window().inputSelector()};
  for (int j = 0; j < kTopButtonCount; ++j)
    if (window().buttonVisible(j)) controls.push_back(window().topButton(j));
  std::vector<QRect> full;
  for (QWidget* w : controls) full.push_back(w->geometry());
  const int titleInk = inkHeight(window().titleLabel()->composedImage());

  window().resize(639, 359);
  settle();
  EXPECT_DOUBLE_EQ(window().scale().min, 0.5);
  for (size_t i = 0; i < controls.size(); ++i) {
    const QRect h = controls[i]->geometry();
    SCOPED_TRACE(controls[i]->metaObject()->className() + std::to_string(i));
    EXPECT_NEAR(h.left(), full[i].left() / 2.0, 1.0);
    EXPECT_NEAR(h.top(), full[i].top() / 2.0, 1.0);
    EXPECT_NEAR(h.width(), full[i].width() / 2.0, 1.0);
    EXPECT_NEAR(h.height(), full[i].height() / 2.0, 1.0);
  }
  EXPECT_EQ(window().eqPanelRect(), QRect(0, 32, 639, 200));
  const int halfInk = inkHeight(window().titleLabel()->composedImage());
  EXPECT_GT(titleInk, 6);
  EXPECT_NEAR(halfInk, titleInk / 2.0, 2.0);
}

TEST_F(MainWindowTest, VolumeSliderWritesTheEightVolumeRegisters) {
  dragSlider(sliderX(window().volumeSlider()->sliderValue()), 0);
  EXPECT_EQ(window().volumeSlider()->sliderValue(), -60);
  EXPECT_EQ(window().volumeLabel()->text(), "Volume:OFF");
  EXPECT_EQ(table().getRegister(12), 500);
  EXPECT_EQ(table().getRegister(19), 500);
  EXPECT_TRUE(deviceHolds(12, 19, 500));

  dragSlider(sliderX(-60), sliderX(-20));
  EXPECT_EQ(window().volumeLabel()->text(), "Volume:-20");
  EXPECT_TRUE(deviceHolds(12, 19, 580));
}

TEST_F(MainWindowTest, DeviceVolumeMovesTheSliderWithoutSendingBack) {
  struct Case {
    int32_t word;
    double db;
    const char* label;
  } cases[] = {{580, -20, "Volume:-20"}, {500, -60, "Volume:OFF"}, {600, 0, "Volume:0"}};
  for (const auto& c : cases) {
    deviceValue(12, c.word);
    EXPECT_EQ(window().volumeSlider()->sliderValue(), c.db) << c.word;
    EXPECT_EQ(window().volumeLabel()->text(), c.label) << c.word;
    EXPECT_FALSE(table().dirty(12)) << c.word;
    EXPECT_TRUE(table().dirtyMarking());
  }
}

// A view that writes while it shows a device value cannot send it back.
TEST_F(MainWindowTest, DeviceValuesReachTheViewsWithDirtyMarkingOff) {
  bool markingDuringApply = true;
  window().registerRoutes().add(1000, [&](int) {
    markingDuringApply = table().dirtyMarking();
    table().setRegister(1001, 7);
  });
  deviceValue(1000, 3);
  EXPECT_FALSE(markingDuringApply);
  EXPECT_FALSE(table().dirty(1001));
  EXPECT_TRUE(table().dirtyMarking());
  // A posted notification of the window itself takes the same path.
  table().setRegisterQuiet(1001, 0);
  postMessage(&window(), MSG_DEVICE_NOTIFY, 0, 1000);
  settle();
  EXPECT_FALSE(table().dirty(1001));
}

// "Mixer" opens the routing dialog only for the speaker-level or low-level
// inputs on a configuration 3 or 4; either way the matrix is shown again.
TEST_F(MainWindowTest, MixerButtonRule) {
  struct Case {
    const char* name;
    int32_t source, config;
    bool opens;
  } cases[] = {
      {"BT refused", 2, 0x24, false},
      {"hi level, configuration 4", 3, 0x24, true},
      {"low level, configuration 3", 4, 0x03, true},
      {"hi level, configuration 5", 3, 0x05, false},
  };
  std::vector<int> refreshed;
  window().registerRoutes().add(1614, 1677, [&](int a) { refreshed.push_back(a); });
  int opened = 0;
  window().setRoutingDialog([&] { ++opened; });
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    deviceValue(1234, c.source);
    deviceConfiguration(c.config);
    refreshed.clear();
    opened = 0;
    BoxAnswerer boxes;
    click(window().topButton(kButtonMixer));
    ASSERT_TRUE(waitUntil([&] { return refreshed.size() >= 64; }));
    EXPECT_EQ(opened, c.opens ? 1 : 0);
    ASSERT_EQ(boxes.seen().size(), c.opens ? 0u : 1u);
    if (!c.opens) {
      EXPECT_EQ(boxes.seen()[0].text,
                "The current input routing function of the device cannot be used!");
    }
    EXPECT_EQ(refreshed.front(), 1614);
    EXPECT_EQ(refreshed[63], 1677);
  }
}

TEST_F(MainWindowTest, StatusButtonPausesThenReconnectsWithAFullRead) {
  click(window().topButton(kButtonStatus));
  EXPECT_TRUE(session().state.paused.load());
  EXPECT_EQ(window().topButton(kButtonStatus)->text(), "unconnected");
  QTest::qWait(50);  // a send under way ends
  amp().resetCounters();
  QTest::qWait(150);
  EXPECT_EQ(amp().framesReceived(CMD_READ_REGISTERS), 0);
  EXPECT_EQ(amp().framesReceived(CMD_WRITE_REGISTERS), 0);

  click(window().topButton(kButtonStatus));
  EXPECT_FALSE(session().state.paused.load());
  ASSERT_TRUE(waitUntil([&] { return amp().framesReceived(CMD_DUMP_ALL) >= 1; }));
  ASSERT_TRUE(waitUntil([&] {
    return session().worker.synchronising() &&
           window().topButton(kButtonStatus)->text() == "connected";
  }));
}

TEST_F(MainWindowTest, DeviceKindRelabelsButtonSeven) {
  deviceValue(1249, 1);
  EXPECT_EQ(window().topButton(kButtonDeviceKind)->state(), ButtonState::kPressed);
  EXPECT_EQ(window().topButton(kButtonDeviceKind)->text(), "Amplifier");
  deviceValue(1249, 0);
  EXPECT_EQ(window().topButton(kButtonDeviceKind)->text(), "DSP");
}

// The language switch (as the settings window will announce it): every text
// follows, the status keeps its state, the selector keeps its item.
TEST_F(MainWindowTest, LanguageRefreshRelabelsInPlace) {
  deviceValue(1234, 5);
  deviceValue(12, 580);
  for (Language l :
       {Language::kTraditionalChinese, Language::kSimplifiedChinese, Language::kEnglish}) {
    app_->language().set(l);
    postMessage(&window(), MSG_LANGUAGE_REFRESH, languageIndex(l), languageIndex(l));
    settle();
    EXPECT_EQ(window().topButton(kButtonStatus)->text(), qtText(sharedText(kTextConnected, l))) << languageIndex(l);
    EXPECT_EQ(window().topButton(kButtonSystem)->text(), qtText(sharedText(kTextSystem, l))) << languageIndex(l);
    EXPECT_EQ(window().volumeLabel()->text(), qtText(sharedText(kTextVolume, l)) + ":-20") << languageIndex(l);
    EXPECT_EQ(window().inputSelector()->itemText(0), qtText(sharedText(kTextBluetooth, l))) << languageIndex(l);
    EXPECT_EQ(window().inputSelector()->displayedIndex(), 2) << languageIndex(l);
    EXPECT_EQ(window().inputSelector()->curSel(), 2) << languageIndex(l);
  }
  // Paused, the status stays "unconnected" through the switch.
  click(window().topButton(kButtonStatus));
  app_->language().set(Language::kTraditionalChinese);
  postMessage(&window(), MSG_LANGUAGE_REFRESH, languageIndex(Language::kTraditionalChinese), languageIndex(Language::kTraditionalChinese));
  settle();
  EXPECT_EQ(window().shownStatus(), LinkStatusShown::Unconnected);
  EXPECT_EQ(window().topButton(kButtonStatus)->text(), QString::fromUtf8("未連接"));
}

// The panels' messages that the window handles itself.
TEST_F(MainWindowTest, EqChannelAndLinkResync) {
  postMessage(&window(), MSG_EQ_SHOW_CHANNEL, 0, 5);
  settle();
  EXPECT_EQ(window().eqChannel(), 5);
  postMessage(&window(), MSG_EQ_SHOW_CHANNEL, 0, 9);  // not a channel view
  settle();
  EXPECT_EQ(window().eqChannel(), 5);

  // Channels 0 and 1 linked: a resync of channel 0 copies its band-5 gain
  // (register 148 + 4·4) to channel 1 and shows the copy.
  app_->groups().setGroup(0, 1);
  app_->groups().setGroup(1, 1);
  std::vector<int> shown;
  window().registerRoutes().add(164 + 136, [&](int a) { shown.push_back(a); });
  table().setRegister(164, 620);
  postMessage(&window(), MSG_LINK_RESYNC, 0, 0);
  settle();
  EXPECT_EQ(table().getRegister(164 + 136), 620);
  EXPECT_EQ(shown, std::vector<int>{164 + 136});
  EXPECT_TRUE(waitUntil([&] { return amp().reg(164 + 136) == 620; }));
}

}  // namespace
}  // namespace zr78::test
