#include "controls/filter_comparison_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "controls/control_canvas.h"
#include "controls/font_map.h"
#include "controls/response_graph_painter.h"

namespace zr78 {

namespace {

const QColor kAmplifierCurve = QColor::fromRgba(0xE6FF00FF);  // the EQ graph's current curve
const QColor kWrittenCurve(235, 235, 235, 235);
const QColor kPlate(14, 14, 18, 210);
const QColor kPlateEdge(255, 255, 255, 40);
const QColor kLegendText(222, 226, 232);
const QString kLegendFamily = QString::fromUtf8("微软雅黑");

// The curve's points; values far outside the plot are held just beyond its
// edge, so the clipped line leaves the plot there.
QPolygonF curvePoints(const GraphLayout& layout, const std::vector<double>& hz, const std::vector<double>& db) {
  const PlotGeometry& g = layout.plot();
  const double perDb = pixelsPerDb(g.H);
  QPolygonF points;
  const size_t n = std::min(hz.size(), db.size());
  points.reserve(static_cast<qsizetype>(n));
  for (size_t i = 0; i < n; ++i) {
    const double x = g.x0 + layout.xOf(hz[i]);
    const double y = std::clamp(g.yZero - db[i] * perDb, g.y0 - 8.0, g.y1 + 8.0);
    points.append(QPointF(x, y));
  }
  return points;
}

void paintLegend(QPainter& p, const GraphLayout& layout, const FilterComparisonLook& look, double s) {
  const QFont font = makeFont(kLegendFamily, 12 * s);
  const QFontMetricsF metrics(font);
  const double sample = 26 * s, gap = 6 * s, pad = 6 * s, row = metrics.height() + 2 * s;
  const double textWidth =
      std::max(metrics.horizontalAdvance(look.writtenLabel), metrics.horizontalAdvance(look.amplifierLabel));
  const double w = pad + sample + gap + textWidth + pad, h = pad + 2 * row + pad - 4 * s;
  const PlotGeometry& g = layout.plot();
  const QRectF plate(g.x1 - w - 6 * s, g.y0 + 6 * s, w, h);
  p.setPen(QPen(kPlateEdge, s));
  p.setBrush(kPlate);
  p.drawRoundedRect(plate, 3 * s, 3 * s);
  p.setFont(font);
  const struct {
    const QString& text;
    QPen pen;
  } rows[] = {{look.writtenLabel, QPen(kWrittenCurve, 1.5 * s, Qt::DashLine, Qt::FlatCap)},
              {look.amplifierLabel, QPen(kAmplifierCurve, 2.5 * s, Qt::SolidLine, Qt::FlatCap)}};
  double top = plate.top() + pad - 2 * s;
  for (const auto& r : rows) {
    const double mid = top + row / 2;
    p.setPen(r.pen);
    p.drawLine(QPointF(plate.left() + pad, mid), QPointF(plate.left() + pad + sample, mid));
    p.setPen(kLegendText);
    p.drawText(QRectF(plate.left() + pad + sample + gap, top, textWidth + 1, row),
               Qt::AlignLeft | Qt::AlignVCenter, r.text);
    top += row;
  }
}

}  // namespace

QImage paintFilterComparison(const GraphLayout& layout, const FilterCurves& curves, double devicePixelRatio,
                             const FilterComparisonLook& look) {
  const double dpr = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
  QImage image(qRound(layout.width() * dpr), qRound(layout.height() * dpr), QImage::Format_ARGB32_Premultiplied);
  if (image.isNull()) return image;
  image.setDevicePixelRatio(dpr);
  image.fill(look.background);
  ResponseGraphPainter scale;
  scale.prepare(layout, dpr);
  QPainter p(&image);
  scale.paintScale(p, layout);
  prepareSmoothPainter(p);
  const PlotGeometry& g = layout.plot();
  const double s = layout.scale();
  p.save();
  p.setClipRect(QRect(g.x0, g.y0, g.W, g.H));
  p.setBrush(Qt::NoBrush);
  // The amplifier's line under the text's dashes: where the two agree, the
  // dashes show both.
  p.setPen(QPen(kAmplifierCurve, 2.5 * s, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
  p.drawPolyline(curvePoints(layout, curves.frequencyHz, curves.amplifierDb));
  p.setPen(QPen(kWrittenCurve, 1.5 * s, Qt::DashLine, Qt::FlatCap, Qt::RoundJoin));
  p.drawPolyline(curvePoints(layout, curves.frequencyHz, curves.writtenDb));
  p.restore();
  paintLegend(p, layout, look, s);
  return image;
}

}  // namespace zr78
