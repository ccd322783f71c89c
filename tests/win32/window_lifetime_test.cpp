// Windows that own themselves, shown modally or not, and the keyboard between native
// controls.
#include "ui/message_loop.h"
#include "ui/modal.h"
#include "ui/modal_window.h"
#include "ui/window.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

namespace {

using ui::ControlEvent;
using ui::ControlKind;

const ui::ControlRow kRows[] = {
    {.name = "底", .rect = {0, 0, 200, 150}},
    {.name = "板", .kind = ControlKind::DrawingBoard, .parent = "底", .rect = {10, 10, 40, 40}},
    {.name = "甲", .kind = ControlKind::PushButton, .parent = "底", .rect = {60, 10, 60, 24}, .caption = "甲",
     .tabStop = true},
    {.name = "列", .kind = ControlKind::ListBox, .parent = "底", .rect = {60, 40, 60, 40}, .tabStop = true},
    // Push buttons, lists and sliders take the keyboard: tab stops whether or not the row says so.
    {.name = "乙", .kind = ControlKind::PushButton, .parent = "底", .rect = {60, 90, 60, 24}, .caption = "乙"},
};
const ui::WindowTemplate kLayout{200, 150, kRows, {}};

void PumpMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

using SecondaryWindow = ::testing::Test;

TEST_F(SecondaryWindow, ClosedByItsOwnHandlerItFreesItselfOnceTheHandlerReturns) {
    // Handlers hold a token; the window's behaviour goes with the window.
    auto token = std::make_shared<int>(0);
    std::weak_ptr<int> watch = token;
    bool laterHandlerRan = false;
    bool aliveInsideHandler = false;
    std::weak_ptr<const void> lifetime;
    ui::WindowBehaviour behaviour;
    behaviour.events = {
        {{"板", ui::ControlKind::DrawingBoard}, ControlEvent::LeftDown, [token, &lifetime, &aliveInsideHandler](ui::Window& w) {
             w.Close();
             // Still a live object under the handler that destroyed its window.
             aliveInsideHandler = !lifetime.expired() && !w.IsAlive() && w["板"].Handle() == nullptr;
         }},
        {{"板", ui::ControlKind::DrawingBoard}, ControlEvent::LeftDown, [&laterHandlerRan](ui::Window&) { laterHandlerRan = true; }},
    };
    token.reset();
    ui::Window* window = ui::Window::Open(kLayout, std::move(behaviour));
    ASSERT_NE(window, nullptr);
    lifetime = window->Lifetime();
    HWND hwnd = window->Handle();
    HWND board = (*window)["板"].Handle();

    ::SendMessageW(board, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_TRUE(aliveInsideHandler);
    EXPECT_FALSE(laterHandlerRan) << "a handler ran on a closed window";
    EXPECT_TRUE(lifetime.expired()) << "the closed window was not freed";
    EXPECT_TRUE(watch.expired()) << "its handlers were not freed with it";
    EXPECT_FALSE(::IsWindow(hwnd));
}

TEST_F(SecondaryWindow, OneClosedWhileBeingCreatedIsNotHandedOut) {
    ui::WindowBehaviour behaviour;
    behaviour.created = [](ui::Window& w) { w.Close(); };
    EXPECT_EQ(ui::Window::Open(kLayout, std::move(behaviour)), nullptr);
    // Destroyed from outside, between messages, it goes too.
    ui::Window* window = ui::Window::Open(kLayout, {});
    ASSERT_NE(window, nullptr);
    const auto lifetime = window->Lifetime();
    ::DestroyWindow(window->Handle());
    EXPECT_TRUE(lifetime.expired());
}

TEST_F(SecondaryWindow, ModalWindowDisablesItsOwnerAndOpensTheGateUntilItCloses) {
    auto owner = ui::Window::Create(kLayout, {});
    ASSERT_TRUE(owner);
    int opened = 0, closed = 0;
    const ui::ModalWatch watch([&] { ++opened; }, [&] { ++closed; });
    bool ownerEnabledWhileOpen = true;
    int gateWhileOpen = -1;
    HWND ownerOfModal = nullptr;
    ui::WindowBehaviour behaviour;
    // Closes itself from inside its own loop, through the platform's close request.
    behaviour.created = [&](ui::Window& w) {
        ownerOfModal = ::GetWindow(w.Handle(), GW_OWNER);
        ::PostMessageW(w.Handle(), WM_CLOSE, 0, 0);
    };
    behaviour.closing = [&](ui::Window&) {
        ownerEnabledWhileOpen = ::IsWindowEnabled(owner->Handle()) != FALSE;
        gateWhileOpen = opened - closed;
        return true;
    };
    EXPECT_TRUE(ui::ShowModalWindow(kLayout, std::move(behaviour), owner->Handle()));
    EXPECT_EQ(ownerOfModal, owner->Handle());
    EXPECT_FALSE(ownerEnabledWhileOpen);
    EXPECT_EQ(gateWhileOpen, 1);
    EXPECT_TRUE(::IsWindowEnabled(owner->Handle()));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(closed, 1);
}

TEST_F(SecondaryWindow, AQuitRequestEndsTheModalWaitAndStaysForTheProgramsLoop) {
    ui::WindowBehaviour behaviour;
    behaviour.created = [](ui::Window&) { ::PostQuitMessage(3); };
    EXPECT_TRUE(ui::ShowModalWindow(kLayout, std::move(behaviour), nullptr));
    MSG message{};
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 3u);
}

class TabStops : public ::testing::Test {};

TEST_F(TabStops, TabMovesTheFocusAlongTheNativeTabStops) {
    auto window = ui::Window::Create(kLayout, {});
    ASSERT_TRUE(window);
    ::SetForegroundWindow(window->Handle());
    PumpMessages();
    HWND first = (*window)["甲"].Handle();
    ::SetFocus(first);
    if (::GetFocus() != first) GTEST_SKIP() << "the window could not take the keyboard";
    EXPECT_TRUE(::GetWindowLongW(first, GWL_STYLE) & WS_TABSTOP);
    EXPECT_FALSE(::GetWindowLongW((*window)["板"].Handle(), GWL_STYLE) & WS_TABSTOP);

    const auto tab = [&] {
        MSG key{::GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        return ui::PreTranslate(key);
    };
    EXPECT_TRUE(tab());
    EXPECT_EQ(::GetFocus(), (*window)["列"].Handle());
    EXPECT_TRUE(tab());
    EXPECT_EQ(::GetFocus(), (*window)["乙"].Handle());
    EXPECT_TRUE(tab());
    EXPECT_EQ(::GetFocus(), first) << "the drawing board is no tab stop; the round starts again";
    // Other keys are not the dialog manager's.
    MSG letter{first, WM_KEYDOWN, 'A', 0, 0, {}};
    EXPECT_FALSE(ui::PreTranslate(letter));
}

}  // namespace
