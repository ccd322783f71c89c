// The fixture of the camera tests: orvia started beside a stand-in for the camera
// component that records every call it gets, so a test reads what the program asked for.
#pragma once

#include "tests/e2e/orvia_session.h"
#include "ui/template.h"

#include <string>
#include <string_view>
#include <vector>

namespace e2e {

// The frame 外形框3 in the main window's client area: 外形框2 at (6, 44), the frame at (2, 28) in it.
inline constexpr POINT kFrameInClient{8, 72};

class CameraSession : public OrviaSession {
protected:
    // Copies the stand-in in as the program's camera component; fatal when it cannot.
    void InstallRecordingCamera();
    // The camera list text the stand-in hands out, as bytes in the ANSI code page.
    void WriteCameraList(std::string_view text);
    // The stand-in installed, then the program started.
    void StartWithRecordingCamera();

    // Every call the stand-in has recorded, in order.
    std::vector<std::string> RecordedCalls() const;
    // The calls recorded after the first `from`: waits for `count` of them, then a moment
    // more so that any extra call shows too.
    std::vector<std::string> CallsAfter(std::size_t from, std::size_t count) const;

    // The preview box as the control tree reports it, relative to its frame 外形框3.
    ui::Rect PreviewInFrame();
    // "StartCamera" with the preview box's window handle and present size, as the stand-in
    // records it.
    std::string StartCameraCall();
    // Clicks the zoom slider `fraction` of the way along it (which focuses it) and waits
    // until it has the focus.
    void ClickZoomSlider(double fraction);
    int ZoomPosition();
};

}  // namespace e2e
