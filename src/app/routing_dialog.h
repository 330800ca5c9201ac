// RoutingDialog: the modal mixer. For every output column (OutCh1..8) and
// every shown input row (High1.. or Low1.. by the input source) one cell: an
// on/off switch, a level box and a level fader, 0..100. Every change of a
// cell writes its RouteWord = (level << 8) | on straight into the register
// table (register 1614 + 8·output + input); the link sends it like any
// other edit. Nothing here is copied to linked channels.
//
// Laid out on a base client size of 108·8 + 102 by 55·rows + 72 pixels and
// scaled to the window's size (positions by the two factors, sizes by the
// smaller one).
#pragma once

#include <QDialog>
#include <QImage>
#include <QSize>
#include <array>
#include <vector>

#include "controls/panel_surface.h"
#include "controls/window_message.h"
#include "registers/register_map.h"
#include "text/text_entry.h"

namespace zr78 {

class Fader;
class ImageButton;
class NumericEdit;
class RegisterTable;
class SkinLabel;

class RoutingDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kLevelBoxId = 8024;
  static constexpr int kSwitchId = 9024;
  static constexpr int kFaderId = 10024;
  static constexpr int kLabelId = 11024;
  static constexpr int kGridSize = 12;  // cell k = 12·output + input
  static constexpr int kColumnCount = kRouteOutputs;
  static constexpr int kDefaultRows = 4;

  // rowCount inputs shown (1..8); scale: the owner's scale, for the size the
  // dialog opens at.
  RoutingDialog(RegisterTable& table, Language language, int rowCount, double scale, QWidget* owner);
  ~RoutingDialog() override;

  static constexpr int cellOf(int output, int input) { return kGridSize * output + input; }
  // The register of cell k, or −1 for a cell no register belongs to.
  int registerOfCell(int k) const;
  static QSize baseClientSize(int rowCount);

  int rowCount() const { return rows_; }
  ImageButton* routeSwitch(int output, int input) const;
  NumericEdit* levelBox(int output, int input) const;
  Fader* levelFader(int output, int input) const;
  // Labels 11024 + j: rows j = input, columns j = 12 + output.
  SkinLabel* label(int j) const { return labels_[static_cast<size_t>(j)]; }

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  struct Cell {
    ImageButton* on = nullptr;
    NumericEdit* level = nullptr;
    Fader* fader = nullptr;
  };
  const Cell* cell(int k) const;
  void createControls();
  void buildMessageTable();
  void layOut();
  void paintBackground(double sx, double sy);
  void write(int k);
  void onLevelBox(int k);
  void onSwitch(int k);
  void onFader(int k, qintptr position);

  RegisterTable& table_;
  Language language_;
  int rows_;
  int firstRow_ = 0;
  std::array<int, kGridSize * kGridSize> registers_{};
  std::vector<Cell> cells_;  // by cell number, for the shown rows
  std::array<SkinLabel*, 2 * kGridSize> labels_{};
  PanelSurface surface_;
  MessageTable messages_;
  QImage cellArt_, columnArt_, rowArt_, switchArt_, faderArt_;
};

}  // namespace zr78
