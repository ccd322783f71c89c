// Which trainees of the list have a photo in the folder, as Windows names the files, and the
// trainee a card read names.
#include "roster/photo_status.h"

#include "roster/day_list.h"

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

namespace {

// The desk's list: the folder listed once, then each save as it happens. Whatever the saves
// (again, under another case, of someone not on the list), the list agrees with a fresh
// listing of every file so far, and what the window and the export show agrees with it.
TEST(DayList, EachSaveAgreesWithAFreshListingAndTheWindowAndExportFollow) {
    const std::vector<roster::Trainee> trainees{{"张三", "11010519491231002X", "一班", 2},
                                                {"李四", "440306199001011236", "一班", 3},
                                                {"王五", "", "二班", 4},
                                                {"赵六", "320102198511110025", "二班", 5}};
    const roster::LocalTime t1{{2026, 3, 1}, 9, 5, 7}, t2{{2026, 3, 1}, 10, 0, 0}, t3{{2026, 3, 1}, 11, 30, 0};
    std::vector<roster::PhotoFile> folder{{"李四_440306199001011236.jpg", t1}};
    roster::DayList list;
    list.SetTrainees(trainees);
    list.SetPhotos(folder);
    const std::vector<roster::PhotoFile> saves{{"张三_11010519491231002x.jpg", t2},
                                               {"陌生人_510104200002290038.jpg", t2},
                                               {"张三_11010519491231002X.jpg", t3},
                                               {"王五.jpg", t3}};
    for (const roster::PhotoFile& save : saves) {
        list.PhotoSaved(save);
        folder.push_back(save);
        const roster::PhotoStatus fresh = roster::FindPhotos(trainees, folder);
        ASSERT_EQ(list.Status().taken, fresh.taken) << save.name;
        for (std::size_t i = 0; i < trainees.size(); ++i) {
            EXPECT_EQ(list.Status().trainees[i].taken, fresh.trainees[i].taken) << save.name << " " << i;
            EXPECT_EQ(list.Status().trainees[i].lastWrite, fresh.trainees[i].lastWrite) << save.name << " " << i;
        }
        const roster::ShownRows missing = roster::RowsToShow(list, /*onlyMissing=*/true);
        EXPECT_EQ(missing.cells.size(), fresh.total - fresh.taken);
        const roster::ClassList exported = roster::ReadClassListCsv(roster::WriteMissingCsv(list), {2026, 3, 1});
        EXPECT_EQ(exported.trainees.size(), missing.cells.size());
    }
    EXPECT_EQ(roster::CountTitle(list.Status()), "已拍 3 / 共 4");
    const roster::ShownRows all = roster::RowsToShow(list, /*onlyMissing=*/false);
    ASSERT_EQ(all.cells.size(), 4u);
    EXPECT_EQ(all.cells[0][3], "已拍 2026-03-01 11:30") << "the latest photo's time";
    EXPECT_EQ(all.cells[3][3], "未拍");
    EXPECT_EQ(list.Find("11010519491231002x"), 0u) << "a card's number finds its trainee";
}

}  // namespace
