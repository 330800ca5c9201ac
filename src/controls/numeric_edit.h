// NumericEdit: the numeric entry field. It holds an integer (a register value
// or a table position) between a minimum and a maximum, shows it in user
// units by the rules its panel fills in (edit_rules.h), and hosts a real line
// edit (object name "1124") for typing. Every change is sent to the parent at
// once: (control id, notification value, new value).
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

#include "controls/skinned_widget.h"
#include "controls/edit_rules.h"

class QLineEdit;

namespace zr78 {

class PanelSurface;

// The three colours of the field: its face while normal and while focused,
// and its frame.
enum class EditColour { kNormal = 0, kFocused = 1, kFrame = 2 };

class NumericEdit : public SkinnedWidget<QWidget> {
  Q_OBJECT

 public:
  static constexpr int kEditChildId = 1124;

  NumericEdit(int controlId, QWidget* parent);

  int controlId() const { return controlId_; }
  QLineEdit* editChild() const { return edit_; }
  void setBackgroundSource(const PanelSurface* source) { canvas_.setSource(source); refresh(); }

  // Font height in pixels, face (empty: the generic sans-serif) and text colour.
  void setAppearance(int fontHeight, const QString& face, const QColor& textColour);

  // What the field shows and accepts, and its range.
  void setRules(EditRules rules);
  const EditRules& rules() const { return rules_; }

  // Value from a number in display units (converted, clamped, shown at once).
  void setValueFromNumber(double number);
  // The stored value; the owner may also set it directly (clamped when drawn).
  int value() const { return value_; }
  void setValue(int v) { value_ = v; refresh(); }
  double valueInDisplayUnits() const { return displayValue(rules_, value_); }
  QString shownText() const;

  int notificationValue() const { return notificationValue_; }
  void setNotificationValue(int v) { notificationValue_ = v; }
  bool interactive() const { return interactive_; }
  void setInteractive(bool on);
  void setDrawn(bool on) { drawn_ = on; refresh(); }
  void setStateColour(EditColour which, const QColor& c);
  // kNormal or kFocused.
  EditColour colourState() const { return state_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // The composed face carries the text, for panels that compose their
  // children; on screen the line edit draws it over the face without it.
  void compose() override;
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent*) override;
  void wheelEvent(QWheelEvent* e) override;

 private:
  int typed() const;
  void notify();
  void commit(int v);  // store clamped, notify, show
  void step(int delta);
  bool handleKey(int key);
  void refresh();
  void placeChild();
  void styleChild();
  const QColor& colour(EditColour which) const;

  const int controlId_;
  EditRules rules_ = plainNumberRules("%0.0fdB", 0, 100);
  int value_ = 50;
  int notificationValue_ = 0;
  bool interactive_ = true;
  bool drawn_ = true;
  QColor textColour_ = Qt::white;
  QColor stateColours_[3] = {QColor(73, 72, 72), QColor(73, 72, 72), QColor(73, 72, 72)};
  EditColour state_ = EditColour::kNormal;
  QString fontFace_;
  int fontHeight_ = 14;
  QLineEdit* edit_;
  QImage screenFace_;  // the face without its text: on screen the line edit draws it
};

}  // namespace zr78
