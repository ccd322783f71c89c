#include "platform/file_names.h"

#include <array>

namespace platform {

namespace {

constexpr std::string_view kFullWidthSpace = "\xE3\x80\x80";  // U+3000 in UTF-8
constexpr std::string_view kForbiddenCharacters = "\\/:*?\"<>|";

// UTF-8 continuation and lead bytes are all >= 0x80, so a byte test cannot split a character.
bool IsForbidden(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F || kForbiddenCharacters.find(c) != std::string_view::npos;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

// Windows opens the device instead of a file when the part before the first dot, less
// trailing spaces, is a device name: "con", "CON.jpg" and "Con .txt" alike.
bool IsReservedDeviceName(std::string_view name) {
    std::string_view stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
    constexpr std::array<std::string_view, 4> kDevices{"con", "prn", "aux", "nul"};
    for (const std::string_view device : kDevices) {
        if (EqualIgnoringAsciiCase(stem, device)) return true;
    }
    if (stem.size() != 4 || stem[3] < '1' || stem[3] > '9') return false;
    const std::string_view port = stem.substr(0, 3);
    return EqualIgnoringAsciiCase(port, "com") || EqualIgnoringAsciiCase(port, "lpt");
}

}  // namespace

NameProblem CheckFileName(std::string_view name) {
    for (const char c : name) {
        if (IsForbidden(c)) return NameProblem::ForbiddenCharacter;
    }
    // The file system drops a trailing dot or space, which would save under another name.
    if (!name.empty() && (name.back() == '.' || name.back() == ' ')) return NameProblem::TrailingDotOrSpace;
    if (IsReservedDeviceName(name)) return NameProblem::ReservedDeviceName;
    return NameProblem::None;
}

std::string_view DescribeNameProblem(NameProblem problem) {
    switch (problem) {
    case NameProblem::ForbiddenCharacter:
        return "名字里不能有 \\ / : * ? \" < > | 这些字符";
    case NameProblem::TrailingDotOrSpace:
        return "名字不能以点或空格结尾";
    case NameProblem::ReservedDeviceName:
        return "名字不能是 CON、PRN、AUX、NUL、COM1 至 COM9、LPT1 至 LPT9 这些设备名";
    case NameProblem::None:
        break;
    }
    return {};
}

std::string TrimSpaces(std::string_view text) {
    for (;;) {
        if (text.starts_with(' ')) {
            text.remove_prefix(1);
        } else if (text.starts_with(kFullWidthSpace)) {
            text.remove_prefix(kFullWidthSpace.size());
        } else if (text.ends_with(' ')) {
            text.remove_suffix(1);
        } else if (text.ends_with(kFullWidthSpace)) {
            text.remove_suffix(kFullWidthSpace.size());
        } else {
            return std::string(text);
        }
    }
}

std::string WithExtension(std::string_view path, std::string_view extension) {
    if (path.size() >= extension.size() &&
        EqualIgnoringAsciiCase(path.substr(path.size() - extension.size()), extension)) {
        return std::string(path);
    }
    std::string result(path);
    result += extension;
    return result;
}

}  // namespace platform
