// The pictures of the channel side for review and the README: a strip with
// its speaker roles assigned (the car lit), levels, delays and a link
// group; the same with the link editor open; the mixer open; the preview of
// a filter-text import onto CH1. Set up through the window's own paths, as a
// user or the amplifier would set them.
#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>
#include <string>

class QDialog;

namespace zr78 {

class Application;

class ScreenshotScene {
 public:
  // "strip", "links", "mixer" or "import" (of the options' filter text); an
  // unknown or empty name sets up nothing.
  ScreenshotScene(Application& app, std::string name);
  ~ScreenshotScene();

  // Writes the scene's registers and link groups (the worker sends them).
  void prepare();
  // Opens the scene's dialog, if it has one, once the prepared values are shown.
  void open();
  // What to grab: the open dialog, else the main window.
  QWidget* target() const;

 private:
  Application& app_;
  std::string name_;
  std::unique_ptr<QDialog> dialog_;
};

}  // namespace zr78
