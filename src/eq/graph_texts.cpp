#include "eq/graph_texts.h"

#include "eq/eq_channel_state.h"
#include "eq/plot_geometry.h"
#include "text/number_text.h"

namespace zr78 {

namespace {

std::string frequencyPart(double frequencyHz, bool integerMode) {
  return formatNumber(frequencyHz < 100 && !integerMode ? "F:%0.1f" : "F:%0.0f", frequencyHz);
}

}  // namespace

std::string handleText(int point) {
  if (point == kHighPassPoint) return "H";
  if (point == kLowPassPoint) return "L";
  return std::to_string(point - kFirstBandPoint + 1);
}

std::string bandLabelText(double frequencyHz, double q, double gainDb, bool integerMode) {
  return frequencyPart(frequencyHz, integerMode) + formatNumber(" Q:%0.2f", q) +
         formatNumber(" G:%0.1f", gainDb);
}

std::string crossoverLabelText(double frequencyHz, bool integerMode) {
  if (frequencyHz >= kAxisMaxHz || frequencyHz < 19.7) return "F:OFF";
  return frequencyPart(frequencyHz, integerMode);
}

std::string legendText(int channel) { return "CH" + std::to_string(channel + 1); }

}  // namespace zr78
