#include "channels/input_source.h"

#include <array>

#include "channels/route_word.h"
#include "registers/register_table.h"

namespace zr78 {

namespace {

constexpr int32_t kHiLevelWord = 3;
constexpr int kNoItem = -1;
// Item shown for words 0..7 (word 0 never arrives in range: it is "other").
constexpr std::array<int, 8> kItemOfWord = {kNoItem, kNoItem, 0, 1, kNoItem, 2, kNoItem, 3};
constexpr std::array<int32_t, kInputSelectorItemCount> kWordOfItem = {2, 3, 5, 7};

}  // namespace

InputSourceView inputSourceView(int32_t word) {
  if (word < 1 || word > 7) return {1, true};
  const int item = kItemOfWord[word];
  return {item == kNoItem ? std::nullopt : std::optional<int>(item), false};
}

std::optional<int> applyInputSource(RegisterTable& table) {
  const InputSourceView view = inputSourceView(table.getRegister(kInputSourceRegister));
  if (view.replaceWithHiLevel) table.setRegisterQuiet(kInputSourceRegister, kHiLevelWord);
  return view.item;
}

std::optional<int32_t> inputSourceWord(int item, int32_t configurationWord) {
  if (item < 0 || item >= kInputSelectorItemCount) return std::nullopt;
  if (item == kUsbItem && !(configurationWord & kUsbAvailableBit)) return std::nullopt;
  return kWordOfItem[item];
}

InputSourceChange changeInputSource(RegisterTable& table, int item, const RegisterNotify& notify) {
  InputSourceChange change;
  table.requestReread(kFirstRouteRegister, kLastRouteRegister);
  const auto word = inputSourceWord(item, table.getRegister(kDeviceConfigurationRegister));
  if (word) {
    table.setRegister(kInputSourceRegister, *word);
    change.written = true;
  } else if (item == kUsbItem) {
    change.noUsb = true;
    if (notify) notify(kInputSourceRegister);
  }
  return change;
}

void mixerTimerExpired(RegisterTable& table) {
  table.requestReread(kFirstRouteRegister, kLastRouteRegister);
}

}  // namespace zr78
