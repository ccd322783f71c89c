// Every control id the program resolves names a control of its kind in its window's
// Template (the Main window's rows are built from its ids); a name or kind that is off is
// caught here, in every build, not when an operator presses something.
#include "app/main_controls.h"
#include "app/main_template.h"
#include "chrome/secondary_templates.h"
#include "ui/control_id.h"
#include "ui/kind_traits.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Kind = ui::ControlKind;

ui::ControlTree TreeOf(const ui::WindowTemplate& layout) {
    std::string error;
    auto tree = ui::ControlTree::Build(layout.controls, &error);
    EXPECT_TRUE(tree) << error;
    return tree ? std::move(*tree) : *ui::ControlTree::Build({});
}

TEST(ControlIds, EveryIdOfTheSecondaryWindowsResolvesToItsKind) {
    const ui::ControlTree help = TreeOf(chrome::HelpWindowTemplate());
    const std::vector<ui::AnyControlId> helpIds{chrome::kHelpViewer, chrome::kHelpClose};
    EXPECT_TRUE(ui::CheckControlIds(help, helpIds).empty());

    const ui::ControlTree contact = TreeOf(chrome::ContactWindowTemplate());
    const std::vector<ui::AnyControlId> contactIds{chrome::kContactPicture, chrome::kContactCaption};
    EXPECT_TRUE(ui::CheckControlIds(contact, contactIds).empty());
}

TEST(ControlIds, AWrongNameOrKindIsReportedAndNamed) {
    const ui::ControlTree main = TreeOf(app::MainWindowTemplate());
    const std::vector<ui::AnyControlId> wrong{
        ui::ControlId<Kind::ListBox>{"列表框2"},         // no such control
        ui::ControlId<Kind::Slider>{"列表框1"},          // a list box, not a slider
        ui::ControlId<Kind::TransparentLabel>{"外形框_拍照"},  // the body, not the label
        app::main_controls::kCameraList,                 // right: not reported
    };
    const std::vector<std::string> problems = ui::CheckControlIds(main, wrong);
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0], "no control named 列表框2");
    EXPECT_EQ(problems[1], "列表框1 is a list box, not a slider");
    EXPECT_EQ(problems[2], "外形框_拍照 is a shape box, not a transparent label");
    // The Help window has no camera list: ids belong to their own window.
    EXPECT_EQ(ui::CheckControlIds(TreeOf(chrome::HelpWindowTemplate()), wrong).size(), 4u);
}

TEST(KindTraits, EventsAndWindowsFollowTheKind) {
    EXPECT_TRUE(ui::CanRaise(Kind::DrawingBoard, ui::ControlEvent::GotFocus));
    EXPECT_FALSE(ui::CanRaise(Kind::TransparentLabel, ui::ControlEvent::Clicked));
    EXPECT_TRUE(ui::CanRaise(Kind::ListBox, ui::ControlEvent::EntryDoubleClick));
    EXPECT_FALSE(ui::CanRaise(Kind::Slider, ui::ControlEvent::LeftDown));
    ui::ControlRow box{.name = "框", .kind = Kind::ShapeBox};
    EXPECT_FALSE(ui::NeedsOwnWindow(box));
    box.ownWindow = true;
    EXPECT_TRUE(ui::NeedsOwnWindow(box));
    // A label never gets a window, even when its row asks for one.
    EXPECT_FALSE(ui::NeedsOwnWindow({.name = "字", .kind = Kind::TransparentLabel, .ownWindow = true}));
    EXPECT_TRUE(ui::NeedsOwnWindow({.name = "表", .kind = Kind::ListBox}));
}

}  // namespace
