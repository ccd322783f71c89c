// The controls the platform must own a window for, one class per kind. The window creates
// them through the kind registry and hands them the messages of their windows; each kind
// paints itself (when its window is of our own class) and turns its messages into the
// Template's events through its ControlHost.
#pragma once

#include "ui/control_report.h"
#include "ui/window.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

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
    // A key message for a window inside the control, before the message loop handles it;
    // true when the control took it.
    virtual bool PreTranslate(MSG& /*message*/) { return false; }
    // What a test asking about the control learns beyond its Template state.
    virtual void Describe(ReportFields& fields) const;

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
    // A picture's size and a hash that tells pictures apart, without sending it whole.
    static void DescribePicture(ReportFields& fields, std::span<const std::uint8_t> picture);

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
