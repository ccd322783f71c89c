#include "app/hotkeys.h"

#include "camera/camera_panel.h"
#include "photo/slots.h"
#include "ui/modal.h"
#include "ui/window.h"

namespace app {


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
    ui::SetModalObservers([&table] { table.Release(); }, [&table] { table.Retake(); });
}

}  // namespace app
