// Channel link groups: an edit on one member is copied to the others.
//
// linkGroup holds one number per output channel: 0 = not linked, g >= 1 =
// member of the group whose head is channel g − 1. Two channels are linked
// exactly when they hold the same non-zero number. Groups live only in the
// program (no register, not in files); the application owns one LinkGroups.
#pragma once

#include <array>
#include <functional>

#include "eq/eq_model.h"

namespace zr78 {

class RegisterTable;

// Told the address of every register a propagation wrote (the main window
// posts MSG_DEVICE_NOTIFY code 0 for it).
using RegisterNotify = std::function<void(int address)>;

class LinkGroups {
 public:
  // 0 for a channel above 7.
  int group(int channel) const { return isChannel(channel) ? groups_[channel] : 0; }
  bool setGroup(int channel, int group);
  const std::array<int, kChannelCount>& groups() const { return groups_; }
  void setGroups(const std::array<int, kChannelCount>& groups) { groups_ = groups; }
  bool linked(int a, int b) const;
  // Releasing a link button: every channel holding channel's number leaves;
  // returns that number (0 when the channel was not linked).
  int dissolve(int channel);
  // The channel the EQ panel shows when `channel` is selected: the group's
  // head, or the channel itself when unlinked.
  int shownChannel(int channel) const;

 private:
  std::array<int, kChannelCount> groups_{};
};

// Copy LinkMap slot `slot` of channel `channel` to the other members of its
// group. Nothing happens for the mute slot, while dirty marking is off, or for
// an unlinked channel. The gain slot copies the gain part only and is written
// even when unchanged; any other slot is written where it differs. Each write
// is marked dirty and notified.
void propagate(RegisterTable& table, const LinkGroups& groups, int channel, int slot,
               const RegisterNotify& notify);

// After a group is formed: propagate every slot but the delay (132).
void resync(RegisterTable& table, const LinkGroups& groups, int channel,
            const RegisterNotify& notify);

}  // namespace zr78
