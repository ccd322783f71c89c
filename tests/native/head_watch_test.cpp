#include "framing/head_watch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

using framing::FramePicture;
using framing::HeadWatch;
using framing::LookContext;

FramePicture Plain(int width, int height, std::uint8_t grey) {
    FramePicture p{width, height, {}};
    p.bgrx.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, grey);
    return p;
}

// Counts the watch's calls and lets a test wait for them (no duration is asserted: the wait
// only bounds a hung thread).
class Calls {
public:
    std::function<void()> Callback() {
        return [this] {
            std::lock_guard guard(lock_);
            ++count_;
            changed_.notify_all();
        };
    }
    bool WaitFor(int count) {
        std::unique_lock guard(lock_);
        return changed_.wait_for(guard, std::chrono::seconds(30), [&] { return count_ >= count; });
    }

private:
    std::mutex lock_;
    std::condition_variable changed_;
    int count_ = 0;
};

TEST(HeadWatch, AnEmptyPictureIsLookedAtAndFindsNoHead) {
    Calls calls;
    HeadWatch watch(calls.Callback());
    watch.Look(Plain(295, 412, 128), {{-367, -200, 1421, 800}, 8, false});
    ASSERT_TRUE(calls.WaitFor(1));
    const std::vector<framing::HeadFinding> findings = watch.TakeFindings();
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_FALSE(findings[0].head);
    // What the interface knew comes back with the finding.
    EXPECT_EQ(findings[0].context.box, (ui::Rect{-367, -200, 1421, 800}));
    EXPECT_EQ(findings[0].context.zoomPosition, 8);
    EXPECT_FALSE(findings[0].context.toFrame);
    EXPECT_TRUE(watch.TakeFindings().empty()) << "a finding is handed out once";
    EXPECT_FALSE(watch.Busy());
}

TEST(HeadWatch, EveryPictureGetsAFindingOrIsReplacedButTheFKeysLookIsKept) {
    Calls calls;
    HeadWatch watch(calls.Callback());
    // Many pictures at once: the watch looks at some, later ones replace those still waiting;
    // the F key's, handed in the middle, is never dropped for a live one.
    for (int i = 0; i < 20; ++i) {
        LookContext context{{i, 0, 10, 10}, 1, i == 10};
        watch.Look(Plain(64, 48, static_cast<std::uint8_t>(i)), context);
    }
    std::vector<framing::HeadFinding> all;
    bool sawFrameLook = false;
    for (int round = 0; round < 40 && !sawFrameLook; ++round) {
        ASSERT_TRUE(calls.WaitFor(static_cast<int>(all.size()) + 1));
        for (auto& f : watch.TakeFindings()) {
            sawFrameLook = sawFrameLook || f.context.toFrame;
            all.push_back(std::move(f));
        }
    }
    EXPECT_TRUE(sawFrameLook);
    EXPECT_LE(all.size(), 20u);
    // Oldest first.
    for (std::size_t i = 1; i < all.size(); ++i) EXPECT_LT(all[i - 1].context.box.left, all[i].context.box.left);
}

TEST(HeadWatch, StopsCleanlyWhileBusyAndWithoutAnyPicture) {
    { HeadWatch idle({}); }
    std::atomic<int> calls{0};
    {
        HeadWatch busy([&] { ++calls; });
        busy.Look(Plain(640, 480, 30), {});
    }  // joins whatever the thread was doing
    EXPECT_LE(calls.load(), 1);
}

TEST(FindHead, NeedsAPictureWithPixels) {
    EXPECT_FALSE(framing::FindHead({}, HeadWatch::kFrameSearchWidth));
    FramePicture shortPixels = Plain(100, 100, 0);
    shortPixels.bgrx.resize(10);
    EXPECT_FALSE(framing::FindHead(shortPixels, HeadWatch::kFrameSearchWidth));
    EXPECT_FALSE(framing::FindHead(Plain(100, 100, 200), HeadWatch::kFrameSearchWidth));
}

}  // namespace
