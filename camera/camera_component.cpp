#include "camera/camera_component.h"

#include "platform/component_library.h"
#include "platform/program_directory.h"
#include "platform/win_text.h"

#include <cstring>

namespace camera {

namespace {
using GetCameraListFn = const char*(__stdcall*)();
using SetCameraIdFn = int(__stdcall*)(int);
using StartCameraFn = int(__stdcall*)(HWND);
using CloseCameraFn = int(__stdcall*)(int);

struct CameraExports {
    platform::ComponentLibrary library;
    GetCameraListFn getCameraList = nullptr;
    SetCameraIdFn setCameraId = nullptr;
    StartCameraFn startCamera = nullptr;
    CloseCameraFn closeCamera = nullptr;
};

// A process singleton: one camera component serves the process, loaded on the first call
// and never unloaded. Its capture threads run its code until the process ends (the camera
// is not closed at exit), so freeing it from a static destructor could pull the code from
// under them: the library is pinned, and these exports are never destroyed. The start-up
// deployment has written the file by the time the first call comes.
const CameraExports& ProcessCameraExports() {
    static const CameraExports* const exports = [] {
        auto* e = new CameraExports{platform::ComponentLibrary(platform::BesideProgram(kVedioCapture.fileName))};
        e->library.PinForProcessLifetime();
        e->getCameraList = e->library.Find<GetCameraListFn>("GetCameraList");
        e->setCameraId = e->library.Find<SetCameraIdFn>("SetCameraID");
        e->startCamera = e->library.Find<StartCameraFn>("StartCamera");
        e->closeCamera = e->library.Find<CloseCameraFn>("CloseCamera");
        return e;
    }();
    return *exports;
}
}  // namespace

std::string ComponentProblem() { return ProcessCameraExports().library.Problem(); }

std::optional<std::string> CameraListText() {
    if (!ProcessCameraExports().getCameraList) return std::nullopt;
    const char* text = ProcessCameraExports().getCameraList();
    if (!text) return std::nullopt;
    // The text is the component's: copy it before anything else can call in, never free it.
    const std::string copy(text, std::strlen(text));
    return platform::FromCodePage(copy, CP_ACP);
}

void SetCameraId(int cameraIndex) {
    if (ProcessCameraExports().setCameraId) ProcessCameraExports().setCameraId(cameraIndex);
}

bool StartCamera(HWND previewWindow) {
    constexpr int kStarted = 1;
    return ProcessCameraExports().startCamera && ProcessCameraExports().startCamera(previewWindow) == kStarted;
}

void CloseCamera(int cameraIndex) {
    if (ProcessCameraExports().closeCamera) ProcessCameraExports().closeCamera(cameraIndex);
}

}  // namespace camera
