#include "eq/response_set.h"

#include <algorithm>

namespace zr78 {

namespace {
const std::vector<double> kNoTotals;
const std::vector<PlotPoint> kNoPolyline;
}  // namespace

ResponseSet::ResponseSet(int channelCount)
    : channelCount_(std::clamp(channelCount, 0, kMaxChannels)) {}

void ResponseSet::setGeometry(const PlotGeometry& geometry) {
  geometry_ = geometry;
  evaluator_.setPlotWidth(geometry.W);
  const int columns = evaluator_.columnCount();
  // The polyline holds at most the two anchors and one point per column.
  const size_t capacity = std::max(geometry.right - geometry.left + 20, columns + 2);
  for (Channel& c : channels_) {
    c.totalPx.assign(columns, 0.0);
    c.polyline.clear();
    c.polyline.reserve(capacity);
    c.stale = true;
  }
}

void ResponseSet::setCrossoverLimits(const CrossoverLimits& limits) {
  evaluator_.setCrossoverLimits(limits);
  for (Channel& c : channels_) c.stale = true;
}

const EqChannelState* ResponseSet::state(int channel) const {
  return valid(channel) ? &channels_[channel].state : nullptr;
}

bool ResponseSet::setState(int channel, const EqChannelState& state) {
  if (!valid(channel)) return false;
  channels_[channel].state = state;
  channels_[channel].stale = true;
  return true;
}

bool ResponseSet::markStale(int channel) {
  if (!valid(channel)) return false;
  channels_[channel].stale = true;
  return true;
}

bool ResponseSet::stale(int channel) const { return valid(channel) && channels_[channel].stale; }

bool ResponseSet::setVisible(int channel, bool visible) {
  if (!valid(channel)) return false;
  channels_[channel].visible = visible;
  return true;
}

bool ResponseSet::visible(int channel) const {
  return valid(channel) && channels_[channel].visible;
}

bool ResponseSet::recomputeChannel(int channel) {
  if (!valid(channel)) return false;
  Channel& c = channels_[channel];
  c.stale = false;
  evaluator_.evaluate(c.state, pixelsPerDb(geometry_.H), c.totalPx.data());
  buildPolyline(c.totalPx.data(), static_cast<int>(c.totalPx.size()), geometry_, c.polyline);
  return true;
}

int ResponseSet::recompute(int currentChannel) {
  int count = 0;
  for (int c = 0; c < channelCount_; ++c) {
    const Channel& ch = channels_[c];
    if (c == currentChannel || (ch.visible && ch.stale)) count += recomputeChannel(c) ? 1 : 0;
  }
  return count;
}

const std::vector<double>& ResponseSet::totalsPx(int channel) const {
  return valid(channel) ? channels_[channel].totalPx : kNoTotals;
}

const std::vector<PlotPoint>& ResponseSet::polyline(int channel) const {
  return valid(channel) ? channels_[channel].polyline : kNoPolyline;
}

}  // namespace zr78
