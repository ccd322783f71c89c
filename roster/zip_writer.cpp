#include "roster/zip_writer.h"

#include "platform/gb18030.h"
#include "platform/utf.h"

#include <zlib.h>

#include <algorithm>
#include <optional>

namespace roster {

namespace {

// 0xFFFFFFFF in a size or offset field means "see ZIP64": everything stays below it.
constexpr std::uint64_t kFieldLimit = 0xFFFFFFFF;
constexpr std::size_t kMaxEntries = 0xFFFF;
constexpr std::uint16_t kVersion = 20;  // 2.0; the high byte 0 (MS-DOS) tells an OEM code page name
constexpr std::uint16_t kUnicodePathTag = 0x7075;
constexpr std::size_t kLocalSize = 30;
constexpr std::size_t kCentralSize = 46;
constexpr std::size_t kEndSize = 22;

void Put16(std::vector<std::uint8_t>& out, std::uint64_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint64_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, (value >> 16) & 0xFFFF);
}
void PutBytes(std::vector<std::uint8_t>& out, std::string_view bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); }

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    uLong crc = crc32(0L, Z_NULL, 0);
    while (!bytes.empty()) {  // zlib counts in uInt
        const std::size_t piece = std::min<std::size_t>(bytes.size(), 1u << 30);
        crc = crc32(crc, bytes.data(), static_cast<uInt>(piece));
        bytes = bytes.subspan(piece);
    }
    return static_cast<std::uint32_t>(crc);
}

std::uint32_t Crc32(std::string_view bytes) {
    return Crc32(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

// DOS time and date (two-second steps, 1980 to 2107), clamped to that range.
std::pair<std::uint16_t, std::uint16_t> DosTimeDate(const LocalTime& time) {
    if (time.date.year < 1980) return {0, (1 << 5) | 1};
    if (time.date.year > 2107) return {(23 << 11) | (59 << 5) | 29, (127 << 9) | (12 << 5) | 31};
    return {static_cast<std::uint16_t>(time.hour << 11 | time.minute << 5 | time.second / 2),
            static_cast<std::uint16_t>((time.date.year - 1980) << 9 | time.date.month << 5 | time.date.day)};
}

}  // namespace

bool ZipWriter::Emit(std::span<const std::uint8_t> bytes) {
    if (!sink_(bytes)) {
        broken_ = ZipWriteProblem::SinkFailed;
        return false;
    }
    position_ += bytes.size();
    return true;
}

ZipWriteProblem ZipWriter::Add(std::string_view name, std::span<const std::uint8_t> data, const LocalTime& modified) {
    if (finished_) return ZipWriteProblem::Finished;
    if (broken_ != ZipWriteProblem::None) return broken_;
    if (name.empty() || !platform::IsUtf8(name)) return ZipWriteProblem::BadName;
    const std::optional<std::string> field = platform::ToGb18030(platform::Utf8ToUtf16(name));
    if (!field) return ZipWriteProblem::BadName;
    std::vector<std::uint8_t> extra;
    if (*field != name) {
        Put16(extra, kUnicodePathTag);
        Put16(extra, 5 + name.size());
        extra.push_back(1);
        Put32(extra, Crc32(*field));
        PutBytes(extra, name);
    }
    if (field->size() > 0xFFFF || extra.size() > 0xFFFF) return ZipWriteProblem::BadName;
    if (count_ == kMaxEntries) return ZipWriteProblem::TooMany;
    // Refused now if the entry, the directory with its record and the end record would not
    // all stay below the limit, so that Finish cannot fail on a size.
    const std::uint64_t local = kLocalSize + field->size() + extra.size();
    const std::uint64_t record = kCentralSize + field->size() + extra.size();
    if (position_ + local + data.size() + central_.size() + record + kEndSize >= kFieldLimit)
        return ZipWriteProblem::TooLarge;

    const auto [dosTime, dosDate] = DosTimeDate(modified);
    const std::uint32_t crc = Crc32(data);
    // What the local and central headers share, from the version needed to the extra length.
    std::vector<std::uint8_t> common;
    Put16(common, kVersion);
    Put16(common, 0);  // flags: bit 11 clear, the name is in the OEM code page
    Put16(common, 0);  // stored
    Put16(common, dosTime);
    Put16(common, dosDate);
    Put32(common, crc);
    Put32(common, data.size());
    Put32(common, data.size());
    Put16(common, field->size());
    Put16(common, extra.size());

    std::vector<std::uint8_t> header;
    Put32(header, 0x04034b50);
    header.insert(header.end(), common.begin(), common.end());
    PutBytes(header, *field);
    header.insert(header.end(), extra.begin(), extra.end());

    Put32(central_, 0x02014b50);
    Put16(central_, kVersion);  // made by
    central_.insert(central_.end(), common.begin(), common.end());
    Put16(central_, 0);  // comment length
    Put16(central_, 0);  // disk
    Put16(central_, 0);  // internal attributes
    Put32(central_, 0);  // external attributes
    Put32(central_, position_);
    PutBytes(central_, *field);
    central_.insert(central_.end(), extra.begin(), extra.end());
    ++count_;

    if (!Emit(header) || !Emit(data)) return broken_;
    return ZipWriteProblem::None;
}

ZipWriteProblem ZipWriter::Finish() {
    if (finished_) return ZipWriteProblem::Finished;
    if (broken_ != ZipWriteProblem::None) return broken_;
    finished_ = true;
    const std::uint64_t directoryOffset = position_;
    std::vector<std::uint8_t> end;
    Put32(end, 0x06054b50);
    Put16(end, 0);  // this disk
    Put16(end, 0);  // the directory's disk
    Put16(end, count_);
    Put16(end, count_);
    Put32(end, central_.size());
    Put32(end, directoryOffset);
    Put16(end, 0);  // comment length
    if (!Emit(central_) || !Emit(end)) return broken_;
    return ZipWriteProblem::None;
}

}  // namespace roster
