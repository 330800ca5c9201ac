// The filter text that room-EQ measurement software writes and PC equalisers
// read: one parametric filter per line, for example
//
//   Preamp: -4.5 dB
//   Filter 1: ON PK Fc 63.5 Hz Gain -5.2 dB Q 4.10
//   Filter 2: OFF PK Fc 8000 Hz Gain -3.0 dB Q 2.00
//   Filter 3: ON HP Fc 80 Hz
//   Filter 4: ON None
//
// Read: ON/OFF; PK (also PEQ, Modal); HP/LP (12 dB/Oct Butterworth) and
// HPQ/LPQ with Q 0.707; None; the fields Fc (Hz or kHz), Gain (dB), Q or
// "BW Oct" (converted to Q); numbers with '.' decimals, spaces optional
// ("Fc 63.5Hz"). Words are read in any letter case. Lines that are neither
// a filter nor "Preamp:" are headers or comments and are ignored.
//
// Refused, each with its line number and a reason: shelves, all-pass, notch,
// band-pass and unknown types; unreadable or missing numbers; more than 31
// enabled peaking filters; a second enabled high-pass or low-pass, a second
// Preamp; lines of a PC equaliser's configuration that change the sound in
// ways a filter list cannot say (another channel, an included file, a
// graphic EQ ...); and a text without a single filter line (a file of
// another kind must not flatten a channel). A disabled filter is never
// refused: it asks for nothing.
//
// UTF-8 (with or without BOM), UTF-16 LE/BE (with BOM, or recognised by its
// zero bytes) and Latin-1 read the same; lines end in LF, CRLF or CR.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zr78 {

enum class FilterKind { Peaking, HighPass, LowPass, None };

// The Q of a Butterworth second-order section, the only one the crossovers
// can take for a "HPQ"/"LPQ" filter (within kButterworthQTolerance).
constexpr double kButterworthQ = 0.70710678118654752;
constexpr double kButterworthQTolerance = 0.01;
constexpr int kMaxPeakingFilters = 31;  // one per band

struct TextFilter {
  int line = 0;             // 1-based line of the text
  int number = 0;           // N of "Filter N:"; 0 when the line gives none
  std::string text;         // what follows "Filter N:", blanks collapsed
  bool enabled = false;     // ON
  bool readable = false;    // false: a disabled line whose fields could not be read
  FilterKind kind = FilterKind::None;
  double frequencyHz = 0;
  double gainDb = 0;
  double q = 0;             // the filter's quality factor (from BW Oct when given so)
  std::optional<double> bandwidthOct;  // as written
};

struct FilterText {
  std::optional<double> preampDb;
  int preampLine = 0;
  std::vector<TextFilter> filters;    // every filter line, in text order
  std::vector<std::string> comments;  // written as "# ..." lines before the filters
};

struct FilterTextError {
  int line = 0;  // 0: the text as a whole
  std::string reason;
};

struct FilterTextParse {
  FilterText text;
  std::vector<FilterTextError> errors;  // empty: the text can be used
  bool ok() const { return errors.empty(); }
};

// The text as UTF-8, whatever encoding of those above it came in; bytes that
// decode to nothing become U+FFFD.
std::string filterTextAsUtf8(std::string_view bytes);

FilterTextParse parseFilterText(std::string_view bytes);

// "line 4: shelf filters cannot be set ..." per error, one per line.
std::string filterTextErrorsText(const std::vector<FilterTextError>& errors);

// Q of a bandwidth in octaves: sqrt(2^N) / (2^N - 1).
double qOfBandwidth(double octaves);

// The text again, one line per filter ("Filter N: ON PK Fc 63.5 Hz Gain -5.2 dB
// Q 4.10"), LF line ends; numbers with a decimal point in every locale and
// with as few decimals as hold the value (Fc up to 2, Gain 1..2, Q 2..5).
std::string writeFilterText(const FilterText& text);

}  // namespace zr78
