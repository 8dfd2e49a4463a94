#include "vorlane/tray_icon_data.h"

#include <algorithm>
#include <cstring>

namespace vorlane {
namespace {

void PutLittle32(platform::NotifyIconRecord& record, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i)
    record[offset + i] = static_cast<std::uint8_t>(value >> (8 * i) & 0xFF);
}

}  // namespace

platform::NotifyIconRecord MakeTrayIconData(std::uintptr_t window, std::uintptr_t icon) {
  using namespace tray_record;
  platform::NotifyIconRecord record{};
  PutLittle32(record, kSizeOffset, static_cast<std::uint32_t>(record.size()));
  // Handles are 32 bits wide in the 32-bit program the record is made for.
  PutLittle32(record, kWindowOffset, static_cast<std::uint32_t>(window));
  PutLittle32(record, kIdOffset, kTrayIconId);
  PutLittle32(record, kFlagsOffset, kTrayIconFlags);
  PutLittle32(record, kCallbackMessageOffset, kTrayCallbackMessage);
  PutLittle32(record, kIconOffset, static_cast<std::uint32_t>(icon));

  const auto tip = record.begin() + kTipOffset;
  std::fill(tip, tip + kTipSize, static_cast<std::uint8_t>(' '));
  constexpr std::size_t kTipLength = sizeof(kTrayTip) - 1;
  static_assert(kTipLength + 1 <= kTipSize, "the tip and its NUL must fit");
  std::memcpy(&*tip, kTrayTip, kTipLength);
  tip[kTipLength] = 0;
  return record;
}

bool IsFilled(const platform::NotifyIconRecord& record) {
  return record[tray_record::kSizeOffset] != 0;
}

}  // namespace vorlane
