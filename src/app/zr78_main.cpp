// zr78, the tuning tool: builds the application's objects and runs the
// window's event loop.
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <memory>
#include <string>

#include "app/application.h"
#include "app/app_options.h"
#include "app/main_window.h"
#include "app/quit_signals.h"
#include "app/screenshot.h"

int main(int argc, char** argv) {
  // The arguments first: --help and mistakes need no display.
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  std::string error;
  auto options = zr78::parseAppOptions(arguments, error);
  if (!options) {
    std::fprintf(stderr, "zr78: %s\n%s", error.c_str(), zr78::appUsage().c_str());
    return 2;
  }
  if (options->help) {
    std::printf("%s", zr78::appUsage().c_str());
    return 0;
  }
  if (options->version) {
    std::printf("zr78 %s\n", ZR78_VERSION);
    return 0;
  }
  const bool screenshot = !options->screenshotPath.empty();
  if (screenshot) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // A private instance and channel, so a running copy is left alone.
    const std::string own = "zr78-screenshot-" + std::to_string(::getpid());
    options->instanceName = own;
    options->channelLockName = own + "-usb";
  }
  QApplication qt(argc, argv);
  QApplication::setApplicationName(QStringLiteral("zr78"));
  QApplication::setApplicationVersion(QStringLiteral(ZR78_VERSION));
  // The desktop entry's id: Wayland matches the window to its menu entry and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral(ZR78_APP_ID));

  zr78::Application app(*options);
  if (auto code = app.start()) return *code;
  // Ctrl+C in the terminal: end as a confirmed close does, keeping the
  // virtual amplifier's memory.
  zr78::QuitSignals quitSignals([&app] {
    app.window()->shutdown();
    QApplication::quit();
  });
  std::unique_ptr<zr78::ScreenshotTaker> taker;
  if (screenshot)
    taker = std::make_unique<zr78::ScreenshotTaker>(
        app, QString::fromStdString(options->screenshotPath));
  return QApplication::exec();
}
