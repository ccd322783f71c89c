// The demonstration camera of our camera component, as the tests and benchmarks drive it:
// orvia started with ORVIA_DEMO_DEVICES=1, the camera's list entry double-clicked.
#pragma once

#include "tests/e2e/harness.h"

#include <span>

namespace e2e {

// The environment that lists the demonstration camera; `fault` as the component knows it
// ("frozen": one frame, then nothing; "still": one picture at the full rate; "silent": no
// frame at all; "unplugged", "slow-stop"), or none.
std::vector<std::pair<std::wstring, std::wstring>> DemoCameraEnvironment(const wchar_t* fault = L"");

// Each takes orvia's main window (OrviaProcess::MainWindow()).

// The preview frame 外形框3 on the screen.
RECT FrameOnScreen(HWND mainWindow);

// Where the demonstration camera's entry (the list's last) is on the screen.
POINT DemoCameraEntry(HWND mainWindow);

// Replaces a file the demonstration camera reads five times a second (its marker colour, its
// photo's place) whole, so it never finds it half written. While the camera has the file
// open it cannot be replaced: the write is tried again for up to a second. False after that.
bool WriteFileTheCameraReads(const std::wstring& path, std::span<const std::uint8_t> bytes);

// Double-clicks the demonstration camera and waits until the frame shows a picture; false
// when none came.
bool StartDemoCamera(HWND mainWindow);

}  // namespace e2e
