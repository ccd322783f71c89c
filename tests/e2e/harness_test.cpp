// The harness's own dialog tools, on a message box of this process: later tests rely on
// them to find, read and answer the program's message boxes.
#include "tests/e2e/harness.h"

#include <gtest/gtest.h>

#include <thread>

namespace e2e {
namespace {

TEST(HarnessTools, FindsReadsAndAnswersAMessageBox) {
    const std::wstring text = L"照片已保存\n第二行";
    int answer = 0;
    std::thread box([&] { answer = ::MessageBoxW(nullptr, text.c_str(), L"Orvia", MB_OKCANCEL | MB_ICONINFORMATION); });

    const HWND dialog = WaitForWindowOf(::GetCurrentProcessId(), kDialogClass);
    EXPECT_NE(dialog, nullptr) << "the message box was not found";
    if (dialog) {
        EXPECT_TRUE(MessageBoxText(dialog) == text);
        EXPECT_TRUE(TextOf(dialog) == L"Orvia");
        EXPECT_TRUE(PressDialogButton(dialog, IDCANCEL));
    } else {
        // Do not leave the thread waiting for a click that never comes.
        for (HWND w : VisibleWindowsOf(::GetCurrentProcessId(), kDialogClass)) PressDialogButton(w, IDCANCEL);
    }
    box.join();
    EXPECT_EQ(answer, IDCANCEL);
}

}  // namespace
}  // namespace e2e
