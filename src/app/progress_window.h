// ProgressWindow: the one progress window of the program, a small borderless,
// translucent (220 of 255) window with rounded corners that floats over the
// main window while the worker runs a long operation. The bar grows from a
// 27-pixel stub at 0 % to 516 pixels at 100 %; the percentage is drawn in
// red under it. Every value centres the window over its owner again.
//
// UI thread only: the worker reaches it through UiLinkEvents, which queues
// each call onto the UI thread.
#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>

#include "sync/progress_model.h"
#include "app/window_drag.h"

namespace zr78 {

class ProgressWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr double kOpacity = 220.0 / 255.0;
  static constexpr int kCornerEllipse = 10;

  // Created hidden, owned by the main window.
  explicit ProgressWindow(QWidget* owner);

  void setRange(int range) { model_.setRange(range); }
  void setFormat(const std::string& format) { model_.setFormat(format); }
  void setValue(int value);

  // What the window shows now (for the tests and the screenshot).
  const QImage& picture() const { return picture_; }
  int barWidth() const { return barWidth_; }
  QString text() const { return text_; }
  const ProgressModel& model() const { return model_; }
  // The top-left corner that centres the window over its owner.
  QPoint centredPosition() const;

 signals:
  // Every value shown: the text and the bar width.
  void valueShown(const QString& text, int barWidth);

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void compose(int value);
  void centreOverOwner();

  QWidget* owner_;
  ProgressModel model_;
  QImage background_;  // bitmap 130
  QImage bar_;         // bitmap 131
  QImage picture_;
  QFont font_;
  QString text_;
  int barWidth_ = 0;
  WindowDrag drag_;
};

}  // namespace zr78
