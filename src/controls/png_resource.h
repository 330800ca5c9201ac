// The program's numbered PNG artwork, compiled in through the Qt resource
// system as ":/png/<number>.png". Artwork may be drawn at a higher pixel
// density for crisp scaling; it then carries its density and, for button
// strips, its frame count as PNG text keys. All artwork geometry is in
// logical (design) pixels, whatever the density.
#pragma once

#include <QImage>
#include <QRectF>

class QPainter;

namespace zr78 {

// A null image when the resource does not exist; callers draw without it.
QImage loadPngResource(int id);

// Frames the strip declares ("zr78-frames"), or 0 when it declares none.
int declaredFrameCount(const QImage& image);

// Draws the part of the image given in logical pixels, stretched to target.
void drawSprite(QPainter& painter, const QRectF& target, const QImage& image,
                const QRectF& logicalSource);

// PNG text keys written by the artwork generator.
inline constexpr const char* PNG_KEY_DENSITY = "zr78-density";
inline constexpr const char* PNG_KEY_FRAMES = "zr78-frames";

// Resource numbers and their roles (sizes in design pixels, one frame).
namespace png {
// The dialogs' message box icons (40 × 40) and the program icon (64 × 64).
inline constexpr int ICON_QUESTION = 124;
inline constexpr int ICON_WARNING = 125;
inline constexpr int ICON_INFORMATION = 126;
inline constexpr int ICON_CRITICAL = 127;
inline constexpr int PROGRAM_ICON = 128;
inline constexpr int PROGRESS_BACKGROUND = 130;  // 541 × 161
inline constexpr int PROGRESS_BAR = 131;         // 541 × 161, bar filled
inline constexpr int MAIN_BACKGROUND = 132;      // 1278 × 718
inline constexpr int CAR_CENTRE = 136;           // 33 × 23, icons 10, 11
inline constexpr int CAR_LEFT = 137;             // 23 × 33, icons 0, 1, 2, 6, 7
inline constexpr int CAR_RIGHT = 138;            // 23 × 33, icons 3, 4, 5, 8, 9
inline constexpr int CAR_SUB = 139;              // 33 × 23, icons 12, 13
inline constexpr int CHANNEL_SELECT = 141;       // 92 × 20, also the lock button
inline constexpr int RADIO = 143;                // 16 × 16, delay unit radio
inline constexpr int ROLE_SELECTOR = 144;        // 92 × 19, 2 frames, hover frame 1
inline constexpr int FADER_EQ = 146;             // fader skin 0
inline constexpr int BAND_SWITCH = 147;          // 14 × 14, band on/off
inline constexpr int COMMAND_BUTTON = 148;       // 48 × 29, reset / bypass / mode
inline constexpr int LINK = 150;                 // 16 × 16
inline constexpr int MUTE = 151;                 // 39 × 22
inline constexpr int PHASE = 152;                // 39 × 22
inline constexpr int TOP_BUTTON = 153;           // 83 × 25
inline constexpr int WINDOW_CLOSE = 154;         // 47 × 20
inline constexpr int WINDOW_MAXIMISE = 155;      // 28 × 20
inline constexpr int WINDOW_MINIMISE = 156;      // 28 × 20
inline constexpr int FADER_CHANNEL = 159;        // fader skin 3
inline constexpr int FADER_SKIN_1 = 165;
inline constexpr int FADER_SKIN_2 = 166;
inline constexpr int FADER_SKIN_4 = 167;
inline constexpr int ROUTE_SWITCH = 172;         // 34 × 17
inline constexpr int FADER_ROUTE = 173;          // fader skin 5 (horizontal)
inline constexpr int SLIDER_SHEET = 174;         // level slider sprite sheet
inline constexpr int ROUTE_CELL = 175;           // 108 × 55, behind every routing cell
inline constexpr int ROUTE_COLUMN = 179;         // 108 × 40, under every output column
inline constexpr int ROUTE_ROW = 180;            // 22 × 55, every input row
inline constexpr int MEM_BUTTON = 182;           // 72 × 24
inline constexpr int DELAY_CHAIN = 186;          // 16 × 16
inline constexpr int COMBO_LAYOUT_0 = 190;       // combo skins, layouts 0..4: 190 + layout
}  // namespace png

// The fader skin (0..5) each fader resource is drawn for.
int faderSkinOfResource(int id);

}  // namespace zr78
