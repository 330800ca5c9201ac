// The response graph without its window: every channel's EqChannelState and
// curve, the configuration the EQ panel applies, the current channel's
// handles, and what a press, a move, a release, a wheel notch or an arrow
// key does to them. The window (src/app) turns events into these calls and
// the notices into messages; the painter (src/controls) draws what this
// holds. Standard library only, so all of it is testable without Qt.
//
// Points: 0 high-pass, 1 low-pass, 2..32 bands 1..31. Handle positions are
// x relative to the plot's left edge and y relative to the 0 dB line
// (positive downwards), in client pixels. Every handle is enabled.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "eq/graph_layout.h"
#include "eq/response_set.h"

namespace zr78 {

// A notice to the owner, sent as the graph's message (its control id):
// wParam 1 high-pass, 2 low-pass, 0 band (lParam = band 0..30), 5 a legend
// toggle (lParam 0). The legend's is posted, the others are sent.
struct GraphNotice {
  int wParam = 0;
  int lParam = 0;
  bool posted = false;
  bool operator==(const GraphNotice&) const = default;
};
inline constexpr int kNoticeBand = 0;
inline constexpr int kNoticeHighPass = 1;
inline constexpr int kNoticeLowPass = 2;
inline constexpr int kNoticeLegend = 5;

enum class GraphKey { kUp, kDown };
enum class Crossover { kHighPass = 0, kLowPass = 1 };

struct FrequencyLimits {
  double minHz = 19, maxHz = kAxisMaxHz;
};

struct HandlePosition {
  int x = 0, y = 0;
  bool operator==(const HandlePosition&) const = default;
};

class ResponseGraphModel {
 public:
  static constexpr int kMaxChannels = ResponseSet::kMaxChannels;
  static constexpr int kNoPoint = -1;

  ResponseGraphModel();

  // ---- configuration -----------------------------------------------------
  void setScale(double scale);  // multiplies margins, handles and fonts
  double scale() const { return scale_; }
  // Channels listed in the legend (on when above 0), all hidden.
  void setChannelCount(int count);
  int channelCount() const { return channelCount_; }
  void setHighPassLimits(double minHz, double maxHz);
  void setLowPassLimits(double minHz, double maxHz);
  void setBandLimits(double minHz, double maxHz);
  FrequencyLimits limits(int point) const;
  // Whole hertz instead of the frequency grid.
  void setIntegerMode(bool on) { integerMode_ = on; }
  bool integerMode() const { return integerMode_; }
  // GEQ: band handles move only vertically. PEQ: the Q arms are drawn.
  void setGeqMode(bool on) { geq_ = on; }
  bool geqMode() const { return geq_; }
  void setPeqMode(bool on);
  bool peqMode() const { return peq_; }
  // The client size: geometry, handle positions, every curve stale.
  void resize(int width, int height);
  const GraphLayout& layout() const { return layout_; }

  // ---- values (any channel 0..19; others are ignored) --------------------
  // Frequencies are clamped to the point's limits and quantised; gains to
  // ±20 dB; Q into 0.4 .. 128. `show` makes the point the label point.
  void setBandFrequency(double hz, int band, int channel, bool show = false);
  void setBandGain(double db, int band, int channel, bool show = false);
  void setBandQ(double q, int band, int channel, bool show = false);
  void setCrossoverFrequency(double hz, int channel, Crossover which, bool show = false);
  // Codes 8..31 and 40..69 only; odd codes are the low-pass's. For the
  // current channel, when no handle is dragged, that crossover becomes the
  // selected and label point.
  void setCrossoverCode(int code, int channel);
  // Every value of a channel at once, through the rules above.
  void setChannelState(int channel, const EqChannelState& state);
  void selectChannel(int channel);
  int currentChannel() const { return current_; }
  // A channel's values; the current one's when the channel is out of range.
  const EqChannelState& state(int channel) const;
  const EqChannelState& currentState() const { return state(current_); }

  // ---- the pointer, the wheel and the keys -------------------------------
  std::optional<GraphNotice> press(int x, int y);
  // Drags the pressed handle or arm; otherwise hover: the handle under the
  // pointer becomes the label point.
  std::optional<GraphNotice> move(int x, int y);
  std::optional<GraphNotice> release(int x, int y);
  std::optional<GraphNotice> wheel(bool up);
  std::optional<GraphNotice> key(GraphKey key);
  // After a move without a drag: over a handle or a legend box (hand cursor).
  bool hovering() const { return hovering_; }
  bool dragging() const { return dragged_ != kNoPoint || leftArm_ || rightArm_; }
  int draggedPoint() const { return dragged_; }
  bool armDragged(bool right) const { return right ? rightArm_ : leftArm_; }

  // ---- what is drawn -----------------------------------------------------
  int selectedPoint() const { return selected_; }
  // Selects a point (and shows its label) as a click on its handle would,
  // without a drag and without a notice.
  void selectPoint(int point);
  int labelPoint() const { return label_; }
  const HandlePosition& handle(int point) const { return handles_[point]; }
  // The label of the label point.
  std::string labelText() const;
  // The arms are drawn in PEQ mode around a selected band; each is the
  // hs × hs cell centred at the handle's centre ± the arm distance.
  bool qArmsShown() const;
  GraphRect qArmCell(bool right) const;
  bool visible(int channel) const;
  void setVisible(int channel, bool visible);

  // ---- curves ------------------------------------------------------------
  // The repaint rule: the current channel and every visible stale one.
  int recompute();
  const std::vector<PlotPoint>& polyline(int channel) const { return curves_.polyline(channel); }
  bool stale(int channel) const { return curves_.stale(channel); }
  // Changes whenever the picture behind the current curve changes: the
  // geometry, the current channel, a visibility or another shown curve.
  unsigned backdropRevision() const { return backdropRevision_; }

 private:
  bool valid(int channel) const { return channel >= 0 && channel < kMaxChannels; }
  static bool isBand(int point) { return point >= kFirstBandPoint && point < kEqPointCount; }
  EqChannelState& mutableState(int channel) { return states_[channel]; }
  void stored(int channel);  // a value changed: curve stale
  void placeHandle(int point);
  void placeHandles();
  double clampedFrequency(int point, double hz) const;
  void storeGain(int channel, int band, double db);
  std::optional<GraphNotice> notice(int point) const;
  int hitHandle(int x, int y) const;
  std::optional<Crossover> armHit(int x, int y) const;
  void dragHandle(int x, int y);
  void dragArm(int x);
  std::optional<GraphNotice> stepCrossover(int point, int gridSteps, double wholeHertz);
  std::optional<GraphNotice> stepGain(double deltaDb);

  double scale_ = 1.0;
  int channelCount_ = 0;
  std::array<FrequencyLimits, 3> limits_{};  // high-pass, low-pass, band
  bool integerMode_ = false;
  bool geq_ = false;
  bool peq_ = false;
  GraphLayout layout_;

  std::array<EqChannelState, kMaxChannels> states_{};
  ResponseSet curves_{kMaxChannels};
  std::array<bool, kMaxChannels> visible_{};
  unsigned backdropRevision_ = 0;

  int current_ = 0;
  int selected_ = 0;
  int label_ = 0;
  int dragged_ = kNoPoint;
  bool leftArm_ = false, rightArm_ = false;
  bool hovering_ = false;
  std::array<HandlePosition, kEqPointCount> handles_{};
};

// The configuration the EQ panel gives its graph: scale factor, band limits
// 20..20000 Hz, crossover limits 19..20000 Hz, whole hertz, eight channels in
// the legend, GEQ mode.
void configureAsEqPanelGraph(ResponseGraphModel& model, double scale);
// Every channel's values from a register image, through the setters.
void loadGraphChannels(ResponseGraphModel& model, const RegisterImage& registers);

}  // namespace zr78
