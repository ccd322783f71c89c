// UTF-8 strings of our own at the edge of the W functions.
#pragma once

#include "platform/utf.h"

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

}  // namespace platform
