#include "app/photo_directory.h"

#include "photo/photo_save.h"
#include "platform/files.h"

#include <windows.h>

namespace app {

std::wstring EnsurePhotoDirectoryIn(const std::wstring& directory) {
    // With its trailing separator, as the rest of the program expects it.
    std::wstring path = platform::JoinPath(directory, photo::kPhotoDirectoryName) + L"\\";
    if (!platform::IsDirectory(path)) ::CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

}  // namespace app
