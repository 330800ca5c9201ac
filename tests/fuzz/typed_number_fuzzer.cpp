// What a user types into the numeric edits, on arbitrary text: every kind of
// field gives a value inside its range, shows a text for it, and no number
// (huge, tiny, NaN, infinite) is converted with undefined behaviour.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/edit_kinds.h"
#include "text/number_text.h"

namespace {

using namespace zr78;

const std::vector<EditRules>& allKinds() {
  static const std::vector<EditRules> kinds = {
      frequencyEdit("%0.0f", 20, 20000),
      frequencyEdit("%0.0fHz", 19, 20000),
      qEdit(),
      bandGainEdit(),
      thresholdEdit(),
      attackEdit(),
      gridFrequencyEdit(),
      channelGainEdit(),
      delayEdit(DelayUnit::Milliseconds),
      delayEdit(DelayUnit::Centimetres),
      delayEdit(DelayUnit::Inches),
      balanceEdit(0, 20),
      balanceEdit(0, 41),
      timeStepEdit(),
      plainNumberRules("%0.0fdB", 0, 100),
      plainNumberRules("%0.1f", -300, 60, 10),
  };
  return kinds;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const double number = input.ConsumeFloatingPoint<double>();
  const int value = input.ConsumeIntegral<int>();
  const std::string typed = input.ConsumeRemainingBytesAsString();

  (void)readNumber(typed);
  if (std::isnan(typedNumber(typed))) std::abort();  // letters are dropped: no "nan"
  for (const EditRules& rules : allKinds()) {
    const int fromText = typedValue(rules, typed);
    const int fromNumber = valueFromNumber(rules, number);
    const int clamped = clampToRange(rules, value);
    for (const int v : {fromText, fromNumber, clamped}) {
      if (v < rules.minimum || v > rules.maximum) std::abort();
      if (shownText(rules, v).empty()) std::abort();
      if (std::isnan(displayValue(rules, v))) std::abort();
    }
  }
  return 0;
}
