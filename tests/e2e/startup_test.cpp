// What the first start leaves in the program directory, and where the window appears.
#include "tests/e2e/orvia_session.h"

#include "platform/win_text.h"

#include <array>

namespace e2e {
namespace {

constexpr std::array<std::wstring_view, 4> kComponents{L"termb.dll", L"UnPack.dll", L"sdtapi.dll",
                                                       L"VedioCapture.dll"};
constexpr wchar_t kPhotoDirectory[] = L"学员照片";

std::string Name(std::wstring_view file) { return platform::Narrow(file); }

using FirstStart = OrviaSession;

TEST_F(FirstStart, WritesTheComponentsHiddenAndMakesThePhotoDirectory) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());

    for (const std::wstring_view component : kComponents) {
        SCOPED_TRACE(Name(component));
        const auto built = platform::ReadWholeFile(JoinPath(ComponentDir(), component));
        ASSERT_TRUE(built && !built->empty()) << "the built component is missing from ORVIA_COMPONENT_DIR";
        const auto written = platform::ReadWholeFile(dir_ / component);
        ASSERT_TRUE(written.has_value()) << "not written beside the program";
        EXPECT_TRUE(*written == *built) << "differs from the built component (" << written->size() << " vs "
                                        << built->size() << " bytes)";
        EXPECT_EQ(FileAttributesAsSet(dir_ / component), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    }
    EXPECT_TRUE(platform::IsDirectory(dir_ / kPhotoDirectory));
}

TEST_F(FirstStart, LeavesAComponentThatIsAlreadyThereAlone) {
    // Empty, read-only and hidden: present all the same, so it is not written again.
    const std::wstring termb = dir_ / L"termb.dll";
    ASSERT_TRUE(platform::WriteWholeFile(termb, {}));
    ASSERT_TRUE(::SetFileAttributesW(termb.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));

    ASSERT_NO_FATAL_FAILURE(StartOrvia());

    const auto kept = platform::ReadWholeFile(termb);
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(kept->size(), 0u);
    EXPECT_EQ(FileAttributesAsSet(termb), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    for (const std::wstring_view component : kComponents) {
        SCOPED_TRACE(Name(component));
        EXPECT_TRUE(IsPlainFile(dir_ / component));
        EXPECT_EQ(FileAttributesAsSet(dir_ / component), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    }
}

TEST_F(FirstStart, StartsWhenAFileHasThePhotoDirectoryName) {
    const std::wstring blocker = dir_ / kPhotoDirectory;
    const std::vector<std::uint8_t> content{'n', 'o', 't', ' ', 'a', ' ', 'd', 'i', 'r'};
    ASSERT_TRUE(platform::WriteWholeFile(blocker, content));

    ASSERT_NO_FATAL_FAILURE(StartOrvia());

    EXPECT_TRUE(IsPlainFile(blocker));
    EXPECT_EQ(platform::ReadWholeFile(blocker), content);
}

using WindowPlacement = OrviaSession;

// With ORVIA_E2E_SMALL_SCREEN set the run is on a 1024x768 screen, where the window fills
// the width and sits 59 pixels down.
TEST_F(WindowPlacement, BorderlessAndCentredOnTheScreen) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    const HWND window = orvia_.MainWindow();

    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    EXPECT_EQ(style & WS_CAPTION, 0u) << std::hex << style;
    EXPECT_EQ(style & WS_BORDER, 0u) << std::hex << style;
    EXPECT_EQ(style & WS_DLGFRAME, 0u) << std::hex << style;
    EXPECT_EQ(style & WS_THICKFRAME, 0u) << std::hex << style;

    const RECT r = orvia_.WindowRect();
    EXPECT_EQ(r.right - r.left, kMainWidth);
    EXPECT_EQ(r.bottom - r.top, kMainHeight);
    RECT client{};
    ASSERT_TRUE(::GetClientRect(window, &client));
    EXPECT_EQ(client.right, kMainWidth) << "the client area is not the whole window";
    EXPECT_EQ(client.bottom, kMainHeight) << "the client area is not the whole window";

    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    if (EnvironmentValue(L"ORVIA_E2E_SMALL_SCREEN")) {
        ASSERT_EQ(screenWidth, 1024) << "the small-screen run is not on a 1024x768 screen";
        ASSERT_EQ(screenHeight, 768) << "the small-screen run is not on a 1024x768 screen";
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.top, 59);
    } else {
        EXPECT_EQ(r.left, (screenWidth - kMainWidth) / 2);
        EXPECT_EQ(r.top, (screenHeight - kMainHeight) / 2);
    }
}

}  // namespace
}  // namespace e2e
