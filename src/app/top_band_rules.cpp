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

constexpr std::array<std::pair<LinkStatusShown, TextId>, 3> kStatusTexts = {{
    {LinkStatusShown::Connected, kTextConnected},
    {LinkStatusShown::Connecting, kTextConnecting},
    {LinkStatusShown::Unconnected, kTextUnconnected},
}};

// Text entry of each top button; none: no text of its own.
constexpr std::array<std::optional<TextId>, 12> kButtonTexts = {std::nullopt,
                                                                std::nullopt,
                                                                std::nullopt,
                                                                kTextMem,
                                                                std::nullopt,
                                                                kTextSystem,
                                                                kTextMixer,
                                                                kTextDsp,
                                                                kTextTestSet,
                                                                kTextStartTest,
                                                                kTextStopTest,
                                                                std::nullopt};

}  // namespace

int32_t volumeWord(double db) {
  if (db == kVolumeMinDb) return kOffWord;
  return static_cast<int32_t>(db + kWordOffset) + kOffWord;
}

int volumeFromWord(int32_t word) {
  const int db = word % kOffWord - kWordOffset;
  return db < kVolumeMinDb ? kVolumeMinDb : db;
}

std::string volumeCaption(double db, Language language) {
  std::string caption(sharedText(kTextVolume, language));
  if (db == kVolumeMinDb) return caption + ":OFF";
  return caption + formatText(":%0.0f", db);
}

std::string linkStatusText(LinkStatusShown status, Language language) {
  for (const auto& [s, entry] : kStatusTexts)
    if (s == status) return std::string(sharedText(entry, language));
  return {};
}

LinkStatusShown linkStatusShown(LinkStatus status) {
  return status == LinkStatus::Connected ? LinkStatusShown::Connected
                                         : LinkStatusShown::Connecting;
}

std::string topButtonText(int button, Language language, bool deviceKindPressed) {
  if (button < 0 || button >= static_cast<int>(kButtonTexts.size())) return {};
  std::optional<TextId> entry = kButtonTexts[button];
  if (button == 7 && deviceKindPressed) entry = kTextAmplifier;
  return entry ? std::string(sharedText(*entry, language)) : std::string();
}

}  // namespace zr78
