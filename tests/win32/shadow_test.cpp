// The drop shadow: the picture its outlines make in a 32-bit surface, and the shadow
// window's life beside its owner (placing, hiding, updating, removing, and sharing the
// owner's window procedure with other subclasses and with the hotkeys).
#include "app/hotkeys.h"
#include "app/startup.h"
#include "chrome/chrome.h"
#include "chrome/shadow_geometry.h"
#include "chrome/shadow_paint.h"
#include "chrome/shadow_window.h"
#include "platform/owners.h"
#include "tests/win32/hotkey_probe.h"
#include "ui/window.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using platform::UniqueWindow;

HANDLE AsProperty(UINT_PTR value) { return reinterpret_cast<HANDLE>(value); }

// ---- the picture ------------------------------------------------------------------------

struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;  // top row first, premultiplied 0xAARRGGBB
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    int Alpha(int x, int y) const { return static_cast<int>(At(x, y) >> 24); }
    int Red(int x, int y) const { return static_cast<int>(At(x, y) >> 16 & 0xFF); }
    int Green(int x, int y) const { return static_cast<int>(At(x, y) >> 8 & 0xFF); }
    int Blue(int x, int y) const { return static_cast<int>(At(x, y) & 0xFF); }
};

// The rings of a shadow with this colour and size, painted into a W x H 32-bit DIB section.
Picture PaintRings(COLORREF colour, int size, int width, int height, bool bottomUp = false) {
    app::StartGdiplusOnce();
    UniqueWindow holder(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
    ::SetPropW(holder.get(), chrome::kShadowColourProperty, AsProperty(colour));
    ::SetPropW(holder.get(), chrome::kShadowSizeProperty, AsProperty(static_cast<UINT_PTR>(size)));

    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, bottomUp ? height : -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    const platform::UniqueDC memory(::CreateCompatibleDC(nullptr));
    const platform::UniqueBitmap surface(::CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    Picture picture{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
    if (!surface) return picture;
    {
        const platform::Selection selected(memory.get(), surface.get());
        chrome::PaintShadowRings(holder.get(), memory.get(), width, height);
    }
    ::GdiFlush();
    const auto* rows = static_cast<const std::uint32_t*>(bits);
    for (int y = 0; y < height; ++y)
        std::memcpy(&picture.pixels[static_cast<std::size_t>(y) * width],
                    rows + static_cast<std::size_t>(bottomUp ? height - 1 - y : y) * width, 4u * width);
    return picture;
}

// Outside the corner squares the outlines run straight; inside them they curve.
constexpr int kSize = 5;
constexpr int kStraightFrom = kSize + chrome::kShadowCornerRadius;

// Pixels of outline i along all four straight edges that do not have alpha 20 × i.
int WrongAlongTheEdges(const Picture& p, int i) {
    int wrong = 0;
    for (int x = kStraightFrom; x < p.width - kStraightFrom; ++x)
        wrong += (p.Alpha(x, i - 1) != 20 * i) + (p.Alpha(x, p.height - i) != 20 * i);
    for (int y = kStraightFrom; y < p.height - kStraightFrom; ++y)
        wrong += (p.Alpha(i - 1, y) != 20 * i) + (p.Alpha(p.width - i, y) != 20 * i);
    return wrong;
}

// The corner pixel at (x, y) and its two neighbours along the edges stay clear, while the
// outermost outline turns the corner next to them (dx, dy point inwards).
bool RoundedAt(const Picture& p, int x, int y, int dx, int dy) {
    const bool clear = p.At(x, y) == 0 && p.At(x + dx, y) == 0 && p.At(x, y + dy) == 0;
    const bool turns = p.Alpha(x + dx, y + dy) > 0 || p.Alpha(x + 2 * dx, y + dy) > 0 || p.Alpha(x + dx, y + 2 * dy) > 0;
    return clear && turns;
}

TEST(ShadowPicture, OutlinesGrowStrongerTowardsTheOwnerOnEverySide) {
    constexpr int kW = 80, kH = 50;
    for (const bool bottomUp : {false, true}) {
        SCOPED_TRACE(bottomUp ? "bottom-up surface" : "top-down surface");
        const Picture p = PaintRings(0x808080, kSize, kW, kH, bottomUp);
        for (int i = 1; i <= kSize; ++i) EXPECT_EQ(WrongAlongTheEdges(p, i), 0) << "outline " << i;
        int touched = 0;
        for (int y = kSize; y < kH - kSize; ++y)
            for (int x = kSize; x < kW - kSize; ++x) touched += p.At(x, y) != 0;
        EXPECT_EQ(touched, 0) << "pixels of the owner's area";
        EXPECT_TRUE(RoundedAt(p, 0, 0, 1, 1));
        EXPECT_TRUE(RoundedAt(p, kW - 1, 0, -1, 1));
        EXPECT_TRUE(RoundedAt(p, 0, kH - 1, 1, -1));
        EXPECT_TRUE(RoundedAt(p, kW - 1, kH - 1, -1, -1));
    }
}

TEST(ShadowPicture, ColoursArePremultipliedInTheirOwnChannels) {
    constexpr int kW = 40, kH = 30;
    // Premultiplied, as UpdateLayeredWindow reads it: each channel scaled by alpha / 255.
    const auto scaled = [](int channel, int alpha) { return channel * alpha / 255; };
    const Picture grey = PaintRings(0x808080, 5, kW, kH);
    for (int i = 1; i <= 5; ++i) {
        const int a = grey.Alpha(kW / 2, i - 1);
        EXPECT_NEAR(grey.Red(kW / 2, i - 1), scaled(0x80, a), 1) << i;
        EXPECT_EQ(grey.Green(kW / 2, i - 1), grey.Red(kW / 2, i - 1)) << i;
        EXPECT_EQ(grey.Blue(kW / 2, i - 1), grey.Red(kW / 2, i - 1)) << i;
    }
    const Picture red = PaintRings(0x0000FF, 5, kW, kH);  // COLORREF red: its low byte
    EXPECT_EQ(red.At(kW / 2, 4), 0x64640000u);
    const Picture mixed = PaintRings(0xFF8000, 9, kW, kH);  // blue 0xFF, green 0x80, red 0
    const int a = mixed.Alpha(kW / 2, 8);
    EXPECT_EQ(a, 144);
    EXPECT_EQ(mixed.Red(kW / 2, 8), 0);
    EXPECT_NEAR(mixed.Green(kW / 2, 8), scaled(0x80, a), 1);
    EXPECT_NEAR(mixed.Blue(kW / 2, 8), a, 1);

    const Picture none = PaintRings(0x808080, 151, 400, 400);
    EXPECT_EQ(none.pixels, std::vector<std::uint32_t>(none.pixels.size(), 0u)) << "above 150 nothing is painted";
}

// ---- the window -------------------------------------------------------------------------

constexpr UINT kPing = WM_APP + 41;
int ownerPings = 0;  // reached the owner's own procedure
int laterPings = 0;  // reached a subclass added after the shadow's
WNDPROC beforeLater = nullptr;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return message == kPing ? ++ownerPings : ::DefWindowProcW(window, message, wParam, lParam);
}
LRESULT CALLBACK LaterSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    laterPings += message == kPing;
    return ::CallWindowProcW(beforeLater, window, message, wParam, lParam);
}

WNDPROC ProcOf(HWND window) { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC)); }
void SetProc(HWND window, WNDPROC proc) { ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)); }
void AddLaterSubclass(HWND window) { beforeLater = ProcOf(window), SetProc(window, &LaterSubclass); }
HWND ShadowOf(HWND owner) { return static_cast<HWND>(::GetPropW(owner, chrome::kShadowWindowProperty)); }
HANDLE SavedProc(HWND owner) { return ::GetPropW(owner, chrome::kShadowProcProperty); }

RECT RectOf(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

class ShadowWindow : public ::testing::Test {
protected:
    void SetUp() override {
        app::StartGdiplusOnce();
        static const bool registered = [] {
            WNDCLASSEXW wc{sizeof wc};
            wc.lpfnWndProc = &OwnerProc;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = L"OrviaTest.ShadowOwner";
            return ::RegisterClassExW(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        owner_.reset(::CreateWindowExW(0, L"OrviaTest.ShadowOwner", L"", WS_POPUP, 100, 120, 200, 150, nullptr, nullptr,
                                       ::GetModuleHandleW(nullptr), nullptr));
        ASSERT_TRUE(owner_);
        ::ShowWindow(Owner(), SW_SHOWNOACTIVATE);
        original_ = ProcOf(Owner());
        ownerPings = laterPings = 0;
    }
    HWND Owner() const { return owner_.get(); }
    void Move(int x, int y, int width, int height) {
        ::SetWindowPos(Owner(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void ShowOrHideBySetWindowPos(UINT flag) {
        ::SetWindowPos(Owner(), nullptr, 0, 0, 0, 0, flag | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Shown, `size` larger than the owner on every side.
    void ExpectAround(int size) {
        const HWND shadow = ShadowOf(Owner());
        ASSERT_TRUE(::IsWindow(shadow));
        EXPECT_TRUE(::IsWindowVisible(shadow));
        RECT expected = RectOf(Owner());
        ::InflateRect(&expected, size, size);
        const RECT actual = RectOf(shadow);
        EXPECT_TRUE(::EqualRect(&expected, &actual)) << "shadow at " << actual.left << "," << actual.top << " to "
                                                     << actual.right << "," << actual.bottom;
    }
    bool ShadowShown() const { return ::IsWindowVisible(ShadowOf(Owner())) != FALSE; }
    int Ping() const { return static_cast<int>(::SendMessageW(Owner(), kPing, 0, 0)); }

    UniqueWindow owner_;
    WNDPROC original_ = nullptr;
};

TEST_F(ShadowWindow, IsTenPixelsLargerFiveUpAndLeftAndFollowsTheOwner) {
    ASSERT_TRUE(chrome::SetWndShadow(Owner(), 0x808080, 5));
    const HWND shadow = ShadowOf(Owner());
    ExpectAround(5);
    EXPECT_EQ(RectOf(shadow).left, 95);
    EXPECT_EQ(RectOf(shadow).bottom - RectOf(shadow).top, 160);
    EXPECT_EQ(::GetWindow(shadow, GW_OWNER), Owner());
    const LONG_PTR clickThrough = WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE;
    EXPECT_EQ(::GetWindowLongPtrW(shadow, GWL_EXSTYLE) & clickThrough, clickThrough);

    Move(300, 260, 200, 150);
    ExpectAround(5);
    Move(310, 250, 260, 90);
    ExpectAround(5);
    EXPECT_EQ(Ping(), 1) << "the owner's own procedure still gets its messages";
}

TEST_F(ShadowWindow, HidesWhileTheOwnerIsHiddenMinimisedOrMaximised) {
    ASSERT_TRUE(chrome::SetWndShadow(Owner(), 0x808080, 5));
    ::ShowWindow(Owner(), SW_HIDE);
    EXPECT_FALSE(ShadowShown());
    ::ShowWindow(Owner(), SW_SHOWNOACTIVATE);
    ExpectAround(5);
    ShowOrHideBySetWindowPos(SWP_HIDEWINDOW);  // no WM_SHOWWINDOW this way
    EXPECT_FALSE(ShadowShown());
    ShowOrHideBySetWindowPos(SWP_SHOWWINDOW);
    ExpectAround(5);

    ::ShowWindow(Owner(), SW_MINIMIZE);
    ASSERT_TRUE(::IsIconic(Owner()));
    EXPECT_FALSE(ShadowShown());
    WINDOWPLACEMENT placement{sizeof placement};
    ::GetWindowPlacement(Owner(), &placement);
    placement.rcNormalPosition = {400, 300, 640, 420};  // restored somewhere else
    placement.showCmd = SW_SHOWMINNOACTIVE;
    ::SetWindowPlacement(Owner(), &placement);
    ::ShowWindow(Owner(), SW_RESTORE);
    EXPECT_EQ(RectOf(Owner()).left, 400);
    ExpectAround(5);

    ::ShowWindow(Owner(), SW_MAXIMIZE);
    ASSERT_TRUE(::IsZoomed(Owner()));
    EXPECT_FALSE(ShadowShown());
    ::ShowWindow(Owner(), SW_RESTORE);
    ExpectAround(5);
}

TEST_F(ShadowWindow, UpdatedWithoutSubclassingAgainRemovedWithSizeZero) {
    ASSERT_TRUE(chrome::SetWndShadow(Owner(), 0x808080, 5));
    const HWND shadow = ShadowOf(Owner());
    const WNDPROC subclassed = ProcOf(Owner());
    EXPECT_NE(subclassed, original_);
    EXPECT_EQ(SavedProc(Owner()), reinterpret_cast<HANDLE>(original_));

    ASSERT_TRUE(chrome::SetWndShadow(Owner(), 0x0000FF, 8));
    EXPECT_EQ(ShadowOf(Owner()), shadow);
    EXPECT_EQ(ProcOf(Owner()), subclassed);
    EXPECT_EQ(SavedProc(Owner()), reinterpret_cast<HANDLE>(original_)) << "would forward to itself";
    EXPECT_EQ(::GetPropW(shadow, chrome::kShadowColourProperty), AsProperty(0x0000FF));
    EXPECT_EQ(::GetPropW(shadow, chrome::kShadowSizeProperty), AsProperty(8));
    ExpectAround(8);

    EXPECT_FALSE(chrome::SetWndShadow(Owner(), 0x808080, 0));
    EXPECT_FALSE(::IsWindow(shadow));
    EXPECT_EQ(ProcOf(Owner()), original_);
    EXPECT_EQ(ShadowOf(Owner()), nullptr);
    EXPECT_EQ(SavedProc(Owner()), nullptr);
    Move(150, 150, 200, 150);
    EXPECT_EQ(Ping(), 1);

    // Again, and this time the owner goes first: the platform takes the shadow with it.
    ASSERT_TRUE(chrome::SetWndShadow(Owner(), 0x808080, 5));
    const HWND second = ShadowOf(Owner());
    ExpectAround(5);
    owner_.reset();
    EXPECT_FALSE(::IsWindow(second));
}

TEST(ShadowArguments, OnlyWindowsOfTheCallingThreadGetAShadow) {
    EXPECT_FALSE(chrome::SetWndShadow(nullptr, 0x808080, 5));
    HWND gone = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ::DestroyWindow(gone);
    EXPECT_FALSE(chrome::SetWndShadow(gone, 0x808080, 5));

    std::atomic<HWND> foreign = nullptr;
    std::atomic<bool> checked = false;
    std::thread other([&] {
        const UniqueWindow window = probe::PlainWindow();
        foreign = window.get();
        while (!checked) ::Sleep(1);
    });
    while (!foreign) ::Sleep(1);
    EXPECT_FALSE(chrome::SetWndShadow(foreign, 0x808080, 5));
    EXPECT_EQ(ShadowOf(foreign), nullptr);
    checked = true;
    other.join();
}

// ---- sharing the owner's window procedure -----------------------------------------------

using ShadowChain = ShadowWindow;

TEST_F(ShadowChain, LaterSubclassLeavingBeforeOrAfterTheShadow) {
    ASSERT_TRUE(chrome::SetWndShadow(Owner(), 0x808080, 5));
    AddLaterSubclass(Owner());
    Move(200, 200, 200, 150);
    ExpectAround(5);
    EXPECT_EQ(Ping(), 1);
    EXPECT_EQ(laterPings, 1);
    SetProc(Owner(), beforeLater);  // leaves first
    EXPECT_FALSE(chrome::SetWndShadow(Owner(), 0, 0));
    EXPECT_EQ(ProcOf(Owner()), original_);

    ASSERT_TRUE(chrome::SetWndShadow(Owner(), 0x808080, 5));
    AddLaterSubclass(Owner());
    const HWND shadow = ShadowOf(Owner());
    EXPECT_FALSE(chrome::SetWndShadow(Owner(), 0, 0));  // the shadow leaves first
    EXPECT_FALSE(::IsWindow(shadow));
    EXPECT_EQ(ProcOf(Owner()), &LaterSubclass) << "cut off";
    EXPECT_EQ(Ping(), 2);
    EXPECT_EQ(laterPings, 2);
    ASSERT_TRUE(chrome::SetWndShadow(Owner(), 0x808080, 5)) << "back below the later subclass";
    Move(220, 180, 200, 150);
    ExpectAround(5);
    EXPECT_FALSE(chrome::SetWndShadow(Owner(), 0, 0));
    SetProc(Owner(), beforeLater);
    EXPECT_EQ(Ping(), 3);
    EXPECT_EQ(ProcOf(Owner()), original_) << "left the chain once on top again";
    EXPECT_EQ(SavedProc(Owner()), nullptr);
}

TEST_F(ShadowChain, EarlierSubclassLeavingOutOfOrderDoesNotStrandTheShadow) {
    AddLaterSubclass(Owner());  // here it comes before the shadow
    ASSERT_TRUE(chrome::SetWndShadow(Owner(), 0x808080, 5));
    SetProc(Owner(), beforeLater);  // sets the original back, cutting the shadow's procedure out
    ASSERT_TRUE(chrome::SetWndShadow(Owner(), 0x808080, 5));
    Move(240, 200, 200, 150);
    ExpectAround(5);
    EXPECT_EQ(Ping(), 1);
    EXPECT_FALSE(chrome::SetWndShadow(Owner(), 0, 0));
    EXPECT_EQ(ProcOf(Owner()), original_);
    EXPECT_EQ(SavedProc(Owner()), nullptr);
}

TEST(ShadowWithHotkeys, BothKeepWorkingOnTheTemplateWindow) {
    app::StartGdiplusOnce();
    const ui::ControlRow rows[] = {{.name = "底", .rect = {0, 0, 120, 80}}};
    auto window = ui::Window::Create({120, 80, rows, {}}, {});
    ASSERT_TRUE(window);
    const HWND w = window->Handle();
    const WNDPROC templateProc = ProcOf(w);
    int presses = 0;
    app::HotkeyTable hotkeys;
    ASSERT_TRUE(hotkeys.Register(w, probe::kMods, VK_F6, [&presses] { ++presses; }, 6));
    ASSERT_TRUE(chrome::SetWndShadow(w, 0x808080, 5));

    ::SendMessageW(w, WM_HOTKEY, 6, 0);
    EXPECT_EQ(presses, 1);
    ::SetWindowPos(w, nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(RectOf(ShadowOf(w)).left, 45);
    EXPECT_EQ(RectOf(ShadowOf(w)).top, 55);

    EXPECT_FALSE(chrome::SetWndShadow(w, 0x808080, 0));
    EXPECT_EQ(ProcOf(w), templateProc);
    ::SendMessageW(w, WM_HOTKEY, 6, 0);
    EXPECT_EQ(presses, 2);
}

}  // namespace
