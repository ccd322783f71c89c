// Windows shutting down or logging off while Orvia runs: with photos unsaved it asks the
// Esc question, and No refuses the end of the session, as Windows lets a program do.
#include "tests/e2e/orvia_session.h"

#include "app/main_controls.h"

#include <atomic>
#include <thread>

namespace e2e {
namespace {

namespace mc = app::main_controls;

// The question names how many photos would be lost: these tests take one.
constexpr wchar_t kUnsavedQuestion[] = L"有 1 张照片还没有保存，确定退出吗？";

// WM_QUERYENDSESSION sent as Windows sends it, from a thread that waits for the answer.
class EndSessionQuery {
public:
    explicit EndSessionQuery(HWND window)
        : thread_([this, window] {
              DWORD_PTR answer = 0;
              const bool sent = ::SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                                      30000, &answer) != 0;
              result_ = sent ? static_cast<int>(answer != 0) : -2;
          }) {}
    ~EndSessionQuery() { thread_.join(); }
    EndSessionQuery(const EndSessionQuery&) = delete;
    EndSessionQuery& operator=(const EndSessionQuery&) = delete;
    // 1 when the program agrees, 0 when it refuses, -1 while it has not answered, -2 when
    // the message never got an answer.
    int Result() const { return result_; }

private:
    std::atomic<int> result_{-1};
    std::thread thread_;
};

class EndingTheSession : public OrviaSession {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(StartOrvia()); }
    bool Answer(int button) {
        HWND box = WaitForBoxSaying(orvia_.Id(), kUnsavedQuestion);
        return box && PressDialogButton(box, button) && WaitUntil([&] { return !::IsWindowVisible(box); }, 3s);
    }
};

TEST_F(EndingTheSession, WithoutUnsavedPhotosWindowsMayEndAtOnce) {
    EndSessionQuery query(orvia_.MainWindow());
    EXPECT_TRUE(WaitUntil([&] { return query.Result() == 1; }, 3s)) << query.Result();
    EXPECT_TRUE(VisibleWindowsOf(orvia_.Id(), kDialogClass).empty());
}

TEST_F(EndingTheSession, WithUnsavedPhotosTheEscQuestionAndNoRefuses) {
    ClickAt(CentreOf(MustQuery(mc::kPhotoLabel.name)));
    ASSERT_TRUE(WaitUntil([&] { return MustQuery(mc::kSlots[0].board.name)["value"] == "295×412"; }, 3s));
    {
        EndSessionQuery query(orvia_.MainWindow());
        ASSERT_TRUE(Answer(IDCANCEL)) << "no question";
        EXPECT_TRUE(WaitUntil([&] { return query.Result() == 0; }, 3s)) << query.Result();
    }
    EXPECT_TRUE(::IsWindowVisible(orvia_.MainWindow())) << "the desk stays";
    {
        EndSessionQuery query(orvia_.MainWindow());
        ASSERT_TRUE(Answer(IDOK));
        EXPECT_TRUE(WaitUntil([&] { return query.Result() == 1; }, 3s)) << query.Result();
    }
}

}  // namespace
}  // namespace e2e
