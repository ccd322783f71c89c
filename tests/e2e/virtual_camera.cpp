#include "tests/e2e/virtual_camera.h"

#include "app/main_controls.h"
#include "platform/win_text.h"

#include <cstdio>
#include <cstdlib>

namespace mc = app::main_controls;

namespace e2e {

namespace {

// Scaling and the limited-range colours move a plain colour by a few steps at most.
constexpr int kColourTolerance = 24;
// Screen pixels this close to an edge of the pattern may be a blend of both sides.
constexpr int kEdgeMargin = 3;
// The frame's own outline around the picture.
constexpr int kFrameBorder = 2;

}  // namespace

VirtualCameraRegistration::VirtualCameraRegistration() : path_(PathFromEnvironment(L"ORVIA_VIRTUAL_CAMERA")) {
    if (path_.empty()) {
        error_ = "ORVIA_VIRTUAL_CAMERA is not set";
        return;
    }
    Call("DllRegisterServer");
}

VirtualCameraRegistration::~VirtualCameraRegistration() {
    if (error_.empty()) Call("DllUnregisterServer");
}

bool VirtualCameraRegistration::Call(const char* function) {
    HMODULE module = ::LoadLibraryW(path_.c_str());
    if (!module) {
        error_ = "could not load " + platform::Narrow(path_) + " (error " + std::to_string(::GetLastError()) + ")";
        return false;
    }
    using Entry = HRESULT(__stdcall*)();
    const auto entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(::GetProcAddress(module, function)));
    const HRESULT result = entry ? entry() : E_NOINTERFACE;
    ::FreeLibrary(module);
    if (FAILED(result)) {
        error_ = std::string(function) + " failed";
        return false;
    }
    return true;
}

std::wstring VirtualCameraControlPath(const std::wstring& programDir) {
    return JoinPath(programDir, L"virtual-camera.txt");
}

std::vector<std::pair<std::wstring, std::wstring>> VirtualCameraEnvironment(const std::wstring& programDir) {
    return {{L"ORVIA_VIRTUAL_CAMERA_CONTROL", VirtualCameraControlPath(programDir)}};
}

bool TellVirtualCamera(const std::wstring& programDir, std::string_view instructions) {
    // Shared every way: the camera reads the file before every frame.
    const auto write = [&] {
        HANDLE file = ::CreateFileW(VirtualCameraControlPath(programDir).c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        DWORD written = 0;
        const bool whole = ::WriteFile(file, instructions.data(), static_cast<DWORD>(instructions.size()), &written,
                                       nullptr) &&
                           written == instructions.size();
        ::CloseHandle(file);
        return whole;
    };
    return WaitUntil(write, 2s);
}

std::optional<POINT> VirtualCameraEntry(HWND mainWindow) {
    const HWND list = ReportWindow(QueryWindowControl(mainWindow, mc::kCameraList.name));
    const auto count = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const auto length = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length <= 0) continue;
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        if (platform::Narrow(text.c_str()) != kVirtualCameraName) continue;
        RECT item{};
        ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        POINT at{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        ::ClientToScreen(list, &at);
        return at;
    }
    return std::nullopt;
}

RECT PreviewBoxInFrame(HWND mainWindow) {
    const Report box = QueryWindowControl(mainWindow, mc::kPreviewBox.name);
    const Report frame = QueryWindowControl(mainWindow, mc::kPreviewFrame.name);
    const auto left = static_cast<LONG>(ReportNumber(box, "x") - ReportNumber(frame, "x"));
    const auto top = static_cast<LONG>(ReportNumber(box, "y") - ReportNumber(frame, "y"));
    return {left, top, left + static_cast<LONG>(ReportNumber(box, "w")), top + static_cast<LONG>(ReportNumber(box, "h"))};
}

bool CloseColours(COLORREF a, std::uint32_t rrggbb, int tolerance) {
    return std::abs(static_cast<int>(GetRValue(a)) - static_cast<int>((rrggbb >> 16) & 0xFF)) <= tolerance &&
           std::abs(static_cast<int>(GetGValue(a)) - static_cast<int>((rrggbb >> 8) & 0xFF)) <= tolerance &&
           std::abs(static_cast<int>(GetBValue(a)) - static_cast<int>(rrggbb & 0xFF)) <= tolerance;
}

PatternCheck::PatternCheck(const Screenshot& frame, RECT box, vcam::FrameSize size) {
    const int boxWidth = box.right - box.left;
    const int boxHeight = box.bottom - box.top;
    if (boxWidth <= 0 || boxHeight <= 0) return;
    // The picture pixel under screen pixel (sx, sy) of the frame, or -1 outside the picture.
    const auto pictureX = [&](int sx) {
        const long long x = (2LL * (sx - box.left) + 1) * size.width / (2LL * boxWidth);
        return x >= 0 && x < size.width ? static_cast<int>(x) : -1;
    };
    const auto pictureY = [&](int sy) {
        const long long y = (2LL * (sy - box.top) + 1) * size.height / (2LL * boxHeight);
        return y >= 0 && y < size.height ? static_cast<int>(y) : -1;
    };
    const vcam::Box track = vcam::TrackBox(size);
    for (int sy = kFrameBorder; sy < frame.Height() - kFrameBorder; ++sy) {
        for (int sx = kFrameBorder; sx < frame.Width() - kFrameBorder; ++sx) {
            const int x = pictureX(sx), y = pictureY(sy);
            const int x0 = pictureX(sx - kEdgeMargin), x1 = pictureX(sx + kEdgeMargin);
            const int y0 = pictureY(sy - kEdgeMargin), y1 = pictureY(sy + kEdgeMargin);
            if (x < 0 || y < 0 || x0 < 0 || x1 < 0 || y0 < 0 || y1 < 0) continue;
            // Off the track and its edges: the block moves there.
            if (x1 >= track.left && x0 < track.right && y1 >= track.top && y0 < track.bottom) continue;
            const std::uint32_t expected = vcam::ColourAt(size, 0, x, y);
            if (vcam::ColourAt(size, 0, x0, y0) != expected || vcam::ColourAt(size, 0, x1, y0) != expected ||
                vcam::ColourAt(size, 0, x0, y1) != expected || vcam::ColourAt(size, 0, x1, y1) != expected)
                continue;
            ++compared_;
            const COLORREF seen = frame.Pixel(sx, sy);
            if (CloseColours(seen, expected, kColourTolerance)) continue;
            if (wrong_++ == 0) {
                char text[120];
                std::snprintf(text, sizeof text, "(%d, %d) in the frame is #%02X%02X%02X, the pattern has #%06X", sx,
                              sy, GetRValue(seen), GetGValue(seen), GetBValue(seen), expected);
                firstWrong_ = text;
            }
        }
    }
}

}  // namespace e2e
