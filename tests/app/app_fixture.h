// The whole program against the virtual amplifier, for the window tests: an
// instance name, a USB channel lock and a folder tree of the test's own (the
// tests run in parallel), the fast link timing, and helpers that wait while
// the event loop runs and that answer message boxes.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "temp_dir.h"
#include "app/application.h"
#include "app/main_window.h"
#include "controls/image_button.h"
#include "controls/window_message.h"
#include "controls/window_messages.h"
#include "sync/link_session.h"
#include "sim/virtual_amplifier.h"
#include "text/language.h"

namespace zr78::test {

// Waits while the event loop runs; true once `done` holds.
inline bool waitUntil(const std::function<bool()>& done, int timeoutMs = 8000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > timeoutMs) return done();
    QTest::qWait(2);
  }
  return true;
}

// What a message box showed.
struct SeenBox {
  QString title, text;
  QStringList buttons;
};

// Answers the message boxes that open while it lives: each one is recorded
// and its button `answer` clicked (a real click).
class BoxAnswerer {
 public:
  explicit BoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok) : answer_(answer) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start();
  }
  void setAnswer(QMessageBox::StandardButton answer) { answer_ = answer; }
  // Decides per box: a button to click, or nothing to leave it open.
  using Decide = std::function<std::optional<QMessageBox::StandardButton>(const SeenBox&)>;
  void setDecide(Decide decide) { decide_ = std::move(decide); }
  const std::vector<SeenBox>& seen() const { return seen_; }
  QMessageBox* open() const {
    return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  }

 private:
  void poll() {
    QMessageBox* box = open();
    if (box == nullptr || box == last_) return;
    SeenBox s{box->windowTitle(), box->text(), {}};
    for (QAbstractButton* b : box->buttons()) s.buttons << b->text();
    seen_.push_back(s);
    last_ = box;
    const auto answer = decide_ ? decide_(s) : std::optional(answer_);
    if (!answer) return;
    QAbstractButton* button = box->button(*answer);
    if (button == nullptr && !box->buttons().isEmpty()) button = box->buttons().front();
    if (button != nullptr) QTest::mouseClick(button, Qt::LeftButton);
  }

  QTimer timer_;
  QMessageBox::StandardButton answer_;
  Decide decide_;
  QPointer<QMessageBox> last_;
  std::vector<SeenBox> seen_;
};

class AppFixture : public ::testing::Test {
 protected:
  AppFixture() {
    static int counter = 0;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    unique_ = std::string(info->test_suite_name()) + "-" + info->name() + "-" +
              std::to_string(::getpid()) + "-" + std::to_string(counter++);
    std::filesystem::create_directories(root_ / "program" / "FileData");
    std::filesystem::create_directories(root_ / "fallback");
    options_.simulate = true;
    options_.statePath = (root_ / "amplifier.state").string();
    options_.instanceName = "zr78-test-" + unique_;
    options_.channelLockName = "zr78-test-usb-" + unique_;
    options_.fastLink = true;
    options_.localeId = kLocaleUnitedStates;
    Folders folders;
    folders.program = root_ / "program";
    folders.fallback = root_ / "fallback";
    folders.baseName = "zr78";
    folders.working = root_;
    options_.folders = folders;
  }
  ~AppFixture() override {
    app_.reset();
    QApplication::processEvents();
  }

  // Builds and starts the program; false when it ended at once.
  bool start() {
    app_ = std::make_unique<Application>(options_);
    return !app_->start().has_value();
  }
  bool startConnected() { return start() && waitConnected(); }
  // Connected, fully read and the display refreshed.
  bool waitConnected(int timeoutMs = 8000) {
    return waitUntil(
        [&] {
          return session().worker.synchronising() && window().displayRefreshes() > 0 &&
                 window().topButton(kButtonStatus)->state() == ButtonState::kPressed;
        },
        timeoutMs);
  }
  // Lets queued notifications reach the window.
  void settle() {
    QTest::qWait(20);
    QApplication::processEvents();
  }
  void writeLanguageIni(int language) {
    std::ofstream(root_ / "program" / "FileData" / "Language.ini")
        << "[zr78]\nLanguage=" << language << "\n";
  }
  // The value the virtual amplifier reports for a register, as if it had
  // arrived from the device: stored on both sides, then notified.
  // Registers 1234 and 1248 are polled by the keep-alive: a reply already on
  // its way may still carry the old value, so the change waits for two polls
  // that the device answered after it.
  void deviceValue(int address, int32_t value) {
    app_->amplifier()->setReg(address, value);
    if (address == 1234 || address == 1248) {
      amp().resetCounters();
      waitUntil([&] { return amp().framesReceived(6) >= 2; });
      settle();
    }
    session().table.storeFromDevice(address, value);
    session().table.setFromDevice(address, false);
    postMessage(&window(), MSG_DEVICE_NOTIFY, 0, address);
    settle();
  }
  // The configuration word (1248) the device reports.
  void deviceConfiguration(int32_t word) {
    sim::SimConfig c = amp().config();
    c.configWord = word;
    amp().setConfig(c);
    deviceValue(1248, word);
  }
  void click(QWidget* w, QPoint at = QPoint()) {
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at.isNull() ? w->rect().center() : at);
    settle();
  }

  MainWindow& window() { return *app_->window(); }
  LinkSession& session() { return *app_->session(); }
  RegisterTable& table() { return session().table; }
  sim::VirtualAmplifier& amp() { return *app_->amplifier(); }

  std::string unique_;
  TempDir dir_{"zr78-app-"};
  const std::filesystem::path root_ = dir_.path();
  AppOptions options_;
  std::unique_ptr<Application> app_;
};

}  // namespace zr78::test
