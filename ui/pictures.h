// Pictures carried as image files in the executable's resources, decoded through GDI+.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace Gdiplus {
class Bitmap;
}

namespace ui {

// Decodes an image file (PNG, JPEG, BMP...) into a premultiplied 32-bit bitmap that no
// longer depends on the bytes. GDI+ must be started. Null when the bytes do not decode.
std::unique_ptr<Gdiplus::Bitmap> DecodePicture(std::span<const std::uint8_t> file);

// Draws a BMP file's picture with centred placement inside `area`.
void DrawBmpCentred(HDC dc, const RECT& area, std::span<const std::uint8_t> bmpFile);

}  // namespace ui
