#include "controls/response_graph_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

#include "controls/control_canvas.h"
#include "controls/font_map.h"
#include "controls/panel_surface.h"
#include "eq/eq_channel_state.h"
#include "eq/graph_texts.h"

namespace zr78 {

namespace {

const QColor kGridColour = QColor::fromRgba(0xFF3C3C3C);
const QColor kGridText = QColor::fromRgba(0xF0F0F0F0);
const QColor kOtherCurve = QColor::fromRgba(0x80FFFFFF);
const QColor kCurrentCurve = QColor::fromRgba(0xC8FF00FF);
const QColor kArm = QColor::fromRgba(0xC8FFFF00);
const QColor kArmDragged = QColor::fromRgba(0xFAB00E1A);
const QColor kHandleDisc = QColor::fromRgba(0x0A000000);
const QColor kLegendCurrent = QColor::fromRgba(0xC8FF00FF);
const QColor kLegendShown = QColor::fromRgba(0xFFFFFF00);
const QColor kLegendHidden = QColor::fromRgba(0xF0F0F0F0);
// Decoration for legibility over the curves: a dark core under the handle's
// name, a ring per kind of point, a dark plate under the numeric label.
const QColor kHandleCore(18, 18, 22, 150);
const QColor kBandRing(255, 255, 255, 120);
const QColor kCrossoverRing(0, 168, 232, 230);
const QColor kSelectedRing(255, 0, 255, 235);
const QColor kLabelPlate(14, 14, 18, 200);
const QColor kLabelEdge(255, 255, 255, 40);

const QString kGridFamily = QStringLiteral("Times New Roman");
const QString kHandleFamily = QStringLiteral("Arial Bold");

QString qs(const std::string& s) { return QString::fromStdString(s); }

QRect roundedOut(const QRectF& r) {
  return QRect(QPoint(static_cast<int>(std::floor(r.left())), static_cast<int>(std::floor(r.top()))),
               QPoint(static_cast<int>(std::ceil(r.right())), static_cast<int>(std::ceil(r.bottom()))));
}

QRect toQRect(const GraphRect& r) { return QRect(r.left, r.top, r.width, r.height); }

}  // namespace

void ResponseGraphPainter::prepare(const GraphLayout& layout, double devicePixelRatio) {
  dpr_ = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
  scale_ = layout.scale();
  gridFont_ = makeFont(kGridFamily, GraphLayout::kLabelFontSize * scale_);
  handleFont_ = makeFont(kHandleFamily, GraphLayout::kLabelFontSize * scale_);
  legendFont_ = makeFont(kHandleFamily, GraphLayout::kLegendFontSize * scale_);
  spriteSide_ = static_cast<int>(std::ceil(layout.handleSize())) + 2;
  const double hs = layout.handleSize();
  for (int p = 0; p < kEqPointCount; ++p) {
    for (bool selected : {false, true}) {
      QImage sprite(qRound(spriteSide_ * dpr_), qRound(spriteSide_ * dpr_),
                    QImage::Format_ARGB32_Premultiplied);
      sprite.setDevicePixelRatio(dpr_);
      sprite.fill(Qt::transparent);
      QPainter sp(&sprite);
      prepareSmoothPainter(sp);
      const QPointF c(spriteSide_ / 2.0, spriteSide_ / 2.0);
      sp.setPen(Qt::NoPen);
      sp.setBrush(kHandleDisc);
      sp.drawEllipse(c, hs / 2, hs / 2);
      sp.setBrush(kHandleCore);
      sp.drawEllipse(c, hs * 0.4, hs * 0.4);
      const bool crossover = p == kHighPassPoint || p == kLowPassPoint;
      const QColor ring = selected ? kSelectedRing : crossover ? kCrossoverRing : kBandRing;
      const double ringWidth = penWidth(selected ? 2.0 : 1.25);
      sp.setPen(QPen(ring, ringWidth));
      sp.setBrush(Qt::NoBrush);
      sp.drawEllipse(c, hs / 2 - ringWidth / 2, hs / 2 - ringWidth / 2);
      sp.setFont(handleFont_);
      sp.setPen(Qt::white);
      sp.drawText(QRectF(0, 0, spriteSide_, spriteSide_), Qt::AlignCenter, qs(handleText(p)));
      sp.end();
      (selected ? selectedSprites_ : sprites_)[p] = std::move(sprite);
    }
  }
}

// ---- backdrop -------------------------------------------------------------------

void ResponseGraphPainter::paintGrid(QPainter& p, const GraphLayout& layout) const {
  const PlotGeometry& g = layout.plot();
  // Lines are filled rectangles on whole logical pixels: a whole number of
  // device pixels wide at ratio 1 and 2, so they are never smeared.
  const double line = std::max(1.0, std::round(scale_));
  for (int k = 0; k < kGainLineCount; ++k)
    p.fillRect(QRectF(g.x0, layout.gainLineY(k), g.W, line), kGridColour);
  for (const FrequencyLine& f : frequencyLines())
    p.fillRect(QRectF(g.x0 + layout.xOf(f.hz), g.y0, line, g.H), kGridColour);

  p.setFont(gridFont_);
  p.setPen(kGridText);
  // Frequency labels centred under their lines, but kept clear of the gain
  // labels on the left and of the legend on the right.
  const QFontMetricsF metrics(gridFont_);
  const double leftmost = g.x0;
  const double rightmost = layout.legend() ? layout.legendBox(0).left - 2 * scale_ : layout.width();
  for (const FrequencyLine& f : frequencyLines()) {
    if (f.label.empty()) continue;
    const QString text = QString::fromLatin1(f.label.data(), static_cast<int>(f.label.size()));
    const double w = metrics.horizontalAdvance(text);
    const double centre = g.x0 + layout.xOf(f.hz) + line / 2;
    const double left = std::max(leftmost, std::min(centre - w / 2, rightmost - w));
    const QRectF box(left, g.y1 + line, w, layout.height() - g.y1 - line);
    p.drawText(box, Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, text);
  }
}

void ResponseGraphPainter::paintGainLabels(QPainter& p, const GraphLayout& layout) const {
  const PlotGeometry& g = layout.plot();
  p.setFont(gridFont_);
  p.setPen(kGridText);
  const double textHeight = QFontMetricsF(gridFont_).height();
  for (int k = 0; k < kGainLineCount; ++k) {
    const std::string_view text = GraphLayout::gainLabel(k);
    if (text.empty()) continue;
    const QRectF box(0, layout.gainLineY(k) - textHeight / 2, g.x0 - 5 * scale_, textHeight);
    p.drawText(box, Qt::AlignRight | Qt::AlignVCenter | Qt::TextDontClip,
               QString::fromLatin1(text.data(), static_cast<int>(text.size())));
  }
}

void ResponseGraphPainter::paintCurve(QPainter& p, const std::vector<PlotPoint>& polyline,
                                      const QColor& colour, int fromX, int toX) const {
  if (polyline.size() < 2) return;
  // The points run left to right: draw the segments that reach [fromX, toX].
  auto first = std::lower_bound(polyline.begin(), polyline.end(), fromX,
                                [](const PlotPoint& pt, int x) { return pt.x < x; });
  auto last = std::upper_bound(polyline.begin(), polyline.end(), toX,
                               [](int x, const PlotPoint& pt) { return x < pt.x; });
  if (first != polyline.begin()) --first;
  if (last != polyline.end()) ++last;
  const auto count = last - first;
  if (count < 2) return;
  QPolygonF points;
  points.reserve(count);
  for (auto it = first; it != last; ++it) points.append(QPointF(it->x, it->y));
  // Bevel joins and flat ends: half the stroking work of round ones, the same
  // look at two pixels.
  p.setPen(QPen(colour, penWidth(2), Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(points);
}

void ResponseGraphPainter::paintLegend(QPainter& p, const ResponseGraphModel& model) const {
  const GraphLayout& layout = model.layout();
  if (!layout.legend()) return;
  p.setFont(legendFont_);
  for (int i = 0; i < layout.legendChannels(); ++i) {
    const QColor colour = i == model.currentChannel() ? kLegendCurrent
                          : model.visible(i)           ? kLegendShown
                                                       : kLegendHidden;
    const QRectF box = QRectF(toQRect(layout.legendBox(i))).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor fill = colour;
    fill.setAlpha(i == model.currentChannel() || model.visible(i) ? 40 : 0);
    p.setPen(QPen(colour, penWidth(1)));
    p.setBrush(fill);
    p.drawRoundedRect(box, 2 * scale_, 2 * scale_);
    p.drawText(box, Qt::AlignCenter | Qt::TextDontClip, qs(legendText(i)));
  }
}

QImage ResponseGraphPainter::backdrop(const ResponseGraphModel& model, const QImage& background) const {
  const GraphLayout& layout = model.layout();
  QImage image(qRound(layout.width() * dpr_), qRound(layout.height() * dpr_),
               QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(dpr_);
  if (image.isNull()) return image;
  image.fill(noBackgroundColour());
  QPainter p(&image);
  const QRectF client(0, 0, layout.width(), layout.height());
  if (!background.isNull()) {
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(client, background, QRectF(background.rect()));
  }
  paintGrid(p, layout);
  prepareSmoothPainter(p);
  const PlotGeometry& g = layout.plot();
  p.save();
  p.setClipRect(QRect(g.x0, g.y0, g.W, g.H));
  for (int c = 0; c < layout.legendChannels(); ++c)
    if (c != model.currentChannel() && model.visible(c))
      paintCurve(p, model.polyline(c), kOtherCurve, g.left - 1, g.right + 1);
  p.restore();
  paintLegend(p, model);
  return image;
}

// ---- frame ----------------------------------------------------------------------

QRect ResponseGraphPainter::handleRect(const ResponseGraphModel& model, int point) const {
  const GraphLayout& layout = model.layout();
  const HandlePosition& h = model.handle(point);
  const int cx = layout.handleCentreX(h.x), cy = layout.handleCentreY(h.y);
  return QRect(cx - spriteSide_ / 2 - 1, cy - spriteSide_ / 2 - 1, spriteSide_ + 2, spriteSide_ + 2);
}

QRect ResponseGraphPainter::labelRect(const ResponseGraphModel& model) const {
  const GraphLayout& layout = model.layout();
  const PlotGeometry& g = layout.plot();
  const QRectF text = QFontMetricsF(handleFont_).boundingRect(qs(model.labelText()));
  const double w = text.width() + 8 * scale_, h = QFontMetricsF(handleFont_).height() + 3 * scale_;
  const HandlePosition& at = model.handle(model.labelPoint());
  const double cx = layout.handleCentreX(at.x), cy = layout.handleCentreY(at.y);
  const double gap = layout.handleSize() / 2 + 2 * scale_;
  double top = cy + gap;
  if (top + h > g.y1) top = cy - gap - h;  // no room below: above the handle
  const double left = std::clamp(cx - w / 2, double(g.x0), std::max(double(g.x0), g.x1 - w));
  top = std::clamp(top, double(g.y0), std::max(double(g.y0), g.y1 - h));
  return roundedOut(QRectF(left, top, w, h));
}

QRect ResponseGraphPainter::qArmRect(const ResponseGraphModel& model, bool right) const {
  if (!model.qArmsShown()) return {};
  return toQRect(model.qArmCell(right)).adjusted(-1, -1, 1, 1);
}

QRect ResponseGraphPainter::curveChange(const ResponseGraphModel& model,
                                        const std::vector<PlotPoint>& before,
                                        const std::vector<PlotPoint>& after) const {
  if (before == after) return {};
  const PlotGeometry& g = model.layout().plot();
  // Both lines as drawn, one y per column of the plot (the segments join
  // their points straight), compared column by column.
  const auto drawn = [&](const std::vector<PlotPoint>& line) {
    std::vector<double> y(static_cast<size_t>(std::max(0, g.W + 1)), g.yZero);
    size_t k = 0;
    for (int x = g.x0; x <= g.x1; ++x) {
      while (k + 1 < line.size() && line[k + 1].x < x) ++k;
      if (k + 1 >= line.size()) break;
      const PlotPoint& a = line[k];
      const PlotPoint& b = line[k + 1];
      y[static_cast<size_t>(x - g.x0)] =
          b.x == a.x ? b.y : a.y + double(b.y - a.y) * (x - a.x) / (b.x - a.x);
    }
    return y;
  };
  const std::vector<double> was = drawn(before), is = drawn(after);
  int from = -1, to = -1;
  double top = g.y1, bottom = g.y0;
  for (size_t i = 0; i < was.size(); ++i) {
    if (std::abs(was[i] - is[i]) < 1e-9) continue;
    if (from < 0) from = static_cast<int>(i);
    to = static_cast<int>(i);
    top = std::min({top, was[i], is[i]});
    bottom = std::max({bottom, was[i], is[i]});
  }
  if (from < 0) return {};
  // The columns that changed, from the highest to the lowest point either
  // line takes there, widened by the pen.
  const int pen = static_cast<int>(std::ceil(penWidth(2))) + 1;
  return QRect(QPoint(g.x0 + from - pen, static_cast<int>(std::floor(top)) - pen),
               QPoint(g.x0 + to + pen, static_cast<int>(std::ceil(bottom)) + pen));
}

void ResponseGraphPainter::paintQArms(QPainter& p, const ResponseGraphModel& model) const {
  if (!model.qArmsShown()) return;
  const double hs = model.layout().handleSize();
  for (bool right : {false, true}) {
    const GraphRect cell = model.qArmCell(right);
    const double left = cell.left + cell.width / 2.0 - hs / 2, top = cell.top + cell.height / 2.0 - hs / 2;
    QPolygonF arrow;
    for (const PercentPoint& pt : qArmPolygon(right))
      arrow.append(QPointF(left + pt.x * hs / 100, top + pt.y * hs / 100));
    p.setPen(Qt::NoPen);
    p.setBrush(model.armDragged(right) ? kArmDragged : kArm);
    p.drawPolygon(arrow);
  }
}

void ResponseGraphPainter::paintLabel(QPainter& p, const ResponseGraphModel& model) const {
  const QRectF box = labelRect(model);
  p.setPen(QPen(kLabelEdge, penWidth(1)));
  p.setBrush(kLabelPlate);
  p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 3 * scale_, 3 * scale_);
  p.setFont(handleFont_);
  p.setPen(Qt::white);
  p.drawText(box, Qt::AlignCenter | Qt::TextDontClip, qs(model.labelText()));
}

void ResponseGraphPainter::paintFrame(QPainter& p, const ResponseGraphModel& model,
                                      const QRect& clip) const {
  const GraphLayout& layout = model.layout();
  const PlotGeometry& g = layout.plot();
  p.save();
  prepareSmoothPainter(p);
  p.setClipRect(QRect(g.x0, g.y0, g.W, g.H) & clip);
  const int reach = static_cast<int>(std::ceil(penWidth(2)));
  paintCurve(p, model.polyline(model.currentChannel()), kCurrentCurve, clip.left() - reach,
             clip.right() + reach);
  p.setClipRect(clip);
  const int selected = model.selectedPoint();
  for (int point = 0; point < kEqPointCount; ++point) {
    if (point == selected) continue;
    const QRect r = handleRect(model, point);
    if (r.intersects(clip)) p.drawImage(QPointF(r.left() + 1, r.top() + 1), sprites_[point]);
  }
  if (selected >= 0 && selected < kEqPointCount) {
    const QRect r = handleRect(model, selected);
    if (r.intersects(clip)) p.drawImage(QPointF(r.left() + 1, r.top() + 1), selectedSprites_[selected]);
  }
  // The gain labels belong to the frame, over the handles: a crossover at
  // the axis end (19 Hz, off) would otherwise hide the end of "-10".
  if (clip.left() < g.x0) paintGainLabels(p, layout);
  // The arms over the handles: a press tries them first, so they are never
  // hidden behind a neighbour's handle.
  if (qArmRect(model, false).intersects(clip) || qArmRect(model, true).intersects(clip))
    paintQArms(p, model);
  if (labelRect(model).intersects(clip)) paintLabel(p, model);
  p.restore();
}

void ResponseGraphPainter::paintScale(QPainter& p, const GraphLayout& layout) const {
  paintGrid(p, layout);
  paintGainLabels(p, layout);
}

QImage ResponseGraphPainter::render(const ResponseGraphModel& model, const QImage& background) const {
  QImage image = backdrop(model, background);
  if (image.isNull()) return image;
  QPainter p(&image);
  paintFrame(p, model, QRect(0, 0, model.layout().width(), model.layout().height()));
  return image;
}

}  // namespace zr78
