// Real capture devices through DirectShow: the video input devices in the system's order,
// and a running capture graph (device -> sample grabber -> null renderer) whose frames go
// to a presenter. Everything here needs COM initialised on the calling thread.
#pragma once

#include "capture_thread.h"
#include "presenter.h"

#include <memory>
#include <string>
#include <vector>

namespace vedio {

// Friendly names of the video input devices, in enumeration order.
std::vector<std::wstring> VideoInputNames();

// Runs the device at `index` (still named `name`) until `stop`, the device is lost or it
// fails. Waits first for `previous` (the last capture thread, which may still hold the
// device) to end, for a while.
void RunDirectShowCamera(int index, const std::wstring& name, const std::shared_ptr<Presenter>& presenter,
                         const StopSignal& stop, const std::shared_ptr<const StopSignal>& previous);

// COM for the current thread, multithreaded, for as long as it lives.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};

}  // namespace vedio
