// Merging the cascade's raw hits into faces.
#include "framing/hit_grouping.h"

#include <gtest/gtest.h>

namespace {

using framing::FaceBox;

bool operator==(const FaceBox& a, const FaceBox& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

TEST(HitGrouping, NeighbouringHitsBecomeTheirMeanAndLoneHitsGo) {
    const std::vector<FaceBox> hits = {
        {100, 50, 50, 50}, {102, 52, 50, 50}, {98, 48, 55, 55},  // one face
        {10, 10, 45, 45},  {12, 10, 45, 45},                     // two hits only
        {250, 100, 45, 45},                                      // alone
    };
    const auto faces = framing::GroupHits(hits, 3);
    ASSERT_EQ(faces.size(), 1u);
    EXPECT_TRUE(faces[0] == (FaceBox{100, 50, 52, 52}));
    EXPECT_EQ(framing::GroupHits(hits, 2).size(), 2u);
    EXPECT_TRUE(framing::GroupHits({}, 3).empty());
}

TEST(HitGrouping, HitsOfDifferentSizesOrPlacesStayApart) {
    // Same place, far apart in size; same size, a window width apart: four faces, largest first.
    std::vector<FaceBox> hits;
    for (const FaceBox b : {FaceBox{0, 0, 50, 50}, FaceBox{0, 0, 80, 80}, FaceBox{200, 0, 50, 50}, FaceBox{0, 100, 60, 60}})
        for (int k = 0; k < 3; ++k) hits.push_back({b.x + k, b.y, b.width, b.height});
    const auto faces = framing::GroupHits(hits, 3);
    // The 50-wide group at the origin has its centre inside the 80-wide one, and as many hits: kept.
    ASSERT_EQ(faces.size(), 4u);
    EXPECT_EQ(faces[0].width, 80);
    EXPECT_EQ(faces[1].width, 60);
    EXPECT_EQ(faces[3].width, 50);
}

TEST(HitGrouping, AWeakerGroupInsideAStrongerOneIsDropped) {
    std::vector<FaceBox> hits;
    for (int k = 0; k < 6; ++k) hits.push_back({100 + k, 100, 90, 90});  // the face
    for (int k = 0; k < 3; ++k) hits.push_back({130 + k, 160, 45, 45});  // its mouth, found again
    const auto faces = framing::GroupHits(hits, 3);
    ASSERT_EQ(faces.size(), 1u);
    EXPECT_EQ(faces[0].width, 90);
}

}  // namespace
