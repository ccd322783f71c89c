// The entries of a ZIP archive held in memory, which is what an .xlsx file is: its central
// directory, and an entry's bytes, stored or deflated (inflated through zlib). A file from
// anywhere may be hostile, so every offset and size is checked against the bytes there are,
// an entry may not unpack past 64 MiB nor all of them past 256 MiB together, and a fault is
// a result, never a read outside the buffer. No ZIP64, no encryption. Portable.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace roster {

enum class ZipProblem {
    None,
    NotZip,       // no end-of-central-directory record
    Unsupported,  // ZIP64, encrypted, or a method other than stored and deflate
    TooLarge,     // past the limits on unpacked bytes
    Corrupt,      // offsets or sizes outside the file, bad deflate data, a wrong CRC-32
    Missing,      // no entry of that name
};

struct ZipEntry {
    std::string name;  // as stored: UTF-8 or the archiver's code page, compared as bytes
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint32_t crc32 = 0;
    std::uint64_t packedSize = 0;
    std::uint64_t size = 0;
    std::uint64_t headerOffset = 0;
};

class ZipReader {
public:
    static constexpr std::uint64_t kMaxEntrySize = 64u << 20;
    static constexpr std::uint64_t kMaxTotalSize = 256u << 20;

    // Reads the central directory; the bytes must outlive the reader.
    explicit ZipReader(std::span<const std::uint8_t> bytes);

    ZipProblem Problem() const { return problem_; }
    const std::vector<ZipEntry>& Entries() const { return entries_; }

    // The bytes of the entry named `name` into `out`. Each entry read counts against the
    // total limit, read again or not.
    ZipProblem Read(std::string_view name, std::string& out);

private:
    ZipProblem ReadEntry(const ZipEntry& entry, std::string& out);

    std::span<const std::uint8_t> bytes_;
    ZipProblem problem_ = ZipProblem::None;
    std::vector<ZipEntry> entries_;
    std::uint64_t unpacked_ = 0;
};

}  // namespace roster
