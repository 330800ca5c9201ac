// A parent window that records every window message its controls send or
// post, over a panel surface the controls take their background from.
#pragma once

#include <QApplication>
#include <QColor>
#include <QMouseEvent>
#include <QWidget>

#include <climits>
#include <vector>

#include "controls/panel_surface.h"
#include "controls/window_message.h"

namespace zr78::test {

struct Recorded {
  int message;
  qintptr wParam;
  qintptr lParam;
  bool operator==(const Recorded&) const = default;
};

// A pointer move delivered straight to the widget. (QTest::mouseMove goes
// through the cursor and sends nothing when the cursor is already there,
// which makes repeated runs differ.)
inline void moveMouse(QWidget* w, QPoint pos, Qt::MouseButtons buttons = Qt::NoButton) {
  QMouseEvent e(QEvent::MouseMove, QPointF(pos), w->mapToGlobal(QPointF(pos)), Qt::NoButton,
                buttons, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

class MessageRecorder : public QWidget {
 public:
  explicit MessageRecorder(QSize size = QSize(400, 300)) {
    resize(size);
    table_.onRange(0, INT_MAX, [this](const WindowMessage& m) {
      messages.push_back({m.message(), m.wParam(), m.lParam()});
      return qintptr{1};
    });
    surface.setOwner(this);
    surface.setPen(QColor(73, 72, 72));
    surface.create(this);
    surface.image().fill(QColor(73, 72, 72));
  }

  // Delivers what controls posted, then returns everything recorded so far.
  const std::vector<Recorded>& delivered() {
    QCoreApplication::sendPostedEvents(this, WindowMessage::eventType());
    return messages;
  }

  std::vector<Recorded> messages;
  PanelSurface surface;

 protected:
  bool event(QEvent* e) override { return table_.dispatch(e) || QWidget::event(e); }

 private:
  MessageTable table_;
};

}  // namespace zr78::test
