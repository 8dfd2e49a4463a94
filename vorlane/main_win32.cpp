// The program's Windows entry point: the runtime, the program-wide state and the tray window.
#include <cstddef>

#include "platform/services/notification_area.h"
#include "platform/win32/system.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/windows_api.h"
#include "vorlane/form1.h"
#include "vorlane/module1.h"
#include "vorlane/tray_icon_data.h"

#ifndef _WIN64
// The record is built portably; it must be exactly what Shell_NotifyIconA reads.
static_assert(NOTIFYICONDATAA_V1_SIZE == std::tuple_size_v<platform::NotifyIconRecord>);
static_assert(offsetof(NOTIFYICONDATAA, cbSize) == vorlane::tray_record::kSizeOffset);
static_assert(offsetof(NOTIFYICONDATAA, hWnd) == vorlane::tray_record::kWindowOffset);
static_assert(offsetof(NOTIFYICONDATAA, uID) == vorlane::tray_record::kIdOffset);
static_assert(offsetof(NOTIFYICONDATAA, uFlags) == vorlane::tray_record::kFlagsOffset);
static_assert(offsetof(NOTIFYICONDATAA, uCallbackMessage) ==
              vorlane::tray_record::kCallbackMessageOffset);
static_assert(offsetof(NOTIFYICONDATAA, hIcon) == vorlane::tray_record::kIconOffset);
static_assert(offsetof(NOTIFYICONDATAA, szTip) == vorlane::tray_record::kTipOffset);
static_assert(sizeof(NOTIFYICONDATAA::szTip) >= vorlane::tray_record::kTipSize);
static_assert(sizeof(HWND) == 4 && sizeof(HICON) == 4);
#endif
static_assert((NIF_MESSAGE | NIF_ICON | NIF_TIP) == vorlane::kTrayIconFlags);
static_assert(WM_MOUSEMOVE == vorlane::kTrayCallbackMessage);
static_assert(NIM_ADD == platform::notify::kAdd && NIM_MODIFY == platform::notify::kModify &&
              NIM_DELETE == platform::notify::kDelete);

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
  platform::win32::LoadDllsFromSystemFolderOnly();
  platform::win32::Win32Environment env("vorlane");
  vorlane::Module1 module1(env.runtime());
  vorlane::Form1 form(env.runtime(), module1);
  return env.runtime().Run(form);
}
