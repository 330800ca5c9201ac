// Texts that are the same in every UI language: they are not looked up by
// language, and must stay byte for byte as they are.
#pragma once

#include <array>
#include <string_view>

#include "text/language.h"

namespace zr78 {

// Items of the language selector, each in its own language whatever the UI
// language, in language-index order.
inline constexpr std::array<std::string_view, kLanguageCount> kLanguageNames = {
    "简体中文", "繁體中文", "English"};

// Slot selector item of the device modes page; "%d" is the slot 1..6.
inline constexpr std::string_view kModeSlotFormat = "%d-USER";

// Shown after the USB channel lock's name while another program holds it.
inline constexpr std::string_view kChannelBlockedSuffix = " Channel is Blocked!";

// Shown when the worker thread cannot be started.
inline constexpr std::string_view kWorkerThreadFailed = "创建串口发送线程失败！";

// WiFi module acknowledgements and their caption.
inline constexpr std::string_view kWifiCaption = "WiFi";
inline constexpr std::string_view kWifiRouteSetOk = "Set RouteS:OK";
inline constexpr std::string_view kWifiHotspotSetOk = "Set Hot:OK";
inline constexpr std::string_view kWifiModeOk = "WiFiMode:OK";
inline constexpr std::string_view kWifiRestoreOk = "Restore:OK";
inline constexpr std::string_view kWifiRestartOk = "Restart:OK";

}  // namespace zr78
