// UTF-8 strings of our own at the edge of the W functions.
#pragma once

#include "platform/utf.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace platform {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the Win32 layer needs 16-bit wchar_t");

inline std::wstring Wide(std::string_view utf8) {
    const std::u16string u = Utf8ToUtf16(utf8);
    return {u.begin(), u.end()};
}

inline std::string Narrow(std::wstring_view wide) {
    return Utf16ToUtf8({reinterpret_cast<const char16_t*>(wide.data()), wide.size()});
}

// Text in a code page (CP_ACP, 936) as UTF-8; bytes that do not decode become the
// platform's replacement character.
inline std::string FromCodePage(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
    return Narrow(wide);
}

}  // namespace platform
