#include "eq/eq_param_lookup.h"

#include <array>

#include "eq/eq_model.h"
#include "registers/register_map.h"

namespace zr78 {

namespace {

// One entry per register: channel × 128 + param + 1, 0 for none.
std::array<int, kRegisterCount> buildTable() {
  std::array<int, kRegisterCount> table{};
  for (int c = 0; c < kChannelCount; ++c) {
    for (int p = 0; p < EqParamIndex::kCount; ++p) {
      if (p == EqParamIndex::kHighPassSlope || p == EqParamIndex::kLowPassSlope) continue;
      if (const auto a = eqRegisterAddress(c, p); a && *a >= 0 && *a < kRegisterCount)
        table[static_cast<size_t>(*a)] = c * 128 + p + 1;
    }
  }
  return table;
}

}  // namespace

std::optional<EqParamAt> eqParamAt(int address) {
  static const std::array<int, kRegisterCount> kTable = buildTable();
  if (address < 0 || address >= kRegisterCount) return std::nullopt;
  const int entry = kTable[static_cast<size_t>(address)];
  if (entry == 0) return std::nullopt;
  return EqParamAt{(entry - 1) / 128, (entry - 1) % 128};
}

}  // namespace zr78
