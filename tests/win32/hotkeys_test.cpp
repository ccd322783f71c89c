// The hotkey table: what it registers with the platform, what it refuses, and how a
// WM_HOTKEY reaches its handler through the window's message hook.
#include "app/hotkeys.h"
#include "tests/win32/hotkey_probe.h"
#include "ui/window.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

using probe::KeyHolder;
using probe::KeyIsFree;
using probe::kMods;

const ui::ControlRow kRows[] = {{.name = "底", .rect = {0, 0, 120, 80}}};
const ui::WindowTemplate kLayout{120, 80, kRows, {}};

class Hotkeys : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = ui::Window::Create(kLayout, {});
        other_ = ui::Window::Create(kLayout, {});
        ASSERT_TRUE(window_ && other_);
    }
    // Counts what reaches the window after the hooks added before this one.
    void WatchWhatPassesOn() {
        window_->AddMessageHook([this](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
            if (message == WM_HOTKEY) passedHotkeys_.push_back(static_cast<int>(wParam));
            if (message == kOther) ++passedOther_;
            return std::nullopt;
        });
    }
    app::HotkeyHandler Count(int& counter) {
        return [&counter] { ++counter; };
    }
    HWND W() const { return window_->Handle(); }

    static constexpr UINT kOther = WM_APP + 3;
    std::unique_ptr<ui::Window> window_, other_;
    std::vector<int> passedHotkeys_;
    int passedOther_ = 0;
};

TEST_F(Hotkeys, RefusedRegistrationsLeaveTheTableAsItWas) {
    int runs = 0;
    app::HotkeyTable table;
    EXPECT_FALSE(table.Register(W(), kMods, VK_F7, Count(runs), 0));
    EXPECT_EQ(table.Size(), 0u);
    EXPECT_TRUE(KeyIsFree(kMods, VK_F7));

    KeyHolder holder(kMods, VK_F8);
    ASSERT_TRUE(holder.Holds());
    EXPECT_FALSE(table.Register(W(), kMods, VK_F8, Count(runs), 8));
    EXPECT_EQ(table.Size(), 0u);
    ::SendMessageW(W(), WM_HOTKEY, 8, 0);
    EXPECT_EQ(runs, 0);

    // Nothing was hooked by the refusals: the first registration that succeeds hooks its
    // own window, and only that one.
    holder.LetGo();
    int first = 0, second = 0;
    ASSERT_TRUE(table.Register(other_->Handle(), kMods, VK_F8, Count(first), 8));
    ASSERT_TRUE(table.Register(W(), kMods, VK_F9, Count(second), 9));
    EXPECT_EQ(table.Size(), 2u);
    ::SendMessageW(other_->Handle(), WM_HOTKEY, 8, 0);
    EXPECT_EQ(first, 1);
    ::SendMessageW(W(), WM_HOTKEY, 9, 0);
    EXPECT_EQ(second, 0) << "a second window was hooked";
}

TEST_F(Hotkeys, RegisteringAnIdentifierAgainReplacesItsKeyAndHandler) {
    int first = 0, second = 0, third = 0;
    app::HotkeyTable table;
    ASSERT_TRUE(table.Register(W(), kMods, VK_F7, Count(first), 7));
    EXPECT_FALSE(KeyIsFree(kMods, VK_F7));
    ASSERT_TRUE(table.Register(W(), kMods, VK_F8, Count(second), 7));
    EXPECT_TRUE(KeyIsFree(kMods, VK_F7));
    EXPECT_FALSE(KeyIsFree(kMods, VK_F8));
    EXPECT_EQ(table.Size(), 1u);

    ::SendMessageW(W(), WM_HOTKEY, 7, 0);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);

    // Even a registration the platform refuses lets the earlier key go, and leaves the
    // identifier without a handler.
    KeyHolder holder(kMods, VK_F9);
    ASSERT_TRUE(holder.Holds());
    EXPECT_FALSE(table.Register(W(), kMods, VK_F9, Count(third), 7));
    EXPECT_TRUE(KeyIsFree(kMods, VK_F8));
    EXPECT_EQ(table.Size(), 0u);
    ::SendMessageW(W(), WM_HOTKEY, 7, 0);
    EXPECT_EQ(second + third, 1);
}

TEST_F(Hotkeys, KnownHotkeysAreConsumedEverythingElsePassesOn) {
    int runs = 0;
    app::HotkeyTable table;
    ASSERT_TRUE(table.Register(W(), kMods, VK_F7, Count(runs), 7));
    WatchWhatPassesOn();

    EXPECT_EQ(::SendMessageW(W(), WM_HOTKEY, 7, 0), 0);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(passedHotkeys_.empty());
    ::SendMessageW(W(), WM_HOTKEY, 70, 0);  // no record
    EXPECT_EQ(passedHotkeys_, std::vector<int>{70});
    ::SendMessageW(W(), kOther, 7, 0);
    EXPECT_EQ(passedOther_, 1);
    EXPECT_EQ(runs, 1);
}

}  // namespace
