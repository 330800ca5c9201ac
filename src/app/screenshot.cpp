#include "app/screenshot.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <cstdio>

#include "app/application.h"
#include "app/eq_panel.h"
#include "app/response_graph.h"
#include "eq/eq_channel_state.h"
#include "app/main_window.h"
#include "app/progress_window.h"
#include "app/screenshot_scene.h"
#include "controls/image_button.h"
#include "sync/link_session.h"

namespace zr78 {

ScreenshotTaker::ScreenshotTaker(Application& app, QString path) : app_(app), path_(std::move(path)) {
  connect(&timer_, &QTimer::timeout, this, &ScreenshotTaker::poll);
  timer_.start(kPollMs);
  if (!app_.options().screenshotScene.empty())
    scene_ = std::make_unique<ScreenshotScene>(app_, app_.options().screenshotScene);
}

ScreenshotTaker::~ScreenshotTaker() = default;

bool ScreenshotTaker::ready() const {
  MainWindow* w = app_.window();
  LinkSession* s = app_.session();
  return w != nullptr && s != nullptr && s->worker.synchronising() && w->displayRefreshes() > 0 &&
         w->topButton(kButtonStatus)->state() == ButtonState::kPressed &&
         !w->progressWindow().isVisible();
}

void ScreenshotTaker::poll() {
  waitedMs_ += kPollMs;
  if (!ready()) {
    if (waitedMs_ >= kGiveUpMs) {
      std::fprintf(stderr, "zr78: the window did not connect within %d s\n", kGiveUpMs / 1000);
      finish(1);
    }
    return;
  }
  // A scene is set up, then its dialog opened, each shown before the next step.
  if (scene_ && sceneStep_ < 2) {
    if (sceneStep_++ == 0) scene_->prepare();
    else scene_->open();
    return;
  }
  // Everything the worker posted so far is shown before the grab.
  QCoreApplication::sendPostedEvents();
  showEqView();
  QCoreApplication::sendPostedEvents();
  QDir().mkpath(QFileInfo(path_).absolutePath());
  QWidget* target = scene_ ? scene_->target() : app_.window();
  const bool saved = target->grab().save(path_, "PNG");
  if (!saved) std::fprintf(stderr, "zr78: cannot write %s\n", qPrintable(path_));
  finish(saved ? 0 : 1);
}

// The EQ panel as the options ask: its mode and the other curves shown.
void ScreenshotTaker::showEqView() {
  EqPanel* panel = app_.window()->eqPanel();
  const AppOptions& o = app_.options();
  if (o.screenshotPeq) {
    panel->setPeqMode(true);
    panel->graph()->selectPoint(kFirstBandPoint + 17);  // 1 kHz, with its Q arms
  }
  for (int c : o.screenshotCurves)
    if (c != panel->currentChannel()) panel->graph()->setChannelVisible(c, true);
}

void ScreenshotTaker::finish(int code) {
  timer_.stop();
  exitCode_ = code;
  if (app_.window() != nullptr) app_.window()->shutdown();
  QCoreApplication::exit(code);
}

}  // namespace zr78
