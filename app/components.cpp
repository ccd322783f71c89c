#include "app/components.h"

#include "platform/files.h"
#include "platform/program_directory.h"
#include "platform/version_info.h"
#include "ui/pictures.h"

#include <algorithm>

#include <windows.h>

namespace app {

std::span<const std::uint8_t> ComponentImage(const ComponentFile& file) {
    return ui::ProgramResource(file.resource);
}

bool IsOurComponent(const std::wstring& path) {
    for (const std::wstring& product : platform::VersionStrings(path, L"ProductName"))
        if (product == L"Orvia") return true;
    return false;
}

bool DeployComponentTo(const std::wstring& directory, std::wstring_view fileName,
                       std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return false;
    const std::wstring path = platform::JoinPath(directory, fileName);
    // Never a half-written DLL: one would count as present and never be written again.
    if (!platform::Exists(path)) return platform::CreateFileWhole(path, bytes);
    // The everyday case first, and cheaply: the file is the image this program carries.
    const auto current = platform::ReadWholeFile(path);
    if (current && std::ranges::equal(*current, bytes)) return false;
    // Only our own files are updated; whatever else an operator put there is theirs.
    if (!IsOurComponent(path)) return false;
    return platform::ReplaceFileWhole(path, bytes);
}

bool DeployComponent(const ComponentFile& file) {
    return DeployComponentTo(platform::ProgramDirectory(), file.fileName, ComponentImage(file));
}

void HideComponentFiles(const std::wstring& directory) {
    for (const ComponentFile* file : {&kSdtapi, &kTermb, &kUnPack, &kVedioCapture})
        ::SetFileAttributesW(platform::JoinPath(directory, file->fileName).c_str(), FILE_ATTRIBUTE_HIDDEN);
}

}  // namespace app
