// The virtual camera as the end-to-end tests and benchmarks use it: registered as a video
// input device of this width's registry view, told what to do through its control file,
// and its picture checked on the screen against the pattern it draws.
#pragma once

#include "tests/e2e/harness.h"

#include "camera_pattern.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace e2e {

inline constexpr char kVirtualCameraName[] = "Orvia Virtual Camera";

// Registers the DLL named by ORVIA_VIRTUAL_CAMERA (its own DllRegisterServer writes the
// view of this program's width, which a program of the same width reads); the entry goes
// again when this object does. Empty Error() when it worked.
class VirtualCameraRegistration {
public:
    VirtualCameraRegistration();
    ~VirtualCameraRegistration();
    VirtualCameraRegistration(const VirtualCameraRegistration&) = delete;
    VirtualCameraRegistration& operator=(const VirtualCameraRegistration&) = delete;
    const std::string& Error() const { return error_; }

private:
    bool Call(const char* function);
    std::wstring path_;
    std::string error_;
};

// The control file in `programDir` and the environment that points the camera at it.
std::wstring VirtualCameraControlPath(const std::wstring& programDir);
std::vector<std::pair<std::wstring, std::wstring>> VirtualCameraEnvironment(const std::wstring& programDir);
// Replaces the instructions (camera_control.h); an empty text takes them all back.
bool TellVirtualCamera(const std::wstring& programDir, std::string_view instructions);

// Where the camera's entry is in 列表框1 of orvia's main window, on the screen; nullopt when
// the list does not carry it.
std::optional<POINT> VirtualCameraEntry(HWND mainWindow);

// The preview box (外形框_视频) relative to the frame 外形框3, from the main window's report.
RECT PreviewBoxInFrame(HWND mainWindow);

// Compares a shot of the frame 外形框3 with the pattern as the box scales it: every pixel at
// least a few pixels away from an edge of the pattern (and off the moving block's track),
// where the pattern is known. `Wrong()` is the share of those pixels whose colour is off by
// more than a small tolerance, between 0 and 1: near 0 for the live picture, large where
// something is drawn over it or the picture is mirrored, flipped or out of place.
class PatternCheck {
public:
    PatternCheck(const Screenshot& frame, RECT boxInFrame, vcam::FrameSize size = vcam::kFrameSizes[2]);
    double Wrong() const { return compared_ ? static_cast<double>(wrong_) / compared_ : 1.0; }
    int Compared() const { return compared_; }
    // The first wrong pixel, for the failure message.
    std::string FirstWrong() const { return firstWrong_; }

private:
    int compared_ = 0;
    int wrong_ = 0;
    std::string firstWrong_;
};

// Whether two colours differ by at most `tolerance` in every channel.
bool CloseColours(COLORREF a, std::uint32_t rrggbb, int tolerance);

}  // namespace e2e
