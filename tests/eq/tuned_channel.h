// A channel with every kind of setting moved, and the reader of the response
// CSV, for the response tests here and the zr78ctl response test.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "eq/eq_channel_state.h"
#include "eq/eq_model.h"

namespace zr78 {

// The default image with channel 2 tuned: a Bessel 24 dB/Oct high-pass at
// 120 Hz, a Linkwitz-Riley 48 dB/Oct low-pass at 3150 Hz, three bands moved.
inline RegisterImage tunedImage() {
  RegisterImage r = defaultRegisterImage();
  const int c = 2;
  using namespace EqParamIndex;
  r[*eqRegisterAddress(c, kHighPassCode)] = 22;
  r[*eqRegisterAddress(c, kHighPassFrequency)] = encodeFrequency(120);
  r[*eqRegisterAddress(c, kLowPassCode)] = 31;
  r[*eqRegisterAddress(c, kLowPassFrequency)] = encodeFrequency(3150);
  r[*eqRegisterAddress(c, kBandGain + 4)] = encodeGain(6);
  r[*eqRegisterAddress(c, kBandQ + 4)] = encodeQ(2.4);
  r[*eqRegisterAddress(c, kBandGain + 20)] = encodeGain(-12.5);
  r[*eqRegisterAddress(c, kBandFrequency + 20)] = encodeFrequency(1800);
  r[*eqRegisterAddress(c, kBandGain + 30)] = encodeGain(3);
  r[*eqRegisterAddress(c, kBandQ + 30)] = 0;  // Q word 0: clamped, not NaN
  return r;
}

struct CsvRow {
  int column;
  double hz, db;
};

inline std::vector<CsvRow> parseResponseCsv(const std::string& csv, std::string& header) {
  std::istringstream in(csv);
  std::getline(in, header);
  std::vector<CsvRow> rows;
  std::string line;
  while (std::getline(in, line)) {
    CsvRow r{};
    char comma1, comma2;
    std::istringstream fields(line);
    fields >> r.column >> comma1 >> r.hz >> comma2 >> r.db;
    rows.push_back(r);
  }
  return rows;
}

}  // namespace zr78
