#include "app/channel_focus.h"

namespace zr78 {

namespace {

constexpr int kChannels = 8;
constexpr int kFirstButtonIndex = 25;  // phase 25.., mute 37.., role 49..
constexpr int kButtonGroup = 12;       // each button group has twelve columns
constexpr int kLastButtonIndex = kFirstButtonIndex + 3 * kButtonGroup - 1;

int mended(int index) {
  if (index >= kFocusMaster && index <= kFocusLast) return index;
  if (index >= kFirstButtonIndex && index <= kLastButtonIndex) {
    const int channel = (index - kFirstButtonIndex) % kButtonGroup;
    if (channel < kChannels) return kFocusFirstGain + channel;
  }
  return kFocusMaster;
}

}  // namespace

FocusStep moveFocus(int focusIndex, int direction, const FocusEnabled& enabled) {
  const auto allowed = [&](FocusTarget t, int channel) { return !enabled || enabled(t, channel); };
  int index = mended(focusIndex);
  // Every pass moves one place; twice round the 25 places ends any search.
  for (int pass = 0; pass < 2 * (kFocusLast + 1); ++pass) {
    index += direction;
    if (index < kFocusMaster) return {kFocusLast, FocusTarget::kNone, 0};
    if (index > kFocusLast) return {index >= kFocusWrapTop ? kFocusMaster : index, FocusTarget::kNone, 0};
    if (index == kFocusMaster) return {index, FocusTarget::kMasterBox, 0};
    const int lastGain = kFocusFirstGain + kChannels - 1;
    const int lastDelay = kFocusFirstDelay + kChannels - 1;
    if (index <= lastGain) {
      const int channel = index - kFocusFirstGain;
      if (allowed(FocusTarget::kGainBox, channel)) return {index, FocusTarget::kGainBox, channel};
      continue;
    }
    if (index < kFocusFirstDelay) {  // the gap after the gain row
      if (direction < 0) {
        index = lastGain;
        if (allowed(FocusTarget::kGainBox, kChannels - 1))
          return {index, FocusTarget::kGainBox, kChannels - 1};
      } else {
        index = kFocusFirstDelay - 1;  // the next pass reaches the first delay box
      }
      continue;
    }
    if (index <= lastDelay) {
      const int channel = index - kFocusFirstDelay;
      if (allowed(FocusTarget::kDelayBox, channel)) return {index, FocusTarget::kDelayBox, channel};
      continue;
    }
    // The gap after the delay row.
    if (direction < 0) {
      index = lastDelay;
      if (allowed(FocusTarget::kDelayBox, kChannels - 1))
        return {index, FocusTarget::kDelayBox, kChannels - 1};
    } else {
      index = kFocusFirstGain - 1;  // the next pass reaches the first gain box
    }
  }
  return {index, FocusTarget::kNone, 0};
}

}  // namespace zr78
