// FilterImportDialog: the preview of a filter-text import onto one channel,
// shown before anything is written. It shows the file and the channel, the
// two curves (the text as written, dashed; what the amplifier will do,
// solid) on the EQ graph's scale, the report per filter (what it asked for,
// what the amplifier will do), the rounding rules and max_deviation_db.
// Apply accepts, Cancel rejects; the dialog itself changes nothing.
//
// Modal and resizable; it opens at the owner's scale (fonts, graph and
// sizes), sized to its report.
#pragma once

#include <QDialog>
#include <QImage>
#include <QString>
#include <QWidget>

#include "eq/filter_mapping.h"
#include "text/language.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace zr78 {

// The two curves of a mapping over the graph's grid; redrawn on resize.
class FilterComparisonView : public QWidget {
  Q_OBJECT

 public:
  FilterComparisonView(const FilterMapping& mapping, Language language, double scale, QWidget* parent);
  const FilterCurves& curves() const { return curves_; }
  QImage picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void redraw();

  const FilterMapping mapping_;
  Language language_;
  double scale_;
  FilterCurves curves_;
  QImage picture_;
};

class FilterImportDialog : public QDialog {
  Q_OBJECT

 public:
  // `fileName` is shown as given.
  FilterImportDialog(const FilterMapping& mapping, const QString& fileName, Language language, double scale,
                     QWidget* owner);

  QPushButton* applyButton() const { return apply_; }
  QPushButton* cancelButton() const { return cancel_; }
  QTableWidget* report() const { return report_; }
  QLabel* deviationLabel() const { return deviation_; }
  FilterComparisonView* comparison() const { return comparison_; }

 private:
  void fillReport(const FilterMapping& mapping, Language language);
  void sizeToReport();

  double scale_;
  QPushButton* apply_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QTableWidget* report_ = nullptr;
  QLabel* deviation_ = nullptr;
  FilterComparisonView* comparison_ = nullptr;
};

}  // namespace zr78
