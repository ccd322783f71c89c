// The picture box and the HTML viewer, the two kinds the secondary windows brought.
#include "platform/files.h"
#include "platform/owners.h"
#include "platform/win_text.h"
#include "ui/html_viewer.h"
#include "ui/html_viewer_control.h"
#include "ui/window.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <vector>

namespace {

using ui::ControlEvent;
using ui::ControlKind;

const ui::ControlRow kRows[] = {
    {.name = "底", .rect = {0, 0, 400, 300}, .background = ui::Rgb(0xFFFFFF)},
    {.name = "图", .kind = ControlKind::PictureBox, .parent = "底", .rect = {10, 10, 60, 60},
     .background = ui::Rgb(0x00FF00), .pictures = {"CLOSE_NORMAL"}},
    {.name = "空图", .kind = ControlKind::PictureBox, .parent = "底", .rect = {80, 10, 20, 20},
     .background = ui::Rgb(0x00FF00)},
    {.name = "页", .kind = ControlKind::HtmlViewer, .parent = "底", .rect = {10, 80, 380, 200}},
};
const ui::WindowTemplate kLayout{400, 300, kRows, {}};

// The control's own painting, as 0x00RRGGBB pixels.
std::vector<std::uint32_t> PaintOf(HWND control, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    platform::UniqueDC dc;
    platform::UniqueBitmap bitmap;
    {
        platform::WindowDC screen(nullptr);
        dc.reset(::CreateCompatibleDC(screen.get()));
        bitmap.reset(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    }
    if (!dc || !bitmap) return {};
    platform::Selection select(dc.get(), bitmap.get());
    ::SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    const auto* p = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(p, p + width * height);
    for (auto& px : pixels) px &= 0xFFFFFF;
    return pixels;
}

TEST(PictureBox, ShowsItsPictureScaledIntoItsRectangleAndReportsPresses) {
    int presses = 0;
    ui::WindowBehaviour behaviour;
    behaviour.events = {{{"图", ui::ControlKind::PictureBox}, ControlEvent::LeftDown, [&](ui::Window&) { ++presses; }}};
    auto window = ui::Window::Create(kLayout, std::move(behaviour));
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->BindingErrors().empty());
    HWND picture = (*window)["图"].Handle();
    ASSERT_TRUE(picture);

    // The 30 x 30 close picture (a cross on a transparent ground) stretched over 60 x 60:
    // its strokes reach into the far quarter, which they could not at its own size.
    const auto pixels = PaintOf(picture, 60, 60);
    int strokes = 0, farStrokes = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 60; ++x) {
            if (pixels[static_cast<std::size_t>(y * 60 + x)] == 0x00FF00u) continue;
            ++strokes;
            farStrokes += x >= 36 && y >= 36;
        }
    }
    EXPECT_GT(strokes, 100);
    EXPECT_GT(farStrokes, 10);
    EXPECT_EQ(pixels[0], 0x00FF00u) << "the background shows through the picture's transparent corner";
    // Without a picture the box shows its background.
    const auto empty = PaintOf((*window)["空图"].Handle(), 20, 20);
    EXPECT_EQ(empty[0], 0x00FF00u);
    EXPECT_EQ(empty[20 * 20 - 1], 0x00FF00u);

    ::SendMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(presses, 1);
}

TEST(HtmlViewer, ShowsAPageOrWithoutABrowserANoteAndTheWindowWorksOn) {
    int ready = 0;
    ui::WindowBehaviour behaviour;
    behaviour.events = {{{"页", ui::ControlKind::HtmlViewer}, ControlEvent::DocumentReady, [&](ui::Window&) { ++ready; }}};
    auto window = ui::Window::Create(kLayout, std::move(behaviour));
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->BindingErrors().empty());
    ui::HtmlViewerHandle page = window->Get(ui::ControlId<ui::ControlKind::HtmlViewer>{"页"});
    ASSERT_TRUE(page.Handle());
    const bool hasBrowser = ui::HtmlViewer::Create(page.Handle(), {}) != nullptr;
    page.Navigate("C:\\no-such-page.html");
    page.Focus();

    if (hasBrowser) {
        // A real page: it is reported ready once, and the browser's inner window is inside.
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        const std::wstring path = std::wstring(temp) + L"orvia-viewer-test.html";
        const std::string html = "<html><body>Orvia</body></html>";
        ASSERT_TRUE(platform::WriteWholeFile(path, {reinterpret_cast<const std::uint8_t*>(html.data()), html.size()}));
        page.Navigate(platform::Narrow(path));
        const ULONGLONG start = ::GetTickCount64();
        while (ready == 0 && ::GetTickCount64() - start < 15000) {
            MSG message;
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&message);
                ::DispatchMessageW(&message);
            }
            ::Sleep(10);
        }
        EXPECT_GE(ready, 1) << "the page was never reported ready";
        EXPECT_NE(::FindWindowExW(page.Handle(), nullptr, nullptr, nullptr), nullptr) << "no browser window inside";
        window->Close();
        EXPECT_FALSE(window->IsAlive());
        ::DeleteFileW(path.c_str());
        return;
    }
    // Under Wine without its browser engine, as in these tests.
    const auto pixels = PaintOf(page.Handle(), 380, 200);
    int ink = 0;
    for (const auto px : pixels) ink += px != 0xFFFFFFu;
    EXPECT_GT(ink, 50) << "no note where the page would be";
    // The right button stays without effect, and the window closes as ever.
    ::SendMessageW(page.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    ::SendMessageW(page.Handle(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(ready, 0);
    window->Close();
    EXPECT_FALSE(window->IsAlive());
}

}  // namespace
