// A message box that may close by itself after a time.
#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

namespace chrome {

inline constexpr char kTimedMessageTitle[] = "友情提醒";

// Shows `text` through the platform's message box with a time-out, inside a ModalScope.
// Without an owner, the first visible top-level window of this process owns it (one pass
// over the top-level windows; none found, no owner). A time-out of 0 means none: the box
// waits for its answer. Where the platform has no such box, a plain one stands in.
void ShowTimedMessage(std::string_view text, UINT style = MB_OK, std::string_view title = kTimedMessageTitle,
                      std::optional<HWND> owner = std::nullopt, DWORD timeoutMs = 0);

}  // namespace chrome
