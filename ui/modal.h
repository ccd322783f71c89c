// Every modal box of the program opens through here, so that what the whole program holds
// while no box is open (the system-wide hotkeys) is let go for the box and taken back after:
// Enter then answers the box, and the arrow keys work inside it.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string_view>
#include <utility>

namespace ui {

// While it lives, `opening` is called when the first modal box opens and `closed` when the
// last one has closed; several may watch, each called in the order they began. Boxes open
// on the thread of the program's windows, and so do the watchers run. Move-only: the
// watch ends with its owner.
class ModalWatch {
public:
    ModalWatch() = default;
    ModalWatch(std::function<void()> opening, std::function<void()> closed);
    ~ModalWatch();
    ModalWatch(ModalWatch&& other) noexcept : id_(std::exchange(other.id_, 0)) {}
    ModalWatch& operator=(ModalWatch&& other) noexcept;
    ModalWatch(const ModalWatch&) = delete;
    ModalWatch& operator=(const ModalWatch&) = delete;

private:
    int id_ = 0;
};

// Open while it lives; nests. While one is open, hotkeys already queued and the repeats of
// a key held down since before the box are dropped, so they never answer the box.
class ModalScope {
public:
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};

// MessageBoxW with UTF-8 texts, inside a ModalScope. An empty title leaves the platform's own.
int ShowMessageBox(HWND owner, std::string_view text, std::string_view title, UINT flags);

// How long FindOwnWindow looks by default. A process that shows no window within a few
// seconds is not about to: its box then opens without an owner rather than never.
inline constexpr std::chrono::milliseconds kOwnWindowSearchLimit{5000};

// The first visible top-level window of process `processId`, an owner for a box; null
// when none showed up within `limit`. Pending events of the calling thread are handled
// between passes over the window list, so a window still being created can appear.
HWND FindOwnWindow(DWORD processId, std::chrono::milliseconds limit = kOwnWindowSearchLimit);

}  // namespace ui
