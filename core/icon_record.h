#pragma once
// The notification icon's record, built in one place for adding and for removing.

#include "platform/notify_area.h"

namespace zdz {

inline constexpr std::uint32_t kClockIconId = 1;

enum class IconRecordUse { kAdd, kDelete };

// kAdd: every field as the tray switch fills it. kDelete: size, window and id, the rest zero.
NotifyIconData IconRecord(IconRecordUse use, NativeHandle window, NativeHandle icon = 0);

}  // namespace zdz
