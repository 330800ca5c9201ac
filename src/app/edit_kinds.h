// The rules the panels fill their numeric edits with, one kind of field
// each, made from the models' own rules (eq_field_text.h, gain_word.h,
// delay_word.h) and the locale-free number text. Each comes with the range
// its panel uses; a caller may change the range of any but the balance.
#pragma once

#include <string>

#include "channels/delay_word.h"
#include "controls/edit_rules.h"

namespace zr78 {

// Band frequency ("%0.0f", 20..20000) and high-/low-pass frequency
// ("%0.0fHz", 19..20000): whole hertz, "OFF" below 20.
EditRules frequencyEdit(std::string format, int minimum, int maximum);
// Band Q: a position 0..101 in the Q steps.
EditRules qEdit();
// Band gain in tenths of a dB, −200..200, "%0.1f".
EditRules bandGainEdit();
// Limiter threshold in tenths of a dBu, −300..60, "%0.1f dBu".
EditRules thresholdEdit();
// Limiter attack: a position 0..107 in the attack steps.
EditRules attackEdit();
// A position 0..363 on the frequency grid.
EditRules gridFrequencyEdit();

// Channel gain −60..0 dB, "OFF" at −60.
EditRules channelGainEdit();
// Channel delay in samples at 48 kHz, 0..960, shown and typed in a unit;
// numbers set by the program are milliseconds in every unit.
EditRules delayEdit(DelayUnit unit);

// Left/right balance around maximum / 2: "Center", "L3", "R3"; a typed text
// with "R" or "L" counts from the middle.
EditRules balanceEdit(int minimum, int maximum);
// A position 0..80 in a table of 62.5 ms steps (0 .. 5000 ms), "%0.0fms".
EditRules timeStepEdit();

}  // namespace zr78
