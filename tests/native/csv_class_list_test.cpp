// Class lists in CSV as spreadsheets and school systems write them, each form read into the same
// trainees; and what we write read back unchanged.
#include "roster/class_list.h"
#include "roster/csv_text.h"

#include "platform/gb18030.h"
#include "platform/utf.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using roster::TextEncoding;

constexpr roster::Date kToday{2026, 12, 10};

std::string Gbk(const std::string& utf8) { return platform::ToGb18030(platform::Utf8ToUtf16(utf8)).value(); }

struct Expected {
    std::string name, idNumber, className;
    int row;
};

TEST(CsvClassList, EachFormASpreadsheetWritesReadsIntoTheSameTrainees) {
    const struct {
        const char* what;
        std::string bytes;
        TextEncoding encoding;
        std::vector<Expected> trainees;
    } files[] = {
        {"UTF-8 with BOM, header, quoted commas and line breaks, CR LF",
         std::string(roster::kUtf8Bom) +
             "姓名,身份证号码,班级\r\n"
             "张三,11010519491231002X,\"一班,上午\"\r\n"
             "\r\n"
             "\"李四\",440306199001011236,\"二班\r\n(下午)\"\r\n"
             " 王五 ,=\"320102198511110025\",\"\"\"快\"\"班\"\r\n",
         TextEncoding::Utf8WithBom,
         {{"张三", "11010519491231002X", "一班,上午", 2},
          {"李四", "440306199001011236", "二班\n(下午)", 4},
          {"王五", "320102198511110025", "\"快\"班", 6}}},
        {"GBK under a title row, apostrophes, a quoted =\"...\", blank records, LF, no last line end",
         Gbk("2025年春季班学员名单,,,\n"
             "序号,姓名,身份证号,班别\n"
             "1,张三,'11010519491231002x,一班\n"
             ",,,\n"
             "\n"
             "2,李四,440306199001011236,二班\n"
             "3,王五,\"=\"\"320102198511110025\"\"\",快班"),
         TextEncoding::Gb18030,
         {{"张三", "11010519491231002X", "一班", 3},
          {"李四", "440306199001011236", "二班", 6},
          {"王五", "320102198511110025", "快班", 7}}},
        {"UTF-8 without BOM or header: columns found by content, the numbers left of the IDs passed over",
         "1,11010519491231002X,张三,13800000000\r\n"
         "2,440306199001011236,李四,13800000001\r\n"
         "3, 320102198511110025 ,王五,\r\n",
         TextEncoding::Utf8,
         {{"张三", "11010519491231002X", "", 1}, {"李四", "440306199001011236", "", 2}, {"王五", "320102198511110025", "", 3}}},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.what);
        EXPECT_EQ(roster::DetectEncoding(file.bytes), file.encoding);
        const roster::ClassList list = roster::ReadClassListCsv(file.bytes, kToday);
        EXPECT_EQ(list.problem, roster::ListProblem::None);
        EXPECT_TRUE(list.wrongIds.empty());
        ASSERT_EQ(list.trainees.size(), file.trainees.size());
        for (std::size_t i = 0; i < file.trainees.size(); ++i) {
            const roster::Trainee& got = list.trainees[i];
            const Expected& want = file.trainees[i];
            EXPECT_EQ(got.name, want.name);
            EXPECT_EQ(got.idNumber, want.idNumber);
            EXPECT_EQ(got.className, want.className);
            EXPECT_EQ(got.row, want.row) << want.name;
        }
    }
}

TEST(CsvClassList, WhatWeWriteReadsBackUnchanged) {
    // Fields a careless writer would split, trim, or leave for a spreadsheet to take as a formula.
    const std::vector<std::vector<std::string>> rows{
        {"a,b", "say \"hi\"", "two\nlines"},
        {" padded ", "=HYPERLINK(\"x\")", "'quoted", "-1", "+86", "@x", "plain", ""},
    };
    const std::string written = roster::WriteCsv(rows);
    EXPECT_TRUE(written.starts_with(roster::kUtf8Bom));
    EXPECT_TRUE(written.ends_with("\"two\nlines\"\r\n" R"csv(" padded ","'=HYPERLINK(""x"")",''quoted,'-1,'+86,'@x,plain,)csv" "\r\n"));
    const roster::TextRows read = roster::ReadCsv(written);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].cells, rows[0]);
    EXPECT_EQ(read[1].cells, rows[1]);
    EXPECT_EQ(read[1].number, 3) << "the first record spans two lines";

    // The list kept beside the program, through the same reader.
    const std::vector<roster::Trainee> trainees{{"张三", "11010519491231002X", "一班,上午", 2},
                                                {"O'Brien", "440306199001011236", "", 3}};
    const std::string file = roster::WriteClassListCsv(trainees);
    EXPECT_TRUE(file.starts_with(std::string(roster::kUtf8Bom) + "姓名,身份证号码,班级\r\n"));
    const roster::ClassList back = roster::ReadClassListCsv(file, kToday);
    ASSERT_EQ(back.trainees.size(), 2u);
    for (std::size_t i = 0; i < trainees.size(); ++i) {
        EXPECT_EQ(back.trainees[i].name, trainees[i].name);
        EXPECT_EQ(back.trainees[i].idNumber, trainees[i].idNumber);
        EXPECT_EQ(back.trainees[i].className, trainees[i].className);
    }
}

}  // namespace
