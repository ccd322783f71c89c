#include "roster/zip_reader.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace roster {

namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kCentralSize = 46;
constexpr std::size_t kLocalSize = 30;
// Deflate packs at most 1032 bytes into one (a run of one byte value): a declared size
// past that is a lie, which caps what an entry may make us allocate.
constexpr std::uint64_t kMaxDeflateRatio = 1032;

// Little-endian fields at an offset the caller has checked.
std::uint16_t Get16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
std::uint32_t Get32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(Get16(b, at)) | static_cast<std::uint32_t>(Get16(b, at + 2)) << 16;
}

bool Fits(std::span<const std::uint8_t> b, std::uint64_t at, std::uint64_t length) {
    return at <= b.size() && length <= b.size() - at;
}

std::uint32_t Crc32(std::string_view bytes) {
    uLong crc = crc32(0L, Z_NULL, 0);
    // zlib takes its lengths as uInt: a long entry goes in pieces.
    while (!bytes.empty()) {
        const std::size_t piece = std::min<std::size_t>(bytes.size(), 1u << 30);
        crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(piece));
        bytes.remove_prefix(piece);
    }
    return static_cast<std::uint32_t>(crc);
}

bool Inflate(std::span<const std::uint8_t> packed, std::string& out) {
    z_stream stream{};
    if (inflateInit2(&stream, -15) != Z_OK) return false;
    stream.next_in = const_cast<Bytef*>(packed.data());
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_FINISH);
    const bool whole = result == Z_STREAM_END && stream.total_out == out.size();
    inflateEnd(&stream);
    return whole;
}

}  // namespace

ZipReader::ZipReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {
    // The end record is the last thing in the file, followed only by its comment.
    if (bytes.size() < kEndSize) {
        problem_ = ZipProblem::NotZip;
        return;
    }
    std::size_t end = bytes.size() - kEndSize;
    const std::size_t lowest = end > 0xFFFF ? end - 0xFFFF : 0;
    while (Get32(bytes, end) != kEndSignature || end + kEndSize + Get16(bytes, end + 20) != bytes.size()) {
        if (end == lowest) {
            problem_ = ZipProblem::NotZip;
            return;
        }
        --end;
    }
    const std::uint16_t count = Get16(bytes, end + 10);
    const std::uint32_t directorySize = Get32(bytes, end + 12);
    const std::uint32_t directoryOffset = Get32(bytes, end + 16);
    if (Get16(bytes, end + 4) != 0 || count == 0xFFFF || directoryOffset == 0xFFFFFFFF) {
        problem_ = ZipProblem::Unsupported;  // several disks, or ZIP64
        return;
    }
    if (!Fits(bytes, directoryOffset, directorySize) || directoryOffset + std::uint64_t{directorySize} > end) {
        problem_ = ZipProblem::Corrupt;
        return;
    }
    std::size_t at = directoryOffset;
    const std::size_t stop = directoryOffset + directorySize;
    entries_.reserve(count);
    for (std::uint16_t i = 0; i < count; ++i) {
        if (at + kCentralSize > stop || Get32(bytes, at) != kCentralSignature) {
            problem_ = ZipProblem::Corrupt;
            return;
        }
        const std::size_t nameLength = Get16(bytes, at + 28);
        const std::size_t recordSize = kCentralSize + nameLength + Get16(bytes, at + 30) + Get16(bytes, at + 32);
        if (recordSize > stop - at) {
            problem_ = ZipProblem::Corrupt;
            return;
        }
        ZipEntry entry;
        entry.flags = Get16(bytes, at + 8);
        entry.method = Get16(bytes, at + 10);
        entry.crc32 = Get32(bytes, at + 16);
        entry.packedSize = Get32(bytes, at + 20);
        entry.size = Get32(bytes, at + 24);
        entry.headerOffset = Get32(bytes, at + 42);
        const auto* name = reinterpret_cast<const char*>(bytes.data() + at + kCentralSize);
        entry.name.assign(name, nameLength);
        entries_.push_back(std::move(entry));
        at += recordSize;
    }
}

ZipProblem ZipReader::Read(std::string_view name, std::string& out) {
    out.clear();
    if (problem_ != ZipProblem::None) return problem_;
    const auto entry = std::find_if(entries_.begin(), entries_.end(), [&](const ZipEntry& e) { return e.name == name; });
    if (entry == entries_.end()) return ZipProblem::Missing;
    const ZipProblem problem = ReadEntry(*entry, out);
    if (problem != ZipProblem::None) out.clear();
    return problem;
}

ZipProblem ZipReader::ReadEntry(const ZipEntry& entry, std::string& out) {
    constexpr std::uint32_t kMax32 = std::numeric_limits<std::uint32_t>::max();
    if (entry.packedSize == kMax32 || entry.size == kMax32 || entry.headerOffset == kMax32)
        return ZipProblem::Unsupported;  // ZIP64 sizes in an extra field
    if ((entry.flags & 1) != 0 || (entry.method != 0 && entry.method != 8)) return ZipProblem::Unsupported;
    if (entry.size > kMaxEntrySize || entry.size > kMaxTotalSize - unpacked_) return ZipProblem::TooLarge;
    // The local header's own name and extra lengths place the data; its sizes may be zero
    // (written after the data), so the central directory's count.
    if (!Fits(bytes_, entry.headerOffset, kLocalSize) || Get32(bytes_, entry.headerOffset) != kLocalSignature)
        return ZipProblem::Corrupt;
    const std::uint64_t dataOffset = entry.headerOffset + kLocalSize + Get16(bytes_, entry.headerOffset + 26) +
                                     Get16(bytes_, entry.headerOffset + 28);
    if (!Fits(bytes_, dataOffset, entry.packedSize)) return ZipProblem::Corrupt;
    const std::span<const std::uint8_t> packed = bytes_.subspan(dataOffset, entry.packedSize);
    unpacked_ += entry.size;
    if (entry.method == 0) {
        if (entry.packedSize != entry.size) return ZipProblem::Corrupt;
        out.assign(reinterpret_cast<const char*>(packed.data()), packed.size());
    } else {
        if (entry.size > entry.packedSize * kMaxDeflateRatio + 64) return ZipProblem::Corrupt;
        out.assign(entry.size, '\0');
        if (!Inflate(packed, out)) return ZipProblem::Corrupt;
    }
    return Crc32(out) == entry.crc32 ? ZipProblem::None : ZipProblem::Corrupt;
}

}  // namespace roster
