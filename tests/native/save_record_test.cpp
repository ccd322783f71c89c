// The record of saves: started with its header, appended to whatever state the file is in
// (cut before its last line end, saved from a spreadsheet in GBK, edited by hand), read back.
#include "roster/save_record.h"

#include "roster/csv_text.h"

#include "platform/gb18030.h"
#include "platform/utf.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SaveRecord, AppendsToAnyStateOfTheFileAndReadsBack) {
    const roster::SaveEntry first{{{2026, 3, 1}, 8, 5, 9}, "张三", "11010519491231002X", "张三_11010519491231002X.jpg",
                                  48213, roster::SaveWay::Card};
    const roster::SaveEntry second{{{2026, 3, 1}, 14, 30, 0}, "O'Brien, Jr.", "", "O'Brien, Jr._.jpg", 0,
                                   roster::SaveWay::Typed};
    std::string file = roster::AppendSave("", first);
    EXPECT_EQ(file, std::string(roster::kUtf8Bom) +
                        "时间,姓名,身份证号码,文件名,文件大小,方式\r\n"
                        "2026-03-01 08:05:09,张三,11010519491231002X,张三_11010519491231002X.jpg,48213,读卡\r\n");

    // The last line end lost (an editor), then the file saved from a spreadsheet in GBK.
    file.resize(file.size() - 2);
    file = roster::AppendSave(file, second);
    EXPECT_NE(file.find("读卡\r\n2026-03-01 14:30:00,\"O'Brien, Jr.\",,\"O'Brien, Jr._.jpg\",0,手工\r\n"), std::string::npos);
    const std::string gbk = platform::ToGb18030(platform::Utf8ToUtf16(file.substr(roster::kUtf8Bom.size()))).value();
    file = roster::AppendSave(gbk + "hand-written note\r\n", first);
    EXPECT_TRUE(file.starts_with(roster::kUtf8Bom)) << "made UTF-8 again, not a mix";

    const roster::SaveRecord record = roster::ReadSaveRecord(file);
    ASSERT_EQ(record.entries.size(), 3u);
    EXPECT_EQ(record.entries[0], first);
    EXPECT_EQ(record.entries[1], second);
    EXPECT_EQ(record.entries[2], first);
    EXPECT_EQ(record.unreadLines, (std::vector<int>{4}));
}

TEST(SaveRecord, AnIdentityIsSplitOnlyWhereAnIdNumberFollowsTheLastUnderscore) {
    using roster::SplitIdentity;
    EXPECT_EQ(SplitIdentity("张三_11010519491231002X").name, "张三");
    EXPECT_EQ(SplitIdentity("张三_11010519491231002X").idNumber, "11010519491231002X");
    EXPECT_EQ(SplitIdentity("李_四_110105491231002").idNumber, "110105491231002");  // 15 digits, an old card
    EXPECT_EQ(SplitIdentity("李_四_110105491231002").name, "李_四");
    for (const char* whole : {"张三", "张三_1", "张三_1101051949123100X2", "_", "张三_11010519491231002X "}) {
        EXPECT_EQ(SplitIdentity(whole).name, whole);
        EXPECT_EQ(SplitIdentity(whole).idNumber, "");
    }
}

}  // namespace
