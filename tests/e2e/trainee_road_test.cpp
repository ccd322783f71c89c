// One trainee after another at the desk: the next naming (a card or a typed name) empties
// the slots, and photos the disk does not have under the name shown (never saved, brightened
// after their save, retaken after it) are given up only when the operator says so. Also
// naming by hand on a reader desk when a card cannot be read.
#include "tests/e2e/demo_camera.h"
#include "tests/e2e/orvia_session.h"
#include "tests/e2e/reader_emulator_client.h"

#include "app/main_controls.h"
#include "platform/win_text.h"
#include "reader/reader.h"
#include "ui/input_box.h"

namespace e2e {
namespace {

namespace mc = app::main_controls;

constexpr int kPort = 11;
constexpr char kZhangsan[] = "张三_110101199003071234";
constexpr char kLisi[] = "李四_440106199808081212";
constexpr char kCaptured[] = "295×412";  // a slot's value once it holds a picture
constexpr wchar_t kNotSaved[] = L" 张照片还没有保存，换下一位学员会清空它们。确定换吗？";
constexpr wchar_t kInputTitle[] = L"输入照片名称";
constexpr wchar_t kPlaceCardAgain[] = L"请重新放好身份证";

class TraineeDesk : public OrviaSession {
protected:
    void TearDown() override {
        if (HasFailure() && emulator_.Port() != 0) std::printf("emulator log:\n%s\n", emulator_.Log().c_str());
        OrviaSession::TearDown();
    }
    void StartWithReader(std::string_view card) {
        if (const std::string why = ReaderEmulator::Unavailable(); !why.empty()) GTEST_SKIP() << why;
        ASSERT_TRUE(emulator_.Start(kPort, card)) << emulator_.Error();
        ASSERT_NO_FATAL_FAILURE(StartOrvia());
    }
    // The same with the demo camera running, so that each shot is a picture of its own (with
    // no camera every shot is the same black picture, which a save of one has on disk).
    void StartWithReaderAndCamera(std::string_view card) {
        if (const std::string why = ReaderEmulator::Unavailable(); !why.empty()) GTEST_SKIP() << why;
        ASSERT_TRUE(emulator_.Start(kPort, card)) << emulator_.Error();
        ASSERT_NO_FATAL_FAILURE(StartOrvia(DemoCameraEnvironment()));
        ASSERT_TRUE(StartDemoCamera(orvia_.MainWindow())) << "the camera shows no picture";
    }

    std::string Caption() { return MustQuery(mc::kStudentLabel.name)["caption"]; }
    bool CaptionBecomes(const std::string& caption) {
        return WaitUntil([&] { return Caption() == caption; }, 10s);
    }
    void PressLabel() { ClickAt(CentreOf(MustQuery(mc::kStudentLabel.name))); }
    // Takes the card on the reader away and lays `card` down in its place.
    bool SwapCard(std::string_view card) {
        return emulator_.TakeCardAway() && emulator_.SetCard(card);
    }
    // The same, until the watch has read `card` and the Student label names it.
    bool LayCard(std::string_view card, const std::string& caption) {
        return SwapCard(card) && CaptionBecomes(caption);
    }

    bool Holds(int slot) { return MustQuery(mc::kSlots[Index(slot)].board.name)["value"] == kCaptured; }
    std::string Held() {
        std::string held;
        for (int k = 1; k <= 4; ++k) held += Holds(k) ? '1' : '0';
        return held;
    }
    // A press on the Photo button; true once slot `slot` holds a picture it did not hold.
    bool CaptureInto(int slot) {
        const bool before = Holds(slot);
        if (before) {
            ADD_FAILURE() << "slot " << slot << " already holds a picture";
            return false;
        }
        ClickAt(CentreOf(MustQuery(mc::kPhotoLabel.name)));
        return WaitUntil([&] { return Holds(slot); }, 3s);
    }
    bool BrightnessShown() {
        for (const mc::SlotIds& ids : mc::kSlots)
            if (MustQuery(ids.brightnessGroup.name)["shown"] == "1") return true;
        return false;
    }
    // Double-clicks the slot and answers the save question with OK; true once the file is there.
    bool Save(int slot, const std::string& identity) {
        DoubleClickAt(CentreOf(MustQuery(mc::kSlots[Index(slot)].board.name)));
        if (!Answer(L"要保存" + platform::Wide(identity) + L"的图片吗？", IDOK)) return false;
        const std::wstring file = JoinPath(dir_ / L"学员照片", platform::Wide(identity) + L".jpg");
        return WaitUntil([&] { return IsPlainFile(file); }, 3s);
    }

    HWND Box(std::wstring_view text, Milliseconds timeout = 5s) {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                for (HWND box : VisibleWindowsOf(orvia_.Id(), kDialogClass))
                    if (MessageBoxText(box) == text) found = box;
                return found != nullptr;
            },
            timeout);
        return found;
    }
    bool Answer(std::wstring_view text, int button) {
        HWND box = Box(text);
        return box && PressDialogButton(box, button) && WaitUntil([&] { return !::IsWindowVisible(box); }, 3s);
    }
    bool NoBoxOpen() { return VisibleWindowsOf(orvia_.Id(), kDialogClass).empty(); }
    // The next-trainee question, naming how many photos would be lost.
    static std::wstring ChangeQuestion(const std::string& identity, int lost) {
        return platform::Wide(identity) + L" 的 " + std::to_wstring(lost) + kNotSaved;
    }
    void PressBrighter(int slot) { ClickAt(CentreOf(MustQuery(mc::kSlots[Index(slot)].brighter.label.name))); }

    // The input box, opened by a press on the Student label.
    HWND OpenInputBox() {
        PressLabel();
        return WaitForBoxSaying(orvia_.Id(), kInputTitle);
    }
    static std::wstring Field(HWND box) { return TextOf(::GetDlgItem(box, ui::kInputBoxEditId)); }
    bool TypeName(HWND box, std::wstring_view name, int button = IDOK) {
        ::SendMessageW(::GetDlgItem(box, ui::kInputBoxEditId), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(std::wstring(name).c_str()));
        return PressDialogButton(box, button) &&
               WaitUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); }, 3s);
    }
    bool NameByHand(std::wstring_view name) {
        HWND box = OpenInputBox();
        return box && TypeName(box, name);
    }

    static std::size_t Index(int slot) { return static_cast<std::size_t>(slot - 1); }

    ReaderEmulator emulator_;  // goes before the program
};

using NextTrainee = TraineeDesk;

TEST_F(NextTrainee, TheNextCardBeforeASaveAsksFirstAndNoKeepsEverything) {
    ASSERT_NO_FATAL_FAILURE(StartWithReader("none"));
    ASSERT_TRUE(LayCard("zhangsan", kZhangsan)) << Caption();
    ASSERT_TRUE(CaptureInto(1));
    ASSERT_TRUE(CaptureInto(2));

    // 李四's card laid down: read at once, and asked about first.
    ASSERT_TRUE(SwapCard("lisi"));
    ASSERT_TRUE(Answer(ChangeQuestion(kZhangsan, 2), IDNO)) << "no question before 李四 is named";
    Pause(300ms);
    EXPECT_EQ(Caption(), kZhangsan);
    EXPECT_EQ(Held(), "1100");
    ASSERT_TRUE(CaptureInto(3)) << "the counter went on where it was";

    // A press reads the card lying there again; Yes gives up 张三's photos: all four slots
    // empty, the next shot in slot 1.
    PressLabel();
    ASSERT_TRUE(Answer(ChangeQuestion(kZhangsan, 3), IDYES));
    ASSERT_TRUE(CaptionBecomes(kLisi)) << Caption();
    EXPECT_EQ(Held(), "0000");
    EXPECT_FALSE(BrightnessShown());
    EXPECT_TRUE(CaptureInto(1));
}

TEST_F(NextTrainee, AfterASaveTheNextCardEmptiesTheSlotsAndResetsTheCounter) {
    ASSERT_NO_FATAL_FAILURE(StartWithReader("none"));
    ASSERT_TRUE(LayCard("zhangsan", kZhangsan)) << Caption();
    for (int k = 1; k <= 3; ++k) ASSERT_TRUE(CaptureInto(k));
    ASSERT_TRUE(Save(2, kZhangsan));
    ClickAt(CentreOf(MustQuery(mc::kSlots[1].board.name)));
    ASSERT_TRUE(WaitUntil([&] { return BrightnessShown(); }, 2s));

    // The same card again changes nothing.
    PressLabel();
    Pause(500ms);
    EXPECT_TRUE(NoBoxOpen());
    EXPECT_EQ(Held(), "1110");

    ASSERT_TRUE(LayCard("lisi", kLisi)) << Caption();
    EXPECT_TRUE(NoBoxOpen()) << "张三's photo was saved: nothing to ask";
    EXPECT_EQ(Held(), "0000");
    EXPECT_FALSE(BrightnessShown());
    EXPECT_TRUE(CaptureInto(1));
}

// Retakes of a trainee after the save are not the next trainee's photos: the next card asks.
TEST_F(NextTrainee, RetakesAfterASaveAreAskedAboutBeforeTheNextCard) {
    ASSERT_NO_FATAL_FAILURE(StartWithReaderAndCamera("none"));
    ASSERT_TRUE(LayCard("zhangsan", kZhangsan)) << Caption();
    ASSERT_TRUE(CaptureInto(1));
    ASSERT_TRUE(Save(1, kZhangsan));
    ASSERT_TRUE(CaptureInto(2));  // a retake of 张三

    ASSERT_TRUE(SwapCard("lisi"));
    ASSERT_TRUE(Answer(ChangeQuestion(kZhangsan, 1), IDNO)) << "李四 named over 张三's retake";
    Pause(300ms);
    EXPECT_EQ(Caption(), kZhangsan);
    EXPECT_EQ(Held(), "1100");

    // The retake saved (the first photo kept in 已替换): nothing is left to lose.
    ASSERT_TRUE(Save(2, kZhangsan));
    PressLabel();
    ASSERT_TRUE(CaptionBecomes(kLisi)) << Caption();
    EXPECT_TRUE(NoBoxOpen());
    EXPECT_EQ(Held(), "0000");
}

// A photo brightened after its save is not what the disk has: the next card asks, and the
// brightness buttons come back on a press of the slot that kept the focus.
TEST_F(NextTrainee, APhotoBrightenedAfterItsSaveIsAskedAboutBeforeTheNextCard) {
    ASSERT_NO_FATAL_FAILURE(StartWithReader("none"));
    ASSERT_TRUE(LayCard("zhangsan", kZhangsan)) << Caption();
    ASSERT_TRUE(CaptureInto(1));
    ASSERT_TRUE(Save(1, kZhangsan));
    ClickAt(CentreOf(MustQuery(mc::kSlots[0].board.name)));
    ASSERT_TRUE(WaitUntil([&] { return BrightnessShown(); }, 2s));
    const RECT slot1 = OnScreen(MustQuery(mc::kSlots[0].board.name));
    const std::uint64_t saved = SettledCapture(slot1).Hash();
    PressBrighter(1);
    ASSERT_TRUE(WaitUntil([&] { return SettledCapture(slot1).Hash() != saved; }, 2s)) << "not brightened";

    ASSERT_TRUE(SwapCard("lisi"));
    ASSERT_TRUE(Answer(ChangeQuestion(kZhangsan, 1), IDYES)) << "the brightened photo went without a word";
    ASSERT_TRUE(CaptionBecomes(kLisi)) << Caption();
    EXPECT_EQ(Held(), "0000");
    EXPECT_FALSE(BrightnessShown());

    ASSERT_TRUE(CaptureInto(1));
    ClickAt(CentreOf(MustQuery(mc::kSlots[0].board.name)));
    EXPECT_TRUE(WaitUntil([&] { return BrightnessShown(); }, 2s)) << "no brightness buttons on the press";
}

using NamingTheNextByHand = TraineeDesk;

TEST_F(NamingTheNextByHand, BeforeASaveItAsksAndCancelOrNoKeepsTheNameAndTheSlots) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    ASSERT_TRUE(NameByHand(L"张三_1"));
    ASSERT_TRUE(CaptionBecomes("张三_1"));
    ASSERT_TRUE(CaptureInto(1));

    // Cancel in the input box: nothing asked, nothing changed.
    HWND box = OpenInputBox();
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(TypeName(box, L"李四_2", IDCANCEL));
    Pause(300ms);
    EXPECT_TRUE(NoBoxOpen());
    EXPECT_EQ(Caption(), "张三_1");

    // A new name: asked first; No keeps 张三 and the photo.
    ASSERT_TRUE(NameByHand(L"李四_2"));
    ASSERT_TRUE(Answer(ChangeQuestion("张三_1", 1), IDNO));
    Pause(300ms);
    EXPECT_EQ(Caption(), "张三_1");
    EXPECT_EQ(Held(), "1000");

    // The same name again asks nothing.
    ASSERT_TRUE(NameByHand(L"张三_1"));
    Pause(300ms);
    EXPECT_TRUE(NoBoxOpen());
    EXPECT_EQ(Held(), "1000");

    ASSERT_TRUE(NameByHand(L"李四_2"));
    ASSERT_TRUE(Answer(ChangeQuestion("张三_1", 1), IDYES));
    ASSERT_TRUE(CaptionBecomes("李四_2"));
    EXPECT_EQ(Held(), "0000");
}

TEST_F(NamingTheNextByHand, ShotsTakenBeforeTheFirstNamingAreKept) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    ASSERT_TRUE(CaptureInto(1));
    ASSERT_TRUE(CaptureInto(2));
    ASSERT_TRUE(NameByHand(L"王五_3"));
    ASSERT_TRUE(CaptionBecomes("王五_3"));
    Pause(300ms);
    EXPECT_TRUE(NoBoxOpen());
    EXPECT_EQ(Held(), "1100");
    EXPECT_TRUE(Save(2, "王五_3"));
}

using UnreadableCard = TraineeDesk;

TEST_F(UnreadableCard, AFailedReadThenALabelPressNamesByHandAndLaterCardsAreRead) {
    ASSERT_NO_FATAL_FAILURE(StartWithReader("none"));
    ASSERT_TRUE(LayCard("zhangsan", kZhangsan)) << Caption();
    ASSERT_TRUE(CaptureInto(1));
    ASSERT_TRUE(Save(1, kZhangsan));

    // A card the reader cannot read: the next press names by hand, starting from the name shown.
    ASSERT_TRUE(emulator_.TakeCardAway());
    PressLabel();
    ASSERT_TRUE(Answer(kPlaceCardAgain, IDOK));
    HWND box = OpenInputBox();
    ASSERT_NE(box, nullptr) << "the press after a failed read opens the input box";
    EXPECT_EQ(Field(box), platform::Wide(kZhangsan));
    ASSERT_TRUE(TypeName(box, L"王五_110101199001011234"));
    ASSERT_TRUE(CaptionBecomes("王五_110101199001011234")) << Caption();
    EXPECT_EQ(Held(), "0000") << "张三's saved photo went with him";
    ASSERT_TRUE(CaptureInto(1));
    EXPECT_TRUE(Save(1, "王五_110101199001011234"));

    // The next card is read again through the label.
    ASSERT_TRUE(LayCard("lisi", kLisi)) << Caption();
}

}  // namespace
}  // namespace e2e
