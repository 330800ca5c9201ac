// The response curves of all channels of the graph, with the recompute rule:
// at every repaint the current channel is recomputed, and every other channel
// whose visibility and recompute (stale) flags are both set.
#pragma once

#include <array>
#include <vector>

#include "eq/response.h"

namespace zr78 {

class ResponseSet {
 public:
  static constexpr int kMaxChannels = 20;

  explicit ResponseSet(int channelCount = kChannelCount);

  int channelCount() const { return channelCount_; }
  // Resize: rebuilds the columns and buffers and marks every channel stale.
  void setGeometry(const PlotGeometry& geometry);
  const PlotGeometry& geometry() const { return geometry_; }
  void setCrossoverLimits(const CrossoverLimits& limits);
  const ResponseEvaluator& evaluator() const { return evaluator_; }

  // Per-channel operations reject a channel outside 0..channelCount − 1.
  const EqChannelState* state(int channel) const;
  bool setState(int channel, const EqChannelState& state);  // marks stale
  bool markStale(int channel);
  bool stale(int channel) const;
  bool setVisible(int channel, bool visible);
  bool visible(int channel) const;

  // The repaint rule; returns how many channels were recomputed.
  int recompute(int currentChannel);
  // Recompute one channel now, whatever its flags.
  bool recomputeChannel(int channel);

  // Pixel totals per column (positive = boost) and the polyline; empty for a
  // rejected channel.
  const std::vector<double>& totalsPx(int channel) const;
  const std::vector<PlotPoint>& polyline(int channel) const;

 private:
  struct Channel {
    EqChannelState state;
    bool stale = true;
    bool visible = false;
    std::vector<double> totalPx;
    std::vector<PlotPoint> polyline;
  };

  bool valid(int channel) const { return channel >= 0 && channel < channelCount_; }

  int channelCount_;
  PlotGeometry geometry_;
  ResponseEvaluator evaluator_;
  std::array<Channel, kMaxChannels> channels_;
};

}  // namespace zr78
