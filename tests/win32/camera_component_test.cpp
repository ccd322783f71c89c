// Our camera component under the conditions the program puts it in: the demonstration
// camera shown in a child window that the program moves, resizes and closes.
#include "tests/e2e/harness.h"
#include "tests/win32/camera_api.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <optional>
#include <string>
#include <utility>

namespace {

using namespace std::chrono_literals;

using camera_test::Camera;
using camera_test::CameraApi;

int CountEntries(const std::string& text) {
    int bars = 0;
    for (const char c : text) bars += c == '|';
    return bars / 2;
}

std::vector<HWND> Surfaces(HWND box) {
    std::vector<HWND> found;
    for (HWND child = ::FindWindowExW(box, nullptr, L"Orvia.VideoSurface", nullptr); child;
         child = ::FindWindowExW(box, child, L"Orvia.VideoSurface", nullptr))
        found.push_back(child);
    return found;
}

bool IsAllBlack(const e2e::Screenshot& shot) { return shot.IsAll(RGB(0, 0, 0)); }

int ThreadsOfThisProcess() {
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry{sizeof entry};
    int count = 0;
    for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == ::GetCurrentProcessId();
    ::CloseHandle(snapshot);
    return count;
}

struct Resources {
    DWORD gdi = 0, user = 0, handles = 0;
    int threads = 0;
    SIZE_T memory = 0;
};

Resources Measure() {
    Resources r;
    r.gdi = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    r.user = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    ::GetProcessHandleCount(::GetCurrentProcess(), &r.handles);
    r.threads = ThreadsOfThisProcess();
    PROCESS_MEMORY_COUNTERS_EX memory{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    // Wine leaves PrivateUsage empty; there the pagefile figure is the private memory.
    r.memory = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    return r;
}

// Makes the demonstration camera misbehave as a real device can, for one test.
class DeviceFault {
public:
    explicit DeviceFault(const wchar_t* fault) { ::SetEnvironmentVariableW(L"ORVIA_DEMO_CAMERA_FAULT", fault); }
    ~DeviceFault() { ::SetEnvironmentVariableW(L"ORVIA_DEMO_CAMERA_FAULT", nullptr); }
    DeviceFault(const DeviceFault&) = delete;
    DeviceFault& operator=(const DeviceFault&) = delete;
};

class CameraComponent : public ::testing::Test {
protected:
    void SetUp() override {
        api_ = &Camera();
        ASSERT_TRUE(api_->module) << "VedioCapture.dll did not load from ORVIA_COMPONENT_DIR";
        ASSERT_TRUE(api_->getCameraList && api_->setCameraId && api_->startCamera && api_->closeCamera);
        static const bool registered = [] {
            WNDCLASSEXW wc{sizeof wc};
            wc.lpfnWndProc = &::DefWindowProcW;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
            wc.lpszClassName = L"Orvia.Test.CameraHost";
            return ::RegisterClassExW(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        host_ = ::CreateWindowExW(0, L"Orvia.Test.CameraHost", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40,
                                  400, 300, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        box_ = ::CreateWindowExW(0, L"Orvia.Test.CameraHost", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 10, 10,
                                 320, 180, host_, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(host_ && box_);
        const std::string list = api_->getCameraList();
        demoIndex_ = CountEntries(list) - 1;
        e2e::Pause(50ms);
    }
    void TearDown() override {
        if (api_ && api_->closeCamera) api_->closeCamera(demoIndex_);
        if (host_) ::DestroyWindow(host_);
    }

    void StartDemo(HWND window) {
        api_->setCameraId(demoIndex_);
        api_->startCamera(window);
    }
    bool WaitForPicture() {
        return e2e::WaitUntil([&] { return !IsAllBlack(e2e::Screenshot::OfWindow(box_)); }, 3s);
    }

    const CameraApi* api_ = nullptr;
    HWND host_ = nullptr;
    HWND box_ = nullptr;
    int demoIndex_ = -1;
};

TEST_F(CameraComponent, ListsTheDemoCameraLast) {
    const std::string list = api_->getCameraList();
    const std::string last = std::to_string(demoIndex_) + "|Orvia Demo Camera|";
    ASSERT_GE(list.size(), last.size());
    EXPECT_EQ(list.substr(list.size() - last.size()), last) << list;
    // The text of the last call stays readable.
    const char* first = api_->getCameraList();
    EXPECT_EQ(std::string(first), list);
}

TEST_F(CameraComponent, ShowsAMovingPictureOverTheWholeWindowUntilClosed) {
    StartDemo(box_);
    ASSERT_TRUE(WaitForPicture()) << "the window stayed black";
    const auto surfaces = Surfaces(box_);
    ASSERT_EQ(surfaces.size(), 1u);
    RECT surface{}, client{};
    ::GetClientRect(surfaces[0], &surface);
    ::GetClientRect(box_, &client);
    EXPECT_TRUE(::EqualRect(&surface, &client));
    // The mouse still belongs to the program's window: it drags the preview.
    POINT centre{160, 90};
    ::ClientToScreen(box_, &centre);
    EXPECT_EQ(::WindowFromPoint(centre), box_);

    const e2e::Screenshot first = e2e::Screenshot::OfWindow(box_);
    e2e::Pause(300ms);
    EXPECT_FALSE(first.SamePixels(e2e::Screenshot::OfWindow(box_))) << "the picture does not move";

    api_->closeCamera(demoIndex_);
    EXPECT_TRUE(Surfaces(box_).empty());
    ::RedrawWindow(host_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsAllBlack(e2e::Screenshot::OfWindow(box_)); }, 2s))
        << "the picture stayed after closing";
}

TEST_F(CameraComponent, ARestartFollowsTheNewSizeWithOnePipeline) {
    StartDemo(box_);
    ASSERT_TRUE(WaitForPicture());
    ::SetWindowPos(box_, nullptr, 0, 0, 380, 250, SWP_NOZORDER | SWP_NOMOVE);
    StartDemo(box_);  // again, without closing first
    const auto surfaces = Surfaces(box_);
    ASSERT_EQ(surfaces.size(), 1u);
    RECT surface{};
    ::GetClientRect(surfaces[0], &surface);
    EXPECT_EQ(surface.right, 380);
    EXPECT_EQ(surface.bottom, 250);
    EXPECT_TRUE(WaitForPicture());
}

TEST_F(CameraComponent, BadCallsNeitherCrashNorHang) {
    EXPECT_NO_FATAL_FAILURE(api_->closeCamera(-1));
    api_->closeCamera(0);  // twice, with nothing running
    for (const int index : {-1, 7, 1000}) {
        api_->setCameraId(index);
        api_->startCamera(box_);
        EXPECT_TRUE(Surfaces(box_).empty()) << "index " << index;
    }
    api_->setCameraId(demoIndex_);
    api_->startCamera(nullptr);
    api_->startCamera(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x7FFF0)));
    // A window that goes away while the camera draws into it.
    HWND doomed = ::CreateWindowExW(0, L"Orvia.Test.CameraHost", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 80, host_,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr);
    StartDemo(doomed);
    e2e::Pause(100ms);
    ::DestroyWindow(doomed);
    e2e::Pause(100ms);
    // A later start still works.
    StartDemo(box_);
    EXPECT_TRUE(WaitForPicture());
}

TEST_F(CameraComponent, FiftyStartsAndClosesLeaveNothingBehind) {
    StartDemo(box_);  // the first run sets up what stays for the process (classes, scaler code)
    ASSERT_TRUE(WaitForPicture());
    api_->closeCamera(demoIndex_);
    e2e::Pause(100ms);
    const Resources before = Measure();
    for (int cycle = 0; cycle < 50; ++cycle) {
        StartDemo(box_);
        e2e::Pause(20ms);
        api_->closeCamera(demoIndex_);
    }
    e2e::Pause(200ms);
    const Resources after = Measure();
    EXPECT_LE(after.gdi, before.gdi + 4);
    EXPECT_LE(after.user, before.user + 4);
    EXPECT_LE(after.handles, before.handles + 8);
    EXPECT_LE(after.threads, before.threads + 1);
    EXPECT_LE(after.memory, before.memory + 16u * 1024 * 1024) << before.memory << " -> " << after.memory;
}

}  // namespace

namespace {

TEST_F(CameraComponent, ClosingDoesNotWaitForADeviceStuckInItsStop) {
    std::optional<DeviceFault> fault(std::in_place, L"slow-stop");
    const int threads = ThreadsOfThisProcess();
    StartDemo(box_);
    ASSERT_TRUE(WaitForPicture());
    ASSERT_EQ(ThreadsOfThisProcess(), threads + 1);
    api_->closeCamera(demoIndex_);
    EXPECT_TRUE(Surfaces(box_).empty());
    EXPECT_EQ(ThreadsOfThisProcess(), threads + 1) << "closing waited for the stuck device";
    // The stuck thread ends by itself, and a start meanwhile works.
    fault.reset();
    StartDemo(box_);
    EXPECT_TRUE(WaitForPicture());
    api_->closeCamera(demoIndex_);
    EXPECT_TRUE(e2e::WaitUntil([&] { return ThreadsOfThisProcess() == threads; }, 6s))
        << ThreadsOfThisProcess() - threads << " capture threads left";
}

// The notice's band across the middle of the picture, seen at its left end (the text is centred).
COLORREF NoticeBand(const e2e::Screenshot& shot) { return shot.Pixel(2, shot.Height() / 2); }
constexpr COLORREF kNoticeBand = RGB(24, 24, 24);

TEST_F(CameraComponent, AFrozenDeviceGetsTheStoppedNoticeOverItsLastPictureThroughARepaint) {
    DeviceFault fault(L"frozen");
    StartDemo(box_);
    ASSERT_TRUE(WaitForPicture());
    const e2e::Screenshot live = e2e::Screenshot::OfWindow(box_);
    EXPECT_NE(NoticeBand(live), kNoticeBand);
    ASSERT_TRUE(e2e::WaitUntil([&] { return NoticeBand(e2e::Screenshot::OfWindow(box_)) == kNoticeBand; }, 3s))
        << "no notice over the stopped picture";
    const e2e::Screenshot before = e2e::Screenshot::OfWindow(box_);
    before.SavePng(e2e::ShotPath("CameraComponent-stopped-notice"));
    EXPECT_EQ(before.Pixel(2, 2), live.Pixel(2, 2)) << "the picture around the notice is the last frame";
    // Everything repainted, as after a menu or a message box covered the preview.
    ::RedrawWindow(host_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    e2e::Pause(200ms);
    EXPECT_TRUE(before.SamePixels(e2e::Screenshot::OfWindow(box_))) << "the repaint lost the picture or the notice";
    DWORD_PTR answer = 0;
    EXPECT_NE(::SendMessageTimeoutW(host_, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer), 0);
}

// The rows of `shot` whose pixel in column `x` has the band's colour: the band's top and
// bottom, or nullopt when there is no band there.
std::optional<std::pair<int, int>> BandRows(const e2e::Screenshot& shot, int x) {
    int top = -1, bottom = -1;
    for (int y = 0; y < shot.Height(); ++y) {
        if (shot.Pixel(x, y) != kNoticeBand) continue;
        if (top < 0) top = y;
        bottom = y;
    }
    if (top < 0) return std::nullopt;
    return std::make_pair(top, bottom);
}

TEST_F(CameraComponent, TheStoppedNoticeLiesWhollyInTheVisiblePartOfAZoomedAndPannedPicture) {
    DeviceFault fault(L"frozen");
    RECT client{};
    ::GetClientRect(host_, &client);
    const int width = client.right, height = client.bottom;
    const auto noticeShown = [&] {
        return e2e::WaitUntil([&] { return NoticeBand(e2e::Screenshot::OfWindow(host_)) == kNoticeBand; }, 3s);
    };
    // The notice as it is when the whole picture is seen: the box exactly fills the host.
    ::SetWindowPos(box_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    StartDemo(box_);
    ASSERT_TRUE(noticeShown()) << "no notice over the stopped picture";
    const e2e::Screenshot whole = e2e::Screenshot::OfWindow(host_);
    api_->closeCamera(demoIndex_);

    // Zoomed in twice and panned: the host shows the box's lower right quarter, so the box's
    // own middle (where a notice centred on the box would go) is at the host's corner.
    ::SetWindowPos(box_, nullptr, -width, -height, width * 2, height * 2, SWP_NOZORDER | SWP_NOACTIVATE);
    e2e::Pause(1200ms);  // the placeholder of a restart has had its time
    StartDemo(box_);
    ASSERT_TRUE(noticeShown()) << "no notice in the visible part of the picture";
    const e2e::Screenshot zoomed = e2e::Screenshot::OfWindow(host_);
    zoomed.SavePng(e2e::ShotPath("CameraComponent-notice-zoomed-panned"));

    // The band lies inside the visible part, and it carries the same heading and advice,
    // pixel for pixel, as the notice over a picture seen whole: nothing of it is cut off.
    const auto band = BandRows(zoomed, 2);
    ASSERT_TRUE(band.has_value());
    EXPECT_GT(band->first, 0);
    EXPECT_LT(band->second, zoomed.Height() - 1);
    EXPECT_EQ(BandRows(whole, 2), band);
    int differing = 0, text = 0;
    for (int y = band->first; y <= band->second; ++y) {
        for (int x = 0; x < zoomed.Width(); ++x) {
            differing += zoomed.Pixel(x, y) != whole.Pixel(x, y);
            text += zoomed.Pixel(x, y) != kNoticeBand;
        }
    }
    EXPECT_EQ(differing, 0) << "the notice differs from the one over a picture seen whole";
    EXPECT_GT(text, 200) << "the band carries no text";
    EXPECT_EQ(NoticeBand(zoomed), kNoticeBand);
    EXPECT_EQ(zoomed.Pixel(zoomed.Width() - 3, zoomed.Height() / 2), kNoticeBand) << "the band stops short";
}

TEST_F(CameraComponent, AStillSceneIsLiveAndShowsNoNotice) {
    DeviceFault fault(L"still");
    StartDemo(box_);
    ASSERT_TRUE(WaitForPicture());
    e2e::Pause(1600ms);
    EXPECT_NE(NoticeBand(e2e::Screenshot::OfWindow(box_)), kNoticeBand);
}

TEST_F(CameraComponent, ARestartThatNeverDeliversDropsTheOldPictureForTheNotice) {
    StartDemo(box_);
    ASSERT_TRUE(WaitForPicture());
    api_->closeCamera(demoIndex_);
    // Started again at once (as a zoom does), on a device that sends nothing.
    DeviceFault fault(L"silent");
    StartDemo(box_);
    ASSERT_TRUE(e2e::WaitUntil([&] { return NoticeBand(e2e::Screenshot::OfWindow(box_)) == kNoticeBand; }, 3s));
    const e2e::Screenshot shot = e2e::Screenshot::OfWindow(box_);
    EXPECT_EQ(shot.Pixel(2, 2), RGB(0, 0, 0)) << "the previous picture is still shown";
}

TEST_F(CameraComponent, AnUnpluggedDeviceLeavesItsLastPictureAndALaterStartWorks) {
    {
        DeviceFault fault(L"unplugged");
        StartDemo(box_);
        ASSERT_TRUE(WaitForPicture());
        e2e::Pause(2000ms);  // gone after half a second, and the notice a second later
    }
    const e2e::Screenshot still = e2e::Screenshot::OfWindow(box_);
    EXPECT_EQ(NoticeBand(still), kNoticeBand);
    e2e::Pause(300ms);
    EXPECT_TRUE(still.SamePixels(e2e::Screenshot::OfWindow(box_)));
    EXPECT_FALSE(IsAllBlack(still));

    StartDemo(box_);
    const e2e::Screenshot first = e2e::Screenshot::OfWindow(box_);
    e2e::Pause(300ms);
    EXPECT_FALSE(first.SamePixels(e2e::Screenshot::OfWindow(box_))) << "the new start shows no moving picture";
}

}  // namespace
