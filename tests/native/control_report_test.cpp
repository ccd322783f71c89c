#include "ui/control_report.h"

#include <gtest/gtest.h>

namespace {

TEST(ControlReport, ValuesWithLineBreaksAndBackslashesSurviveTheRoundTrip) {
    const ui::ReportFields fields = {
        {"caption", "1、鼠标点击\r\n2、C:\\学员照片\\"},
        {"empty", ""},
        {"shown", "1"},
        {"equation", "a=b"},
    };
    const auto parsed = ui::ParseReport(ui::FormatReport(fields));
    ASSERT_EQ(parsed.size(), fields.size());
    for (const auto& [key, value] : fields) EXPECT_EQ(parsed.at(key), value) << key;
}

TEST(ControlReport, LinesWithoutAKeyAreIgnored) {
    const auto parsed = ui::ParseReport("junk\nx=1\n\ny=2");
    EXPECT_EQ(parsed.size(), 2u);
    EXPECT_EQ(parsed.at("y"), "2");
}

}  // namespace
