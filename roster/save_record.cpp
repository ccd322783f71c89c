#include "roster/save_record.h"

#include "roster/csv_text.h"

#include <charconv>
#include <cstdio>

namespace roster {

namespace {

constexpr std::string_view kCard = "读卡";
constexpr std::string_view kTyped = "手工";
constexpr std::string_view kTimeHeader = "时间";

bool ParseNumber(std::string_view text, auto& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool ParseTime(std::string_view text, LocalTime& time) {
    // yyyy-MM-dd HH:mm:ss, each field at its place
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' || text[16] != ':')
        return false;
    return ParseNumber(text.substr(0, 4), time.date.year) && ParseNumber(text.substr(5, 2), time.date.month) &&
           ParseNumber(text.substr(8, 2), time.date.day) && ParseNumber(text.substr(11, 2), time.hour) &&
           ParseNumber(text.substr(14, 2), time.minute) && ParseNumber(text.substr(17, 2), time.second) &&
           IsRealDate(time.date) && time.hour < 24 && time.minute < 60 && time.second < 60;
}

}  // namespace

std::string FormatTime(const LocalTime& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time.date.year, time.date.month, time.date.day,
                  time.hour, time.minute, time.second);
    return text;
}

std::string AppendSave(std::string_view current, const SaveEntry& entry) {
    std::string file(kUtf8Bom);
    file += DecodeText(current);
    if (file.find_first_not_of(" \t\r\n", kUtf8Bom.size()) == std::string::npos) {
        file.resize(kUtf8Bom.size());
        const std::vector<std::string> header{std::string(kTimeHeader), "姓名", "身份证号码", "文件名", "文件大小", "方式"};
        file += CsvRecord(header);
    } else if (!file.ends_with('\n')) {
        file += "\r\n";
    }
    const std::vector<std::string> row{FormatTime(entry.time), entry.name, entry.idNumber, entry.fileName,
                                       std::to_string(entry.fileSize),
                                       std::string(entry.way == SaveWay::Card ? kCard : kTyped)};
    return file + CsvRecord(row);
}

SaveRecord ReadSaveRecord(std::string_view bytes) {
    SaveRecord record;
    for (const TextRow& row : ReadCsv(bytes)) {
        if (!row.cells.empty() && row.cells[0] == kTimeHeader) continue;
        SaveEntry entry;
        const bool read = row.cells.size() >= 6 && ParseTime(row.cells[0], entry.time) &&
                          ParseNumber(std::string_view(row.cells[4]), entry.fileSize) &&
                          (row.cells[5] == kCard || row.cells[5] == kTyped);
        if (!read) {
            record.unreadLines.push_back(row.number);
            continue;
        }
        entry.name = row.cells[1];
        entry.idNumber = row.cells[2];
        entry.fileName = row.cells[3];
        entry.way = row.cells[5] == kCard ? SaveWay::Card : SaveWay::Typed;
        record.entries.push_back(std::move(entry));
    }
    return record;
}

NameAndId SplitIdentity(std::string_view identity) {
    const std::size_t underscore = identity.rfind('_');
    if (underscore == std::string_view::npos) return {std::string(identity), {}};
    const std::string_view number = identity.substr(underscore + 1);
    const auto isIdCharacter = [&](std::size_t i) {
        const char c = number[i];
        return (c >= '0' && c <= '9') || (i + 1 == number.size() && (c == 'X' || c == 'x'));
    };
    bool idLike = number.size() == 15 || number.size() == 18;
    for (std::size_t i = 0; idLike && i < number.size(); ++i) idLike = isIdCharacter(i);
    if (!idLike) return {std::string(identity), {}};
    return {std::string(identity.substr(0, underscore)), std::string(number)};
}

}  // namespace roster
