// The framing guide's window: an outline over an area of the screen in the guide's colours,
// through which the pointer reaches the window beneath, and which no rendering of the window
// beneath contains.
#include "framing/guide_drawing.h"
#include "framing/guide_window.h"
#include "platform/owners.h"
#include "tests/e2e/harness.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

namespace {

using namespace std::chrono_literals;
using framing::GuideColour;

constexpr COLORREF kBeneath = RGB(0x30, 0x60, 0x90);

COLORREF ScreenColour(GuideColour colour) {
    const std::uint32_t rgb = framing::GuideRgb(colour);
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

struct Beneath {
    int presses = 0;
};

LRESULT CALLBACK BeneathProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        RECT client{};
        ::GetClientRect(window, &client);
        const platform::UniqueBrush brush(::CreateSolidBrush(kBeneath));
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, brush.get());
        return 1;
    }
    if (message == WM_LBUTTONDOWN)
        if (auto* beneath = reinterpret_cast<Beneath*>(::GetWindowLongPtrW(window, GWLP_USERDATA))) ++beneath->presses;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

class FramingGuideWindow : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSEXW wc{sizeof wc};
        wc.lpfnWndProc = &BeneathProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"Orvia.Test.Beneath";
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        ::RegisterClassExW(&wc);
        owner_ = ::CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 100, 100, 400, 500,
                                   nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_TRUE(owner_);
        ::SetWindowLongPtrW(owner_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&beneath_));
        ::UpdateWindow(owner_);
        area_ = {150, 130, 150 + framing::kFrameWidth, 130 + framing::kFrameHeight};
    }
    void TearDown() override {
        if (::IsWindow(owner_)) ::DestroyWindow(owner_);
    }
    // A point of the outline: the top of the head oval, on the screen.
    POINT OvalTop() const {
        return {area_.left + static_cast<LONG>(framing::kGuideCentreX),
                area_.top + static_cast<LONG>(framing::kCrownLine.Middle())};
    }
    COLORREF At(POINT p) { return e2e::SettledCapture({p.x, p.y, p.x + 1, p.y + 1}).Pixel(0, 0); }

    HWND owner_ = nullptr;
    Beneath beneath_;
    RECT area_{};
};

TEST_F(FramingGuideWindow, ShowsTheOutlineInItsColourAndClearElsewhereThenHides) {
    framing::GuideWindow guide;
    ASSERT_TRUE(guide.Create(owner_, {}));
    EXPECT_FALSE(::IsWindowVisible(guide.Handle()));
    EXPECT_EQ(::GetWindow(guide.Handle(), GW_OWNER), owner_);

    guide.Show(area_, GuideColour::Green);
    e2e::Pause(200ms);
    EXPECT_TRUE(guide.IsShown());
    EXPECT_TRUE(::IsWindowVisible(guide.Handle()));
    RECT placed{};
    ::GetWindowRect(guide.Handle(), &placed);
    EXPECT_TRUE(::EqualRect(&placed, &area_));
    const POINT middle{area_.left + 147, area_.top + 150};
    EXPECT_EQ(At(OvalTop()), ScreenColour(GuideColour::Green));
    EXPECT_EQ(At(middle), kBeneath) << "the face's place is clear";
    e2e::Screenshot::Capture(area_).SavePng(e2e::ShotPath("GuideWindow-green"));

    guide.Show(area_, GuideColour::Amber);
    EXPECT_TRUE(e2e::WaitUntil([&] { return At(OvalTop()) == ScreenColour(GuideColour::Amber); }, 2s));
    guide.Show(area_, GuideColour::Grey);
    EXPECT_TRUE(e2e::WaitUntil([&] { return At(OvalTop()) == ScreenColour(GuideColour::Grey); }, 2s));

    guide.Hide();
    EXPECT_FALSE(guide.IsShown());
    EXPECT_FALSE(::IsWindowVisible(guide.Handle()));
    EXPECT_TRUE(e2e::WaitUntil([&] { return At(OvalTop()) == kBeneath; }, 2s));
}

TEST_F(FramingGuideWindow, ThePointerGoesThroughToTheWindowBeneath) {
    framing::GuideWindow guide;
    ASSERT_TRUE(guide.Create(owner_, {}));
    guide.Show(area_, GuideColour::Green);
    e2e::Pause(200ms);
    ASSERT_EQ(At(OvalTop()), ScreenColour(GuideColour::Green));
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(guide.Handle(), GWL_EXSTYLE));
    EXPECT_EQ(style & (WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE),
              static_cast<DWORD>(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE));
    EXPECT_EQ(::WindowFromPoint(OvalTop()), owner_);
    // A real press on the outline reaches the window beneath.
    e2e::ClickAt(OvalTop());
    EXPECT_TRUE(e2e::WaitUntil([&] { return beneath_.presses == 1; }, 2s)) << beneath_.presses << " presses";
}

TEST_F(FramingGuideWindow, PrintsNothingAndGoesWithItsOwner) {
    int afterwards = 0;
    framing::GuideWindow guide;
    ASSERT_TRUE(guide.Create(owner_, [&](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_APP + 7) ++afterwards;
        return std::nullopt;
    }));
    guide.Show(area_, GuideColour::Green);

    // Asked to print itself into a picture, it leaves the picture as it was.
    const platform::UniqueDC dc(::CreateCompatibleDC(nullptr));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 64, -64, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const platform::UniqueBitmap bitmap(::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(bits);
    std::memset(bits, 0x5A, 64 * 64 * 4);
    {
        const platform::Selection select(dc.get(), bitmap.get());
        ::SendMessageW(guide.Handle(), WM_PRINT, reinterpret_cast<WPARAM>(dc.get()),
                       PRF_CLIENT | PRF_NONCLIENT | PRF_CHILDREN | PRF_ERASEBKGND);
        ::SendMessageW(guide.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
        ::GdiFlush();
    }
    const auto* p = static_cast<const std::uint8_t*>(bits);
    int touched = 0;
    for (int i = 0; i < 64 * 64 * 4; ++i) touched += p[i] != 0x5A;
    EXPECT_EQ(touched, 0);

    // Other messages go to the owner's handler.
    ::SendMessageW(guide.Handle(), WM_APP + 7, 0, 0);
    EXPECT_EQ(afterwards, 1);

    // The owner goes, and the guide's window with it; the object lets go of the handle.
    HWND window = guide.Handle();
    ::DestroyWindow(owner_);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(guide.Handle(), nullptr);
    EXPECT_FALSE(guide.IsShown());
    guide.Show(area_, GuideColour::Amber);  // nothing to show it in: nothing happens
    EXPECT_FALSE(guide.IsShown());
}

}  // namespace
