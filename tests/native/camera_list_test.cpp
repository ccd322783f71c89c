#include "camera/camera_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using camera::IsAllDigits;
using camera::SplitCameraList;
using Names = std::vector<std::string>;

TEST(IsAllDigits, OnlyANonEmptyRunOfAsciiDigits) {
    EXPECT_TRUE(IsAllDigits("0"));
    EXPECT_TRUE(IsAllDigits("007"));
    EXPECT_TRUE(IsAllDigits("1234567890"));
    EXPECT_FALSE(IsAllDigits(""));
    EXPECT_FALSE(IsAllDigits("Cam 2"));
    EXPECT_FALSE(IsAllDigits("2 "));
    EXPECT_FALSE(IsAllDigits("-1"));
    EXPECT_FALSE(IsAllDigits("\xEF\xBC\x91"));  // a full-width digit one is no ASCII digit
}

TEST(SplitCameraList, KeepsTheNamesInOrderAndDropsIndicesAndEmptyFields) {
    EXPECT_EQ(SplitCameraList("2|USB Camera|Integrated Webcam|"), (Names{"USB Camera", "Integrated Webcam"}));
    EXPECT_EQ(SplitCameraList("0|Cam 2|1|007|2|前置摄像头|"), (Names{"Cam 2", "前置摄像头"}));
    EXPECT_EQ(SplitCameraList("||Cam||"), (Names{"Cam"}));
    EXPECT_EQ(SplitCameraList(" | "), (Names{" ", " "}));  // blanks are names, only empty fields go
}

TEST(SplitCameraList, TextsWithoutDevices) {
    EXPECT_EQ(SplitCameraList(nullptr), Names{});
    EXPECT_EQ(SplitCameraList(""), Names{});
    EXPECT_EQ(SplitCameraList("|||"), Names{});
    EXPECT_EQ(SplitCameraList("0|1|2|"), Names{});
}

TEST(SplitCameraList, ATextWithoutABarIsOneField) {
    EXPECT_EQ(SplitCameraList("Only Camera"), (Names{"Only Camera"}));
    EXPECT_EQ(SplitCameraList("42"), Names{});
}

TEST(SplitCameraList, HugeTexts) {
    const std::string oneName(1 << 20, 'x');
    EXPECT_EQ(SplitCameraList(oneName.c_str()), (Names{oneName}));

    std::string many;
    int devices = 0;
    while (many.size() < (1u << 20)) {
        many += std::to_string(devices) + "|Camera " + std::to_string(devices) + "|";
        ++devices;
    }
    const Names names = SplitCameraList(many.c_str());
    ASSERT_EQ(names.size(), static_cast<std::size_t>(devices));
    EXPECT_EQ(names.front(), "Camera 0");
    EXPECT_EQ(names.back(), "Camera " + std::to_string(devices - 1));
}

}  // namespace
