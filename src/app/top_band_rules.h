// The rules behind the main window's top band that need no window: the
// master volume's word and caption, the link status texts and the labels of
// the navigation buttons.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "text/language.h"

namespace zr78 {

// Master volume: the slider runs −60 .. 0 dB; −60 is "off".
inline constexpr int kVolumeMinDb = -60;
inline constexpr int kVolumeMaxDb = 0;
inline constexpr int kFirstVolumeRegister = 12;
inline constexpr int kLastVolumeRegister = 19;

// 500 for −60 (off), otherwise trunc(v + 100) + 500.
int32_t volumeWord(double db);
// word mod 500 − 100, raised to −60 when below.
int volumeFromWord(int32_t word);
// "Volume" in the language, then ":OFF" at −60, else ":%0.0f" of the value.
std::string volumeCaption(double db, Language language);

// What the status button (top button 4) shows.
enum class LinkStatus { Connected, Connecting, Unconnected };
std::string linkStatusText(LinkStatus status, Language language);
// Which status a text shows, in any of the three languages; an empty text is
// "connecting"; a text that is none of them gives nothing.
std::optional<LinkStatus> linkStatusOfText(const std::string& text);
// MSG_DEVICE_NOTIFY code 4: value 0 is "connected", anything else "connecting".
inline LinkStatus linkStatusOfCode(int value) {
  return value == 0 ? LinkStatus::Connected : LinkStatus::Connecting;
}

// The label of top button j in the language; `deviceKindPressed` selects
// "Amplifier" over "DSP" for button 7. Empty for buttons without text.
std::string topButtonText(int button, Language language, bool deviceKindPressed);

// Register 1249 selects the label of button 7 (1: "Amplifier").
inline constexpr int kDeviceKindRegister = 1249;

}  // namespace zr78
