// EqPanel: the upper panel of the main window, where one output channel's
// 31-band equaliser, crossovers and limiter are edited. The response graph
// spans its top; below it each band has a number, frequency, Q and gain
// fields, a fader and an on/off button; on the left the high-pass and
// low-pass columns, the limiter and the reset, bypass and GEQ/PEQ buttons.
//
// Every edit is mirrored between the fields, the fader, the graph and the
// register table: the panel updates its own controls and the graph, then
// sends MSG_PANEL_EDIT (wParam = current channel, lParam = EqParamIndex) to
// its parent, which has the panel encode the value, writes the register and
// propagates it to linked channels. Values from the device come back
// through apply() and reload(). Laid out on the 1278 × 718 design canvas
// (x by sx, y by sy, sizes and fonts by sz). UI thread only.
#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>

#include "controls/window_message.h"
#include "eq/eq_model.h"

namespace zr78 {

class Fader;
class ImageButton;
class LanguageIndex;
class MessageBoxRoutine;
class NumericEdit;
class PanelSurface;
class RegisterTable;
class ResponseGraph;
class SkinComboBox;
class SkinLabel;

struct EqPanelParts {
  const RegisterTable& table;
  LanguageIndex& language;
  MessageBoxRoutine& messages;
  const PanelSurface* background;  // the main window's surface
};

class EqPanel : public QWidget {
  Q_OBJECT

 public:
  // Control ids: each notifying control sends its own id.
  static constexpr int kGraphId = 6024;
  static constexpr int kBandFrequencyId = 8024;  // + band
  static constexpr int kBandQId = 9024;
  static constexpr int kBandGainId = 10024;
  static constexpr int kFaderId = 11024;
  static constexpr int kResetId = 13024;
  static constexpr int kBypassId = 13025;
  static constexpr int kModeId = 13026;
  static constexpr int kOnOffId = 14024;
  static constexpr int kCrossoverFieldId = 16024;  // 16024 .. 16027
  static constexpr int kListId = 16124;            // 16124 .. 16128
  static constexpr int kNoBand = 32;               // highlight none
  // Text refresh items.
  static constexpr int kFirstTextItem = 103;
  static constexpr int kLastTextItem = 118;

  EqPanel(const EqPanelParts& parts, QWidget* parent);

  // The three scale factors of the main window; lays out when sz > 0.5.
  void setScale(double sx, double sy, double sz);

  // Makes c (0..7) current and reloads every field, list, button and every
  // channel's graph values from the register table; ignored above 7.
  void reload(int channel);
  // One register word of parameter p of a channel: the graph's values for
  // that channel, and the panel's controls when it is the current one.
  void apply(int param, int32_t word, int channel);
  // The register word of p from the current fields and lists; empty for an
  // index that names no parameter.
  std::optional<int32_t> encode(int param) const;
  // Sets one group of texts from the language tables (items 103..118).
  void refreshText(int item);
  void refreshTexts();

  // The mode button pressed from the program: PEQ or GEQ, with everything
  // the button's own click does.
  void setPeqMode(bool peq);

  int currentChannel() const { return current_; }
  int lastEdited() const { return lastEdited_; }
  bool geqMode() const;

  // Parts for the main window, the tests and the benchmarks.
  ResponseGraph* graph() const { return graph_; }
  NumericEdit* frequencyField(int band) const { return frequency_[band]; }
  NumericEdit* qField(int band) const { return q_[band]; }
  NumericEdit* gainField(int band) const { return gain_[band]; }
  Fader* fader(int band) const { return faders_[band]; }
  ImageButton* onOffButton(int band) const { return onOff_[band]; }
  SkinLabel* bandLabel(int band) const { return numbers_[band]; }
  ImageButton* commandButton(int i) const { return commands_[i]; }  // reset, bypass, mode
  NumericEdit* crossoverField(int i) const { return fields_[i]; }   // 16024 + i
  SkinComboBox* list(int i) const { return lists_[i]; }             // 16124 + i
  SkinLabel* headerLabel(int i) const { return headers_[i]; }
  SkinLabel* sectionLabel(int i) const { return sections_[i]; }
  int highlightedBand() const { return highlighted_; }

 protected:
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  bool focusNextPrevChild(bool next) override;
  void keyPressEvent(QKeyEvent* e) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  // eq_panel.cpp: controls, layout, texts, painting, keys.
  void createControls();
  void setUpControls();
  void layOut();
  void setBandFieldsReadOnly(bool readOnly);
  void styleBandNumber(int band);
  void navigate(int step);
  bool navigable(int param) const;
  QWidget* controlOf(int param) const;
  void saveGraphPicture();

  // eq_panel_handlers.cpp: the message table and every handler.
  void buildMessageTable();
  void onGraph(int wParam, int lParam);
  void onBandFrequency(int band, int value);
  void onBandQ(int band, int position);
  void onBandGain(int band, int tenths);
  void onFader(int band, int position);
  void onOnOff(int band);
  void onReset();
  void onBypass();
  void onMode();
  void onCrossoverField(int i);
  void onList(int i);
  void highlight(int band);
  void refreshButtons();
  void setBandGain(int band, double db);  // field, fader and graph
  void sendEdit(int param, int lastEdited = -1);

  const RegisterTable& table_;
  LanguageIndex& language_;
  MessageBoxRoutine& messages_;
  const PanelSurface* background_;
  MessageTable messageTable_;

  int current_ = 0;
  int lastEdited_ = 0;
  std::array<double, kBandCount> savedGains_{};
  int highlighted_ = kNoBand;
  double sx_ = 1.0, sy_ = 1.0, sz_ = 1.0;
  bool setUp_ = false;
  QImage bandSwitch_;

  ResponseGraph* graph_ = nullptr;
  std::array<SkinLabel*, kBandCount> numbers_{};
  std::array<NumericEdit*, kBandCount> frequency_{}, q_{}, gain_{};
  std::array<Fader*, kBandCount> faders_{};
  std::array<ImageButton*, kBandCount> onOff_{};
  std::array<SkinLabel*, 4> headers_{};
  std::array<ImageButton*, 3> commands_{};
  std::array<SkinLabel*, 12> sections_{};
  std::array<NumericEdit*, 4> fields_{};
  std::array<SkinComboBox*, 5> lists_{};
};

}  // namespace zr78
