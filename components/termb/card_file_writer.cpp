#include "card_file_writer.h"

#include "card_text.h"
#include "platform/files.h"
#include "platform/win_text.h"

#include <windows.h>

namespace termb {

namespace {


bool RemoveIfPresent(const std::wstring& path) {
    if (::DeleteFileW(path.c_str())) return true;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

std::optional<std::string> EncodeCardText(const std::array<std::u16string, 8>& fields) {
    if (!card::FitsCardFile(fields)) return std::nullopt;
    std::wstring joined;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) joined += L"\r\n";
        joined.append(fields[i].begin(), fields[i].end());
    }
    // Seven separators at least, so never empty.
    return platform::ToCodePageExactly(joined, platform::kGb18030CodePage);
}

bool RemoveCardFiles(const std::wstring& directory) {
    bool removed = true;
    for (const wchar_t* name : {kCardTextFile, kPortraitFile, kDecodedPortraitFile})
        removed &= RemoveIfPresent(platform::JoinPath(directory, name));
    return removed;
}

bool WriteCardFiles(const std::wstring& directory, const std::array<std::u16string, 8>& fields,
                    std::span<const std::uint8_t> portrait) {
    const std::optional<std::string> text = EncodeCardText(fields);
    if (!text) return false;
    const std::wstring portraitPath = platform::JoinPath(directory, kPortraitFile);
    if (platform::WriteFileWhole(portraitPath, portrait) != ERROR_SUCCESS) return false;
    const auto textBytes = std::span(reinterpret_cast<const std::uint8_t*>(text->data()), text->size());
    if (platform::WriteFileWhole(platform::JoinPath(directory, kCardTextFile), textBytes) != ERROR_SUCCESS) {
        ::DeleteFileW(portraitPath.c_str());  // one read's files come together or not at all
        return false;
    }
    return true;
}

}  // namespace termb
