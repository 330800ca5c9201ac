// Filter texts shared by the EQ and zr78ctl tests: the issue's example and a
// measurement program's whole file.
#pragma once

namespace zr78::test {

// The example from the issue: a Preamp, two peaking filters, a disabled one,
// a high-pass and an unused slot.
inline constexpr const char* kIssueExample =
    "Preamp: -4.5 dB\n"
    "Filter 1: ON PK Fc 63.5 Hz Gain -5.2 dB Q 4.10\n"
    "Filter 2: ON PK Fc 1250 Hz Gain 2.0 dB Q 1.41\n"
    "Filter 3: OFF PK Fc 8000 Hz Gain -3.0 dB Q 2.00\n"
    "Filter 4: ON HP Fc 80 Hz\n"
    "Filter 5: ON None\n";

// A measurement program's whole file: header lines, then ten peaking
// filters and the unused ones, CRLF line ends.
inline constexpr const char* kTenFilterFile =
    "Filter Settings file\r\n"
    "\r\n"
    "Room-EQ software V5.20\r\n"
    "Dated: 12-Mar-2024 18:02:11\r\n"
    "\r\n"
    "Notes: driver seat, 8 averages\r\n"
    "\r\n"
    "Equaliser: Generic\r\n"
    "Mar 12 18:02:11 2024\r\n"
    "Filter  1: ON  PK       Fc   38.90 Hz  Gain  -7.80 dB  Q  4.870\r\n"
    "Filter  2: ON  PK       Fc   63.80 Hz  Gain  -5.20 dB  Q  3.150\r\n"
    "Filter  3: ON  PK       Fc   87.00 Hz  Gain  -4.10 dB  Q  5.020\r\n"
    "Filter  4: ON  PK       Fc  124.5 Hz  Gain  -6.30 dB  Q  6.800\r\n"
    "Filter  5: ON  PK       Fc  182.0 Hz  Gain   3.20 dB  Q  2.400\r\n"
    "Filter  6: ON  PK       Fc  251.0 Hz  Gain  -3.50 dB  Q  4.100\r\n"
    "Filter  7: ON  PK       Fc  405.0 Hz  Gain  -2.80 dB  Q  1.900\r\n"
    "Filter  8: ON  PK       Fc  1020 Hz  Gain   2.10 dB  Q  1.200\r\n"
    "Filter  9: ON  PK       Fc  2480 Hz  Gain  -4.00 dB  Q  3.300\r\n"
    "Filter 10: ON  PK       Fc  5150 Hz  Gain  -3.20 dB  Q  2.700\r\n"
    "Filter 11: ON  None\r\n"
    "Filter 12: ON  None\r\n";

}  // namespace zr78::test
