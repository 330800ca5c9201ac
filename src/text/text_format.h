// Fills the one number placeholder of a table text ("Read Device Data:%5.0f
// %%", "Mode%d") with the locale-free printer of number_text.h. The text is
// checked first: it must hold exactly one conversion of the kinds the text
// tables use ("%d" for an int, "%5.0f" or "%0.0f" for a double) plus any
// number of "%%". Anything else -- a user's text, a second placeholder, a
// stray '%' -- gives an empty string, so a text never becomes a format the
// arguments do not match.
#pragma once

#include <string>
#include <string_view>

namespace zr78 {

std::string formatText(std::string_view format, int value);
std::string formatText(std::string_view format, double value);

// The conversion kinds formatText accepts, as they appear in a text.
inline constexpr std::string_view kIntConversion = "%d";
inline constexpr std::string_view kDoubleConversions[] = {"%5.0f", "%0.0f"};

}  // namespace zr78
