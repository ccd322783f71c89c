// Looking at system-wide hotkeys from outside a table: who holds a key, and a window that
// takes one the way another program would.
#pragma once

#include "platform/owners.h"

#include <windows.h>

namespace probe {

using UniqueWindow = platform::Unique<platform::NullTraits<HWND, ::DestroyWindow>>;

// Keys nobody on the test desktop uses.
inline constexpr UINT kMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;

inline UniqueWindow PlainWindow() {
    return UniqueWindow(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
}

// Only a key nobody holds can be registered by another window.
inline bool KeyIsFree(UINT modifiers, UINT virtualKey) {
    constexpr int kProbe = 0x5EED;
    UniqueWindow window = PlainWindow();
    if (!::RegisterHotKey(window.get(), kProbe, modifiers, virtualKey)) return false;
    ::UnregisterHotKey(window.get(), kProbe);
    return true;
}

// Holds a key while it lives, as another program would.
class KeyHolder {
public:
    KeyHolder(UINT modifiers, UINT virtualKey)
        : window_(PlainWindow()), held_(::RegisterHotKey(window_.get(), 1, modifiers, virtualKey) != FALSE) {}
    ~KeyHolder() { LetGo(); }
    KeyHolder(const KeyHolder&) = delete;
    KeyHolder& operator=(const KeyHolder&) = delete;

    bool Holds() const { return held_; }
    void LetGo() {
        if (held_) ::UnregisterHotKey(window_.get(), 1);
        held_ = false;
    }

private:
    UniqueWindow window_;
    bool held_;
};

}  // namespace probe
