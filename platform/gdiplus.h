// GDI+ for MinGW and MSVC alike (MSVC's headers expect min and max in scope).
#pragma once

#include <windows.h>

#include <algorithm>

namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus

#include <gdiplus.h>

#include <memory>

namespace platform {

// Owners of objects made through GDI+'s flat functions, each deleted by its own function.
// (The C++ wrappers allocate with GdipAlloc, which gives null before GDI+ is started.)
struct GdipDelete {
    void operator()(Gdiplus::GpGraphics* graphics) const noexcept { Gdiplus::DllExports::GdipDeleteGraphics(graphics); }
    void operator()(Gdiplus::GpPen* pen) const noexcept { Gdiplus::DllExports::GdipDeletePen(pen); }
    void operator()(Gdiplus::GpPath* path) const noexcept { Gdiplus::DllExports::GdipDeletePath(path); }
    void operator()(Gdiplus::GpBitmap* bitmap) const noexcept { Gdiplus::DllExports::GdipDisposeImage(bitmap); }
};
template <typename GdipObject>
using UniqueGdip = std::unique_ptr<GdipObject, GdipDelete>;

}  // namespace platform
