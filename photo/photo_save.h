// Writing one slot image as <Student identity>.jpg into the Photo directory, and what went
// wrong when it could not be written. No window and no box: the caller tells the operator.
#pragma once

#include "platform/file_names.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace photo {

// The Photo directory's name, beside the program.
inline constexpr wchar_t kPhotoDirectoryName[] = L"学员照片";
// Inside it, the photos a save replaced: <identity>_<yyyyMMdd-HHmmss>.jpg.
inline constexpr wchar_t kReplacedDirectoryName[] = L"已替换";

enum class SaveResult {
    Saved,
    EmptySlot,         // nothing captured into the slot yet
    BadName,           // the identity cannot name a file (see platform::CheckFileName)
    DirectoryMissing,  // the Photo directory is gone and could not be made again
    DirectoryIsAFile,  // a file stands where the Photo directory should be
    PathTooLong,       // the file's path (or its temporary or replaced name) is too long for Windows
    NameRefused,       // the file system refused a name the naming rules allow
    DiskFull,
    AccessDenied,      // no right to write there, or the file held open by another program
    NotEncoded,        // the image could not be turned into a JPEG
    Failed,            // any other failure to write
};

// The file name a photo of `identity` gets: identity + ".jpg" (".jpg" for an empty one).
std::wstring PhotoFileName(std::string_view identity);
// What keeps that file name from being one (see platform::CheckFileName): the rules hold for
// the whole name, so an identity ending in a space (a padded ID number) is saved as it is.
platform::NameProblem PhotoNameProblem(std::string_view identity);

// Encodes `image` as JPEG into photoDirectory\<identity>.jpg. An earlier photo of that name
// is kept, moved whole into photoDirectory\已替换\<identity>_<yyyyMMdd-HHmmss>.jpg (a
// second one in the same second gets _2, _3 …) just before the new one takes its name.
// The directory is made again when it has gone. Nothing is written unless the result is
// Saved, and an earlier file stays as it was.
SaveResult SavePhoto(std::span<const std::uint8_t> image, std::string_view identity,
                     const std::wstring& photoDirectory);

}  // namespace photo
