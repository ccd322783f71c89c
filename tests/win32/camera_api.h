// The camera component's four exports, as the Windows-side tests call them: the demo
// devices listed, the library loaded once and kept, as the program keeps it.
#pragma once

#include "tests/e2e/harness.h"

#include <windows.h>

#include <string>

namespace camera_test {

struct CameraApi {
    HMODULE module = nullptr;
    const char*(__stdcall* getCameraList)() = nullptr;
    int(__stdcall* setCameraId)(int) = nullptr;
    int(__stdcall* startCamera)(HWND) = nullptr;
    int(__stdcall* closeCamera)(int) = nullptr;
};

template <typename Fn>
void Bind(HMODULE module, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

inline const CameraApi& Camera() {
    static const CameraApi api = [] {
        ::SetEnvironmentVariableW(L"ORVIA_DEMO_DEVICES", L"1");
        CameraApi a;
        const std::wstring path = e2e::ComponentDir() + L"\\VedioCapture.dll";
        a.module = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (!a.module) return a;
        Bind(a.module, "GetCameraList", a.getCameraList);
        Bind(a.module, "SetCameraID", a.setCameraId);
        Bind(a.module, "StartCamera", a.startCamera);
        Bind(a.module, "CloseCamera", a.closeCamera);
        return a;
    }();
    return api;
}

}  // namespace camera_test
