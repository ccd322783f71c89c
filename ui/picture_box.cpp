#include "ui/picture_box.h"

#include "platform/gdiplus.h"
#include "platform/program_resource.h"
#include "platform/win_text.h"
#include "ui/pictures.h"

namespace ui {

PictureBox::PictureBox(ControlHost& host, const ControlState& state, int index) : NativeControl(host, state, index) {}

PictureBox::~PictureBox() = default;

void PictureBox::Created() {
    if (!state_.row->pictures[0].empty()) SetImage(platform::ProgramResource(platform::Wide(state_.row->pictures[0])));
}

bool PictureBox::SetImage(std::span<const std::uint8_t> imageFile) {
    auto decoded = DecodePicture(imageFile);
    if (!decoded) return false;
    image_ = std::move(decoded);
    ::InvalidateRect(Handle(), nullptr, FALSE);
    return true;
}

void PictureBox::Paint(HDC dc, const RECT& client) {
    ::FillRect(dc, &client, host_.Cache().Brush(state_.row->background));
    if (!image_) return;
    Gdiplus::Graphics g(dc);
    g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);  // no half-pixel seam at the edges
    g.DrawImage(image_.get(), static_cast<INT>(client.left), static_cast<INT>(client.top),
                static_cast<INT>(client.right - client.left), static_cast<INT>(client.bottom - client.top));
}

std::optional<std::string> PictureBox::AccessibleValue() const {
    if (!image_) return std::string();
    return PictureSize(static_cast<int>(image_->GetWidth()), static_cast<int>(image_->GetHeight()));
}

}  // namespace ui
