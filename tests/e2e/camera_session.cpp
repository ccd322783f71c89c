#include "tests/e2e/camera_session.h"

#include "app/main_controls.h"
#include "platform/win_text.h"

#include <algorithm>

namespace mc = app::main_controls;

namespace e2e {

namespace {
constexpr wchar_t kCallLog[] = L"camera-calls.log";
constexpr wchar_t kCameraList[] = L"camera-list.txt";
}  // namespace

void CameraSession::InstallRecordingCamera() {
    const std::wstring standIn = PathFromEnvironment(L"ORVIA_RECORDING_CAMERA");
    ASSERT_FALSE(standIn.empty()) << "ORVIA_RECORDING_CAMERA is not set";
    DWORD ignored = 0;
    ASSERT_EQ(::GetFileVersionInfoSizeW(standIn.c_str(), &ignored), 0u)
        << "the stand-in carries a version resource, so the program might take it for its own";
    ASSERT_TRUE(::CopyFileW(standIn.c_str(), (dir_ / L"VedioCapture.dll").c_str(), FALSE))
        << "could not copy " << platform::Narrow(standIn);
}

void CameraSession::WriteCameraList(std::string_view text) {
    const std::vector<std::uint8_t> bytes(text.begin(), text.end());
    ASSERT_TRUE(platform::WriteWholeFile(dir_ / kCameraList, bytes));
}

void CameraSession::StartWithRecordingCamera() {
    ASSERT_NO_FATAL_FAILURE(InstallRecordingCamera());
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
}

std::vector<std::string> CameraSession::RecordedCalls() const {
    std::vector<std::string> calls;
    const auto bytes = platform::ReadWholeFile(dir_ / kCallLog);
    if (!bytes) return calls;
    std::string line;
    for (const std::uint8_t byte : *bytes) {
        if (byte != '\n') {
            line += static_cast<char>(byte);
            continue;
        }
        calls.push_back(line);
        line.clear();
    }
    return calls;
}

std::vector<std::string> CameraSession::CallsAfter(std::size_t from, std::size_t count) const {
    WaitUntil([&] { return RecordedCalls().size() >= from + count; });
    Pause(300ms);  // nothing to wait for: give a call too many the time to come
    const std::vector<std::string> calls = RecordedCalls();
    return {calls.begin() + static_cast<std::ptrdiff_t>(std::min(from, calls.size())), calls.end()};
}

ui::Rect CameraSession::PreviewInFrame() {
    const Report box = MustQuery(mc::kPreviewBox.name);
    return {static_cast<int>(ReportNumber(box, "x")) - kFrameInClient.x,
            static_cast<int>(ReportNumber(box, "y")) - kFrameInClient.y, static_cast<int>(ReportNumber(box, "w")),
            static_cast<int>(ReportNumber(box, "h"))};
}

std::string CameraSession::StartCameraCall() {
    Report box = MustQuery(mc::kPreviewBox.name);
    return "StartCamera " + (box.count("hwnd") ? box.at("hwnd") : std::string("(no window)")) + " " +
           box["w"] + "x" + box["h"];
}

void CameraSession::ClickZoomSlider(double fraction) {
    const Report slider = MustQuery(mc::kZoomSlider.name);
    const auto x = ReportNumber(slider, "screen_x") + static_cast<long long>(ReportNumber(slider, "w") * fraction);
    // On the track, above the tick marks.
    const auto y = ReportNumber(slider, "screen_y") + 10;
    ClickAt(static_cast<int>(x), static_cast<int>(y));
    EXPECT_TRUE(WaitUntil([&] { return orvia_.Query(mc::kZoomSlider.name)["focused"] == "1"; }))
        << "the slider did not take the focus";
}

int CameraSession::ZoomPosition() { return static_cast<int>(ReportNumber(MustQuery(mc::kZoomSlider.name), "position")); }

}  // namespace e2e
