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
#include "controls/image_button.h"
#include "sync/link_session.h"

namespace zr78 {

ScreenshotTaker::ScreenshotTaker(Application& app, QString path) : app_(app), path_(std::move(path)) {
  connect(&timer_, &QTimer::timeout, this, &ScreenshotTaker::poll);
  timer_.start(kPollMs);
}

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
  // Everything the worker posted so far is shown before the grab.
  QCoreApplication::sendPostedEvents();
  showEqView();
  QCoreApplication::sendPostedEvents();
  QDir().mkpath(QFileInfo(path_).absolutePath());
  const bool saved = app_.window()->grab().save(path_, "PNG");
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
