// How the EQ panel's numeric fields show and read their values: whole-hertz
// frequencies, Q and attack steps, positions on the frequency grid. The panel
// fills its edit boxes with these; the edit box itself knows no parameter.
// Numbers are written with a decimal point whatever the process locale.
#pragma once

#include <string>
#include <string_view>

namespace zr78 {

// A band, high-pass or low-pass frequency field: whole hertz written with
// the field's format ("%0.0f", "%0.0fHz"); "OFF" below 20 Hz, which is the
// high-pass field's inactive 19 Hz.
std::string frequencyFieldText(int hz, std::string_view format);

// A Q field holds a position in Q_STEPS (kept inside the table): "%0.2f"
// below 10, "%0.1f" below 100, else "%0.0f". A typed Q selects qStepIndex.
double qStepValue(int position);
std::string qStepText(int position);

// An attack field holds a position in ATTACK_STEPS: "%0.1fms" below 1 ms,
// else "%0.0fms". A typed time selects attackStepIndex.
double attackStepValue(int position);
std::string attackStepText(int position);

// A field on the frequency grid holds a position 0..363: the grid from its
// second value on (19.7 .. 20600 Hz), 20600 repeated at 362 and 363.
// Below 19.7 Hz "OFF", below 100 "%0.1f", else "%0.0f"; a typed frequency
// selects its step among the first 363 positions.
constexpr int kGridFieldPositions = 364;
double gridFieldFrequency(int position);
std::string gridFieldText(int position);
int gridFieldPosition(double hz);

}  // namespace zr78
