#include "app/photo_directory.h"

#include "photo/photo_save.h"
#include "platform/files.h"
#include "platform/program_directory.h"

#include <windows.h>

namespace app {

namespace {
std::wstring& Stored() {
    static std::wstring path;
    return path;
}
}  // namespace

std::wstring EnsurePhotoDirectoryIn(const std::wstring& directory) {
    // With its trailing separator, as the rest of the program expects it.
    std::wstring path = platform::JoinPath(directory, photo::kPhotoDirectoryName) + L"\\";
    if (!platform::IsDirectory(path)) ::CreateDirectoryW(path.c_str(), nullptr);
    Stored() = path;
    return path;
}

std::wstring EnsurePhotoDirectory() { return EnsurePhotoDirectoryIn(platform::ProgramDirectory()); }

const std::wstring& PhotoDirectory() { return Stored(); }

}  // namespace app
