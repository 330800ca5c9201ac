// The device modes page's rules that need no window: the slot items, the
// slot shown first, which typed names can be stored and how a name received
// from the device is shown.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "link/link_state.h"

namespace zr78 {

// How often the page looks for a name that arrived from the device.
inline constexpr int kModeNameTimerMs = 500;
// Characters of the name field a store takes; the device keeps 20 of them.
inline constexpr int kTypedNameLimit = 24;
inline constexpr int kShownNameLimit = 20;

// "%d-USER" with the mode 1..6.
std::string modeSlotText(int mode);
// The slot selector's item at page creation: the current mode − 1; item 0
// when the register holds no mode 1..6.
int initialSlotItem(int32_t currentMode);

// The name a store sends, from the name field's UTF-16 text: its first 24
// characters padded with spaces to 25, as Latin-1 bytes. Nothing when one of
// them lies outside 0x20..0x80 (the device's names are plain ASCII).
std::optional<std::string> storableModeName(std::u16string_view typed);

// The name field's text for the mode name buffer: its first 20 units up to a
// 0, without trailing units of 0x20 and below (the first unit always stays).
std::u16string shownModeName(const ModeName& name);

}  // namespace zr78
