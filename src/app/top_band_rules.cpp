#include "app/top_band_rules.h"

#include <array>

#include "sync/link_events.h"
#include "text/language.h"
#include "text/shared_texts.h"
#include "text/text_format.h"

namespace zr78 {

namespace {

constexpr int kOffWord = 500;
constexpr int kWordOffset = 100;

constexpr std::array<std::pair<LinkStatusShown, int>, 3> kStatusTexts = {{
    {LinkStatusShown::Connected, kTextConnected},
    {LinkStatusShown::Connecting, kTextConnecting},
    {LinkStatusShown::Unconnected, kTextUnconnected},
}};

// Text entry of each top button; -1: no text of its own.
constexpr std::array<int, 12> kButtonTexts = {-1,
                                              -1,
                                              -1,
                                              kTextMem,
                                              -1,
                                              kTextSystem,
                                              kTextMixer,
                                              kTextDsp,
                                              kTextTestSet,
                                              kTextStartTest,
                                              kTextStopTest,
                                              -1};

}  // namespace

int32_t volumeWord(double db) {
  if (db == kVolumeMinDb) return kOffWord;
  return static_cast<int32_t>(db + kWordOffset) + kOffWord;
}

int volumeFromWord(int32_t word) {
  const int db = word % kOffWord - kWordOffset;
  return db < kVolumeMinDb ? kVolumeMinDb : db;
}

std::string volumeCaption(double db, int language) {
  std::string caption(Text(kTextVolume, language));
  if (db == kVolumeMinDb) return caption + ":OFF";
  return caption + formatText(":%0.0f", db);
}

std::string linkStatusText(LinkStatusShown status, int language) {
  for (const auto& [s, entry] : kStatusTexts)
    if (s == status) return std::string(Text(entry, language));
  return {};
}

LinkStatusShown linkStatusShown(LinkStatus status) {
  return status == LinkStatus::Connected ? LinkStatusShown::Connected
                                         : LinkStatusShown::Connecting;
}

std::string topButtonText(int button, int language, bool deviceKindPressed) {
  if (button < 0 || button >= static_cast<int>(kButtonTexts.size())) return {};
  int entry = kButtonTexts[button];
  if (button == 7 && deviceKindPressed) entry = kTextAmplifier;
  return entry < 0 ? std::string() : std::string(Text(entry, language));
}

}  // namespace zr78
