// Which trainees of the list have a photo in the folder, as Windows names the files, and the
// trainee a card read names.
#include "roster/photo_status.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(PhotoStatus, TraineesWithTheirSavedFileAreTakenWithTheLatestTime) {
    const std::vector<roster::Trainee> list{{"张三", "11010519491231002X", "一班", 2},
                                            {"李四", "440306199001011236", "一班", 3},
                                            {"王五", "320102198511110025", "二班", 4}};
    const roster::LocalTime morning{{2026, 3, 1}, 9, 0, 0}, noon{{2026, 3, 1}, 12, 0, 0};
    const std::vector<roster::PhotoFile> folder{
        {"张三_11010519491231002x.JPG", noon},      // Windows names the same file so
        {"张三_11010519491231002X.jpg", morning},
        {"李四_440306199001011236.jpg.tmp", noon},   // a save not finished
        {"李四.jpg", noon},                         // the name alone is another trainee's photo
        {"王五_320102198511110025_20260301-090000.jpg", noon},  // a replaced one, if ever listed
        {"拍照记录.csv", noon},
    };
    const roster::PhotoStatus status = roster::FindPhotos(list, folder);
    EXPECT_EQ(status.taken, 1u);
    EXPECT_EQ(status.total, 3u);
    ASSERT_EQ(status.trainees.size(), 3u);
    EXPECT_TRUE(status.trainees[0].taken);
    EXPECT_EQ(status.trainees[0].lastWrite, noon);
    EXPECT_EQ(roster::DescribePhoto(status.trainees[0]), "已拍");
    EXPECT_EQ(roster::DescribePhoto(status.trainees[1]), "未拍");
    EXPECT_EQ(roster::PhotoFileName(list[2]), "王五_320102198511110025.jpg");

    const roster::TraineeIndex index(list);
    EXPECT_EQ(index.Find("11010519491231002x"), 0u);
    EXPECT_EQ(index.Find("320102198511110025"), 2u);
    EXPECT_EQ(index.Find("510104200002290038"), std::nullopt);
}

}  // namespace
