// The directory 学员照片 beside the program, where photos are saved.
#pragma once

#include <string>

namespace app {

// Creates directory\学员照片\ unless it is already a directory, and returns its path (with
// its trailing separator).
std::wstring EnsurePhotoDirectoryIn(const std::wstring& directory);

// What stops photos being saved in directory\学员照片 (a file of that name, a folder that
// cannot be written), in words for the operator, so that start-up says it once, before any
// photo is taken; empty when a file can be written there.
std::string PhotoDirectoryProblem(const std::wstring& directory);

}  // namespace app
