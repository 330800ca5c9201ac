// The amplifier's input source (register 1234) and the main window's input
// selector: items 0 "BT" (word 2), 1 "hi level" (3), 2 "OPT" (5), 3 "USB" (7,
// only when the device reports USB audio). Words 1, 4 and 6 show no item; any
// word outside 1..7 is treated as 3.
#pragma once

#include <cstdint>
#include <optional>

#include "channels/link_groups.h"
#include "registers/register_map.h"

namespace zr78 {

class RegisterTable;

constexpr int32_t kUsbAvailableBit = 0x20;
constexpr int kInputSelectorItemCount = 4;
constexpr int kUsbItem = 3;
// After a source change the "Mixer" button stays hidden this long; when the
// timer ends the matrix is reread and the button shown after a short wait.
constexpr int kMixerHiddenMs = 3500;
constexpr int kMixerShowDelayMs = 150;

struct InputSourceView {
  std::optional<int> item;          // none selected for words 1, 4 and 6
  bool replaceWithHiLevel = false;  // word outside 1..7: the table must hold 3
};

// What the selector shows for a word.
InputSourceView inputSourceView(int32_t word);
// apply: read register 1234, store 3 there without marking when the word is
// outside 1..7, and return the item to select.
std::optional<int> applyInputSource(RegisterTable& table);

// Word the selector writes for an item; empty for unknown items and for USB
// when the configuration word lacks kUsbAvailableBit.
std::optional<int32_t> inputSourceWord(int item, int32_t configurationWord);

struct InputSourceChange {
  bool written = false;   // register 1234 received the item's word
  bool noUsb = false;     // show "No USB connection!"; 1234 was notified
  bool hideMixer = true;  // hide "Mixer" and start the kMixerHiddenMs timer
};

// A change of the selector: reread the routing registers 1614..1677, then
// write the item's word with setRegister, or refuse USB (notify 1234 so the
// selector goes back to the current word). The caller hides the "Mixer"
// button, starts the timer and shows the refusal message.
InputSourceChange changeInputSource(RegisterTable& table, int item, const RegisterNotify& notify);

// The timer's end: reread the routing registers again.
void mixerTimerExpired(RegisterTable& table);

}  // namespace zr78
