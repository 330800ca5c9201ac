// Keyboard navigation of the channel strip. The strip keeps one focus
// index: 0 the (off-screen) master volume box, 1..8 the gain boxes, 13..20
// the delay boxes; a click on a phase, mute or role button leaves 25 + c,
// 37 + c or 49 + c there. Tab and the right arrow move forward, the left
// arrow backward. Data only, so it is testable without a window.
#pragma once

#include <functional>

namespace zr78 {

enum class FocusTarget { kNone, kMasterBox, kGainBox, kDelayBox };

struct FocusStep {
  int focusIndex = 0;                  // the index after the move
  FocusTarget target = FocusTarget::kNone;
  int channel = 0;                     // of a gain or delay box
  bool operator==(const FocusStep&) const = default;
};

inline constexpr int kFocusMaster = 0;
inline constexpr int kFocusFirstGain = 1;
inline constexpr int kFocusFirstDelay = 13;
inline constexpr int kFocusLast = 24;      // indexes above belong to buttons
inline constexpr int kFocusWrapTop = 63;   // a result this high starts again at 0

// Whether a box may take the focus.
using FocusEnabled = std::function<bool(FocusTarget, int channel)>;

// One move in `direction` (+1 or −1). An index left by a button click
// (outside 0..24) counts as the gain box of the button's channel first, so
// the next key leads to a neighbouring box instead of into a gap. After the
// eighth gain box the forward move leads to the first delay box, after the
// eighth delay box to the first gain box.
FocusStep moveFocus(int focusIndex, int direction, const FocusEnabled& enabled);

}  // namespace zr78
