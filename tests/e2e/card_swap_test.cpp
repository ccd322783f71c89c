// Cards swapped at awkward moments: while a box is open, after the operator kept the trainee
// named, during a capture, faster than the watch looks; keys held as a question comes; a
// press on the Read-card button handled after the card it was meant to read. Whatever the
// order, the name shown is the card on the reader (or the card waiting, shown as such) and
// no photo is written under another trainee's name.
#include "tests/e2e/demo_camera.h"
#include "tests/e2e/trainee_desk.h"

#include "platform/files.h"
#include "reader/card_watcher.h"

#include <atomic>
#include <thread>

namespace e2e {
namespace {

using CardSwap = TraineeDesk;

std::wstring PhotoOf(const TempProgramDir& dir, const std::string& identity) {
    return JoinPath(dir / L"学员照片", platform::Wide(identity) + L".jpg");
}

// A key held down from the Windows side: pressed once, then repeated as the keyboard does,
// until released.
class HeldKey {
public:
    explicit HeldKey(WORD key)
        : thread_([this, key] {
              while (!release_) {
                  Send(key, 0);
                  ::Sleep(33);
              }
              Send(key, KEYEVENTF_KEYUP);
          }) {}
    ~HeldKey() {
        release_ = true;
        thread_.join();
    }
    HeldKey(const HeldKey&) = delete;
    HeldKey& operator=(const HeldKey&) = delete;

private:
    static void Send(WORD key, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = flags;
        ::SendInput(1, &input, sizeof input);
    }
    std::atomic<bool> release_{false};
    std::thread thread_;
};

TEST_F(CardSwap, WhileTheSaveQuestionIsOpenTheNewCardNamesTheNextTraineeAfterIt) {
    ASSERT_NO_FATAL_FAILURE(StartWithReader("none"));
    ASSERT_TRUE(LayCard("zhangsan", kZhangsan)) << Caption();
    ASSERT_TRUE(CaptureInto(1));

    DoubleClickAt(CentreOf(MustQuery(mc::kSlots[0].board.name)));
    HWND question = Box(L"要保存" + platform::Wide(kZhangsan) + L"的图片吗？");
    ASSERT_NE(question, nullptr);
    // 张三 takes his card, 李四 lays hers down, all while the question is open.
    ASSERT_TRUE(emulator_.SetCard("lisi"));
    Pause(1s);
    ASSERT_TRUE(PressDialogButton(question, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return IsPlainFile(PhotoOf(dir_, kZhangsan)); }, 3s));
    const auto zhangsansPhoto = platform::ReadWholeFile(PhotoOf(dir_, kZhangsan));

    ASSERT_TRUE(CaptionBecomes(kLisi)) << "the card on the reader after the box is read: " << Caption();
    EXPECT_TRUE(NoBoxOpen()) << "张三's photo was saved: nothing to ask";
    ASSERT_TRUE(CaptureInto(1));
    ASSERT_TRUE(Save(1, kLisi));
    EXPECT_EQ(platform::ReadWholeFile(PhotoOf(dir_, kZhangsan)), zhangsansPhoto) << "张三's photo was written over";
}

TEST_F(CardSwap, ACardKeptWaitingIsNotAskedAboutAgainAndNamesTheNextTraineeOnceTheSaveIsMade) {
    ASSERT_NO_FATAL_FAILURE(StartWithReader("none"));
    ASSERT_TRUE(LayCard("zhangsan", kZhangsan)) << Caption();
    ASSERT_TRUE(CaptureInto(1));
    ASSERT_TRUE(SwapCard("lisi"));
    ASSERT_TRUE(Answer(ChangeQuestion(kZhangsan, 1), IDNO));
    EXPECT_TRUE(CaptionBecomes(Waiting(kZhangsan, "李四"))) << Caption();

    // Left lying longer than the watch takes to read a lying card again: not asked again.
    Pause(std::chrono::duration_cast<Milliseconds>(reader::CardWatcher::kReadAgainEvery) + 1500ms);
    EXPECT_TRUE(NoBoxOpen());
    EXPECT_EQ(Caption(), Waiting(kZhangsan, "李四"));

    // Taken away: no longer waiting; laid down again: asked again.
    ASSERT_TRUE(emulator_.TakeCardAway());
    EXPECT_TRUE(CaptionBecomes(kZhangsan)) << Caption();
    ASSERT_TRUE(emulator_.SetCard("lisi"));
    ASSERT_TRUE(Answer(ChangeQuestion(kZhangsan, 1), IDNO)) << "laid down again, not asked about";
    EXPECT_TRUE(CaptionBecomes(Waiting(kZhangsan, "李四"))) << Caption();

    // 张三's photo saved under his name; then 李四 is named with no question.
    ASSERT_TRUE(Save(1, kZhangsan));
    EXPECT_TRUE(CaptionBecomes(kLisi)) << Caption();
    EXPECT_TRUE(NoBoxOpen());
    EXPECT_EQ(Held(), "0000");
    EXPECT_FALSE(IsPlainFile(PhotoOf(dir_, kLisi)));
}

TEST_F(CardSwap, ACardKeptWaitingThatGoesWhileTheSaveQuestionIsOpenNamesNobody) {
    ASSERT_NO_FATAL_FAILURE(StartWithReader("none"));
    ASSERT_TRUE(LayCard("zhangsan", kZhangsan)) << Caption();
    ASSERT_TRUE(CaptureInto(1));
    ASSERT_TRUE(SwapCard("lisi"));
    ASSERT_TRUE(Answer(ChangeQuestion(kZhangsan, 1), IDNO));
    ASSERT_TRUE(CaptionBecomes(Waiting(kZhangsan, "李四"))) << Caption();

    // 李四 takes her card back while 张三's save question is open.
    DoubleClickAt(CentreOf(MustQuery(mc::kSlots[0].board.name)));
    HWND question = Box(L"要保存" + platform::Wide(kZhangsan) + L"的图片吗？");
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(emulator_.SetCard("none"));
    ASSERT_TRUE(PressDialogButton(question, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return IsPlainFile(PhotoOf(dir_, kZhangsan)); }, 3s));

    EXPECT_TRUE(CaptionBecomes(kZhangsan)) << "a card gone from the reader named the next trainee: " << Caption();
    Pause(1s);
    EXPECT_EQ(Caption(), kZhangsan);
}

TEST_F(CardSwap, DuringACaptureTheShotStaysWithTheTraineeNamedWhenItWasTaken) {
    ASSERT_NO_FATAL_FAILURE(StartWithReader("none"));
    ASSERT_TRUE(LayCard("zhangsan", kZhangsan)) << Caption();
    ASSERT_TRUE(emulator_.TakeCardAway());
    // The shot and 李四's card at once.
    ClickAt(CentreOf(MustQuery(mc::kPhotoLabel.name)));
    ASSERT_TRUE(emulator_.SetCard("lisi"));
    ASSERT_TRUE(Answer(ChangeQuestion(kZhangsan, 1), IDYES)) << "张三's shot given up without a question";
    ASSERT_TRUE(CaptionBecomes(kLisi)) << Caption();
    EXPECT_EQ(Held(), "0000");
    ASSERT_TRUE(CaptureInto(1));
    ASSERT_TRUE(Save(1, kLisi));
    EXPECT_FALSE(IsPlainFile(PhotoOf(dir_, kZhangsan)));
}

TEST_F(CardSwap, FasterThanOneLookTheNewCardIsStillReadBeforeTheNextSave) {
    ASSERT_NO_FATAL_FAILURE(StartWithReader("none"));
    ASSERT_TRUE(LayCard("zhangsan", kZhangsan)) << Caption();
    const int reads = emulator_.CountInLog("read 3001");
    // Lifted and replaced between two looks: the watch always finds a card lying there.
    ASSERT_TRUE(emulator_.SetCard("lisi"));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(WaitUntil([&] { return Caption() == kLisi; }, 10s)) << Caption();
    const auto took = std::chrono::steady_clock::now() - start;
    std::printf("a swap faster than one look was read after %lld ms\n",
                static_cast<long long>(std::chrono::duration_cast<Milliseconds>(took).count()));
    EXPECT_LT(took, reader::CardWatcher::kReadAgainEvery + 3s);
    EXPECT_LE(emulator_.CountInLog("read 3001") - reads, 2) << "a lying card is read again slowly, not at each look";
}

TEST_F(CardSwap, EnterHeldAsTheNextTraineeQuestionComesAnswersNothing) {
    ASSERT_NO_FATAL_FAILURE(StartWithReader("none"));
    ASSERT_TRUE(LayCard("zhangsan", kZhangsan)) << Caption();
    ASSERT_TRUE(CaptureInto(1));
    ASSERT_TRUE(BringToForeground(orvia_.MainWindow()));

    // Held since before the question (the Enter hotkey takes shots until it comes, so the
    // question counts them): its repeats never answer it.
    const auto question = [&](Milliseconds timeout) { return WaitForBoxSaying(orvia_.Id(), kNotSaved, timeout); };
    {
        HeldKey enter(VK_RETURN);
        ASSERT_TRUE(SwapCard("lisi"));
        ASSERT_NE(question(5s), nullptr);
        Pause(1s);
    }
    HWND open = question(1s);
    ASSERT_NE(open, nullptr) << "the held Enter answered the question";
    const std::string held = Held();
    ASSERT_TRUE(PressDialogButton(open, IDNO));
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(open); }, 3s));

    // Pressed as the question shows, and held: the question keeps the trainee.
    ASSERT_TRUE(emulator_.TakeCardAway());
    ASSERT_TRUE(emulator_.SetCard("lisi"));
    ASSERT_NE(question(5s), nullptr);
    {
        HeldKey enter(VK_RETURN);
        Pause(1s);
    }
    if (HWND still = question(500ms)) {
        ASSERT_TRUE(PressDialogButton(still, IDNO));
    }
    Pause(500ms);
    EXPECT_TRUE(Caption().starts_with(kZhangsan)) << Caption();
    EXPECT_EQ(Held(), held) << "slots emptied by a held Enter";
}

// The Read-card press is made while the window is busy; by the time it is handled, the watch
// has read the card and the Photo button stands in its place. The press takes no shot.
TEST_F(CardSwap, AReadCardPressHandledAfterTheButtonsSwappedTakesNoShot) {
    ASSERT_NO_FATAL_FAILURE(StartWithReader("none", DemoCameraEnvironment()));
    ASSERT_TRUE(StartDemoCamera(orvia_.MainWindow()));
    ASSERT_TRUE(BringToForeground(orvia_.MainWindow()));
    for (int k = 1; k <= 4; ++k) {
        PressKey(VK_RETURN);
        ASSERT_TRUE(WaitUntil([&] { return Holds(k); }, 3s)) << "slot " << k;
    }
    const RECT slot1 = OnScreen(MustQuery(mc::kSlots[0].board.name));
    const Screenshot before = SettledCapture(slot1);

    const DWORD thread = ::GetWindowThreadProcessId(orvia_.MainWindow(), nullptr);
    platform::UniqueHandle windowThread(::OpenThread(THREAD_SUSPEND_RESUME, FALSE, thread));
    ASSERT_TRUE(windowThread);
    const POINT readCard = CentreOf(MustQuery(mc::kReadCardLabel.name));
    ASSERT_NE(::SuspendThread(windowThread.get()), static_cast<DWORD>(-1));
    ClickAt(readCard);
    const bool laid = emulator_.SetCard("zhangsan");
    const bool read = WaitUntil([&] { return emulator_.CountInLog("read 3001") == 1; }, 5s);
    Pause(300ms);  // the outcome posted to the window
    ::ResumeThread(windowThread.get());
    ASSERT_TRUE(laid && read) << "the watch never read the card";

    ASSERT_TRUE(CaptionBecomes(kZhangsan)) << Caption();
    Pause(500ms);
    EXPECT_TRUE(SettledCapture(slot1).SamePixels(before)) << "the press took a shot on the Photo button";
}

}  // namespace
}  // namespace e2e
