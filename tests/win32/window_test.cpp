#include "app/main_controls.h"
#include "app/main_events.h"
#include "app/main_template.h"
#include "app/startup.h"
#include "ui/message_loop.h"
#include "ui/window.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <windows.h>


namespace {

using ui::ControlEvent;
using ui::ControlKind;
using Kind = ui::ControlKind;
using ui::Rgb;

class Win32Environment : public ::testing::Environment {
public:
    void SetUp() override {
        app::StartGdiplusOnce();
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&controls);
    }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new Win32Environment);

void PumpMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

RECT RectInParent(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

const ui::ControlRow kControls[] = {
    {.name = "背景", .rect = {0, 0, 300, 200}, .background = Rgb(0xFFFFFF), .outline = Rgb(0x0088FF)},
    {.name = "标签", .kind = ControlKind::TransparentLabel, .parent = "背景", .rect = {10, 10, 100, 30},
     .text = Rgb(0x000000), .font = {"", 24, true}, .caption = "按我"},
    {.name = "组", .kind = ControlKind::GroupBox, .parent = "背景", .rect = {150, 10, 100, 100}, .visible = false},
    {.name = "板", .kind = ControlKind::DrawingBoard, .parent = "组", .rect = {5, 20, 50, 60}},
    {.name = "框", .parent = "背景", .rect = {10, 100, 80, 80}, .ownWindow = true},
    {.name = "面", .parent = "框", .rect = {-10, -10, 120, 120}, .background = Rgb(0x000000), .ownWindow = true},
};
const ui::WindowTemplate kLayout{300, 200, kControls, {}};

struct Counts {
    int down = 0, up = 0, doubleClick = 0, created = 0;
};

class TemplateWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ui::WindowBehaviour behaviour;
        behaviour.created = [this](ui::Window& w) {
            ++counts_.created;
            EXPECT_FALSE(::IsWindowVisible(w.Handle()));  // the created event runs before showing
        };
        behaviour.events = {
            {{"标签", Kind::TransparentLabel}, ControlEvent::LeftDown, [this](ui::Window&) { ++counts_.down; }},
            {{"标签", Kind::TransparentLabel}, ControlEvent::LeftUp, [this](ui::Window&) { ++counts_.up; }},
            {{"板", Kind::DrawingBoard}, ControlEvent::DoubleClick, [this](ui::Window&) { ++counts_.doubleClick; }},
        };
        window_ = ui::Window::Create(kLayout, std::move(behaviour));
        ASSERT_TRUE(window_);
        PumpMessages();
    }
    void Send(UINT message, int x, int y) {
        ::SendMessageW(window_->Handle(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
    }

    Counts counts_;
    std::unique_ptr<ui::Window> window_;
};

TEST_F(TemplateWindow, IsBorderlessCentredAndShownAfterItsCreatedEvent) {
    EXPECT_EQ(counts_.created, 1);
    HWND hwnd = window_->Handle();
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    const LONG style = ::GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_DLGFRAME));
    EXPECT_TRUE(::GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.left, (::GetSystemMetrics(SM_CXSCREEN) - 300) / 2);
    EXPECT_EQ(r.top, (::GetSystemMetrics(SM_CYSCREEN) - 200) / 2);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 200);
}

TEST_F(TemplateWindow, NativeControlsSitInTheirNearestNativeAncestor) {
    HWND board = (*window_)["板"].Handle();
    HWND frame = (*window_)["框"].Handle();
    HWND surface = (*window_)["面"].Handle();
    ASSERT_TRUE(board && frame && surface);
    EXPECT_EQ((*window_)["标签"].Handle(), nullptr);  // painted by the window
    EXPECT_EQ(::GetParent(board), window_->Handle());
    EXPECT_EQ(RectInParent(board).left, 155);
    EXPECT_EQ(RectInParent(board).top, 30);
    EXPECT_EQ(::GetParent(surface), frame);
    EXPECT_EQ(RectInParent(surface).left, -10);
    EXPECT_EQ(RectInParent(surface).top, -10);
}

TEST_F(TemplateWindow, ContainerVisibilityReachesNativeChildren) {
    ui::Control group = (*window_)["组"];
    HWND board = (*window_)["板"].Handle();
    EXPECT_FALSE(::IsWindowVisible(board));
    group.SetVisible(true);
    EXPECT_TRUE(::IsWindowVisible(board));
    EXPECT_TRUE((*window_)["板"].IsShown());
    group.SetVisible(false);
    EXPECT_FALSE(::IsWindowVisible(board));
    EXPECT_TRUE((*window_)["板"].IsVisible());  // its own flag is untouched
}

TEST_F(TemplateWindow, MovingAControlMovesItsWindow) {
    ui::Control surface = (*window_)["面"];
    surface.SetGeometry({-30, 5, 200, 100});
    const RECT r = RectInParent(surface.Handle());
    EXPECT_EQ(r.left, -30);
    EXPECT_EQ(r.top, 5);
    EXPECT_EQ(r.right - r.left, 200);
    EXPECT_EQ(surface.Geometry(), (ui::Rect{-30, 5, 200, 100}));
}

TEST_F(TemplateWindow, ThePressedLabelGetsTheReleaseWhereverItHappens) {
    Send(WM_LBUTTONDOWN, 20, 20);
    EXPECT_EQ(counts_.down, 1);
    Send(WM_LBUTTONUP, 250, 190);  // released far from the label
    EXPECT_EQ(counts_.up, 1);
    // A quick second press arrives as a double-click; without a double-click binding it
    // is still a press.
    Send(WM_LBUTTONDBLCLK, 20, 20);
    Send(WM_LBUTTONUP, 20, 20);
    EXPECT_EQ(counts_.down, 2);
    EXPECT_EQ(counts_.up, 2);
    // Presses on the background reach no label.
    Send(WM_LBUTTONDOWN, 5, 190);
    Send(WM_LBUTTONUP, 5, 190);
    EXPECT_EQ(counts_.down, 2);
    EXPECT_EQ(counts_.up, 2);
}

TEST_F(TemplateWindow, NativeBoardsReportDoubleClicks) {
    (*window_)["组"].SetVisible(true);
    ::SendMessageW((*window_)["板"].Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(counts_.doubleClick, 1);
}

TEST_F(TemplateWindow, BadBindingsAreReportedNotFatal) {
    ui::WindowBehaviour behaviour;
    behaviour.events = {
        {{"不存在", Kind::TransparentLabel}, ControlEvent::LeftDown, [](ui::Window&) {}},
        {{"标签", Kind::TransparentLabel}, ControlEvent::Clicked, [](ui::Window&) {}},  // labels are not push buttons
        {{"板", Kind::DrawingBoard}, ControlEvent::GotFocus, [](ui::Window&) {}},
        {{"板", Kind::ListBox}, ControlEvent::EntryDoubleClick, [](ui::Window&) {}},  // a board is no list box
    };
    auto window = ui::Window::Create(kLayout, std::move(behaviour));
    ASSERT_TRUE(window);
    EXPECT_EQ(window->BindingErrors().size(), 3u);
    // An unknown name gives an empty reference that does nothing.
    ui::Control missing = (*window)["不存在"];
    EXPECT_FALSE(missing);
    missing.SetCaption("x");
    missing.SetVisible(false);
    EXPECT_EQ(missing.Caption(), "");
}

TEST_F(TemplateWindow, PaintsShapesAndLabelsWithTheirCurrentLook) {
    ui::Control label = (*window_)["标签"];
    label.SetTextColour(Rgb(0xFF0000));
    EXPECT_EQ(label.TextColour(), Rgb(0xFF0000));

    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 300, -200, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    const RECT all{0, 0, 300, 200};
    window_->PaintContent(dc, all);
    auto pixel = [&](int x, int y) { return static_cast<const std::uint32_t*>(bits)[y * 300 + x] & 0xFFFFFF; };
    EXPECT_EQ(pixel(0, 0), 0x0088FFu);    // the outline, 0xRRGGBB in the DIB
    EXPECT_EQ(pixel(5, 150), 0xFFFFFFu);  // the background
    int red = 0;
    for (int y = 10; y < 40; ++y)
        for (int x = 10; x < 110; ++x) red += pixel(x, y) == 0xFF0000u;
    EXPECT_GT(red, 20);  // the caption, drawn in its new colour
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
}

TEST_F(TemplateWindow, EscClosesTheActiveWindow) {
    ::SetForegroundWindow(window_->Handle());
    ::SetActiveWindow(window_->Handle());
    PumpMessages();
    if (::GetActiveWindow() != window_->Handle()) GTEST_SKIP() << "the window could not be activated";
    MSG esc{(*window_)["面"].Handle(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_TRUE(ui::PreTranslate(esc));
    EXPECT_FALSE(window_->IsAlive());
    MSG other{nullptr, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_FALSE(ui::PreTranslate(other));
}

TEST_F(TemplateWindow, HooksSeeMessagesBeforeTheEngineAndCanLetGo) {
    constexpr UINT kPing = WM_APP + 7;
    int seen = 0;
    const int first = window_->AddMessageHook([&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message != kPing) return std::nullopt;
        ++seen;
        return 42;
    });
    int selfRemoving = 0;
    int second = 0;
    second = window_->AddMessageHook([&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == kPing) {
            ++selfRemoving;
            window_->RemoveMessageHook(second);
        }
        return std::nullopt;
    });
    EXPECT_EQ(::SendMessageW(window_->Handle(), kPing, 0, 0), 42);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(selfRemoving, 0);  // the first hook consumed it
    window_->RemoveMessageHook(first);
    EXPECT_EQ(::SendMessageW(window_->Handle(), kPing, 0, 0), 0);  // the engine's default answer
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(selfRemoving, 1);
    ::SendMessageW(window_->Handle(), kPing, 0, 0);
    EXPECT_EQ(selfRemoving, 1);  // it is gone

    // A native control taken over: its press no longer reaches the engine's binding.
    ui::WindowBehaviour behaviour;
    int presses = 0;
    behaviour.events = {{{"面", Kind::ShapeBox}, ControlEvent::LeftDown, [&](ui::Window&) { ++presses; }}};
    auto window = ui::Window::Create(kLayout, std::move(behaviour));
    ASSERT_TRUE(window);
    ui::Control surface = (*window)["面"];
    surface.SetMessageHook([](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_LBUTTONDOWN) return 0;
        return std::nullopt;
    });
    ::SendMessageW(surface.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(presses, 0);
    surface.SetMessageHook(nullptr);
    ::SendMessageW(surface.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(presses, 1);
}

class MainWindowTemplate : public ::testing::Test {
protected:
    void SetUp() override {
        ui::WindowBehaviour behaviour = app::MainWindowBehaviour(desk_);
        behaviour.created = nullptr;  // no desk: no deployment, no reader scan here
        behaviour.endsProgram = false;
        window_ = ui::Window::Create(app::MainWindowTemplate(), std::move(behaviour));
        ASSERT_TRUE(window_);
    }
    std::unique_ptr<app::MainDesk> desk_;
    std::unique_ptr<ui::Window> window_;
};

TEST_F(MainWindowTemplate, EveryBindingNamesAControlThatRaisesItsEvent) {
    for (const std::string& error : window_->BindingErrors()) ADD_FAILURE() << error;
}

TEST_F(MainWindowTemplate, NativeControlsAreRealisedWithTheirSettings) {
    ui::Window& w = *window_;
    namespace mc = app::main_controls;
    for (std::string_view name : {mc::kSlots[0].board.name, mc::kSlots[1].board.name, mc::kSlots[2].board.name,
                                  mc::kSlots[3].board.name, mc::kCameraList.name, mc::kZoomSlider.name,
                                  mc::kCloseDevice.name, std::string_view("按钮2"), mc::kSettingsButton.name,
                                  mc::kCloseButton.name, mc::kPreviewFrame.name, mc::kPreviewBox.name})
        EXPECT_TRUE(w[name].Handle()) << name;
    HWND slider = w.Get(mc::kZoomSlider).Handle();
    EXPECT_EQ(w.Get(app::main_controls::kZoomSlider).Position(), 3);
    EXPECT_EQ(::SendMessageW(slider, TBM_GETRANGEMIN, 0, 0), 1);
    EXPECT_EQ(::SendMessageW(slider, TBM_GETRANGEMAX, 0, 0), 10);
    EXPECT_EQ(::SendMessageW(slider, TBM_GETPAGESIZE, 0, 0), 5);
    wchar_t caption[32] = {};
    ::GetWindowTextW(w.Get(mc::kCloseDevice).Handle(), caption, 32);
    EXPECT_STREQ(caption, L"关闭设备");
    EXPECT_EQ(w.Get(app::main_controls::kCameraList).Selection(), -1);
    // The preview surface is clipped by its frame's window.
    EXPECT_EQ(::GetParent(w.Get(mc::kPreviewBox).Handle()), w.Get(mc::kPreviewFrame).Handle());
}

TEST_F(MainWindowTemplate, BothBigButtonsExistUntilStartUpChoosesOne) {
    namespace mc = app::main_controls;
    EXPECT_TRUE(window_->Get(mc::kReadCardBody).IsShown());
    EXPECT_TRUE(window_->Get(mc::kPhotoBody).IsShown());
    EXPECT_EQ(window_->Get(mc::kStudentLabel).Caption(), "请读身份证");
}

TEST_F(MainWindowTemplate, TheMenuBarGoesWhenItsOnlyTopItemIsHidden) {
    EXPECT_TRUE(window_->HasMenuBar());
    EXPECT_NE(::GetMenu(window_->Handle()), nullptr);
    window_->SetMenuItemVisible("帮助", false);
    EXPECT_FALSE(window_->HasMenuBar());
    EXPECT_EQ(::GetMenu(window_->Handle()), nullptr);
}

}  // namespace
