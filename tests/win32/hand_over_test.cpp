// The day's list on disk: the photo folder as listed, the archive of the photos still there,
// and a file write that stops half way, which leaves the file as it was and nothing beside it.
#include "platform/files.h"
#include "platform/win_text.h"
#include "roster/hand_over.h"
#include "roster/zip_reader.h"
#include "tests/e2e/harness.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(HandOver, PacksThePhotosStillThereAndAWriteThatStopsLeavesTheOldFileAlone) {
    e2e::TempProgramDir dir;
    const std::wstring photos = dir / L"学员照片";
    ASSERT_TRUE(::CreateDirectoryW(photos.c_str(), nullptr));
    const std::vector<roster::Trainee> trainees{{"张三", "11010519491231002X", "", 2},
                                                {"李四", "440306199001011236", "", 3},
                                                {"王五", "320102198511110025", "", 4}};
    const Bytes jpeg(5000, 0xAB);
    for (const wchar_t* name : {L"张三_11010519491231002x.JPG", L"李四_440306199001011236.jpg",
                                L"王五_320102198511110025.jpg.1234.tmp", L"王五_320102198511110025.jpge"})
        ASSERT_TRUE(platform::WriteWholeFile(platform::JoinPath(photos, name), jpeg));
    ASSERT_TRUE(::CreateDirectoryW(platform::JoinPath(photos, L"已替换.jpg").c_str(), nullptr));
    const std::string record = "\xEF\xBB\xBF时间,姓名\r\n";
    ASSERT_TRUE(platform::WriteWholeFile(platform::JoinPath(photos, L"拍照记录.csv"),
                                         {reinterpret_cast<const std::uint8_t*>(record.data()), record.size()}));

    roster::DayList list;
    list.SetTrainees(trainees);
    list.SetPhotos(roster::ListPhotoFolder(photos));
    EXPECT_EQ(list.Status().taken, 2u) << "only whole .jpg files, whatever their case";

    // 李四's photo goes after the listing: left out and said, the rest packed.
    ASSERT_TRUE(::DeleteFileW(platform::JoinPath(photos, L"李四_440306199001011236.jpg").c_str()));
    const std::wstring archive = dir / L"学员照片_20260301.zip";
    const roster::PackOutcome packed = roster::PackPhotos(archive, photos, list, {{2026, 3, 1}, 12, 0, 0});
    EXPECT_EQ(packed.error, 0u);
    EXPECT_EQ(packed.photos, 1u);
    EXPECT_EQ(packed.gone, 1u);
    const auto bytes = platform::ReadWholeFile(archive);
    ASSERT_TRUE(bytes);
    roster::ZipReader zip(*bytes);
    ASSERT_EQ(zip.Problem(), roster::ZipProblem::None);
    ASSERT_EQ(zip.Entries().size(), 2u);
    std::string content;
    EXPECT_EQ(zip.Read(zip.Entries()[0].name, content), roster::ZipProblem::None);
    EXPECT_EQ(content, std::string(jpeg.begin(), jpeg.end()));
    EXPECT_EQ(zip.Read(zip.Entries()[1].name, content), roster::ZipProblem::None);
    EXPECT_EQ(content, record);

    // A write that stops half way (a disk that fills): the archive there stays whole, and no
    // temporary file is left.
    const unsigned long stopped = platform::WriteFileWholeInPieces(archive, [](const platform::PieceWriter& write) {
        const Bytes half(1000, 0x11);
        return write(half) && false;
    });
    EXPECT_EQ(stopped, static_cast<unsigned long>(ERROR_CANCELLED));
    EXPECT_EQ(platform::ReadWholeFile(archive), bytes);
    EXPECT_FALSE(platform::Exists(platform::TemporaryPathBeside(archive)));
}

}  // namespace
