#include "chrome/timed_message.h"

#include "platform/win_text.h"
#include "ui/modal.h"

#include <chrono>

namespace chrome {

namespace {
// Exported by user32 without being documented, hence looked up at run time.
using MessageBoxTimeoutFn = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT, WORD, DWORD);

MessageBoxTimeoutFn FindMessageBoxTimeout() {
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");  // loaded with every window program
    return user32 ? reinterpret_cast<MessageBoxTimeoutFn>(
                        reinterpret_cast<void*>(::GetProcAddress(user32, "MessageBoxTimeoutW")))
                  : nullptr;
}
}  // namespace

void ShowTimedMessage(std::string_view text, UINT style, std::string_view title, std::optional<HWND> owner,
                      DWORD timeoutMs) {
    ui::ModalScope modal;
    HWND parent = owner ? *owner : ui::FindOwnWindow(::GetCurrentProcessId(), std::chrono::milliseconds{0});
    const std::wstring wideText = platform::Wide(text);
    const std::wstring wideTitle = platform::Wide(title);
    static const MessageBoxTimeoutFn timed = FindMessageBoxTimeout();
    if (timed) {
        timed(parent, wideText.c_str(), wideTitle.c_str(), style, 0, timeoutMs == 0 ? INFINITE : timeoutMs);
        return;
    }
    ::MessageBoxW(parent, wideText.c_str(), wideTitle.c_str(), style);
}

}  // namespace chrome
