// Unsaved work: a slot whose picture, brightness included, was never written to disk under
// the Student identity shown now. One road through a trainee's photos and the next one's.
#include "photo/unsaved_work.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace {

using Picture = std::vector<std::uint8_t>;
using Slots = std::array<Picture, 4>;

TEST(UnsavedWork, IsEveryFilledSlotWhosePictureWasNeverWrittenUnderTheIdentityShown) {
    photo::SavedWork saved;
    const Picture shotA{1, 1, 1}, retakeA{2, 2, 2}, brighterA{11, 11, 11};
    Slots slots{shotA, retakeA, {}, {}};
    EXPECT_EQ(saved.CountUnsaved(slots, "A"), 2) << "nothing written yet";

    saved.Written("A", shotA);
    EXPECT_EQ(saved.CountUnsaved(slots, "A"), 1) << "the retake was never written";
    EXPECT_FALSE(saved.IsUnsaved(Picture{}, "A")) << "an empty slot holds no work";

    // Brightened after its save: the disk has the older picture only.
    slots[0] = brighterA;
    EXPECT_EQ(saved.CountUnsaved(slots, "A"), 2);
    saved.Written("A", brighterA);
    EXPECT_EQ(saved.CountUnsaved(slots, "A"), 1);
    // Darkened back to what was written first: that picture is on disk (replaced, kept).
    slots[0] = shotA;
    EXPECT_EQ(saved.CountUnsaved(slots, "A"), 1);

    // Shots taken after the save, before the next card: not A's saved work.
    slots[2] = Picture{3, 3, 3};
    EXPECT_EQ(saved.CountUnsaved(slots, "A"), 2);
    // Saving A again marks only the picture saved, never the others.
    saved.Written("A", retakeA);
    EXPECT_EQ(saved.CountUnsaved(slots, "A"), 1);

    // Under another identity nothing of A's is on disk, however often A saved it.
    EXPECT_EQ(saved.CountUnsaved(slots, "B"), 3);
    saved.Written("B", slots[2]);
    EXPECT_EQ(saved.CountUnsaved(slots, "B"), 2);
    EXPECT_EQ(saved.CountUnsaved(slots, "A"), 3) << "only the identity named last is remembered";
}

}  // namespace
