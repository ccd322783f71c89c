#include "ui/modal.h"

#include "platform/win_text.h"
#include "ui/message_loop.h"

#include <algorithm>
#include <utility>

namespace ui {

namespace {
struct ModalState {
    int open = 0;
    std::function<void()> opening;
    std::function<void()> closed;
};

// A process singleton: every modal box of the program opens on the one interface thread.
ModalState& State() {
    static ModalState state;
    return state;
}

}  // namespace

void SetModalObservers(std::function<void()> opening, std::function<void()> closed) {
    State().opening = std::move(opening);
    State().closed = std::move(closed);
}

ModalScope::ModalScope() {
    // Counted first: a box the observer itself opened must not call it again.
    if (State().open++ == 0 && State().opening) {
        const auto opening = State().opening;
        opening();
    }
}

ModalScope::~ModalScope() {
    if (--State().open == 0 && State().closed) {
        const auto closed = State().closed;
        closed();
    }
}

int ShowMessageBox(HWND owner, std::string_view text, std::string_view title, UINT flags) {
    ModalScope scope;
    // No title: the platform's own ("Error" and the like).
    const std::wstring wideTitle = platform::Wide(title);
    return ::MessageBoxW(owner, platform::Wide(text).c_str(), title.empty() ? nullptr : wideTitle.c_str(), flags);
}

HWND FindOwnWindow(DWORD processId, std::chrono::milliseconds limit) {
    const ULONGLONG start = ::GetTickCount64();
    const auto budget = static_cast<ULONGLONG>(std::max<long long>(limit.count(), 0));
    constexpr DWORD kPauseBetweenPassesMs = 10;
    HWND candidate = nullptr;
    for (;;) {
        // After the last window the list starts again from the first.
        candidate = ::FindWindowExW(nullptr, candidate, nullptr, nullptr);
        if (candidate) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(candidate, &owner);
            if (::IsWindow(candidate) && ::IsWindowVisible(candidate) && owner == processId) return candidate;
            continue;
        }
        if (::GetTickCount64() - start >= budget) return nullptr;
        ProcessPendingEvents();
        ::MsgWaitForMultipleObjectsEx(0, nullptr, kPauseBetweenPassesMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

}  // namespace ui
