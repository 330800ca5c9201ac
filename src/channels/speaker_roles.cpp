#include "channels/speaker_roles.h"

#include <initializer_list>

#include "eq/eq_model.h"
#include "registers/register_table.h"

namespace zr78 {

namespace {

constexpr uint32_t bits(std::initializer_list<int> positions) {
  uint32_t mask = 0;
  for (int p : positions) mask |= 1u << p;
  return mask;
}

struct RoleRow {
  uint16_t icons;
  uint32_t excludes;  // roles unavailable elsewhere while this role is held
};

// Icons: 0..2 front-left tweeter, midrange, woofer; 3..5 front-right; 6, 7
// rear-left tweeter, woofer; 8, 9 rear-right; 10, 11 centre; 12, 13 subs.
const std::array<RoleRow, kSpeakerRoleCount> kRoles = {{
    {0, 0},                                          // 0 Null
    {bits({0}), bits({1, 4, 6})},                    // 1 FL tweeter
    {bits({1}), bits({2, 4, 5, 6})},                 // 2 FL midrange
    {bits({2}), bits({3, 5, 6})},                    // 3 FL woofer
    {bits({0, 1}), bits({4, 1, 2, 6})},              // 4 FL midrange-tweeter
    {bits({1, 2}), bits({5, 2, 3, 6})},              // 5 FL midrange-woofer
    {bits({0, 1, 2}), bits({1, 2, 3, 4, 5, 6})},     // 6 FL full
    {bits({3}), bits({7, 10, 12})},                  // 7 FR tweeter
    {bits({4}), bits({8, 10, 11, 12})},              // 8 FR midrange
    {bits({5}), bits({9, 11, 12})},                  // 9 FR woofer
    {bits({3, 4}), bits({10, 7, 8, 12})},            // 10 FR midrange-tweeter
    {bits({4, 5}), bits({11, 8, 9, 12})},            // 11 FR midrange-woofer
    {bits({3, 4, 5}), bits({7, 8, 9, 10, 11, 12})},  // 12 FR full
    {bits({6}), bits({13, 15})},                     // 13 RL tweeter
    {bits({7}), bits({14, 15})},                     // 14 RL woofer
    {bits({6, 7}), bits({13, 14, 15})},              // 15 RL full
    {bits({8}), bits({16, 18})},                     // 16 RR tweeter
    {bits({9}), bits({17, 18})},                     // 17 RR woofer
    {bits({8, 9}), bits({16, 17, 18})},              // 18 RR full
    {bits({10}), bits({19, 21})},                    // 19 centre tweeter
    {bits({11}), bits({20, 21})},                    // 20 centre woofer
    {bits({10, 11}), bits({19, 20, 21})},            // 21 centre full
    {bits({12}), bits({22, 24})},                    // 22 left sub
    {bits({13}), bits({23, 24})},                    // 23 right sub
    {bits({12, 13}), bits({22, 23, 24})},            // 24 subwoofer
}};

}  // namespace

const std::array<RoleCrossoverPreset, kSpeakerRoleCount> ROLE_CROSSOVER_PRESETS = {{
    {10, 20600}, {4000, 20600}, {315, 4000},   {37, 400},     {315, 5040},
    {40, 500},   {10, 20600},   {4000, 20600}, {315, 4000},   {37, 400},
    {315, 5040}, {40, 500},     {10, 20600},   {4000, 20600}, {37, 400},
    {10, 20600}, {4000, 20600}, {37, 400},     {10, 20600},   {4000, 20600},
    {37, 400},   {315, 1500},   {37, 315},     {37, 315},     {37, 315},
}};

uint16_t roleIcons(int role) { return isSpeakerRole(role) ? kRoles[role].icons : 0; }

uint32_t unavailableRoles(const std::array<int, kChannelCount>& roleOfChannel, int channel) {
  uint32_t unavailable = 0;
  for (int d = 0; d < kChannelCount; ++d)
    if (d != channel && isSpeakerRole(roleOfChannel[d]))
      unavailable |= kRoles[roleOfChannel[d]].excludes;
  return unavailable & ~(1u << kNullRole);
}

bool changeSpeakerRole(RegisterTable& table, int channel, int role, const RegisterNotify& notify) {
  if (!isChannel(channel) || !isSpeakerRole(role)) return false;
  const int roleRegister = speakerRoleRegister(channel);
  if (table.getRegister(roleRegister) != role) {
    using namespace EqParamIndex;
    const int highPassFrequency = *eqRegisterAddress(channel, kHighPassFrequency);
    const int lowPassFrequency = *eqRegisterAddress(channel, kLowPassFrequency);
    const int highPassCode = *eqRegisterAddress(channel, kHighPassCode);
    const int lowPassCode = *eqRegisterAddress(channel, kLowPassCode);
    const RoleCrossoverPreset& preset = ROLE_CROSSOVER_PRESETS[role];
    const auto tell = [&](int address) {
      if (notify) notify(address);
    };
    table.setRegister(lowPassFrequency, encodeFrequency(preset.lowPassHz));
    table.setRegister(highPassFrequency, encodeFrequency(preset.highPassHz));
    tell(highPassFrequency);
    tell(lowPassFrequency);
    table.setRegister(lowPassCode, kRolePresetLowPassCode);
    table.setRegister(highPassCode, kRolePresetHighPassCode);
    tell(lowPassCode);
    tell(highPassCode);
  }
  table.setRegister(roleRegister, role);
  return true;
}

}  // namespace zr78
