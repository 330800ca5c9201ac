// ResponseGraph: the EQ panel's response graph. It shows the frequency
// response of the output channels and lets the user edit the current one by
// dragging handles (31 bands, the high-pass and the low-pass) and the Q arms,
// with the wheel and the arrow keys. Every user edit is reported to the
// parent as the graph's own message (its control id): wParam 1 high-pass,
// 2 low-pass, 0 band (lParam = band), sent; 5 a legend toggle, posted.
//
// The model (eq/response_graph_model.h) holds the values and the rules; the
// painter (controls/response_graph_painter.h) draws it. The widget keeps the
// backdrop (background, grid, other curves, legend) as one picture, rebuilt
// only when it changes, and repaints only the part of the frame that a
// change touched. UI thread only.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "controls/response_graph_painter.h"
#include "eq/response_graph_model.h"

namespace zr78 {

class PanelSurface;

class ResponseGraph : public QWidget {
  Q_OBJECT

 public:
  ResponseGraph(int controlId, QWidget* parent);

  int controlId() const { return controlId_; }
  const ResponseGraphModel& model() const { return model_; }

  // The panel's surface behind the graph; it outlives the graph.
  void setBackgroundSource(const PanelSurface* source);
  // The EQ panel's configuration at a scale factor (configureAsEqPanelGraph).
  void configureAsEqPanel(double scale);
  // The scale factor alone (margins, handles, fonts), as the window resizes.
  void setScale(double scale);
  void setGeqMode(bool on);
  void setPeqMode(bool on);

  // The model's setters; the graph repaints what they change.
  void setBandFrequency(double hz, int band, int channel, bool show = false);
  void setBandGain(double db, int band, int channel, bool show = false);
  void setBandQ(double q, int band, int channel, bool show = false);
  void setCrossoverFrequency(double hz, int channel, Crossover which, bool show = false);
  void setCrossoverCode(int code, int channel);
  void selectChannel(int channel);
  void setChannelVisible(int channel, bool visible);
  void selectPoint(int point);

  // Context menu items, in order; the text is asked each time the menu
  // opens, so it follows the language.
  void addMenuItem(std::function<QString()> text, std::function<void()> run);

  // The whole picture as the screen shows it, at the screen's pixel ratio.
  QImage picture();
  // Paint events served, and the client area they covered (for the tests
  // and the benchmarks).
  int paintCount() const { return paintCount_; }
  const QRect& lastPaintedRect() const { return lastPainted_; }

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;

 private:
  // What the frame showed after the last refresh, to find what changed.
  struct Frame {
    std::array<QRect, kEqPointCount> handles{};
    int selected = -1;
    QRect label;
    std::string labelText;
    QRect arms[2];
    bool armDragged[2] = {false, false};
  };

  void changed();     // a setter ran: refresh once the event loop comes round
  void refreshNow();  // recompute, find what changed, schedule its repaint
  Frame currentFrame() const;
  void prepareLayers();
  QImage background() const;
  void deliver(const std::optional<GraphNotice>& notice);
  void press(QMouseEvent* e);

  const int controlId_;
  ResponseGraphModel model_;
  ResponseGraphPainter painter_;
  const PanelSurface* source_ = nullptr;
  QImage backdrop_;
  bool backdropStale_ = true;
  unsigned backdropRevision_ = 0;
  bool refreshPending_ = false;
  Frame frame_;
  std::vector<PlotPoint> shownCurve_;
  int shownChannel_ = -1;
  int paintCount_ = 0;
  QRect lastPainted_;
  struct MenuItem {
    std::function<QString()> text;
    std::function<void()> run;
  };
  std::vector<MenuItem> menu_;
};

}  // namespace zr78
