#include "controls/skin_label.h"

#include <QFontMetricsF>
#include <QPainter>

#include "controls/font_map.h"
#include "controls/png_resource.h"

namespace zr78 {

SkinLabel::SkinLabel(QWidget* parent, int controlId)
    : SkinnedWidget(parent), controlId_(controlId) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void SkinLabel::setTextStyle(int pixelSize, const QString& face, const QColor& colour,
                                int formatBits) {
  fontSize_ = pixelSize;
  face_ = face;
  colour_ = colour;
  format_ = formatBits;
  invalidate();
}

void SkinLabel::setText(const QString& text) {
  text_ = text;
  invalidate();
}

void SkinLabel::setTextNow(const QString& text) {
  text_ = text;
  compose();
  update();
}

void SkinLabel::setImageStrip(const QImage& strip, int frameIndex, int frameWidth,
                                 int frameHeight) {
  strip_ = strip;
  frameIndex_ = frameIndex;
  frameWidth_ = frameWidth;
  frameHeight_ = frameHeight;
  invalidate();
}

void SkinLabel::compose() {
  QImage face = canvas_.startFace(this);
  if (drawn_) {
    QPainter p(&face);
    prepareSmoothPainter(p);
    if (fill_.alpha() != 0) p.fillRect(rect(), fill_);
    drawSprite(p, QRectF(rect()), strip_,
               QRectF(frameIndex_ * frameWidth_, 0, frameWidth_, frameHeight_));
    if (!text_.isEmpty()) {
      const QFont font = makeFont(face_, fontSize_, fontStyle_);
      QRectF layout(0, 0, width() - 1, height() - 1);
      // An overflowing text widens its rectangle around the same centre.
      const QRectF measured =
          QFontMetricsF(font).boundingRect(layout, qtTextFlags(format_), text_);
      const QPointF centre = layout.center();
      layout.setWidth(std::max(layout.width(), measured.width()));
      layout.setHeight(std::max(layout.height(), measured.height()));
      layout.moveCenter(centre);
      drawFormattedText(p, layout, text_, font, colour_, format_);
    }
  }
  canvas_.setFace(std::move(face));
}

void SkinLabel::focusOutEvent(QFocusEvent*) { invalidate(); }

}  // namespace zr78
