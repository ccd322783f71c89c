// The Help and Contact windows as the operator opens them from the settings menu: modal,
// centred, shadowed, closed by their own control or Esc, and holding back the photo desk's
// keys while they are open.
//
// Under Wine these tests run without a browser engine, so the Help window shows its
// stand-in note instead of the page: what is checked there is the page on the disk, the
// address the viewer was given, the window around it and the right button. The page itself
// rendering, and its context menu being suppressed, need the platform's browser.
#include "tests/e2e/orvia_session.h"

#include "app/main_controls.h"
#include "chrome/secondary_templates.h"
#include "platform/files.h"
#include "platform/win_text.h"
#include "ui/html_viewer_control.h"

#include <cstdio>
#include <set>
#include <string>

namespace mc = app::main_controls;

namespace e2e {
namespace {

constexpr wchar_t kTemplateWindowClass[] = L"Orvia.Window";
constexpr wchar_t kShadowClass[] = L"Halo.Shadow";
constexpr char kPreview[] = "外形框_视频";
constexpr int kHelpItem = 0;     // "软件帮助"
constexpr int kContactItem = 1;  // "联系作者"

void RightClickAt(POINT at) {
    MoveMouseTo(at);
    INPUT clicks[2]{};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    ::SendInput(2, clicks, sizeof clicks[0]);
}

class SecondaryWindows : public OrviaSession {
protected:
    // Picks the settings menu's item at `position` with the keyboard; the window it opened.
    HWND OpenFromMenu(int position) {
        ClickAt(CentreOf(MustQuery(mc::kSettingsButton.name)));
        if (!WaitForWindowOf(orvia_.Id(), kMenuClass)) return nullptr;
        for (int i = 0; i <= position; ++i) PressKey(VK_DOWN);
        PressKey(VK_RETURN);
        HWND opened = nullptr;
        WaitUntil([&] {
            for (HWND w : VisibleWindowsOf(orvia_.Id(), kTemplateWindowClass))
                if (w != orvia_.MainWindow()) opened = w;
            return opened != nullptr;
        }, 10s);
        return opened;
    }

    bool WaitClosed(HWND window) {
        return WaitUntil([&] { return !::IsWindow(window) || !::IsWindowVisible(window); }, 5s);
    }

    // Centred on the screen, of its Template's size, borderless, over a Main window that
    // takes no input meanwhile.
    void ExpectModalAndCentred(HWND window, int width, int height) {
        RECT r{};
        ::GetWindowRect(window, &r);
        EXPECT_EQ(r.right - r.left, width);
        EXPECT_EQ(r.bottom - r.top, height);
        EXPECT_EQ(r.left, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2);
        EXPECT_EQ(r.top, (::GetSystemMetrics(SM_CYSCREEN) - height) / 2);
        EXPECT_FALSE(::GetWindowLongW(window, GWL_STYLE) & (WS_CAPTION | WS_BORDER | WS_THICKFRAME));
        EXPECT_EQ(TextOf(window), L"");
        EXPECT_FALSE(::IsWindowEnabled(orvia_.MainWindow())) << "the Main window still takes input";
        // Its shadow: 5 pixels beyond it on every side.
        bool around = false;
        for (HWND shadow : VisibleWindowsOf(orvia_.Id(), kShadowClass)) {
            RECT s{};
            ::GetWindowRect(shadow, &s);
            around = around || (s.left == r.left - 5 && s.top == r.top - 5 && s.right == r.right + 5 &&
                                s.bottom == r.bottom + 5);
        }
        EXPECT_TRUE(around) << "no shadow around the window";
    }

    long long PreviewX() { return ReportNumber(MustQuery(kPreview), "x"); }
    bool FirstSlotTaken() { return !MustQuery(mc::kSlots[0].board.name)["value"].empty(); }

    // While the window is open: the arrow keys and Enter leave the Main window alone.
    void ExpectHotkeysHeldBack(HWND window) {
        const long long x = PreviewX();
        BringToForeground(window);
        PressKey(VK_LEFT);
        PressKey(VK_RETURN);
        Pause(500ms);  // nothing to wait for: give a hotkey the time to arrive
        EXPECT_EQ(PreviewX(), x) << "an arrow key moved the preview behind the window";
        EXPECT_FALSE(FirstSlotTaken()) << "Enter took a photo behind the window";
        EXPECT_TRUE(::IsWindowVisible(window)) << "Enter closed the window";
    }

    // After it closed: they work again.
    void ExpectHotkeysBack() {
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(orvia_.MainWindow()) != FALSE; }));
        const long long x = PreviewX();
        PressKey(VK_LEFT);
        EXPECT_TRUE(WaitUntil([&] { return PreviewX() == x - 10; })) << "the arrow keys did not come back";
        PressKey(VK_RETURN);
        EXPECT_TRUE(WaitUntil([&] { return FirstSlotTaken(); })) << "Enter did not come back";
    }
};

using HelpWindow = SecondaryWindows;

TEST_F(HelpWindow, OpensModallyShowsThePageAndClosesByItsButton) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    HWND help = OpenFromMenu(kHelpItem);
    ASSERT_TRUE(help) << "no Help window appeared";
    ExpectModalAndCentred(help, 803, 604);

    const Report viewer = QueryWindowControl(help, "超文本浏览框1");
    ASSERT_FALSE(viewer.empty());
    // The browser keeps the keyboard in windows of its own inside the viewer's.
    const HWND viewerWindow = ReportWindow(viewer);
    ASSERT_NE(viewerWindow, nullptr);
    const HWND focus = FocusOfThreadOf(help);
    EXPECT_TRUE(focus && (focus == viewerWindow || ::IsChild(viewerWindow, focus))) << "the page does not have the keyboard";
    // The page went where it belongs and the viewer was pointed at it.
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring page = std::wstring(system) + L"\\helplisti.html";
    const auto bytes = platform::ReadWholeFile(page);
    ASSERT_TRUE(bytes) << "no page in the system directory";
    const std::string text(bytes->begin(), bytes->end());
    EXPECT_EQ(text.rfind("<!DOCTYPE html>\r\n<html>\r\n", 0), 0u);
    EXPECT_TRUE(text.ends_with("</body>\r\n</html>"));
    EXPECT_TRUE(platform::Exists(std::wstring(system) + L"\\helplisti-5-window.png"));
    EXPECT_EQ(viewer.at("value"), platform::Narrow(page)) << "the viewer's address";
    if (viewer.at("caption") == ui::kNoBrowserNote) {
        std::printf("no browser engine here: the Help window shows its note instead of the page\n");
    }
    // The right button opens no menu over the page.
    RightClickAt(CentreOf(viewer));
    Pause(300ms);  // nothing to wait for: give a menu the time to appear
    EXPECT_TRUE(VisibleWindowsOf(orvia_.Id(), kMenuClass).empty()) << "a context menu appeared";
    Screenshot::OfWindow(help).SavePng(ShotPath(TestName() + "-help"));

    ExpectHotkeysHeldBack(help);
    ClickAt(CentreOf(QueryWindowControl(help, chrome::kHelpClose.name)));
    EXPECT_TRUE(WaitClosed(help)) << "关闭 did not close the Help window";
    ExpectHotkeysBack();
    EXPECT_TRUE(orvia_.IsRunning());
}

TEST_F(HelpWindow, EscClosesItAndItOpensAgain) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    for (int opening = 0; opening < 2; ++opening) {
        HWND help = OpenFromMenu(kHelpItem);
        ASSERT_TRUE(help) << "opening " << opening;
        ASSERT_TRUE(BringToForeground(help));
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(WaitClosed(help)) << "Esc did not close the Help window";
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(orvia_.MainWindow()) != FALSE; }));
    }
    EXPECT_TRUE(orvia_.IsRunning()) << "Esc in the Help window ended the program";
}

using ContactWindow = SecondaryWindows;

TEST_F(ContactWindow, ACaptionClickLeavesItOpenAPictureClickClosesIt) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    HWND contact = OpenFromMenu(kContactItem);
    ASSERT_TRUE(contact) << "no Contact window appeared";
    ExpectModalAndCentred(contact, 308, 364);
    const Report picture = QueryWindowControl(contact, "图片框1");
    const Report caption = QueryWindowControl(contact, "透明标签1");
    ASSERT_FALSE(picture.empty());
    ASSERT_FALSE(caption.empty());
    EXPECT_EQ(picture.at("value"), "512×512") << "the card's picture";
    // And it shows in its place: a photograph-like picture has colours by the hundred.
    const Screenshot shown = Screenshot::Capture(OnScreen(picture));
    std::set<COLORREF> colours;
    for (int y = 0; y < shown.Height(); y += 2)
        for (int x = 0; x < shown.Width(); x += 2) colours.insert(shown.Pixel(x, y));
    EXPECT_GT(colours.size(), 100u) << "the picture does not show";
    EXPECT_EQ(caption.at("caption").rfind("Orvia", 0), 0u);
    Screenshot::OfWindow(contact).SavePng(ShotPath(TestName() + "-contact"));

    ExpectHotkeysHeldBack(contact);
    ClickAt(CentreOf(caption));
    Pause(300ms);  // nothing to wait for: give the window the time to close
    EXPECT_TRUE(::IsWindowVisible(contact)) << "a click on the caption closed the window";

    ClickAt(CentreOf(picture));
    EXPECT_TRUE(WaitClosed(contact)) << "a click on the picture did not close the window";
    ExpectHotkeysBack();
    EXPECT_TRUE(orvia_.IsRunning());
}

}  // namespace
}  // namespace e2e
