// The layout names Windows font families; they map to installed families
// with CJK coverage here. A family that is neither mapped nor installed
// falls back to the generic sans-serif family.
#pragma once

#include <QFont>
#include <QString>

namespace zr78 {

// The family the system resolves the generic sans-serif name to.
QString genericSansFamily();

// The installed family used for a family name of the layout.
QString mappedFontFamily(const QString& family);

// A font of the family at a pixel size (fractional sizes kept), with the
// style bits of the drawing library: 1 bold, 2 italic, 4 underline,
// 8 strike-out. "Arial Bold" and similar names imply bold.
QFont makeFont(const QString& family, double pixelSize, int style = 0);

// The same, sized by the height of a text line (ascent + descent), as the
// combo box's font heights are given.
QFont makeFontForCellHeight(const QString& family, double cellHeight, int style = 0);

inline constexpr int FONT_BOLD = 1;
inline constexpr int FONT_ITALIC = 2;
inline constexpr int FONT_UNDERLINE = 4;
inline constexpr int FONT_STRIKEOUT = 8;

}  // namespace zr78
