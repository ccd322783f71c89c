// The .xlsx reader on workbooks written by real spreadsheet writers (roster/make_workbooks.py,
// run by ctest before these tests), and on hostile archives made here: each gets rows or an
// error, never a crash or a read outside its bytes (ASan watches).
#include "roster/class_list.h"
#include "roster/xlsx_reader.h"
#include "roster/zip_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

using roster::XlsxProblem;
using Bytes = std::vector<std::uint8_t>;

Bytes ReadWorkbook(const std::string& name) {
    std::ifstream file(std::string(ROSTER_WORKBOOKS_DIR) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), {});
}

// A ZIP archive of the given parts, stored.
Bytes Archive(const std::vector<std::pair<std::string, std::string>>& parts) {
    Bytes bytes;
    roster::ZipWriter zip([&](std::span<const std::uint8_t> piece) {
        bytes.insert(bytes.end(), piece.begin(), piece.end());
        return true;
    });
    for (const auto& [name, text] : parts)
        zip.Add(name, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), {});
    zip.Finish();
    return bytes;
}

Bytes SheetOnly(const std::string& sheetData, const std::string& sharedStrings = {}) {
    std::vector<std::pair<std::string, std::string>> parts{
        {"xl/worksheets/sheet1.xml", "<worksheet><sheetData>" + sheetData + "</sheetData></worksheet>"}};
    if (!sharedStrings.empty()) parts.emplace_back("xl/sharedStrings.xml", "<sst>" + sharedStrings + "</sst>");
    return Archive(parts);
}

TEST(XlsxReader, ReadsTheFirstSheetOfRealWorkbooks) {
    // openpyxl: inline strings, the first sheet in the part sheet2.xml, an empty column B.
    const roster::XlsxSheet openpyxl = roster::ReadXlsx(ReadWorkbook("openpyxl.xlsx"));
    ASSERT_EQ(openpyxl.problem, XlsxProblem::None);
    EXPECT_EQ(openpyxl.rows, (roster::TextRows{
                                 {{"2025年春季班学员名单"}, 1},
                                 {{"姓名", "", "身份证号码", "班级"}, 2},
                                 {{"张三", "", "11010519491231002X", "一班"}, 3},
                                 {{" 李四 ", "", "1.1010519491231e+17", "3"}, 4},
                                 {{"O'Brien & <Co>", "", "440524188001010014", "二班"}, 5},
                             }));
    const roster::ClassList list = roster::BuildClassList(openpyxl.rows, {2026, 12, 10});
    ASSERT_EQ(list.trainees.size(), 3u);
    EXPECT_EQ(list.trainees[1].name, "李四");
    ASSERT_EQ(list.wrongIds.size(), 2u) << "the number stored as a number, the standard's 1880 example";
    EXPECT_EQ(list.wrongIds[0].row, 4);
    EXPECT_EQ(list.wrongIds[0].problem, roster::IdProblem::WrongLength);

    // XlsxWriter: shared strings, a rich-text name, a boolean, a cell in column AA.
    const roster::XlsxSheet xlsxwriter = roster::ReadXlsx(ReadWorkbook("xlsxwriter.xlsx"));
    ASSERT_EQ(xlsxwriter.problem, XlsxProblem::None);
    std::vector<std::string> third(27);
    third[0] = "姓名";
    third[1] = "TRUE";
    third[26] = "far";
    EXPECT_EQ(xlsxwriter.rows, (roster::TextRows{{{"姓名", "证件号码", "班别"}, 1},
                                                 {{"王五", "11010519491231002X", "一班"}, 2},
                                                 {third, 3}}));
}

TEST(XlsxReader, HostileArchivesGiveAnError) {
    // Without a workbook the first sheet is sheet1.xml; entities, xml:space, a spreadsheet's _xHHHH_.
    const Bytes fine = SheetOnly(
        R"(<row r="2"><c r="B2" t="s"><v>1</v></c><c t="inlineStr"><is><t xml:space="preserve"> a&amp;b&#x4E00;&#20108; </t></is></c></row>)"
        R"(<row><c><v>12</v></c></row>)",
        R"(<si><t>x</t></si><si><r><t> trimmed </t></r><rPh><t>reading aid</t></rPh><r><t>_x0041_</t></r></si>)");
    const roster::XlsxSheet read = roster::ReadXlsx(fine);
    ASSERT_EQ(read.problem, XlsxProblem::None);
    EXPECT_EQ(read.rows, (roster::TextRows{{{"", "trimmedA", " a&b一二 "}, 2}, {{"12"}, 3}}));

    for (std::size_t length = 0; length < fine.size(); ++length)
        EXPECT_NE(roster::ReadXlsx(std::span(fine).first(length)).problem, XlsxProblem::None) << length;

    std::string wide;
    for (int row = 1; row <= 62; ++row) wide += "<row><c r=\"XFD" + std::to_string(row) + "\"/></row>";
    EXPECT_EQ(roster::ReadXlsx(SheetOnly(wide)).problem, XlsxProblem::TooManyCells);
    EXPECT_EQ(roster::ReadXlsx(SheetOnly(R"(<row><c t="s"><v>1</v></c></row>)", "<si><t>x</t></si>")).problem,
              XlsxProblem::Corrupt);
    EXPECT_EQ(roster::ReadXlsx(SheetOnly(R"(<row><c r="XFE1"/></row>)")).problem, XlsxProblem::Corrupt);
    EXPECT_EQ(roster::ReadXlsx(Archive({{"readme.txt", "hello"}})).problem, XlsxProblem::NotXlsx);
    const Bytes xls{0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1, 0, 0, 0, 0};
    EXPECT_EQ(roster::ReadXlsx(xls).problem, XlsxProblem::OldOrLocked);

    // The sheet's size in the central directory raised past 64 MiB.
    Bytes bomb = SheetOnly("<row><c><v>1</v></c></row>");
    const std::size_t central = bomb.size() - 22 - (46 + 24);
    ASSERT_EQ(bomb[central], 0x50);
    bomb[central + 24 + 3] = 0x05;  // size field, high byte
    EXPECT_EQ(roster::ReadXlsx(bomb).problem, XlsxProblem::TooLarge);
}

}  // namespace
