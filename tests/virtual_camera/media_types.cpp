#include "media_types.h"

#include <cstring>

namespace vcam {

namespace {

constexpr DWORD FourCc(char a, char b, char c, char d) {
    return static_cast<DWORD>(static_cast<unsigned char>(a)) | static_cast<DWORD>(static_cast<unsigned char>(b)) << 8 |
           static_cast<DWORD>(static_cast<unsigned char>(c)) << 16 | static_cast<DWORD>(static_cast<unsigned char>(d)) << 24;
}

// Video subtypes of four-character codes share one GUID pattern.
constexpr GUID FourCcSubtype(DWORD code) {
    return {code, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}

constexpr GUID kSubtypeRgb24{0xe436eb7d, 0x524f, 0x11ce, {0x9f, 0x53, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70}};

DWORD Compression(PixelFormat format) {
    switch (format) {
    case PixelFormat::Yuy2: return FourCc('Y', 'U', 'Y', '2');
    case PixelFormat::Nv12: return FourCc('N', 'V', '1', '2');
    case PixelFormat::Rgb24: return BI_RGB;
    }
    return BI_RGB;
}

GUID Subtype(PixelFormat format) {
    return format == PixelFormat::Rgb24 ? kSubtypeRgb24 : FourCcSubtype(Compression(format));
}

}  // namespace

std::vector<VideoFormat> OfferedFormats(const Control& control) {
    std::vector<VideoFormat> formats;
    for (const PixelFormat pixels : kPixelFormats) {
        if (control.only && *control.only != pixels) continue;
        for (const FrameSize size : kFrameSizes) formats.push_back({pixels, size});
    }
    return formats;
}

std::optional<VideoFormat> DescribedFormat(const AM_MEDIA_TYPE& type) {
    if (type.majortype != MEDIATYPE_Video || type.formattype != FORMAT_VideoInfo || !type.pbFormat ||
        type.cbFormat < sizeof(VIDEOINFOHEADER))
        return std::nullopt;
    const auto& header = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
    for (const PixelFormat pixels : kPixelFormats) {
        if (type.subtype != Subtype(pixels)) continue;
        const FrameSize size{static_cast<int>(header.biWidth), static_cast<int>(header.biHeight)};
        for (const FrameSize offered : kFrameSizes) {
            if (offered == size) return VideoFormat{pixels, size};
        }
    }
    return std::nullopt;
}

MediaType::MediaType(VideoFormat format) {
    const auto bytes = static_cast<DWORD>(FrameBytes(format.pixels, format.size));
    header_.AvgTimePerFrame = kFrameInterval;
    header_.dwBitRate = static_cast<DWORD>(static_cast<unsigned long long>(bytes) * 8 * kFramesPerSecond);
    BITMAPINFOHEADER& bitmap = header_.bmiHeader;
    bitmap.biSize = sizeof(BITMAPINFOHEADER);
    bitmap.biWidth = format.size.width;
    // Positive: RGB is a bottom-up DIB, and YUV is top row first whatever the sign.
    bitmap.biHeight = format.size.height;
    bitmap.biPlanes = 1;
    bitmap.biBitCount = static_cast<WORD>(BitsPerPixel(format.pixels));
    bitmap.biCompression = Compression(format.pixels);
    bitmap.biSizeImage = bytes;

    type_.majortype = MEDIATYPE_Video;
    type_.subtype = Subtype(format.pixels);
    type_.bFixedSizeSamples = TRUE;
    type_.bTemporalCompression = FALSE;
    type_.lSampleSize = bytes;
    type_.formattype = FORMAT_VideoInfo;
    type_.cbFormat = sizeof(header_);
    type_.pbFormat = reinterpret_cast<BYTE*>(&header_);
}

MediaType::~MediaType() = default;

HRESULT MediaType::CopyTo(AM_MEDIA_TYPE* out) const {
    if (!out) return E_POINTER;
    *out = type_;
    out->pbFormat = nullptr;
    out->cbFormat = 0;
    if (type_.cbFormat) {
        out->pbFormat = static_cast<BYTE*>(::CoTaskMemAlloc(type_.cbFormat));
        if (!out->pbFormat) return E_OUTOFMEMORY;
        std::memcpy(out->pbFormat, type_.pbFormat, type_.cbFormat);
        out->cbFormat = type_.cbFormat;
    }
    return S_OK;
}

AM_MEDIA_TYPE* MediaType::NewCopy() const {
    auto* copy = static_cast<AM_MEDIA_TYPE*>(::CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!copy) return nullptr;
    if (FAILED(CopyTo(copy))) {
        ::CoTaskMemFree(copy);
        return nullptr;
    }
    return copy;
}

void DeleteMediaType(AM_MEDIA_TYPE* type) {
    if (!type) return;
    if (type->pbFormat) ::CoTaskMemFree(type->pbFormat);
    if (type->pUnk) type->pUnk->Release();
    ::CoTaskMemFree(type);
}

}  // namespace vcam
