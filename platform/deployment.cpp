#include "platform/deployment.h"

#include "platform/files.h"
#include "platform/program_directory.h"
#include "platform/version_info.h"
#include "platform/program_resource.h"

#include <algorithm>

#include <windows.h>

namespace platform {

std::span<const std::uint8_t> ComponentImage(const ComponentFile& file) {
    return ProgramResource(file.resource);
}

bool IsOurComponent(const std::wstring& path) {
    for (const std::wstring& product : VersionStrings(path, L"ProductName"))
        if (product == L"Orvia") return true;
    return false;
}

bool DeployComponentTo(const std::wstring& directory, std::wstring_view fileName,
                       std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return false;
    const std::wstring path = JoinPath(directory, fileName);
    // Never a half-written DLL: one would count as present and never be written again.
    if (!Exists(path)) return CreateFileWhole(path, bytes);
    // The everyday case first, and cheaply: the file is the image this program carries.
    const auto current = ReadWholeFile(path);
    if (current && std::ranges::equal(*current, bytes)) return false;
    // Only our own files are updated; whatever else an operator put there is theirs.
    if (!IsOurComponent(path)) return false;
    return ReplaceFileWhole(path, bytes);
}

bool DeployComponent(const ComponentFile& file) {
    return DeployComponentTo(ProgramDirectory(), file.fileName, ComponentImage(file));
}

void HideComponentFiles(const std::wstring& directory, std::span<const ComponentFile> files) {
    for (const ComponentFile& file : files)
        ::SetFileAttributesW(JoinPath(directory, file.fileName).c_str(), FILE_ATTRIBUTE_HIDDEN);
}

}  // namespace platform
