#include "chrome/timed_message.h"

#include "platform/win_text.h"
#include "ui/modal.h"

#include <chrono>
#include <utility>

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
// The box open now on this thread that a time-out closes: its title and text.
struct TimedBox {
    std::wstring title, text;
};
thread_local const TimedBox* tTimedBox = nullptr;

// Closes the box a time-out is for, when it is one of this thread's open boxes.
BOOL CALLBACK CloseIfTimedBox(HWND window, LPARAM) {
    wchar_t className[16]{};
    ::GetClassNameW(window, className, 16);
    if (std::wstring_view(className) != L"#32770" || !::IsWindowVisible(window)) return TRUE;
    if (platform::WindowTextOf(window) != tTimedBox->title ||
        platform::WindowTextOf(::GetDlgItem(window, 0xFFFF)) != tTimedBox->text)
        return TRUE;
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    return FALSE;
}

// Some platforms export the timed box but never close it: a timer of our own closes it too.
void CALLBACK CloseTimedBox(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    if (tTimedBox) ::EnumThreadWindows(::GetCurrentThreadId(), &CloseIfTimedBox, 0);
}
}  // namespace

void ShowTimedMessage(std::string_view text, UINT style, std::string_view title, std::optional<HWND> owner,
                      DWORD timeoutMs) {
    ui::ModalScope modal;
    HWND parent = owner ? *owner : ui::FindOwnWindow(::GetCurrentProcessId(), std::chrono::milliseconds{0});
    const std::wstring wideText = platform::Wide(text);
    const std::wstring wideTitle = platform::Wide(title);
    const TimedBox box{wideTitle, wideText};
    const TimedBox* outer = std::exchange(tTimedBox, &box);
    const UINT_PTR timer = timeoutMs != 0 ? ::SetTimer(nullptr, 0, timeoutMs, &CloseTimedBox) : 0;
    struct Restore {
        const TimedBox* outer;
        UINT_PTR timer;
        ~Restore() {
            if (timer) ::KillTimer(nullptr, timer);
            tTimedBox = outer;
        }
    } restore{outer, timer};
    static const MessageBoxTimeoutFn timed = FindMessageBoxTimeout();
    if (timed) {
        timed(parent, wideText.c_str(), wideTitle.c_str(), style, 0, timeoutMs == 0 ? INFINITE : timeoutMs);
        return;
    }
    ::MessageBoxW(parent, wideText.c_str(), wideTitle.c_str(), style);
}

}  // namespace chrome
