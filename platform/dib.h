// A 32-bit DIB section with its top row first: what screen copies are made into.
#pragma once

#include "platform/owners.h"

namespace platform {

struct TopDownDib {
    UniqueBitmap bitmap;
    void* bits = nullptr;  // width x height 32-bit pixels, rows packed; null when creation failed
};

// How such a picture is described to GDI: 32 bits a pixel, no colour table, top row first.
inline BITMAPINFO TopDownBitmapInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

inline TopDownDib CreateTopDownDib(HDC compatibleWith, int width, int height) {
    const BITMAPINFO info = TopDownBitmapInfo(width, height);
    TopDownDib dib;
    dib.bitmap.reset(::CreateDIBSection(compatibleWith, &info, DIB_RGB_COLORS, &dib.bits, nullptr, 0));
    if (!dib.bitmap) dib.bits = nullptr;
    return dib;
}

}  // namespace platform
