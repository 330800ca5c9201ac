// SkinLabel: a static text drawn by the program, anti-aliased, over the
// panel's background, optionally over a solid fill and one frame of an image
// strip. The text is held by the control; an overflowing text is not cut but
// widened around the centre of the label.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

#include "controls/skinned_widget.h"

namespace zr78 {

class PanelSurface;

class SkinLabel : public SkinnedWidget<QWidget> {
  Q_OBJECT

 public:
  explicit SkinLabel(QWidget* parent, int controlId = 0);

  int controlId() const { return controlId_; }
  void setBackgroundSource(const PanelSurface* source) { canvas_.setSource(source); update(); }

  // Font size in whole pixels, face, colour and format bits (control_canvas.h);
  // named apart from QWidget::setStyle.
  void setTextStyle(int pixelSize, const QString& face, const QColor& colour, int formatBits);
  void setFontStyleBits(int style) { fontStyle_ = style; invalidate(); }
  // Stores the text and invalidates (the window-text message).
  void setText(const QString& text);
  // Stores the text and renders at once.
  void setTextNow(const QString& text);
  QString text() const { return text_; }
  // At most maxChars characters of the text, as the get-text message copies.
  QString text(int maxChars) const { return text_.left(std::max(0, maxChars)); }
  int textLength() const { return text_.size(); }

  void setFillColour(const QColor& c) { fill_ = c; invalidate(); }
  void setImageStrip(const QImage& strip, int frameIndex, int frameWidth, int frameHeight);
  void setFrameIndex(int i) { frameIndex_ = i; invalidate(); }
  void setDrawn(bool on) { drawn_ = on; invalidate(); }

 protected:
  void compose() override;
  void focusOutEvent(QFocusEvent*) override;

 private:
  void invalidate() { redraw(); }

  const int controlId_;
  QString text_;
  QString face_ = QString::fromUtf8("宋体");
  double fontSize_ = 12.0;
  int fontStyle_ = 0;
  QColor colour_ = QColor(0, 0, 0, 255);
  QColor fill_ = QColor(0, 0, 0, 0);
  int format_ = 0;
  QImage strip_;
  int frameIndex_ = 0;
  int frameWidth_ = 0;
  int frameHeight_ = 0;
  bool drawn_ = true;
};

}  // namespace zr78
