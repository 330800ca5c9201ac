// The car diagram at the left of the channel strip: fourteen loudspeaker
// icons (0..2 front-left tweeter, midrange, woofer; 3..5 front-right; 6, 7
// rear-left tweeter, woofer; 8, 9 rear-right; 10, 11 centre; 12, 13 subs).
// An icon is shown, lit, while some channel's role drives it; otherwise
// the car drawn on the panel's background shows through. Display only.
#pragma once

#include <QRect>
#include <array>
#include <cstdint>
#include <functional>

#include "app/channel_strip_layout.h"

class QWidget;

namespace zr78 {

class ImageButton;
class PanelSurface;

class CarDiagram {
 public:
  static constexpr int kFirstIconId = 9324;

  // The icons become children of the panel.
  explicit CarDiagram(QWidget* panel);

  // Images and the background they are drawn over; then every icon's place.
  void place(const PanelSurface* background, const std::function<QRect(const CanvasRect&)>& placed);
  // Shows the icons whose bits are set (bit e = icon e) and hides the rest.
  void light(uint16_t icons);
  bool lit(int icon) const;
  uint16_t litIcons() const { return lit_; }
  ImageButton* icon(int e) const { return icons_[static_cast<size_t>(e)]; }

  // The PNG resource of an icon: 137 front/rear left, 138 right, 136 centre,
  // 139 subwoofers.
  static int imageOf(int icon);

 private:
  std::array<ImageButton*, kCarIcons> icons_{};
  uint16_t lit_ = 0;
};

}  // namespace zr78
