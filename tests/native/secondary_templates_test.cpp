#include "chrome/secondary_templates.h"
#include "ui/control_tree.h"

#include <gtest/gtest.h>

namespace {

using ui::ControlKind;

struct Case {
    const char* window;
    const ui::WindowTemplate& layout;
};

bool Inside(const ui::Rect& inner, const ui::Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.Right() <= outer.Right() &&
           inner.Bottom() <= outer.Bottom();
}

TEST(SecondaryTemplates, BuildAndEveryControlFitsItsParentAndTheWindow) {
    for (const Case& c : {Case{"help", chrome::HelpWindowTemplate()}, Case{"contact", chrome::ContactWindowTemplate()}}) {
        std::string error;
        const auto tree = ui::ControlTree::Build(c.layout.controls, &error);
        ASSERT_TRUE(tree) << c.window << ": " << error;
        const ui::Rect window{0, 0, c.layout.width, c.layout.height};
        for (int i = 0; i < tree->Count(); ++i) {
            const int parent = tree->At(i).parent;
            EXPECT_TRUE(Inside(tree->AbsoluteRect(i), parent < 0 ? window : tree->AbsoluteRect(parent)))
                << c.window << ": " << tree->At(i).row->name;
        }
    }
}

TEST(SecondaryTemplates, TheBoundControlsAreOfKindsThatRaiseTheirEvents) {
    const auto help = ui::ControlTree::Build(chrome::HelpWindowTemplate().controls);
    ASSERT_TRUE(help);
    EXPECT_EQ(help->At(help->IndexOf(chrome::kHelpViewer.name)).row->kind, ControlKind::HtmlViewer);
    EXPECT_EQ(help->At(help->IndexOf(chrome::kHelpClose.name)).row->kind, ControlKind::GraphicButton);
    // The strip above the page leaves the close button free.
    EXPECT_LE(help->AbsoluteRect(help->IndexOf(chrome::kHelpClose.name)).Bottom(),
              help->AbsoluteRect(help->IndexOf(chrome::kHelpViewer.name)).top);

    const auto contact = ui::ControlTree::Build(chrome::ContactWindowTemplate().controls);
    ASSERT_TRUE(contact);
    EXPECT_EQ(contact->At(contact->IndexOf(chrome::kContactPicture.name)).row->kind, ControlKind::PictureBox);
    const int caption = contact->IndexOf(chrome::kContactCaption.name);
    EXPECT_EQ(contact->At(caption).row->kind, ControlKind::TransparentLabel);
    EXPECT_NE(contact->At(caption).caption.find("Orvia"), std::string::npos);
    // A click on the caption is not a click on the picture.
    const ui::Rect label = contact->AbsoluteRect(caption);
    EXPECT_EQ(contact->HitTestWindowless(label.left + 5, label.top + 5), caption);
}

}  // namespace
