#include "platform/streams.h"

#include <shlwapi.h>

namespace platform {

ComPtr<IStream> MemoryStream(std::span<const std::uint8_t> bytes) {
    ComPtr<IStream> stream;
    // The platform's memory stream copies the bytes and keeps its own.
    stream.reset(::SHCreateMemStream(bytes.empty() ? nullptr : bytes.data(), static_cast<UINT>(bytes.size())));
    return stream;
}

std::vector<std::uint8_t> StreamBytes(IStream* stream) {
    STATSTG stat{};
    if (!stream || FAILED(stream->Stat(&stat, STATFLAG_NONAME))) return {};
    const ULONGLONG size = stat.cbSize.QuadPart;
    if (size == 0 || size > 0x7FFFFFFF) return {};
    if (FAILED(stream->Seek({}, STREAM_SEEK_SET, nullptr))) return {};
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    ULONG read = 0;
    if (FAILED(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read)) || read != bytes.size()) return {};
    return bytes;
}

}  // namespace platform
