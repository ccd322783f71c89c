// The hand-over archive: the day's photos and lists in one ZIP file for the school. Entries
// are stored (JPEGs do not compress) with their CRC-32 and a DOS time from the local time
// given. Entry names are Chinese, and three readers must show them intact: Windows 7's zip
// folder ignores the UTF-8 flag and reads names in the system's OEM code page (936, GBK, on
// a Chinese Windows); Windows 10's does the same for names without the flag; common archivers
// and unzip read the Unicode Path extra field (0x7075) when there is one. So the
// name field holds the GB18030 bytes (GBK for every character GBK has), flag bit 11 clear,
// and a name that is not plain ASCII also gets the 0x7075 field with its UTF-8 form, in the
// local and the central header alike. No ZIP64: more than 65,535 entries or anything past
// 4 GiB is refused rather than written wrong. The bytes go to a sink (the Windows side
// writes a temporary file and renames it). Portable.
#pragma once

#include "roster/calendar.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace roster {

enum class ZipWriteProblem {
    None,
    BadName,      // empty, or not well-formed UTF-8 (a lone surrogate among others)
    TooMany,      // a 65,536th entry
    TooLarge,     // an entry or the archive past 4 GiB
    SinkFailed,   // the sink refused bytes: the archive is unusable
    Finished,     // Add or Finish after Finish
};

class ZipWriter {
public:
    using Sink = std::function<bool(std::span<const std::uint8_t>)>;

    explicit ZipWriter(Sink sink) : sink_(std::move(sink)) {}

    // Writes one entry. `name` is UTF-8, folders separated by '/'. A refused entry leaves
    // the archive as it was, but for SinkFailed.
    ZipWriteProblem Add(std::string_view name, std::span<const std::uint8_t> data, const LocalTime& modified);

    // Writes the central directory and the end record; the archive is complete after it.
    ZipWriteProblem Finish();

private:
    bool Emit(std::span<const std::uint8_t> bytes);

    Sink sink_;
    std::vector<std::uint8_t> central_;  // the central directory's records so far
    std::size_t count_ = 0;
    std::uint64_t position_ = 0;  // bytes written
    ZipWriteProblem broken_ = ZipWriteProblem::None;
    bool finished_ = false;
};

}  // namespace roster
