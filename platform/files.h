// Whole-file reads and writes and existence tests, on UTF-16 paths.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// directory + "\\" + name (no second separator when the directory ends in one).
std::wstring JoinPath(const std::wstring& directory, std::wstring_view name);

bool Exists(const std::wstring& path);       // any file system entry, hidden or not
bool IsDirectory(const std::wstring& path);

// Creates or truncates the file and writes all bytes; false when any step fails.
bool WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t> bytes);

// Writes a new file so that it appears whole or not at all: the bytes go to a temporary
// file beside it, which is then renamed. An entry that appeared meanwhile is kept.
bool CreateFileWhole(const std::wstring& path, std::span<const std::uint8_t> bytes);

// Replaces an existing file so that it holds either all its old bytes or all the new ones:
// the bytes go to a temporary file beside it, which is then moved over it. Read-only, hidden
// and system attributes are cleared only when they stop the move, and put back when it
// fails. On failure the old file is as it was and no temporary file is left.
bool ReplaceFileWhole(const std::wstring& path, std::span<const std::uint8_t> bytes);

// Writes the file so that it appears whole or not at all, whether or not one of that name
// is there: the bytes go to a temporary file beside it, which is then moved over it. On
// failure an earlier file is as it was and no temporary file is left. The system's error
// code of the step that failed (a DWORD), or 0 (ERROR_SUCCESS) when the file was written.
unsigned long WriteFileWhole(const std::wstring& path, std::span<const std::uint8_t> bytes);

// A file's bytes handed out piece by piece: the producer calls the writer with each piece
// and stops when it says false; the producer's own false gives up (ERROR_CANCELLED).
using PieceWriter = std::function<bool(std::span<const std::uint8_t>)>;
using PieceProducer = std::function<bool(const PieceWriter& write)>;

// As WriteFileWhole, for a file too large to hold in memory at once (an archive).
unsigned long WriteFileWholeInPieces(const std::wstring& path, const PieceProducer& produce);

// The temporary file the writes above use beside `path`: `path` + ".<process id>.tmp".
std::wstring TemporaryPathBeside(const std::wstring& path);

// As WriteFileWhole, and a file already there under that name is kept: once the new bytes
// are written beside it, it is moved whole to the first free one of keptAs(1), keptAs(2),
// … (up to 100 tries), and only then does the new file take its name. If the new file
// cannot take it, the old one is moved back. The system's error code of the step that
// failed, or 0 when the file was written.
unsigned long WriteFileWholeKeepingOld(const std::wstring& path, std::span<const std::uint8_t> bytes,
                                       const std::function<std::wstring(int attempt)>& keptAs);

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path);

}  // namespace platform
