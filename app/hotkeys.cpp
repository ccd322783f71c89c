#include "app/hotkeys.h"

#include "camera/camera_panel.h"
#include "photo/slots.h"
#include "ui/window.h"

#include <algorithm>

namespace app {

// ---- the table ------------------------------------------------------------------------

HotkeyTable::~HotkeyTable() {
    Release();
    if (ui::Window* w = ui::Window::FromHandle(hookWindow_)) w->RemoveMessageHook(hookId_);
}

bool HotkeyTable::Register(HWND window, UINT modifiers, UINT virtualKey, HotkeyHandler handler, int identifier) {
    // The identifier's earlier key is let go first, even when the new one is then refused.
    std::erase_if(records_, [identifier](const Record& r) {
        if (r.identifier != identifier) return false;
        if (r.held) ::UnregisterHotKey(r.window, r.identifier);
        return true;
    });
    if (identifier == 0) return false;
    if (!::RegisterHotKey(window, identifier, modifiers, virtualKey)) return false;
    records_.push_back({window, identifier, std::move(handler), modifiers, virtualKey});
    if (!hookWindow_) InstallHook(window);
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
    const auto record = std::find_if(records_.begin(), records_.end(),
                                     [wParam](const Record& r) { return static_cast<WPARAM>(r.identifier) == wParam; });
    if (record == records_.end()) return std::nullopt;
    const HotkeyHandler handler = record->handler;  // it may register more keys
    if (handler) handler();
    return 0;
}

void HotkeyTable::Release() {
    for (Record& r : records_) {
        if (r.held) ::UnregisterHotKey(r.window, r.identifier);
        r.held = false;
    }
}

void HotkeyTable::Retake() {
    for (Record& r : records_)
        if (!r.held) r.held = ::RegisterHotKey(r.window, r.identifier, r.modifiers, r.virtualKey) != FALSE;
}

// ---- the desk's keys -------------------------------------------------------------------

void RegisterDeskHotkeys(HotkeyTable& table, HWND window, camera::CameraPanel& camera, photo::PhotoSlots& photos) {
    constexpr int kNudgeStep = 10;
    const struct {
        UINT code;
        HotkeyHandler run;
    } keys[] = {
        {VK_LEFT, [&camera] { camera.Nudge(-kNudgeStep, 0); }},
        {VK_RIGHT, [&camera] { camera.Nudge(kNudgeStep, 0); }},
        {VK_UP, [&camera] { camera.Nudge(0, -kNudgeStep); }},
        {VK_DOWN, [&camera] { camera.Nudge(0, kNudgeStep); }},
        {VK_RETURN, [&photos] { photos.CaptureForOperator(); }},
    };
    for (const auto& key : keys) table.Register(window, 0, key.code, key.run, static_cast<int>(key.code));
}

}  // namespace app
