// Speaker roles (register 50 + channel, 0..24): the loudspeaker a channel
// drives, its crossover preset, the car-diagram icons it lights and the roles
// it excludes on the other channels. Roles are numbers here; their texts live
// in the language tables (role r is the role menu's command 11024 + r).
#pragma once

#include <array>
#include <cstdint>

#include "channels/link_groups.h"
#include "registers/register_map.h"

namespace zr78 {

class RegisterTable;

constexpr int kSpeakerRoleCount = 25;
constexpr int kNullRole = 0;
constexpr int kCarIconCount = 14;
constexpr int kFirstRoleMenuCommand = 11024;
// A role preset always sets Butterworth "18dB/Oct" on both sides.
constexpr int32_t kRolePresetHighPassCode = 14;
constexpr int32_t kRolePresetLowPassCode = 15;

struct RoleCrossoverPreset {
  int highPassHz;
  int lowPassHz;
};

// Indexed by role; 10 Hz high-pass and 20600 Hz low-pass are the inactive
// positions.
extern const std::array<RoleCrossoverPreset, kSpeakerRoleCount> ROLE_CROSSOVER_PRESETS;

inline bool isSpeakerRole(int role) { return role >= 0 && role < kSpeakerRoleCount; }

// Bit i set: car-diagram icon i (0..13) is lit by the role. 0 for no role.
uint16_t roleIcons(int role);
// Icons lit by every role of a strip (roles outside 0..24 light nothing).
template <size_t N>
uint16_t litIcons(const std::array<int, N>& roles) {
  uint16_t icons = 0;
  for (int r : roles) icons |= roleIcons(r);
  return icons;
}

// Bit r set: role r cannot be chosen for `channel` because another channel
// holds it or a role that excludes it. Role 0 is always available.
uint32_t unavailableRoles(const std::array<int, kChannelCount>& roleOfChannel, int channel);

// The main window's role change: when the role differs from register 50 + c,
// write the preset's frequencies (low-pass, then high-pass) and codes (15
// low-pass, 14 high-pass), notifying high-pass then low-pass frequency and
// low-pass then high-pass code; then write the role register. Not
// propagated to linked channels. False for a channel above 7 or a role
// outside 0..24 (nothing written).
bool changeSpeakerRole(RegisterTable& table, int channel, int role, const RegisterNotify& notify);

}  // namespace zr78
