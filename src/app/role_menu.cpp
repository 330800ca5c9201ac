#include "app/role_menu.h"

#include "app/qt_text.h"
#include "text/shared_texts.h"

namespace zr78 {

namespace {

// The menu's look on the dark panels.
constexpr const char* kMenuStyle =
    "QMenu { background: rgb(44, 44, 46); color: rgb(214, 220, 230);"
    " border: 1px solid rgb(22, 22, 24); padding: 3px 0px; }"
    "QMenu::item { padding: 4px 22px 4px 24px; }"
    "QMenu::item:selected { background: rgb(0, 96, 140); color: white; }"
    "QMenu::item:disabled { color: rgb(104, 106, 112); }"
    "QMenu::indicator { width: 12px; height: 12px; left: 6px; }"
    "QMenu::separator { height: 1px; background: rgb(64, 64, 66); margin: 3px 6px; }";

// The loudspeakers of one side: the front has six, the rear three.
struct Item {
  int roleOffset;
  TextId text;
};
constexpr Item kFrontSide[] = {{0, kTextRoleTweeter},          {1, kTextRoleMidrange},
                               {2, kTextRoleWoofer},           {3, kTextRoleMidrangeTweeter},
                               {4, kTextRoleMidrangeWoofer},   {5, kTextRoleFull}};
constexpr Item kThreeWay[] = {{0, kTextRoleTweeter}, {1, kTextRoleWoofer}, {2, kTextRoleFull}};
constexpr Item kSubwoofers[] = {
    {0, kTextRoleLeftSubwoofer}, {1, kTextRoleRightSubwoofer}, {2, kTextRoleSubwoofer}};

constexpr int kFrontLeft = 1, kFrontRight = 7, kRearLeft = 13, kRearRight = 16, kCentre = 19,
              kSubs = 22;

}  // namespace

RoleMenu::RoleMenu(int currentRole, uint32_t unavailable, Language language, QWidget* parent)
    : QMenu(parent), language_(language), current_(currentRole), unavailable_(unavailable) {
  setAttribute(Qt::WA_DeleteOnClose);
  setStyleSheet(QString::fromLatin1(kMenuStyle));
  addRole(this, kNullRole, kTextRoleNull);

  QMenu* front = addSubmenu(this, kTextRoleFront);
  QMenu* frontLeft = addSubmenu(front, kTextRoleLeft);
  for (const Item& i : kFrontSide) addRole(frontLeft, kFrontLeft + i.roleOffset, i.text);
  QMenu* frontRight = addSubmenu(front, kTextRoleRight);
  for (const Item& i : kFrontSide) addRole(frontRight, kFrontRight + i.roleOffset, i.text);

  QMenu* rear = addSubmenu(this, kTextRoleRear);
  QMenu* rearLeft = addSubmenu(rear, kTextRoleLeft);
  for (const Item& i : kThreeWay) addRole(rearLeft, kRearLeft + i.roleOffset, i.text);
  QMenu* rearRight = addSubmenu(rear, kTextRoleRight);
  for (const Item& i : kThreeWay) addRole(rearRight, kRearRight + i.roleOffset, i.text);

  QMenu* centre = addSubmenu(this, kTextRoleCenter);
  for (const Item& i : kThreeWay) addRole(centre, kCentre + i.roleOffset, i.text);
  QMenu* subs = addSubmenu(this, kTextRoleSubwoofer);
  for (const Item& i : kSubwoofers) addRole(subs, kSubs + i.roleOffset, i.text);
}

QMenu* RoleMenu::addSubmenu(QMenu* menu, int textEntry) {
  // A submenu is a child of its menu and takes its style.
  return menu->addMenu(qtText(sharedText(static_cast<TextId>(textEntry), language_)));
}

QAction* RoleMenu::addRole(QMenu* menu, int role, int textEntry) {
  QAction* a = menu->addAction(qtText(sharedText(static_cast<TextId>(textEntry), language_)));
  a->setData(kFirstRoleMenuCommand + role);
  a->setCheckable(true);
  a->setChecked(role == current_);
  a->setEnabled((unavailable_ & (1u << role)) == 0);
  connect(a, &QAction::triggered, this, [this, role] { emit roleChosen(role); });
  actions_[static_cast<size_t>(role)] = a;
  return a;
}

QAction* RoleMenu::roleAction(int role) const {
  return isSpeakerRole(role) ? actions_[static_cast<size_t>(role)] : nullptr;
}

int RoleMenu::commandOf(const QAction* action) {
  return action != nullptr ? action->data().toInt() : 0;
}

}  // namespace zr78
