#include "yuv_convert.h"

#include "simd.h"

#include <algorithm>
#include <cstring>

namespace vedio {

namespace {

// BT.601 limited range: 255/219 for luma, 255/224 * (1.402, 0.344, 0.714, 1.772) for chroma;
// each times 2^13. A sample shifted left by 8 times one of these, keeping the high 16 bits,
// is the term in 1/32 of a level: what 16-bit vector lanes compute in one multiply.
constexpr int kLuma = 9539;     // 1.164383
constexpr int kRedV = 13075;    // 1.596027
constexpr int kGreenU = 3209;   // 0.391762
constexpr int kGreenV = 6660;   // 0.812968
constexpr int kBlueU = 16525;   // 2.017232
constexpr int kFractionBits = 5;
// Takes off luma's black level (16 x 1.164383 x 32 = 596) and adds half a level to round.
constexpr int kBias = (1 << (kFractionBits - 1)) - 596;

// The high half of a 16 x 16-bit product, as the vector multiply gives it (floored).
constexpr int High(int sample, int coefficient) { return (sample * 256 * coefficient) >> 16; }

std::uint8_t Clamp(int value) { return static_cast<std::uint8_t>(std::clamp(value >> kFractionBits, 0, 255)); }

// Where row `row`'s samples lie in a frame of each layout.
struct RowPlanes {
    const std::uint8_t* luma = nullptr;   // YUY2: the packed row
    const std::uint8_t* chroma = nullptr; // NV12: U V pairs; I420: U
    const std::uint8_t* chromaV = nullptr;  // I420 only
};

RowPlanes Locate(const SourceFrame& frame, int row) {
    RowPlanes planes;
    planes.luma = frame.pixels + static_cast<std::ptrdiff_t>(row) * frame.stride;
    const std::uint8_t* afterLuma = frame.pixels + frame.stride * frame.height;
    const int chromaRow = row / 2;
    if (frame.format == PixelFormat::Nv12) {
        planes.chroma = afterLuma + chromaRow * frame.stride;
    } else if (frame.format == PixelFormat::I420) {
        const std::ptrdiff_t chromaStride = I420ChromaStride(frame.stride);
        planes.chroma = afterLuma + chromaRow * chromaStride;
        planes.chromaV = afterLuma + chromaStride * ChromaHeight(frame.height) + chromaRow * chromaStride;
    }
    return planes;
}

void StorePixel(int y, int u, int v, std::uint8_t* out) {
    const auto bgr = YuvToBgr(y, u, v);
    out[0] = bgr[0];
    out[1] = bgr[1];
    out[2] = bgr[2];
    out[3] = 0xFF;
}

void ScalarPixels(PixelFormat format, const RowPlanes& planes, int from, int width, std::uint8_t* out) {
    for (int x = from; x < width; ++x) {
        const int pair = x / 2;
        int y = 0, u = 0, v = 0;
        if (format == PixelFormat::Yuy2) {
            y = planes.luma[2 * x];
            u = planes.luma[4 * pair + 1];
            v = planes.luma[4 * pair + 3];
        } else if (format == PixelFormat::Nv12) {
            y = planes.luma[x];
            u = planes.chroma[2 * pair];
            v = planes.chroma[2 * pair + 1];
        } else {
            y = planes.luma[x];
            u = planes.chroma[pair];
            v = planes.chromaV[pair];
        }
        StorePixel(y, u, v, out + 4 * x);
    }
}

#ifdef VEDIO_SSE2
// Eight pixels from their luma, and their chroma as U0 V0 U1 V1 U2 V2 U3 V3 in 16-bit lanes
// (each pair of pixels shares one U and one V), to 32 bytes of BGRX.
VEDIO_SSE2_TARGET inline void EightPixels(__m128i luma, __m128i chromaPairs, std::uint8_t* out) {
    const __m128i centre = _mm_set1_epi16(128);
    const __m128i bias = _mm_set1_epi16(static_cast<short>(kBias));
    // Spread each pair's U and V over both of its pixels.
    __m128i u = _mm_shufflelo_epi16(chromaPairs, _MM_SHUFFLE(2, 2, 0, 0));
    u = _mm_shufflehi_epi16(u, _MM_SHUFFLE(2, 2, 0, 0));
    __m128i v = _mm_shufflelo_epi16(chromaPairs, _MM_SHUFFLE(3, 3, 1, 1));
    v = _mm_shufflehi_epi16(v, _MM_SHUFFLE(3, 3, 1, 1));
    u = _mm_slli_epi16(_mm_sub_epi16(u, centre), 8);
    v = _mm_slli_epi16(_mm_sub_epi16(v, centre), 8);
    const __m128i y = _mm_add_epi16(_mm_mulhi_epu16(_mm_slli_epi16(luma, 8), _mm_set1_epi16(kLuma)), bias);

    const __m128i blue = _mm_add_epi16(y, _mm_mulhi_epi16(u, _mm_set1_epi16(kBlueU)));
    const __m128i green = _mm_sub_epi16(_mm_sub_epi16(y, _mm_mulhi_epi16(u, _mm_set1_epi16(kGreenU))),
                                        _mm_mulhi_epi16(v, _mm_set1_epi16(kGreenV)));
    const __m128i red = _mm_add_epi16(y, _mm_mulhi_epi16(v, _mm_set1_epi16(kRedV)));

    // Saturating packs clamp to 0..255; then interleave into B G R 0xFF.
    const __m128i blueBytes = _mm_packus_epi16(_mm_srai_epi16(blue, kFractionBits), _mm_setzero_si128());
    const __m128i greenBytes = _mm_packus_epi16(_mm_srai_epi16(green, kFractionBits), _mm_setzero_si128());
    const __m128i redBytes = _mm_packus_epi16(_mm_srai_epi16(red, kFractionBits), _mm_setzero_si128());
    const __m128i blueGreen = _mm_unpacklo_epi8(blueBytes, greenBytes);
    const __m128i redOpaque = _mm_unpacklo_epi8(redBytes, _mm_set1_epi8(static_cast<char>(0xFF)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi16(blueGreen, redOpaque));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16), _mm_unpackhi_epi16(blueGreen, redOpaque));
}

VEDIO_SSE2_TARGET inline __m128i LoadEight(const std::uint8_t* bytes) {
    return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(bytes)), _mm_setzero_si128());
}

VEDIO_SSE2_TARGET inline __m128i LoadFour(const std::uint8_t* bytes) {
    int value = 0;
    std::memcpy(&value, bytes, sizeof value);
    return _mm_cvtsi32_si128(value);
}

// Whole groups of eight pixels, each load inside the row's samples; returns where it stopped.
VEDIO_SSE2_TARGET int VectorPixels(PixelFormat format, const RowPlanes& planes, int width, std::uint8_t* out) {
    const __m128i lowBytes = _mm_set1_epi16(0x00FF);
    int x = 0;
    for (; x + 8 <= width; x += 8) {
        __m128i luma;
        __m128i chroma;
        if (format == PixelFormat::Yuy2) {
            const __m128i packed = _mm_loadu_si128(reinterpret_cast<const __m128i*>(planes.luma + 2 * x));
            luma = _mm_and_si128(packed, lowBytes);
            chroma = _mm_srli_epi16(packed, 8);
        } else if (format == PixelFormat::Nv12) {
            luma = LoadEight(planes.luma + x);
            chroma = LoadEight(planes.chroma + x);
        } else {
            luma = LoadEight(planes.luma + x);
            const __m128i pairs =
                _mm_unpacklo_epi8(LoadFour(planes.chroma + x / 2), LoadFour(planes.chromaV + x / 2));
            chroma = _mm_unpacklo_epi8(pairs, _mm_setzero_si128());
        }
        EightPixels(luma, chroma, out + 4 * x);
    }
    return x;
}
#endif

}  // namespace

std::array<std::uint8_t, 3> YuvToBgr(int y, int u, int v) {
    const int luma = ((y * 256) * kLuma >> 16) + kBias;  // y * 256 fits unsigned 16 bits
    const int cu = u - 128;
    const int cv = v - 128;
    return {Clamp(luma + High(cu, kBlueU)), Clamp(luma - High(cu, kGreenU) - High(cv, kGreenV)),
            Clamp(luma + High(cv, kRedV))};
}

void ConvertYuvRowScalar(const SourceFrame& frame, int row, std::uint8_t* out) {
    if (!IsYuv(frame.format)) return;
    ScalarPixels(frame.format, Locate(frame, row), 0, frame.width, out);
}

void ConvertYuvRow(const SourceFrame& frame, int row, std::uint8_t* out) {
    if (!IsYuv(frame.format)) return;
    const RowPlanes planes = Locate(frame, row);
    int done = 0;
#ifdef VEDIO_SSE2
    if (ProcessorHasSse2()) done = VectorPixels(frame.format, planes, frame.width, out);
#endif
    ScalarPixels(frame.format, planes, done, frame.width, out);
}

}  // namespace vedio
