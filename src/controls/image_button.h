// ImageButton: the push button, toggle button and icon of every panel,
// painted from a horizontal strip of equally wide frames (0 released,
// 1 pressed, the hover frame drawn on top while the pointer is over it),
// with an optional caption, over the panel's background. A completed click
// posts (control id, index, index) to the parent; latching buttons toggle
// before the parent hears of the click.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

#include "controls/skinned_widget.h"

namespace zr78 {

class PanelSurface;

// A push button never latches; a toggle is released or pressed.
enum class ButtonState { kPush, kReleased, kPressed };

class ImageButton : public SkinnedWidget<QWidget> {
  Q_OBJECT

 public:
  ImageButton(int controlId, QWidget* parent);

  int controlId() const { return controlId_; }

  // Takes the client rectangle as the hot area and the strip's frame count:
  // the count the artwork declares, else image width div client width.
  void setImage(const PanelSurface* backgroundSource, int pngResourceId);
  void setImage(const PanelSurface* backgroundSource, const QImage& strip);
  // Named apart from QWidget::setFont, which takes a QFont.
  void setFontStyle(double pixelSize, const QString& family, const QColor& releasedColour,
                    const QColor& pressedColour, int alignFlags);
  void setText(const QString& text);
  QString text() const { return text_; }
  void setState(ButtonState state);
  ButtonState state() const { return state_; }
  int frame() const { return frame_; }

  int frameCount() const { return frameCount_; }
  void setFrameCount(int n) { frameCount_ = n; invalidateFace(); }
  int hoverFrame() const { return hoverFrame_; }
  void setHoverFrame(int f) { hoverFrame_ = f; invalidateFace(); }
  bool clickable() const { return clickable_; }
  void setClickable(bool c) { clickable_ = c; }
  int index() const { return index_; }
  void setIndex(int i) { index_ = i; }
  bool hovering() const { return hover_; }

 protected:
  void compose() override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void leaveEvent(QEvent*) override;
  void focusOutEvent(QFocusEvent*) override;
  void changeEvent(QEvent* e) override;
  void showEvent(QShowEvent*) override;
  void hideEvent(QHideEvent*) override;

 private:
  bool acceptsMouse() const { return shown_ && enabled_; }
  QSizeF frameSize() const;
  QRectF hotArea() const;
  void trackPointer(const QPointF& pos);
  void setHover(bool on);
  void invalidateFace() { redraw(); }

  const int controlId_;
  QString text_;
  QImage image_;
  bool imageSet_ = false;
  int frameCount_ = 4;
  int frame_ = 0;
  int hoverFrame_ = 2;
  ButtonState state_ = ButtonState::kPush;
  int index_ = 0;
  bool hover_ = false;
  bool pressedInside_ = false;
  bool clickable_ = true;
  bool shown_ = true;
  bool enabled_ = true;
  QRect hotRect_;
  QString fontFamily_ = QString::fromUtf8("宋体");
  double fontSize_ = 12.0;
  int alignFlags_ = 0;
  QColor releasedColour_ = QColor(0, 0, 0, 255);
  QColor pressedColour_ = QColor(0, 0, 0, 255);
};

}  // namespace zr78
