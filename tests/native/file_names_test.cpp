#include "platform/file_names.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace platform {
namespace {

TEST(PhotoNames, OrdinaryIdentitiesAreAllowed) {
    EXPECT_EQ(CheckFileName("张三_110101199001011234"), NameProblem::None);
    EXPECT_EQ(CheckFileName("欧阳娜娜_11010119900101123X"), NameProblem::None);
    EXPECT_EQ(CheckFileName(""), NameProblem::None);  // saved as ".jpg"
    EXPECT_EQ(CheckFileName("Li Lei"), NameProblem::None);
    EXPECT_EQ(CheckFileName("a.b"), NameProblem::None);
    EXPECT_EQ(CheckFileName("张三\xE3\x80\x80"), NameProblem::None);  // a full-width space is kept by the file system
    // Device names only count as the whole part before the dot.
    for (const char* name : {"CONSOLE", "console.jpg", "COM10", "LPT0", "COM", "NULL", "AUXILIARY", "xCON", "张CON"}) {
        EXPECT_EQ(CheckFileName(name), NameProblem::None) << name;
    }
}

TEST(PhotoNames, ForbiddenCharactersAnywhere) {
    for (const char c : std::string("\\/:*?\"<>|")) {
        for (const std::string& name : {std::string(1, c), "张三" + std::string(1, c) + "1", "ab" + std::string(1, c)}) {
            EXPECT_EQ(CheckFileName(name), NameProblem::ForbiddenCharacter) << name;
        }
    }
    for (int c = 1; c < 0x20; ++c) {
        EXPECT_EQ(CheckFileName("a" + std::string(1, static_cast<char>(c)) + "b"), NameProblem::ForbiddenCharacter) << c;
    }
    EXPECT_EQ(CheckFileName(std::string("a\0b", 3)), NameProblem::ForbiddenCharacter);
    EXPECT_EQ(CheckFileName("a\x7F"), NameProblem::ForbiddenCharacter);
}

TEST(PhotoNames, TrailingDotOrSpaceIsRefused) {
    for (const char* name : {"张三.", "张三 ", "a..", ".", " ", "a . "}) {
        EXPECT_EQ(CheckFileName(name), NameProblem::TrailingDotOrSpace) << '"' << name << '"';
    }
}

TEST(PhotoNames, ReservedDeviceNamesWithOrWithoutExtension) {
    std::vector<std::string> devices = {"CON", "PRN", "AUX", "NUL"};
    for (char digit = '1'; digit <= '9'; ++digit) {
        devices.push_back(std::string("COM") + digit);
        devices.push_back(std::string("LPT") + digit);
    }
    for (const std::string& device : devices) {
        std::string lower = device;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::string mixed = lower;
        mixed[0] = device[0];
        for (const std::string& name : {device, lower, mixed, device + ".jpg", lower + ".txt", device + ".a.b",
                                        device + " .x", lower + "._110101199001011234"}) {
            EXPECT_EQ(CheckFileName(name), NameProblem::ReservedDeviceName) << name;
        }
    }
}

TEST(PhotoNames, TrimRemovesOnlyOuterAsciiAndFullWidthSpaces) {
    EXPECT_EQ(TrimSpaces("  张三  "), "张三");
    EXPECT_EQ(TrimSpaces("\xE3\x80\x80 张三\xE3\x80\x80 \xE3\x80\x80"), "张三");
    EXPECT_EQ(TrimSpaces("张 三\xE3\x80\x80四"), "张 三\xE3\x80\x80四");
    EXPECT_EQ(TrimSpaces("\t张三\n"), "\t张三\n");
    EXPECT_EQ(TrimSpaces(" \xE3\x80\x80 "), "");
    EXPECT_EQ(TrimSpaces(""), "");
    // An incomplete full-width space is not one.
    EXPECT_EQ(TrimSpaces("a\xE3\x80"), "a\xE3\x80");
}

TEST(PhotoNames, ExtensionAddedUnlessPresentInAnyCase) {
    EXPECT_EQ(WithExtension("a", ".jpg"), "a.jpg");
    EXPECT_EQ(WithExtension("a.JPG", ".jpg"), "a.JPG");
    EXPECT_EQ(WithExtension("照片\\张三.Jpg", ".jpg"), "照片\\张三.Jpg");
    EXPECT_EQ(WithExtension("a.jpeg", ".jpg"), "a.jpeg.jpg");
    EXPECT_EQ(WithExtension("ajpg", ".jpg"), "ajpg.jpg");
    EXPECT_EQ(WithExtension("", ".jpg"), ".jpg");
    EXPECT_EQ(WithExtension(".jpg", ".jpg"), ".jpg");
    EXPECT_EQ(WithExtension("jpg", ".jpg"), "jpg.jpg");
    EXPECT_EQ(WithExtension("a.jpg", ""), "a.jpg");
}

}  // namespace
}  // namespace platform
