// SkinComboBox: a drop-down list whose closed face is drawn by the program
// (a two-frame skin, normal and focused, stretched to the control, with the
// displayed item's text in a scaled bold font) over the panel's background.
// The displayed index is kept apart from the list's own selection: setCurSel
// only changes what the face shows. A selection by the user posts
// (control id, notification value, notification value) to the parent.
#pragma once

#include <QColor>
#include <QComboBox>
#include <QImage>
#include <QRect>

#include "controls/skinned_widget.h"

namespace zr78 {

class PanelSurface;

// Design size of a layout and its text rectangle (left, top, right, bottom).
struct ComboLayout {
  int width, height;
  int textLeft, textTop, textRight, textBottom;
};
inline constexpr int COMBO_LAYOUT_COUNT = 5;
const ComboLayout& comboLayout(int index);

class SkinComboBox : public SkinnedWidget<QComboBox> {
  Q_OBJECT

 public:
  SkinComboBox(int controlId, QWidget* parent);

  int controlId() const { return controlId_; }

  void setUp(const PanelSurface* background, int pngResourceId, int layoutIndex);
  void setUp(const PanelSurface* background, const QImage& skin, int layoutIndex);

  // The face shows item (wParam & 0xFFFF); the list's selection stays.
  void setCurSel(int wParam);
  // The list's own selection, as the get-selection message reports it.
  int curSel() const { return currentIndex(); }
  int displayedIndex() const { return displayed_; }
  // The text the face shows: item 0's for an index outside the list.
  QString displayedText() const;

  void setNotificationValue(int v) { notificationValue_ = v; }
  int notificationValue() const { return notificationValue_; }
  void setTextColour(const QColor& c);
  void setFontFace(const QString& face) { face_ = face; relayout(); }
  // The face text's line height in design pixels (1.2 × the list's 14 by
  // default); narrow columns take a smaller one so their items fit.
  void setFaceTextHeight(double designHeight) { faceTextHeight_ = designHeight; redraw(); }
  bool focused() const { return focus_; }

 protected:
  void compose() override;
  void resizeEvent(QResizeEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void changeEvent(QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;

 private:
  bool acceptsMouse() const { return enabled_ && shown_; }
  void onUserSelection(int index);
  void relayout();
  void styleList();

  const int controlId_;
  QImage skin_;
  int layout_ = 0;
  int displayed_ = 0;
  bool focus_ = false;
  int notificationValue_ = 0;
  QColor textColour_ = QColor(82, 82, 82);
  QString face_ = QStringLiteral("Arial Bold");
  double scale_ = 1.0;
  QRect textRect_;
  int listFontHeight_ = 14;
  double faceTextHeight_ = 0;  // 0: 1.2 × the list's font height
  bool setUp_ = false;
  bool enabled_ = true;
  bool shown_ = true;
};

}  // namespace zr78
