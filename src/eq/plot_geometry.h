// Geometry of the response graph's plot and its value <-> pixel mappings:
// logarithmic frequency axis 19 .. 20600 Hz, gain axis +20 dB (top) .. −20 dB.
// Each mapping is written once here; the graph and the response use these.
#pragma once

namespace zr78 {

constexpr double kAxisMinHz = 19;
constexpr double kAxisMaxHz = 20600;
constexpr double kAxisGainSpanDb = 40;  // +20 .. −20 dB

struct PlotGeometry {
  int left = 0, right = 0;             // client rectangle's horizontal edges
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // plot rectangle
  int W = 0, H = 0;                    // plot width and height
  int yZero = 0;                       // the 0 dB line
};

// The plot inside a client rectangle at scale factor s: margins 30 s left,
// 10 s top, 18 s bottom and 60 s right with the legend (16 s without).
PlotGeometry makePlotGeometry(int left, int top, int right, int bottom, double scale, bool legend);
// A plot of W × H pixels with the scale-1 margins around it.
PlotGeometry plotGeometryOfSize(int width, int height);
// The EQ panel's graph (1067 × 213 design pixels, legend on) at a scale.
PlotGeometry eqPanelPlotGeometry(double scale);

// x relative to x0 of a frequency, and back.
int xOfFrequency(double frequencyHz, int width);
double frequencyOfX(double x, int width);
// y relative to yZero (positive downwards) of a gain.
int yOfGain(double gainDb, int height);
// A dragged band's gain from its y (relative to yZero): −y / ((H − 1) / 400)
// tenths, clamped to ±200 tenths, in dB. The H − 1 lets the top edge reach
// +20 dB.
double gainOfY(int y, int height);
// The crossover handles sit at −10 dB: trunc(H × 100 / 400) below yZero.
int crossoverHandleY(int height);
// Pixel offset of a gain, positive = boost: dB × H / 40.
inline double pixelsPerDb(int height) { return height / kAxisGainSpanDb; }

// Quantising a frequency: whole hertz in integer mode, else the first
// FREQUENCY_GRID value at or above it (19 below the grid, 20600 above).
double quantiseFrequency(double frequencyHz, bool integerMode);

}  // namespace zr78
