// Cards read as they are laid down: the reader's owner watches the reader, reads a card put
// on it without a press, leaves a card lying there alone, reads it again once taken away and
// laid down again, and reports a reader pulled out once. All the while the window answers
// at once: a thread of the test pings it, counts the pings it left waiting and keeps the
// slowest answer (reported, not judged: a loaded machine slows every answer).
#include "tests/e2e/orvia_session.h"
#include "tests/e2e/reader_emulator_client.h"

#include "app/main_controls.h"
#include "reader/reader.h"
#include "ui/input_box.h"

#include <atomic>
#include <cstdio>
#include <string>
#include <chrono>
#include <thread>

namespace e2e {
namespace {

namespace mc = app::main_controls;

constexpr int kPort = 12;
constexpr char kZhangsan[] = "张三_110101199003071234";
constexpr char kLisi[] = "李四_440106199808081212";
constexpr wchar_t kReaderLost[] = L"读卡器连接失败";
// Windows calls a window that has not answered for 5 s hung: watching must never come near.
constexpr UINT kHungAfterMs = 5000;

// Sends the window WM_NULL every 20 ms from a thread of its own; the pings it did not answer
// and the slowest answer so far.
class Pinger {
public:
    explicit Pinger(HWND window)
        : thread_([this, window] {
              while (!stop_) {
                  const auto sent = std::chrono::steady_clock::now();
                  DWORD_PTR ignored = 0;
                  const bool answered =
                      ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kHungAfterMs, &ignored) != 0;
                  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - sent);
                  if (!answered) ++unanswered_;
                  if (took.count() > slowest_) slowest_ = took.count();
                  ::Sleep(20);
              }
          }) {}
    ~Pinger() {
        stop_ = true;
        thread_.join();
    }
    Pinger(const Pinger&) = delete;
    Pinger& operator=(const Pinger&) = delete;
    long long Slowest() const { return slowest_; }
    int Unanswered() const { return unanswered_; }

private:
    std::atomic<bool> stop_{false};
    std::atomic<long long> slowest_{0};
    std::atomic<int> unanswered_{0};
    std::thread thread_;
};

class CardWatch : public OrviaSession {
protected:
    void SetUp() override {
        if (const std::string why = ReaderEmulator::Unavailable(); !why.empty()) GTEST_SKIP() << why;
    }
    void TearDown() override {
        if (HasFailure()) std::printf("emulator log:\n%s\n", emulator_.Log().c_str());
        pinger_.reset();
        OrviaSession::TearDown();
    }
    void StartWithReader(std::string_view card) {
        ASSERT_TRUE(emulator_.Start(kPort, card)) << emulator_.Error();
        ASSERT_NO_FATAL_FAILURE(StartOrvia());
        pinger_ = std::make_unique<Pinger>(orvia_.MainWindow());
    }
    std::string Caption() { return MustQuery(mc::kStudentLabel.name)["caption"]; }
    bool CaptionBecomes(const std::string& caption, Milliseconds timeout = 5s) {
        return WaitUntil([&] { return Caption() == caption; }, timeout);
    }
    // How many times the card's content has been read from the reader so far.
    int Reads() {
        return emulator_.CountInLog("read 3001");
    }
    HWND BoxSaying(std::wstring_view text, Milliseconds timeout) {
        return WaitForBoxWithText(orvia_.Id(), text, timeout);
    }
    void ExpectTheWindowAnswered() {
        ASSERT_TRUE(pinger_);
        EXPECT_EQ(pinger_->Unanswered(), 0) << "pings the window left waiting " << kHungAfterMs << " ms";
        std::printf("slowest answer to the test's pings: %lld ms\n", pinger_->Slowest());
        ::testing::Test::RecordProperty("slowest_answer_ms", std::to_string(pinger_->Slowest()));
    }

    ReaderEmulator emulator_;  // goes before the program
    std::unique_ptr<Pinger> pinger_;
};

TEST_F(CardWatch, ACardLaidDownIsReadWithNoPressAndNotAgainWhileItLies) {
    ASSERT_NO_FATAL_FAILURE(StartWithReader("none"));
    Pause(1s);
    EXPECT_EQ(Reads(), 0);
    ASSERT_TRUE(emulator_.SetCard("zhangsan"));
    ASSERT_TRUE(CaptionBecomes(kZhangsan)) << Caption();
    EXPECT_EQ(MustQuery(mc::kPhotoLabel.name)["shown"], "1");
    EXPECT_EQ(Reads(), 1);

    // Left lying: looked at, not read again.
    Pause(1500ms);
    EXPECT_EQ(Reads(), 1);
    EXPECT_TRUE(VisibleWindowsOf(orvia_.Id(), kDialogClass).empty());
    ExpectTheWindowAnswered();
}

TEST_F(CardWatch, TakenAwayAndLaidDownAgainItIsReadAgain) {
    ASSERT_NO_FATAL_FAILURE(StartWithReader("zhangsan"));
    ASSERT_TRUE(CaptionBecomes(kZhangsan)) << "the card lying there at start-up is read";
    ASSERT_TRUE(WaitUntil([&] { return Reads() == 1; }, 2s));
    ASSERT_TRUE(emulator_.TakeCardAway()) << "the watch never looked";
    EXPECT_EQ(Caption(), kZhangsan) << "taking the card away changes nothing";
    ASSERT_TRUE(emulator_.SetCard("zhangsan"));
    EXPECT_TRUE(WaitUntil([&] { return Reads() == 2; }, 3s)) << Reads();

    // The next trainee's card, laid down: read and named, with no press.
    ASSERT_TRUE(emulator_.TakeCardAway()) << "the watch never looked";
    ASSERT_TRUE(emulator_.SetCard("lisi"));
    EXPECT_TRUE(CaptionBecomes(kLisi)) << Caption();
    ExpectTheWindowAnswered();
}

TEST_F(CardWatch, TheReadCardPressStillReadsAndNeverOverlapsTheWatch) {
    ASSERT_NO_FATAL_FAILURE(StartWithReader("none"));
    // Presses while the owner looks: each answered in turn, never two calls at once (the
    // emulator would see a garbled request and say so in its log).
    for (int i = 0; i < 3; ++i) {
        ClickAt(CentreOf(MustQuery(mc::kReadCardLabel.name)));
        HWND box = BoxSaying(L"请重新放好身份证", 5s);
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(PressDialogButton(box, IDOK));
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(box); }, 3s));
    }
    EXPECT_EQ(emulator_.Log().find("bad"), std::string::npos) << emulator_.Log();
    ASSERT_TRUE(emulator_.SetCard("zhangsan"));
    EXPECT_TRUE(CaptionBecomes(kZhangsan)) << Caption();
    ExpectTheWindowAnswered();
}

TEST_F(CardWatch, AReaderPulledOutWhileWatchedIsReportedOnceThenNamingIsByHand) {
    ASSERT_NO_FATAL_FAILURE(StartWithReader("none"));
    Pause(500ms);
    ASSERT_TRUE(emulator_.SetFault("unplug"));
    HWND box = BoxSaying(kReaderLost, 10s);
    ASSERT_NE(box, nullptr) << "nothing said about the reader";
    ASSERT_TRUE(PressDialogButton(box, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(box); }, 3s));
    Pause(1500ms);
    EXPECT_TRUE(VisibleWindowsOf(orvia_.Id(), kDialogClass).empty()) << "a second message";

    // As without a reader: the Photo button, and the label names by hand.
    EXPECT_EQ(MustQuery(mc::kPhotoLabel.name)["shown"], "1");
    EXPECT_EQ(MustQuery(mc::kReadCardLabel.name)["shown"], "0");
    EXPECT_EQ(Caption(), reader::kReaderFailurePrompt);
    ClickAt(CentreOf(MustQuery(mc::kStudentLabel.name)));
    HWND input = WaitForBoxSaying(orvia_.Id(), L"输入照片名称");
    ASSERT_NE(input, nullptr) << "the label opens the input box";
    ASSERT_TRUE(PressDialogButton(input, IDCANCEL));
    ExpectTheWindowAnswered();
}

}  // namespace
}  // namespace e2e
