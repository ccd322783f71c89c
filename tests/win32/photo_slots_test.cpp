// Capture into the Photo slots when the preview frame cannot be copied.
#include "photo/slots.h"
#include "tests/win32/box_answerer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Image = std::vector<std::uint8_t>;

// Slots with no window behind them, fed by a list of copies; an empty one is a failed copy.
struct ScriptedSlots {
    std::vector<Image> copies;
    std::size_t taken = 0;
    photo::PhotoSlots slots{photo::PhotoControls{}, [] { return std::string("trainee"); }, L"unused",
                            [this] { return taken < copies.size() ? copies[taken++] : Image{}; }};
};

TEST(SlotCapture, AFailedCopyLeavesTheSlotTheCounterAndTheSavedStateAlone) {
    ScriptedSlots s;
    s.copies = {Image{1, 2, 3}, Image{}, Image{4, 5}, Image{}};
    EXPECT_FALSE(s.slots.HasUnsavedPhotos());

    // Nothing taken yet: a failed copy marks nothing unsaved.
    ScriptedSlots fresh;
    EXPECT_FALSE(fresh.slots.Capture());
    EXPECT_EQ(fresh.slots.NextSlot(), 1);
    EXPECT_FALSE(fresh.slots.HasUnsavedPhotos());
    EXPECT_FALSE(fresh.slots.HoldsPhotos());

    ASSERT_TRUE(s.slots.Capture());
    EXPECT_EQ(s.slots.NextSlot(), 2);
    EXPECT_FALSE(s.slots.Capture());  // the copy failed
    EXPECT_EQ(s.slots.NextSlot(), 2);
    EXPECT_EQ(s.slots.SlotImage(1), (Image{1, 2, 3}));
    EXPECT_TRUE(s.slots.SlotImage(2).empty());
    ASSERT_TRUE(s.slots.Capture());
    EXPECT_EQ(s.slots.SlotImage(2), (Image{4, 5}));
    EXPECT_EQ(s.slots.NextSlot(), 3);
}

TEST(SlotCapture, AFailedCopyIntoAFullSlotKeepsItsPicture) {
    ScriptedSlots s;
    s.copies = {Image{1}, Image{2}, Image{3}, Image{4}};
    for (int k = 0; k < 4; ++k) ASSERT_TRUE(s.slots.Capture());
    ASSERT_EQ(s.slots.NextSlot(), 1);  // the fifth shot would fill slot 1 again
    s.slots.TraineeNamed(photo::PhotoSlots::Keep::Everything);
    EXPECT_FALSE(s.slots.Capture());
    EXPECT_EQ(s.slots.SlotImage(1), (Image{1}));
    EXPECT_EQ(s.slots.NextSlot(), 1);
}

TEST(SlotCapture, TheOperatorIsToldWhenNoPhotoWasTaken) {
    ScriptedSlots s;
    s.copies = {Image{}, Image{7}};
    {
        win32_tests::BoxAnswerer answerer;
        s.slots.CaptureForOperator();  // returns once the box is answered
        answerer.Join();
        EXPECT_TRUE(answerer.answered_) << "a failed copy passed in silence";
        EXPECT_EQ(answerer.title_, L"拍照失败");
        EXPECT_EQ(answerer.text_, L"没有拍到照片，请再拍一次。");
    }
    EXPECT_TRUE(s.slots.SlotImage(1).empty());
    // The shot taken again fills the slot, with no box.
    s.slots.CaptureForOperator();
    EXPECT_EQ(s.slots.SlotImage(1), (Image{7}));
}

}  // namespace
