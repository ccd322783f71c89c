// The drop shadow of a borderless window (the owner): a click-through, per-pixel-alpha
// layered window (the shadow window) owned by it, exceeding it by the shadow size on every
// side, transparent over the owner itself, and following it as it moves, resizes, hides,
// shows, minimises and maximises. chrome::SetWndShadow (chrome.h) attaches, updates and
// removes it; the functions here are its parts.
//
// Nothing is kept in the module: everything lives in window properties on the two windows,
// so any number of owners can carry a shadow at once. Everything runs on the thread that
// owns the owner window.
#pragma once

#include <windows.h>

#include <optional>

namespace chrome {

// On the owner: its shadow window, and the window procedure it had before the shadow's.
inline constexpr wchar_t kShadowWindowProperty[] = L"Halo.WndShadow";
inline constexpr wchar_t kShadowProcProperty[] = L"Halo.WndShadow.Proc";
// On the shadow window: the colour (0x00BBGGRR) and the size in pixels.
inline constexpr wchar_t kShadowColourProperty[] = L"Halo.WndShadow.Color";
inline constexpr wchar_t kShadowSizeProperty[] = L"Halo.WndShadow.Size";

inline constexpr wchar_t kShadowClassName[] = L"Halo.Shadow";

// The owner's shadow window if it has a live one: a "Halo.Shadow" window this owner owns
// (a stale handle in the property may meanwhile name some other window). Null otherwise.
HWND ShadowWindowOf(HWND owner);

COLORREF ShadowColour(HWND shadow);
int ShadowSize(HWND shadow);

// The owner's shadow window, created when it has none (with no size and no picture until
// the first synchronisation places and paints it). Null when the class cannot be
// registered or the window not created.
HWND EnsureShadowWindow(HWND owner);

enum class ShadowPicture {
    KeepIfOnlyMoved,  // an owner that only moved takes its picture along: nothing is painted
    Renew,            // colour or size changed: paint anew in any case
};

// Hides the shadow window while the owner is hidden (or `visible` says it is about to
// be), minimised or maximised; otherwise places it around the owner, paints it as needed
// and shows it without activating it. An owner with no width or height leaves the shadow
// as it was.
void SyncWndShadow(HWND owner, std::optional<bool> visible = std::nullopt,
                   ShadowPicture picture = ShadowPicture::KeepIfOnlyMoved);

// The owner's window procedure while it has a shadow: passes every message on to the
// procedure it replaced, then lets the shadow follow moves, size changes and showing.
LRESULT CALLBACK WndShadowOwnerProc(HWND owner, UINT message, WPARAM wParam, LPARAM lParam);

// Destroys the owner's shadow window, removes the properties and gives the owner its
// previous window procedure back where that cuts no later subclass off.
void RemoveWndShadow(HWND owner);

// Subclasses the owner with WndShadowOwnerProc unless that procedure is already in its
// chain. False when the platform refuses.
bool FollowOwner(HWND owner);

}  // namespace chrome
