#include "photo/image_encoding.h"

#include "photo/photo_names.h"
#include "platform/com_ptr.h"
#include "platform/files.h"
#include "platform/gdiplus.h"
#include "platform/owners.h"
#include "platform/win_text.h"

#include <objbase.h>

#include <cstring>
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

inline void FreeGlobal(HGLOBAL block) noexcept { ::GlobalFree(block); }
using UniqueGlobal = platform::Unique<platform::NullTraits<HGLOBAL, FreeGlobal>>;

// A global memory block locked while it lives.
class GlobalLockScope {
public:
    explicit GlobalLockScope(HGLOBAL block) noexcept : block_(block), bytes_(::GlobalLock(block)) {}
    ~GlobalLockScope() {
        if (bytes_) ::GlobalUnlock(block_);
    }
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;
    std::uint8_t* get() const noexcept { return static_cast<std::uint8_t*>(bytes_); }

private:
    HGLOBAL block_;
    void* bytes_;
};

// A movable block holding a copy of `bytes`; null when it cannot be had.
UniqueGlobal CopyToGlobal(std::span<const std::uint8_t> bytes) {
    UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
    if (!block) return {};
    const GlobalLockScope lock(block.get());
    if (!lock.get()) return {};
    std::memcpy(lock.get(), bytes.data(), bytes.size());
    return block;
}

// Everything the stream holds; the block under it may be larger than what was written.
std::vector<std::uint8_t> StreamBytes(IStream* stream) {
    STATSTG stat{};
    HGLOBAL block = nullptr;
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || FAILED(::GetHGlobalFromStream(stream, &block))) return {};
    const std::size_t size = static_cast<std::size_t>(stat.cbSize.QuadPart);
    if (size == 0 || size > ::GlobalSize(block)) return {};
    const GlobalLockScope lock(block);
    if (!lock.get()) return {};
    return {lock.get(), lock.get() + size};
}

std::vector<std::uint8_t> Encode(std::span<const std::uint8_t> image, const Codec& codec) {
    CLSID encoder{};
    if (FAILED(::CLSIDFromString(codec.classId, &encoder))) return {};

    // Declared in this order so that the bitmap lets go of its stream before the stream
    // goes, and the stream before its block.
    const UniqueGlobal block = CopyToGlobal(image);
    if (!block) return {};
    platform::ComPtr<IStream> input;
    if (FAILED(::CreateStreamOnHGlobal(block.get(), FALSE, input.put()))) return {};
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

    platform::ComPtr<IStream> output;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, output.put()))) return {};
    if (source.Save(output.get(), &encoder, nullptr) != Gdiplus::Ok) return {};
    return StreamBytes(output.get());
}

bool IsBlank(const std::wstring& path) { return TrimSpaces(platform::Narrow(path)).empty(); }

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
        const std::wstring target = platform::Wide(WithExtension(platform::Narrow(path), codec->extension));
        result = OutcomeOf(platform::WriteFileWhole(target, encoded));
    }
    if (outcome) *outcome = result;
    return !encoded.empty();
}

}  // namespace photo
