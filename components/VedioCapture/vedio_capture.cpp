// The camera component: lists the capture devices and shows one of them live inside a
// window of the program. Four stdcall exports; no exception ever leaves them, and none of
// them waits long for a device: capture runs on threads of its own.
#include "capture_thread.h"
#include "device_names.h"
#include "directshow_camera.h"
#include "presenter.h"
#include "synthetic_camera.h"

#include "platform/win_text.h"

#include <windows.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace vedio {
namespace {

struct Device {
    std::wstring name;       // as the system reports it
    int directShowIndex = -1;  // -1: the demonstration camera
};

constexpr auto kListingPatience = std::chrono::milliseconds(3000);
constexpr auto kPlaceholderLife = std::chrono::milliseconds(1000);

// The devices in list order: DirectShow's, then the demonstration camera when switched on.
// Listed on a thread of its own with COM of its own, so the caller's COM set-up is never
// touched; a device driver that hangs costs the list, never the program.
std::vector<Device> ListDevices() {
    auto names = std::make_shared<std::vector<std::wstring>>();
    CaptureThread lister([names](const StopSignal&) {
        ComApartment com;
        *names = VideoInputNames();
    });
    std::vector<Device> devices;
    if (lister.Stop(kListingPatience)) {
        for (std::size_t i = 0; i < names->size(); ++i) devices.push_back({(*names)[i], static_cast<int>(i)});
    }
    if (DemoDevicesEnabled()) devices.push_back({kSyntheticCameraName, -1});
    return devices;
}

// "index|name|" per device, in the ANSI code page the program reads.
std::string ListText(const std::vector<Device>& devices) {
    std::string text;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const std::u16string name = ListableName({reinterpret_cast<const char16_t*>(devices[i].name.data()),
                                                  devices[i].name.size()});
        const std::string ansi =
            platform::ToCodePage({reinterpret_cast<const wchar_t*>(name.data()), name.size()}, CP_ACP);
        text += std::to_string(i) + "|" + ansi + "|";
    }
    return text;
}

class Camera {
public:
    const char* List() {
        std::lock_guard lock(lock_);
        devices_ = ListDevices();
        listed_ = true;
        text_ = ListText(devices_);
        return text_.c_str();
    }

    void Select(int index) {
        std::lock_guard lock(lock_);
        selected_ = index;
    }

    bool Start(HWND window) {
        std::lock_guard lock(lock_);
        StopRunning();  // one pipeline at a time: a start replaces what runs
        if (!listed_) {
            devices_ = ListDevices();
            listed_ = true;
        }
        if (selected_ < 0 || selected_ >= static_cast<int>(devices_.size())) return false;
        // Right after a close (a zoom change closes and starts again) the last picture,
        // stretched, stands in until the first frame; a start later on begins black rather
        // than show an old picture of somebody else.
        const bool restart = std::chrono::steady_clock::now() - closedAt_ < kPlaceholderLife;
        presenter_ = Presenter::Create(window, restart ? lastPicture_ : nullptr);
        lastPicture_.reset();
        if (!presenter_) return false;
        const Device device = devices_[static_cast<std::size_t>(selected_)];
        if (device.directShowIndex < 0) {
            capture_ = std::make_unique<CaptureThread>(
                [presenter = presenter_](const StopSignal& stop) { RunSyntheticCamera(presenter, stop); });
        } else {
            capture_ = std::make_unique<CaptureThread>(
                [presenter = presenter_, device, previous = previousFinished_](const StopSignal& stop) {
                    RunDirectShowCamera(device.directShowIndex, device.name, presenter, stop, previous);
                });
        }
        previousFinished_ = capture_->Finished();
        return true;
    }

    void Close() {
        std::lock_guard lock(lock_);
        StopRunning();
    }

private:
    void StopRunning() {
        if (presenter_) {
            lastPicture_ = presenter_->Latest();
            closedAt_ = std::chrono::steady_clock::now();
            presenter_->Detach();  // from here on nothing draws into the program's window
        }
        if (capture_) capture_->Stop();  // bounded: a hung device keeps its thread
        capture_.reset();
        presenter_.reset();
    }

    std::mutex lock_;
    std::vector<Device> devices_;
    bool listed_ = false;
    std::string text_;  // stays valid until the next listing
    int selected_ = -1;
    std::shared_ptr<Presenter> presenter_;
    std::unique_ptr<CaptureThread> capture_;
    std::shared_ptr<const StopSignal> previousFinished_;
    std::shared_ptr<const Picture> lastPicture_;
    std::chrono::steady_clock::time_point closedAt_;
};

// Never destroyed: capture threads may outlive a call, and the process ends them.
Camera& TheCamera() {
    static Camera* camera = new Camera;
    return *camera;
}

}  // namespace
}  // namespace vedio

extern "C" {

const char* __stdcall GetCameraList() {
    try {
        return vedio::TheCamera().List();
    } catch (...) {
        return "";
    }
}

int __stdcall SetCameraID(int index) {
    try {
        vedio::TheCamera().Select(index);
        return 1;
    } catch (...) {
        return 0;
    }
}

int __stdcall StartCamera(HWND window) {
    try {
        return vedio::TheCamera().Start(window) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

int __stdcall CloseCamera(int) {
    try {
        vedio::TheCamera().Close();
        return 1;
    } catch (...) {
        return 0;
    }
}

}  // extern "C"
