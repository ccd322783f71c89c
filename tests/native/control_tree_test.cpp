#include "ui/control_tree.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using ui::ControlKind;
using ui::ControlRow;
using ui::ControlTree;
using ui::Rect;

ControlTree MustBuild(const std::vector<ControlRow>& rows) {
    std::string error;
    auto tree = ControlTree::Build(rows, &error);
    EXPECT_TRUE(tree.has_value()) << error;
    return std::move(*tree);
}

TEST(ControlTreeBuild, RejectsBrokenTrees) {
    const std::vector<std::vector<ControlRow>> broken = {
        {{.name = "a"}, {.name = "a"}},                                     // a name twice
        {{.name = "a", .parent = "b"}, {.name = "b"}},                      // child before parent
        {{.name = "a", .parent = "nowhere"}},                               // unknown parent
        {{.name = "a", .kind = ControlKind::TransparentLabel}, {.name = "b", .parent = "a"}},  // not a container
        {{.name = ""}},
        {{.name = "frame", .ownWindow = true}, {.name = "a", .kind = ControlKind::TransparentLabel, .parent = "frame"}},
    };
    for (const auto& rows : broken) {
        std::string error;
        EXPECT_FALSE(ControlTree::Build(rows, &error).has_value());
        EXPECT_FALSE(error.empty());
    }
}

class ControlTreeGeometry : public ::testing::Test {
protected:
    // A panel holding a label that sticks out on the right and a group holding a
    // native board; the group is hidden.
    std::vector<ControlRow> rows_{
        {.name = "panel", .rect = {10, 20, 100, 50}},
        {.name = "label", .kind = ControlKind::TransparentLabel, .parent = "panel", .rect = {5, 2, 100, 24}},
        {.name = "group", .kind = ControlKind::GroupBox, .parent = "panel", .rect = {0, 30, 60, 20}, .visible = false},
        {.name = "board", .kind = ControlKind::DrawingBoard, .parent = "group", .rect = {2, 3, 10, 10}},
        {.name = "frame", .parent = "panel", .rect = {70, 0, 30, 30}, .ownWindow = true},
        {.name = "surface", .parent = "frame", .rect = {-16, -16, 60, 60}, .ownWindow = true},
    };
    ControlTree tree_ = MustBuild(rows_);
    int Index(const char* name) const { return tree_.IndexOf(name); }
};

TEST_F(ControlTreeGeometry, PositionsAddUpAndParentsClip) {
    EXPECT_EQ(tree_.AbsoluteRect(Index("label")), (Rect{15, 22, 100, 24}));
    // The label is as wide as the panel but starts 5 pixels in: its last 5 pixels are cut.
    EXPECT_EQ(tree_.VisibleRect(Index("label")), (Rect{15, 22, 95, 24}));
    EXPECT_EQ(tree_.AbsoluteRect(Index("board")), (Rect{12, 53, 10, 10}));
    EXPECT_EQ(tree_.IndexOf("missing"), -1);
}

TEST_F(ControlTreeGeometry, NativeWindowsArePlacedInTheirNearestNativeAncestor) {
    EXPECT_EQ(tree_.HostOf(Index("board")), -1);  // painted containers own no window
    EXPECT_EQ(tree_.RectInHost(Index("board")), (Rect{12, 53, 10, 10}));
    EXPECT_EQ(tree_.HostOf(Index("surface")), Index("frame"));
    EXPECT_EQ(tree_.RectInHost(Index("surface")), (Rect{-16, -16, 60, 60}));
}

TEST_F(ControlTreeGeometry, HidingAContainerHidesWhatItHolds) {
    EXPECT_FALSE(tree_.IsShown(Index("board")));
    EXPECT_TRUE(tree_.At(Index("board")).visible);
    tree_.At(Index("group")).visible = true;
    EXPECT_TRUE(tree_.IsShown(Index("board")));
    tree_.At(Index("panel")).visible = false;
    EXPECT_FALSE(tree_.IsShown(Index("label")));
}

TEST_F(ControlTreeGeometry, HitTestFindsTheTopmostShownPaintedControl) {
    EXPECT_EQ(tree_.HitTestWindowless(20, 25), Index("label"));
    EXPECT_EQ(tree_.HitTestWindowless(12, 45), Index("panel"));
    // The clipped part of the label belongs to nobody.
    EXPECT_EQ(tree_.HitTestWindowless(112, 25), -1);
    // The hidden group does not catch the mouse; the panel under it does.
    EXPECT_EQ(tree_.HitTestWindowless(11, 55), Index("panel"));
    tree_.At(Index("group")).visible = true;
    EXPECT_EQ(tree_.HitTestWindowless(11, 55), Index("group"));
    EXPECT_EQ(tree_.HitTestWindowless(500, 500), -1);
}

TEST_F(ControlTreeGeometry, WithinFollowsTheParentChain) {
    EXPECT_TRUE(tree_.IsWithin(Index("board"), Index("panel")));
    EXPECT_TRUE(tree_.IsWithin(Index("board"), Index("board")));
    EXPECT_FALSE(tree_.IsWithin(Index("label"), Index("group")));
}

}  // namespace
