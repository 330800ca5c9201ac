#include "channels/link_groups.h"

#include "channels/gain_word.h"
#include "registers/register_table.h"

namespace zr78 {

bool LinkGroups::setGroup(int channel, int group) {
  if (!isChannel(channel) || group < 0 || group > kChannelCount) return false;
  groups_[channel] = group;
  return true;
}

bool LinkGroups::linked(int a, int b) const {
  return isChannel(a) && isChannel(b) && groups_[a] >= 1 && groups_[a] == groups_[b];
}

int LinkGroups::dissolve(int channel) {
  const int former = group(channel);
  if (former < 1) {
    if (isChannel(channel)) groups_[channel] = 0;
    return 0;
  }
  for (int& g : groups_)
    if (g == former) g = 0;
  return former;
}

int LinkGroups::shownChannel(int channel) const {
  const int g = group(channel);
  return g >= 1 ? g - 1 : channel;
}

void propagate(RegisterTable& table, const LinkGroups& groups, int channel, int slot,
               const RegisterNotify& notify) {
  if (slot == kSlotChannelMute || !table.dirtyMarking() || groups.group(channel) < 1) return;
  const auto source = linkSlotAddress(channel, slot);
  if (!source) return;
  const int32_t sourceValue = table.getRegister(*source);
  for (int d = 0; d < kChannelCount; ++d) {
    if (d == channel || !groups.linked(channel, d)) continue;
    const int destination = *linkSlotAddress(d, slot);
    const int32_t current = table.getRegister(destination);
    int32_t value = sourceValue;
    if (slot == kSlotChannelGain) {
      value = linkedGainWord(sourceValue, current);  // keeps the member's phase
    } else if (current == sourceValue) {
      continue;
    }
    table.setRegister(destination, value);
    if (notify) notify(destination);
  }
}

void resync(RegisterTable& table, const LinkGroups& groups, int channel,
            const RegisterNotify& notify) {
  for (int slot = 0; slot < kLinkSlotCount; ++slot)
    if (slot != kSlotChannelDelay) propagate(table, groups, channel, slot, notify);
}

}  // namespace zr78
