#include "temp_directory.h"

#include <windows.h>

#include <atomic>

namespace testing_support {

namespace {
void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW entry;
    HANDLE find = ::FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(child);
            else ::DeleteFileW(child.c_str());
        } while (::FindNextFileW(find, &entry));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(path.c_str());
}
}  // namespace

TempDirectory::TempDirectory() {
    static std::atomic<int> counter{0};
    wchar_t base[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, base);
    path_ = std::wstring(base) + L"orvia-win32-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(counter++) + L"-" + std::to_wstring(::GetTickCount());
    ::CreateDirectoryW(path_.c_str(), nullptr);
}

TempDirectory::~TempDirectory() { RemoveTree(path_); }

std::wstring FromBuildPath(const char* path) {
    if (!path) return {};
    std::wstring wide;
    for (const char* p = path; *p; ++p) wide += static_cast<wchar_t>(*p == '/' ? '\\' : *p);
    return path[0] == '/' ? L"Z:" + wide : wide;
}

}  // namespace testing_support
