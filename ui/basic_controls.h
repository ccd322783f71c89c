// The plain native kinds: drawing board, a shape box with a window of its own, push
// button, list box and slider.
#pragma once

#include "ui/native_control.h"

#include <vector>

namespace ui {

// A bordered surface showing a BMP picture the program puts in; takes the focus.
class DrawingBoard final : public NativeControl {
public:
    using NativeControl::NativeControl;
    void SetPicture(std::vector<std::uint8_t> bmpFile);
    const std::vector<std::uint8_t>& Picture() const { return picture_; }
    // Its picture's size; empty while it shows none.
    std::optional<std::string> AccessibleValue() const override;

private:
    WindowTraits Traits() const override { return {.style = WS_BORDER}; }
    void Paint(HDC dc, const RECT& client) override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    std::vector<std::uint8_t> picture_;
};

// A shape box that must be a window (the preview frame and its surface).
class WindowedShapeBox final : public NativeControl {
public:
    using NativeControl::NativeControl;

private:
    WindowTraits Traits() const override { return {.style = WS_CLIPCHILDREN}; }
    void Paint(HDC dc, const RECT& client) override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM, LPARAM) override { return RaisePointerEvents(message); }
};

class PushButton final : public NativeControl {
public:
    using NativeControl::NativeControl;
    void OnCommand(WORD code) override;

private:
    WindowTraits Traits() const override { return {.windowClass = L"BUTTON", .style = BS_PUSHBUTTON, .focusable = true}; }
    void Created() override;
};

class ListBox final : public NativeControl {
public:
    using NativeControl::NativeControl;
    void OnCommand(WORD code) override;
    // The selected entry.
    std::optional<std::string> AccessibleValue() const override;

private:
    WindowTraits Traits() const override;
    void Created() override;
};

class Slider final : public NativeControl {
public:
    using NativeControl::NativeControl;
    void OnScroll() override;
    // The position.
    std::optional<std::string> AccessibleValue() const override;

private:
    WindowTraits Traits() const override;
    void Created() override;

    int lastPosition_ = 0;
};

}  // namespace ui
