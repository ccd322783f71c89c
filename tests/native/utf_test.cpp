#include "platform/utf.h"

#include <gtest/gtest.h>

namespace {

using platform::Utf16ToUtf8;
using platform::Utf8ToUtf16;

TEST(Utf, ChineseAndAstralTextRoundTrips) {
    const std::string texts[] = {"学员照片", "李四_101001199808081212", "拍     照", "\xF0\x9F\x93\xB7 camera", ""};
    for (const std::string& text : texts) {
        EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text) << text;
        EXPECT_TRUE(platform::IsUtf8(text)) << text;
    }
    EXPECT_EQ(Utf8ToUtf16("学"), u"学");
    EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x93\xB7"), u"\U0001F4F7");  // a surrogate pair
}

TEST(Utf, MalformedUtf8BecomesReplacementWithoutReadingPastTheEnd) {
    EXPECT_EQ(Utf8ToUtf16("a\xE5\xAD"), u"a\uFFFD");          // cut short at the end
    EXPECT_EQ(Utf8ToUtf16("\xE5\xADx"), u"\uFFFDx");          // cut short before ASCII
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD");            // overlong '/'
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD");        // an encoded surrogate
    EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD");    // above U+10FFFF
    EXPECT_EQ(Utf8ToUtf16("\x80\xFF"), u"\uFFFD\uFFFD");      // stray continuation, invalid lead
    for (const char* malformed : {"a\xE5\xAD", "\xE5\xADx", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80",
                                  "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xD5\xC5\xC8\xFD"})  // the last: GBK 张三
        EXPECT_FALSE(platform::IsUtf8(malformed)) << malformed;
}

TEST(Utf, LoneSurrogatesBecomeReplacement) {
    const char16_t high[] = {u'a', 0xD800, u'b'};
    EXPECT_EQ(Utf16ToUtf8({high, 3}), "a\xEF\xBF\xBD" "b");
    const char16_t low[] = {0xDC00};
    EXPECT_EQ(Utf16ToUtf8({low, 1}), "\xEF\xBF\xBD");
    const char16_t trailingHigh[] = {0xD83D};
    EXPECT_EQ(Utf16ToUtf8({trailingHigh, 1}), "\xEF\xBF\xBD");
}

}  // namespace
