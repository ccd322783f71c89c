// The record of saves, 学员照片\拍照记录.csv: one row per photo saved, so the desk can tell at
// the end of the day who was photographed, when, and whether from a card or typed by hand.
// Appending gives the whole new file, which the Windows side writes through a temporary
// file and a rename: a row is never half written, and a record opened in a spreadsheet at the time
// is left as it was rather than torn. Portable; texts are UTF-8.
#pragma once

#include "roster/calendar.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace roster {

inline constexpr std::string_view kSaveRecordFileName = "拍照记录.csv";

enum class SaveWay { Card, Typed };  // 读卡, 手工

struct SaveEntry {
    LocalTime time;
    std::string name;
    std::string idNumber;
    std::string fileName;
    std::uint64_t fileSize = 0;
    SaveWay way = SaveWay::Card;
    bool operator==(const SaveEntry&) const = default;
};

// "yyyy-MM-dd HH:mm:ss".
std::string FormatTime(const LocalTime& time);

// A Student identity as the record keeps it: "<name>_<ID number>" when it ends in an
// underscore and 15 or 18 characters of an ID number (digits, a last X), as a card names a
// trainee and the input box asks for; otherwise all of it is the name and the number is empty.
struct NameAndId {
    std::string name, idNumber;
};
NameAndId SplitIdentity(std::string_view identity);

// The record's new bytes: `current` (the file as it is, empty when there is none) with
// `entry` appended. An empty record starts with the byte-order mark and the header
// 时间,姓名,身份证号码,文件名,文件大小,方式; a last line without its line end gets one first;
// a record saved from a spreadsheet in GBK is turned back into UTF-8 with a byte-order mark, so
// that one file never mixes two encodings.
std::string AppendSave(std::string_view current, const SaveEntry& entry);

struct SaveRecord {
    std::vector<SaveEntry> entries;
    std::vector<int> unreadLines;  // rows that are no save (edited by hand), by line
};

// The record's rows after its header.
SaveRecord ReadSaveRecord(std::string_view bytes);

}  // namespace roster
