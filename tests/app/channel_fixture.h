// The window against the virtual amplifier, connected and active, with
// helpers for the channel strip: typing into a box, the role menu, and
// acting inside a modal dialog while it runs.
#pragma once

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

#include "app/car_diagram.h"
#include "app/channel_panel.h"
#include "app/link_editor.h"
#include "app/role_menu.h"
#include "app/routing_dialog.h"
#include "app_fixture.h"
#include "controls/fader.h"
#include "controls/numeric_edit.h"
#include "registers/register_table.h"

namespace zr78::test {

// Runs `act` once on the first modal dialog of type T that opens while it
// lives (the dialog's own event loop is running then).
template <class T>
class WhenModal {
 public:
  explicit WhenModal(std::function<void(T&)> act) : act_(std::move(act)) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      T* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
      if (dialog == nullptr || !dialog->isVisible() || done_) return;
      done_ = true;
      timer_.stop();
      act_(*dialog);
    });
    timer_.start();
  }
  bool ran() const { return done_; }

 private:
  std::function<void(T&)> act_;
  QTimer timer_;
  bool done_ = false;
};

class ChannelFixture : public AppFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(startConnected());
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    settle();
  }

  ChannelPanel& panel() { return *window().channelPanel(); }
  int32_t reg(int address) { return table().getRegister(address); }

  // Focus into the box, replace its text, press Enter.
  void type(NumericEdit* box, const QString& text) {
    box->editChild()->setFocus();
    box->editChild()->selectAll();
    QTest::keyClicks(box->editChild(), text);
    QTest::keyClick(box->editChild(), Qt::Key_Return);
    settle();
  }
  void key(Qt::Key k) {
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    QTest::keyClick(focused, k);
    settle();
  }

  // Unlocks the role selectors with a click on the lock.
  void unlockRoles() {
    if (panel().lockButton()->state() != ButtonState::kPressed) click(panel().lockButton());
  }
  // Opens channel c's role menu with a click on its selector.
  QMenu* openRoleMenu(int c) {
    click(panel().roleSelector(c));
    waitUntil([&] { return panel().openRoleMenu() != nullptr && panel().openRoleMenu()->isVisible(); },
              2000);
    return panel().openRoleMenu();
  }
  // Clicks the menu's way to role r: the submenus, then the item.
  void chooseRole(int c, int role) {
    QMenu* menu = openRoleMenu(c);
    ASSERT_NE(menu, nullptr);
    QAction* target = static_cast<RoleMenu*>(menu)->roleAction(role);
    std::vector<QAction*> path;  // submenu actions from the top down
    for (QMenu* m = qobject_cast<QMenu*>(target->parent()); m != menu;
         m = qobject_cast<QMenu*>(m->parent()))
      path.insert(path.begin(), m->menuAction());
    QMenu* at = menu;
    for (QAction* step : path) {
      QTest::mouseClick(at, Qt::LeftButton, Qt::NoModifier, at->actionGeometry(step).center());
      QMenu* next = step->menu();
      ASSERT_TRUE(waitUntil([&] { return next->isVisible(); }, 2000));
      at = next;
    }
    QTest::mouseClick(at, Qt::LeftButton, Qt::NoModifier, at->actionGeometry(target).center());
    settle();
  }

  // Mouse buttons on a widget at a point, as the link editor takes them.
  static void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint at) {
    QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), button,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button),
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
  }
  static void leftClick(QWidget* w, QPoint at) {
    mouse(w, QEvent::MouseButtonPress, Qt::LeftButton, at);
    mouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, at);
  }
  static void rightClick(QWidget* w, QPoint at) {
    mouse(w, QEvent::MouseButtonPress, Qt::RightButton, at);
    mouse(w, QEvent::MouseButtonRelease, Qt::RightButton, at);
  }

  // Presses link button `c` and, in the editor that opens, clicks the
  // circles `link` (left) and `unlink` (right), then OK or exit.
  void linkWithEditor(int c, std::vector<int> link, std::vector<int> unlink = {}, bool ok = true) {
    WhenModal<LinkEditor> act([=](LinkEditor& editor) {
      for (int k : link) leftClick(&editor, editor.circle(k).center());
      for (int k : unlink) rightClick(&editor, editor.circle(k).center());
      QTest::mouseClick(ok ? editor.okButton() : editor.exitButton(), Qt::LeftButton);
    });
    click(panel().linkButton(c));
    ASSERT_TRUE(waitUntil([&] { return act.ran() && QApplication::activeModalWidget() == nullptr; }));
    settle();
  }

  // Device values arrive for a run of registers, as after a device read.
  void deviceValues(std::initializer_list<std::pair<int, int32_t>> values) {
    for (const auto& [address, value] : values) {
      amp().setReg(address, value);
      table().storeFromDevice(address, value);
      postMessage(&window(), MSG_DEVICE_NOTIFY, 0, address);
    }
    settle();
  }
};

}  // namespace zr78::test
