#include "app/main_controls.h"
#include "app/main_template.h"
#include "ui/control_tree.h"
#include "ui/kind_traits.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

namespace mc = app::main_controls;

using ui::ControlKind;
using ui::Rect;

class MainTemplate : public ::testing::Test {
protected:
    const ui::WindowTemplate& layout_ = app::MainWindowTemplate();
    ui::ControlTree tree_ = [this] {
        std::string error;
        auto tree = ui::ControlTree::Build(layout_.controls, &error);
        EXPECT_TRUE(tree) << error;
        return tree ? std::move(*tree) : *ui::ControlTree::Build({});
    }();
    int Index(std::string_view name) const {
        const int i = tree_.IndexOf(name);
        EXPECT_GE(i, 0) << name;
        return i;
    }
    Rect Abs(std::string_view name) const { return tree_.AbsoluteRect(Index(name)); }
};

bool Inside(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.Right() <= outer.Right() &&
           inner.Bottom() <= outer.Bottom();
}

TEST_F(MainTemplate, EveryControlFitsItsParentExceptTheTwoThatAreMeantToBeClipped) {
    const std::set<std::string_view> clippedOnPurpose = {mc::kPreviewBox.name, mc::kStudentLabel.name};
    const Rect window{0, 0, layout_.width, layout_.height};
    for (int i = 0; i < tree_.Count(); ++i) {
        const std::string name(tree_.At(i).row->name);
        const int parent = tree_.At(i).parent;
        const Rect outer = parent < 0 ? window : tree_.AbsoluteRect(parent);
        EXPECT_EQ(Inside(tree_.AbsoluteRect(i), outer), clippedOnPurpose.count(name) == 0) << name;
    }
    // The name label loses exactly its last five pixels to the bar.
    EXPECT_EQ(tree_.VisibleRect(Index(mc::kStudentLabel.name)).width, 512 - 5);
}

TEST_F(MainTemplate, OnlyTheBrightnessGroupsStartHidden) {
    std::set<std::string> hidden;
    for (int i = 0; i < tree_.Count(); ++i)
        if (!tree_.At(i).visible) hidden.insert(std::string(tree_.At(i).row->name));
    EXPECT_EQ(hidden, (std::set<std::string>{"分组框_图1", "分组框_图2", "分组框_图3", "分组框_图4"}));
    // Both big buttons exist at creation; start-up hides one of them.
    EXPECT_TRUE(tree_.IsShown(Index(mc::kReadCardLabel.name)));
    EXPECT_TRUE(tree_.IsShown(Index(mc::kPhotoLabel.name)));
}

TEST_F(MainTemplate, SlotsFormARowWithTheirBrightnessGroupBeneath) {
    int previousLeft = -1;
    for (int slot = 1; slot <= 4; ++slot) {
        const std::string n = std::to_string(slot);
        const Rect board = Abs("画板" + n);
        const Rect group = Abs("分组框_图" + n);
        EXPECT_GT(board.left, previousLeft);
        previousLeft = board.left;
        EXPECT_EQ(tree_.At(Index("画板" + n)).row->kind, ControlKind::DrawingBoard);
        const int groupCentre = group.left + group.width / 2;
        EXPECT_TRUE(groupCentre > board.left && groupCentre < board.Right()) << n;
        EXPECT_GE(group.top, board.Bottom() - 5) << n;
        // Each Shape button's label lies over its body from the body's top-left corner.
        for (const char* which : {"增加亮度", "减少亮度"}) {
            const Rect body = Abs(std::string("外形框_按钮") + which + n);
            const Rect label = Abs(std::string("透明标签_") + which + n);
            EXPECT_EQ(label.left, body.left);
            EXPECT_EQ(label.top, body.top);
            EXPECT_TRUE(Inside(label, body));
        }
    }
}

TEST_F(MainTemplate, TheTwoBigButtonsShareOnePlace) {
    const Rect readCard = Abs(mc::kReadCardBody.name);
    const Rect photo = Abs(mc::kPhotoBody.name);
    EXPECT_EQ(photo.left - readCard.left, 3);
    EXPECT_EQ(photo.top, readCard.top);
    EXPECT_EQ(Abs(mc::kReadCardLabel.name), readCard);
    EXPECT_EQ(Abs(mc::kPhotoLabel.name), photo);
}

TEST_F(MainTemplate, ThePreviewSurfaceIsLargerThanItsFrameAndBothHaveWindows) {
    const int frame = Index(mc::kPreviewFrame.name);
    const int surface = Index(mc::kPreviewBox.name);
    EXPECT_TRUE(ui::NeedsOwnWindow(*tree_.At(frame).row));
    EXPECT_TRUE(ui::NeedsOwnWindow(*tree_.At(surface).row));
    EXPECT_EQ(tree_.HostOf(surface), frame);
    EXPECT_EQ(tree_.At(frame).rect.width, 295);
    EXPECT_EQ(tree_.At(frame).rect.height, 412);
    EXPECT_GT(tree_.At(surface).rect.width, 295);
    EXPECT_GT(tree_.At(surface).rect.height, 412);
}

TEST_F(MainTemplate, TheMenuIsOneTopItemWithItsEntriesOnlyTheGuideCheckable) {
    ASSERT_EQ(layout_.menu.size(), 6u);
    EXPECT_EQ(layout_.menu[0].level, 0);
    for (std::size_t i = 1; i < layout_.menu.size(); ++i) {
        EXPECT_EQ(layout_.menu[i].level, 1);
        EXPECT_EQ(layout_.menu[i].checkable, layout_.menu[i].caption == mc::kGuideItem) << i;
    }
    EXPECT_EQ(layout_.menu[3].caption, "显示取景框");
    EXPECT_TRUE(layout_.menu[3].checked) << "the guide shows until the operator hides it";
}

}  // namespace
