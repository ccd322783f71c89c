#include "control_file.h"

#include "platform/host.h"
#include "platform/owners.h"

#include <windows.h>

#include <string>

namespace vcam {

namespace {

constexpr DWORD kMaxControlBytes = 4096;

}  // namespace

Control ReadControl() {
    const std::optional<std::wstring> path = platform::EnvironmentValue(L"ORVIA_VIRTUAL_CAMERA_CONTROL");
    if (!path || path->empty()) return {};
    // Shared every way: the test rewrites or deletes the file while the camera runs.
    const platform::UniqueFile file(::CreateFileW(path->c_str(), GENERIC_READ,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    std::string text(kMaxControlBytes, '\0');
    DWORD read = 0;
    if (!::ReadFile(file.get(), text.data(), kMaxControlBytes, &read, nullptr)) return {};
    text.resize(read);
    return ParseControl(text);
}

}  // namespace vcam
