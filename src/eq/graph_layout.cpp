#include "eq/graph_layout.h"

#include <algorithm>
#include <cmath>

namespace zr78 {

namespace {

constexpr FrequencyLine kFrequencyLines[] = {
    {19, "20", true},      {30, "", false},     {40, "", false},     {50, "50", false},
    {60, "", false},       {70, "", false},     {80, "", false},     {90, "", false},
    {100, "100", true},    {200, "200", false}, {300, "", false},    {400, "", false},
    {500, "500", false},   {600, "", false},    {700, "", false},    {800, "", false},
    {900, "", false},      {1000, "1K", true},  {2000, "2K", false}, {3000, "", false},
    {4000, "", false},     {5000, "5K", false}, {6000, "", false},   {7000, "", false},
    {8000, "", false},     {9000, "", false},   {10000, "10K", true}, {20600, "20K", true},
};

constexpr PercentPoint kLeftArm[] = {{10, 50}, {48, 10}, {48, 31}, {90, 31},
                                     {90, 69}, {48, 69}, {48, 90}};
constexpr PercentPoint kRightArm[] = {{10, 31}, {51, 31}, {51, 10}, {90, 50},
                                      {51, 90}, {51, 69}, {10, 69}};

constexpr std::string_view kGainLabels[kGainLineCount] = {"+20", "", "+10", "", "0db",
                                                          "", "-10", "", "-20"};

constexpr double kQArmSlope = 0.9900990099009901;  // 100 px for 101 steps
constexpr int kLastQStep = 101;

int scaled(double units, double scale) { return static_cast<int>(units * scale); }

}  // namespace

std::span<const FrequencyLine> frequencyLines() { return kFrequencyLines; }

std::span<const PercentPoint> qArmPolygon(bool right) {
  return right ? std::span<const PercentPoint>(kRightArm) : std::span<const PercentPoint>(kLeftArm);
}

GraphLayout::GraphLayout(int width, int height, double scale, int legendChannels)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      scale_(scale > 0 ? scale : 1.0),
      legendChannels_(std::max(0, legendChannels)),
      plot_(makePlotGeometry(0, 0, width_, height_, scale_, legendChannels_ > 0)) {}

int GraphLayout::gainTenthsAt(int y) const {
  if (plot_.H <= 1) return 0;
  // Whole numbers: −y / ((H − 1) / 400) tenths, truncated toward zero like
  // the field and the register word, so all three show the same value.
  const long long tenths = -static_cast<long long>(y) * 400 / (plot_.H - 1);
  return static_cast<int>(std::clamp(tenths, -200LL, 200LL));
}

int GraphLayout::gainLineY(int k) const { return plot_.y0 + k * plot_.H / 8; }

std::string_view GraphLayout::gainLabel(int k) {
  return k >= 0 && k < kGainLineCount ? kGainLabels[k] : std::string_view();
}

GraphRect GraphLayout::squareAround(int cx, int cy) const {
  const int side = static_cast<int>(std::lround(handleSize()));
  return {cx - side / 2, cy - side / 2, side, side};
}

bool GraphLayout::handleHit(int x, int y, int px, int py) const {
  return squareAround(handleCentreX(x), handleCentreY(y)).contains(px, py);
}

int GraphLayout::qArmDistance(int stepIndex) const {
  const int i = std::clamp(stepIndex, 0, kLastQStep);
  return static_cast<int>((100 - kQArmSlope * i) * scale_ + handleSize());
}

int GraphLayout::qStepAtDistance(double distance) const {
  const double c = 101 - 1.01 * (distance - handleSize()) / scale_;
  if (!(c > 0)) return 0;
  return std::min(kLastQStep, static_cast<int>(c));
}

GraphRect GraphLayout::legendBox(int i) const {
  if (i < 0 || i >= legendChannels_) return {};
  const int count = legendChannels_;
  const double pitch = kLegendPitch * scale_ +
                       (count > 1 ? (height_ - kLegendPitch * scale_ * count - plot_.y0) / (count - 1)
                                  : 0.0);
  const int top = static_cast<int>(plot_.y0 / 2.0 + i * pitch);
  return {plot_.x1 + scaled(12, scale_), top, scaled(kLegendWidth, scale_),
          scaled(kLegendHeight, scale_)};
}

int GraphLayout::legendHit(int x, int y) const {
  for (int i = 0; i < legendChannels_; ++i)
    if (legendBox(i).contains(x, y)) return i;
  return -1;
}

}  // namespace zr78
