// Capture copies what a window shows, 1:1, into a slot image: the window and its children
// render themselves, so what lies over them is left out.
#include "photo/capture.h"
#include "photo/slot_image.h"
#include "platform/dib.h"
#include "platform/owners.h"
#include "tests/e2e/harness.h"
#include "ui/window.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

using namespace std::chrono_literals;

// The colour a test window shows at (x, y): every pixel different.
COLORREF Expected(int x, int y) { return RGB((x * 5) & 0xFF, (y * 7) & 0xFF, (x + y) & 0xFF); }

// Test windows paint the same pixels for the screen and for a rendering, as ours do.
void PaintPattern(HWND window, HDC dc) {
    RECT client{};
    ::GetClientRect(window, &client);
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) ::SetPixelV(dc, x, y, Expected(x, y));
}

void PaintSolid(HWND window, HDC dc) {
    RECT client{};
    ::GetClientRect(window, &client);
    const platform::UniqueBrush brush(::CreateSolidBrush(RGB(0x12, 0x34, 0x56)));
    ::FillRect(dc, &client, brush.get());
}

template <void (*Paint)(HWND, HDC)>
LRESULT CALLBACK PaintingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PRINTCLIENT:
        Paint(window, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(window, &ps);
        Paint(window, dc);
        ::EndPaint(window, &ps);
        return 0;
    }
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}
constexpr WNDPROC PatternProc = &PaintingProc<&PaintPattern>;
constexpr WNDPROC SolidProc = &PaintingProc<&PaintSolid>;

HWND MakeWindow(const wchar_t* className, WNDPROC procedure, DWORD style, int x, int y, int w, int h, HWND parent) {
    WNDCLASSEXW wc{sizeof wc};
    wc.lpfnWndProc = procedure;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    ::RegisterClassExW(&wc);
    return ::CreateWindowExW(0, className, L"", style, x, y, w, h, parent, nullptr, ::GetModuleHandleW(nullptr),
                             nullptr);
}

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

TEST(Capture, CopiesTheWindowsPixelsOneToOneBottomUp) {
    // An odd width, so every stored row carries padding.
    constexpr int kWidth = 37, kHeight = 23;
    HWND window = MakeWindow(L"Orvia.Test.Pattern", PatternProc, WS_POPUP | WS_VISIBLE, 60, 60, kWidth, kHeight, nullptr);
    ASSERT_TRUE(window);
    ::UpdateWindow(window);
    e2e::Pause(100ms);

    const std::vector<std::uint8_t> image = photo::CopyWindowPixels(window);
    ::DestroyWindow(window);
    const std::size_t stride = photo::BmpStride(kWidth);
    ASSERT_EQ(image.size(), 54 + stride * kHeight);
    EXPECT_EQ(U32(image, 18), static_cast<std::uint32_t>(kWidth));
    EXPECT_EQ(U32(image, 22), static_cast<std::uint32_t>(kHeight));  // positive: bottom row first
    int wrong = 0;
    for (int y = 0; y < kHeight; ++y) {
        const std::size_t row = 54 + stride * static_cast<std::size_t>(kHeight - 1 - y);
        for (int x = 0; x < kWidth; ++x) {
            const std::uint8_t* p = &image[row + 3 * static_cast<std::size_t>(x)];
            wrong += RGB(p[2], p[1], p[0]) != Expected(x, y);
        }
    }
    EXPECT_EQ(wrong, 0) << "pixels that differ from the window";
}

TEST(Capture, SeesTheChildWindowsTheOperatorSees) {
    // The frame clips its children; the camera's picture lies in a child of a child.
    HWND top = MakeWindow(L"Orvia.Test.Top", SolidProc, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 60, 60, 200, 150,
                          nullptr);
    HWND frame = MakeWindow(L"Orvia.Test.Frame", SolidProc, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 10, 10, 50, 40,
                            top);
    HWND picture = MakeWindow(L"Orvia.Test.Picture", PatternProc, WS_CHILD | WS_VISIBLE, -20, -10, 100, 80, frame);
    ASSERT_TRUE(top && frame && picture);
    ::UpdateWindow(top);
    e2e::Pause(100ms);

    const std::vector<std::uint8_t> image = photo::CopyWindowPixels(frame);
    ::DestroyWindow(top);
    ASSERT_EQ(image.size(), 54 + photo::BmpStride(50) * 40);
    // The frame's top-left pixel is the picture's pixel (20, 10).
    const std::size_t topRow = 54 + photo::BmpStride(50) * 39;
    EXPECT_EQ(RGB(image[topRow + 2], image[topRow + 1], image[topRow]), Expected(20, 10));
}

TEST(Capture, AWindowWithoutAreaGivesNothing) {
    EXPECT_TRUE(photo::CopyWindowPixels(nullptr).empty());
    HWND empty = MakeWindow(L"Orvia.Test.Empty", SolidProc, WS_POPUP, 0, 0, 0, 0, nullptr);
    EXPECT_TRUE(photo::CopyWindowPixels(empty).empty());
    ::DestroyWindow(empty);
}

// ---- the frame as the Main window has it -------------------------------------------------

// A frame like the portrait frame: a window of its own holding the preview box, which holds
// a surface the camera draws into (here a pattern), partly off the frame.
const ui::ControlRow kFrameRows[] = {
    {.name = "底", .rect = {0, 0, 360, 480}, .background = ui::Rgb(0xFFFFFF)},
    {.name = "框", .parent = "底", .rect = {20, 30, 295, 412}, .outline = ui::Rgb(0x0088FF), .ownWindow = true},
    {.name = "视频", .parent = "框", .rect = {-30, -40, 400, 300}, .background = ui::Rgb(0x000000),
     .outline = ui::Rgb(0xFFFFFF), .ownWindow = true},
};
const ui::WindowTemplate kFrameLayout{360, 480, kFrameRows, {}};

// The copy capture used to make: the window's pixels read back from the screen.
std::vector<std::uint8_t> ScreenCopy(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const platform::WindowDC windowDc(window, platform::WindowDC::Area::Whole);
    const platform::TopDownDib dib = platform::CreateTopDownDib(windowDc.get(), width, height);
    const platform::UniqueDC memory(::CreateCompatibleDC(windowDc.get()));
    if (!dib.bits || !memory) return {};
    {
        const platform::Selection select(memory.get(), dib.bitmap.get());
        ::BitBlt(memory.get(), 0, 0, width, height, windowDc.get(), 0, 0, SRCCOPY);
        ::GdiFlush();
    }
    const std::size_t stride = static_cast<std::size_t>(width) * 4;
    return photo::MakeSlotImage(width, height, {static_cast<const std::uint8_t*>(dib.bits), stride * height}, stride);
}

class CaptureOfTheFrame : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = ui::Window::Create(kFrameLayout, {});
        ASSERT_TRUE(window_);
        frame_ = (*window_)["框"].Handle();
        HWND box = (*window_)["视频"].Handle();
        ASSERT_TRUE(frame_ && box);
        surface_ = MakeWindow(L"Orvia.Test.Surface", PatternProc, WS_CHILD | WS_VISIBLE, 0, 0, 400, 300, box);
        ASSERT_TRUE(surface_);
        ::SetWindowPos(window_->Handle(), HWND_TOPMOST, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        ::RedrawWindow(window_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        e2e::Pause(300ms);
    }

    std::unique_ptr<ui::Window> window_;
    HWND frame_ = nullptr;
    HWND surface_ = nullptr;
};

int DifferingPixels(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    if (a.size() != b.size()) return -1;
    int differing = 0;
    for (std::size_t i = photo::kBmpHeaderSize; i < a.size(); ++i) differing += a[i] != b[i];
    return differing;
}

TEST_F(CaptureOfTheFrame, EqualsTheScreenCopyWhenNothingLiesOverIt) {
    const std::vector<std::uint8_t> screen = ScreenCopy(frame_);
    const std::vector<std::uint8_t> rendered = photo::CopyWindowPixels(frame_);
    ASSERT_EQ(rendered.size(), photo::kBmpHeaderSize + photo::BmpStride(295) * 412);
    EXPECT_EQ(DifferingPixels(rendered, screen), 0) << "bytes that differ from what the screen shows";
    // The pattern sits where the box put it, the frame's own painting beneath it.
    const std::size_t top = photo::kBmpHeaderSize + photo::BmpStride(295) * 411;
    EXPECT_EQ(RGB(rendered[top + 2], rendered[top + 1], rendered[top]), Expected(30, 40));
}

TEST_F(CaptureOfTheFrame, LeavesOutWhatLiesOverTheFrame) {
    const std::vector<std::uint8_t> before = photo::CopyWindowPixels(frame_);
    RECT frameArea{};
    ::GetWindowRect(frame_, &frameArea);
    // A window of the same program over part of the frame, above it among its siblings, and
    // another program's window over another part, topmost.
    HWND sibling = MakeWindow(L"Orvia.Test.Sibling", SolidProc, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 40, 50, 100,
                              120, window_->Handle());
    HWND cover = MakeWindow(L"Orvia.Test.Cover", SolidProc, WS_POPUP | WS_VISIBLE, frameArea.left + 150,
                            frameArea.top + 200, 120, 150, nullptr);
    ASSERT_TRUE(sibling && cover);
    ::SetWindowPos(sibling, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetWindowPos(cover, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::UpdateWindow(sibling);
    ::UpdateWindow(cover);
    e2e::Pause(300ms);

    // A copy from the screen shows at least the sibling, which lies in the same window surface
    // (the other program's window too where nothing composes the screen); the rendering
    // shows neither.
    const std::vector<std::uint8_t> screen = ScreenCopy(frame_);
    const std::vector<std::uint8_t> rendered = photo::CopyWindowPixels(frame_);
    ::DestroyWindow(cover);
    ::DestroyWindow(sibling);
    EXPECT_GT(DifferingPixels(screen, before), 90 * 110 * 3) << "the screen copy does not show the sibling";
    EXPECT_EQ(DifferingPixels(rendered, before), 0) << "what lies over the frame is in the capture";
}

}  // namespace
