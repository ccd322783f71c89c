// A JPEG or PNG picture from the program's resources, scaled to fill the control. Raises
// the pointer events.
#pragma once

#include "ui/native_control.h"

#include <memory>

namespace Gdiplus {
class Bitmap;
}

namespace ui {

class PictureBox final : public NativeControl {
public:
    PictureBox(ControlHost& host, const ControlState& state, int index);
    ~PictureBox() override;
    // Replaces the picture by an image file's (PNG, JPEG...); false when it does not decode.
    bool SetImage(std::span<const std::uint8_t> imageFile);
    // Its picture's size; empty while it has none.
    std::optional<std::string> AccessibleValue() const override;

private:
    WindowTraits Traits() const override { return {}; }
    void Created() override;
    void Paint(HDC dc, const RECT& client) override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM, LPARAM) override { return RaisePointerEvents(message); }

    std::unique_ptr<Gdiplus::Bitmap> image_;
};

}  // namespace ui
