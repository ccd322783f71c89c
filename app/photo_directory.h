// The directory 学员照片 beside the program, where photos are saved.
#pragma once

#include <string>

namespace app {

// Creates directory\学员照片\ unless it is already a directory, and returns its path (with
// its trailing separator). A failure shows later, when saving.
std::wstring EnsurePhotoDirectoryIn(const std::wstring& directory);

}  // namespace app
