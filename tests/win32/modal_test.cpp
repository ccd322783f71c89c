// Modal boxes and what the program lets go of while one is open; finding the process's
// own window as an owner for a box.
#include "app/hotkeys.h"
#include "tests/win32/hotkey_probe.h"
#include "ui/modal.h"
#include "ui/window.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

using namespace std::chrono_literals;
using probe::KeyHolder;
using probe::KeyIsFree;
using probe::kMods;

const ui::ControlRow kRows[] = {{.name = "底", .rect = {0, 0, 120, 80}}};
const ui::WindowTemplate kLayout{120, 80, kRows, {}};

using ModalGate = ::testing::Test;

TEST_F(ModalGate, NestedScopesOpenAndCloseTheGateOnce) {
    int opened = 0, closed = 0;
    const ui::ModalWatch watch([&] { ++opened; }, [&] { ++closed; });
    {
        ui::ModalScope outer;
        EXPECT_EQ(opened, 1);
        {
            ui::ModalScope inner;
            EXPECT_EQ(opened, 1);
        }
        EXPECT_EQ(closed, 0);
    }
    EXPECT_EQ(closed, 1);
    { ui::ModalScope again; }
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(closed, 2);
}

TEST_F(ModalGate, HotkeysAreLetGoInsideAndTakenBackAfter) {
    auto window = ui::Window::Create(kLayout, {});
    ASSERT_TRUE(window);
    HWND w = window->Handle();
    app::HotkeyTable table;
    ASSERT_TRUE(table.Register(w, kMods, VK_F7, [] {}, 7));
    ASSERT_TRUE(table.Register(w, kMods, VK_F8, [] {}, 8));
    ASSERT_TRUE(table.Register(w, kMods, VK_F9, [] {}, 9));
    ASSERT_TRUE(table.Register(w, kMods, VK_F10, [] {}, 9));  // F9 is no longer the table's
    const ui::ModalWatch watch([&] { table.Release(); }, [&] { table.Retake(); });

    std::optional<KeyHolder> intruder;
    {
        ui::ModalScope box;
        EXPECT_TRUE(KeyIsFree(kMods, VK_F7));
        EXPECT_TRUE(KeyIsFree(kMods, VK_F10));
        intruder.emplace(kMods, VK_F8);  // another program takes a key meanwhile
        ASSERT_TRUE(intruder->Holds());
    }
    EXPECT_FALSE(KeyIsFree(kMods, VK_F7));
    EXPECT_FALSE(KeyIsFree(kMods, VK_F10));
    EXPECT_TRUE(KeyIsFree(kMods, VK_F9));
    EXPECT_EQ(table.Size(), 3u);

    // The key the other program took does nothing here until a later box gives it back.
    intruder->LetGo();
    EXPECT_TRUE(KeyIsFree(kMods, VK_F8));
    { ui::ModalScope box; }
    EXPECT_FALSE(KeyIsFree(kMods, VK_F8));
}

// A hotkey already queued as a box opens is the desk's, not the box's: the box's loop drops it.
TEST_F(ModalGate, AHotkeyQueuedAsABoxOpensIsDroppedInsideIt) {
    auto window = ui::Window::Create(kLayout, {});
    ASSERT_TRUE(window);
    HWND w = window->Handle();
    app::HotkeyTable table;
    int captures = 0;
    ASSERT_TRUE(table.Register(w, kMods, VK_F7, [&] { ++captures; }, 7));
    const auto pump = [] {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    };
    {
        ::PostMessageW(w, WM_HOTKEY, 7, 0);
        ui::ModalScope box;
        pump();  // as the box's own loop does
    }
    EXPECT_EQ(captures, 0);
    ::PostMessageW(w, WM_HOTKEY, 7, 0);
    pump();
    EXPECT_EQ(captures, 1) << "with no box open the hotkey runs";
}

using OwnWindow = ::testing::Test;

HWND g_toShow = nullptr;

// A timer procedure has the platform's calling convention, which a lambda does not have
// on x86.
void CALLBACK ShowTheHiddenWindow(HWND, UINT, UINT_PTR, DWORD) { ::ShowWindow(g_toShow, SW_SHOWNA); }

TEST_F(OwnWindow, AWindowShownWhileLookingIsFound) {
    // Hidden at first; a timer of this thread shows it, which only happens when the
    // search lets the thread's events through.
    probe::UniqueWindow hidden = probe::PlainWindow();
    ASSERT_TRUE(hidden);
    ASSERT_EQ(ui::FindOwnWindow(::GetCurrentProcessId(), 0ms), nullptr) << "another window of ours is visible";
    g_toShow = hidden.get();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &ShowTheHiddenWindow);
    EXPECT_EQ(ui::FindOwnWindow(::GetCurrentProcessId()), hidden.get());
    ::KillTimer(nullptr, timer);
}

TEST_F(OwnWindow, GivesUpWhenTheProcessShowsNone) {
    constexpr DWORD kNoSuchProcess = 0xFFFFFFF0;
    EXPECT_EQ(ui::FindOwnWindow(kNoSuchProcess, 200ms), nullptr);
}

}  // namespace
