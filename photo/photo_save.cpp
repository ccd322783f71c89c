#include "photo/photo_save.h"

#include "photo/image_encoding.h"
#include "platform/file_names.h"
#include "platform/files.h"
#include "platform/win_text.h"

#include <windows.h>

#include <cwchar>
#include <iterator>
#include <string>
#include <vector>

namespace photo {

namespace {

// True when the directory is there, made again if it had gone.
bool EnsureDirectory(const std::wstring& directory) {
    if (platform::IsDirectory(directory)) return true;
    ::CreateDirectoryW(directory.c_str(), nullptr);
    return platform::IsDirectory(directory);  // another program may have made it meanwhile
}

SaveResult ResultOf(unsigned long error) {
    switch (error) {
    case ERROR_SUCCESS:
        return SaveResult::Saved;
    case ERROR_PATH_NOT_FOUND:
        return SaveResult::DirectoryMissing;
    case ERROR_FILENAME_EXCED_RANGE:
        return SaveResult::PathTooLong;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
        return SaveResult::NameRefused;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return SaveResult::DiskFull;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return SaveResult::AccessDenied;
    default:
        return SaveResult::Failed;
    }
}

// Now, local time, as yyyyMMdd-HHmmss.
std::wstring TimeStamp() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    wchar_t text[32]{};
    std::swprintf(text, std::size(text), L"%04u%02u%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    return text;
}

// Whether Windows takes `path` without the long-path prefix.
bool FitsWindows(const std::wstring& path) { return path.size() < MAX_PATH; }

}  // namespace

std::wstring PhotoFileName(std::string_view identity) { return platform::Wide(identity) + L".jpg"; }

platform::NameProblem PhotoNameProblem(std::string_view identity) {
    return platform::CheckFileName(std::string(identity) + ".jpg");
}

SaveResult SavePhoto(std::span<const std::uint8_t> image, std::string_view identity,
                     const std::wstring& photoDirectory) {
    if (image.empty()) return SaveResult::EmptySlot;
    // The check also keeps every separator out, so nothing lands outside the directory.
    if (PhotoNameProblem(identity) != platform::NameProblem::None) return SaveResult::BadName;
    const std::wstring target = platform::JoinPath(photoDirectory, PhotoFileName(identity));
    const std::wstring replaced = platform::JoinPath(photoDirectory, kReplacedDirectoryName);
    const std::wstring keptStem = platform::JoinPath(replaced, platform::Wide(identity) + L"_" + TimeStamp());
    // The longest names the save may use: the temporary file, and a replaced photo's.
    if (!FitsWindows(platform::TemporaryPathBeside(target)) || !FitsWindows(keptStem + L"_100.jpg"))
        return SaveResult::PathTooLong;
    if (platform::Exists(photoDirectory) && !platform::IsDirectory(photoDirectory))
        return SaveResult::DirectoryIsAFile;
    if (!EnsureDirectory(photoDirectory)) return SaveResult::DirectoryMissing;

    std::vector<std::uint8_t> encoded;
    if (!EncodeImage(image, EncoderFormat::Jpeg, L"", encoded)) return SaveResult::NotEncoded;
    // Without a place to keep the photo it replaces, nothing is written.
    const bool replacing = platform::Exists(target);
    const bool madeReplaced = replacing && !platform::IsDirectory(replaced);
    if (replacing && !EnsureDirectory(replaced)) return SaveResult::AccessDenied;
    const auto keptAs = [&](int attempt) {
        return keptStem + (attempt == 1 ? std::wstring() : L"_" + std::to_wstring(attempt)) + L".jpg";
    };
    const SaveResult result = ResultOf(platform::WriteFileWholeKeepingOld(target, encoded, keptAs));
    // A save that failed leaves the directory as it found it (only an empty folder goes).
    if (result != SaveResult::Saved && madeReplaced) ::RemoveDirectoryW(replaced.c_str());
    return result;
}

}  // namespace photo
