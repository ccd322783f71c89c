#include "platform/files.h"

#include "platform/owners.h"

#include <algorithm>

#include <windows.h>

namespace platform {

std::wstring JoinPath(const std::wstring& directory, std::wstring_view name) {
    std::wstring path = directory;
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    path += name;
    return path;
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    std::size_t written = 0;
    while (written < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 30));
        DWORD done = 0;
        if (!::WriteFile(file.get(), bytes.data() + written, chunk, &done, nullptr) || done == 0) return false;
        written += done;
    }
    return true;
}

bool CreateFileWhole(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    const std::wstring temporary = path + L"." + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    if (!WriteWholeFile(temporary, bytes)) {
        ::DeleteFileW(temporary.c_str());
        return false;
    }
    if (!::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 || size.QuadPart > (1ll << 31)) return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    std::size_t read = 0;
    while (read < bytes.size()) {
        DWORD done = 0;
        if (!::ReadFile(file.get(), bytes.data() + read, static_cast<DWORD>(bytes.size() - read), &done, nullptr)) {
            return std::nullopt;
        }
        if (done == 0) break;
        read += done;
    }
    bytes.resize(read);
    return bytes;
}

}  // namespace platform
