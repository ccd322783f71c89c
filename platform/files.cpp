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

namespace {
bool WriteAll(HANDLE file, std::span<const std::uint8_t> bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 30));
        DWORD done = 0;
        if (!::WriteFile(file, bytes.data() + written, chunk, &done, nullptr) || done == 0) return false;
        written += done;
    }
    return true;
}

bool WriteFileInPieces(const std::wstring& path, const PieceProducer& produce) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD failure = ERROR_SUCCESS;
    const bool produced = produce([&](std::span<const std::uint8_t> bytes) {
        if (failure == ERROR_SUCCESS && !WriteAll(file.get(), bytes)) failure = ::GetLastError();
        return failure == ERROR_SUCCESS;
    });
    if (failure == ERROR_SUCCESS && !produced) failure = ERROR_CANCELLED;
    if (failure != ERROR_SUCCESS) ::SetLastError(failure);
    return failure == ERROR_SUCCESS;
}
}  // namespace

bool WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    return WriteFileInPieces(path, [bytes](const PieceWriter& write) { return write(bytes); });
}

std::wstring TemporaryPathBeside(const std::wstring& path) {
    return path + L"." + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
}

namespace {

// A file beside `target` that takes the new bytes; removed again unless it was moved into place.
class TemporaryBeside {
public:
    explicit TemporaryBeside(const std::wstring& target) : path_(TemporaryPathBeside(target)) {}
    ~TemporaryBeside() {
        if (!moved_) ::DeleteFileW(path_.c_str());
    }
    TemporaryBeside(const TemporaryBeside&) = delete;
    TemporaryBeside& operator=(const TemporaryBeside&) = delete;

    bool Write(std::span<const std::uint8_t> bytes) { return WriteWholeFile(path_, bytes); }
    bool WriteInPieces(const PieceProducer& produce) { return WriteFileInPieces(path_, produce); }
    bool MoveTo(const std::wstring& target, DWORD flags) {
        moved_ = ::MoveFileExW(path_.c_str(), target.c_str(), flags) != 0;
        return moved_;
    }

private:
    std::wstring path_;
    bool moved_ = false;
};

}  // namespace

bool CreateFileWhole(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    TemporaryBeside temporary(path);
    return temporary.Write(bytes) && temporary.MoveTo(path, MOVEFILE_WRITE_THROUGH);
}

bool ReplaceFileWhole(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    constexpr DWORD kFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;

    TemporaryBeside temporary(path);
    if (!temporary.Write(bytes)) return false;
    if (temporary.MoveTo(path, kFlags)) return true;

    // A read-only file is never replaced, and some systems refuse hidden or system ones too.
    constexpr DWORD kBlocking = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if ((attributes & kBlocking) == 0) return false;
    const DWORD cleared = attributes & ~kBlocking;
    if (!::SetFileAttributesW(path.c_str(), cleared != 0 ? cleared : FILE_ATTRIBUTE_NORMAL)) return false;
    if (temporary.MoveTo(path, kFlags)) return true;
    ::SetFileAttributesW(path.c_str(), attributes);
    return false;
}

namespace {
// The error of the step that just failed, read before the temporary file is removed, which
// may change it.
DWORD LastFailure() {
    const DWORD error = ::GetLastError();
    return error != ERROR_SUCCESS ? error : static_cast<DWORD>(ERROR_GEN_FAILURE);
}

// Moves `path` to the first free one of keptAs(1), keptAs(2) …; the name it took, or empty
// with the system's error set.
std::wstring MoveAside(const std::wstring& path, const std::function<std::wstring(int)>& keptAs) {
    constexpr int kTries = 100;
    for (int attempt = 1; attempt <= kTries; ++attempt) {
        const std::wstring kept = keptAs(attempt);
        if (::MoveFileExW(path.c_str(), kept.c_str(), MOVEFILE_WRITE_THROUGH)) return kept;
        const DWORD error = ::GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return {};
    }
    ::SetLastError(ERROR_FILE_EXISTS);
    return {};
}
}  // namespace

unsigned long WriteFileWholeKeepingOld(const std::wstring& path, std::span<const std::uint8_t> bytes,
                                       const std::function<std::wstring(int attempt)>& keptAs) {
    TemporaryBeside temporary(path);
    if (!temporary.Write(bytes)) return LastFailure();
    std::wstring kept;
    if (Exists(path)) {
        kept = MoveAside(path, keptAs);
        if (kept.empty()) return LastFailure();
    }
    if (temporary.MoveTo(path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return ERROR_SUCCESS;
    const DWORD error = LastFailure();
    if (!kept.empty()) ::MoveFileExW(kept.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH);
    return error;
}

unsigned long WriteFileWhole(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    return WriteFileWholeInPieces(path, [bytes](const PieceWriter& write) { return write(bytes); });
}

unsigned long WriteFileWholeInPieces(const std::wstring& path, const PieceProducer& produce) {
    TemporaryBeside temporary(path);
    if (!temporary.WriteInPieces(produce)) return LastFailure();
    if (!temporary.MoveTo(path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return LastFailure();
    return ERROR_SUCCESS;
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
