#include "app/components.h"

#include "platform/files.h"
#include "platform/program_directory.h"
#include "ui/pictures.h"

#include <windows.h>

namespace app {

std::span<const std::uint8_t> ComponentImage(const ComponentFile& file) {
    return ui::ProgramResource(file.resource);
}

bool DeployComponentTo(const std::wstring& directory, std::wstring_view fileName,
                       std::span<const std::uint8_t> bytes) {
    const std::wstring path = platform::JoinPath(directory, fileName);
    if (platform::Exists(path) || bytes.empty()) return false;
    // Never a half-written DLL: one would count as present and never be written again.
    return platform::CreateFileWhole(path, bytes);
}

bool DeployComponent(const ComponentFile& file) {
    return DeployComponentTo(platform::ProgramDirectory(), file.fileName, ComponentImage(file));
}

void HideComponentFiles(const std::wstring& directory) {
    for (const ComponentFile* file : {&kSdtapi, &kTermb, &kUnPack, &kVedioCapture})
        ::SetFileAttributesW(platform::JoinPath(directory, file->fileName).c_str(), FILE_ATTRIBUTE_HIDDEN);
}

}  // namespace app
