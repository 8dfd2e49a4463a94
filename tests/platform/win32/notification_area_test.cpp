#include "platform/win32/services/shell_notification_area.h"
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

namespace platform::win32 {
namespace {

// The program's 32-bit record is what the shell reads in the 32-bit build; the 64-bit one, which
// only runs these tests where no 32-bit code runs, moves its fields (the test below uses it).
#ifndef _WIN64
TEST(NotifyIconRecord, HasTheLayoutTheShellReadsOnThisBuild) {
  EXPECT_EQ(NOTIFYICONDATAA_V1_SIZE, 88u);
  EXPECT_EQ(sizeof(NotifyIconRecord), NOTIFYICONDATAA_V1_SIZE);
  EXPECT_EQ(offsetof(NOTIFYICONDATAA, cbSize), 0u);
  EXPECT_EQ(offsetof(NOTIFYICONDATAA, hWnd), 4u);
  EXPECT_EQ(offsetof(NOTIFYICONDATAA, uID), 8u);
  EXPECT_EQ(offsetof(NOTIFYICONDATAA, uFlags), 12u);
  EXPECT_EQ(offsetof(NOTIFYICONDATAA, uCallbackMessage), 16u);
  EXPECT_EQ(offsetof(NOTIFYICONDATAA, hIcon), 20u);
  EXPECT_EQ(offsetof(NOTIFYICONDATAA, szTip), 24u);
  // The first version's tip is the 64 characters up to its end.
  EXPECT_EQ(NOTIFYICONDATAA_V1_SIZE - offsetof(NOTIFYICONDATAA, szTip), 64u);
  EXPECT_EQ(NIM_ADD, notify::kAdd);
  EXPECT_EQ(NIM_MODIFY, notify::kModify);
  EXPECT_EQ(NIM_DELETE, notify::kDelete);
}
#endif

void Put32(NotifyIconRecord& record, std::size_t offset, std::uint32_t value) {
  std::memcpy(record.data() + offset, &value, sizeof value);
}

TEST(ShellNotificationArea, AddsAndRemovesAnIconThroughTheShell) {
  HWND window = CreateWindowExA(0, "STATIC", "tray test", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  NotifyIconRecord record{};
  Put32(record, 0, 88);
  Put32(record, 4, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window)));
  Put32(record, 8, 1);
  Put32(record, 12, NIF_MESSAGE | NIF_ICON | NIF_TIP);
  Put32(record, 16, WM_MOUSEMOVE);
  Put32(record, 20,
        static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(
            LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)))));
  std::memcpy(record.data() + 24, "Vl test tip", 12);

  ShellNotificationArea area;
  EXPECT_TRUE(area.NotifyIcon(notify::kAdd, record));
  EXPECT_TRUE(area.NotifyIcon(notify::kDelete, record));
  EXPECT_FALSE(area.NotifyIcon(notify::kDelete, record));  // nothing left to remove
  DestroyWindow(window);
}

}  // namespace
}  // namespace platform::win32
