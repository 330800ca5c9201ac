#include "app/edit_kinds.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "channels/gain_word.h"
#include "eq/eq_field_text.h"
#include "eq/eq_model.h"
#include "eq/step_table.h"
#include "text/number_text.h"

namespace zr78 {
namespace {

// Table fields show 0 for a negative position in display units; the text
// keeps the position inside the table.
double tableValue(double (*value)(int), int position) { return position < 0 ? 0 : value(position); }

EditRules wholeNumbers(int minimum, int maximum) {
  return plainNumberRules(std::string(), minimum, maximum);
}

constexpr int kTimeSteps = 81;
constexpr std::array<double, kTimeSteps> kTimeTable = [] {
  std::array<double, kTimeSteps> t{};
  for (int i = 0; i < kTimeSteps; ++i) t[i] = static_cast<int>(i * 62.5);  // rounded down
  return t;
}();

double timeAt(int position) {
  return kTimeTable[static_cast<size_t>(std::clamp(position, 0, kTimeSteps - 1))];
}

}  // namespace

EditRules frequencyEdit(std::string format, int minimum, int maximum) {
  EditRules rules = wholeNumbers(minimum, maximum);
  rules.text = [format = std::move(format)](int hz) { return frequencyFieldText(hz, format); };
  return rules;
}

EditRules qEdit() {
  EditRules rules = wholeNumbers(0, 101);
  rules.text = qStepText;
  rules.valueOf = [](std::string_view typed) { return qStepIndex(typedNumber(typed)); };
  rules.valueOfNumber = [](double q) { return qStepIndex(q); };
  rules.displayValue = [](int position) { return tableValue(qStepValue, position); };
  return rules;
}

EditRules bandGainEdit() { return plainNumberRules("%0.1f", -200, 200, 10); }

EditRules thresholdEdit() { return plainNumberRules("%0.1f dBu", -300, 60, 10); }

EditRules attackEdit() {
  EditRules rules = wholeNumbers(0, 107);
  rules.text = attackStepText;
  rules.valueOf = [](std::string_view typed) { return attackStepIndex(typedNumber(typed)); };
  rules.valueOfNumber = [](double ms) { return attackStepIndex(ms); };
  rules.displayValue = [](int position) { return tableValue(attackStepValue, position); };
  return rules;
}

EditRules gridFrequencyEdit() {
  EditRules rules = wholeNumbers(0, kGridFieldPositions - 1);
  rules.text = gridFieldText;
  rules.valueOf = [](std::string_view typed) { return gridFieldPosition(typedNumber(typed)); };
  rules.valueOfNumber = [](double hz) { return gridFieldPosition(hz); };
  rules.displayValue = [](int position) { return tableValue(gridFieldFrequency, position); };
  return rules;
}

EditRules channelGainEdit() {
  EditRules rules = wholeNumbers(kMinChannelGainDb, kMaxChannelGainDb);
  rules.text = channelGainText;
  rules.valueOf = channelGainOfText;
  return rules;
}

EditRules delayEdit(DelayUnit unit) {
  EditRules rules = wholeNumbers(0, kMaxDelaySamples);
  rules.text = [unit](int samples) { return formatDelay(samples, unit); };
  rules.valueOf = [unit](std::string_view typed) { return parseDelayText(typed, unit); };
  rules.valueOfNumber = [](double ms) { return delaySamplesFromMilliseconds(ms); };
  rules.displayValue = delayMilliseconds;
  return rules;
}

EditRules balanceEdit(int minimum, int maximum) {
  EditRules rules = wholeNumbers(minimum, maximum);
  rules.text = [middle = maximum / 2](int value) -> std::string {
    if (value == middle) return "Center";
    return value < middle ? formatInteger("L%d", middle - value)
                          : formatInteger("R%d", value - middle);
  };
  rules.valueOf = [half = (maximum - minimum) / 2](std::string_view typed) {
    const double x = typedNumber(typed);
    if (typed.find('R') != std::string_view::npos) return x + half;
    if (typed.find('L') != std::string_view::npos) return half - x;
    return x;
  };
  return rules;
}

EditRules timeStepEdit() {
  EditRules rules = wholeNumbers(0, kTimeSteps - 1);
  rules.text = [](int position) { return formatNumber("%0.0fms", timeAt(position)); };
  rules.valueOf = [](std::string_view typed) { return stepIndex(kTimeTable, typedNumber(typed)); };
  rules.valueOfNumber = [](double ms) { return stepIndex(kTimeTable, ms); };
  rules.displayValue = timeAt;
  return rules;
}

}  // namespace zr78
