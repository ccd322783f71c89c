#include "ui/pictures.h"

#include "platform/gdiplus.h"
#include "platform/streams.h"
#include "ui/picture_layout.h"

namespace ui {

std::unique_ptr<Gdiplus::Bitmap> DecodePicture(std::span<const std::uint8_t> file) {
    if (file.empty()) return nullptr;
    const platform::ComPtr<IStream> stream = platform::MemoryStream(file);
    if (!stream) return nullptr;
    std::unique_ptr<Gdiplus::Bitmap> decoded(Gdiplus::Bitmap::FromStream(stream.get()));
    if (!decoded || decoded->GetLastStatus() != Gdiplus::Ok) return nullptr;

    // The decoded bitmap keeps reading its stream; copy it into one of its own.
    const INT w = static_cast<INT>(decoded->GetWidth());
    const INT h = static_cast<INT>(decoded->GetHeight());
    auto owned = std::make_unique<Gdiplus::Bitmap>(w, h, PixelFormat32bppPARGB);
    if (owned->GetLastStatus() != Gdiplus::Ok) return nullptr;
    {
        Gdiplus::Graphics g(owned.get());
        g.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
        g.DrawImage(decoded.get(), 0, 0, w, h);
    }
    return owned;
}

void DrawBmpCentred(HDC dc, const RECT& area, std::span<const std::uint8_t> bmpFile) {
    const auto view = ParseBmp(bmpFile);
    if (!view) return;
    const Rect place = CentredPlacement(view->width, view->height, area.right - area.left, area.bottom - area.top);
    if (place.Empty()) return;

    // Our own header from the checked values, so nothing in the file is trusted further.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = view->width;
    info.bmiHeader.biHeight = view->topDown ? -view->height : view->height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(view->bitsPerPixel);
    info.bmiHeader.biCompression = BI_RGB;

    const bool scaled = place.width != view->width || place.height != view->height;
    if (scaled) {
        ::SetStretchBltMode(dc, ::GetDeviceCaps(dc, BITSPIXEL) > 16 ? HALFTONE : COLORONCOLOR);
        ::SetBrushOrgEx(dc, 0, 0, nullptr);
    }
    ::StretchDIBits(dc, area.left + place.left, area.top + place.top, place.width, place.height,
                    0, 0, view->width, view->height, bmpFile.data() + view->pixelOffset, &info,
                    DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace ui
