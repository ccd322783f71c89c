#include "icons.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace artwork {

namespace {

constexpr std::uint32_t kWhite = PackRgba(0xFF, 0xFF, 0xFF);
constexpr std::uint32_t kCloseHover = PackRgba(0xE8, 0x11, 0x23);
constexpr std::uint32_t kClosePressed = PackRgba(0xB0, 0x0D, 0x1A);
// The hover square of the settings button: the accent at a fifth of full strength.
constexpr std::uint32_t kAccentWash = PackRgba(0x00, 0x88, 0xFF, 0x33);

constexpr int kSettingsSide = 29;
constexpr int kCloseSide = 30;
// Both buttons light up as a square with softly rounded corners.
constexpr double kButtonCornerRadius = 5.0;

double Square(double v) { return v * v; }

void PutLittleEndian16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutLittleEndian32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    PutLittleEndian16(out, v);
    PutLittleEndian16(out, v >> 16);
}

// The size of one icon entry: header, BGRA rows, then the AND mask whose rows are
// padded to whole 32-bit words.
std::size_t MaskRowBytes(int width) { return static_cast<std::size_t>((width + 31) / 32) * 4; }

std::size_t IcoEntryBytes(const Image& image) {
    const auto h = static_cast<std::size_t>(image.height);
    return 40 + image.pixels.size() * 4 + MaskRowBytes(image.width) * h;
}

}  // namespace

Shape Circle(double cx, double cy, double radius) {
    return [=](double x, double y) { return Square(x - cx) + Square(y - cy) <= Square(radius); };
}

Shape RoundedRect(double left, double top, double right, double bottom, double radius) {
    return [=](double x, double y) {
        if (x < left || x > right || y < top || y > bottom) return false;
        // Outside the corner squares the rectangle is straight-edged.
        const double dx = std::max({left + radius - x, x - (right - radius), 0.0});
        const double dy = std::max({top + radius - y, y - (bottom - radius), 0.0});
        return Square(dx) + Square(dy) <= Square(radius);
    };
}

Shape Stroke(double x0, double y0, double x1, double y1, double width) {
    const double vx = x1 - x0;
    const double vy = y1 - y0;
    const double lengthSquared = Square(vx) + Square(vy);
    const double halfWidthSquared = Square(width / 2);
    return [=](double x, double y) {
        // The nearest point of the segment, then the distance to it.
        double t = lengthSquared > 0 ? ((x - x0) * vx + (y - y0) * vy) / lengthSquared : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        return Square(x - (x0 + t * vx)) + Square(y - (y0 + t * vy)) <= halfWidthSquared;
    };
}

Shape Gear(double cx, double cy, double tipRadius, double bodyRadius, double holeRadius,
           double toothRootWidth, double toothTipWidth) {
    const double diagonal = std::sqrt(0.5);
    return [=](double x, double y) {
        const double dx = std::abs(x - cx);
        const double dy = std::abs(y - cy);
        const double r2 = Square(dx) + Square(dy);
        if (r2 <= Square(holeRadius)) return false;
        if (r2 <= Square(bodyRadius)) return true;
        // Folded into the eighth of the cog between a straight tooth (along `along`) and a
        // diagonal one; the eight-fold symmetry means these two are all there is to test.
        const double along = std::max(dx, dy);
        const double across = std::min(dx, dy);
        const auto inTooth = [&](double u, double v) {
            if (u > tipRadius) return false;
            const double t = (u - bodyRadius) / (tipRadius - bodyRadius);
            return v <= (toothRootWidth + t * (toothTipWidth - toothRootWidth)) / 2;
        };
        return inTooth(along, across) ||
               inTooth((along + across) * diagonal, (along - across) * diagonal);
    };
}

Shape Union(Shape a, Shape b) {
    return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) || b(x, y); };
}

Shape Intersection(Shape a, Shape b) {
    return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) && b(x, y); };
}

Shape Difference(Shape a, Shape b) {
    return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) && !b(x, y); };
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height),
      samples_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * kGrid * kGrid) {
    if (width <= 0 || height <= 0) throw std::invalid_argument("Canvas: empty size");
}

void Canvas::Fill(const Shape& shape, std::uint32_t colour) {
    const std::uint32_t alpha = AlphaOf(colour);
    const Sample paint{RedOf(colour) * alpha, GreenOf(colour) * alpha, BlueOf(colour) * alpha,
                       alpha * 255};
    const std::uint32_t keep = 255 - alpha;
    const auto over = [keep](std::uint32_t src, std::uint32_t dst) {
        return src + (dst * keep + 127) / 255;
    };
    auto sample = samples_.begin();
    for (int py = 0; py < height_; ++py) {
        for (int px = 0; px < width_; ++px) {
            for (int sy = 0; sy < kGrid; ++sy) {
                const double y = py + (sy + 0.5) / kGrid;
                for (int sx = 0; sx < kGrid; ++sx, ++sample) {
                    if (!shape(px + (sx + 0.5) / kGrid, y)) continue;
                    sample->r = over(paint.r, sample->r);
                    sample->g = over(paint.g, sample->g);
                    sample->b = over(paint.b, sample->b);
                    sample->a = over(paint.a, sample->a);
                }
            }
        }
    }
}

Image Canvas::Resolve() const {
    constexpr std::uint32_t kFullAlphaSum = kGrid * kGrid * 255 * 255;
    Image image{width_, height_, {}};
    image.pixels.reserve(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    auto sample = samples_.begin();
    for (int p = 0; p < width_ * height_; ++p) {
        std::uint32_t r = 0, g = 0, b = 0, a = 0;
        for (int s = 0; s < kGrid * kGrid; ++s, ++sample) {
            r += sample->r;
            g += sample->g;
            b += sample->b;
            a += sample->a;
        }
        const std::uint32_t alpha = (a * 255 + kFullAlphaSum / 2) / kFullAlphaSum;
        if (alpha == 0) {
            image.pixels.push_back(0);
            continue;
        }
        // Back from premultiplied: the colour is the alpha-weighted mean of the samples.
        const auto straight = [a](std::uint32_t c) {
            return static_cast<std::uint8_t>(std::min<std::uint32_t>(255, (c * 255 + a / 2) / a));
        };
        image.pixels.push_back(PackRgba(straight(r), straight(g), straight(b),
                                        static_cast<std::uint8_t>(alpha)));
    }
    return image;
}

Image SettingsButton(ButtonState state) {
    constexpr double kSide = kSettingsSide;
    constexpr double kCentre = kSide / 2;
    Canvas canvas(kSettingsSide, kSettingsSide);
    std::uint32_t gearColour = kAccent;
    if (state == ButtonState::Hover) {
        canvas.Fill(RoundedRect(0, 0, kSide, kSide, kButtonCornerRadius), kAccentWash);
    } else if (state == ButtonState::Pressed) {
        canvas.Fill(RoundedRect(0, 0, kSide, kSide, kButtonCornerRadius), kAccent);
        gearColour = kWhite;
    }
    canvas.Fill(Gear(kCentre, kCentre, 8.3, 6.0, 2.5, 4.2, 3.2), gearColour);
    return canvas.Resolve();
}

Image CloseButton(ButtonState state) {
    constexpr double kSide = kCloseSide;
    constexpr double kCentre = kSide / 2;
    constexpr double kArm = 5.5;  // from the centre to the end of a bar, along each axis
    constexpr double kBarWidth = 1.9;
    Canvas canvas(kCloseSide, kCloseSide);
    std::uint32_t crossColour = kAccent;
    if (state != ButtonState::Normal) {
        canvas.Fill(RoundedRect(0, 0, kSide, kSide, kButtonCornerRadius),
                    state == ButtonState::Hover ? kCloseHover : kClosePressed);
        crossColour = kWhite;
    }
    canvas.Fill(Union(Stroke(kCentre - kArm, kCentre - kArm, kCentre + kArm, kCentre + kArm, kBarWidth),
                      Stroke(kCentre + kArm, kCentre - kArm, kCentre - kArm, kCentre + kArm, kBarWidth)),
                crossColour);
    return canvas.Resolve();
}

Image ProgramIcon(int size) {
    // An upright blue photo, 3 : 4 like an ID photo, with a white head and shoulders.
    // The photo's edges fall on whole pixels at every size the icon is drawn at.
    const double s = size;
    const double left = std::round(s / 8);
    const double right = s - left;
    const double border = std::max(1.0, std::round(s / 16));
    Canvas canvas(size, size);
    canvas.Fill(RoundedRect(left, 0, right, s, s / 8), kAccent);
    const Shape inside = RoundedRect(left + border, border, right - border, s - border, s / 16);
    const Shape head = Circle(s / 2, 0.39 * s, 0.16 * s);
    const Shape shoulders = Circle(s / 2, s, 0.31 * s);
    canvas.Fill(Intersection(inside, Union(head, shoulders)), kWhite);
    return canvas.Resolve();
}

std::vector<std::uint8_t> EncodeIco(std::span<const Image> images) {
    if (images.empty() || images.size() > 0xFFFF) {
        throw std::invalid_argument("EncodeIco: needs between 1 and 65535 images");
    }
    for (const Image& image : images) {
        if (image.width < 1 || image.width > 256 || image.height < 1 || image.height > 256 ||
            image.pixels.size() != static_cast<std::size_t>(image.width) *
                                       static_cast<std::size_t>(image.height)) {
            throw std::invalid_argument("EncodeIco: an image's size is out of range");
        }
    }

    std::vector<std::uint8_t> ico;
    PutLittleEndian16(ico, 0);  // reserved
    PutLittleEndian16(ico, 1);  // an icon, not a cursor
    PutLittleEndian16(ico, static_cast<std::uint32_t>(images.size()));

    std::size_t offset = 6 + 16 * images.size();
    for (const Image& image : images) {
        // A side of 256 is written as 0.
        ico.push_back(static_cast<std::uint8_t>(image.width));
        ico.push_back(static_cast<std::uint8_t>(image.height));
        ico.push_back(0);  // no palette
        ico.push_back(0);  // reserved
        PutLittleEndian16(ico, 1);   // planes
        PutLittleEndian16(ico, 32);  // bits per pixel
        PutLittleEndian32(ico, static_cast<std::uint32_t>(IcoEntryBytes(image)));
        PutLittleEndian32(ico, static_cast<std::uint32_t>(offset));
        offset += IcoEntryBytes(image);
    }

    for (const Image& image : images) {
        const std::size_t pixelBytes = image.pixels.size() * 4;
        const std::size_t maskBytes = MaskRowBytes(image.width) * static_cast<std::size_t>(image.height);
        // BITMAPINFOHEADER; the height counts the colour rows and the mask rows together.
        PutLittleEndian32(ico, 40);
        PutLittleEndian32(ico, static_cast<std::uint32_t>(image.width));
        PutLittleEndian32(ico, static_cast<std::uint32_t>(image.height * 2));
        PutLittleEndian16(ico, 1);   // planes
        PutLittleEndian16(ico, 32);  // bits per pixel
        PutLittleEndian32(ico, 0);   // BI_RGB
        PutLittleEndian32(ico, static_cast<std::uint32_t>(pixelBytes + maskBytes));
        PutLittleEndian32(ico, 0);  // horizontal resolution
        PutLittleEndian32(ico, 0);  // vertical resolution
        PutLittleEndian32(ico, 0);  // colours used
        PutLittleEndian32(ico, 0);  // important colours

        // Bottom row first, each pixel as B, G, R, A.
        for (int y = image.height - 1; y >= 0; --y) {
            for (int x = 0; x < image.width; ++x) {
                // Fully transparent pixels are written black for the mask below.
                const std::uint32_t p = AlphaOf(image.At(x, y)) == 0 ? 0 : image.At(x, y);
                ico.push_back(BlueOf(p));
                ico.push_back(GreenOf(p));
                ico.push_back(RedOf(p));
                ico.push_back(AlphaOf(p));
            }
        }
        // The AND mask, also bottom row first: a set bit lets the screen through. Only
        // fully transparent pixels are set, and those are black in the colour rows, so a
        // reader that ignores alpha still draws the icon cleanly.
        for (int y = image.height - 1; y >= 0; --y) {
            std::vector<std::uint8_t> row(MaskRowBytes(image.width), 0);
            for (int x = 0; x < image.width; ++x) {
                if (AlphaOf(image.At(x, y)) == 0) {
                    row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
                }
            }
            ico.insert(ico.end(), row.begin(), row.end());
        }
    }
    return ico;
}

}  // namespace artwork
