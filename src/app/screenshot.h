// Screenshot mode: once the window is connected and the worker has refreshed
// the display, the window is grabbed into a PNG and the program ends.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

namespace zr78 {

class Application;
class ScreenshotScene;

class ScreenshotTaker : public QObject {
  Q_OBJECT

 public:
  static constexpr int kPollMs = 20;
  static constexpr int kGiveUpMs = 60000;

  ScreenshotTaker(Application& app, QString path);
  ~ScreenshotTaker() override;
  // The exit code once done: 0 saved, 1 not saved or never connected.
  int exitCode() const { return exitCode_; }

 private:
  bool ready() const;
  void poll();
  void showEqView();
  void finish(int code);

  Application& app_;
  QString path_;
  QTimer timer_;
  int waitedMs_ = 0;
  int exitCode_ = 1;
  // The scene of --scene: set up once connected, grabbed two polls later.
  std::unique_ptr<ScreenshotScene> scene_;
  int sceneStep_ = 0;
};

}  // namespace zr78
