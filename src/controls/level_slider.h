// LevelSlider: the horizontal level slider drawn from sprite sheet 174: a track
// with a thumb, an optional on/off toggle at its right end, a colour glow
// growing with the value and a caption above the track. Every change is sent
// to the parent as (control id, index, trunc(value)); in toggle mode the
// owner adds toggleOn itself when it needs the combined word.
#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>
#include <QWidget>

#include "controls/skinned_widget.h"

namespace zr78 {

class PanelSurface;

// Style-0 geometry in client pixels and the one value ↔ x map both the
// drawing and the dragging use. No widget needed.
struct SliderGeometry {
  double trackStart = 0, trackEnd = 0, trackY = 0;
  double thumbWidth = 0, thumbHeight = 0, glowHeight = 0;
  QRectF toggleRect;

  static SliderGeometry layout(QSize client, bool toggleMode, bool tallFrame);
  double xOf(double v, double minimum, double maximum) const;
  double valueAt(double x, double minimum, double maximum) const;
  QRectF thumbRect(double v, double minimum, double maximum) const;
};

// Value rules of the slider: whole steps at and above fineBelow, fine steps
// below it, always clamped to the range.
struct SliderSteps {
  double minimum = 0, maximum = 100, fineBelow = 0, fineStep = 0.1;

  double quantise(double v) const;
  double up(double v) const;
  double down(double v) const;
};

// Sprite sheet 174, style 0 (sprite pixels): 170 × 33 frames; body rows
// 14..33; track line rows 24..25.
namespace slider_sprite {
inline constexpr double FRAME_W = 170, FRAME_H = 33, BODY_TOP = 14;
inline constexpr QRectF BODY_LEFT{0, 14, 112, 19};
inline constexpr double RIGHT_END_W = 58, RIGHT_PLAIN_X = 112, RIGHT_SOCKET_X = 172;
inline constexpr QRectF THUMB_IDLE{260, 16, 18, 16};
inline constexpr QRectF THUMB_ACTIVE{235, 16, 18, 16};
inline constexpr QRectF TOGGLE_AREA{153, 16, 15, 15};
inline constexpr QRectF TOGGLE_ON{286, 15, 16, 17};
inline constexpr QRectF TOGGLE_OFF{306, 15, 16, 17};
}  // namespace slider_sprite

class LevelSlider : public SkinnedWidget<QWidget> {
  Q_OBJECT

 public:
  LevelSlider(int controlId, QWidget* parent);

  int controlId() const { return controlId_; }

  // Loads sprite 174 and takes the panel's surface as background source.
  void setBackground(const PanelSurface* surface);
  void setBackground(const PanelSurface* surface, const QImage& sprite);

  // Not quantised, not clamped; in toggle mode a value ≥ toggleValue carries
  // the switch. Takes the focus and shows the active thumb.
  void setSliderValue(double v);
  double sliderValue() const { return value_; }

  void setRange(double minimum, double maximum);
  void setFineBelow(double v) { steps_.fineBelow = v; }
  void setFineStep(double v) { steps_.fineStep = v; }
  void setToggleMode(bool on, int toggleValue = 500);
  int toggleOn() const { return toggleOn_; }
  void setGlowBar(bool on) { glowBar_ = on; redraw(); }
  void setTallFrame(bool on) { tallFrame_ = on; relayout(); }
  void setIndex(int i) { index_ = i; }
  void setCaptionFormat(const QString& f) { captionFormat_ = f; redraw(); }
  void setText(const QString& caption) { caption_ = caption; redraw(); }
  QString text() const { return caption_; }
  void setTextColour(const QColor& c) { textColour_ = c; redraw(); }
  bool active() const { return active_; }
  bool dragging() const { return dragging_; }
  const SliderGeometry& geometryCache() const { return geometry_; }

 protected:
  void compose() override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent*) override;
  void changeEvent(QEvent* e) override;
  void showEvent(QShowEvent*) override;
  void hideEvent(QHideEvent*) override;

 private:
  void notify();
  void stepAndNotify(bool up);
  void relayout();
  void drawCaption(QPainter& p);

  const int controlId_;
  SliderSteps steps_;
  double value_ = 0;
  bool toggleMode_ = false;
  int toggleValue_ = 500;
  int toggleOn_ = 0;
  bool glowBar_ = true;
  bool tallFrame_ = false;
  int index_ = 0;
  QString caption_;
  QString captionFormat_;
  QColor textColour_ = QColor(157, 157, 157, 255);
  bool active_ = false;
  bool dragging_ = false;
  bool shown_ = true;
  bool enabled_ = true;
  QImage sprite_;
  SliderGeometry geometry_;
};

}  // namespace zr78
