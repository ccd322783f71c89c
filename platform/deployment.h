// The component DLLs the program carries inside its executable and writes beside itself
// when they are missing or older. Which files they are, each subsystem says of its own.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace platform {

struct ComponentFile {
    std::wstring_view fileName;
    std::wstring_view resource;  // RCDATA name of the embedded image
};

std::span<const std::uint8_t> ComponentImage(const ComponentFile& file);

// True when the file's version resource names Orvia as its product, in any translation: a
// component an earlier Orvia wrote. Files without one, unreadable files, directories: false.
bool IsOurComponent(const std::wstring& path);

// Writes `bytes` as directory\fileName when no entry of that name exists, and replaces a
// file that is one of our components but holds other bytes (an earlier Orvia's). Any other
// entry (a vendor's DLL, a foreign file, a directory) is left alone, hidden or not. The file
// holds the old bytes or all the new ones, never a mixture; an empty image is never written.
// False when nothing was written.
bool DeployComponentTo(const std::wstring& directory, std::wstring_view fileName,
                       std::span<const std::uint8_t> bytes);
// The same beside the program, with the embedded image.
bool DeployComponent(const ComponentFile& file);

// Gives each of the files exactly the hidden attribute, whatever they had.
void HideComponentFiles(const std::wstring& directory, std::span<const ComponentFile> files);

}  // namespace platform
