#include "text/window_texts.h"

#include "text/shared_text_rows.h"

namespace zr78 {
namespace {

// A window text that also stands in the shared table is that row's texts.
constexpr TextEntry shared(TextId id) { return text_rows::kShared[id].text; }

constexpr NumberedEntry<SystemWindowText> kSystemWindowRows[] = {
    {SystemWindowText::kSystem, {"系统", "系統", "System"}},
    {SystemWindowText::kLocal, {"保存/上传", "保存/上傳", "Local"}},
};

constexpr NumberedEntry<SystemPageText> kSystemPageRows[] = {
    {SystemPageText::kNoiseGate, {"噪声门", "噪聲門", "Noise Gate"}},
};

constexpr NumberedEntry<PresetPageText> kPresetPageRows[] = {
    {PresetPageText::kFileFilter,
     {"默认文件(*.ryb)|*.ryb|所有文件 (*.*)|*.*||", "默認文件(*.ryb)|*.ryb|所有文件 (*.*)|*.*||",
      "The default file(*.ryb)|*.ryb|All the files (*.*)|*.*||"}},
};

constexpr NumberedEntry<RoutingText> kRoutingRows[] = {
    {RoutingText::kHigh, {"高电平%d", "高電平%d", "High%d"}},
    {RoutingText::kLow, {"低电平%d", "低電平%d", "Low%d"}},
    {RoutingText::kOutChannel, {"输出通道%d", "輸出通道%d", "OutCh%d"}},
};

constexpr NumberedEntry<ChannelStripText> kChannelStripRows[] = {
    {ChannelStripText::kHiLevel, {"高电平%d", "高電平%d", "Hi Level%d"}},
    {ChannelStripText::kLow, kRoutingRows[static_cast<int>(RoutingText::kLow)].text},
    {ChannelStripText::kOutChannel, kRoutingRows[static_cast<int>(RoutingText::kOutChannel)].text},
    {ChannelStripText::kInputSelectionChanged,
     {"输入选择已经改变!", "輸入選擇已經改變!", "The input selection has changed!"}},
};

constexpr NumberedEntry<WorkerText> kWorkerRows[] = {
    {WorkerText::kUnableToReadEncryptedMode, shared(kTextUnableToReadEncryptedMode)},
    {WorkerText::kEnterFileName, shared(kTextEnterFileName)},
    {WorkerText::kUpdateSceneData,
     {"更新场景参数:%5.0f %%", "更新場景參數:%5.0f %%", "Update Scene Data:%5.0f %%"}},
    {WorkerText::kUpdateDisplayData, shared(kTextUpdateDisplayData)},
    {WorkerText::kSaveSuccessfully, shared(kTextSaveSuccessfully)},
    {WorkerText::kWriteDataFailed, shared(kTextWriteDataFailed)},
    {WorkerText::kReadDataFailed, shared(kTextReadDataFailed)},
    {WorkerText::kSaveFailed, shared(kTextSaveFailed)},
    {WorkerText::kInvocationFailed,
     {"调用模式失败!", "調用模式失敗!", "Invocation pattern of failure!"}},
    {WorkerText::kNoFiles, shared(kTextNoFiles)},
    {WorkerText::kDataHasPassword, shared(kTextDataHasPassword)},
    {WorkerText::kWrongFileVersion, shared(kTextWrongFileVersion)},
    {WorkerText::kReadDeviceData, shared(kTextReadDeviceData)},
    {WorkerText::kCall, {"调用模式", "調用模式", "Call"}},
};

constexpr NumberedEntry<MainWindowText> kMainWindowRows[] = {
    {MainWindowText::kSoftwareVersion, {"软件版本 ", "軟件版本 ", "Software version "}},
    {MainWindowText::kAboutCaption, {"关于", "關於", "About"}},
};

constexpr NumberedEntry<LinkEditorText> kLinkEditorRows[] = {
    {LinkEditorText::kTitle, {"通道联动", "通道連動", "Channel Link"}},
    {LinkEditorText::kHint,
     {"左键点击通道加入联动，右键点击移除", "左鍵點選通道加入連動，右鍵點選移除",
      "Left-click a channel to link it, right-click to remove it"}},
};

constexpr auto kSystemWindowTable = windowRows(kSystemWindowRows);
constexpr auto kSystemPageTable = windowRows(kSystemPageRows);
constexpr auto kPresetPageTable = windowRows(kPresetPageRows);
constexpr auto kRoutingTable = windowRows(kRoutingRows);
constexpr auto kChannelStripTable = windowRows(kChannelStripRows);
constexpr auto kWorkerTable = windowRows(kWorkerRows);
constexpr auto kMainWindowTable = windowRows(kMainWindowRows);
constexpr auto kLinkEditorTable = windowRows(kLinkEditorRows);

}  // namespace

template <>
std::span<const TextEntry> windowTable<SystemWindowText>() {
  return kSystemWindowTable;
}
template <>
std::span<const TextEntry> windowTable<SystemPageText>() {
  return kSystemPageTable;
}
template <>
std::span<const TextEntry> windowTable<PresetPageText>() {
  return kPresetPageTable;
}
template <>
std::span<const TextEntry> windowTable<RoutingText>() {
  return kRoutingTable;
}
template <>
std::span<const TextEntry> windowTable<ChannelStripText>() {
  return kChannelStripTable;
}
template <>
std::span<const TextEntry> windowTable<WorkerText>() {
  return kWorkerTable;
}
template <>
std::span<const TextEntry> windowTable<MainWindowText>() {
  return kMainWindowTable;
}
template <>
std::span<const TextEntry> windowTable<LinkEditorText>() {
  return kLinkEditorTable;
}

}  // namespace zr78
