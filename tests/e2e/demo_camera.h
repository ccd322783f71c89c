// The demonstration camera of our camera component, as the tests and benchmarks drive it:
// orvia started with ORVIA_DEMO_DEVICES=1, the camera's list entry double-clicked.
#pragma once

#include "tests/e2e/harness.h"

namespace e2e {

// The environment that lists the demonstration camera; `fault` as the component knows it
// ("frozen", "unplugged", "slow-stop"), or none.
std::vector<std::pair<std::wstring, std::wstring>> DemoCameraEnvironment(const wchar_t* fault = L"");

// The preview frame 外形框3 on the screen.
RECT FrameOnScreen(const OrviaProcess& orvia);

// Where the demonstration camera's entry (the list's last) is on the screen.
POINT DemoCameraEntry(const OrviaProcess& orvia);

// Double-clicks the demonstration camera and waits until the frame shows a picture; false
// when none came.
bool StartDemoCamera(const OrviaProcess& orvia);

}  // namespace e2e
