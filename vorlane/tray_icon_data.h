#pragma once
// The record the shell's notification area is given for the program's icon: the ANSI form of
// the first version of NOTIFYICONDATA, built byte for byte so that it is the same everywhere.
#include <cstdint>

#include "platform/services/notification_area.h"

namespace vorlane {

inline constexpr std::uint32_t kTrayIconId = 1;
// The shell reports mouse activity over the icon to the window with this message number.
inline constexpr std::uint32_t kTrayCallbackMessage = 512;  // WM_MOUSEMOVE
inline constexpr std::uint32_t kTrayIconFlags = 7;          // message + icon + tip
inline constexpr char kTrayTip[] = "Vorlane Virezeviz";

// Field offsets within the 88 bytes, little-endian.
namespace tray_record {
inline constexpr std::size_t kSizeOffset = 0;
inline constexpr std::size_t kWindowOffset = 4;
inline constexpr std::size_t kIdOffset = 8;
inline constexpr std::size_t kFlagsOffset = 12;
inline constexpr std::size_t kCallbackMessageOffset = 16;
inline constexpr std::size_t kIconOffset = 20;
inline constexpr std::size_t kTipOffset = 24;
inline constexpr std::size_t kTipSize = 64;
}  // namespace tray_record

// The record for the icon `icon` reporting to the window `window`. The tip is the text, one
// NUL, then spaces to fill its 64 bytes; the NUL ends what the shell shows.
platform::NotifyIconRecord MakeTrayIconData(std::uintptr_t window, std::uintptr_t icon);

// True once the record has been filled (a zero size means it never was).
bool IsFilled(const platform::NotifyIconRecord& record);

}  // namespace vorlane
