// The class list: the trainees of the day as the school sends them (a CSV or .xlsx file read
// into rows), and the copy kept beside the program as 学员名单.csv. Its columns are found by
// their header (姓名; 身份证号, 身份证号码 or 证件号码; 班级 or 班别, optional) in one of the
// first rows, or, in a list without such a header, by what they hold: the column mostly of
// 18-character ID numbers, and the nearest column beside it mostly of text. A row whose ID
// number fails the check is imported all the same and listed, with what is wrong, for one
// message after the import; a row repeating an earlier row's ID number is left out and
// listed. Portable; texts are UTF-8.
#pragma once

#include "roster/calendar.h"
#include "roster/id_number.h"
#include "roster/rows.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace roster {

inline constexpr std::string_view kClassListFileName = "学员名单.csv";

struct Trainee {
    std::string name;
    std::string idNumber;  // a final x made upper case
    std::string className;
    int row = 0;           // the row or line of the file it came from
};

struct WrongIdRow {
    int row = 0;
    std::string name;
    std::string idNumber;
    IdProblem problem = IdProblem::None;
};

struct DuplicateRow {
    int row = 0;
    int firstRow = 0;  // the row kept
    std::string name;
    std::string idNumber;
};

enum class ListProblem {
    None,
    NoColumns,  // neither a header nor columns of ID numbers and names
    NoTrainees,
};

struct ClassList {
    ListProblem problem = ListProblem::None;
    std::vector<Trainee> trainees;
    std::vector<WrongIdRow> wrongIds;  // imported all the same
    std::vector<DuplicateRow> duplicates;  // left out
};

// The class list in `rows`; ID numbers are checked against `today`.
ClassList BuildClassList(std::span<const TextRow> rows, Date today);

// The message after an import: how many were imported, then the rows with a wrong ID
// number and the duplicates, each list cut at `maxListed` lines with the number left over.
std::string DescribeImport(const ClassList& list, std::size_t maxListed = 15);

// 学员名单.csv: UTF-8 with a byte-order mark, CR LF, header 姓名,身份证号码,班级.
std::string WriteClassListCsv(std::span<const Trainee> trainees);

// 学员名单.csv (or any class list in CSV) read back.
ClassList ReadClassListCsv(std::string_view bytes, Date today);

}  // namespace roster
