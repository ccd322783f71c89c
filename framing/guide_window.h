// The window the guide is drawn in: a pop-up of its own over the preview frame, owned by the
// Main window so that it stays above it and goes with it. It is layered (transparent where
// the outline is not) and lets every click through to the preview beneath, so dragging and
// clicking the preview work as without it. Being no child of the frame, it is never part of
// what a capture renders; it also draws nothing when asked to print itself.
#pragma once

#include "framing/guide_geometry.h"
#include "platform/owners.h"
#include "ui/paint.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace framing {

class GuideWindow {
public:
    // Messages the window gets that are not its own (timers, posted findings) go to `other`:
    // the guide's owner uses the window as its message sink.
    using OtherMessages = std::function<std::optional<LRESULT>(UINT message, WPARAM wParam, LPARAM lParam)>;

    GuideWindow() = default;
    ~GuideWindow();
    GuideWindow(const GuideWindow&) = delete;
    GuideWindow& operator=(const GuideWindow&) = delete;

    // Creates the hidden window, owned by `owner`; false when it could not be.
    bool Create(HWND owner, OtherMessages other);
    HWND Handle() const { return window_.get(); }

    // Shows the guide over `area` (screen coordinates; the outline is scaled to its size) in
    // `colour`, or moves and recolours it when it shows already.
    void Show(const RECT& area, GuideColour colour);
    void Hide();
    bool IsShown() const { return shown_; }
    // Raises the guide again over its owner once the messages waiting now are handled: for
    // when the owner has just been activated (the guide watches focus moves inside it itself).
    void ClimbSoon();

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void CALLBACK FocusMoved(HWINEVENTHOOK, DWORD, HWND focused, LONG, LONG, DWORD, DWORD);
    bool Draw(const RECT& area, GuideColour colour);
    // Writes "看不清头顶" across the bottom of the frame into the guide's premultiplied pixels.
    void SayCrownUnclear(int width, int height, std::uint32_t rgb, std::uint32_t* pixels);
    void ClimbAboveOwner();

    platform::UniqueWindow window_;
    platform::UniqueWinEventHook focusHook_;
    OtherMessages other_;
    bool shown_ = false;
    RECT drawnArea_{};  // what the layered picture shows now
    GuideColour drawnColour_ = GuideColour::Grey;
    int maskWidth_ = 0, maskHeight_ = 0;
    std::vector<std::uint8_t> mask_;
    ui::GdiCache fonts_;
};

}  // namespace framing
