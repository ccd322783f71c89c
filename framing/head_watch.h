// The live check's worker: one thread that looks for the head in the latest picture handed to
// it and keeps what it found for the interface thread. A picture not yet looked at is replaced
// by a newer one, so the interface never queues work; the owner's destructor stops the thread
// and waits for it.
#pragma once

#include "framing/face_detector.h"
#include "platform/bgrx_picture.h"
#include "ui/template.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace framing {

// What the interface knew when it took the picture; handed back with the finding.
struct LookContext {
    ui::Rect box;               // the preview box, relative to the frame
    int zoomPosition = 0;
    bool toFrame = false;       // asked for by the F key
};

// A picture of the frame, as a capture renders it.
using FramePicture = platform::BgrxPicture;

struct HeadFinding {
    std::optional<HeadEstimate> head;  // in the picture's pixels; none found: nullopt
    LookContext context;
};

// The largest face in the picture, looked for in a grey copy at most `searchWidth` wide, and
// the head around it in the picture's own pixels.
std::optional<HeadEstimate> FindHead(const FramePicture& picture, int searchWidth);

class HeadWatch {
public:
    // The widths of the grey copy the faces are looked for in. The live check looks five
    // times a second in a copy half the frame's size (147 x 206), a quarter of the work; the
    // smallest face found there is the detector's 45 px window, 90 px in the frame, about a
    // 180 px head where the guide asks for 245-285 px: smaller heads show grey. The F key's
    // single look uses the frame's own size and finds faces from 45 px up.
    static constexpr int kLiveSearchWidth = 160;
    static constexpr int kFrameSearchWidth = 320;

    // `found` runs on the watch's thread after each look (post a message from it); the
    // finding waits in TakeFinding. Starts the thread.
    explicit HeadWatch(std::function<void()> found);
    ~HeadWatch();
    HeadWatch(const HeadWatch&) = delete;
    HeadWatch& operator=(const HeadWatch&) = delete;

    // Hands a picture over; one waiting since the last look is dropped, unless it was asked
    // for by the F key and this one is not: that one stays.
    void Look(FramePicture picture, const LookContext& context);
    // The findings since the last call, oldest first.
    std::vector<HeadFinding> TakeFindings();
    // Whether a picture waits or is being looked at.
    bool Busy() const;

private:
    void Run();

    std::function<void()> found_;
    mutable std::mutex lock_;
    std::condition_variable wake_;
    bool stopping_ = false;
    bool looking_ = false;
    std::optional<std::pair<FramePicture, LookContext>> waiting_;
    std::vector<HeadFinding> findings_;
    std::thread thread_;  // last: starts once everything above exists
};

}  // namespace framing
