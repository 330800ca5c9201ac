#include "eq/plot_geometry.h"

#include <algorithm>
#include <cmath>

#include "eq/eq_model.h"
#include "eq/eq_tables.h"
#include "eq/step_table.h"

namespace zr78 {

namespace {

constexpr int kPanelGraphWidth = 1067;
constexpr int kPanelGraphHeight = 213;

int scaled(double units, double scale) { return static_cast<int>(units * scale); }

double axisDecades() { return std::log10(kAxisMaxHz / kAxisMinHz); }

// Pixel offsets are bounded far outside any screen so that an absurd value
// still converts to an int without overflow.
constexpr int32_t kPixelLimit = 1000000;
int toPixel(double value) { return truncClamped(value, -kPixelLimit, kPixelLimit); }

}  // namespace

PlotGeometry makePlotGeometry(int left, int top, int right, int bottom, double scale, bool legend) {
  PlotGeometry g;
  g.left = left;
  g.right = right;
  g.x0 = left + scaled(30, scale);
  g.y0 = top + scaled(10, scale);
  g.x1 = right - scaled(legend ? 60 : 16, scale);
  g.y1 = bottom - scaled(18, scale);
  g.W = g.x1 - g.x0;
  g.H = g.y1 - g.y0;
  g.yZero = static_cast<int>(g.y0 + g.H / 2.0);
  return g;
}

PlotGeometry plotGeometryOfSize(int width, int height) {
  return makePlotGeometry(0, 0, width + 30 + 60, height + 10 + 18, 1.0, true);
}

PlotGeometry eqPanelPlotGeometry(double scale) {
  return makePlotGeometry(0, 0, scaled(kPanelGraphWidth, scale), scaled(kPanelGraphHeight, scale),
                          scale, true);
}

int xOfFrequency(double frequencyHz, int width) {
  if (!(frequencyHz > 0)) return 0;
  return toPixel(std::log10(frequencyHz / kAxisMinHz) / axisDecades() * width);
}

double frequencyOfX(double x, int width) {
  if (width <= 0) return kAxisMinHz;
  return kAxisMinHz * std::pow(10.0, x / width * axisDecades());
}

int yOfGain(double gainDb, int height) { return -toPixel(height / 400.0 * gainDb * 10); }

double gainOfY(int y, int height) {
  if (height <= 1) return 0;
  const double tenths = -y / ((height - 1) / 400.0);
  return std::clamp(tenths, -200.0, 200.0) / 10;
}

int crossoverHandleY(int height) { return toPixel(height * 100 / 400.0); }

double quantiseFrequency(double frequencyHz, bool integerMode) {
  if (integerMode) return std::trunc(frequencyHz + 0.5);
  if (!(frequencyHz >= kAxisMinHz)) return kAxisMinHz;  // NaN too
  return FREQUENCY_GRID[static_cast<size_t>(stepIndex(FREQUENCY_GRID, frequencyHz))];
}

}  // namespace zr78
