#include "framing/head_watch.h"

#include "framing/head_measure.h"

#include <utility>

namespace framing {

std::optional<HeadEstimate> FindHead(const FramePicture& picture, int searchWidth) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.bgrx.size() < static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) * 4)
        return std::nullopt;
    const GrayImage gray = ReduceToGray(picture.bgrx.data(), picture.width, picture.height,
                                        static_cast<std::ptrdiff_t>(picture.width) * 4, searchWidth);
    if (gray.width <= 0) return std::nullopt;
    const std::vector<FaceBox> faces = FindFaces(gray.View());
    if (faces.empty()) return std::nullopt;
    // Back to the picture's pixels: the reduction kept the aspect.
    const double scale = static_cast<double>(picture.width) / gray.width;
    HeadEstimate head = EstimateHead(faces.front());
    head.centerX *= scale;
    head.crownY *= scale;
    head.chinY *= scale;
    head.eyeY *= scale;
    head.width *= scale;
    const BgrxView view{picture.bgrx.data(), picture.width, picture.height, static_cast<std::ptrdiff_t>(picture.width) * 4};
    return MeasureHead(view, head).head;
}

HeadWatch::HeadWatch(std::function<void()> found) : found_(std::move(found)), thread_([this] { Run(); }) {}

HeadWatch::~HeadWatch() {
    {
        std::lock_guard guard(lock_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void HeadWatch::Look(FramePicture picture, const LookContext& context) {
    {
        std::lock_guard guard(lock_);
        if (waiting_ && waiting_->second.toFrame && !context.toFrame) return;
        waiting_.emplace(std::move(picture), context);
    }
    wake_.notify_all();
}

std::vector<HeadFinding> HeadWatch::TakeFindings() {
    std::lock_guard guard(lock_);
    return std::exchange(findings_, {});
}

bool HeadWatch::Busy() const {
    std::lock_guard guard(lock_);
    return looking_ || waiting_.has_value();
}

void HeadWatch::Run() {
    std::unique_lock guard(lock_);
    for (;;) {
        wake_.wait(guard, [this] { return stopping_ || waiting_.has_value(); });
        if (stopping_) return;
        auto [picture, context] = std::move(*waiting_);
        waiting_.reset();
        looking_ = true;
        guard.unlock();
        HeadFinding finding{FindHead(picture, context.toFrame ? kFrameSearchWidth : kLiveSearchWidth), context};
        guard.lock();
        looking_ = false;
        findings_.push_back(std::move(finding));
        if (stopping_) return;
        guard.unlock();
        if (found_) found_();
        guard.lock();
    }
}

}  // namespace framing
