#include "platform/version_info.h"

#include <cstddef>

#include <windows.h>

namespace platform {
namespace {

// One entry of \VarFileInfo\Translation.
struct Translation {
    WORD language;
    WORD codePage;
};

std::wstring Hex4(unsigned value) {
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring text(4, L'0');
    for (int i = 3; i >= 0; --i, value >>= 4) text[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
    return text;
}

}  // namespace

std::vector<std::wstring> VersionStrings(const std::wstring& path, std::wstring_view name) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<std::byte> block(size);
    if (!::GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return {};

    void* found = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &found, &length) || found == nullptr) {
        return {};
    }
    const auto* translations = static_cast<const Translation*>(found);
    const std::size_t count = length / sizeof(Translation);

    std::vector<std::wstring> values;
    for (std::size_t i = 0; i < count; ++i) {
        const std::wstring key = L"\\StringFileInfo\\" + Hex4(translations[i].language) +
                                 Hex4(translations[i].codePage) + L"\\" + std::wstring(name);
        void* text = nullptr;
        UINT characters = 0;
        if (!::VerQueryValueW(block.data(), key.c_str(), &text, &characters) || text == nullptr) continue;
        // The count may or may not include the terminating zero, depending on the compiler of the .rc.
        const std::wstring_view value(static_cast<const wchar_t*>(text), characters);
        values.emplace_back(value.substr(0, value.find(L'\0')));
    }
    return values;
}

}  // namespace platform
