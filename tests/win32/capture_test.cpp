// Capture copies what a window shows, 1:1, into a slot image.
#include "photo/capture.h"
#include "photo/slot_image.h"
#include "tests/e2e/harness.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

using namespace std::chrono_literals;

// The colour a test window shows at (x, y): every pixel different.
COLORREF Expected(int x, int y) { return RGB((x * 5) & 0xFF, (y * 7) & 0xFF, (x + y) & 0xFF); }

LRESULT CALLBACK PatternProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1;
    if (message != WM_PAINT) return ::DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window, &ps);
    RECT client{};
    ::GetClientRect(window, &client);
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) ::SetPixelV(dc, x, y, Expected(x, y));
    ::EndPaint(window, &ps);
    return 0;
}

LRESULT CALLBACK SolidProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1;
    if (message != WM_PAINT) return ::DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window, &ps);
    HBRUSH brush = ::CreateSolidBrush(RGB(0x12, 0x34, 0x56));
    ::FillRect(dc, &ps.rcPaint, brush);
    ::DeleteObject(brush);
    ::EndPaint(window, &ps);
    return 0;
}

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
    HWND window = MakeWindow(L"Orvia.Test.Pattern", &PatternProc, WS_POPUP | WS_VISIBLE, 60, 60, kWidth, kHeight, nullptr);
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
    HWND top = MakeWindow(L"Orvia.Test.Top", &SolidProc, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 60, 60, 200, 150,
                          nullptr);
    HWND frame = MakeWindow(L"Orvia.Test.Frame", &SolidProc, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 10, 10, 50, 40,
                            top);
    HWND picture = MakeWindow(L"Orvia.Test.Picture", &PatternProc, WS_CHILD | WS_VISIBLE, -20, -10, 100, 80, frame);
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
    HWND empty = MakeWindow(L"Orvia.Test.Empty", &SolidProc, WS_POPUP, 0, 0, 0, 0, nullptr);
    EXPECT_TRUE(photo::CopyWindowPixels(empty).empty());
    ::DestroyWindow(empty);
}

}  // namespace
