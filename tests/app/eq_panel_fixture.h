// The program against the virtual amplifier with the EQ panel at hand:
// handle positions of the graph, the registers of one channel's parameters,
// and a recorder of the window messages a window receives.
#pragma once

#include <QTest>
#include <QWheelEvent>
#include <vector>

#include "app/eq_panel.h"
#include "app/response_graph.h"
#include "app_fixture.h"
#include "controls/numeric_edit.h"
#include "eq/eq_model.h"
#include "registers/register_table.h"

namespace zr78::test {

// Counts the window messages of one number that reach an object, sent or
// posted, with their parameters.
class MessageSpy : public QObject {
 public:
  MessageSpy(QObject* target, int message) : target_(target), message_(message) {
    target->installEventFilter(this);
  }
  ~MessageSpy() override {
    if (target_) target_->removeEventFilter(this);
  }
  struct Seen {
    qintptr wParam, lParam;
    bool operator==(const Seen&) const = default;
  };
  std::vector<Seen> seen;
  std::vector<qintptr> lParams() const {
    std::vector<qintptr> out;
    for (const Seen& s : seen) out.push_back(s.lParam);
    return out;
  }

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == WindowMessage::eventType()) {
      const auto* m = static_cast<WindowMessage*>(e);
      if (m->message() == message_) seen.push_back({m->wParam(), m->lParam()});
    }
    return false;
  }

 private:
  QPointer<QObject> target_;
  int message_;
};

class EqPanelFixture : public AppFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(startConnected());
    window().activateWindow();
    QApplication::setActiveWindow(&window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    settle();
  }

  EqPanel& panel() { return *window().eqPanel(); }
  ResponseGraph& graph() { return *panel().graph(); }
  const ResponseGraphModel& model() { return graph().model(); }

  // The centre of a handle in the graph's coordinates.
  QPoint handleAt(int point) {
    const GraphLayout& l = model().layout();
    return QPoint(l.handleCentreX(model().handle(point).x), l.handleCentreY(model().handle(point).y));
  }
  static int bandPoint(int band) { return kFirstBandPoint + band; }

  int address(int channel, int param) { return *eqRegisterAddress(channel, param); }
  int32_t reg(int channel, int param) { return table().getRegister(address(channel, param)); }
  bool deviceHolds(int channel, int param, int32_t value, int timeoutMs = 3000) {
    return waitUntil([&] { return amp().reg(address(channel, param)) == value; }, timeoutMs);
  }
  // A value the amplifier reports for a parameter, as it arrives in a read.
  void deviceParam(int channel, int param, int32_t value) { deviceValue(address(channel, param), value); }

  void showChannel(int channel) {
    postMessage(&window(), MSG_EQ_SHOW_CHANNEL, channel, channel);
    settle();
  }

  // Press on a point, move through `path`, release at its end; real events.
  void drag(QPoint from, const std::vector<QPoint>& path) {
    QTest::mousePress(&graph(), Qt::LeftButton, Qt::NoModifier, from);
    for (const QPoint& p : path) QTest::mouseMove(&graph(), p);
    QTest::mouseRelease(&graph(), Qt::LeftButton, Qt::NoModifier, path.empty() ? from : path.back());
    settle();
  }
  void clickGraph(QPoint at) {
    QTest::mouseClick(&graph(), Qt::LeftButton, Qt::NoModifier, at);
    settle();
  }
  void wheel(QWidget* w, int notches) {
    for (int i = 0; i < std::abs(notches); ++i) {
      const QPointF at = QPointF(w->rect().center());
      QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, notches > 0 ? 120 : -120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(w, &e);
    }
    settle();
  }
  void keys(QWidget* w, Qt::Key key, int times = 1) {
    for (int i = 0; i < times; ++i) QTest::keyClick(w, key);
    settle();
  }
  // Types a value into a field and confirms it with Enter.
  void type(NumericEdit* field, const QString& text) {
    field->setFocus(Qt::MouseFocusReason);
    settle();
    field->editChild()->selectAll();
    QTest::keyClicks(field->editChild(), text);
    QTest::keyClick(field->editChild(), Qt::Key_Return);
    settle();
  }
};

}  // namespace zr78::test
