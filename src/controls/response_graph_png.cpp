#include "controls/response_graph_png.h"

#include <QGuiApplication>
#include <QImage>
#include <memory>
#include <vector>

#include "controls/png_resource.h"
#include "controls/response_graph_painter.h"
#include "eq/eq_model.h"
#include "eq/response_graph_model.h"

namespace zr78 {

namespace {

// Where the EQ panel's graph sits on the window's 1278 × 718 design canvas
// (the panel at y 65, the graph at 197, 8 in it, 1067 × 213): the part of
// the window's artwork the graph is drawn over. The window's tests check
// that its layout still puts the graph there.
constexpr QRectF kGraphOnCanvas(197, 73, 1067, 213);

// Text needs a GUI application; zr78ctl has none of its own.
std::unique_ptr<QGuiApplication> guiApplication() {
  if (QCoreApplication::instance() != nullptr) return nullptr;
  static int argc = 3;
  static char name[] = "zr78ctl", option[] = "-platform", platform[] = "offscreen";
  static char* argv[] = {name, option, platform, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

GraphPictureResult saveResponseGraphPng(const RegisterImage& registers,
                                        const GraphPictureOptions& options) {
  if (!isChannel(options.channel)) return {GraphPictureStatus::kBadRequest, "the channel must be 0..7"};
  if (options.plotWidth < 1 || options.plotHeight < 1)
    return {GraphPictureStatus::kBadRequest, "the plot must be at least 1 x 1"};
  const auto app = guiApplication();
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
    return {GraphPictureStatus::kCannotDraw, "no GUI application to draw with"};

  ResponseGraphModel model;
  configureAsEqPanelGraph(model, 1.0);
  const PlotGeometry size = plotGeometryOfSize(options.plotWidth, options.plotHeight);
  model.resize(size.right - size.left, size.y1 + 18);
  loadGraphChannels(model, registers);
  model.selectChannel(options.channel);
  for (int c = 0; c < kChannelCount; ++c) model.setVisible(c, options.allChannels && c != options.channel);
  model.recompute();

  const QImage art = loadPngResource(png::MAIN_BACKGROUND);
  QImage background;
  if (!art.isNull()) {
    const qreal dpr = art.devicePixelRatio();
    background = art.copy(QRectF(kGraphOnCanvas.topLeft() * dpr, kGraphOnCanvas.size() * dpr).toRect());
  }
  ResponseGraphPainter painter;
  painter.prepare(model.layout(), 1.0);
  const QImage picture = painter.render(model, background);
  if (picture.isNull()) return {GraphPictureStatus::kCannotDraw, "the picture is too large"};
  if (!picture.save(QString::fromStdString(options.path), "PNG"))
    return {GraphPictureStatus::kCannotWrite, "cannot write " + options.path};
  return {};
}

}  // namespace zr78
