#include "app/hotkeys.h"

#include "photo/slots.h"
#include "ui/modal.h"
#include "ui/window.h"

#include <string_view>

namespace app {

namespace {
constexpr std::string_view kPreviewBox = "外形框_视频";
constexpr int kNudgeStep = 10;

HotkeyTable& ProgramTable() {
    static HotkeyTable table;
    return table;
}

void Nudge(ui::Window& window, int dx, int dy) {
    ui::Control box = window[kPreviewBox];
    ui::Rect r = box.Geometry();
    r.left += dx;
    r.top += dy;
    box.SetGeometry(r);
}

// The table outlives windows: a handler finds its window again, or does nothing.
HotkeyHandler On(HWND window, void (*routine)(ui::Window&)) {
    return [window, routine] {
        if (ui::Window* w = ui::Window::FromHandle(window)) routine(*w);
    };
}
}  // namespace

// ---- the table ------------------------------------------------------------------------

HotkeyTable::~HotkeyTable() {
    Release();
    if (ui::Window* w = ui::Window::FromHandle(hookWindow_)) w->RemoveMessageHook(hookId_);
}

bool HotkeyTable::Register(HWND window, UINT modifiers, UINT virtualKey, HotkeyHandler handler, int identifier) {
    for (Record& r : records_) {
        if (r.identifier != identifier) continue;
        if (r.held) ::UnregisterHotKey(r.window, r.identifier);
        r.held = false;
        r.latest = false;
    }
    if (identifier == 0) return false;
    if (!::RegisterHotKey(window, identifier, modifiers, virtualKey)) return false;
    records_.push_back({window, identifier, std::move(handler), modifiers, virtualKey});
    if (records_.size() == 1) InstallHook(window);
    return true;
}

void HotkeyTable::InstallHook(HWND window) {
    ui::Window* w = ui::Window::FromHandle(window);
    if (!w) return;
    hookWindow_ = window;
    hookId_ = w->AddMessageHook([this](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return Dispatch(hwnd, message, wParam, lParam);
    });
}

std::optional<LRESULT> HotkeyTable::Dispatch(HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_HOTKEY) return std::nullopt;
    for (const Record& r : records_) {
        if (static_cast<WPARAM>(r.identifier) != wParam) continue;
        const HotkeyHandler handler = r.handler;  // it may register more keys
        if (handler) handler();
        return 0;
    }
    return std::nullopt;
}

void HotkeyTable::Release() {
    for (Record& r : records_) {
        if (r.held) ::UnregisterHotKey(r.window, r.identifier);
        r.held = false;
    }
}

void HotkeyTable::Retake() {
    for (Record& r : records_)
        if (r.latest && !r.held) r.held = ::RegisterHotKey(r.window, r.identifier, r.modifiers, r.virtualKey) != FALSE;
}

// ---- the program's keys ---------------------------------------------------------------

bool RegisterGlobalHotkey(HWND window, UINT modifiers, UINT virtualKey, HotkeyHandler handler, int identifier) {
    return ProgramTable().Register(window, modifiers, virtualKey, std::move(handler), identifier);
}

std::optional<LRESULT> HotkeyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ProgramTable().Dispatch(window, message, wParam, lParam);
}

void ReleaseGlobalHotkeys() { ProgramTable().Release(); }
void RetakeGlobalHotkeys() { ProgramTable().Retake(); }

void NudgePreviewLeft(ui::Window& window) { Nudge(window, -kNudgeStep, 0); }
void NudgePreviewRight(ui::Window& window) { Nudge(window, kNudgeStep, 0); }
void NudgePreviewUp(ui::Window& window) { Nudge(window, 0, -kNudgeStep); }
void NudgePreviewDown(ui::Window& window) { Nudge(window, 0, kNudgeStep); }

void RegisterStartupHotkeys(ui::Window& window) {
    struct Key {
        UINT code;
        void (*routine)(ui::Window&);
    };
    static constexpr Key kKeys[] = {
        {VK_LEFT, &NudgePreviewLeft}, {VK_RIGHT, &NudgePreviewRight}, {VK_UP, &NudgePreviewUp},
        {VK_DOWN, &NudgePreviewDown}, {VK_RETURN, &photo::Capture},
    };
    // A key another program already holds simply does nothing here.
    for (const Key& key : kKeys)
        RegisterGlobalHotkey(window.Handle(), 0, key.code, On(window.Handle(), key.routine), static_cast<int>(key.code));
    ui::SetModalObservers(&ReleaseGlobalHotkeys, &RetakeGlobalHotkeys);
}

}  // namespace app
