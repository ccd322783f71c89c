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

namespace ui {
class Window;
}

namespace app {

using HotkeyHandler = std::function<void()>;

// Registrations and what they run, in the order made; records are never removed. The
// first record's window gets a message hook that dispatches WM_HOTKEY (the window must be
// a Template window). The program has one table, behind the functions below.
class HotkeyTable {
public:
    HotkeyTable() = default;
    ~HotkeyTable();  // lets go of its keys and its hook
    HotkeyTable(const HotkeyTable&) = delete;
    HotkeyTable& operator=(const HotkeyTable&) = delete;

    // Takes back the key of every earlier record with this identifier, then registers
    // (modifiers: MOD_ flags) and appends a record. False, with nothing appended, for
    // identifier 0 or when the platform refuses (another window holds the key).
    bool Register(HWND window, UINT modifiers, UINT virtualKey, HotkeyHandler handler, int identifier);

    // WM_HOTKEY runs the first record with the identifier in wParam and is consumed; a
    // WM_HOTKEY without a record and every other message pass on (nullopt).
    std::optional<LRESULT> Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Lets go of every key the table holds; the records stay.
    void Release();
    // Registers again the latest record of each identifier that is not held; a key that
    // another program took meanwhile stays without effect until the next try.
    void Retake();

    std::size_t Size() const { return records_.size(); }

private:
    struct Record {
        HWND window;
        int identifier;
        HotkeyHandler handler;
        UINT modifiers;
        UINT virtualKey;
        bool latest = true;  // no later record has the identifier
        bool held = true;    // registered with the platform now
    };
    void InstallHook(HWND window);

    std::vector<Record> records_;
    HWND hookWindow_ = nullptr;
    int hookId_ = 0;
};

// The program's table.
bool RegisterGlobalHotkey(HWND window, UINT modifiers, UINT virtualKey, HotkeyHandler handler, int identifier);
std::optional<LRESULT> HotkeyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void ReleaseGlobalHotkeys();
void RetakeGlobalHotkeys();

// Move the preview box `外形框_视频` inside its frame by 10 pixels; no bounds.
void NudgePreviewLeft(ui::Window& window);
void NudgePreviewRight(ui::Window& window);
void NudgePreviewUp(ui::Window& window);
void NudgePreviewDown(ui::Window& window);

// On the Main window, without modifiers, identifier = key code: Left, Right, Up, Down
// (nudges), Enter (capture). Also lets the keys go while a modal box is open.
void RegisterStartupHotkeys(ui::Window& window);

}  // namespace app
