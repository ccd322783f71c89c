#include "photo/image_encoding.h"

#include "platform/file_names.h"
#include "platform/files.h"
#include "platform/gdiplus.h"
#include "platform/streams.h"
#include "platform/win_text.h"

#include <objbase.h>

#include <memory>
#include <string_view>

namespace photo {

namespace {

struct Codec {
    EncoderFormat format;
    const wchar_t* classId;
    std::string_view extension;
};

// The class identifiers of GDI+'s built-in encoders.
constexpr Codec kCodecs[] = {
    {EncoderFormat::Bmp, L"{557CF400-1A04-11D3-9A73-0000F81EF32E}", ".bmp"},
    {EncoderFormat::Jpeg, L"{557CF401-1A04-11D3-9A73-0000F81EF32E}", ".jpg"},
    {EncoderFormat::Gif, L"{557CF402-1A04-11D3-9A73-0000F81EF32E}", ".gif"},
    {EncoderFormat::Tiff, L"{557CF405-1A04-11D3-9A73-0000F81EF32E}", ".tiff"},
    {EncoderFormat::Png, L"{557CF406-1A04-11D3-9A73-0000F81EF32E}", ".png"},
};

// A JPEG that says 300 dpi prints a 295 x 412 picture at one-inch photo size.
constexpr Gdiplus::REAL kJpegDpi = 300;

const Codec* CodecOf(EncoderFormat format) {
    for (const Codec& codec : kCodecs) {
        if (codec.format == format) return &codec;
    }
    return nullptr;
}

// GDI+ started for the length of one call; starting it again while the program keeps it
// running is allowed and counted.
class GdiplusSession {
public:
    GdiplusSession() {
        Gdiplus::GdiplusStartupInput input;  // version 1
        if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
    }
    ~GdiplusSession() {
        if (token_ != 0) Gdiplus::GdiplusShutdown(token_);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    explicit operator bool() const { return token_ != 0; }

private:
    ULONG_PTR token_ = 0;
};

std::vector<std::uint8_t> Encode(std::span<const std::uint8_t> image, const Codec& codec) {
    CLSID encoder{};
    if (FAILED(::CLSIDFromString(codec.classId, &encoder))) return {};

    // Declared in this order so that the bitmap lets go of its stream before the stream goes.
    const platform::ComPtr<IStream> input = platform::MemoryStream(image);
    if (!input) return {};
    const std::unique_ptr<Gdiplus::Bitmap> bitmap(Gdiplus::Bitmap::FromStream(input.get()));
    if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok) return {};
    if (codec.format == EncoderFormat::Jpeg && bitmap->SetResolution(kJpegDpi, kJpegDpi) != Gdiplus::Ok) return {};

    // A GIF holds at most 256 colours. Given a true-colour picture, some GDI+ builds (Wine's)
    // write a GIF with no picture in it, so the encoder gets a palette copy when there is one.
    std::unique_ptr<Gdiplus::Bitmap> indexed;
    if (codec.format == EncoderFormat::Gif) {
        indexed.reset(bitmap->Clone(0, 0, static_cast<INT>(bitmap->GetWidth()), static_cast<INT>(bitmap->GetHeight()),
                                    PixelFormat8bppIndexed));
        if (indexed && indexed->GetLastStatus() != Gdiplus::Ok) indexed.reset();
    }
    Gdiplus::Bitmap& source = indexed ? *indexed : *bitmap;

    const platform::ComPtr<IStream> output = platform::MemoryStream();
    if (!output || source.Save(output.get(), &encoder, nullptr) != Gdiplus::Ok) return {};
    return platform::StreamBytes(output.get());
}

bool IsBlank(const std::wstring& path) { return platform::TrimSpaces(platform::Narrow(path)).empty(); }

WriteOutcome OutcomeOf(unsigned long error) {
    switch (error) {
    case ERROR_SUCCESS:
        return WriteOutcome::Written;
    case ERROR_PATH_NOT_FOUND:
        return WriteOutcome::DirectoryMissing;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return WriteOutcome::DiskFull;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return WriteOutcome::AccessDenied;
    default:
        return WriteOutcome::Failed;
    }
}

}  // namespace

bool EncodeImage(std::span<const std::uint8_t> image, EncoderFormat format, const std::wstring& path,
                 std::vector<std::uint8_t>& encoded, WriteOutcome* outcome) {
    encoded.clear();
    const bool writeAsked = !IsBlank(path);
    // Until a file has been written, a write that was asked for has failed.
    WriteOutcome result = writeAsked ? WriteOutcome::Failed : WriteOutcome::NotAsked;
    const Codec* codec = CodecOf(format);
    if (codec && image.size() >= 3) {
        const GdiplusSession gdiplus;
        if (gdiplus) encoded = Encode(image, *codec);
    }
    if (!encoded.empty() && writeAsked) {
        // The path is used as given, spaces and all; only the extension may be added.
        const std::wstring target = platform::Wide(platform::WithExtension(platform::Narrow(path), codec->extension));
        result = OutcomeOf(platform::WriteFileWhole(target, encoded));
    }
    if (outcome) *outcome = result;
    return !encoded.empty();
}

}  // namespace photo
