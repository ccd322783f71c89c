// UTF-8 strings of our own at the edge of the W functions.
#pragma once

#include "platform/gb18030.h"
#include "platform/utf.h"

#include <windows.h>

#include <optional>
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

// A window's text (a caption, an edit control's contents); empty when it has none.
inline std::wstring WindowTextOf(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

// Text in a code page (CP_ACP, 936, 54936) as UTF-8; bytes that do not decode become the
// replacement character. GB18030 (54936) goes through our own tables (platform/gb18030.h).
inline std::string FromCodePage(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) return {};
    if (codePage == kGb18030CodePage) return Utf16ToUtf8(FromGb18030(bytes));
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
    return Narrow(wide);
}

// Text in a code page (CP_ACP, 936, 54936). Characters the code page cannot carry become
// its default character.
inline std::string ToCodePage(std::wstring_view text, UINT codePage) {
    if (text.empty()) return {};
    if (codePage == kGb18030CodePage)
        return ToGb18030({reinterpret_cast<const char16_t*>(text.data()), text.size()}).value_or(std::string());
    const int size = static_cast<int>(text.size());
    const int length = ::WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

// The same for text that must come back exactly: nullopt when a character has no place in
// the code page or would become a look-alike, and for empty text (and for a lone surrogate).
// GB18030 (54936, our own tables) and UTF-8 carry every character; the platform takes no
// flags and no "used default" for UTF-8.
inline std::optional<std::string> ToCodePageExactly(std::wstring_view text, UINT codePage) {
    if (codePage == kGb18030CodePage) {
        if (text.empty()) return std::nullopt;
        return ToGb18030({reinterpret_cast<const char16_t*>(text.data()), text.size()});
    }
    const bool carriesAll = codePage == CP_UTF8;
    const DWORD flags = carriesAll ? 0 : WC_NO_BEST_FIT_CHARS;
    const int size = static_cast<int>(text.size());
    const int length =
        size > 0 ? ::WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, nullptr) : 0;
    if (length <= 0) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    BOOL usedDefault = FALSE;
    if (::WideCharToMultiByte(codePage, flags, text.data(), size, bytes.data(), length, nullptr,
                              carriesAll ? nullptr : &usedDefault) != length ||
        usedDefault)
        return std::nullopt;
    return bytes;
}

}  // namespace platform
