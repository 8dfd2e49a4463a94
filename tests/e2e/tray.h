#pragma once
// Notification-area icons of other programs: where they are, so a real click can reach them.
#include <windows.h>

#include <optional>
#include <vector>

#include "tests/e2e/windows_ui.h"

namespace e2e {

// The icons that Wine shows in its own "Wine System Tray" window when no desktop tray runs;
// empty on Windows.
std::vector<HWND> WineTrayIcons();

// Where the icon `id` of `owner` is on screen: from the shell where it can tell, else, in Wine's
// tray window, the one icon that is not among `before` (the icons present before the program
// started). Nothing if the icon is not shown.
std::optional<RECT> TrayIconPlace(HWND owner, UINT id, const std::vector<HWND>& before);

// A real click on the icon `id` of `owner` (see TrayIconPlace). Wine's tray window is an
// ordinary window that others may cover: it is raised above them first, as a taskbar stays.
bool ClickTrayIcon(HWND owner, UINT id, const std::vector<HWND>& before, MouseButton button);

// Removes the icon `id` of `owner` from the notification area, as a restarting shell forgets
// every icon.
bool RemoveTrayIcon(HWND owner, UINT id);

}  // namespace e2e
