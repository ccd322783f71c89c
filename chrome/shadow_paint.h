// The drop shadow's picture: one-pixel rounded outlines painted with GDI+ into a 32-bit
// surface, their opacity rising towards the owner's edge, the owner's own area left fully
// transparent, and the result handed to the layered shadow window.
#pragma once

#include "platform/gdiplus.h"

namespace chrome {

// One outline: a closed rounded rectangle with the given corner radius (a plain rectangle
// for a radius of 0 or less). Null when GDI+ cannot make a path (not started).
platform::UniqueGdip<Gdiplus::GpPath> RoundedRectPath(Gdiplus::REAL x, Gdiplus::REAL y, Gdiplus::REAL width,
                                                      Gdiplus::REAL height, int radius);

// Paints the outlines of `shadow` (its colour and size properties) into the W × H surface
// selected into `dc`. A 32-bit DIB section there receives premultiplied alpha, as
// UpdateLayeredWindow wants it; the owner's area inside the margin is never touched.
void PaintShadowRings(HWND shadow, HDC dc, int width, int height);

// Paints the owner's shadow anew on a fresh, fully transparent W × H surface and hands it,
// with its per-pixel alpha, to the shadow window in its present place. False when no
// picture reached the window.
bool RenderWndShadow(HWND owner, int width, int height);

}  // namespace chrome
