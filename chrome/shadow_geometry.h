// The numbers behind a window's drop shadow: where the shadow window sits around its
// owner, the one-pixel outlines painted into it, how opaque each one is, and the colour
// conversion from a Windows colour value to the ARGB GDI+ draws with. No windows.h here.
//
// For a shadow of size s the shadow window exceeds its owner by s pixels on every side and
// carries s outlines; outline 1 runs along its outer edge and is the faintest, outline s
// runs just outside the owner and is the strongest.
#pragma once

#include <cstdint>
#include <optional>

namespace chrome {

inline constexpr int kShadowCornerRadius = 4;
inline constexpr int kShadowCornerRadiusLimit = 100;

// Alpha added per outline: 100 / s up to size 8, 150 / s above, truncated; 0 for sizes
// below 1 and above 150, where nothing is painted.
int ShadowOpacityStep(int size);

// Alpha of outline i (1 = outermost) of a shadow of the given size: step × i.
int OutlineAlpha(int outline, int size);

struct ShadowPlacement {
    int left = 0;    // screen coordinates of the shadow window
    int top = 0;
    int width = 0;   // W and H: the shadow window's and its picture's size
    int height = 0;
};

// The shadow window around an owner's screen rectangle. Nothing for an owner with no width
// or height (the shadow then stays as it was), a size below 1, or numbers too big for a
// window or for a 32-bit picture's byte count.
std::optional<ShadowPlacement> PlaceShadow(int ownerLeft, int ownerTop, int ownerRight, int ownerBottom, int size);

struct OutlineRect {
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
};

// Outline i (1 … s) in a W × H shadow picture: its stroke centre line runs through the
// pixel centres of column/row i − 1 and column W − i / row H − i.
OutlineRect ShadowOutline(int outline, int pictureWidth, int pictureHeight);

// Side of the square each rounded corner's arc is drawn in: twice the radius (the radius
// capped at 100), but never more than the outline is wide or high, so the arcs of a small
// outline meet instead of crossing over. 0 means a plain rectangle.
float CornerDiameter(int radius, float width, float height);

// 0x00BBGGRR (the top byte is ignored) with an alpha of 0–255 (clamped) as 0xAARRGGBB.
std::uint32_t ColorRefToArgb(std::uint32_t colour, int alpha);

}  // namespace chrome
