#include "framing/framing_guide.h"

#include "ui/window.h"
#include "ui/window_render.h"

namespace framing {

namespace {
// On the guide window: the check's clock and the end of a grey flash.
constexpr UINT_PTR kLookTimer = 1;
constexpr UINT_PTR kFlashTimer = 2;
constexpr UINT kLookEvery = 200;  // ms: about five looks a second
constexpr UINT kFlashFor = 600;   // ms
}  // namespace

FramingGuide::FramingGuide(ui::Window& main, HWND frame, std::function<LookContext()> context, FrameHead frameHead)
    : frame_(frame), main_(main.MakePoster()), context_(std::move(context)), frameHead_(std::move(frameHead)) {
    window_.Create(main.Handle(), [this](UINT message, WPARAM wParam, LPARAM lParam) {
        return OnMessage(message, wParam, lParam);
    });
    // The guide follows the Main window when it moves, and stays above it when it is
    // activated. The desk, which owns this, outlives the window, so the hook stays with it.
    main.FollowMoves([this] { Update(); }, [this] { window_.ClimbSoon(); });
}

FramingGuide::~FramingGuide() = default;  // the watch, declared after the window, stops first

void FramingGuide::SetCameraRunning(bool running) {
    running_ = running;
    if (running) colour_ = GuideColour::Grey;  // until the first look says otherwise
    Update();
}

void FramingGuide::SetWanted(bool wanted) {
    wanted_ = wanted;
    Update();
}

void FramingGuide::Update() {
    const bool show = running_ && (wanted_ || flashing_);
    HWND guide = window_.Handle();
    RECT area{};
    if (!show || !guide || !::GetWindowRect(frame_, &area)) {
        window_.Hide();
        StopChecking();
        return;
    }
    window_.Show(area, flashing_ ? GuideColour::Grey : colour_);
    const bool check = running_ && wanted_;
    if (check && !checking_) {
        Watch();
        checking_ = ::SetTimer(guide, kLookTimer, kLookEvery, nullptr) != 0;
    } else if (!check) {
        StopChecking();
    }
}

void FramingGuide::StopChecking() {
    if (checking_ && window_.Handle()) ::KillTimer(window_.Handle(), kLookTimer);
    checking_ = false;
}

HeadWatch& FramingGuide::Watch() {
    if (!watch_) {
        // The findings are taken on the Main window's thread; the desk that owns this
        // outlives the window, which runs what was posted before it closes.
        watch_ = std::make_unique<HeadWatch>([this] { main_.Post([this] { TakeFindings(); }); });
    }
    return *watch_;
}

void FramingGuide::LookToFrame() {
    if (!running_ || !window_.Handle()) return;
    Watch();
    LookNow(true);
}

void FramingGuide::LookNow(bool toFrame) {
    if (!watch_) return;
    // A look still under way: the live check waits for the next tick; the F key's look
    // takes the place of one waiting.
    if (!toFrame && watch_->Busy()) return;
    FramePicture picture = ui::RenderWindowPixels(frame_);
    if (picture.bgrx.empty()) return;
    LookContext context = context_ ? context_() : LookContext{};
    context.toFrame = toFrame;
    watch_->Look(std::move(picture), context);
}

void FramingGuide::TakeFindings() {
    if (!watch_) return;
    for (const HeadFinding& finding : watch_->TakeFindings()) {
        if (finding.context.toFrame) {
            if (!running_) continue;
            if (!finding.head) {
                Flash();
            } else if (frameHead_) {
                frameHead_(finding);
            }
            continue;
        }
        colour_ = ColourFor(finding.head ? std::optional<Fit>(JudgeFit(*finding.head)) : std::nullopt);
    }
    Update();
}

void FramingGuide::Flash() {
    HWND guide = window_.Handle();
    if (!guide) return;
    flashing_ = true;
    ::SetTimer(guide, kFlashTimer, kFlashFor, nullptr);
    Update();
}

std::optional<LRESULT> FramingGuide::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_TIMER:
        if (wParam == kLookTimer) {
            if (checking_) LookNow(false);
            return 0;
        }
        if (wParam == kFlashTimer) {
            ::KillTimer(window_.Handle(), kFlashTimer);
            flashing_ = false;
            Update();
            return 0;
        }
        return std::nullopt;
    case WM_DESTROY:
        // Going with the Main window: the watch's thread ends now, not at the desk's end.
        checking_ = false;
        watch_.reset();
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

}  // namespace framing
