#include "app/channel_panel.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

#include "app/car_diagram.h"
#include "app/edit_kinds.h"
#include "app/link_editor.h"
#include "app/qt_text.h"
#include "app/role_menu.h"
#include "channels/gain_word.h"
#include "channels/link_groups.h"
#include "channels/speaker_roles.h"
#include "controls/fader.h"
#include "controls/image_button.h"
#include "controls/numeric_edit.h"
#include "controls/panel_surface.h"
#include "controls/skin_combo_box.h"
#include "controls/skin_label.h"
#include "controls/window_messages.h"
#include "text/language.h"
#include "text/number_text.h"
#include "text/shared_texts.h"

namespace zr78 {

namespace {

constexpr int kChannels = kChannelCount;
constexpr DelayUnit kUnits[kDelayUnitCount] = {DelayUnit::Milliseconds, DelayUnit::Centimetres,
                                               DelayUnit::Inches};
constexpr TextId kUnitTexts[kDelayUnitCount] = {kTextMilliseconds, kTextCentimetres, kTextInches};
// Labels 11024 + j: 1..12 next to the link buttons, 16..18 the units, 19
// "Link L&R"; 0 and 13 belong to the off-screen volume and delay set.
constexpr int kFirstLinkLabel = 1;
constexpr int kFirstUnitLabel = 16;
constexpr int kLinkLeftRightLabel = 19;
constexpr int kVolumeLabel = 0;
constexpr int kDelaySetLabel = 13;

// The text on a role selector.
TextId roleText(int role) {
  if (role >= 1 && role <= 21) return static_cast<TextId>(kTextRoleFrontLeftTweeter + role - 1);
  switch (role) {
    case 22: return kTextRoleLeftSubwoofer;
    case 23: return kTextRoleRightSubwoofer;
    case 24: return kTextRoleSubwoofer;
    default: return kTextRoleNull;
  }
}

QString channelName(int column) { return qtText(formatInteger("CH%d", column + 1)); }

bool visibleColumn(int column) { return column >= 0 && column < kChannels; }

}  // namespace

ChannelPanel::ChannelPanel(LinkGroups& groups, const LanguageIndex& language, QWidget* parent)
    : QWidget(parent), groups_(groups), language_(language) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  createControls();
  buildMessageTable();
}

ChannelPanel::~ChannelPanel() = default;

void ChannelPanel::createControls() {
  for (int i = 0; i < kStripColumns; ++i) {
    auto button = [&](int id) {
      auto* b = new ImageButton(id, this);
      b->setIndex(i);
      return b;
    };
    selects_[i] = button(kChannelSelectId + i);
    selects_[i]->setState(i == 0 ? ButtonState::kPressed : ButtonState::kReleased);
    roles_[i] = button(kRoleSelectorId + i);
    roles_[i]->setEnabled(false);  // until the configuration lock is pressed
    phases_[i] = button(kPhaseId + i);
    phases_[i]->setState(ButtonState::kReleased);
    mutes_[i] = button(kMuteId + i);
    mutes_[i]->setState(ButtonState::kReleased);
    chains_[i] = button(kDelayChainId);
    chains_[i]->setState(ButtonState::kReleased);
    links_[i] = button(kLinkId + i);
    links_[i]->setState(ButtonState::kReleased);

    gainBoxes_[i] = new NumericEdit(kGainBoxId + i, this);
    gainBoxes_[i]->setNotificationValue(i);
    gainBoxes_[i]->setRules(channelGainEdit());
    gainBoxes_[i]->setValue(kMaxChannelGainDb);
    gainFaders_[i] = new Fader(kGainFaderId + i, this);
    gainFaders_[i]->setIndex(i);
    gainFaders_[i]->setRange(kMinChannelGainDb, kMaxChannelGainDb);
    gainFaders_[i]->setScale(1);
    gainFaders_[i]->setValue(kMaxChannelGainDb);
    delayBoxes_[i] = new NumericEdit(kDelayBoxId + i, this);
    delayBoxes_[i]->setNotificationValue(i);
    delayBoxes_[i]->setRules(delayEdit(DelayUnit::Milliseconds));
    delayBoxes_[i]->setValue(0);
    delayLabels_[i] = new SkinLabel(this, kDelayLabelId + i);
  }
  for (int u = 0; u < kDelayUnitCount; ++u) {
    units_[u] = new ImageButton(kFirstUnitId + u, this);
    units_[u]->setIndex(u);
    units_[u]->setState(u == 0 ? ButtonState::kPressed : ButtonState::kReleased);
  }
  for (int j = 0; j < kLabelCount; ++j) labels_[j] = new SkinLabel(this, kLabelId + j);
  lock_ = new ImageButton(kLockId, this);
  lock_->setState(ButtonState::kReleased);

  // Never seen: the strip's own master volume, unit list and spare toggles.
  masterFader_ = new Fader(kMasterFaderId, this);
  masterFader_->setRange(kMinChannelGainDb, kMaxChannelGainDb);
  masterFader_->setScale(1);
  masterBox_ = new NumericEdit(kMasterBoxId, this);
  masterBox_->setRules(channelGainEdit());
  unitList_ = new SkinComboBox(kUnitListId, this);
  spareButton_ = new ImageButton(kSpareButtonId, this);
  toggle3d_ = new ImageButton(k3dToggleId, this);
  toggle3d_->setState(ButtonState::kReleased);
  toggleDbb_ = new ImageButton(kDbbToggleId, this);
  toggleDbb_->setState(ButtonState::kReleased);

  car_ = new CarDiagram(this);

  // Tab and the arrows move the strip's focus whichever box or fader has it.
  for (int i = 0; i < kStripColumns; ++i) {
    gainBoxes_[i]->editChild()->installEventFilter(this);
    delayBoxes_[i]->editChild()->installEventFilter(this);
    gainFaders_[i]->installEventFilter(this);
  }
  masterBox_->editChild()->installEventFilter(this);
}

void ChannelPanel::buildMessageTable() {
  const auto column = [](const WindowMessage& m) { return static_cast<int>(m.wParam()); };
  const auto range = [this](int first, std::function<void(const WindowMessage&)> run) {
    messages_.onRange(first, first + kStripColumns - 1, [run](const WindowMessage& m) {
      run(m);
      return qintptr{0};
    });
  };
  range(kChannelSelectId, [this](const WindowMessage& m) { selectChannel(static_cast<int>(m.lParam())); });
  range(kRoleSelectorId, [this, column](const WindowMessage& m) { onRoleSelector(column(m)); });
  range(kPhaseId, [this, column](const WindowMessage& m) { onPhase(column(m)); });
  range(kMuteId, [this, column](const WindowMessage& m) { onMute(column(m)); });
  range(kGainBoxId, [this, column](const WindowMessage& m) { onGainBox(column(m)); });
  range(kGainFaderId, [this, column](const WindowMessage& m) { onGainFader(column(m), m.lParam()); });
  range(kDelayBoxId, [this, column](const WindowMessage& m) { onDelayBox(column(m)); });
  range(kLinkId, [this, column](const WindowMessage& m) { onLink(column(m)); });
  messages_
      .on(kDelayChainId,
          [this](const WindowMessage&) {
            onDelayChain();
            return qintptr{0};
          })
      .on(kLockId,
          [this](const WindowMessage&) {
            onLock();
            return qintptr{0};
          })
      .onRange(kFirstUnitId, kFirstUnitId + kDelayUnitCount - 1,
               [this](const WindowMessage& m) {
                 chooseUnit(kUnits[m.message() - kFirstUnitId]);
                 return qintptr{0};
               })
      .on(kUnitListId, [this](const WindowMessage&) {
        const int item = unitList_->curSel();
        if (item >= 0 && item < kDelayUnitCount) chooseUnit(kUnits[item]);
        return qintptr{0};
      });
}

bool ChannelPanel::event(QEvent* e) { return messages_.dispatch(e) || QWidget::event(e); }

void ChannelPanel::setBackground(const PanelSurface* surface) {
  background_ = surface;
  if (laidOut_) setScale(scale_);
}

// The part of the window's background under the panel; the controls draw
// their own cached faces over it.
void ChannelPanel::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  paintSurfaceUnder(p, background_, this, e->region());
}

// ---------------------------------------------------------------------------
// Register words

void ChannelPanel::apply(int code, int32_t word) {
  if (code == kCodeMaster) {
    const int db = decodeGainWord(word).gainDb;
    masterFader_->setValue(db);
    masterBox_->setValueFromNumber(db);
  } else if (code >= kCodeGain && code < kCodeGain + kChannels) {
    applyGain(code - kCodeGain, word);
  } else if (code >= kCodeDelay && code < kCodeDelay + kChannels) {
    delayBoxes_[code - kCodeDelay]->setValueFromNumber(word / 1000.0);
  } else if (code >= kCodeMute && code < kCodeMute + kChannels) {
    mutes_[code - kCodeMute]->setState(word > 0 ? ButtonState::kPressed : ButtonState::kReleased);
  } else if (code >= kCodeRole && code < kCodeRole + kChannels) {
    if (!isSpeakerRole(word)) return;  // a device word of 25 or more keeps the shown role
    roleOfChannel_[code - kCodeRole] = word;
    refreshRole(code - kCodeRole);
  }
}

void ChannelPanel::applyGain(int channel, int32_t word) {
  const ChannelGain gain = decodeGainWord(word);
  gainFaders_[channel]->setValue(gain.gainDb);
  gainBoxes_[channel]->setValueFromNumber(gain.gainDb);
  phases_[channel]->setState(gain.phase180 ? ButtonState::kPressed : ButtonState::kReleased);
  refreshPhaseText(channel);
}

int32_t ChannelPanel::encode(int code) const {
  const auto gainOf = [this](int c) {
    return encodeGainWord(gainBoxes_[c]->value(), phases_[c]->state() == ButtonState::kPressed);
  };
  if (code >= kCodeGain && code < kCodeGain + kChannels) return gainOf(code - kCodeGain);
  if (code >= kCodePhase && code < kCodePhase + kChannels) return gainOf(code - kCodePhase);
  if (code >= kCodeDelay && code < kCodeDelay + kChannels)
    return encodeDelayWord(delayBoxes_[code - kCodeDelay]->value());
  if (code >= kCodeMute && code < kCodeMute + kChannels)
    return mutes_[code - kCodeMute]->state() == ButtonState::kPressed ? 1 : 0;
  if (code >= kCodeRole && code < kCodeRole + kChannels) return roleOfChannel_[code - kCodeRole];
  if (code == kCodeMaster) {
    const int v = static_cast<int>(masterFader_->value());
    return (v == kMinChannelGainDb ? 0 : v + 100) + 500;
  }
  return 0;
}

// ---------------------------------------------------------------------------
// Texts

void ChannelPanel::refreshTexts(int code) {
  const Language language = language_.get();
  if (code >= kCodePhase && code < kCodePhase + kChannels) {
    refreshPhaseText(code - kCodePhase);
  } else if (code >= kCodeRole && code < kCodeRole + kChannels) {
    refreshRole(code - kCodeRole);
  } else if (code == kCodeChannelTexts) {
    for (int i = 0; i < kStripColumns; ++i) {
      selects_[i]->setText(channelName(i));
      labels_[kFirstLinkLabel + i]->setText(channelName(i));
      delayLabels_[i]->setText(qtText(sharedText(kTextDelayLabel, language)));
    }
  } else if (code == kCodeLockText) {
    const bool pressed = lock_->state() == ButtonState::kPressed;
    lock_->setText(qtText(sharedText(pressed ? kTextUnlock : kTextLock, language)));
  } else if (code == kCodeUnitTexts) {
    const QSignalBlocker quiet(unitList_);
    const int item = unitList_->curSel();
    unitList_->clear();
    for (int u = 0; u < kDelayUnitCount; ++u) {
      const QString text = qtText(sharedText(kUnitTexts[u], language));
      labels_[kFirstUnitLabel + u]->setText(text);
      unitList_->addItem(text);
    }
    unitList_->setCurrentIndex(std::max(item, 0));
    labels_[kLinkLeftRightLabel]->setText(qtText(sharedText(kTextLinkLeftRight, language)));
    labels_[kVolumeLabel]->setText(qtText(sharedText(kTextVolume, language)));
    labels_[kDelaySetLabel]->setText(qtText(sharedText(kTextDelaySet, language)));
    toggle3d_->setText(qtText(sharedText(kText3d, language)));
    toggleDbb_->setText(qtText(sharedText(kTextDbb, language)));
  }
}

void ChannelPanel::refreshPhaseText(int column) {
  const bool pressed = phases_[column]->state() == ButtonState::kPressed;
  phases_[column]->setText(qtText(sharedText(pressed ? kTextPhase180 : kTextPhase0, language_.get())));
}

// Every role lights its icons; the selector of the channel shows its text.
void ChannelPanel::refreshRole(int channel) {
  car_->light(litIcons(roleOfChannel_));
  if (visibleColumn(channel))
    roles_[channel]->setText(qtText(sharedText(roleText(roleOfChannel_[channel]), language_.get())));
  update();
}

// ---------------------------------------------------------------------------
// Edits

void ChannelPanel::sendEdit(int code) {
  sendMessage(parentWidget(), MSG_PANEL_EDIT, panelCode_, code);
}

void ChannelPanel::onGainBox(int column) {
  if (!visibleColumn(column)) return;
  gainFaders_[column]->setValue(gainBoxes_[column]->valueInDisplayUnits());
  sendEdit(kCodeGain + column);
  focusIndex_ = kFocusFirstGain + column;
}

void ChannelPanel::onGainFader(int column, qintptr position) {
  if (!visibleColumn(column)) return;
  gainBoxes_[column]->setValueFromNumber(static_cast<double>(position));
  sendEdit(kCodeGain + column);
}

void ChannelPanel::onPhase(int column) {
  if (!visibleColumn(column)) return;
  refreshPhaseText(column);
  sendEdit(kCodePhase + column);
  focusIndex_ = kCodePhase + column;
}

void ChannelPanel::onMute(int column) {
  if (!visibleColumn(column)) return;
  sendEdit(kCodeMute + column);
  focusIndex_ = kCodeMute + column;
}

void ChannelPanel::onDelayBox(int column) {
  if (!visibleColumn(column)) return;
  sendEdit(kCodeDelay + column);
  focusIndex_ = kFocusFirstDelay + column;
}

void ChannelPanel::onDelayChain() {
  for (int c = 0; c < kChannels; ++c)
    delayChainFlags_[c] = chains_[c]->state() == ButtonState::kPressed;
}

void ChannelPanel::chooseUnit(DelayUnit unit) {
  unit_ = unit;
  for (int u = 0; u < kDelayUnitCount; ++u)
    units_[u]->setState(kUnits[u] == unit ? ButtonState::kPressed : ButtonState::kReleased);
  for (int c = 0; c < kChannels; ++c) delayBoxes_[c]->setRules(delayEdit(unit));
}

void ChannelPanel::onLock() {
  const bool unlocked = lock_->state() == ButtonState::kPressed;
  for (ImageButton* r : roles_) r->setEnabled(unlocked);
  styleRoleSelectors();
  refreshTexts(kCodeLockText);
}

// ---------------------------------------------------------------------------
// Channel selection and link groups

void ChannelPanel::selectChannel(int channel) {
  if (!visibleColumn(channel)) return;
  const int group = groups_.group(channel);
  for (int c = 0; c < kStripColumns; ++c) {
    const bool selected = group < 1 ? c == channel : groups_.group(c) == group;
    selects_[c]->setState(selected ? ButtonState::kPressed : ButtonState::kReleased);
  }
  sendMessage(parentWidget(), MSG_EQ_SHOW_CHANNEL, 0, groups_.shownChannel(channel));
}

void ChannelPanel::onLink(int column) {
  if (!visibleColumn(column)) return;
  ImageButton* button = links_[column];
  if (button->state() == ButtonState::kPressed) {
    LinkEditor editor(groups_.groups(), column + 1, scale_.min, language_.get(), window());
    if (editor.exec() == QDialog::Accepted) {
      groups_.setGroups(editor.groups());
      selectChannel(column);
      sendMessage(parentWidget(), MSG_LINK_RESYNC, column, column);
    } else {
      button->setState(ButtonState::kReleased);
    }
    return;
  }
  // Released: the whole group is dissolved and its former head shown.
  const int former = groups_.dissolve(column);
  if (former > 0) postMessage(this, kChannelSelectId, former - 1, former - 1);
}

// ---------------------------------------------------------------------------
// Speaker roles

QMenu* ChannelPanel::openRoleMenu() const { return roleMenu_.data(); }

void ChannelPanel::onRoleSelector(int column) {
  if (!visibleColumn(column) || !roles_[column]->isEnabled()) return;
  menuChannel_ = column;
  focusIndex_ = kCodeRole + column;
  std::array<int, kChannels> roles{};
  std::copy_n(roleOfChannel_.begin(), kChannels, roles.begin());
  if (roleMenu_) roleMenu_->close();
  auto* menu = new RoleMenu(roleOfChannel_[column], unavailableRoles(roles, column), language_.get(), this);
  connect(menu, &RoleMenu::roleChosen, this, &ChannelPanel::onRoleChosen);
  roleMenu_ = menu;
  ImageButton* selector = roles_[column];
  menu->popup(selector->mapToGlobal(QPoint(0, selector->height())));
}

void ChannelPanel::onRoleChosen(int role) {
  if (!isSpeakerRole(role) || !visibleColumn(menuChannel_)) return;
  roleOfChannel_[menuChannel_] = role;
  sendEdit(kCodeRole + menuChannel_);
  refreshRole(menuChannel_);
}

// ---------------------------------------------------------------------------
// Keyboard

bool ChannelPanel::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::KeyPress) {
    switch (static_cast<QKeyEvent*>(e)->key()) {
      case Qt::Key_Tab:
      case Qt::Key_Right:
        moveFocus(+1);
        return true;
      case Qt::Key_Left:
      case Qt::Key_Backtab:
        moveFocus(-1);
        return true;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, e);
}

void ChannelPanel::moveFocus(int direction) {
  const auto enabled = [this](FocusTarget target, int channel) {
    if (target == FocusTarget::kGainBox) return gainBoxes_[channel]->isEnabled();
    if (target == FocusTarget::kDelayBox) return delayBoxes_[channel]->isEnabled();
    return true;
  };
  const FocusStep step = zr78::moveFocus(focusIndex_, direction, enabled);
  focusIndex_ = step.focusIndex;
  switch (step.target) {
    case FocusTarget::kMasterBox:
      masterBox_->setFocus(Qt::TabFocusReason);
      break;
    case FocusTarget::kGainBox:
      gainBoxes_[step.channel]->setFocus(Qt::TabFocusReason);
      break;
    case FocusTarget::kDelayBox:
      delayBoxes_[step.channel]->setFocus(Qt::TabFocusReason);
      break;
    case FocusTarget::kNone:
      break;
  }
  // The box's focus notification may have set the index; the move decides.
  focusIndex_ = step.focusIndex;
}

}  // namespace zr78
