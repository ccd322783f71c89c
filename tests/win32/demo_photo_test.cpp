// The demonstration camera playing a still photo that a test places, and moves while the
// camera runs, through a small text file.
#include "tests/e2e/harness.h"
#include "tests/win32/camera_api.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

using camera_test::Camera;
using camera_test::CameraApi;

std::wstring TempFile(const wchar_t* name) {
    wchar_t dir[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

// Written beside and renamed over, as the camera may read the file at any moment.
void WriteFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    const std::wstring part = path + L".part";
    {
        const std::unique_ptr<FILE, int (*)(FILE*)> file(::_wfopen(part.c_str(), L"wb"), &std::fclose);
        ASSERT_TRUE(file);
        ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file.get()), bytes.size());
    }
    ASSERT_TRUE(::MoveFileExW(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
}

// A 64 x 36 photo: left half red, right half blue.
std::vector<std::uint8_t> RedBlueBmp() {
    const int width = 64, height = 36, stride = width * 3;
    std::vector<std::uint8_t> file(54 + static_cast<std::size_t>(stride * height));
    const std::uint32_t header[] = {static_cast<std::uint32_t>(file.size()), 0, 54, 40, width, height};
    file[0] = 'B';
    file[1] = 'M';
    std::memcpy(file.data() + 2, header, sizeof header);
    file[26] = 1;
    file[28] = 24;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = file.data() + 54 + y * stride + x * 3;
            p[x < width / 2 ? 2 : 0] = 255;
        }
    return file;
}

bool Near(COLORREF colour, int r, int g, int b) {
    return std::abs(GetRValue(colour) - r) < 40 && std::abs(GetGValue(colour) - g) < 40 && std::abs(GetBValue(colour) - b) < 40;
}

TEST(DemoPhoto, ShowsThePhotoWhereThePlaceFileSaysAndFollowsItWhileRunning) {
    const CameraApi& api = Camera();
    ASSERT_TRUE(api.module && api.setCameraId && api.startCamera && api.closeCamera);
    const std::wstring photo = TempFile(L"orvia-demo-photo.bmp");
    const std::wstring place = TempFile(L"orvia-demo-photo-place.txt");
    WriteFile(photo, RedBlueBmp());
    // The photo ten times enlarged fills the frame's top-left quarter (640 x 360 of 1280 x 720).
    WriteFile(place, {'0', ' ', '0', ' ', '1', '0', '\n'});
    ::SetEnvironmentVariableW(L"ORVIA_DEMO_PHOTO", photo.c_str());
    ::SetEnvironmentVariableW(L"ORVIA_DEMO_PHOTO_PLACE", place.c_str());

    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 40, 40, 320, 180, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(window);
    int bars = 0;  // "index|name|" for each camera; the demo camera is last
    for (const char* c = api.getCameraList(); *c; ++c) bars += *c == '|';
    const int demo = bars / 2 - 1;
    api.setCameraId(demo);
    api.startCamera(window);

    // The window shows the frame at a quarter of its size.
    auto shows = [&](int x, int y, int r, int g, int b) {
        return Near(e2e::Screenshot::OfWindow(window).Pixel(x, y), r, g, b);
    };
    EXPECT_TRUE(e2e::WaitUntil([&] { return shows(40, 45, 255, 0, 0) && shows(120, 45, 0, 0, 255); }, 3s))
        << "the photo is not in the top-left quarter";
    EXPECT_TRUE(shows(240, 135, 128, 128, 128)) << "the rest of the frame is not grey";

    WriteFile(place, {'6', '4', '0', ' ', '3', '6', '0', ' ', '1', '0'});
    EXPECT_TRUE(e2e::WaitUntil([&] { return shows(200, 135, 255, 0, 0) && shows(40, 45, 128, 128, 128); }, 3s))
        << "the photo did not move to the bottom-right quarter";

    api.closeCamera(demo);
    ::DestroyWindow(window);
    ::SetEnvironmentVariableW(L"ORVIA_DEMO_PHOTO", nullptr);
    ::SetEnvironmentVariableW(L"ORVIA_DEMO_PHOTO_PLACE", nullptr);
    ::DeleteFileW(photo.c_str());
    ::DeleteFileW(place.c_str());
}

}  // namespace
