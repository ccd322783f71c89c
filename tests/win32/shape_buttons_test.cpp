// The Main window's Shape buttons under the mouse: their pressed and normal looks, a held
// button that slides off, and the question asked before a window closes.
#include "app/main_controls.h"
#include "app/main_events.h"
#include "app/main_template.h"
#include "chrome/press_feedback.h"
#include "ui/window.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>

namespace mc = app::main_controls;

namespace {

using ui::ControlEvent;
using ui::Rgb;

struct Look {
    ui::Colour outline;
    int width;
    ui::Colour text;
    friend bool operator==(const Look&, const Look&) = default;
};

void PrintTo(const Look& look, std::ostream* os) {
    *os << std::hex << "{outline " << look.outline.value << ", width " << std::dec << look.width << ", text "
        << std::hex << look.text.value << "}";
}

constexpr Look kNormal{Rgb(0x0088FF), 1, Rgb(0xFFFFFF)};

// The Main window; with `desk`, its desk is made too, but not started: no deployment, no
// reader scan here.
std::unique_ptr<ui::Window> MainWindow(ui::WindowBehaviour behaviour, std::unique_ptr<app::MainDesk>* desk = nullptr) {
    behaviour.created = nullptr;
    if (desk) behaviour.created = [desk](ui::Window& w) { *desk = std::make_unique<app::MainDesk>(w); };
    behaviour.endsProgram = false;
    behaviour.closing = nullptr;
    return ui::Window::Create(app::MainWindowTemplate(), std::move(behaviour));
}

POINT CentreOf(const ui::Window& window, std::string_view name) {
    const ui::Rect r = window.Tree().AbsoluteRect(window.Tree().IndexOf(name));
    return {r.left + r.width / 2, r.top + r.height / 2};
}

void Send(ui::Window& window, UINT message, POINT at) {
    ::SendMessageW(window.Handle(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(at.x, at.y));
}

class PressLooks : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = MainWindow(app::MainWindowBehaviour(desk_), &desk_);
        ASSERT_TRUE(window_);
    }
    // A Shape button by its Template names.
    struct Named {
        std::string_view label, body;
        chrome::ShapeButtonKind kind;
    };
    chrome::ShapeButton Resolve(const Named& n) const { return {(*window_)[n.label], (*window_)[n.body], n.kind}; }
    Look LookOf(const Named& button) const {
        const ui::ControlTree& tree = window_->Tree();
        const ui::ControlState& body = tree.At(tree.IndexOf(button.body));
        return {body.outline, body.outlineWidth, tree.At(tree.IndexOf(button.label)).text};
    }
    // The colour on the screen one pixel inside the body's top-left corner: the outline
    // when it is 2 pixels wide, the body's own blue when it is 1.
    COLORREF InnerCorner(std::string_view body) const {
        const ui::Rect r = window_->Tree().AbsoluteRect(window_->Tree().IndexOf(body));
        HDC dc = ::GetDC(window_->Handle());
        const COLORREF colour = ::GetPixel(dc, r.left + 1, r.top + 1);
        ::ReleaseDC(window_->Handle(), dc);
        return colour;
    }
    std::unique_ptr<app::MainDesk> desk_;
    std::unique_ptr<ui::Window> window_;
};

TEST_F(PressLooks, EachKindHasItsOwnPressedLookAndAllShareTheNormalOne) {
    using chrome::ShapeButtonKind;
    const struct {
        Named button;
        Look pressed;
    } cases[] = {
        {{mc::kPhotoLabel.name, mc::kPhotoBody.name, ShapeButtonKind::Photo}, {Rgb(0xFF8000), 2, Rgb(0xFF8000)}},
        {{mc::kSlots[1].brighter.label.name, mc::kSlots[1].brighter.body.name, ShapeButtonKind::Brighter}, {Rgb(0xFF0000), 2, Rgb(0xFF0000)}},
        {{mc::kSlots[2].darker.label.name, mc::kSlots[2].darker.body.name, ShapeButtonKind::Darker}, {Rgb(0x9000FF), 2, Rgb(0x00FF00)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button.label);
        EXPECT_EQ(LookOf(c.button), kNormal);  // as the Template starts them
        chrome::ShowPressedLook(Resolve(c.button));
        EXPECT_EQ(LookOf(c.button), c.pressed);
        chrome::ShowNormalLook(Resolve(c.button));
        EXPECT_EQ(LookOf(c.button), kNormal);
    }
}

TEST_F(PressLooks, APressShowsThePressedLookOnTheScreenAtOnceAndTheReleaseUndoesIt) {
    const Named brighter{mc::kSlots[0].brighter.label.name, mc::kSlots[0].brighter.body.name, chrome::ShapeButtonKind::Brighter};
    (*window_)["分组框_图1"].SetVisible(true);  // as when slot 1 has the focus
    ::UpdateWindow(window_->Handle());
    EXPECT_EQ(InnerCorner(brighter.body), RGB(0x00, 0x88, 0xFF));

    const POINT at = CentreOf(*window_, brighter.label);
    Send(*window_, WM_LBUTTONDOWN, at);
    EXPECT_EQ(LookOf(brighter), (Look{Rgb(0xFF0000), 2, Rgb(0xFF0000)}));
    EXPECT_EQ(InnerCorner(brighter.body), RGB(0xFF, 0x00, 0x00)) << "painted only later";

    Send(*window_, WM_LBUTTONUP, {at.x + 300, at.y});  // released away from the button
    EXPECT_EQ(LookOf(brighter), kNormal);
    EXPECT_EQ(InnerCorner(brighter.body), RGB(0x00, 0x88, 0xFF));
}

class HeldButton : public ::testing::Test {
protected:
    void SetUp() override {
        ui::WindowBehaviour behaviour;
        behaviour.events = {
            {app::main_controls::kBackground, ControlEvent::MouseMove, [this](ui::Window&) { ++backgroundMoves_; }},
            {app::main_controls::kPhotoLabel, ControlEvent::MouseMove, [this](ui::Window&) { ++buttonMoves_; }},
        };
        window_ = MainWindow(std::move(behaviour));
        ASSERT_TRUE(window_);
        button_ = CentreOf(*window_, mc::kPhotoLabel.name);
    }
    std::unique_ptr<ui::Window> window_;
    POINT button_{};
    const POINT background_{150, 20};
    int backgroundMoves_ = 0, buttonMoves_ = 0;
};

TEST_F(HeldButton, MovesBelongToThePressedControlUntilTheRelease) {
    Send(*window_, WM_LBUTTONDOWN, button_);
    Send(*window_, WM_MOUSEMOVE, background_);  // slid off onto the draggable background
    EXPECT_EQ(backgroundMoves_, 0);
    EXPECT_EQ(buttonMoves_, 1);
    Send(*window_, WM_LBUTTONUP, background_);

    Send(*window_, WM_MOUSEMOVE, background_);  // no button held: what is under the pointer
    EXPECT_EQ(backgroundMoves_, 1);
    EXPECT_EQ(buttonMoves_, 1);

    // A press on the background keeps its moves over a button: the window drags on.
    Send(*window_, WM_LBUTTONDOWN, background_);
    Send(*window_, WM_MOUSEMOVE, button_);
    EXPECT_EQ(backgroundMoves_, 2);
    EXPECT_EQ(buttonMoves_, 1);
    Send(*window_, WM_LBUTTONUP, button_);
}

const ui::ControlRow kRows[] = {{.name = "底", .rect = {0, 0, 120, 80}}};
const ui::WindowTemplate kLayout{120, 80, kRows, {}};

TEST(ClosingHook, ASaidNoKeepsTheWindowWhicheverWayItWasAskedToClose) {
    int asked = 0;
    bool mayClose = false;
    ui::WindowBehaviour behaviour;
    behaviour.closing = [&](ui::Window& w) {
        ++asked;
        w.Close();  // a second request while the first is being asked
        return mayClose;
    };
    auto window = ui::Window::Create(kLayout, std::move(behaviour));
    ASSERT_TRUE(window);

    window->Close();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(window->IsAlive());
    ::SendMessageW(window->Handle(), WM_CLOSE, 0, 0);  // Alt+F4, the taskbar
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(window->IsAlive());

    mayClose = true;
    HWND handle = window->Handle();
    window->Close();
    EXPECT_EQ(asked, 3);
    EXPECT_FALSE(window->IsAlive());
    EXPECT_FALSE(::IsWindow(handle));
}

}  // namespace
