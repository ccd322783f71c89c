#include "app/main_controls.h"
#include "tests/e2e/demo_camera.h"

#include "platform/files.h"

namespace mc = app::main_controls;

namespace e2e {

std::vector<std::pair<std::wstring, std::wstring>> DemoCameraEnvironment(const wchar_t* fault) {
    return {{L"ORVIA_DEMO_DEVICES", L"1"}, {L"ORVIA_DEMO_CAMERA_FAULT", fault}};
}

RECT FrameOnScreen(HWND mainWindow) { return OnScreen(QueryWindowControl(mainWindow, mc::kPreviewFrame.name)); }

POINT DemoCameraEntry(HWND mainWindow) {
    const HWND list = ReportWindow(QueryWindowControl(mainWindow, mc::kCameraList.name));
    const auto count = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
    RECT item{};
    ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(count > 0 ? count - 1 : 0), reinterpret_cast<LPARAM>(&item));
    POINT at{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ::ClientToScreen(list, &at);
    return at;
}

bool StartDemoCamera(HWND mainWindow) {
    DoubleClickAt(DemoCameraEntry(mainWindow));
    const RECT frame = FrameOnScreen(mainWindow);
    return WaitUntil([&] { return !Screenshot::Capture(frame).IsAll(RGB(0, 0, 0)); }, 5s);
}

bool WriteFileTheCameraReads(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (platform::WriteFileWhole(path, bytes) == ERROR_SUCCESS) return true;
        ::Sleep(20);
    }
    return false;
}

}  // namespace e2e
