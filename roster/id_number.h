// The resident ID number check of GB 11643: 17 digits, then a check character computed by
// ISO 7064 MOD 11-2 ("X" for ten), with the birth date in characters 7-14 (YYYYMMDD). A
// class list typed by hand or exported through a spreadsheet (which turns a long number into
// 1.10105E+17) is checked with it row by row. Portable.
#pragma once

#include "roster/calendar.h"

#include <optional>
#include <string>
#include <string_view>

namespace roster {

inline constexpr std::size_t kIdNumberLength = 18;

enum class IdProblem {
    None,
    WrongLength,  // not 18 characters (an empty number too)
    NotDigits,    // a character other than a digit, or a last one other than a digit or X
    CheckDigit,   // the last character does not match the other 17
    BirthDate,    // no real date, before 1900 or after today
};

// What is wrong with `idNumber`, a lower-case x at the end taken as X. `today` bounds the
// birth date: nobody is born after the day the list is read.
IdProblem CheckIdNumber(std::string_view idNumber, Date today);

// The check character ('0'-'9' or 'X') for the first 17 characters of a number; nullopt
// unless they are 17 digits.
std::optional<char> IdCheckCharacter(std::string_view first17);

// `idNumber` with a trailing lower-case x made upper case, the form cards and saves use.
std::string NormalizeIdNumber(std::string_view idNumber);

// What is wrong, in words for the operator ("校验位不对"); empty for None.
std::string_view DescribeIdProblem(IdProblem problem);

}  // namespace roster
