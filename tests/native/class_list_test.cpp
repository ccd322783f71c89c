// The class list from rows of cells: the header below a title, wrong ID numbers imported and
// listed, duplicates left out and listed, all in the one message after the import.
#include "roster/class_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr roster::Date kToday{2026, 12, 10};

TEST(ClassList, WrongIdsAreImportedAndListedDuplicatesLeftOut) {
    const roster::TextRows rows{
        {{"2025年春季班"}, 1},
        {{" 姓\u3000名 ", "身份证\n号码", "班别"}, 2},
        {{"张三", "11010519491231002x", "一班"}, 3},
        {{"李四", "1.10105194912311E+17", "一班"}, 4},
        {{"", " ", ""}, 5},
        {{"王五", "", "二班"}, 6},
        {{"赵六", "11010519491231002X", "二班"}, 7},
        {{"钱七", "110105194912310021"}, 8},
        {{"孙八", "", ""}, 9},
    };
    const roster::ClassList list = roster::BuildClassList(rows, kToday);
    ASSERT_EQ(list.problem, roster::ListProblem::None);

    std::vector<int> imported, wrong;
    for (const roster::Trainee& trainee : list.trainees) imported.push_back(trainee.row);
    for (const roster::WrongIdRow& row : list.wrongIds) wrong.push_back(row.row);
    EXPECT_EQ(imported, (std::vector<int>{3, 4, 6, 8, 9})) << "two rows without a number are no duplicates";
    EXPECT_EQ(wrong, (std::vector<int>{4, 6, 8, 9}));
    EXPECT_EQ(list.trainees[0].idNumber, "11010519491231002X");
    EXPECT_EQ(list.trainees[3].className, "") << "a row shorter than the header";
    EXPECT_EQ(list.wrongIds[2].problem, roster::IdProblem::CheckDigit);
    ASSERT_EQ(list.duplicates.size(), 1u);
    EXPECT_EQ(list.duplicates[0].row, 7);
    EXPECT_EQ(list.duplicates[0].firstRow, 3) << "a final x and X are the same number";

    const std::string message = roster::DescribeImport(list, 2);
    for (const char* line : {"已导入 5 名学员。", "\n第 4 行 李四 1.10105194912311E+17：不是18位\n",
                             "\n第 6 行 王五 （没有身份证号码）\n……另有 2 行", "\n第 7 行 赵六 11010519491231002X（与第 3 行相同）"})
        EXPECT_NE(message.find(line), std::string::npos) << line << "\nnot in\n" << message;

    const roster::TextRows noList{{{"科目一", "90"}, 1}, {{"科目二", "85"}, 2}};
    EXPECT_EQ(roster::BuildClassList(noList, kToday).problem, roster::ListProblem::NoColumns);
}

}  // namespace
