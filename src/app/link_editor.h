// LinkEditor: the modal dialog that forms a link group around one channel.
// The eight channels are numbered circles: the channel whose link button
// opened the editor in the middle, the others on a ring around it (channel 1
// at the left, 3 at the top, 5 at the right, 7 at the bottom). Red lines join
// every group's head to its members. Releasing the left button over a circle
// links that channel to the middle one; a right click over a circle unlinks
// it. OK keeps the groups only when the middle channel leads one; "exit"
// discards them.
//
// Everything is in pixels of the design size, multiplied by the main
// window's scale, so a window drawn at twice the size gets a twice as large
// editor.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>

#include "controls/panel_surface.h"
#include "controls/window_message.h"
#include "registers/register_map.h"
#include "text/text_entry.h"

namespace zr78 {

class ImageButton;

class LinkEditor : public QDialog {
  Q_OBJECT

 public:
  using Groups = std::array<int, kChannelCount>;

  static constexpr int kOkId = 1;
  static constexpr int kExitId = 2;
  static constexpr int kRingRadius = 150;
  static constexpr int kCircleRadius = 10;
  // The client area at scale 1 (the dialog template's 342 × 236 units).
  static constexpr QSize kClientSize{513, 383};

  // currentChannel is 1-based, as the user reads it.
  LinkEditor(const Groups& groups, int currentChannel, double scale, Language language,
             QWidget* parent);

  const Groups& groups() const { return groups_; }
  int currentChannel() const { return current_; }
  // The circle of channel k (0..7) in client pixels.
  QRect circle(int k) const { return circles_[static_cast<size_t>(k)]; }
  ImageButton* okButton() const { return ok_; }
  ImageButton* exitButton() const { return exit_; }

  // Centres of the eight circles for a client size: the current channel
  // (1-based) at the middle, channel k elsewhere at the angle k·π/4 on the
  // ring, truncated to whole pixels.
  static std::array<QPoint, kChannelCount> circleCentres(QSize client, int currentChannel,
                                                         double scale);

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  // The first circle that holds the point, or −1.
  int circleAt(QPointF point) const;
  void onOk();
  void layOutButtons();
  void compose();

  Groups groups_;
  int current_;
  double scale_;
  Language language_;
  std::array<QRect, kChannelCount> circles_{};
  PanelSurface surface_;
  QImage buttonArt_;
  MessageTable messages_;
  ImageButton* ok_ = nullptr;
  ImageButton* exit_ = nullptr;
};

}  // namespace zr78
