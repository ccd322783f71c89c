#include "roster/hand_over.h"

#include "platform/files.h"
#include "platform/owners.h"
#include "platform/win_text.h"
#include "roster/csv_text.h"
#include "roster/save_record.h"
#include "roster/xlsx_reader.h"
#include "roster/zip_writer.h"

#include <cstdio>

#include <windows.h>

namespace roster {

namespace {
std::span<const std::uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

LocalTime LocalTimeOf(const FILETIME& utc) {
    FILETIME local{};
    SYSTEMTIME t{};
    if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &t)) return {};
    return {{t.wYear, t.wMonth, t.wDay}, t.wHour, t.wMinute, t.wSecond};
}

bool EndsWithJpg(std::wstring_view name) {
    return name.size() > 4 && ::CompareStringOrdinal(name.data() + name.size() - 4, 4, L".jpg", 4, TRUE) == CSTR_EQUAL;
}
}  // namespace

std::vector<PhotoFile> ListPhotoFolder(const std::wstring& directory) {
    std::vector<PhotoFile> files;
    WIN32_FIND_DATAW found{};
    const platform::UniqueFind search(::FindFirstFileExW(platform::JoinPath(directory, L"*.jpg").c_str(),
                                                         FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                                                         FIND_FIRST_EX_LARGE_FETCH));
    if (!search) return files;
    do {
        // "*.jpg" also matches short names and longer endings (".jpge"): the name itself decides.
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && EndsWithJpg(found.cFileName))
            files.push_back({platform::Narrow(found.cFileName), LocalTimeOf(found.ftLastWriteTime)});
    } while (::FindNextFileW(search.get(), &found));
    return files;
}

ListFile ReadListFile(const std::wstring& path, Date today) {
    const auto bytes = platform::ReadWholeFile(path);
    if (!bytes) return {{}, "文件打不开，请关闭打开它的程序再试"};
    const bool zipped = bytes->size() >= 2 && (*bytes)[0] == 'P' && (*bytes)[1] == 'K';
    const bool compound = bytes->size() >= 2 && (*bytes)[0] == 0xD0 && (*bytes)[1] == 0xCF;
    if (zipped || compound) {
        const XlsxSheet sheet = ReadXlsx(*bytes);
        if (sheet.problem != XlsxProblem::None) return {{}, std::string(DescribeXlsxProblem(sheet.problem))};
        return {BuildClassList(sheet.rows, today), {}};
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    return {BuildClassList(ReadCsv(text), today), {}};
}

unsigned long WriteListFile(const std::wstring& path, const std::vector<Trainee>& trainees) {
    return platform::WriteFileWhole(path, Bytes(WriteClassListCsv(trainees)));
}

unsigned long WriteMissingFile(const std::wstring& path, const DayList& list) {
    return platform::WriteFileWhole(path, Bytes(WriteMissingCsv(list)));
}

PackOutcome PackPhotos(const std::wstring& archivePath, const std::wstring& photoDirectory, const DayList& list,
                       const LocalTime& now) {
    PackOutcome outcome;
    ZipWriteProblem zipProblem = ZipWriteProblem::None;
    const auto add = [&](ZipWriter& zip, const std::string& name, std::span<const std::uint8_t> data,
                         const LocalTime& time) {
        zipProblem = zip.Add(name, data, time);
        return zipProblem == ZipWriteProblem::None;
    };
    outcome.error = platform::WriteFileWholeInPieces(archivePath, [&](const platform::PieceWriter& write) {
        ZipWriter zip(write);
        for (std::size_t i = 0; i < list.Trainees().size(); ++i) {
            const TraineePhoto& photo = list.Status().trainees[i];
            if (!photo.taken) continue;
            const auto jpeg = platform::ReadWholeFile(platform::JoinPath(photoDirectory, platform::Wide(photo.fileName)));
            if (!jpeg) {
                ++outcome.gone;
                continue;
            }
            if (!add(zip, photo.fileName, *jpeg, photo.lastWrite)) return false;
            ++outcome.photos;
        }
        const std::wstring record = platform::JoinPath(photoDirectory, platform::Wide(kSaveRecordFileName));
        if (const auto rows = platform::ReadWholeFile(record))
            if (!add(zip, std::string(kSaveRecordFileName), *rows, now)) return false;
        zipProblem = zip.Finish();
        return zipProblem == ZipWriteProblem::None;
    });
    // A refusal of the archive's own (past what a ZIP without extensions holds) is no
    // system error: it is told apart from a write the disk refused.
    if (outcome.error == ERROR_CANCELLED && zipProblem != ZipWriteProblem::SinkFailed &&
        zipProblem != ZipWriteProblem::None)
        outcome.error = ERROR_FILE_TOO_LARGE;
    return outcome;
}

std::wstring DayStamp(const Date& date) {
    wchar_t text[16]{};
    std::swprintf(text, 16, L"%04d%02d%02d", date.year, date.month, date.day);
    return text;
}

std::string DescribeWriteFailure(unsigned long error, std::string_view fileName) {
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_ACCESS_DENIED:
        return std::string(fileName) + " 正被别的程序打开或不许写入，请关闭它";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "磁盘已满，请腾出空间";
    case ERROR_FILE_TOO_LARGE:
        return "照片太多或太大，一个压缩包装不下";
    default:
        return "写入出错（错误 " + std::to_string(error) + "）";
    }
}

}  // namespace roster
