// The first worksheet of an .xlsx file as rows of text, the other form a school's class list
// comes in. Each cell reads as the file stores it: a shared or inline string as its text, a
// number as written in the XML (an ID number typed as a number has already lost its last
// digits there, e.g. "1.10105194912311E+17", and the class list reports it as wrong), a
// boolean as TRUE or FALSE. Gaps between cells of a row are filled with empty cells; a row's
// number is the worksheet's. A hostile file gets an error, never more than 1,000,000 cells or
// 256 MiB of text, nor a read outside its bytes. Portable.
#pragma once

#include "roster/rows.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace roster {

enum class XlsxProblem {
    None,
    NotXlsx,      // not a ZIP archive, or one without a worksheet
    OldOrLocked,  // a compound file: an old binary .xls, or an .xlsx locked with a password
    Unsupported,  // a ZIP feature .xlsx files do not use (ZIP64, encryption)
    TooLarge,     // parts or text past the limits
    TooManyCells,
    Corrupt,
};

inline constexpr std::size_t kMaxXlsxCells = 1'000'000;

struct XlsxSheet {
    XlsxProblem problem = XlsxProblem::None;
    TextRows rows;  // empty unless problem is None
};

XlsxSheet ReadXlsx(std::span<const std::uint8_t> bytes);

// What is wrong, in words for the operator; empty for None.
std::string_view DescribeXlsxProblem(XlsxProblem problem);

}  // namespace roster
