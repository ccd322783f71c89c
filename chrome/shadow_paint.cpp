#include "chrome/shadow_paint.h"

#include "chrome/shadow_geometry.h"
#include "chrome/shadow_window.h"
#include "platform/dib.h"
#include "platform/owners.h"

#include <cstdlib>

namespace chrome {

namespace {

namespace gdip = Gdiplus::DllExports;
using platform::UniqueGdip;

// The 32-bit DIB section selected into `dc` as a GDI+ bitmap over the same pixels, read as
// premultiplied ARGB: GDI+ then blends straight into the layout UpdateLayeredWindow reads,
// whatever it would assume about a device context. Null for any other kind of surface.
UniqueGdip<Gdiplus::GpBitmap> PremultipliedView(HDC dc) {
    DIBSECTION section{};
    HGDIOBJ bitmap = ::GetCurrentObject(dc, OBJ_BITMAP);
    if (!bitmap || ::GetObjectW(bitmap, sizeof section, &section) != sizeof section) return nullptr;
    if (section.dsBm.bmBitsPixel != 32 || !section.dsBm.bmBits || section.dsBmih.biCompression != BI_RGB) return nullptr;

    const int width = section.dsBm.bmWidth;
    const int height = std::abs(section.dsBmih.biHeight);
    int stride = section.dsBm.bmWidthBytes;
    auto* firstRow = static_cast<BYTE*>(section.dsBm.bmBits);
    if (section.dsBmih.biHeight > 0) {  // bottom-up: the top row is the last in memory
        firstRow += static_cast<std::size_t>(height - 1) * static_cast<std::size_t>(stride);
        stride = -stride;
    }
    Gdiplus::GpBitmap* view = nullptr;
    if (gdip::GdipCreateBitmapFromScan0(width, height, stride, PixelFormat32bppPARGB, firstRow, &view) != Gdiplus::Ok)
        return nullptr;
    return UniqueGdip<Gdiplus::GpBitmap>(view);
}

UniqueGdip<Gdiplus::GpGraphics> GraphicsOn(HDC dc, Gdiplus::GpBitmap* view) {
    Gdiplus::GpGraphics* graphics = nullptr;
    const Gdiplus::Status status =
        view ? gdip::GdipGetImageGraphicsContext(view, &graphics) : gdip::GdipCreateFromHDC(dc, &graphics);
    return UniqueGdip<Gdiplus::GpGraphics>(status == Gdiplus::Ok ? graphics : nullptr);
}

UniqueGdip<Gdiplus::GpPen> OnePixelPen(Gdiplus::ARGB colour) {
    Gdiplus::GpPen* pen = nullptr;
    if (gdip::GdipCreatePen1(colour, 1.0f, Gdiplus::UnitPixel, &pen) != Gdiplus::Ok) return nullptr;
    return UniqueGdip<Gdiplus::GpPen>(pen);
}

void StrokeOutlines(Gdiplus::GpGraphics* graphics, int width, int height, COLORREF colour, int size) {
    for (int outline = 1; outline <= size; ++outline) {
        const OutlineRect r = ShadowOutline(outline, width, height);
        if (r.width <= 0 || r.height <= 0) break;  // a surface narrower than its margins
        const auto pen = OnePixelPen(ColorRefToArgb(colour, OutlineAlpha(outline, size)));
        const auto path = RoundedRectPath(r.x, r.y, r.width, r.height, kShadowCornerRadius);
        if (pen && path) gdip::GdipDrawPath(graphics, pen.get(), path.get());
    }
}

}  // namespace

UniqueGdip<Gdiplus::GpPath> RoundedRectPath(Gdiplus::REAL x, Gdiplus::REAL y, Gdiplus::REAL width,
                                            Gdiplus::REAL height, int radius) {
    Gdiplus::GpPath* raw = nullptr;
    if (gdip::GdipCreatePath(Gdiplus::FillModeAlternate, &raw) != Gdiplus::Ok) return nullptr;
    UniqueGdip<Gdiplus::GpPath> path(raw);
    const Gdiplus::REAL d = CornerDiameter(radius, width, height);
    if (d <= 0) {
        gdip::GdipAddPathRectangle(raw, x, y, width, height);
        return path;
    }
    // Clockwise from the top left; closing the figure draws the four straight edges.
    gdip::GdipAddPathArc(raw, x, y, d, d, 180, 90);
    gdip::GdipAddPathArc(raw, x + width - d, y, d, d, 270, 90);
    gdip::GdipAddPathArc(raw, x + width - d, y + height - d, d, d, 0, 90);
    gdip::GdipAddPathArc(raw, x, y + height - d, d, d, 90, 90);
    gdip::GdipClosePathFigure(raw);
    return path;
}

void PaintShadowRings(HWND shadow, HDC dc, int width, int height) {
    const int size = ShadowSize(shadow);
    if (ShadowOpacityStep(size) == 0) return;  // every outline would be fully transparent

    ::GdiFlush();  // GDI's pending work on the surface lands before GDI+ writes its pixels
    const auto view = PremultipliedView(dc);
    const auto graphics = GraphicsOn(dc, view.get());
    if (!graphics) return;
    // The owner's rectangle stays untouched: nothing of an outline's anti-aliasing may
    // cover the owner.
    gdip::GdipSetClipRectI(graphics.get(), size, size, width - 2 * size, height - 2 * size, Gdiplus::CombineModeExclude);
    gdip::GdipSetSmoothingMode(graphics.get(), Gdiplus::SmoothingModeAntiAlias);
    gdip::GdipSetCompositingQuality(graphics.get(), Gdiplus::CompositingQualityAssumeLinear);
    StrokeOutlines(graphics.get(), width, height, ShadowColour(shadow), size);
}

bool RenderWndShadow(HWND owner, int width, int height) {
    HWND shadow = ShadowWindowOf(owner);
    if (!shadow || width <= 0 || height <= 0) return false;
    const platform::WindowDC windowDc(shadow);
    const platform::UniqueDC memory(::CreateCompatibleDC(windowDc.get()));
    if (!memory) return false;
    // A fresh DIB section's pixels are zero: fully transparent before painting.
    const platform::TopDownDib surface = platform::CreateTopDownDib(memory.get(), width, height);
    if (!surface.bits) return false;
    const platform::Selection selected(memory.get(), surface.bitmap.get());

    PaintShadowRings(shadow, memory.get(), width, height);

    SIZE size{width, height};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return ::UpdateLayeredWindow(shadow, windowDc.get(), nullptr, &size, memory.get(), &origin, 0, &blend, ULW_ALPHA) !=
           FALSE;
}

}  // namespace chrome
