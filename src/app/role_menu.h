// The speaker-role menu of a channel: "Null", then "Front" › "Left" /
// "Right", "Rear" › "Left" / "Right", "Center" and "Subwoofer" with their
// loudspeakers. Command 11024 + r chooses role r; the channel's current role
// is checked and every role another channel's role excludes is greyed.
// It deletes itself once closed.
#pragma once

#include <QMenu>
#include <array>
#include <cstdint>

#include "channels/speaker_roles.h"
#include "text/text_entry.h"

namespace zr78 {

class RoleMenu : public QMenu {
  Q_OBJECT

 public:
  // `unavailable`: bit r set for every role that cannot be chosen.
  RoleMenu(int currentRole, uint32_t unavailable, Language language, QWidget* parent);

  // The item of role r (0..24) and the command it carries (11024 + r).
  QAction* roleAction(int role) const;
  static int commandOf(const QAction* action);

 signals:
  void roleChosen(int role);

 private:
  QAction* addRole(QMenu* menu, int role, int textEntry);
  QMenu* addSubmenu(QMenu* menu, int textEntry);

  Language language_;
  int current_;
  uint32_t unavailable_;
  std::array<QAction*, kSpeakerRoleCount> actions_{};
};

}  // namespace zr78
