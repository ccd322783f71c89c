// The hook that keeps the right button away from the browser's inner window, on windows of
// our own that stand in for the browser's.
#include "chrome/browser_hook.h"
#include "chrome/timed_message.h"
#include "platform/owners.h"
#include "tests/e2e/harness.h"
#include "tests/win32/box_answerer.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Messages the inner window's own procedure saw.
std::vector<UINT>& Seen() {
    static std::vector<UINT> seen;
    return seen;
}

LRESULT CALLBACK ServerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Seen().push_back(message);
    if (message == WM_APP + 1) return 7;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void RegisterClasses() {
    static const bool done = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &ServerProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = chrome::kBrowserServerClass;
        ::RegisterClassW(&wc);
        wc.lpfnWndProc = &::DefWindowProcW;
        wc.lpszClassName = L"Orvia.Test.Pane";
        ::RegisterClassW(&wc);
        wc.lpszClassName = L"Internet Explorer_Server2";  // a prefix is no match
        ::RegisterClassW(&wc);
        return true;
    }();
    (void)done;
}

HWND Child(HWND parent, const wchar_t* windowClass) {
    return ::CreateWindowExW(0, windowClass, L"", WS_CHILD, 0, 0, 10, 10, parent, nullptr, nullptr, nullptr);
}

// viewer
//   pane A
//     pane A1
//       decoy (Internet Explorer_Server2)
//       server (deep)          <- depth-first finds this one
//   pane B
//     server (shallow)
struct BrowserTree {
    HWND viewer = nullptr, deep = nullptr, shallow = nullptr;
    explicit BrowserTree(bool withServer = true) {
        RegisterClasses();
        viewer = ::CreateWindowExW(0, L"Orvia.Test.Pane", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
        HWND a = Child(viewer, L"Orvia.Test.Pane");
        HWND a1 = Child(a, L"Orvia.Test.Pane");
        Child(a1, L"Internet Explorer_Server2");
        HWND b = Child(viewer, L"Orvia.Test.Pane");
        if (withServer) {
            deep = Child(a1, chrome::kBrowserServerClass);
            shallow = Child(b, chrome::kBrowserServerClass);
        }
    }
    ~BrowserTree() {
        if (::IsWindow(viewer)) ::DestroyWindow(viewer);
    }
};

TEST(BrowserHook, FindsTheInnerWindowDepthFirst) {
    BrowserTree tree;
    EXPECT_EQ(chrome::FindBrowserServer(tree.viewer), tree.deep);
    EXPECT_EQ(chrome::FindBrowserServer(tree.deep), nullptr);  // no children
    BrowserTree bare(false);
    EXPECT_EQ(chrome::FindBrowserServer(bare.viewer), nullptr);
}

TEST(BrowserHook, DropsTheRightButtonPassesTheRestAndIsForgottenWithItsWindow) {
    ASSERT_EQ(chrome::HookedBrowserServer(), nullptr);
    {
        BrowserTree tree;
        chrome::HookBrowserServer(tree.viewer);
        ASSERT_EQ(chrome::HookedBrowserServer(), tree.deep);

        Seen().clear();
        for (UINT right : {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK})
            EXPECT_EQ(::SendMessageW(tree.deep, right, 0, 0), 0);
        EXPECT_TRUE(Seen().empty()) << "a right-button message reached the inner window";
        EXPECT_EQ(::SendMessageW(tree.deep, WM_APP + 1, 0, 0), 7);
        ::SendMessageW(tree.deep, WM_LBUTTONDOWN, 0, 0);
        EXPECT_EQ(Seen(), (std::vector<UINT>{WM_APP + 1, WM_LBUTTONDOWN}));

        // A second ready page installs nothing further, whatever it names.
        BrowserTree other;
        chrome::HookBrowserServer(other.viewer);
        EXPECT_EQ(chrome::HookedBrowserServer(), tree.deep);
        EXPECT_EQ(::GetWindowLongPtrW(other.deep, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&ServerProc));

        Seen().clear();
        ::DestroyWindow(tree.viewer);
        EXPECT_EQ(chrome::HookedBrowserServer(), nullptr);
        EXPECT_NE(std::find(Seen().begin(), Seen().end(), static_cast<UINT>(WM_DESTROY)), Seen().end())
            << "the destruction was not passed on";
    }
    // The next browser is hooked afresh.
    BrowserTree next;
    chrome::HookBrowserServer(next.viewer);
    EXPECT_EQ(chrome::HookedBrowserServer(), next.deep);
    Seen().clear();
    ::SendMessageW(next.deep, WM_RBUTTONDOWN, 0, 0);
    EXPECT_TRUE(Seen().empty());
    ::DestroyWindow(next.viewer);
    EXPECT_EQ(chrome::HookedBrowserServer(), nullptr);
}

TEST(BrowserHook, NoInnerWindowSaysSoInATimedBoxAndHooksNothing) {
    BrowserTree bare(false);
    win32_tests::BoxAnswerer answerer;
    chrome::HookBrowserServer(bare.viewer);  // returns once the box is answered
    answerer.Join();
    EXPECT_TRUE(answerer.answered_);
    EXPECT_EQ(answerer.text_, L"浏览器 句柄无效");
    EXPECT_EQ(answerer.title_, L"友情提醒");
    EXPECT_EQ(chrome::HookedBrowserServer(), nullptr);
}

TEST(TimedMessage, TakesTheGivenOwnerOrElseTheProcesssVisibleWindow) {
    using UniqueWindow = platform::Unique<platform::NullTraits<HWND, ::DestroyWindow>>;
    const UniqueWindow window(::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                                nullptr, nullptr, nullptr));
    ASSERT_TRUE(window);
    HWND owner = window.get();
    HWND boxOwner = nullptr;
    std::thread answer([&] {
        HWND box = e2e::WaitForWindowOf(::GetCurrentProcessId(), e2e::kDialogClass, 10s);
        if (!box) return;
        boxOwner = ::GetWindow(box, GW_OWNER);
        e2e::PressDialogButton(box, IDOK);
    });
    chrome::ShowTimedMessage("说明", MB_OK, "标题", owner, 60000);
    answer.join();
    EXPECT_EQ(boxOwner, owner);

    // Without one, the process's visible window owns it.
    boxOwner = nullptr;
    std::thread answerAgain([&] {
        HWND box = e2e::WaitForWindowOf(::GetCurrentProcessId(), e2e::kDialogClass, 10s);
        if (!box) return;
        boxOwner = ::GetWindow(box, GW_OWNER);
        e2e::PressDialogButton(box, IDOK);
    });
    chrome::ShowTimedMessage("说明");
    answerAgain.join();
    EXPECT_EQ(boxOwner, owner);
}

}  // namespace
