// An image-only button: a picture each for normal, hover and pressed, blended over what
// lies beneath it. Clicked when the press is released over the button.
#pragma once

#include "ui/native_control.h"

#include <array>
#include <memory>

namespace Gdiplus {
class Bitmap;
}

namespace ui {

class GraphicButton final : public NativeControl {
public:
    GraphicButton(ControlHost& host, const ControlState& state, int index);
    ~GraphicButton() override;

private:
    WindowTraits Traits() const override { return {}; }
    void Paint(HDC dc, const RECT& client) override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    bool hover_ = false;
    bool pressed_ = false;
    bool decoded_ = false;
    std::array<std::unique_ptr<Gdiplus::Bitmap>, 3> images_;
};

}  // namespace ui
