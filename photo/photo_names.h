// What a photo's file name may be, and the rules that turn a path into the file written.
// Portable; texts are UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace photo {

enum class NameProblem {
    None,
    ForbiddenCharacter,   // \ / : * ? " < > | or a control character
    TrailingDotOrSpace,
    ReservedDeviceName,   // CON, PRN, AUX, NUL, COM1-9, LPT1-9, with or without an extension
};

// Whether the Student identity can name a file inside the Photo directory. An empty
// identity is allowed: it gives the file ".jpg".
NameProblem CheckPhotoName(std::string_view identity);

// What is wrong with such a name, in words for the operator ("名字不能以点或空格结尾"), with
// no closing punctuation, so each caller can add what to do. Empty for None.
std::string_view DescribeNameProblem(NameProblem problem);

// `text` without leading and trailing spaces, ASCII and full-width (U+3000) alike.
std::string TrimSpaces(std::string_view text);

// `path` with `extension` (".jpg") appended unless it already ends in it, ASCII letters
// compared without case.
std::string WithExtension(std::string_view path, std::string_view extension);

}  // namespace photo
