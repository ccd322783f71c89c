// Reads the strings of a file's version resource (VS_VERSIONINFO), on UTF-16 paths.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The value of `name` (e.g. L"ProductName") in each translation the file's version resource
// lists. Empty when the file has none, cannot be read, or is a directory.
std::vector<std::wstring> VersionStrings(const std::wstring& path, std::wstring_view name);

}  // namespace platform
