// The directory 学员照片 beside the program, where photos are saved.
#pragma once

#include <string>

namespace app {

// Creates directory\学员照片\ unless it is already a directory; remembers and returns
// the path (with its trailing separator). A failure shows later, when saving.
std::wstring EnsurePhotoDirectoryIn(const std::wstring& directory);
std::wstring EnsurePhotoDirectory();

// The path set by the last EnsurePhotoDirectory; empty before it.
const std::wstring& PhotoDirectory();

}  // namespace app
