#include "app/components.h"
#include "app/photo_directory.h"
#include "platform/files.h"
#include "tests/e2e/harness.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace {

using TempDirectory = e2e::TempProgramDir;

const std::vector<std::uint8_t> kImage = {'M', 'Z', 0x90, 0x00, 0x03, 0x00, 0xFF, 0xEE};

std::vector<std::wstring> Entries(const std::wstring& directory) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    HANDLE find = ::FindFirstFileW((directory + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
    return names;
}

TEST(Deploy, WritesTheImageWholeIntoAnEmptyDirectory) {
    TempDirectory dir;
    EXPECT_TRUE(app::DeployComponentTo(dir.Path(), L"termb.dll", kImage));
    EXPECT_EQ(platform::ReadWholeFile(dir / L"termb.dll"), kImage);
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::wstring>{L"termb.dll"});  // no temporary left behind
}

TEST(Deploy, LeavesAnExistingEntryAloneWhateverItHolds) {
    TempDirectory dir;
    const std::wstring path = dir / L"sdtapi.dll";
    ASSERT_TRUE(platform::WriteWholeFile(path, {}));
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(app::DeployComponentTo(dir.Path(), L"sdtapi.dll", kImage));
    EXPECT_EQ(platform::ReadWholeFile(path)->size(), 0u);

    ::CreateDirectoryW((dir / L"UnPack.dll").c_str(), nullptr);
    EXPECT_FALSE(app::DeployComponentTo(dir.Path(), L"UnPack.dll", kImage));
    EXPECT_TRUE(platform::IsDirectory(dir / L"UnPack.dll"));
}

TEST(Deploy, WritesNothingWhenItCannot) {
    TempDirectory dir;
    // A missing image must not leave an empty DLL that would never be replaced.
    EXPECT_FALSE(app::DeployComponentTo(dir.Path(), L"termb.dll", {}));
    // A directory that does not exist.
    EXPECT_FALSE(app::DeployComponentTo(dir / L"missing", L"termb.dll", kImage));
    EXPECT_TRUE(Entries(dir.Path()).empty());
}

TEST(Deploy, HidingReplacesWhateverAttributesTheFilesHad) {
    TempDirectory dir;
    for (const wchar_t* name : {L"termb.dll", L"UnPack.dll", L"sdtapi.dll", L"VedioCapture.dll"})
        ASSERT_TRUE(platform::WriteWholeFile(dir / name, kImage));
    ::SetFileAttributesW((dir / L"termb.dll").c_str(), FILE_ATTRIBUTE_READONLY);
    app::HideComponentFiles(dir.Path());
    for (const wchar_t* name : {L"termb.dll", L"UnPack.dll", L"sdtapi.dll", L"VedioCapture.dll"}) {
        const DWORD attributes = ::GetFileAttributesW((dir / name).c_str());
        EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
        EXPECT_FALSE(attributes & FILE_ATTRIBUTE_READONLY);
    }
}

TEST(PhotoDirectory, IsCreatedOnceBesideTheProgram) {
    TempDirectory dir;
    const std::wstring path = app::EnsurePhotoDirectoryIn(dir.Path());
    EXPECT_EQ(path, dir.Path() + L"\\学员照片\\");
    EXPECT_TRUE(platform::IsDirectory(path));
    EXPECT_EQ(app::PhotoDirectory(), path);
    // A photo already there survives a second start.
    ASSERT_TRUE(platform::WriteWholeFile(path + L"李四_101001199808081212.jpg", kImage));
    app::EnsurePhotoDirectoryIn(dir.Path());
    EXPECT_TRUE(platform::Exists(path + L"李四_101001199808081212.jpg"));
}

TEST(PhotoDirectory, APlainFileOfThatNameIsLeftAsItIs) {
    TempDirectory dir;
    ASSERT_TRUE(platform::WriteWholeFile(dir / L"学员照片", kImage));
    app::EnsurePhotoDirectoryIn(dir.Path());
    EXPECT_FALSE(platform::IsDirectory(dir / L"学员照片"));
    EXPECT_EQ(platform::ReadWholeFile(dir / L"学员照片"), kImage);
}

}  // namespace
