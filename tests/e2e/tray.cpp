#include "tests/e2e/tray.h"

#include <shellapi.h>

#include <algorithm>

#include "tests/e2e/wait.h"
#include "tests/e2e/windows_ui.h"

namespace e2e {

std::vector<HWND> WineTrayIcons() {
  std::vector<HWND> icons;
  HWND tray = FindWindowA(nullptr, "Wine System Tray");
  if (tray == nullptr || !IsWindowVisible(tray)) return icons;
  for (HWND child : Descendants(tray)) {
    if (GetParent(child) == tray && IsWindowVisible(child)) icons.push_back(child);
  }
  return icons;
}

std::optional<RECT> TrayIconPlace(HWND owner, UINT id, const std::vector<HWND>& before) {
  NOTIFYICONIDENTIFIER identifier{};
  identifier.cbSize = sizeof identifier;
  identifier.hWnd = owner;
  identifier.uID = id;
  RECT place{};
  HRESULT result = Shell_NotifyIconGetRect(&identifier, &place);
  if (SUCCEEDED(result)) return place;
  if (result != E_NOTIMPL) return std::nullopt;
  std::vector<HWND> added;
  for (HWND icon : WineTrayIcons()) {
    if (std::find(before.begin(), before.end(), icon) == before.end()) added.push_back(icon);
  }
  if (added.size() != 1) return std::nullopt;
  GetWindowRect(added.front(), &place);
  return place;
}

bool ClickTrayIcon(HWND owner, UINT id, const std::vector<HWND>& before, MouseButton button) {
  auto place = TrayIconPlace(owner, id, before);
  if (!place) return false;
  const POINT centre = Centre(*place);
  if (HWND tray = FindWindowA(nullptr, "Wine System Tray")) {
    SetWindowPos(tray, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!WaitUntil([&] { return GetAncestor(WindowFromPoint(centre), GA_ROOT) == tray; })) {
      return false;
    }
  }
  return ClickAt(centre, button);
}

bool RemoveTrayIcon(HWND owner, UINT id) {
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = owner;
  data.uID = id;
  return Shell_NotifyIconA(NIM_DELETE, &data) != FALSE;
}

}  // namespace e2e
