// The program's small pictures: the caption buttons and the program icon, drawn with
// anti-aliased shapes.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "png_writer.h"

namespace artwork {

// Pixels packed 0xAABBGGRR (see png_writer.h), rows from the top.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// Whether a point lies inside a shape. Coordinates are in pixels with (0, 0) at the
// picture's top-left corner, so pixel (i, j) covers [i, i + 1) x [j, j + 1).
using Shape = std::function<bool(double x, double y)>;

Shape Circle(double cx, double cy, double radius);
Shape RoundedRect(double left, double top, double right, double bottom, double radius);
// A line of the given width with round ends.
Shape Stroke(double x0, double y0, double x1, double y1, double width);
// An eight-toothed cog with a round hole, one tooth pointing straight up. The teeth
// narrow from `toothRootWidth` at the body to `toothTipWidth` at `tipRadius`.
Shape Gear(double cx, double cy, double tipRadius, double bodyRadius, double holeRadius,
           double toothRootWidth, double toothTipWidth);
Shape Union(Shape a, Shape b);
Shape Intersection(Shape a, Shape b);
Shape Difference(Shape a, Shape b);

// Paints shapes one over another. Each pixel is sampled on an 8 x 8 grid; samples are
// composited in integers so the same drawing always gives the same bytes.
class Canvas {
public:
    static constexpr int kGrid = 8;

    Canvas(int width, int height);

    // Paints `colour` (straight alpha) over whatever lies under the shape.
    void Fill(const Shape& shape, std::uint32_t colour);

    // Averages the samples of each pixel. Fully transparent pixels come out as 0.
    Image Resolve() const;

private:
    struct Sample {
        // Colour times alpha (0..255 * 255) and alpha times 255, so that one layer of
        // paint is held exactly.
        std::uint32_t r = 0, g = 0, b = 0, a = 0;
    };

    int width_;
    int height_;
    std::vector<Sample> samples_;
};

enum class ButtonState { Normal, Hover, Pressed };

// The single accent colour of the window, #0088FF.
inline constexpr std::uint32_t kAccent = PackRgba(0x00, 0x88, 0xFF);

// The settings button, 29 x 29: a cog.
Image SettingsButton(ButtonState state);

// The close button, 30 x 30: a cross.
Image CloseButton(ButtonState state);

// The program icon at `size` x `size`: a portrait ID photo.
Image ProgramIcon(int size);

// An .ico file with one uncompressed 32-bit BGRA entry (with its AND mask) per image.
// Throws std::invalid_argument for an empty list or a side outside 1..256.
std::vector<std::uint8_t> EncodeIco(std::span<const Image> images);

}  // namespace artwork
