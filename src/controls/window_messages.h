// Numbers of the window messages exchanged between the program's windows.
// Custom controls notify with their own control id instead; these are the
// numbers that are not control ids.
#pragma once

namespace zr78 {

// From the link: wParam = code (0 register refreshed, 4 link status),
// lParam = register address or status.
inline constexpr int MSG_DEVICE_NOTIFY = 1025;
// Top buttons of the main window: 3024 + j, lParam = j.
inline constexpr int MSG_TOP_BUTTON = 3024;
inline constexpr int MSG_TOP_BUTTON_COUNT = 12;
// Master volume slider of the main window.
inline constexpr int MSG_SLIDER_CHANGED = 6034;
// Input-source selector of the main window (and the EQ panel's lists 16124..16128).
inline constexpr int MSG_SELECTOR_CHANGED = 16124;
inline constexpr int MSG_EQ_SHOW_CHANNEL = 22324;
inline constexpr int MSG_LINK_RESYNC = 22424;
inline constexpr int MSG_PANEL_EDIT = 22524;
inline constexpr int MSG_LANGUAGE_REFRESH = 22624;

}  // namespace zr78
