#include "control_file.h"

#include <windows.h>

#include <string>

namespace vcam {

namespace {

constexpr DWORD kMaxControlBytes = 4096;

struct FileOwner {
    HANDLE handle;
    ~FileOwner() {
        if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
    }
};

}  // namespace

Control ReadControl() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableW(L"ORVIA_VIRTUAL_CAMERA_CONTROL", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    // Shared every way: the test rewrites or deletes the file while the camera runs.
    const FileOwner file{::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.handle == INVALID_HANDLE_VALUE) return {};
    std::string text(kMaxControlBytes, '\0');
    DWORD read = 0;
    if (!::ReadFile(file.handle, text.data(), kMaxControlBytes, &read, nullptr)) return {};
    text.resize(read);
    return ParseControl(text);
}

}  // namespace vcam
