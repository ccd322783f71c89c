#include "photo/photo_save.h"

#include "photo/image_encoding.h"
#include "platform/file_names.h"
#include "platform/files.h"
#include "platform/win_text.h"

#include <windows.h>

#include <vector>

namespace photo {

namespace {

// True when the directory is there, made again if it had gone.
bool EnsureDirectory(const std::wstring& directory) {
    if (platform::IsDirectory(directory)) return true;
    ::CreateDirectoryW(directory.c_str(), nullptr);
    return platform::IsDirectory(directory);  // another program may have made it meanwhile
}

SaveResult ResultOf(WriteOutcome outcome) {
    switch (outcome) {
    case WriteOutcome::Written:
        return SaveResult::Saved;
    case WriteOutcome::DirectoryMissing:
        return SaveResult::DirectoryMissing;
    case WriteOutcome::DiskFull:
        return SaveResult::DiskFull;
    case WriteOutcome::AccessDenied:
        return SaveResult::AccessDenied;
    case WriteOutcome::NotAsked:
    case WriteOutcome::Failed:
        break;
    }
    return SaveResult::Failed;
}

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
    if (!EnsureDirectory(photoDirectory)) return SaveResult::DirectoryMissing;

    std::vector<std::uint8_t> encoded;
    WriteOutcome outcome = WriteOutcome::NotAsked;
    if (!EncodeImage(image, EncoderFormat::Jpeg, platform::JoinPath(photoDirectory, PhotoFileName(identity)), encoded,
                     &outcome)) {
        return SaveResult::NotEncoded;
    }
    return ResultOf(outcome);
}

}  // namespace photo
