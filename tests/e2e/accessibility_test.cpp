// The Main window as screen readers and automation tools see it from another process:
// every Template control a child of the client's accessible object, found by its Template
// name, with its role, its place on the screen and its state; the painted buttons pressed
// through their default action; the Student label named by the current identity.
#include "tests/e2e/accessible_window.h"
#include "tests/e2e/demo_camera.h"
#include "tests/e2e/orvia_session.h"
#include "tests/e2e/reader_emulator_client.h"

#include "app/main_controls.h"
#include "app/main_template.h"
#include "reader/reader.h"
#include "ui/control_tree.h"

#include <atomic>
#include <thread>
#include <vector>

namespace mc = app::main_controls;

namespace e2e {
namespace {

constexpr char kPress[] = "按下";
constexpr char kCaptured[] = "295×412";  // a slot's value once it holds a frame

// The painted controls the operator presses like buttons.
bool PressedLikeAButton(std::string_view name) {
    return name == app::main_controls::kPhotoLabel.name || name == app::main_controls::kReadCardLabel.name || name == app::main_controls::kStudentLabel.name ||
           name.starts_with("透明标签_增加亮度") || name.starts_with("透明标签_减少亮度");
}

COLORREF OnScreenColour(ui::Colour colour) {
    return colour == ui::kButtonFace ? ::GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(colour.value);
}

// Presses a child through its default action, as assistive tools do.
HRESULT DoDefaultAction(const AccessibleWindow& window, long child) {
    return window.get()->accDoDefaultAction(ChildId(child));
}

class AccessibleMainWindow : public OrviaSession {
protected:
    // The Main window's controls as they stand after a start without a reader: the
    // Read-card button hidden in favour of the Photo button.
    static ui::ControlTree StartedTree() {
        auto tree = ui::ControlTree::Build(app::MainWindowTemplate().controls);
        tree->At(tree->IndexOf(app::main_controls::kReadCardBody.name)).visible = false;
        return std::move(*tree);
    }
};

TEST_F(AccessibleMainWindow, EveryControlIsAChildFoundByItsNameWithItsRolePlaceAndState) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    const AccessibleWindow main(orvia_.MainWindow());
    ASSERT_TRUE(main) << "no accessible object for the Main window's client";
    const ui::ControlTree tree = StartedTree();
    ASSERT_EQ(main.ChildCount(), tree.Count());
    const Screenshot shot = ShootMainWindow();
    const POINT client = Client(0, 0);

    // The standard enumeration: painted controls are simple elements (their child ids),
    // controls with a window the platform's objects of their windows.
    std::vector<OwnedVariant> children(static_cast<std::size_t>(tree.Count()));
    std::vector<VARIANT> raw(children.size());
    LONG obtained = 0;
    const HRESULT enumerated = ::AccessibleChildren(main.get(), 0, tree.Count(), raw.data(), &obtained);
    for (LONG i = 0; i < obtained; ++i) *children[static_cast<std::size_t>(i)].put() = raw[static_cast<std::size_t>(i)];
    ASSERT_EQ(enumerated, S_OK);
    ASSERT_EQ(obtained, tree.Count());

    for (int i = 0; i < tree.Count(); ++i) {
        const ui::ControlRow& row = *tree.At(i).row;
        const std::string name(row.name);
        SCOPED_TRACE(name);
        const long id = i + 1;
        EXPECT_EQ(main.Find(name), id) << "not found by its name, or not in Template order";
        const Report report = main.Describe(id);
        ASSERT_FALSE(report.empty());
        EXPECT_EQ(report.at("name"), name);
        EXPECT_EQ(report.at("shown"), tree.IsShown(i) ? "1" : "0");
        const VARIANT& child = children[static_cast<std::size_t>(i)].get();

        if (ui::NeedsOwnWindow(row)) {
            ASSERT_EQ(child.vt, VT_DISPATCH) << "a control with a window is the platform's object of it";
            const HWND window = WindowOfObject(child.pdispVal);
            ASSERT_TRUE(window && ::IsChild(orvia_.MainWindow(), window));
            EXPECT_EQ(ReportWindow(report), window);
            RECT placed{};
            ::GetWindowRect(window, &placed);
            const RECT reported = OnScreen(report);
            EXPECT_TRUE(::EqualRect(&placed, &reported)) << "its location is not its window's";
            continue;
        }

        // A painted control: a simple element of ours, where the Template paints it.
        ASSERT_EQ(child.vt, VT_I4);
        EXPECT_EQ(child.lVal, id);
        EXPECT_EQ(ReportWindow(report), nullptr);
        const long role = row.kind == ui::ControlKind::TransparentLabel
                              ? (PressedLikeAButton(row.name) ? ROLE_SYSTEM_PUSHBUTTON : ROLE_SYSTEM_STATICTEXT)
                              : ROLE_SYSTEM_GROUPING;
        EXPECT_EQ(ReportNumber(report, "role"), role);
        EXPECT_EQ(report.count("action"), PressedLikeAButton(row.name) ? 1u : 0u);
        const ui::Rect place = tree.AbsoluteRect(i);
        EXPECT_EQ(ReportNumber(report, "screen_x"), client.x + place.left);
        EXPECT_EQ(ReportNumber(report, "screen_y"), client.y + place.top);
        EXPECT_EQ(ReportNumber(report, "w"), place.width);
        EXPECT_EQ(ReportNumber(report, "h"), place.height);
        // Captions as they are now: without a reader the Student label asks for the name.
        EXPECT_EQ(report.at("caption"), name == app::main_controls::kStudentLabel.name ? std::string(reader::kReaderFailurePrompt)
                                                                       : tree.At(i).caption);
        if (!tree.IsShown(i)) continue;
        // And the screen agrees: a shape box's outline on its left edge with its background
        // inside, a label's text in its colour within its place.
        const int x = static_cast<int>(ReportNumber(report, "x"));
        const int y = static_cast<int>(ReportNumber(report, "y"));
        const int w = static_cast<int>(ReportNumber(report, "w"));
        const int h = static_cast<int>(ReportNumber(report, "h"));
        if (row.kind == ui::ControlKind::ShapeBox) {
            EXPECT_EQ(shot.Pixel(x, y + h / 2), OnScreenColour(row.outline)) << "no outline where it is said to be";
            EXPECT_EQ(shot.Pixel(x + 1, y + h / 2), OnScreenColour(row.background)) << "no background inside it";
        } else if (row.kind == ui::ControlKind::TransparentLabel && !report.at("caption").empty()) {
            const RECT area{x, y, x + w, y + h};
            EXPECT_GT(shot.CountColour(area, OnScreenColour(row.text)), 0) << "no text of its colour in its place";
        }
    }

    // What stands where after a start without a reader.
    EXPECT_EQ(MustQuery(app::main_controls::kReadCardBody.name)["shown"], "0");
    EXPECT_EQ(MustQuery(app::main_controls::kReadCardLabel.name)["shown"], "0");
    EXPECT_EQ(MustQuery(app::main_controls::kPhotoBody.name)["shown"], "1");
    EXPECT_EQ(MustQuery(app::main_controls::kPhotoLabel.name)["shown"], "1");
    EXPECT_EQ(MustQuery(mc::kSlots[0].brighter.label.name)["shown"], "0") << "inside a hidden group";
    EXPECT_EQ(MustQuery(app::main_controls::kStudentLabel.name)["caption"], reader::kReaderFailurePrompt);
}

// What a screen reader announces for everything the operator can press, pick or move.
TEST_F(AccessibleMainWindow, EveryControlThatTakesAPressHasAName) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    const AccessibleWindow main(orvia_.MainWindow());
    ASSERT_TRUE(main);
    int named = 0;
    for (long id = 1; id <= main.ChildCount(); ++id) {
        const Report report = main.Describe(id);
        ASSERT_FALSE(report.empty());
        SCOPED_TRACE(report.at("name"));
        OwnedVariant state;
        ASSERT_EQ(main.get()->get_accState(ChildId(id), state.put()), S_OK);
        const long role = ReportNumber(report, "role");
        const bool takesAPress = report.count("action") > 0 || role == ROLE_SYSTEM_PUSHBUTTON ||
                                 role == ROLE_SYSTEM_LIST || role == ROLE_SYSTEM_SLIDER ||
                                 (state.get().lVal & STATE_SYSTEM_FOCUSABLE) != 0;
        if (!takesAPress) continue;
        EXPECT_FALSE(report.at("caption").empty()) << "announced without a name";
        ++named;
    }
    EXPECT_GE(named, 12) << "the buttons, slots, list and slider";
}

TEST_F(AccessibleMainWindow, ThePhotoLabelsDefaultActionCapturesIntoSlotOne) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia(DemoCameraEnvironment()));
    ASSERT_TRUE(StartDemoCamera(orvia_.MainWindow())) << "the camera shows no picture";
    const AccessibleWindow main(orvia_.MainWindow());
    ASSERT_TRUE(main);
    const long photo = main.Find(app::main_controls::kPhotoLabel.name);
    ASSERT_NE(photo, 0);
    EXPECT_EQ(main.Describe(photo)["action"], kPress);
    const RECT slot1 = OnScreen(MustQuery(mc::kSlots[0].board.name));
    const std::uint64_t empty = SettledCapture(slot1).Hash();
    EXPECT_EQ(MustQuery(mc::kSlots[0].board.name)["value"], "");

    EXPECT_EQ(DoDefaultAction(main, photo), S_OK);
    EXPECT_TRUE(WaitUntil([&] { return MustQuery(mc::kSlots[0].board.name)["value"] == kCaptured; }, 3s)) << "no photo in slot 1";
    EXPECT_TRUE(WaitUntil([&] { return SettledCapture(slot1).Hash() != empty; }, 3s)) << "slot 1 shows no photo";
    EXPECT_EQ(MustQuery(mc::kSlots[1].board.name)["value"], "") << "one press, one photo";
}

TEST_F(AccessibleMainWindow, APressThatOpensABoxDoesNotHoldTheCallerAndHiddenOrPlainControlsHaveNone) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    const AccessibleWindow main(orvia_.MainWindow());
    ASSERT_TRUE(main);

    // Without a reader the Student label asks for the name in a modal box.
    const long student = main.Find(app::main_controls::kStudentLabel.name);
    ASSERT_NE(student, 0);
    std::atomic<bool> returned{false};
    HRESULT result = E_PENDING;
    std::thread caller([&] {
        const AccessibleWindow own(orvia_.MainWindow());  // its own apartment, as another tool's
        result = own ? DoDefaultAction(own, student) : E_FAIL;
        returned = true;
    });
    const HWND box = WaitForBoxSaying(orvia_.Id(), L"输入照片名称");
    EXPECT_NE(box, nullptr) << "the press opened no input box";
    EXPECT_TRUE(WaitUntil([&] { return returned.load(); }, 2s)) << "the call waited for the box it opened";
    if (box) PressDialogButton(box, IDCANCEL);
    caller.join();
    EXPECT_EQ(result, S_OK);
    EXPECT_TRUE(WaitUntil([&] { return VisibleWindowsOf(orvia_.Id(), kDialogClass).empty(); }, 3s));

    // The hidden Read-card button and the title take no press.
    EXPECT_EQ(DoDefaultAction(main, main.Find(app::main_controls::kReadCardLabel.name)), E_FAIL);
    EXPECT_EQ(DoDefaultAction(main, main.Find("透明标签3")), DISP_E_MEMBERNOTFOUND);
    Pause(300ms);  // nothing to wait for: give a box the time to appear
    EXPECT_TRUE(VisibleWindowsOf(orvia_.Id(), kDialogClass).empty()) << "a press on a hidden or plain control";
    EXPECT_EQ(MustQuery(app::main_controls::kStudentLabel.name)["caption"], "") << "the cancelled first naming empties the label";
}

// With the reader emulator (skipped without it): the Student label's name is the identity
// read from the card, each read pressed through the labels' default actions.
class AccessibleStudentLabel : public OrviaSession {
protected:
    void SetUp() override {
        if (const std::string why = ReaderEmulator::Unavailable(); !why.empty()) GTEST_SKIP() << why;
    }
    ReaderEmulator emulator_;  // goes before the program
};

TEST_F(AccessibleStudentLabel, ItsNameIsTheIdentityOfTheCardLastRead) {
    // The reader starts empty: its watch would read a card lying there at once.
    ASSERT_TRUE(emulator_.Start(12, "none")) << emulator_.Error();
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    const AccessibleWindow main(orvia_.MainWindow());
    ASSERT_TRUE(main);
    const long student = main.Find(app::main_controls::kStudentLabel.name);
    const long readCard = main.Find(app::main_controls::kReadCardLabel.name);
    EXPECT_EQ(main.Describe(student)["caption"], "请读身份证");
    EXPECT_EQ(main.Describe(readCard)["shown"], "1");

    ASSERT_TRUE(emulator_.SetCard("zhangsan"));
    EXPECT_EQ(DoDefaultAction(main, readCard), S_OK);
    EXPECT_TRUE(WaitUntil([&] { return main.Describe(student)["caption"] == "张三_110101199003071234"; }, 10s))
        << main.Describe(student)["caption"];
    EXPECT_TRUE(WaitUntil([&] { return main.Describe(readCard)["shown"] == "0"; }, 2s));

    // The next trainee's card, read through the Student label itself.
    ASSERT_TRUE(emulator_.SetCard("lisi"));
    EXPECT_EQ(DoDefaultAction(main, student), S_OK);
    EXPECT_TRUE(WaitUntil([&] { return main.Describe(student)["caption"] == "李四_440106199808081212"; }, 10s))
        << main.Describe(student)["caption"];
    EXPECT_TRUE(VisibleWindowsOf(orvia_.Id(), kDialogClass).empty());
}

}  // namespace
}  // namespace e2e
