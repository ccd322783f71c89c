// The controls the platform must own a window for, one class per kind. The window creates
// them through the kind registry and hands them the messages of their windows; each kind
// paints itself (when its window is of our own class) and turns its messages into the
// Template's events through its ControlHost.
#pragma once

#include "ui/window.h"

#include <memory>
#include <optional>
#include <string>

namespace ui {

// The window class of the native controls that we paint ourselves.
inline constexpr wchar_t kControlClass[] = L"Orvia.Control";

class NativeControl {
public:
    NativeControl(ControlHost& host, const ControlState& state, int index)
        : host_(host), state_(state), index_(index) {}
    virtual ~NativeControl() = default;
    NativeControl(const NativeControl&) = delete;
    NativeControl& operator=(const NativeControl&) = delete;

    // Creates the control's window inside `parent`; its identifier is `id`.
    bool Create(HWND parent, int id, const Rect& place, bool visible);
    HWND Handle() const { return hwnd_; }
    void Forget() { hwnd_ = nullptr; }  // its window has been destroyed

    // Messages of a window of our own class: the hook first, then painting, then the kind.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void SetHook(MessageHook hook);

    // Notifications the platform's own controls send their parent.
    virtual void OnCommand(WORD /*code*/) {}
    virtual void OnScroll() {}
    // WM_NOTIFY from the control's window; a value answers it.
    virtual std::optional<LRESULT> OnNotify(const NMHDR& /*header*/) { return std::nullopt; }
    // A key message for a window inside the control, before the message loop handles it;
    // true when the control took it.
    virtual bool PreTranslate(MSG& /*message*/) { return false; }
    // What assistive tools read: the text the control shows, and its value (a picture's
    // size, a page's address...), nullopt for kinds that have none.
    virtual std::string AccessibleName() const { return state_.caption; }
    virtual std::optional<std::string> AccessibleValue() const { return std::nullopt; }

protected:
    struct WindowTraits {
        const wchar_t* windowClass = kControlClass;
        DWORD style = 0;  // besides WS_CHILD, WS_CLIPSIBLINGS and WS_VISIBLE
        DWORD exStyle = 0;
        bool focusable = false;  // takes the keyboard: always a tab stop
    };
    virtual WindowTraits Traits() const = 0;
    // Runs once the window exists (fonts, ranges...).
    virtual void Created() {}
    virtual void Paint(HDC /*dc*/, const RECT& /*client*/) {}
    // A value answers the message; nullopt leaves it to DefWindowProc.
    virtual std::optional<LRESULT> OnMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {
        return std::nullopt;
    }
    // The left-button and pointer events every pointer-driven kind raises.
    std::optional<LRESULT> RaisePointerEvents(UINT message);
    // A picture's size as assistive tools read it: "295×412".
    static std::string PictureSize(int width, int height);

    ControlHost& host_;
    const ControlState& state_;
    const int index_;

private:
    HWND hwnd_ = nullptr;
    MessageHook hook_;
};

// The kind registry: a new control of `state`'s kind, or null for kinds the window paints.
std::unique_ptr<NativeControl> MakeNativeControl(ControlHost& host, const ControlState& state, int index);

}  // namespace ui
