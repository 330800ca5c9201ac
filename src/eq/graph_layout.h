// Where the response graph puts everything, from its client size and scale
// factor: the plot, the grid and its labels, the handles, the Q arms and the
// legend. Pure arithmetic, shared by the window, the offscreen picture of
// zr78ctl and the tests; the painter only draws what this describes.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "eq/plot_geometry.h"

namespace zr78 {

struct GraphRect {
  int left = 0, top = 0, width = 0, height = 0;
  int right() const { return left + width; }    // exclusive
  int bottom() const { return top + height; }   // exclusive
  bool contains(int x, int y) const { return x >= left && x < right() && y >= top && y < bottom(); }
  bool operator==(const GraphRect&) const = default;
};

// A vertical grid line: its frequency, label (empty for none) and whether it
// marks a decade.
struct FrequencyLine {
  double hz;
  std::string_view label;
  bool major;
};
std::span<const FrequencyLine> frequencyLines();

// The gain axis: nine horizontal lines at y0 + k·H/8, labels at every other.
constexpr int kGainLineCount = 9;

// The arrow polygons of the Q arms, in percent of the handle size, for the
// left (pointing left) and the right arm.
struct PercentPoint {
  int x, y;
};
std::span<const PercentPoint> qArmPolygon(bool right);

class GraphLayout {
 public:
  static constexpr double kHandleSize = 24;     // × scale
  static constexpr double kLabelFontSize = 12;  // × scale: grid, handle and value labels
  static constexpr double kLegendFontSize = 10;  // × scale
  static constexpr int kLegendWidth = 40, kLegendHeight = 15, kLegendPitch = 16;  // × scale

  GraphLayout() = default;
  // The client rectangle (0, 0, width, height) at scale s; the legend lists
  // `legendChannels` channels (0: no legend, the plot reaches further right).
  GraphLayout(int width, int height, double scale, int legendChannels);

  int width() const { return width_; }
  int height() const { return height_; }
  double scale() const { return scale_; }
  const PlotGeometry& plot() const { return plot_; }
  bool legend() const { return legendChannels_ > 0; }
  int legendChannels() const { return legendChannels_; }
  GraphRect plotRect() const { return {plot_.x0, plot_.y0, plot_.W, plot_.H}; }

  // The one frequency <-> x mapping, x relative to x0; and the gain axis.
  int xOf(double hz) const { return xOfFrequency(hz, plot_.W); }
  double frequencyAt(int x) const { return frequencyOfX(x, plot_.W); }
  int yOf(double gainDb) const { return yOfGain(gainDb, plot_.H); }
  // A dragged band's gain in whole tenths of a dB (toward zero), ±200.
  int gainTenthsAt(int y) const;
  // Crossover handles sit at −10 dB.
  int crossoverY() const { return crossoverHandleY(plot_.H); }

  // Grid: the y of gain line k (control coordinates) and its label ("+20",
  // "+10", "0db", "-10", "-20" at k = 0, 2, 4, 6, 8; empty otherwise).
  int gainLineY(int k) const;
  static std::string_view gainLabel(int k);

  // Handles: side hs = 24 s, centred on (x0 + x, yZero + y).
  double handleSize() const { return kHandleSize * scale_; }
  int handleCentreX(int x) const { return plot_.x0 + x; }
  int handleCentreY(int y) const { return plot_.yZero + y; }
  // The hs × hs square around a centre (control coordinates).
  GraphRect squareAround(int cx, int cy) const;
  bool handleHit(int x, int y, int px, int py) const;

  // Q arms: the horizontal distance of each arm's centre from the handle's
  // centre for a Q step index, and the step index a pointer distance means.
  // Both use the one line d = trunc((100 − 0.9900990099009901·i)·s + hs), so
  // an arm grabbed without moving keeps its Q, at every scale.
  int qArmDistance(int stepIndex) const;
  int qStepAtDistance(double distance) const;

  // Legend box of channel i (0 .. legendChannels − 1).
  GraphRect legendBox(int i) const;
  // The channel whose box holds the point, or −1.
  int legendHit(int x, int y) const;

 private:
  int width_ = 0, height_ = 0;
  double scale_ = 1.0;
  int legendChannels_ = 0;
  PlotGeometry plot_;
};

}  // namespace zr78
