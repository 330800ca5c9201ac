#include "app/filter_import_dialog.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/qt_text.h"
#include "controls/filter_comparison_painter.h"
#include "eq/eq_field_text.h"
#include "eq/eq_model.h"
#include "eq/eq_tables.h"
#include "text/filter_import_texts.h"
#include "text/number_text.h"

namespace zr78 {

namespace {

using T = FilterImportText;

// The graph at scale 1 when the dialog opens (about the EQ panel's graph);
// the report opens showing up to kOpenRows rows and keeps kMinRows when the
// dialog is made smaller.
constexpr int kGraphWidth = 820, kGraphHeight = 220;
constexpr int kOpenRows = 18, kMinRows = 7;
const QColor kLimitedText(255, 196, 88);

QString text(T id, Language language) { return qtText(windowText(id, language)); }
QString number(const char* format, double value) { return qtText(formatNumber(format, value)); }
QString hertz(double hz) { return number(hz < 100 && hz != std::round(hz) ? "%.1f Hz" : "%.0f Hz", hz); }

struct ReportRow {
  QString line, filter, asked, done;
  bool dim = false, limited = false;
};

QString filterDone(const MappedFilter& m, Language language) {
  switch (m.placement) {
    case FilterPlacement::Disabled: return text(T::kDisabledDone, language);
    case FilterPlacement::HighPass:
    case FilterPlacement::LowPass: {
      const bool high = m.placement == FilterPlacement::HighPass;
      QString done = text(high ? T::kHighPassDone : T::kLowPassDone, language).arg(hertz(m.frequencyHz));
      if (m.frequencyLimited)
        done += QStringLiteral(" (") +
                text(T::kFrequencyHeld, language)
                    .arg(QStringLiteral("20..%1 Hz").arg(high ? kHighestBandHz : kHighestLowPassHz)) +
                QStringLiteral(")");
      return done;
    }
    case FilterPlacement::Band: break;
  }
  QString done = text(T::kBandDone, language)
                     .arg(m.band + 1)
                     .arg(hertz(m.frequencyHz), number("%+.1f dB", m.gainDb), number("%.2f", m.q),
                          qtText(qStepText(m.qStep)));
  QStringList limits;
  if (m.frequencyLimited)
    limits << text(T::kFrequencyHeld, language).arg(QStringLiteral("20..%1 Hz").arg(kHighestBandHz));
  if (m.gainLimited) limits << text(T::kGainHeld, language);
  if (m.qLimited)
    limits << text(T::kQHeld, language)
                  .arg(number("%.2f", Q_STEPS.front() / Q_SCALE) + QStringLiteral("..") +
                       number("%.2f", Q_STEPS.back() / Q_SCALE));
  return limits.isEmpty() ? done
                          : done + QStringLiteral(" (") + limits.join(QStringLiteral(", ")) + QStringLiteral(")");
}

std::vector<ReportRow> reportRows(const FilterMapping& mapping, Language language) {
  std::vector<ReportRow> rows;
  for (const MappedFilter& m : mapping.filters) {
    ReportRow r;
    r.line = QString::number(m.asked.line);
    r.filter = m.asked.number > 0 ? QStringLiteral("Filter %1").arg(m.asked.number) : QStringLiteral("Filter");
    r.asked = qtText(m.asked.text);
    r.done = filterDone(m, language);
    r.dim = m.placement == FilterPlacement::Disabled;
    r.limited = m.frequencyLimited || m.gainLimited || m.qLimited;
    rows.push_back(r);
  }
  const PreampMapping& p = mapping.preamp;
  if (p.outcome != PreampOutcome::Absent) {
    ReportRow r{QString::number(p.line), QStringLiteral("Preamp"), number("%g dB", p.askedDb), {}};
    if (p.outcome == PreampOutcome::Ignored) {
      r.done = text(T::kPreampIgnored, language);
      r.dim = true;
    } else {
      r.done = text(T::kPreampGain, language).arg(p.channelGainDb);
      if (p.limited) r.done += text(T::kPreampHeld, language);
      r.limited = p.limited;
    }
    rows.push_back(r);
  }
  if (mapping.usedBands < kBandCount) {
    const QString bands = mapping.usedBands + 1 == kBandCount
                              ? QString::number(kBandCount)
                              : QStringLiteral("%1..%2").arg(mapping.usedBands + 1).arg(kBandCount);
    rows.push_back({{},
                    text(T::kUnused, language),
                    text(T::kUnusedBands, language).arg(bands),
                    text(T::kUnusedDone, language),
                    true});
  }
  if (mapping.highPassKept)
    rows.push_back(
        {{}, text(T::kHighPass, language), text(T::kNotInText, language), text(T::kKept, language), true});
  if (mapping.lowPassKept)
    rows.push_back(
        {{}, text(T::kLowPass, language), text(T::kNotInText, language), text(T::kKept, language), true});
  return rows;
}

QFont scaledFont(QFont font, double scale) {
  if (font.pointSizeF() > 0)
    font.setPointSizeF(font.pointSizeF() * scale);
  else if (font.pixelSize() > 0)
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pixelSize() * scale))));
  return font;
}

}  // namespace

// ---- the curves ----------------------------------------------------------------

FilterComparisonView::FilterComparisonView(const FilterMapping& mapping, Language language, double scale,
                                           QWidget* parent)
    : QWidget(parent), mapping_(mapping), language_(language), scale_(scale) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(static_cast<int>(kGraphWidth * 0.6 * scale), static_cast<int>(kGraphHeight * 0.7 * scale));
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void FilterComparisonView::redraw() {
  const GraphLayout layout(width(), height(), scale_, 0);
  curves_ = filterCurves(mapping_, comparisonFrequencies(layout));
  picture_ = paintFilterComparison(
      layout, curves_, devicePixelRatioF(),
      {palette().color(QPalette::Base), text(T::kLegendWritten, language_), text(T::kLegendAmplifier, language_)});
}

void FilterComparisonView::resizeEvent(QResizeEvent*) { redraw(); }

void FilterComparisonView::paintEvent(QPaintEvent* e) {
  if (picture_.isNull() || picture_.devicePixelRatio() != devicePixelRatioF()) redraw();
  QPainter p(this);
  p.fillRect(e->rect(), palette().color(QPalette::Base));
  p.drawImage(QPointF(0, 0), picture_);
}

// ---- the dialog ----------------------------------------------------------------

FilterImportDialog::FilterImportDialog(const FilterMapping& mapping, const QString& fileName, Language language,
                                       double scale, QWidget* owner)
    : QDialog(owner), scale_(std::max(scale, 0.5)) {
  const double s = scale_;
  setFont(scaledFont(font(), s));
  setModal(true);
  setSizeGripEnabled(true);
  setWindowTitle(text(T::kPreviewTitle, language).arg(mapping.channel + 1));

  auto* source = new QLabel(text(T::kSource, language).arg(fileName).arg(mapping.channel + 1), this);
  source->setTextFormat(Qt::PlainText);
  source->setWordWrap(true);
  comparison_ = new FilterComparisonView(mapping, language, s, this);
  comparison_->resize(static_cast<int>(kGraphWidth * s), static_cast<int>(kGraphHeight * s));

  report_ = new QTableWidget(this);
  fillReport(mapping, language);

  auto* rounding = new QLabel(text(T::kRounding, language), this);
  rounding->setWordWrap(true);
  rounding->setForegroundRole(QPalette::PlaceholderText);
  const CurveDeviation& d = mapping.deviation;
  deviation_ =
      new QLabel(text(T::kDeviation, language)
                     .arg(number("%.3f", d.maxDb), d.atHz > 0 ? number("%.0f Hz", d.atHz) : QStringLiteral("—")),
                 this);
  deviation_->setWordWrap(true);
  QFont bold = deviation_->font();
  bold.setBold(true);
  deviation_->setFont(bold);

  auto* buttons = new QDialogButtonBox(this);
  apply_ = buttons->addButton(text(T::kApply, language), QDialogButtonBox::AcceptRole);
  cancel_ = buttons->addButton(text(T::kCancel, language), QDialogButtonBox::RejectRole);
  apply_->setObjectName(QStringLiteral("apply"));
  cancel_->setObjectName(QStringLiteral("cancel"));
  cancel_->setDefault(true);  // Enter does not write to the amplifier by accident
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  for (QPushButton* b : {apply_, cancel_}) b->setMinimumSize(static_cast<int>(88 * s), static_cast<int>(26 * s));

  auto* layout = new QVBoxLayout(this);
  const int margin = static_cast<int>(std::lround(10 * s));
  layout->setContentsMargins(margin, margin, margin, margin);
  layout->setSpacing(static_cast<int>(std::lround(6 * s)));
  layout->addWidget(source);
  layout->addWidget(comparison_, 3);
  layout->addWidget(report_, 4);
  layout->addWidget(rounding);
  layout->addWidget(deviation_);
  layout->addWidget(buttons);
  sizeToReport();
}

void FilterImportDialog::fillReport(const FilterMapping& mapping, Language language) {
  const std::vector<ReportRow> rows = reportRows(mapping, language);
  report_->setColumnCount(4);
  report_->setRowCount(static_cast<int>(rows.size()));
  report_->setHorizontalHeaderLabels({text(T::kColumnLine, language), text(T::kColumnFilter, language),
                                      text(T::kColumnAsked, language), text(T::kColumnDone, language)});
  report_->verticalHeader()->hide();
  report_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  report_->setSelectionBehavior(QAbstractItemView::SelectRows);
  report_->setSelectionMode(QAbstractItemView::SingleSelection);
  report_->setShowGrid(false);
  report_->setAlternatingRowColors(true);
  report_->setWordWrap(false);
  report_->setTextElideMode(Qt::ElideRight);
  report_->setFocusPolicy(Qt::NoFocus);
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    const ReportRow& r = rows[static_cast<size_t>(i)];
    const QString cells[4] = {r.line, r.filter, r.asked, r.done};
    for (int c = 0; c < 4; ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      if (c == 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (r.dim) item->setForeground(palette().color(QPalette::PlaceholderText));
      if (r.limited && c == 3) item->setForeground(kLimitedText);
      report_->setItem(i, c, item);
    }
  }
  report_->resizeColumnsToContents();
  // Room between the columns, at the dialog's scale.
  const int padding = static_cast<int>(std::lround(14 * scale_));
  for (int c = 0; c + 1 < report_->columnCount(); ++c)
    report_->setColumnWidth(c, report_->columnWidth(c) + padding);
  report_->resizeRowsToContents();
  report_->horizontalHeader()->setStretchLastSection(true);
}

// Wide enough for every column, tall enough for the report's rows (up to a
// bound), never larger than the screen or the window it opens over, whichever
// is larger (a screenshot's window may exceed its screen): the graph and the report ask for
// their full sizes while the dialog takes its size, then may shrink.
void FilterImportDialog::sizeToReport() {
  const double s = scale_;
  int columns = 0;
  for (int c = 0; c < report_->columnCount(); ++c) columns += report_->columnWidth(c);
  const int frame = 2 * report_->frameWidth();
  const int scrollBar = report_->verticalScrollBar()->sizeHint().width();
  const int header = report_->horizontalHeader()->sizeHint().height();
  const int rowHeight = report_->rowCount() > 0 ? report_->rowHeight(0) : report_->fontMetrics().height();
  const int rows = std::min(std::max(report_->rowCount(), 1), kOpenRows);
  const QSize graph(static_cast<int>(kGraphWidth * s), static_cast<int>(kGraphHeight * s));
  const QSize smallGraph = comparison_->minimumSize();
  comparison_->setMinimumSize(graph);
  report_->setMinimumSize(std::max(columns + frame + scrollBar, graph.width()), header + rowHeight * rows + frame);
  QSize room = parentWidget() != nullptr ? parentWidget()->window()->size() : QSize();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) room = room.expandedTo(screen->availableSize());
  const QSize size = room.isEmpty() ? sizeHint() : sizeHint().boundedTo(room);
  comparison_->setMinimumSize(smallGraph);
  report_->setMinimumSize(smallGraph.width(), header + rowHeight * std::min(rows, kMinRows) + frame);
  resize(size);
}

}  // namespace zr78
