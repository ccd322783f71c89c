// Handles to the controls of a Template window. A handle is what code holds instead of a
// control's name: Window::Get resolves a ControlId into the handle of its kind, so list
// operations exist only on list boxes, pictures only on drawing boards.
#pragma once

#include "ui/control_id.h"
#include "ui/kind_traits.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class Window;
class NativeControl;

// Sees a window's messages before the engine does. A value consumes the message and is
// its result; nullopt passes it on (to the next hook, then to the engine).
using MessageHook = std::function<std::optional<LRESULT>(HWND window, UINT message, WPARAM wParam, LPARAM lParam)>;

// Any control. An empty handle (a name the window does not know) does nothing.
class Control {
public:
    Control() = default;
    Control(Window* window, int index) : window_(window), index_(index) {}
    explicit operator bool() const { return window_ && index_ >= 0; }

    std::string Caption() const;
    void SetCaption(std::string_view utf8);
    Colour TextColour() const;
    void SetTextColour(Colour colour);
    void SetOutline(Colour colour, int width);
    bool IsVisible() const;  // the control's own flag
    bool IsShown() const;    // and every container's
    void SetVisible(bool visible);
    Rect Geometry() const;   // relative to the parent
    void SetGeometry(const Rect& rect);
    HWND Handle() const;     // null for controls the window paints itself
    HWND WindowHandle() const;  // the top-level window that holds the control
    void Focus();

    // Lets a module take over a native control's messages (painting among them) while
    // the hook is set; an empty hook gives them back to the engine.
    void SetMessageHook(MessageHook hook);

protected:
    NativeControl* Native() const;

private:
    Window* window_ = nullptr;
    int index_ = -1;
};

class DrawingBoardHandle : public Control {
public:
    using Control::Control;
    void SetPicture(std::vector<std::uint8_t> bmpFile);
    const std::vector<std::uint8_t>& Picture() const;
};

class ListBoxHandle : public Control {
public:
    using Control::Control;
    void AddItem(std::string_view utf8);
    int Selection() const;
    void SetSelection(int index);
};

class SliderHandle : public Control {
public:
    using Control::Control;
    int Position() const;
    // Moves the thumb and, when the position changes, raises PositionChanged as a move by
    // the pointer or the keys does.
    void MoveTo(int position);
};

class HtmlViewerHandle : public Control {
public:
    using Control::Control;
    // Loads a page (a file path or an address); DocumentReady follows.
    void Navigate(std::string_view pathOrAddress);
};

class ReportListHandle : public Control {
public:
    using Control::Control;
    // Every row's cells (UTF-8), in the Template's column order.
    void SetRows(std::vector<std::vector<std::string>> rows);
    int Selection() const;  // -1: none
    void Select(int row);   // and scrolled into view; -1 selects none
};

// The handle type of each kind.
template <ControlKind Kind>
struct HandleFor {
    using type = Control;
};
template <>
struct HandleFor<ControlKind::ReportList> {
    using type = ReportListHandle;
};
template <>
struct HandleFor<ControlKind::DrawingBoard> {
    using type = DrawingBoardHandle;
};
template <>
struct HandleFor<ControlKind::ListBox> {
    using type = ListBoxHandle;
};
template <>
struct HandleFor<ControlKind::Slider> {
    using type = SliderHandle;
};
template <>
struct HandleFor<ControlKind::HtmlViewer> {
    using type = HtmlViewerHandle;
};

}  // namespace ui
