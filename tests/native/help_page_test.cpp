#include "chrome/help_page.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

const std::array<std::string, 5> kAddresses = {
    "file:///C:/W/a.gif", "file:///C:/W/b.gif", "file:///C:/W/c.gif", "file:///C:/W/d.gif", "file:///C:/W/e.png"};

std::string PageText() {
    const auto bytes = chrome::HelpPageBytes(kAddresses);
    return {bytes.begin(), bytes.end()};
}

TEST(HelpPage, BytesAreTheGbkPageLineByLine) {
    const std::string expected =
        "<!DOCTYPE html>\r\n"
        "<html>\r\n"
        "<head>\r\n"
        "\t<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n"
        "\t<title>\xC8\xED\xBC\xFE\xCB\xB5\xC3\xF7</title>\r\n"  // 软件说明
        "</head>\r\n"
        "<body>\r\n"
        "\r\n"
        "<div>\r\n"
        "\t<img src=\"file:///C:/W/a.gif\" style=\" max-width: 100%;\">\r\n"
        "    <img src=\"file:///C:/W/b.gif\" style=\" max-width: 100%;\">\r\n"
        "    <img src=\"file:///C:/W/c.gif\" style=\" max-width: 100%;\">\r\n"
        "    <img src=\"file:///C:/W/d.gif\" style=\" max-width: 100%;\">\r\n"
        "    <img src=\"file:///C:/W/e.png\" style=\" max-width: 100%;\">\r\n"
        "\r\n"
        "</div>\r\n"
        "</body>\r\n"
        "</html>";
    EXPECT_EQ(PageText(), expected);
}

TEST(HelpPage, HasNoByteOrderMarkNoZeroAndNoBareLineFeed) {
    const std::string text = PageText();
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.rfind("\xEF\xBB\xBF", 0), std::string::npos);
    EXPECT_EQ(text.find('\0'), std::string::npos);
    EXPECT_NE(text.back(), '\n');  // the last line has no line end
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at " << i;
        }
    }
}

TEST(HelpPage, IllustrationsAreFourAnimationsThenOneStill) {
    for (std::size_t i = 0; i < chrome::kHelpIllustrations.size(); ++i) {
        const std::string_view name = chrome::kHelpIllustrations[i].fileName;
        EXPECT_TRUE(name.ends_with(i < 4 ? ".gif" : ".png")) << name;
        EXPECT_TRUE(name.starts_with("helplisti")) << name;  // beside the page, recognisably its own
    }
}

TEST(HelpPage, FileAddressesUseSlashesAndEscapeWhatWouldBreakTheAttribute) {
    EXPECT_EQ(chrome::FileAddress("C:\\Windows\\system32\\a.gif"), "file:///C:/Windows/system32/a.gif");
    EXPECT_EQ(chrome::FileAddress("C:\\My Files\\#1\\100%\\\"q\".gif"),
              "file:///C:/My%20Files/%231/100%25/%22q%22.gif");
    // GBK bytes of a user's directory stay as they are: the page is GBK too.
    EXPECT_EQ(chrome::FileAddress("C:\\\xD5\xC5\\a.png"), "file:///C:/\xD5\xC5/a.png");
}

}  // namespace
