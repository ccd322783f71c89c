// The help page and its illustrations on the disk: written once, never replaced, and in
// the temporary directory when the system directory refuses them.
#include "chrome/help_files.h"
#include "chrome/help_page.h"
#include "platform/program_resource.h"
#include "platform/files.h"
#include "platform/win_text.h"
#include "tests/e2e/harness.h"
#include "ui/pictures.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadAll(const std::wstring& path) { return platform::ReadWholeFile(path).value_or(Bytes{}); }

// The page as it must be written into `directory` (ASCII test paths: GBK is ASCII there).
Bytes ExpectedPage(const std::wstring& directory) {
    std::array<std::string, 5> addresses;
    for (std::size_t i = 0; i < addresses.size(); ++i)
        addresses[i] = chrome::FileAddress(platform::Narrow(directory + platform::Wide(chrome::kHelpIllustrations[i].fileName)));
    return chrome::HelpPageBytes(addresses);
}

class HelpFiles : public ::testing::Test {
protected:
    void SetUp() override {
        system_ = dir_.Path() + L"\\system\\";
        temp_ = dir_.Path() + L"\\temp\\";
        ::CreateDirectoryW(system_.c_str(), nullptr);
        ::CreateDirectoryW(temp_.c_str(), nullptr);
    }
    std::wstring Page(const std::wstring& directory) const { return directory + platform::Wide(chrome::kHelpPageName); }

    e2e::TempProgramDir dir_;
    std::wstring system_, temp_;
};

TEST_F(HelpFiles, FirstOpeningWritesThePageAndItsIllustrationsIntoTheSystemDirectory) {
    const std::wstring shown = chrome::EnsureHelpPage({system_, temp_});
    EXPECT_EQ(shown, Page(system_));
    EXPECT_EQ(ReadAll(shown), ExpectedPage(system_));
    for (const auto& picture : chrome::kHelpIllustrations) {
        const auto resource = platform::ProgramResource(platform::Wide(picture.resource));
        ASSERT_FALSE(resource.empty()) << picture.resource;
        EXPECT_EQ(ReadAll(system_ + platform::Wide(picture.fileName)), Bytes(resource.begin(), resource.end()))
            << picture.fileName;
    }
    EXPECT_FALSE(platform::Exists(Page(temp_)));
    // Nothing but the page and its pictures is left behind.
    EXPECT_EQ(e2e::DirectoryEntries(system_).size(), 1 + chrome::kHelpIllustrations.size());
}

TEST_F(HelpFiles, AnExistingPageIsShownAsItIsAndNeverRewritten) {
    const Bytes other = {'m', 'i', 'n', 'e'};
    ASSERT_TRUE(platform::WriteWholeFile(Page(system_), other));
    FILETIME before{};
    {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ::GetFileAttributesExW(Page(system_).c_str(), GetFileExInfoStandard, &data);
        before = data.ftLastWriteTime;
    }
    for (int opening = 0; opening < 2; ++opening) EXPECT_EQ(chrome::EnsureHelpPage({system_, temp_}), Page(system_));
    EXPECT_EQ(ReadAll(Page(system_)), other);
    WIN32_FILE_ATTRIBUTE_DATA after{};
    ::GetFileAttributesExW(Page(system_).c_str(), GetFileExInfoStandard, &after);
    EXPECT_EQ(::CompareFileTime(&before, &after.ftLastWriteTime), 0);
}

TEST_F(HelpFiles, ASystemDirectoryThatRefusesThePageSendsItToTheTemporaryDirectory) {
    const std::wstring refusing = dir_.Path() + L"\\no-such-directory\\";
    const std::wstring shown = chrome::EnsureHelpPage({refusing, temp_});
    EXPECT_EQ(shown, Page(temp_));
    EXPECT_EQ(ReadAll(shown), ExpectedPage(temp_));  // its pictures are where it says
    EXPECT_TRUE(platform::Exists(temp_ + platform::Wide(chrome::kHelpIllustrations[0].fileName)));
    EXPECT_FALSE(platform::Exists(refusing));

    // Later openings show the same page, unchanged; a page in the system directory still
    // comes first once there is one.
    const Bytes other = {'x'};
    ASSERT_TRUE(platform::WriteWholeFile(shown, other));
    EXPECT_EQ(chrome::EnsureHelpPage({refusing, temp_}), shown);
    EXPECT_EQ(ReadAll(shown), other);
    EXPECT_EQ(chrome::EnsureHelpPage({system_, temp_}), Page(system_));
}

TEST_F(HelpFiles, WhenNoDirectoryTakesThePageTheSystemPathIsShownAllTheSame) {
    const std::wstring refusing = dir_.Path() + L"\\no-such-directory\\";
    const std::wstring alsoRefusing = dir_.Path() + L"\\nor-this\\";
    EXPECT_EQ(chrome::EnsureHelpPage({refusing, alsoRefusing}), Page(refusing));
    EXPECT_FALSE(platform::Exists(alsoRefusing));
}

}  // namespace
