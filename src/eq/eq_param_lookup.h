// The register -> parameter direction of the EQ register model: which
// channel's EqParamIndex a register holds. The main window routes register
// values to the EQ panel with it.
#pragma once

#include <optional>

namespace zr78 {

struct EqParamAt {
  int channel = 0;
  int param = 0;  // EqParamIndex; never the slope markers 95 and 98
  bool operator==(const EqParamAt&) const = default;
};

// The parameter the register at `address` holds; empty for every register
// that is not a band frequency, gain or Q, a crossover frequency or code, or
// a limiter value (the band shape words and the crossover spares included).
std::optional<EqParamAt> eqParamAt(int address);

}  // namespace zr78
