// Start-up against the virtual amplifier: the link comes up through the
// progress window, the language comes from the settings file or the locale,
// a second start hands over to the first, and closing never blocks on the
// worker.
#include <QLabel>
#include <QSignalSpy>

#include "app/progress_window.h"
#include "app/qt_text.h"
#include "app_fixture.h"
#include "controls/skin_label.h"
#include "controls/skin_combo_box.h"
#include "platform/named_lock.h"
#include "text/shared_texts.h"

namespace zr78::test {
namespace {

using StartupTest = AppFixture;

TEST_F(StartupTest, ConnectsThroughTheProgressWindow) {
  ASSERT_TRUE(start());
  QStringList shown;
  QObject::connect(&window().progressWindow(), &ProgressWindow::valueShown,
                   [&](const QString& text, int) { shown << text; });
  QStringList statuses;
  ASSERT_TRUE(waitUntil([&] {
    const QString now = window().topButton(kButtonStatus)->text();
    if (statuses.isEmpty() || statuses.back() != now) statuses << now;
    return session().worker.synchronising() && window().displayRefreshes() > 0;
  }));
  settle();
  EXPECT_TRUE(statuses.contains("connecting")) << statuses.join(" | ").toStdString();

  EXPECT_EQ(window().topButton(kButtonStatus)->text(), "connected");
  EXPECT_EQ(window().titleLabel()->text(), "ZR-78-USB");
  EXPECT_EQ(window().windowTitle(), "ZR-78-USB");
  EXPECT_FALSE(window().progressWindow().isVisible());
  const auto passed = [&](const char* title) {
    return std::any_of(shown.begin(), shown.end(),
                       [&](const QString& t) { return t.startsWith(title); });
  };
  EXPECT_TRUE(passed("Read Device Data:")) << shown.join(" | ").toStdString();
  EXPECT_TRUE(passed("Update Display Data:")) << shown.join(" | ").toStdString();
  EXPECT_TRUE(shown.contains("Read Device Data:  100 %")) << shown.join(" | ").toStdString();
}

// The stored choice wins; without one the locale decides, and every id but
// the three Chinese ones gives English. Every text of the top band follows.
TEST_F(StartupTest, LanguageFromTheSettingsFileOrTheLocale) {
  struct Case {
    const char* name;
    int stored;  // -1: no settings file
    uint32_t locale;
    Language language;
  } cases[] = {
      {"Japanese locale", -1, kLocaleJapan, Language::kEnglish},
      {"Hong Kong locale", -1, kLocaleHongKong, Language::kTraditionalChinese},
      {"stored Traditional beats the locale", 1, kLocaleUnitedStates, Language::kTraditionalChinese},
      {"stored Simplified", 0, kLocaleJapan, Language::kSimplifiedChinese},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(root_ / "program" / "FileData" / "Language.ini");
    if (c.stored >= 0) writeLanguageIni(c.stored);
    options_.localeId = c.locale;
    ASSERT_TRUE(start());
    settle();
    const Language l = c.language;
    EXPECT_EQ(app_->language().get(), l);
    EXPECT_EQ(window().topButton(kButtonSystem)->text(), qtText(sharedText(kTextSystem, l)));
    EXPECT_EQ(window().topButton(kButtonMixer)->text(), qtText(sharedText(kTextMixer, l)));
    EXPECT_EQ(window().topButton(kButtonMem)->text(), qtText(sharedText(kTextMem, l)));
    EXPECT_EQ(window().topButton(kButtonDeviceKind)->text(), qtText(sharedText(kTextDsp, l)));
    EXPECT_EQ(window().topButton(8)->text(), qtText(sharedText(kTextTestSet, l)));
    EXPECT_EQ(window().topButton(9)->text(), qtText(sharedText(kTextStartTest, l)));
    EXPECT_EQ(window().topButton(10)->text(), qtText(sharedText(kTextStopTest, l)));
    EXPECT_EQ(window().topButton(kButtonStatus)->text(), qtText(sharedText(kTextConnecting, l)));
    EXPECT_TRUE(window().volumeLabel()->text().startsWith(qtText(sharedText(kTextVolume, l))));
    SkinComboBox* selector = window().inputSelector();
    ASSERT_EQ(selector->count(), 4);
    EXPECT_EQ(selector->itemText(0), qtText(sharedText(kTextBluetooth, l)));
    EXPECT_EQ(selector->itemText(1), qtText(sharedText(kTextHiLevel, l)));
    EXPECT_EQ(selector->itemText(2), "OPT");
    EXPECT_EQ(selector->itemText(3), "USB");
    ASSERT_TRUE(waitConnected());
    settle();
    EXPECT_EQ(window().topButton(kButtonStatus)->text(), qtText(sharedText(kTextConnected, l)));
    app_.reset();
  }
}

// Message boxes speak the language: caption, text and Qt's own button texts.
TEST_F(StartupTest, MessageBoxesUseTheLanguagesButtons) {
  writeLanguageIni(languageIndex(Language::kSimplifiedChinese));
  ASSERT_TRUE(startConnected());
  BoxAnswerer boxes(QMessageBox::No);
  window().close();
  waitUntil([&] { return !boxes.seen().empty(); });
  ASSERT_EQ(boxes.seen().size(), 1u);
  EXPECT_EQ(boxes.seen()[0].title, qtText(sharedText(kTextTip, Language::kSimplifiedChinese)));
  EXPECT_EQ(boxes.seen()[0].text, qtText(sharedText(kTextAskExitProgram, Language::kSimplifiedChinese)));
  const QString buttons = boxes.seen()[0].buttons.join(" ");
  EXPECT_TRUE(buttons.contains(QString::fromUtf8("是"))) << buttons.toStdString();
  EXPECT_TRUE(buttons.contains(QString::fromUtf8("否"))) << buttons.toStdString();
}

TEST_F(StartupTest, SecondStartBringsTheFirstForwardAndEnds) {
  ASSERT_TRUE(startConnected());
  window().showMinimized();
  settle();
  BoxAnswerer boxes(QMessageBox::Ok);
  Application second(options_);
  EXPECT_EQ(second.start(), std::optional<int>(0));
  EXPECT_EQ(second.window(), nullptr);
  ASSERT_EQ(boxes.seen().size(), 1u);
  EXPECT_EQ(boxes.seen()[0].text, "The Program is Running!");
  ASSERT_TRUE(waitUntil([&] { return app_->instance().raiseRequests() == 1; }));
  EXPECT_FALSE(window().isMinimized());
  EXPECT_TRUE(window().isVisible());
  EXPECT_TRUE(session().worker.threadAlive());
}

// The worker waits in a sent notification that the UI never handled: the
// confirmed close still ends the worker.
TEST_F(StartupTest, CloseWhileTheWorkerWaitsForASentNotification) {
  ASSERT_TRUE(start());
  // No event processing: the worker's first status notification stays queued.
  for (int i = 0; i < 2000 && app_->events().waitingCalls() == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_EQ(app_->events().waitingCalls(), 1);
  window().shutdown();
  EXPECT_FALSE(session().worker.threadAlive());
  EXPECT_FALSE(window().isVisible());
  EXPECT_EQ(app_->events().waitingCalls(), 0);
}

// The worker waits for the user in a message box (the USB channel is held by
// another program); closing the program closes that box and ends the worker.
TEST_F(StartupTest, CloseWhileTheWorkerWaitsInAMessageBox) {
  NamedLock otherProgram;
  ASSERT_TRUE(otherProgram.tryAcquire(options_.channelLockName));
  BoxAnswerer boxes;
  boxes.setDecide([&](const SeenBox& box) -> std::optional<QMessageBox::StandardButton> {
    if (box.text.endsWith(" Channel is Blocked!")) {
      QMetaObject::invokeMethod(&window(), &QWidget::close, Qt::QueuedConnection);
      return std::nullopt;  // stays open
    }
    return QMessageBox::Yes;  // "Whether to exit the program!"
  });
  ASSERT_TRUE(start());
  ASSERT_TRUE(waitUntil([&] { return !session().worker.threadAlive(); }));
  ASSERT_EQ(boxes.seen().size(), 2u);
  EXPECT_EQ(boxes.seen()[0].title, "ZR-78-USB");  // empty caption: the window title
  EXPECT_EQ(boxes.seen()[1].text, "Whether to exit the program!");
  EXPECT_TRUE(window().shutDown());
  EXPECT_EQ(boxes.open(), nullptr);
}

// --simulate keeps the amplifier's memory in its state file: a missing file
// or a damaged one starts from the factory state, and the file (with its
// folder) is written at exit.
TEST_F(StartupTest, VirtualAmplifierKeepsItsMemory) {
  struct Case {
    const char* name;
    const char* content;  // nullptr: no file
  } cases[] = {{"missing file", nullptr}, {"damaged file", "not a state file"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto path = root_ / c.name / "amplifier.state";
    std::filesystem::create_directories(path.parent_path());
    std::filesystem::remove(path.parent_path());  // the folder is made at exit
    if (c.content != nullptr) {
      std::filesystem::create_directories(path.parent_path());
      std::ofstream(path) << c.content;
    }
    options_.statePath = path.string();
    ASSERT_TRUE(startConnected());
    EXPECT_EQ(amp().reg(13), sim::VirtualAmplifier().reg(13));
    table().setRegister(13, 555);
    ASSERT_TRUE(waitUntil([&] { return amp().reg(13) == 555; }));
    app_.reset();
    ASSERT_TRUE(std::filesystem::exists(path));
    ASSERT_TRUE(startConnected());
    EXPECT_EQ(amp().reg(13), 555);
    EXPECT_EQ(table().getRegister(13), 555);
    app_.reset();
  }
}

}  // namespace
}  // namespace zr78::test
