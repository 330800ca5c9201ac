#include "text/filter_import_texts.h"

namespace zr78 {
namespace {

using T = FilterImportText;

constexpr NumberedEntry<FilterImportText> kRows[] = {
    {T::kPreviewTitle, {"导入滤波器 — CH%1", "匯入濾波器 — CH%1", "Import filters — CH%1"}},
    {T::kSource, {"文件 %1 → 通道 CH%2", "檔案 %1 → 通道 CH%2", "File %1 → channel CH%2"}},
    {T::kColumnLine, {"行", "行", "Line"}},
    {T::kColumnFilter, {"滤波器", "濾波器", "Filter"}},
    {T::kColumnAsked, {"文本要求", "文字要求", "Asked"}},
    {T::kColumnDone, {"放大器将执行", "擴大機將執行", "The amplifier will do"}},
    {T::kBandDone,
     {"频段 %1：%2，%3，Q %4（面板 Q %5）", "頻段 %1：%2，%3，Q %4（面板 Q %5）",
      "band %1: %2, %3, Q %4 (panel Q %5)"}},
    {T::kHighPassDone, {"高通：巴特沃斯 12dB/Oct，%1", "高通：巴特沃斯 12dB/Oct，%1",
                        "high-pass: Butterworth 12dB/Oct at %1"}},
    {T::kLowPassDone, {"低通：巴特沃斯 12dB/Oct，%1", "低通：巴特沃斯 12dB/Oct，%1",
                       "low-pass: Butterworth 12dB/Oct at %1"}},
    {T::kDisabledDone, {"关闭：不导入", "關閉：不匯入", "off: not applied"}},
    {T::kFrequencyHeld, {"Fc 限于 %1", "Fc 限於 %1", "Fc held within %1"}},
    {T::kGainHeld, {"增益限于 -20..+20 dB", "增益限於 -20..+20 dB", "gain held within -20..+20 dB"}},
    {T::kQHeld, {"Q 限于 %1", "Q 限於 %1", "Q held within %1"}},
    {T::kPreampGain,
     {"通道增益 %1 dB（整数 dB，向下取整）", "通道增益 %1 dB（整數 dB，無條件捨去）",
      "channel gain %1 dB (whole dB, rounded down)"}},
    {T::kPreampHeld,
     {"，限于 -59 dB（-60 dB 为关闭）", "，限於 -59 dB（-60 dB 為關閉）", ", held at -59 dB (-60 dB is OFF)"}},
    {T::kPreampIgnored,
     {"忽略：通道增益不能提升（最高 0 dB）", "忽略：通道增益無法提升（最高 0 dB）",
      "ignored: the channel gain cannot boost (0 dB at most)"}},
    {T::kUnused, {"未用", "未用", "unused"}},
    {T::kUnusedBands, {"频段 %1", "頻段 %1", "bands %1"}},
    {T::kUnusedDone, {"0 dB，默认频率，Q 7.6", "0 dB，預設頻率，Q 7.6", "0 dB at the default frequency, Q 7.6"}},
    {T::kHighPass, {"高通", "高通", "high-pass"}},
    {T::kLowPass, {"低通", "低通", "low-pass"}},
    {T::kNotInText, {"（文本中没有）", "（文字中沒有）", "(not in the text)"}},
    {T::kKept, {"保持不变", "保持不變", "kept as it is"}},
    {T::kRounding,
     {"频率取整到 1 Hz，增益取整到 0.1 dB，Q 取对数刻度上最接近的 Q 档位",
      "頻率取整到 1 Hz，增益取整到 0.1 dB，Q 取對數刻度上最接近的 Q 檔位",
      "Frequencies to whole hertz, gains to 0.1 dB, Q to the nearest Q step in log scale"}},
    {T::kDeviation,
     {"max_deviation_db %1：两条曲线在 20 Hz..20 kHz 之间的最大差值，位于 %2",
      "max_deviation_db %1：兩條曲線在 20 Hz..20 kHz 之間的最大差值，位於 %2",
      "max_deviation_db %1: the largest difference of the two curves, 20 Hz..20 kHz, at %2"}},
    {T::kLegendWritten, {"文本原样", "文字原樣", "as written"}},
    {T::kLegendAmplifier, {"放大器实际", "擴大機實際", "on the amplifier"}},
    {T::kApply, {"应用", "套用", "Apply"}},
    {T::kCancel, {"取消", "取消", "Cancel"}},
    {T::kRefused,
     {"此滤波器文本不能导入，未做任何更改：", "此濾波器文字無法匯入，未做任何變更：",
      "This filter text cannot be imported; nothing was changed:"}},
    {T::kErrorLine, {"第 %1 行：%2", "第 %1 行：%2", "line %1: %2"}},
    {T::kMoreErrors, {"……另有 %1 处", "……另有 %1 處", "… and %1 more"}},
    {T::kCannotOpen, {"无法打开文件：%1", "無法開啟檔案：%1", "Cannot open the file: %1"}},
    {T::kNotRegularFile, {"不是普通文件：%1", "不是一般檔案：%1", "Not a regular file: %1"}},
    {T::kTooLarge,
     {"文件大于 1 MiB，不是滤波器文本：%1", "檔案大於 1 MiB，不是濾波器文字：%1",
      "Larger than 1 MiB, not a filter text: %1"}},
    {T::kExportFailed,
     {"导出失败，原有文件保持不变：%1", "匯出失敗，原有檔案保持不變：%1",
      "Export failed; any old file is kept: %1"}},
};
constexpr auto kTable = windowRows(kRows);

}  // namespace

template <>
std::span<const TextEntry> windowTable<FilterImportText>() {
  return kTable;
}

}  // namespace zr78
