// The card reader at the photo desk: orvia.exe started with the reader emulator on a COM
// port of this Wine prefix (or without it), the operator pressing the Read-card button, and
// what the Student label, the two big buttons and the message boxes then show.
#include "tests/e2e/orvia_session.h"
#include "tests/e2e/reader_emulator_client.h"

#include "app/main_controls.h"
#include "platform/win_text.h"

#include <algorithm>

namespace mc = app::main_controls;

namespace e2e {
namespace {

constexpr int kPort = 9;
constexpr char kStudentLabel[] = "透明标签_名字";
constexpr char kReadCardLabel[] = "透明标签_读身份证";
constexpr char kPleaseReadCard[] = "请读身份证";
constexpr char kNoReaderPrompt[] = "身份证读卡器连接失败!请双击我填写名字";
constexpr wchar_t kPlaceCardAgain[] = L"请重新放好身份证";
constexpr wchar_t kReaderLost[] = L"读卡器连接失败";

class ReaderDesk : public OrviaSession {
protected:
    void SetUp() override {
        if (const std::string why = ReaderEmulator::Unavailable(); !why.empty()) GTEST_SKIP() << why;
    }
    void TearDown() override {
        if (HasFailure()) std::printf("emulator log:\n%s\n", emulator_.Log().c_str());
        OrviaSession::TearDown();
    }

    void StartWithReader(std::string_view card, std::string_view fault = "none") {
        ASSERT_TRUE(emulator_.Start(kPort, card, fault)) << emulator_.Error();
        ASSERT_NO_FATAL_FAILURE(StartOrvia());
    }

    std::string Caption() { return MustQuery(kStudentLabel)["caption"]; }
    bool Shown(std::string_view control) { return MustQuery(control)["shown"] == "1"; }
    // Which big button stands: the Read-card button (with its shape) or the Photo button.
    void ExpectReadCardButton(bool shown) {
        EXPECT_EQ(Shown("外形框_读身份证"), shown);
        EXPECT_EQ(Shown(kReadCardLabel), shown);
        EXPECT_EQ(Shown("外形框_拍照"), !shown);
        EXPECT_EQ(Shown("透明标签_拍照"), !shown);
    }
    // The name shows in white on the name bar.
    bool NameInWhite() { return WaitUntil([&] { return NamePixels(kWhite) > kTextPixels; }, 2s); }

    void PressReadCard() { ClickAt(CentreOf(MustQuery(kReadCardLabel))); }
    bool CaptionBecomes(const std::string& caption, Milliseconds timeout = 10s) {
        return WaitUntil([&] { return Caption() == caption; }, timeout);
    }

    // The program's visible message box whose text is `text`; null when none came.
    HWND WaitForBox(std::wstring_view text, Milliseconds timeout = 10s) {
        return WaitForBoxWithText(orvia_.Id(), text, timeout);
    }
    // Answers the box saying `text` with OK and waits until it has gone.
    bool AnswerBox(std::wstring_view text) {
        HWND box = WaitForBox(text);
        return box && PressDialogButton(box, IDOK) && WaitUntil([&] { return !::IsWindowVisible(box); }, 3s);
    }
    bool NoBoxOpen() { return VisibleWindowsOf(orvia_.Id(), kDialogClass).empty(); }

    // Whether the main window handles a message sent to it within `limit`.
    bool AnswersWithin(Milliseconds limit) {
        DWORD_PTR ignored = 0;
        return ::SendMessageTimeoutW(orvia_.MainWindow(), WM_NULL, 0, 0, SMTO_NORMAL,
                                     static_cast<UINT>(limit.count()), &ignored) != 0;
    }

    ReaderEmulator emulator_;  // goes before the program
};

using ReaderAtStartUp = ReaderDesk;

TEST_F(ReaderAtStartUp, AReaderThatAnswersBringsTheReadCardButton) {
    ASSERT_NO_FATAL_FAILURE(StartWithReader("none"));
    ExpectReadCardButton(true);
    EXPECT_EQ(Caption(), kPleaseReadCard);
    EXPECT_TRUE(NameInWhite());
    ShootMainWindow();
}

TEST_F(ReaderAtStartUp, WithoutAReaderThePhotoButtonAndThePromptToNameByHand) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    ExpectReadCardButton(false);
    EXPECT_EQ(Caption(), kNoReaderPrompt);
}

using ReadingACard = ReaderDesk;

TEST_F(ReadingACard, NamesTheTraineeInWhiteAndBringsThePhotoButton) {
    ASSERT_NO_FATAL_FAILURE(StartWithReader("zhangsan"));
    // The card lying there at start-up is read by the watch, with no press.
    ASSERT_TRUE(CaptionBecomes("张三_110101199003071234")) << Caption();
    EXPECT_TRUE(NameInWhite());
    ExpectReadCardButton(false);
    EXPECT_TRUE(NoBoxOpen());
    ShootMainWindow();
}

TEST_F(ReadingACard, TheNextTraineesCardIsReadThroughTheStudentLabel) {
    ASSERT_NO_FATAL_FAILURE(StartWithReader("zhangsan"));
    // The card lying there at start-up is read by the watch, with no press.
    ASSERT_TRUE(CaptionBecomes("张三_110101199003071234")) << Caption();

    // The Read-card button has gone; the next card is read with a press on the name.
    ASSERT_TRUE(emulator_.SetCard("lisi"));
    ClickAt(CentreOf(MustQuery(kStudentLabel)));
    ASSERT_TRUE(CaptionBecomes("李四_440106199808081212")) << Caption();
    EXPECT_TRUE(NameInWhite());
    ExpectReadCardButton(false);
    EXPECT_TRUE(NoBoxOpen());
}

// Names with characters GBK lacks: U+4DAE, and U+20000 beyond the BMP (a surrogate pair).
// Read, shown whole, and the photo saved under exactly the wide name.
TEST_F(ReadingACard, NamesBeyondGbkAreShownAndSavedWhole) {
    const std::pair<const char*, std::wstring> cards[] = {{"wangyan", L"王\u4DAE_310104200105050017"},
                                                          {"extb", L"林\U00020000_350102199912120026"}};
    ASSERT_NO_FATAL_FAILURE(StartWithReader(cards[0].first));
    // The card lying there at start-up is read by the watch, with no press.
    for (const auto& [card, name] : cards) {
        SCOPED_TRACE(card);
        ASSERT_TRUE(emulator_.SetCard(card));
        if (name != cards[0].second) ClickAt(CentreOf(MustQuery(kStudentLabel)));
        ASSERT_TRUE(CaptionBecomes(platform::Narrow(name))) << Caption();
        EXPECT_TRUE(NoBoxOpen());
        ClickAt(CentreOf(MustQuery(mc::kPhotoLabel.name)));
        DoubleClickAt(CentreOf(MustQuery(mc::kSlots[0].board.name)));
        ASSERT_TRUE(AnswerBox(L"要保存" + name + L"的图片吗？"));
        const std::wstring photos = dir_ / L"学员照片";
        EXPECT_TRUE(WaitUntil([&] { return IsPlainFile(JoinPath(photos, name + L".jpg")); }, 3s));
        const std::vector<std::wstring> entries = DirectoryEntries(photos);
        EXPECT_NE(std::find(entries.begin(), entries.end(), name + L".jpg"), entries.end())
            << "not one entry holds the wide name unchanged";
    }
}

TEST_F(ReadingACard, WithoutACardAsksToPlaceItAgainAndKeepsTheButton) {
    ASSERT_NO_FATAL_FAILURE(StartWithReader("none"));
    PressReadCard();
    ASSERT_TRUE(AnswerBox(kPlaceCardAgain)) << "no box saying 请重新放好身份证";
    EXPECT_EQ(Caption(), kPleaseReadCard);
    ExpectReadCardButton(true);

    // The operator places the card and presses again.
    ASSERT_TRUE(emulator_.SetCard("zhangsan"));
    PressReadCard();
    ASSERT_TRUE(CaptionBecomes("张三_110101199003071234")) << Caption();
    ExpectReadCardButton(false);
}

TEST_F(ReadingACard, AReaderLostAfterTheReadIsReportedForEachFieldAndNamesNoOne) {
    // The reader goes as soon as the card's content has been taken.
    ASSERT_NO_FATAL_FAILURE(StartWithReader("zhangsan", "unplug-after@read"));
    // The card lying there at start-up is read by the watch, with no press.
    ASSERT_TRUE(AnswerBox(kReaderLost)) << "no box for the name";
    ASSERT_TRUE(AnswerBox(kReaderLost)) << "no box for the ID number";
    EXPECT_EQ(emulator_.ExitReason(), "unplugged");
    ASSERT_TRUE(CaptionBecomes("_")) << Caption();
    ExpectReadCardButton(false);
    Pause(500ms);
    EXPECT_TRUE(NoBoxOpen()) << "a third box";
}

TEST_F(ReadingACard, ASilentOrBabblingReaderNeverHangsTheWindow) {
    // The card goes on once the reader recovers: the watch would read it before the press.
    ASSERT_NO_FATAL_FAILURE(StartWithReader("none"));
    for (const char* fault : {"silent", "noise"}) {
        SCOPED_TRACE(fault);
        ASSERT_TRUE(emulator_.SetFault(fault));
        PressReadCard();
        // The read blocks the window briefly; it must answer again well within 3 s.
        EXPECT_TRUE(AnswersWithin(3s)) << "the window did not answer within 3 s of the press";
        ASSERT_TRUE(AnswerBox(kPlaceCardAgain));
        ExpectReadCardButton(true);
    }
    // A reader that recovers reads the card, even pressed right after a check of the watch
    // met the noise and closed the port.
    ASSERT_TRUE(WaitUntil([&] { return emulator_.CountInLog("status 11FF noise") > 0; }, 5s)) << "the watch never checked";
    ASSERT_TRUE(emulator_.SetFault("none"));
    ASSERT_TRUE(emulator_.SetCard("zhangsan"));
    PressReadCard();
    ASSERT_TRUE(CaptionBecomes("张三_110101199003071234")) << Caption();
}

}  // namespace
}  // namespace e2e
