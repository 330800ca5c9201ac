#include "controls/png_resource.h"

#include <QPainter>
#include <QString>

// The resource initialiser lives in a static library; referencing it here
// keeps the linker from dropping it.
static void initArtwork() {
  static const bool done = [] {
    Q_INIT_RESOURCE(zr78_png);
    return true;
  }();
  (void)done;
}

namespace zr78 {

QImage loadPngResource(int id) {
  initArtwork();
  QImage image(QStringLiteral(":/png/%1.png").arg(id));
  if (image.isNull()) return image;
  bool ok = false;
  const double density = image.text(PNG_KEY_DENSITY).toDouble(&ok);
  if (ok && density >= 1.0) image.setDevicePixelRatio(density);
  return image;
}

int declaredFrameCount(const QImage& image) {
  bool ok = false;
  const int frames = image.text(PNG_KEY_FRAMES).toInt(&ok);
  return ok && frames > 0 ? frames : 0;
}

void drawSprite(QPainter& painter, const QRectF& target, const QImage& image,
                const QRectF& logicalSource) {
  if (image.isNull() || target.isEmpty() || logicalSource.isEmpty()) return;
  // QPainter takes the source rectangle in device pixels of the image.
  const qreal dpr = image.devicePixelRatio();
  const QRectF source(logicalSource.x() * dpr, logicalSource.y() * dpr,
                      logicalSource.width() * dpr, logicalSource.height() * dpr);
  painter.drawImage(target, image, source);
}

int faderSkinOfResource(int id) {
  switch (id) {
    case png::FADER_EQ: return 0;
    case png::FADER_SKIN_1: return 1;
    case png::FADER_SKIN_2: return 2;
    case png::FADER_CHANNEL: return 3;
    case png::FADER_SKIN_4: return 4;
    case png::FADER_ROUTE: return 5;
    default: return -1;
  }
}

}  // namespace zr78
