// The texts the response graph draws: handle names, the numeric label of a
// point and the legend's channel names. Fixed texts (not language entries),
// written with a decimal point whatever the process locale.
#pragma once

#include <string>

namespace zr78 {

// "H" (high-pass), "L" (low-pass), "1" .. "31" (bands) for points 0..32.
std::string handleText(int point);

// A band: "F:%0.0f Q:%0.2f G:%0.1f", the frequency with "%0.1f" below 100 Hz
// when frequencies are not whole hertz.
std::string bandLabelText(double frequencyHz, double q, double gainDb, bool integerMode);
// A crossover: "F:OFF" at or above 20600 Hz and below 19.7 Hz, else
// "F:%0.0f" ("F:%0.1f" below 100 Hz when frequencies are not whole hertz).
std::string crossoverLabelText(double frequencyHz, bool integerMode);

// "CH1" .. for channel 0 ..
std::string legendText(int channel);

}  // namespace zr78
