// Draws a response graph model: the backdrop (the panel's background, the
// grid and its frequency labels, the other channels' curves, the legend) and
// over it the frame of the current channel (its curve, the handles, the gain
// labels, the Q arms, the numeric label). Anti-aliased; lines of the grid sit on whole device
// pixels, so the picture stays crisp at device pixel ratio 1 and 2. It knows
// the model's points and curves, nothing of registers or windows.
#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <array>
#include <vector>

#include "eq/response_graph_model.h"

class QPainter;

namespace zr78 {

class ResponseGraphPainter {
 public:
  // Fonts and handle sprites for a layout at a device pixel ratio; call when
  // either changes.
  void prepare(const GraphLayout& layout, double devicePixelRatio);
  double devicePixelRatio() const { return dpr_; }

  // The backdrop at the painter's ratio: `background` (the panel's picture
  // under the graph, any ratio; grey when null) stretched over the client,
  // then the grid, the shown other channels' curves and the legend.
  QImage backdrop(const ResponseGraphModel& model, const QImage& background) const;

  // The current channel's frame over the backdrop, restricted to `clip`
  // (client coordinates): only curve segments, handles and labels that reach
  // into it are drawn.
  void paintFrame(QPainter& p, const ResponseGraphModel& model, const QRect& clip) const;

  // A whole picture: backdrop and frame.
  QImage render(const ResponseGraphModel& model, const QImage& background) const;

  // The grid, its frequency labels and the gain labels alone, for other
  // pictures on the graph's scale (the layout given to prepare()).
  void paintScale(QPainter& p, const GraphLayout& layout) const;

  // Where the frame's parts are drawn (client coordinates, rounded out), so
  // a window repaints only what changed.
  QRect handleRect(const ResponseGraphModel& model, int point) const;
  QRect labelRect(const ResponseGraphModel& model) const;
  QRect qArmRect(const ResponseGraphModel& model, bool right) const;
  // The strip of the plot a change of the current curve between the two
  // polylines touches; empty when they are the same.
  QRect curveChange(const ResponseGraphModel& model, const std::vector<PlotPoint>& before,
                    const std::vector<PlotPoint>& after) const;

 private:
  void paintGrid(QPainter& p, const GraphLayout& layout) const;
  void paintGainLabels(QPainter& p, const GraphLayout& layout) const;
  void paintCurve(QPainter& p, const std::vector<PlotPoint>& polyline, const QColor& colour,
                  int fromX, int toX) const;
  void paintLegend(QPainter& p, const ResponseGraphModel& model) const;
  void paintQArms(QPainter& p, const ResponseGraphModel& model) const;
  void paintLabel(QPainter& p, const ResponseGraphModel& model) const;
  QImage handleSprite(int point, bool selected) const;
  double penWidth(double units) const { return units * scale_; }

  double dpr_ = 1.0;
  double scale_ = 1.0;
  QFont gridFont_, handleFont_, legendFont_;
  int spriteSide_ = 0;
  std::array<QImage, kEqPointCount> sprites_{}, selectedSprites_{};
};

}  // namespace zr78
