// Answers the first message box of this process with OK from another thread (the platform may
// ignore a box's time-out, and the box blocks the thread that opened it), and tells what the
// box said.
#pragma once

#include "tests/e2e/harness.h"

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace win32_tests {

class BoxAnswerer {
public:
    BoxAnswerer() {
        thread_ = std::thread([this] {
            using namespace std::chrono_literals;
            HWND box = e2e::WaitForWindowOf(::GetCurrentProcessId(), e2e::kDialogClass, 10s);
            if (!box) return;
            text_ = e2e::MessageBoxText(box);
            title_ = e2e::TextOf(box);
            answered_ = e2e::PressDialogButton(box, IDOK);
        });
    }
    ~BoxAnswerer() { Join(); }
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    void Join() {
        if (thread_.joinable()) thread_.join();
    }
    std::wstring text_, title_;
    std::atomic<bool> answered_ = false;

private:
    std::thread thread_;
};

}  // namespace win32_tests
