// Draws the program's numbered PNG artwork into a folder (normally
// resources/png): button strips, fader skins, the slider sprite sheet, combo
// skins and the window backgrounds. Everything is drawn as vector shapes at
// twice the design size, so it stays crisp when the windows are scaled; each
// PNG records that density, and each button strip its frame count.
//
//   artwork_generator <output folder>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>
#include <functional>
#include <vector>

#include "artwork_palette.h"
#include "controls/fader_geometry.h"
#include "controls/level_slider.h"
#include "controls/png_resource.h"
#include "controls/skin_combo_box.h"

namespace zr78::art {
namespace {

constexpr double DENSITY = 2.0;
using FrameDraw = std::function<void(QPainter&, int frame, const QRectF& r)>;

class Writer {
 public:
  explicit Writer(QString dir) : dir_(std::move(dir)) {}

  // A horizontal strip of equal frames.
  void strip(int id, QSizeF frame, int frames, const FrameDraw& draw) {
    QImage img = canvas(QSizeF(frame.width() * frames, frame.height()));
    QPainter p(&img);
    prepare(p);
    for (int f = 0; f < frames; ++f) {
      p.save();
      const QRectF r(f * frame.width(), 0, frame.width(), frame.height());
      p.setClipRect(r);
      draw(p, f, r);
      p.restore();
    }
    p.end();
    img.setText("zr78-frames", QString::number(frames));
    save(id, img);
  }

  void picture(int id, QSizeF size, const std::function<void(QPainter&, const QRectF&)>& draw) {
    QImage img = canvas(size);
    QPainter p(&img);
    prepare(p);
    draw(p, QRectF(QPointF(0, 0), size));
    p.end();
    save(id, img);
  }

  bool ok() const { return ok_; }

 private:
  static QImage canvas(QSizeF size) {
    QImage img(qRound(size.width() * DENSITY), qRound(size.height() * DENSITY),
               QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
  }
  static void prepare(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.scale(DENSITY, DENSITY);
  }
  void save(int id, QImage& img) {
    img.setText("zr78-density", QString::number(DENSITY));
    const QString path = dir_ + QStringLiteral("/%1.png").arg(id);
    if (!img.save(path, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      ok_ = false;
    }
  }
  QString dir_;
  bool ok_ = true;
};

// ---- buttons -------------------------------------------------------------

// The standard key: 0 released, 1 pressed (lit by the accent), 2 hover
// overlay, 3 disabled.
void keyFrame(QPainter& p, int f, const QRectF& r, double radius) {
  const QRectF k = r.adjusted(0.5, 0.5, -0.5, -0.5);
  switch (f) {
    case 0:
      plate(p, k, radius, QColor(92, 91, 92), QColor(62, 61, 62));
      break;
    case 1: {
      plate(p, k, radius, QColor(40, 44, 48), QColor(30, 34, 38), ACCENT_DIM);
      p.setPen(Qt::NoPen);
      p.setBrush(ACCENT);
      const double w = std::min(k.width() * 0.6, k.width() - 2 * radius);
      p.drawRoundedRect(QRectF(k.center().x() - w / 2, k.bottom() - 2.6, w, 1.6), 0.8, 0.8);
      break;
    }
    case 2:
      hoverOverlay(p, k, radius);
      break;
    default:
      plate(p, k, radius, QColor(66, 65, 66), QColor(58, 57, 58), QColor(44, 44, 46));
      break;
  }
}

void keyStrip(Writer& w, int id, QSizeF size, double radius) {
  w.strip(id, size, 4, [radius](QPainter& p, int f, const QRectF& r) { keyFrame(p, f, r, radius); });
}

// Window buttons: a glyph on a transparent face; hover lights the face.
enum class Glyph { Minimise, Maximise, Close };

void drawGlyph(QPainter& p, Glyph g, const QRectF& r, const QColor& c) {
  p.setPen(QPen(c, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  const QPointF m = r.center();
  switch (g) {
    case Glyph::Minimise: p.drawLine(m + QPointF(-4.5, 3), m + QPointF(4.5, 3)); break;
    case Glyph::Maximise: p.drawRect(QRectF(m.x() - 4.5, m.y() - 4, 9, 8)); break;
    case Glyph::Close:
      p.drawLine(m + QPointF(-4, -4), m + QPointF(4, 4));
      p.drawLine(m + QPointF(-4, 4), m + QPointF(4, -4));
      break;
  }
}

void windowButton(Writer& w, int id, QSizeF size, Glyph g) {
  w.strip(id, size, 4, [g](QPainter& p, int f, const QRectF& r) {
    const QColor hot = g == Glyph::Close ? QColor(210, 48, 44) : QColor(255, 255, 255, 40);
    if (f == 1) p.fillRect(r, g == Glyph::Close ? QColor(150, 30, 28) : QColor(0, 0, 0, 60));
    if (f == 2) p.fillRect(r, hot);
    drawGlyph(p, g, r, f == 3 ? QColor(120, 120, 122) : f == 2 ? Qt::white : QColor(200, 204, 212));
  });
}

// Small round and square toggles (16 × 16 and 14 × 14).
void ring(QPainter& p, const QRectF& r, bool lit) {
  const QRectF o = r.adjusted(1.5, 1.5, -1.5, -1.5);
  p.setPen(QPen(EDGE_DARK, 1));
  p.setBrush(vertical(o, QColor(40, 40, 42), QColor(60, 60, 62)));
  p.drawEllipse(o);
  if (lit) {
    QRadialGradient glow(o.center(), o.width() / 2);
    glow.setColorAt(0, QColor(120, 220, 255));
    glow.setColorAt(0.55, ACCENT);
    glow.setColorAt(1, withAlpha(ACCENT, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(o.adjusted(2.5, 2.5, -2.5, -2.5));
  }
}

void roundToggle(Writer& w, int id, QSizeF size) {
  w.strip(id, size, 4, [](QPainter& p, int f, const QRectF& r) {
    if (f == 2) {
      p.setPen(QPen(withAlpha(ACCENT, 170), 1));
      p.setBrush(QColor(255, 255, 255, 24));
      p.drawEllipse(r.adjusted(1, 1, -1, -1));
      return;
    }
    ring(p, r, f == 1);
    if (f == 3) p.fillRect(r, QColor(73, 72, 72, 120));
  });
}

// Chain links: two rounded links, apart when released, joined in the
// accent colour when pressed.
void chainGlyph(QPainter& p, const QRectF& r, bool joined) {
  const QPointF c = r.center();
  p.save();
  p.translate(c);
  p.rotate(-45);
  const QColor col = joined ? ACCENT : QColor(150, 152, 158);
  p.setPen(QPen(col, 1.6));
  p.setBrush(Qt::NoBrush);
  const double gap = joined ? 0 : 1.6;
  p.drawRoundedRect(QRectF(-6.5 - gap, -2.4, 7.5, 4.8), 2.4, 2.4);
  p.drawRoundedRect(QRectF(-1 + gap, -2.4, 7.5, 4.8), 2.4, 2.4);
  p.restore();
}

void chainToggle(Writer& w, int id, QSizeF size) {
  w.strip(id, size, 4, [](QPainter& p, int f, const QRectF& r) {
    if (f == 2) { hoverOverlay(p, r, 3); return; }
    plate(p, r, 3, QColor(56, 56, 58), QColor(42, 42, 44), f == 1 ? ACCENT_DIM : EDGE_DARK);
    chainGlyph(p, r, f == 1);
    if (f == 3) p.fillRect(r, QColor(73, 72, 72, 120));
  });
}

// Capsule buttons of the channel strip (39 × 22).
void capsule(QPainter& p, const QRectF& r, bool lit) {
  const QRectF o = r.adjusted(1, 2, -1, -2);
  plate(p, o, o.height() / 2, lit ? QColor(36, 50, 60) : QColor(58, 58, 60),
        lit ? QColor(24, 34, 42) : QColor(40, 40, 42), lit ? ACCENT : EDGE_DARK);
}

void speaker(QPainter& p, const QRectF& r, const QColor& c, bool muted) {
  const QPointF m = r.center() + QPointF(muted ? -3 : -4, 0);
  QPainterPath body;
  body.moveTo(m + QPointF(-4, -2));
  body.lineTo(m + QPointF(-1.5, -2));
  body.lineTo(m + QPointF(2, -5));
  body.lineTo(m + QPointF(2, 5));
  body.lineTo(m + QPointF(-1.5, 2));
  body.lineTo(m + QPointF(-4, 2));
  body.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawPath(body);
  p.setPen(QPen(c, 1.3, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  if (muted) {
    p.drawLine(m + QPointF(5, -3), m + QPointF(10, 3));
    p.drawLine(m + QPointF(5, 3), m + QPointF(10, -3));
  } else {
    p.drawArc(QRectF(m.x() - 1, m.y() - 4, 8, 8), -50 * 16, 100 * 16);
    p.drawArc(QRectF(m.x() - 1, m.y() - 7, 14, 14), -45 * 16, 90 * 16);
  }
}

void muteStrip(Writer& w) {
  w.strip(151, QSizeF(39, 22), 4, [](QPainter& p, int f, const QRectF& r) {
    if (f == 2) { hoverOverlay(p, r.adjusted(1, 2, -1, -2), 9); return; }
    const QRectF o = r.adjusted(1, 2, -1, -2);
    plate(p, o, o.height() / 2, QColor(58, 58, 60), QColor(40, 40, 42),
          f == 1 ? QColor(120, 40, 38) : EDGE_DARK);
    speaker(p, r, f == 1 ? RED : f == 3 ? QColor(110, 110, 112) : GREEN, f == 1);
  });
}

void phaseStrip(Writer& w) {
  w.strip(152, QSizeF(39, 22), 4, [](QPainter& p, int f, const QRectF& r) {
    if (f == 2) { hoverOverlay(p, r.adjusted(1, 2, -1, -2), 9); return; }
    capsule(p, r, f == 1);
    if (f == 3) p.fillRect(r, QColor(73, 72, 72, 120));
  });
}

// Sliding switch of the routing cells (34 × 17).
void routeSwitch(Writer& w) {
  w.strip(172, QSizeF(34, 17), 4, [](QPainter& p, int f, const QRectF& r) {
    const QRectF track = r.adjusted(2, 2.5, -2, -2.5);
    if (f == 2) { hoverOverlay(p, track, track.height() / 2); return; }
    const bool on = f == 1;
    p.setPen(QPen(EDGE_DARK, 1));
    p.setBrush(on ? vertical(track, QColor(0, 120, 170), ACCENT) : vertical(track, GROOVE, QColor(44, 44, 46)));
    p.drawRoundedRect(track, track.height() / 2, track.height() / 2);
    const double d = track.height() - 2;
    const QRectF knob(on ? track.right() - d - 1 : track.left() + 1, track.top() + 1, d, d);
    p.setBrush(vertical(knob, QColor(236, 238, 242), QColor(170, 172, 178)));
    p.setPen(QPen(QColor(30, 30, 32), 0.8));
    p.drawEllipse(knob);
    if (f == 3) p.fillRect(r, QColor(73, 72, 72, 130));
  });
}

// Role selector (92 × 19, two frames, the second drawn over the first on hover).
void roleSelector(Writer& w) {
  w.strip(144, QSizeF(92, 19), 2, [](QPainter& p, int f, const QRectF& r) {
    const QRectF o = r.adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(f == 1 ? ACCENT : EDGE_DARK, 1));
    p.setBrush(vertical(o, QColor(40, 40, 42), QColor(50, 50, 52)));
    p.drawRoundedRect(o, 3, 3);
    QPainterPath chevron;
    const QPointF c(o.right() - 8, o.center().y());
    chevron.moveTo(c + QPointF(-3, -1.5));
    chevron.lineTo(c + QPointF(0, 1.5));
    chevron.lineTo(c + QPointF(3, -1.5));
    p.setPen(QPen(f == 1 ? ACCENT : QColor(150, 154, 162), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(chevron);
  });
}

// Car diagram icons: a loudspeaker in its cabinet, lit when assigned.
void speakerIcon(Writer& w, int id, QSizeF size, bool sub) {
  w.strip(id, size, 4, [sub](QPainter& p, int f, const QRectF& r) {
    const QRectF box = r.adjusted(1.5, 1.5, -1.5, -1.5);
    if (f == 2) { hoverOverlay(p, box, 3); return; }
    const bool lit = f == 1;
    p.setPen(QPen(lit ? ACCENT : QColor(98, 98, 100), 1));
    p.setBrush(lit ? QColor(20, 44, 58) : QColor(44, 44, 46));
    p.drawRoundedRect(box, 3, 3);
    const double d = std::min(box.width(), box.height()) * (sub ? 0.82 : 0.66);
    const QRectF cone(box.center().x() - d / 2, box.center().y() - d / 2, d, d);
    QRadialGradient g(cone.center(), d / 2);
    g.setColorAt(0, lit ? QColor(150, 230, 255) : QColor(130, 130, 134));
    g.setColorAt(0.35, lit ? ACCENT : QColor(84, 84, 88));
    g.setColorAt(1, lit ? ACCENT_DIM : QColor(36, 36, 38));
    p.setBrush(g);
    p.setPen(QPen(lit ? QColor(120, 220, 255) : QColor(110, 110, 114), 0.8));
    p.drawEllipse(cone);
    p.setBrush(lit ? Qt::white : QColor(150, 150, 154));
    p.setPen(Qt::NoPen);
    p.drawEllipse(cone.center(), d * 0.12, d * 0.12);
    if (f == 3) p.fillRect(r, QColor(73, 72, 72, 140));
  });
}

// ---- fader skins -------------------------------------------------------------

// Track, lit track, knob, focused knob side by side (see fader.h).
void faderSkinArt(Writer& w, int id, int skinIndex) {
  const FaderSkin& s = faderSkin(skinIndex);
  const bool vertical = skinIndex != 5;
  const QSizeF total(2 * s.width + 2 * s.knobWidth, std::max(s.height, s.knobHeight));
  w.picture(id, total, [&](QPainter& p, const QRectF&) {
    for (int lit = 0; lit < 2; ++lit) {
      p.save();
      p.translate(lit * s.width, 0);
      // Keep off the copy's outer pixel: smooth scaling samples one pixel of
      // the neighbouring copy.
      p.setClipRect(QRectF(0.5, 0, s.width - 1, s.height));
      // Groove along the moving axis, a little beyond both knob ends.
      const double lo = std::min(s.start, s.end) - 4;
      const double hi = std::max(s.start, s.end) + 4;
      const double gw = 4;
      const QRectF groove = vertical ? QRectF(s.cross - gw / 2, lo, gw, hi - lo)
                                     : QRectF(lo, s.cross - gw / 2, hi - lo, gw);
      // Scale ticks beside the groove (skipped where the image is too narrow).
      const int ticks = 9;
      p.setPen(QPen(QColor(120, 122, 128), 0.6));
      for (int t = 0; t < ticks; ++t) {
        const double a = s.start + (s.end - s.start) * t / (ticks - 1);
        const double len = (t == ticks / 2 || t == 0 || t == ticks - 1) ? 4.5 : 2.5;
        if (vertical) {
          if (s.cross - gw / 2 - 1.5 - len > 0) {
            p.drawLine(QPointF(s.cross - gw / 2 - 1.5 - len, a), QPointF(s.cross - gw / 2 - 1.5, a));
            p.drawLine(QPointF(s.cross + gw / 2 + 1.5, a), QPointF(s.cross + gw / 2 + 1.5 + len, a));
          }
        } else {
          p.drawLine(QPointF(a, s.cross + gw / 2 + 1.5), QPointF(a, std::min(s.height, s.cross + gw / 2 + 1.5 + len / 2)));
        }
      }
      p.setPen(QPen(QColor(12, 12, 14), 0.8));
      p.setBrush(lit ? QBrush(vertical ? art::vertical(groove, QColor(90, 215, 255), ACCENT_DIM)
                                        : QBrush(ACCENT))
                     : QBrush(GROOVE));
      p.drawRoundedRect(groove, gw / 2, gw / 2);
      if (lit) {
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(ACCENT, 60));
        p.drawRoundedRect(groove.adjusted(-1.5, -1.5, 1.5, 1.5), gw, gw);
      }
      p.restore();
    }
    for (int focused = 0; focused < 2; ++focused) {
      const QRectF k(2 * s.width + focused * s.knobWidth, 0, s.knobWidth, s.knobHeight);
      const QRectF cap = k.adjusted(1, 1, -1, -1);
      p.setPen(QPen(QColor(16, 16, 18), 1));
      QLinearGradient metal = vertical ? art::vertical(cap, QColor(224, 226, 230), QColor(120, 122, 128))
                                       : QLinearGradient(cap.topLeft(), cap.topRight());
      if (!vertical) {
        metal.setColorAt(0, QColor(200, 202, 208));
        metal.setColorAt(1, QColor(120, 122, 128));
      }
      p.setBrush(metal);
      p.drawRoundedRect(cap, 2.5, 2.5);
      // Ridges and the indicator line across the knob's middle.
      p.setPen(QPen(QColor(0, 0, 0, 70), 0.6));
      for (int i = -2; i <= 2; ++i) {
        if (i == 0) continue;
        const double o = i * 3.2;
        if (vertical) p.drawLine(QPointF(cap.left() + 2.5, cap.center().y() + o), QPointF(cap.right() - 2.5, cap.center().y() + o));
        else p.drawLine(QPointF(cap.center().x() + o, cap.top() + 2.5), QPointF(cap.center().x() + o, cap.bottom() - 2.5));
      }
      p.setPen(QPen(focused ? ACCENT : QColor(40, 40, 44), focused ? 2 : 1.4));
      if (vertical) p.drawLine(QPointF(cap.left() + 1.5, cap.center().y()), QPointF(cap.right() - 1.5, cap.center().y()));
      else p.drawLine(QPointF(cap.center().x(), cap.top() + 1.5), QPointF(cap.center().x(), cap.bottom() - 1.5));
    }
  });
}

// ---- level slider sheet ---------------------------------------------------------

void sliderSheet(Writer& w) {
  namespace ss = slider_sprite;
  w.picture(png::SLIDER_SHEET, QSizeF(330, 33), [](QPainter& p, const QRectF&) {
    const double y = 24.5;
    auto groove = [&](double x0, double x1, bool capLeft, bool capRight) {
      const QRectF g(x0, y - 2.5, x1 - x0, 5);
      p.setPen(QPen(QColor(12, 12, 14), 0.8));
      p.setBrush(vertical(g, GROOVE, QColor(40, 40, 42)));
      p.setClipRect(QRectF(capLeft ? x0 - 4 : x0, 0, x1 - x0 + (capLeft ? 4 : 0) + (capRight ? 4 : 0), 33));
      p.drawRoundedRect(g.adjusted(capLeft ? 0 : -6, 0, capRight ? 0 : 6, 0), 2.5, 2.5);
      p.setClipping(false);
    };
    // Left part 0..112 and the two right ends (plain at 112, with socket at 172).
    groove(8, 112, true, false);
    groove(112, 161, false, true);
    groove(172, 172 + (146 - 112), false, true);
    // Minor ticks under the track of every body part.
    p.setPen(QPen(QColor(110, 112, 118), 0.6));
    for (double x = 10; x <= 159.01; x += 149.0 / 12) {
      const double sx = x < 112 ? x : x;
      p.drawLine(QPointF(sx, 29), QPointF(sx, 31));
    }
    for (double x = 10; x <= 144.01; x += 134.0 / 12) {
      if (x >= 112) p.drawLine(QPointF(x - 112 + 172, 29), QPointF(x - 112 + 172, 31));
    }
    // Socket for the switch at frame (153, 16)–(168, 31).
    const QRectF socket(172 + (153 - 112) - 0.5, 15.5, 16, 16);
    p.setPen(QPen(EDGE_DARK, 1));
    p.setBrush(vertical(socket, GROOVE, QColor(52, 52, 54)));
    p.drawEllipse(socket);
    // Thumbs: idle grey, active with the accent line.
    for (const auto& [rect, active] : {std::pair{ss::THUMB_IDLE, false}, std::pair{ss::THUMB_ACTIVE, true}}) {
      const QRectF t = rect.adjusted(2, 0.5, -2, -0.5);
      p.setPen(QPen(QColor(14, 14, 16), 1));
      p.setBrush(vertical(t, QColor(230, 232, 236), QColor(128, 130, 136)));
      p.drawRoundedRect(t, 3, 3);
      p.setPen(QPen(active ? ACCENT : QColor(60, 60, 64), active ? 2 : 1.2));
      p.drawLine(QPointF(t.center().x(), t.top() + 2.5), QPointF(t.center().x(), t.bottom() - 2.5));
    }
    // Switch images: a power button, lit or dark.
    for (const auto& [rect, on] : {std::pair{ss::TOGGLE_ON, true}, std::pair{ss::TOGGLE_OFF, false}}) {
      const QRectF b = rect.adjusted(1, 1.5, -1, -1.5);
      p.setPen(QPen(QColor(14, 14, 16), 1));
      p.setBrush(vertical(b, QColor(80, 80, 84), QColor(44, 44, 46)));
      p.drawEllipse(b);
      const QColor c = on ? ACCENT : QColor(120, 122, 128);
      p.setPen(QPen(c, 1.3, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      const QRectF arc = b.adjusted(3.5, 3.5, -3.5, -3.5);
      p.drawArc(arc, 120 * 16, 300 * 16);
      p.drawLine(QPointF(arc.center().x(), arc.top() - 0.8), QPointF(arc.center().x(), arc.center().y()));
    }
  });
}

// ---- combo skins -----------------------------------------------------------------

void comboSkin(Writer& w, int layoutIndex) {
  const ComboLayout& l = comboLayout(layoutIndex);
  // The main window's selector (layout 3) carries light text on a dark
  // field; the panels' lists the default dark grey text on a silver face.
  const bool dark = layoutIndex == 3;
  w.picture(png::COMBO_LAYOUT_0 + layoutIndex, QSizeF(2.0 * l.width, l.height),
            [&](QPainter& p, const QRectF&) {
    for (int focused = 0; focused < 2; ++focused) {
      const QRectF r = QRectF(focused * l.width, 0, l.width, l.height).adjusted(0.5, 0.5, -0.5, -0.5);
      const QColor edge = focused ? ACCENT : (dark ? EDGE_DARK : QColor(40, 40, 42));
      if (dark) plate(p, r, 3, QColor(44, 44, 46), QColor(32, 32, 34), edge);
      else plate(p, r, 3, QColor(222, 224, 228), QColor(178, 181, 186), edge);
      // Arrow zone right of the text rectangle.
      const double zoneLeft = focused * l.width + l.textRight + 1.5;
      p.setPen(QPen(dark ? QColor(70, 70, 74) : QColor(140, 142, 148), 0.8));
      p.drawLine(QPointF(zoneLeft, r.top() + 3), QPointF(zoneLeft, r.bottom() - 3));
      QPainterPath chevron;
      const QPointF c((zoneLeft + r.right()) / 2, r.center().y());
      const double a = std::min(3.2, l.height / 5.0);
      chevron.moveTo(c + QPointF(-a, -a / 2));
      chevron.lineTo(c + QPointF(0, a / 2));
      chevron.lineTo(c + QPointF(a, -a / 2));
      p.setPen(QPen(focused ? ACCENT : (dark ? QColor(186, 194, 208) : QColor(82, 82, 82)), 1.4,
                    Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(Qt::NoBrush);
      p.drawPath(chevron);
    }
  });
}

// ---- backgrounds ---------------------------------------------------------------

// The logo mark: five bars of width 3 at a pitch of 5, heights 4, 7, 15, 4,
// 7, centred on the line through `origin`; `scale` design pixels per unit.
std::vector<QRectF> logoBars(QPointF origin, double scale) {
  std::vector<QRectF> bars;
  for (int i = 0; i < 5; ++i) {
    const double h = (4 + 3 * (i % 3) + (i == 2 ? 5 : 0)) * scale;
    bars.emplace_back(origin.x() + i * 5 * scale, origin.y() - h / 2, 3 * scale, h);
  }
  return bars;
}

void hairline(QPainter& p, QPointF a, QPointF b, const QColor& c) {
  p.setPen(QPen(c, 1));
  p.drawLine(a, b);
}

void well(QPainter& p, const QRectF& r, double radius) {
  p.setPen(QPen(QColor(28, 28, 30), 1));
  p.setBrush(vertical(r, QColor(40, 40, 42), QColor(46, 46, 48)));
  p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
  hairline(p, QPointF(r.left() + radius, r.bottom() + 0.5), QPointF(r.right() - radius, r.bottom() + 0.5),
           QColor(255, 255, 255, 18));
}

void carOutline(QPainter& p, const QRectF& r) {
  QPainterPath car;
  car.addRoundedRect(r, r.width() * 0.32, r.height() * 0.16);
  p.setPen(QPen(QColor(110, 110, 114), 1.2));
  p.setBrush(QColor(58, 58, 60));
  p.drawPath(car);
  // Windscreen, rear window and seats, drawn light.
  p.setPen(QPen(QColor(96, 96, 100), 1));
  p.setBrush(Qt::NoBrush);
  const double x0 = r.left() + r.width() * 0.18, x1 = r.right() - r.width() * 0.18;
  p.drawArc(QRectF(x0, r.top() + r.height() * 0.18, x1 - x0, r.height() * 0.16), 20 * 16, 140 * 16);
  p.drawArc(QRectF(x0, r.bottom() - r.height() * 0.26, x1 - x0, r.height() * 0.14), 200 * 16, 140 * 16);
  for (double fy : {0.36, 0.58}) {
    for (double fx : {0.26, 0.56}) {
      p.drawRoundedRect(QRectF(r.left() + r.width() * fx, r.top() + r.height() * fy, r.width() * 0.18,
                               r.height() * 0.12), 3, 3);
    }
  }
}

void mainBackground(Writer& w) {
  w.picture(png::MAIN_BACKGROUND, QSizeF(1278, 718), [](QPainter& p, const QRectF& r) {
    p.fillRect(r, PANEL);
    // Top band with the title, buttons and master controls.
    const QRectF band(0, 0, 1278, 65);
    p.fillRect(band, vertical(band, QColor(46, 46, 48), QColor(58, 57, 58)));
    p.fillRect(QRectF(0, 0, 1278, 29), QColor(0, 0, 0, 40));
    hairline(p, QPointF(0, 64.5), QPointF(1278, 64.5), QColor(20, 20, 22));
    QLinearGradient accent(0, 0, 1278, 0);
    accent.setColorAt(0, withAlpha(ACCENT, 0));
    accent.setColorAt(0.5, withAlpha(ACCENT, 160));
    accent.setColorAt(1, withAlpha(ACCENT, 0));
    p.fillRect(QRectF(0, 65, 1278, 1), accent);
    // Logo mark before the title.
    p.setPen(Qt::NoPen);
    p.setBrush(ACCENT);
    for (const QRectF& bar : logoBars(QPointF(14, 15), 1)) p.drawRoundedRect(bar, 1.5, 1.5);
    // EQ panel (65..464): the graph's well and the band area.
    well(p, QRectF(195, 65 + 6, 1071, 217), 4);
    well(p, QRectF(195, 65 + 222, 1071, 172), 4);
    well(p, QRectF(8, 65 + 20, 176, 190), 4);
    well(p, QRectF(8, 65 + 214, 115, 178), 4);
    hairline(p, QPointF(0, 463.5), QPointF(1278, 463.5), QColor(30, 30, 32));
    hairline(p, QPointF(0, 464.5), QPointF(1278, 464.5), QColor(255, 255, 255, 22));
    // Channel panel (464..718): car diagram and the eight channel columns.
    well(p, QRectF(8, 464 + 6, 232, 242), 6);
    carOutline(p, QRectF(70, 464 + 26, 108, 206));
    const double columns[] = {269, 396, 524, 652, 780, 908, 1035, 1163};
    for (double x : columns) well(p, QRectF(x - 20, 464 + 6, 116, 206), 4);
    well(p, QRectF(249, 464 + 214, 1017, 32), 4);
  });
}

void progressArt(Writer& w, int id, bool filled) {
  w.picture(id, QSizeF(541, 161), [filled](QPainter& p, const QRectF& r) {
    plate(p, r, 6, QColor(62, 61, 62), QColor(44, 44, 46), QColor(20, 20, 22));
    p.fillRect(QRectF(6, 6, 529, 34), QColor(0, 0, 0, 50));
    p.setPen(Qt::NoPen);
    p.setBrush(ACCENT);
    for (int i = 0; i < 5; ++i) {
      const double h = 5 + 3 * (i % 3) + (i == 2 ? 6 : 0);
      p.drawRoundedRect(QRectF(24 + i * 6, 23 - h / 2, 3.5, h), 1.7, 1.7);
    }
    const QRectF bar(27, 58, 489, 22);
    p.setPen(QPen(QColor(14, 14, 16), 1));
    p.setBrush(vertical(bar, GROOVE, QColor(40, 40, 42)));
    p.drawRoundedRect(bar, 4, 4);
    if (filled) {
      // The bar picture is copied from the left up to the progress, so the
      // whole track is drawn full here.
      const QRectF fill = bar.adjusted(1.5, 1.5, -1.5, -1.5);
      p.setPen(Qt::NoPen);
      p.setBrush(vertical(fill, QColor(90, 215, 255), QColor(0, 120, 178)));
      p.drawRoundedRect(fill, 3, 3);
      p.setBrush(QColor(255, 255, 255, 50));
      p.drawRoundedRect(QRectF(fill.left() + 2, fill.top() + 1, fill.width() - 4, fill.height() / 3), 2, 2);
    }
  });
}

void routingArt(Writer& w) {
  w.picture(png::ROUTE_CELL, QSizeF(108, 55), [](QPainter& p, const QRectF& r) {
    const QRectF tile = r.adjusted(2, 1, -2, -2);
    plate(p, tile, 5, QColor(64, 64, 66), QColor(52, 52, 54));
    hairline(p, QPointF(tile.left() + 6, tile.top() + 28.5), QPointF(tile.right() - 6, tile.top() + 28.5),
             QColor(0, 0, 0, 60));
  });
  w.picture(png::ROUTE_COLUMN, QSizeF(108, 40), [](QPainter& p, const QRectF& r) {
    const QRectF tab = r.adjusted(6, 18, -6, -2);
    plate(p, tab, 4, QColor(44, 44, 46), QColor(36, 36, 38));
    p.fillRect(QRectF(tab.left() + 8, tab.top(), tab.width() - 16, 1.5), ACCENT);
    p.setPen(QPen(QColor(110, 112, 118), 1));
    p.drawLine(QPointF(r.center().x(), 2), QPointF(r.center().x(), tab.top() - 2));
  });
  w.picture(png::ROUTE_ROW, QSizeF(22, 55), [](QPainter& p, const QRectF& r) {
    QPainterPath arrow;
    const double y = 22;
    arrow.moveTo(3, y - 5);
    arrow.lineTo(15, y);
    arrow.lineTo(3, y + 5);
    p.setPen(QPen(ACCENT, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arrow);
    p.setPen(QPen(QColor(110, 112, 118), 1));
    p.drawLine(QPointF(15, y), QPointF(r.right(), y));
  });
}

// ---- icons ---------------------------------------------------------------------
// The program icon, drawn from the logo mark on a key plate, and the dialogs'
// message box icons. The program icon exists as PNGs of each size the desktop
// asks for and as SVG, both from one list of shapes.

// A rounded rectangle with a vertical gradient and an optional outline, in the
// icon's 64-unit box.
struct IconShape {
  QRectF rect;
  double radius;
  QColor top, bottom;
  QColor stroke = Qt::transparent;
  double strokeWidth = 0;
};

constexpr double ICON_BOX = 64;

std::vector<IconShape> programIconShapes() {
  std::vector<IconShape> shapes;
  // The plate: a key of the top band, outline inside the box.
  shapes.push_back({QRectF(3.75, 3.75, 56.5, 56.5), 12.25, QColor(76, 75, 76), QColor(36, 36, 38),
                    QColor(16, 16, 18), 1.5});
  // Its highlight along the top inner edge.
  shapes.push_back({QRectF(16, 5.25, 32, 1), 0.5, QColor(255, 255, 255, 30), QColor(255, 255, 255, 30)});
  // The logo bars at twice their size, centred.
  for (const QRectF& bar : logoBars(QPointF(9, 30), 2))
    shapes.push_back({bar, 3, QColor(110, 222, 255), QColor(0, 150, 214)});
  // The accent line of a pressed key.
  shapes.push_back({QRectF(20, 51.5, 24, 2.5), 1.25, ACCENT, ACCENT});
  return shapes;
}

void paintIcon(QPainter& p, const std::vector<IconShape>& shapes) {
  for (const IconShape& s : shapes) {
    if (s.strokeWidth > 0)
      p.setPen(QPen(s.stroke, s.strokeWidth));
    else
      p.setPen(Qt::NoPen);
    p.setBrush(vertical(s.rect, s.top, s.bottom));
    p.drawRoundedRect(s.rect, s.radius, s.radius);
  }
}

QString svgNumber(double v) { return QString::number(v, 'g', 6); }

// `paint`="#rrggbb" and, when not opaque, its opacity attribute.
QString svgPaint(const char* paint, const char* opacity, const QColor& c) {
  QString text = QStringLiteral("%1=\"%2\"").arg(QLatin1String(paint), c.name(QColor::HexRgb));
  if (c.alpha() != 255)
    text += QStringLiteral(" %1=\"%2\"").arg(QLatin1String(opacity), svgNumber(c.alphaF()));
  return text;
}

QString iconSvg(const std::vector<IconShape>& shapes) {
  QString defs, body;
  for (size_t i = 0; i < shapes.size(); ++i) {
    const IconShape& s = shapes[i];
    QString fill;
    if (s.top == s.bottom) {
      fill = svgPaint("fill", "fill-opacity", s.top);
    } else {
      const QString id = QStringLiteral("g%1").arg(i);
      defs += QStringLiteral("    <linearGradient id=\"%1\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
                             "<stop offset=\"0\" %2/><stop offset=\"1\" %3/></linearGradient>\n")
                  .arg(id, svgPaint("stop-color", "stop-opacity", s.top),
                       svgPaint("stop-color", "stop-opacity", s.bottom));
      fill = QStringLiteral("fill=\"url(#%1)\"").arg(id);
    }
    body += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" %6")
                .arg(svgNumber(s.rect.x()), svgNumber(s.rect.y()), svgNumber(s.rect.width()),
                     svgNumber(s.rect.height()), svgNumber(s.radius), fill);
    if (s.strokeWidth > 0)
      body += QStringLiteral(" %1 stroke-width=\"%2\"")
                  .arg(svgPaint("stroke", "stroke-opacity", s.stroke), svgNumber(s.strokeWidth));
    body += QStringLiteral("/>\n");
  }
  const QString box = svgNumber(ICON_BOX);
  return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" viewBox=\"0 0 %1 %1\">\n"
                        "  <defs>\n%2  </defs>\n%3</svg>\n")
      .arg(box, defs, body);
}

// The desktop's icons: zr78-<size>.png for each size and zr78.svg.
bool programIcons(const QString& dir) {
  const std::vector<IconShape> shapes = programIconShapes();
  bool ok = true;
  for (int size : {48, 64, 128, 256, 512}) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / ICON_BOX, size / ICON_BOX);
    paintIcon(p, shapes);
    p.end();
    const QString path = dir + QStringLiteral("/zr78-%1.png").arg(size);
    if (!img.save(path, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      ok = false;
    }
  }
  QFile svg(dir + QStringLiteral("/zr78.svg"));
  if (!svg.open(QIODevice::WriteOnly | QIODevice::Truncate) || svg.write(iconSvg(shapes).toUtf8()) < 0) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(svg.fileName()));
    ok = false;
  }
  return ok;
}

// Message box glyphs, stroked with round caps in a 40-unit box.
enum class Sign { Question, Information, Warning, Critical };

void signGlyph(QPainter& p, Sign sign, const QColor& c) {
  p.setPen(QPen(c, 3.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  auto dot = [&](QPointF at, double r) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(at, r, r);
    p.restore();
  };
  switch (sign) {
    case Sign::Question: {
      QPainterPath hook;
      const QRectF arc(14.2, 9.5, 11.6, 11.6);
      hook.arcMoveTo(arc, 165);
      hook.arcTo(arc, 165, -235);
      hook.quadTo(QPointF(20, 21.2), QPointF(20, 24));
      p.drawPath(hook);
      dot(QPointF(20, 30), 2.4);
      break;
    }
    case Sign::Information:
      dot(QPointF(20, 11.8), 2.6);
      p.drawLine(QPointF(20, 18), QPointF(20, 29));
      break;
    case Sign::Warning:
      p.drawLine(QPointF(20, 15), QPointF(20, 24));
      dot(QPointF(20, 30), 2.3);
      break;
    case Sign::Critical:
      p.drawLine(QPointF(14.5, 14.5), QPointF(25.5, 25.5));
      p.drawLine(QPointF(25.5, 14.5), QPointF(14.5, 25.5));
      break;
  }
}

void messageIcon(Writer& w, int id, Sign sign) {
  w.picture(id, QSizeF(40, 40), [sign](QPainter& p, const QRectF& r) {
    const QRectF disc = r.adjusted(2.5, 2.5, -2.5, -2.5);
    p.setPen(QPen(EDGE_DARK, 1));
    switch (sign) {
      case Sign::Question:
        p.setBrush(vertical(disc, QColor(52, 194, 246), QColor(0, 116, 176)));
        p.drawEllipse(disc);
        signGlyph(p, sign, Qt::white);
        break;
      case Sign::Information:
        p.setBrush(vertical(disc, QColor(96, 95, 96), QColor(58, 57, 58)));
        p.drawEllipse(disc);
        signGlyph(p, sign, QColor(70, 200, 255));
        break;
      case Sign::Warning: {
        QPainterPath triangle;
        triangle.moveTo(20, 4.5);
        triangle.lineTo(36.5, 33.5);
        triangle.lineTo(3.5, 33.5);
        triangle.closeSubpath();
        const QRectF box = triangle.boundingRect();
        p.setPen(QPen(QColor(150, 92, 10), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(vertical(box, QColor(255, 204, 80), QColor(232, 148, 24)));
        p.drawPath(triangle);
        signGlyph(p, sign, QColor(44, 30, 8));
        break;
      }
      case Sign::Critical:
        p.setBrush(vertical(disc, QColor(244, 100, 92), QColor(186, 40, 36)));
        p.drawEllipse(disc);
        signGlyph(p, sign, Qt::white);
        break;
    }
  });
}

void icons(Writer& w) {
  w.picture(png::PROGRAM_ICON, QSizeF(ICON_BOX, ICON_BOX),
            [](QPainter& p, const QRectF&) { paintIcon(p, programIconShapes()); });
  messageIcon(w, png::ICON_QUESTION, Sign::Question);
  messageIcon(w, png::ICON_INFORMATION, Sign::Information);
  messageIcon(w, png::ICON_WARNING, Sign::Warning);
  messageIcon(w, png::ICON_CRITICAL, Sign::Critical);
}

bool generate(const QString& dir) {
  Writer w(dir);
  keyStrip(w, png::TOP_BUTTON, QSizeF(83, 25), 4);
  keyStrip(w, png::MEM_BUTTON, QSizeF(72, 24), 4);
  keyStrip(w, png::CHANNEL_SELECT, QSizeF(92, 20), 3.5);
  keyStrip(w, png::COMMAND_BUTTON, QSizeF(48, 29), 4);
  windowButton(w, png::WINDOW_MINIMISE, QSizeF(28, 20), Glyph::Minimise);
  windowButton(w, png::WINDOW_MAXIMISE, QSizeF(28, 20), Glyph::Maximise);
  windowButton(w, png::WINDOW_CLOSE, QSizeF(47, 20), Glyph::Close);
  roundToggle(w, png::RADIO, QSizeF(16, 16));
  roundToggle(w, png::BAND_SWITCH, QSizeF(14, 14));
  chainToggle(w, png::LINK, QSizeF(16, 16));
  chainToggle(w, png::DELAY_CHAIN, QSizeF(16, 16));
  muteStrip(w);
  phaseStrip(w);
  routeSwitch(w);
  roleSelector(w);
  speakerIcon(w, png::CAR_CENTRE, QSizeF(33, 23), false);
  speakerIcon(w, png::CAR_LEFT, QSizeF(23, 33), false);
  speakerIcon(w, png::CAR_RIGHT, QSizeF(23, 33), false);
  speakerIcon(w, png::CAR_SUB, QSizeF(33, 23), true);
  for (int id : {png::FADER_EQ, png::FADER_SKIN_1, png::FADER_SKIN_2, png::FADER_CHANNEL,
                 png::FADER_SKIN_4, png::FADER_ROUTE}) {
    faderSkinArt(w, id, faderSkinOfResource(id));
  }
  sliderSheet(w);
  for (int layout = 0; layout < COMBO_LAYOUT_COUNT; ++layout) comboSkin(w, layout);
  mainBackground(w);
  progressArt(w, png::PROGRESS_BACKGROUND, false);
  progressArt(w, png::PROGRESS_BAR, true);
  routingArt(w);
  icons(w);
  return w.ok();
}

}  // namespace
}  // namespace zr78::art

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: artwork_generator <output folder> [<desktop icon folder>]\n");
    return 2;
  }
  for (int i = 1; i < argc; ++i) {
    if (!QDir().mkpath(QString::fromLocal8Bit(argv[i]))) {
      std::fprintf(stderr, "cannot create %s\n", argv[i]);
      return 1;
    }
  }
  bool ok = zr78::art::generate(QString::fromLocal8Bit(argv[1]));
  if (argc == 3) ok = zr78::art::programIcons(QString::fromLocal8Bit(argv[2])) && ok;
  return ok ? 0 : 1;
}
