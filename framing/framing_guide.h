// The framing guide over the live preview and its live check, as the Main window's desk
// uses them. The guide shows while a camera runs and the operator wants it; while it shows,
// about five times a second the interface thread renders the frame (as a capture does) and
// hands the picture to the head watch, whose thread looks for the head and posts what it
// found back; the guide then turns green, amber or grey. The F key asks for one look of its
// own, whose finding goes to whoever frames the head.
#pragma once

#include "framing/guide_window.h"
#include "framing/head_watch.h"
#include "ui/post_queue.h"

#include <windows.h>

#include <functional>
#include <memory>

namespace ui {
class Window;
}

namespace framing {

class FramingGuide {
public:
    // What the F key's look found; the head (if any) in frame pixels.
    using FrameHead = std::function<void(const HeadFinding&)>;

    // `frame` is the preview frame's window; `context` tells where the preview box lies and
    // the zoom position now. Creates the hidden guide window, owned by `main`'s window.
    FramingGuide(ui::Window& main, HWND frame, std::function<LookContext()> context, FrameHead frameHead);
    ~FramingGuide();
    FramingGuide(const FramingGuide&) = delete;
    FramingGuide& operator=(const FramingGuide&) = delete;

    // The camera started or stopped: the guide and the check follow.
    void SetCameraRunning(bool running);
    // The operator's choice, for this run.
    void SetWanted(bool wanted);

    // Looks for the head once, for the F key; nothing while no camera runs. A look that finds
    // no head flashes the guide grey; one that finds a head goes to the FrameHead handler.
    void LookToFrame();

private:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void LookNow(bool toFrame);
    void TakeFindings();
    void Update();
    void StopChecking();
    void Flash();
    // The watch, made on the first look a camera needs.
    HeadWatch& Watch();

    HWND frame_;
    ui::Poster main_;  // the watch's findings reach the Main window's thread through it
    std::function<LookContext()> context_;
    FrameHead frameHead_;
    GuideWindow window_;
    std::unique_ptr<HeadWatch> watch_;  // made when a camera first runs
    bool running_ = false;
    bool wanted_ = true;
    bool flashing_ = false;
    bool checking_ = false;
    GuideColour colour_ = GuideColour::Grey;
};

}  // namespace framing
