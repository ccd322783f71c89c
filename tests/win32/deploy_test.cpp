#include "camera/camera_component.h"
#include "platform/deployment.h"
#include "platform/program_resource.h"
#include "reader/reader_component.h"
#include "app/photo_directory.h"
#include "platform/files.h"
#include "platform/owners.h"
#include "platform/version_info.h"
#include "platform/win_text.h"
#include "tests/e2e/harness.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using TempDirectory = e2e::TempProgramDir;

const std::vector<std::uint8_t> kImage = {'M', 'Z', 0x90, 0x00, 0x03, 0x00, 0xFF, 0xEE};

using e2e::DirectoryEntries;

TEST(Deploy, WritesTheImageWholeIntoAnEmptyDirectory) {
    TempDirectory dir;
    EXPECT_TRUE(platform::DeployComponentTo(dir.Path(), L"termb.dll", kImage));
    EXPECT_EQ(platform::ReadWholeFile(dir / L"termb.dll"), kImage);
    EXPECT_EQ(DirectoryEntries(dir.Path()), std::vector<std::wstring>{L"termb.dll"});  // no temporary left behind
}

TEST(Deploy, LeavesAnExistingEntryAloneWhateverItHolds) {
    TempDirectory dir;
    const std::wstring path = dir / L"sdtapi.dll";
    ASSERT_TRUE(platform::WriteWholeFile(path, {}));
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(platform::DeployComponentTo(dir.Path(), L"sdtapi.dll", kImage));
    EXPECT_EQ(platform::ReadWholeFile(path)->size(), 0u);

    ::CreateDirectoryW((dir / L"UnPack.dll").c_str(), nullptr);
    EXPECT_FALSE(platform::DeployComponentTo(dir.Path(), L"UnPack.dll", kImage));
    EXPECT_TRUE(platform::IsDirectory(dir / L"UnPack.dll"));
}

TEST(Deploy, WritesNothingWhenItCannot) {
    TempDirectory dir;
    // A missing image must not leave an empty DLL that would never be replaced.
    EXPECT_FALSE(platform::DeployComponentTo(dir.Path(), L"termb.dll", {}));
    // A directory that does not exist.
    EXPECT_FALSE(platform::DeployComponentTo(dir / L"missing", L"termb.dll", kImage));
    EXPECT_TRUE(DirectoryEntries(dir.Path()).empty());
}

TEST(Deploy, HidingReplacesWhateverAttributesTheFilesHad) {
    TempDirectory dir;
    for (const wchar_t* name : {L"termb.dll", L"UnPack.dll", L"sdtapi.dll", L"VedioCapture.dll"})
        ASSERT_TRUE(platform::WriteWholeFile(dir / name, kImage));
    ::SetFileAttributesW((dir / L"termb.dll").c_str(), FILE_ATTRIBUTE_READONLY);
    const platform::ComponentFile all[] = {reader::kTermb, reader::kUnPack, reader::kSdtapi, camera::kVedioCapture};
    platform::HideComponentFiles(dir.Path(), all);
    for (const wchar_t* name : {L"termb.dll", L"UnPack.dll", L"sdtapi.dll", L"VedioCapture.dll"}) {
        const DWORD attributes = ::GetFileAttributesW((dir / name).c_str());
        EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
        EXPECT_FALSE(attributes & FILE_ATTRIBUTE_READONLY);
    }
}

// ---- updating our own components ------------------------------------------------------

using Bytes = std::vector<std::uint8_t>;

// A component DLL as this build made it; empty when ORVIA_COMPONENT_DIR is not set.
Bytes Built(std::wstring_view name) {
    const std::wstring directory = e2e::ComponentDir();
    if (directory.empty()) return {};
    return platform::ReadWholeFile(platform::JoinPath(directory, name)).value_or(Bytes{});
}

// How an earlier build of the same DLL looks: other bytes, the same version resource. The
// byte changed lies in the DOS stub, which nothing reads.
Bytes Older(Bytes dll) {
    dll.at(0x50) ^= 0xFF;
    return dll;
}

Bytes Utf16(std::wstring_view text) {
    const auto* first = reinterpret_cast<const std::uint8_t*>(text.data());
    return Bytes(first, first + text.size() * sizeof(wchar_t));
}

// Another vendor's DLL: the same file, but its version resource names another product.
Bytes FromAnotherVendor(Bytes dll) {
    const Bytes key = Utf16(L"ProductName"), ours = Utf16(L"Orvia"), theirs = Utf16(L"Other");
    const auto at = std::search(dll.begin(), dll.end(), key.begin(), key.end());
    const auto value = std::search(at, dll.end(), ours.begin(), ours.end());
    if (value != dll.end()) std::copy(theirs.begin(), theirs.end(), value);
    return dll;
}

FILETIME LastWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

bool SetLastWriteTime(const std::wstring& path, FILETIME time) {
    platform::UniqueFile file(::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
    return file && ::SetFileTime(file.get(), nullptr, nullptr, &time);
}

// Writes a file and gives it exactly `attributes`.
void Place(const std::wstring& path, const Bytes& bytes, DWORD attributes) {
    ASSERT_TRUE(platform::WriteWholeFile(path, bytes));
    ASSERT_TRUE(::SetFileAttributesW(path.c_str(), attributes));
}

TEST(Deploy, ReplacesAnOlderComponentOfOursWhateverItsAttributes) {
    const Bytes built = Built(L"termb.dll");
    if (built.empty()) GTEST_SKIP() << "ORVIA_COMPONENT_DIR is not set";
    // Start-up leaves the files hidden; an operator may have made one read-only too.
    for (const DWORD attributes : {DWORD{FILE_ATTRIBUTE_NORMAL}, DWORD{FILE_ATTRIBUTE_HIDDEN},
                                   DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY}}) {
        SCOPED_TRACE(attributes);
        TempDirectory dir;
        ASSERT_NO_FATAL_FAILURE(Place(dir / L"termb.dll", Older(built), attributes));
        EXPECT_TRUE(platform::DeployComponentTo(dir.Path(), L"termb.dll", built));
        EXPECT_EQ(platform::ReadWholeFile(dir / L"termb.dll"), built);
        EXPECT_EQ(DirectoryEntries(dir.Path()), std::vector<std::wstring>{L"termb.dll"});
    }
}

TEST(Deploy, LeavesAComponentOfOursThatIsAlreadyCurrentUntouched) {
    const Bytes built = Built(L"termb.dll");
    if (built.empty()) GTEST_SKIP() << "ORVIA_COMPONENT_DIR is not set";
    TempDirectory dir;
    const std::wstring path = dir / L"termb.dll";
    ASSERT_NO_FATAL_FAILURE(Place(path, built, FILE_ATTRIBUTE_NORMAL));
    const FILETIME longAgo{0xC89DC000, 0x01C07385};  // 1 January 2001
    ASSERT_TRUE(SetLastWriteTime(path, longAgo));
    ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));

    EXPECT_FALSE(platform::DeployComponentTo(dir.Path(), L"termb.dll", built));
    const FILETIME written = LastWriteTime(path);
    EXPECT_EQ(::CompareFileTime(&longAgo, &written), 0) << "the file was written again";
    EXPECT_EQ(e2e::FileAttributesAsSet(path), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
}

TEST(Deploy, LeavesFilesThatAreNotOursAlone) {
    const Bytes built = Built(L"termb.dll");
    if (built.empty()) GTEST_SKIP() << "ORVIA_COMPONENT_DIR is not set";
    const Bytes vendors = FromAnotherVendor(built);
    ASSERT_NE(vendors, built);
    TempDirectory dir;
    ASSERT_TRUE(platform::WriteWholeFile(dir / L"termb.dll", vendors));
    ASSERT_TRUE(platform::WriteWholeFile(dir / L"sdtapi.dll", kImage));  // no version resource at all

    EXPECT_FALSE(platform::DeployComponentTo(dir.Path(), L"termb.dll", built));
    EXPECT_FALSE(platform::DeployComponentTo(dir.Path(), L"sdtapi.dll", built));
    EXPECT_EQ(platform::ReadWholeFile(dir / L"termb.dll"), vendors);
    EXPECT_EQ(platform::ReadWholeFile(dir / L"sdtapi.dll"), kImage);

    EXPECT_FALSE(platform::IsOurComponent(dir / L"termb.dll"));
    EXPECT_FALSE(platform::IsOurComponent(dir / L"sdtapi.dll"));
    EXPECT_FALSE(platform::IsOurComponent(dir.Path()));
    EXPECT_FALSE(platform::IsOurComponent(dir / L"missing.dll"));
}

TEST(Deploy, AComponentInUseStaysAsItWas) {
    const Bytes built = Built(L"termb.dll");
    if (built.empty()) GTEST_SKIP() << "ORVIA_COMPONENT_DIR is not set";
    constexpr DWORD kAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY;
    // Held by programs that let others read it, read and write it, or not open it at all;
    // none lets it be deleted, so it cannot be replaced now and must not be half-rewritten.
    for (const DWORD sharing : {DWORD{FILE_SHARE_READ}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}, DWORD{0}}) {
        SCOPED_TRACE(sharing);
        TempDirectory dir;
        const std::wstring path = dir / L"termb.dll";
        const Bytes older = Older(built);
        ASSERT_NO_FATAL_FAILURE(Place(path, older, kAttributes));
        {
            platform::UniqueFile holder(
                ::CreateFileW(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(holder);
            EXPECT_FALSE(platform::DeployComponentTo(dir.Path(), L"termb.dll", built));
        }
        EXPECT_EQ(platform::ReadWholeFile(path), older);
        EXPECT_EQ(e2e::FileAttributesAsSet(path), kAttributes);
        EXPECT_EQ(DirectoryEntries(dir.Path()), std::vector<std::wstring>{L"termb.dll"});  // no temporary left behind
    }
}

TEST(Deploy, EveryBuiltComponentNamesOrviaAndTheProjectVersion) {
    if (e2e::ComponentDir().empty()) GTEST_SKIP() << "ORVIA_COMPONENT_DIR is not set";
    std::set<std::wstring> descriptions;
    for (const platform::ComponentFile* file : {&reader::kTermb, &reader::kUnPack, &reader::kSdtapi, &camera::kVedioCapture}) {
        const std::wstring path = platform::JoinPath(e2e::ComponentDir(), file->fileName);
        SCOPED_TRACE(platform::Narrow(file->fileName));
        EXPECT_TRUE(platform::IsOurComponent(path));
        using Values = std::vector<std::wstring>;
        EXPECT_EQ(platform::VersionStrings(path, L"ProductName"), Values{L"Orvia"});
        EXPECT_EQ(platform::VersionStrings(path, L"CompanyName"), Values{L"Orvia"});
        EXPECT_EQ(platform::VersionStrings(path, L"FileVersion"), Values{L"" ORVIA_VERSION});
        EXPECT_EQ(platform::VersionStrings(path, L"ProductVersion"), Values{L"" ORVIA_VERSION});
        for (const std::wstring& description : platform::VersionStrings(path, L"FileDescription"))
            descriptions.insert(description);
    }
    EXPECT_EQ(descriptions.size(), 4u) << "each component should say which one it is";
}

TEST(PhotoDirectory, IsCreatedOnceBesideTheProgram) {
    TempDirectory dir;
    const std::wstring path = app::EnsurePhotoDirectoryIn(dir.Path());
    EXPECT_EQ(path, dir.Path() + L"\\学员照片\\");
    EXPECT_TRUE(platform::IsDirectory(path));
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
