// The program's system-wide hotkeys: the four arrow keys nudge the preview, Enter captures,
// whichever window has the keyboard. The platform delivers a hotkey as WM_HOTKEY to the
// window it was registered on; a table says what each one runs. While a modal box of the
// program is open the keys are let go, so they reach the box.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

namespace camera {
class CameraPanel;
}
namespace photo {
class PhotoSlots;
}

namespace app {

using HotkeyHandler = std::function<void()>;

// Registrations and what they run, one record for each identifier. The window of the first
// registration gets a message hook that dispatches WM_HOTKEY (the window must be a Template
// window). The Main window's desk owns the program's table, and lets its keys go while a
// box is open.
class HotkeyTable {
public:
    HotkeyTable() = default;
    ~HotkeyTable();  // lets go of its keys and its hook
    HotkeyTable(const HotkeyTable&) = delete;
    HotkeyTable& operator=(const HotkeyTable&) = delete;

    // Lets go of the key and handler the identifier had, then registers (modifiers: MOD_
    // flags) and records the new ones. False, with the identifier then unrecorded, for
    // identifier 0 or when the platform refuses (another window holds the key).
    bool Register(HWND window, UINT modifiers, UINT virtualKey, HotkeyHandler handler, int identifier);

    // WM_HOTKEY runs the record of the identifier in wParam and is consumed; a WM_HOTKEY
    // without a record and every other message pass on (nullopt).
    std::optional<LRESULT> Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Lets go of every key the table holds; the records stay.
    void Release();
    // Registers again each record that is not held; a key that another program took
    // meanwhile stays without effect until the next try.
    void Retake();

    std::size_t Size() const { return records_.size(); }

private:
    struct Record {
        HWND window;
        int identifier;
        HotkeyHandler handler;
        UINT modifiers;
        UINT virtualKey;
        bool held = true;    // registered with the platform now
    };
    void InstallHook(HWND window);

    std::vector<Record> records_;
    HWND hookWindow_ = nullptr;
    int hookId_ = 0;
};

// The desk's keys on the Main window, without modifiers, identifier = key code: Left, Right,
// Up, Down nudge the preview by 10 pixels, Enter captures. A key another program holds
// simply does nothing here.
void RegisterDeskHotkeys(HotkeyTable& table, HWND window, camera::CameraPanel& camera, photo::PhotoSlots& photos);

}  // namespace app
