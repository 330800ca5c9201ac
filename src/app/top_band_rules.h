// The rules behind the main window's top band that need no window: the
// master volume's word and caption, the link status texts and the labels of
// the navigation buttons.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "registers/register_map.h"
#include "text/language.h"

namespace zr78 {

// Master volume: the slider runs −60 .. 0 dB; −60 is "off".
inline constexpr int kVolumeMinDb = -60;
inline constexpr int kVolumeMaxDb = 0;

// 500 for −60 (off), otherwise trunc(v + 100) + 500.
int32_t volumeWord(double db);
// word mod 500 − 100, raised to −60 when below.
int volumeFromWord(int32_t word);
// "Volume" in the language, then ":OFF" at −60, else ":%0.0f" of the value.
std::string volumeCaption(double db, Language language);

// What the status button (top button 4) shows: the link's status, or
// "unconnected" while the link is paused.
enum class LinkStatusShown { Connected, Connecting, Unconnected };
std::string linkStatusText(LinkStatusShown status, Language language);
enum class LinkStatus : int;  // sync/link_events.h
// "connected" for Connected, "connecting" for every other status.
LinkStatusShown linkStatusShown(LinkStatus status);

// The label of top button j in the language; `deviceKindPressed` selects
// "Amplifier" over "DSP" for button 7. Empty for buttons without text.
std::string topButtonText(int button, Language language, bool deviceKindPressed);

}  // namespace zr78
