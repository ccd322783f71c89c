// What a file name may be on Windows, in words an operator understands, and the rules that
// turn a path into the file written. Photos are named by the Student identity, so the
// naming box and the save both ask these.
// Portable; texts are UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace platform {

enum class NameProblem {
    None,
    ForbiddenCharacter,   // \ / : * ? " < > | or a control character
    TrailingDotOrSpace,
    ReservedDeviceName,   // CON, PRN, AUX, NUL, COM1-9, LPT1-9, with or without an extension
};

// Whether `name` (UTF-8) can name a file inside a directory. An empty name is allowed: a
// photo of an empty Student identity is the file ".jpg".
NameProblem CheckFileName(std::string_view name);

// What is wrong with such a name, in words for the operator ("名字不能以点或空格结尾"), with
// no closing punctuation, so each caller can add what to do. Empty for None.
std::string_view DescribeNameProblem(NameProblem problem);

// `text` without leading and trailing spaces, ASCII and full-width (U+3000) alike.
std::string TrimSpaces(std::string_view text);

// `path` with `extension` (".jpg") appended unless it already ends in it, ASCII letters
// compared without case.
std::string WithExtension(std::string_view path, std::string_view extension);

}  // namespace platform
