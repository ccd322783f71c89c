#include "ui/modal.h"

#include "platform/owners.h"
#include "platform/win_text.h"
#include "ui/message_loop.h"

#include <algorithm>
#include <bitset>
#include <utility>
#include <vector>

namespace ui {

namespace {
constexpr std::size_t kKeyCount = 256;

struct ModalWatcher {
    int id;
    std::function<void()> opening;
    std::function<void()> closed;
};

struct ModalState {
    int open = 0;
    std::vector<ModalWatcher> watchers;
    int nextWatcherId = 1;
    // While a box is open: what the box's loop must never see.
    platform::UniqueHook filter;
    std::bitset<kKeyCount> heldSinceOpening;  // down as the box opened, not let go since
    std::bitset<kKeyCount> pressedInBox;      // pressed afresh while the box is open
};

// A process singleton: every modal box of the program opens on the one interface thread.
ModalState& State() {
    static ModalState state;
    return state;
}

// A box answers what the operator does in it, never what was meant for the desk: a hotkey
// already queued as the box opened, or the auto-repeat of a key held down since before (a
// held Enter would press the box's default button).
bool DroppedInBox(const MSG& message) {
    ModalState& state = State();
    switch (message.message) {
    case WM_HOTKEY:
        return true;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const std::size_t key = message.wParam % kKeyCount;
        constexpr LPARAM kWasDown = LPARAM{1} << 30;
        if (state.heldSinceOpening[key]) return true;
        if (!(message.lParam & kWasDown)) state.pressedInBox[key] = true;
        return !state.pressedInBox[key];  // a repeat of a key pressed before the box
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        const std::size_t key = message.wParam % kKeyCount;
        state.heldSinceOpening[key] = false;
        state.pressedInBox[key] = false;
        return false;
    }
    default:
        return false;
    }
}

LRESULT CALLBACK FilterBoxMessages(int code, WPARAM removal, LPARAM lParam) {
    if (code == HC_ACTION && removal == PM_REMOVE) {
        auto* message = reinterpret_cast<MSG*>(lParam);
        if (DroppedInBox(*message)) message->message = WM_NULL;
    }
    return ::CallNextHookEx(nullptr, code, removal, lParam);
}

void StartFiltering() {
    ModalState& state = State();
    state.pressedInBox.reset();
    state.heldSinceOpening.reset();
    for (int key = 1; key < static_cast<int>(kKeyCount); ++key)
        if (::GetAsyncKeyState(key) & 0x8000) state.heldSinceOpening[static_cast<std::size_t>(key)] = true;
    state.filter.reset(::SetWindowsHookExW(WH_GETMESSAGE, &FilterBoxMessages, nullptr, ::GetCurrentThreadId()));
}

}  // namespace

ModalWatch::ModalWatch(std::function<void()> opening, std::function<void()> closed) : id_(State().nextWatcherId++) {
    State().watchers.push_back({id_, std::move(opening), std::move(closed)});
}

ModalWatch::~ModalWatch() {
    if (id_ != 0) std::erase_if(State().watchers, [this](const ModalWatcher& w) { return w.id == id_; });
}

ModalWatch& ModalWatch::operator=(ModalWatch&& other) noexcept {
    if (this != &other) {
        ModalWatch gone(std::move(*this));
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

namespace {
// A copy: a watcher may end a watch, its own or another's, while it runs.
void CallWatchers(std::function<void()> ModalWatcher::*which) {
    const std::vector<ModalWatcher> watchers = State().watchers;
    for (const ModalWatcher& watcher : watchers)
        if (watcher.*which) (watcher.*which)();
}
}  // namespace

ModalScope::ModalScope() {
    // Counted first: a box a watcher itself opened must not call it again.
    if (State().open++ != 0) return;
    StartFiltering();
    CallWatchers(&ModalWatcher::opening);
}

ModalScope::~ModalScope() {
    if (--State().open != 0) return;
    State().filter.reset();
    CallWatchers(&ModalWatcher::closed);
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
