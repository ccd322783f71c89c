// The keyboard at the photo desk (arrow keys nudge the preview, whichever window has the
// keyboard), the Shape buttons' looks under a held mouse button, and the question asked
// before photos that were never saved are thrown away.
#include "tests/e2e/orvia_session.h"

#include "app/main_controls.h"
#include "platform/owners.h"

#include <tuple>

namespace mc = app::main_controls;

namespace e2e {
namespace {

constexpr char kPhotoLabel[] = "透明标签_拍照";
constexpr char kPhotoBody[] = "外形框_拍照";
constexpr char kPreview[] = "外形框_视频";
// The question names how many photos would be lost: these tests take one.
constexpr wchar_t kUnsavedQuestion[] = L"有 1 张照片还没有保存，确定退出吗？";

class Keys : public OrviaSession {
protected:
    POINT PreviewAt() {
        const Report r = MustQuery(kPreview);
        return {static_cast<LONG>(ReportNumber(r, "x")), static_cast<LONG>(ReportNumber(r, "y"))};
    }
    // Presses the key and waits for the preview to get to `expected`; true when it did.
    bool NudgeTo(WORD key, POINT expected) {
        PressKey(key);
        return WaitUntil([&] {
            const POINT now = PreviewAt();
            return now.x == expected.x && now.y == expected.y;
        }, 5s);
    }
};

using ArrowKeys = Keys;

TEST_F(ArrowKeys, NudgeThePreviewTenPixelsWhicheverWindowHasTheKeyboard) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    ASSERT_TRUE(BringToForeground(orvia_.MainWindow()));
    const POINT start = PreviewAt();
    EXPECT_TRUE(NudgeTo(VK_LEFT, {start.x - 10, start.y})) << "Left";
    EXPECT_TRUE(NudgeTo(VK_UP, {start.x - 10, start.y - 10})) << "Up";
    EXPECT_TRUE(NudgeTo(VK_RIGHT, {start.x, start.y - 10})) << "Right";
    EXPECT_TRUE(NudgeTo(VK_DOWN, start)) << "Down";

    // A window of another program in front.
    using UniqueWindow = platform::Unique<platform::NullTraits<HWND, ::DestroyWindow>>;
    UniqueWindow other(::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"another program", WS_POPUP | WS_VISIBLE | WS_BORDER,
                                         10, 10, 200, 100, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(other);
    ASSERT_TRUE(BringToForeground(other.get()));
    EXPECT_TRUE(NudgeTo(VK_RIGHT, {start.x + 10, start.y})) << "Right, another window in front";
    EXPECT_TRUE(NudgeTo(VK_DOWN, {start.x + 10, start.y + 10})) << "Down, another window in front";
    EXPECT_EQ(::GetForegroundWindow(), other.get());
}

constexpr COLORREF kOrange = Colour(0xFF8000);

// The Photo button as the screen shows it: the three outermost pixels of its body's left
// edge, halfway down (a 2-pixel orange outline on the blue body while it is held), and the
// colour its caption shows in (white, orange or neither).
auto LookOf(const Report& body) {
    const Screenshot shot = Screenshot::Capture(OnScreen(body));
    const int middle = shot.Height() / 2;
    const RECT inside{3, 3, shot.Width() - 3, shot.Height() - 3};
    const COLORREF caption = shot.CountColour(inside, kWhite) > kTextPixels    ? kWhite
                             : shot.CountColour(inside, kOrange) > kTextPixels ? kOrange
                                                                              : CLR_INVALID;
    return std::tuple{shot.Pixel(0, middle), shot.Pixel(1, middle), shot.Pixel(2, middle), caption};
}
const auto kNormalLook = std::tuple{kAccentBlue, kAccentBlue, kAccentBlue, kWhite};
const auto kPressedLook = std::tuple{kOrange, kOrange, kAccentBlue, kOrange};

using PhotoButtonLook = OrviaSession;

TEST_F(PhotoButtonLook, OrangeWhileHeldBlueAgainAfterTheRelease) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    const Report body = MustQuery(kPhotoBody);
    const auto look = [&] { return LookOf(body); };
    EXPECT_EQ(look(), kNormalLook);

    MoveMouseTo(CentreOf(MustQuery(kPhotoLabel)));
    LeftDown();
    EXPECT_TRUE(WaitUntil([&] { return look() == kPressedLook; })) << "no pressed look while the button is held";
    ShootMainWindow("held");
    LeftUp();
    EXPECT_TRUE(WaitUntil([&] { return look() == kNormalLook; })) << "the pressed look stayed after the release";
}

using HeldPhotoButton = OrviaSession;

TEST_F(HeldPhotoButton, SlidingOffOntoTheBackgroundDoesNotDragTheWindow) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    const RECT before = orvia_.WindowRect();
    // Up from the button onto the bare background between the photo slots and the buttons.
    PressAndDrag(CentreOf(MustQuery(kPhotoLabel)), 0, -100);
    Pause(300ms);  // nothing to wait for: give it the time a drag would take
    LeftUp();
    Pause(300ms);
    const RECT after = orvia_.WindowRect();
    EXPECT_TRUE(::EqualRect(&before, &after)) << "the window moved from (" << before.left << ", " << before.top
                                              << ") to (" << after.left << ", " << after.top << ")";
    const Report body = MustQuery(kPhotoBody);
    EXPECT_TRUE(WaitUntil([&] { return LookOf(body) == kNormalLook; }, 2s)) << "still pressed after the release";
}

class UnsavedPhotos : public Keys {
protected:
    // One capture with the Photo button; it lands on the first photo slot.
    void TakeAPhoto() {
        ClickAt(CentreOf(MustQuery(kPhotoLabel)));
        ASSERT_TRUE(WaitUntil([&] { return !MustQuery(mc::kSlots[0].board.name)["value"].empty(); }))
            << "the Photo button took no photo";
    }
    // Esc on the Main window; the question it brings up, or null.
    HWND EscapeAndFindTheQuestion() {
        BringToForeground(orvia_.MainWindow());
        PressKey(VK_ESCAPE);
        return WaitForWindowOf(orvia_.Id(), kDialogClass);
    }
};

TEST_F(UnsavedPhotos, ClosingAsksFirstCancelKeepsTheProgramAndOkEndsIt) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    ASSERT_NO_FATAL_FAILURE(TakeAPhoto());
    const POINT preview = PreviewAt();

    HWND question = EscapeAndFindTheQuestion();
    ASSERT_NE(question, nullptr) << (orvia_.IsRunning() ? "no question appeared" : "it ended without asking");
    EXPECT_EQ(MessageBoxText(question), kUnsavedQuestion);
    // The arrow keys belong to the box while it is open, not to the preview behind it.
    PressKey(VK_LEFT);
    Pause(300ms);
    EXPECT_EQ(PreviewAt().x, preview.x) << "the preview moved behind the question";
    PressDialogButton(question, IDCANCEL);
    // The box hides before it is gone, and the keys come back only once it is gone.
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(question); })) << "the question stayed after Cancel";
    Pause(100ms);
    EXPECT_TRUE(orvia_.IsRunning());
    EXPECT_TRUE(NudgeTo(VK_LEFT, {preview.x - 10, preview.y})) << "the arrow keys did not come back after the box";

    // The close button asks the same question.
    ClickAt(CentreOf(MustQuery(mc::kCloseButton.name)));
    question = WaitForWindowOf(orvia_.Id(), kDialogClass);
    ASSERT_NE(question, nullptr) << (orvia_.IsRunning() ? "no question appeared" : "it ended without asking");
    EXPECT_EQ(MessageBoxText(question), kUnsavedQuestion);
    PressDialogButton(question, IDOK);
    ASSERT_TRUE(orvia_.WaitForExit(10s)) << "still running after OK";
    EXPECT_EQ(orvia_.ExitCode(), 0u);
}

// Enter answers the question with its default, Cancel, the answer that keeps the photos.
TEST_F(UnsavedPhotos, EnterAnswersTheQuestionInsteadOfTakingAnotherPhoto) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    ASSERT_NO_FATAL_FAILURE(TakeAPhoto());
    HWND question = EscapeAndFindTheQuestion();
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(BringToForeground(question));
    PressKey(VK_RETURN);  // Cancel is the default button
    const bool answered = WaitUntil([&] { return !::IsWindow(question) || !::IsWindowVisible(question); }, 10s);
    EXPECT_TRUE(answered) << "Enter did not answer the question";
    EXPECT_TRUE(orvia_.IsRunning()) << "Enter ended the program and its unsaved photo";
    Pause(300ms);
    EXPECT_EQ(MustQuery(mc::kSlots[1].board.name)["value"], "") << "Enter took a photo behind the box";
    if (!answered) PressDialogButton(question, IDCANCEL);
}

TEST_F(UnsavedPhotos, WithNothingTakenEscEndsTheProgramWithoutAsking) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    ASSERT_TRUE(BringToForeground(orvia_.MainWindow()));
    PressKey(VK_ESCAPE);
    bool asked = false;
    const bool ended = WaitUntil([&] {
        asked = asked || !VisibleWindowsOf(orvia_.Id(), kDialogClass).empty();
        return !orvia_.IsRunning();
    }, 10s);
    EXPECT_TRUE(ended) << "still running after Esc";
    EXPECT_FALSE(asked) << "asked although nothing was taken";
}

}  // namespace
}  // namespace e2e
