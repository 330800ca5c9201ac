#include "app/car_diagram.h"

#include <QImage>

#include "controls/image_button.h"
#include "controls/png_resource.h"

namespace zr78 {

CarDiagram::CarDiagram(QWidget* panel) {
  for (int e = 0; e < kCarIcons; ++e) {
    auto* b = new ImageButton(kFirstIconId + e, panel);
    b->setIndex(e);
    // A lit speaker is drawn with the pressed frame; the icon takes no clicks.
    b->setState(ButtonState::kPressed);
    b->setClickable(false);
    b->hide();
    icons_[static_cast<size_t>(e)] = b;
  }
}

int CarDiagram::imageOf(int icon) {
  switch (icon) {
    case 3: case 4: case 5: case 8: case 9: return png::CAR_RIGHT;
    case 10: case 11: return png::CAR_CENTRE;
    case 12: case 13: return png::CAR_SUB;
    default: return png::CAR_LEFT;
  }
}

void CarDiagram::place(const PanelSurface* background,
                       const std::function<QRect(const CanvasRect&)>& placed) {
  std::array<QImage, 4> art;  // by resource 136..139
  for (int e = 0; e < kCarIcons; ++e) {
    ImageButton* b = icons_[static_cast<size_t>(e)];
    const int id = imageOf(e);
    QImage& image = art[static_cast<size_t>(id - png::CAR_CENTRE)];
    if (image.isNull()) image = loadPngResource(id);
    b->setGeometry(placed(carIconRect(e)));
    b->setImage(background, image);
    b->setHoverFrame(b->frameCount());  // no hover look on a display
  }
}

void CarDiagram::light(uint16_t icons) {
  lit_ = icons;
  for (int e = 0; e < kCarIcons; ++e) icons_[static_cast<size_t>(e)]->setVisible(lit(e));
}

bool CarDiagram::lit(int icon) const {
  return icon >= 0 && icon < kCarIcons && (lit_ & (1u << icon)) != 0;
}

}  // namespace zr78
