// Naming trainees by hand when no reader answered at start-up: the Student label opens the
// input box, the typed name becomes the name photos are saved under, shown in red.
#include "tests/e2e/orvia_session.h"

#include "app/main_controls.h"
#include "platform/win_text.h"
#include "reader/reader.h"
#include "ui/input_box.h"

namespace mc = app::main_controls;

namespace e2e {
namespace {

constexpr wchar_t kInputTitle[] = L"输入照片名称";
constexpr COLORREF kRed = Colour(0xFF0000);

class ManualNaming : public OrviaSession {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(StartOrvia()); }

    std::string Caption() { return MustQuery(app::main_controls::kStudentLabel.name)["caption"]; }
    // The name shows in this colour on the name bar, and not in the other.
    bool NameIn(COLORREF colour, COLORREF notIn) {
        return WaitUntil([&] { return NamePixels(colour) > kTextPixels && NamePixels(notIn) < kTextPixels; }, 2s);
    }

    // Presses the Student label and waits for the input box.
    HWND OpenInputBox() {
        ClickAt(CentreOf(MustQuery(app::main_controls::kStudentLabel.name)));
        return WaitForBoxSaying(orvia_.Id(), kInputTitle);
    }
    static std::wstring Field(HWND box) { return TextOf(::GetDlgItem(box, ui::kInputBoxEditId)); }
    static void Type(HWND box, std::wstring_view text) {
        ::SendMessageW(::GetDlgItem(box, ui::kInputBoxEditId), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(std::wstring(text).c_str()));
    }
    bool Answer(HWND box, int button) {
        return PressDialogButton(box, button) && WaitUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); }, 3s);
    }
    bool NoInputBoxOpens() {
        ClickAt(CentreOf(MustQuery(app::main_controls::kStudentLabel.name)));
        return !WaitForBoxSaying(orvia_.Id(), kInputTitle, 1s);
    }
};

TEST_F(ManualNaming, TheBoxAsksWithThePromptAndTheTypedNameTurnsRed) {
    EXPECT_EQ(Caption(), reader::kReaderFailurePrompt);
    EXPECT_TRUE(NameIn(kWhite, kRed));
    EXPECT_EQ(MustQuery(app::main_controls::kPhotoLabel.name)["shown"], "1");
    EXPECT_EQ(MustQuery(app::main_controls::kReadCardLabel.name)["shown"], "0");

    HWND box = OpenInputBox();
    ASSERT_NE(box, nullptr) << "one press on the Student label opens the input box";
    EXPECT_EQ(TextOf(::GetDlgItem(box, ui::kInputBoxPromptId)),
              L"请输出学员姓名_身份证号码为文件名.\r\n例子：李四_101001199808081212");
    EXPECT_EQ(Field(box), L"");
    // The prompt's own example has a wrong check character: a typo is likelier than such a
    // card, so the operator is asked. Cancel keeps the name as it was.
    Type(box, L"李四_101001199808081212");
    ASSERT_TRUE(Answer(box, IDOK));
    HWND doubt = WaitForBoxSaying(orvia_.Id(), L"身份证号码好像不对，确定使用吗？");
    ASSERT_NE(doubt, nullptr) << "no question about the ID number";
    ASSERT_TRUE(Answer(doubt, IDCANCEL));
    Pause(300ms);
    EXPECT_EQ(Caption(), reader::kReaderFailurePrompt);
    box = OpenInputBox();
    ASSERT_NE(box, nullptr);
    Type(box, L"李四_101001199808081212");
    ASSERT_TRUE(Answer(box, IDOK));
    doubt = WaitForBoxSaying(orvia_.Id(), L"身份证号码好像不对，确定使用吗？");
    ASSERT_NE(doubt, nullptr);
    ASSERT_TRUE(Answer(doubt, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return Caption() == "李四_101001199808081212"; }, 3s)) << Caption();
    EXPECT_TRUE(NameIn(kRed, kWhite));
}

TEST_F(ManualNaming, CancelFirstLeavesAnEmptyRedLabelAndTheNextPressAsksAgain) {
    HWND box = OpenInputBox();
    ASSERT_NE(box, nullptr);
    Type(box, L"typed but cancelled");
    ASSERT_TRUE(Answer(box, IDCANCEL));
    EXPECT_TRUE(WaitUntil([&] { return Caption().empty(); }, 3s)) << Caption();
    EXPECT_TRUE(WaitUntil([&] { return NamePixels(kWhite) < kTextPixels; }, 2s)) << "the prompt still shows";

    // The next trainee is named through the same label.
    box = OpenInputBox();
    ASSERT_NE(box, nullptr) << "a later press opens the box again";
    EXPECT_EQ(Field(box), L"");
    Type(box, L"王五_110101199001011237");
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return Caption() == "王五_110101199001011237"; }, 3s)) << Caption();
    // The empty label was red: the name typed into it is too.
    EXPECT_TRUE(NameIn(kRed, kWhite));
}

TEST_F(ManualNaming, ALaterNamingStartsFromTheNameAndItsCancelKeepsIt) {
    HWND box = OpenInputBox();
    ASSERT_NE(box, nullptr);
    Type(box, L"张三_1");
    ASSERT_TRUE(Answer(box, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return Caption() == "张三_1"; }, 3s));

    box = OpenInputBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(Field(box), L"张三_1") << "filled with the current name";
    Type(box, L"something else");
    ASSERT_TRUE(Answer(box, IDCANCEL));
    Pause(300ms);
    EXPECT_EQ(Caption(), "张三_1") << "cancelling a later naming keeps the name";

    box = OpenInputBox();
    ASSERT_NE(box, nullptr);
    Type(box, L"李四_2");
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return Caption() == "李四_2"; }, 3s)) << Caption();
}

TEST_F(ManualNaming, ANameNoFileCanHaveIsRefusedAndTheBoxStaysOpen) {
    HWND box = OpenInputBox();
    ASSERT_NE(box, nullptr);
    for (const std::wstring_view bad : {L"张三/110101", L"张三_1.", L"CON"}) {
        Type(box, bad);
        ASSERT_TRUE(PressDialogButton(box, IDOK));
        HWND why = WaitForBoxSaying(orvia_.Id(), L"请改正名字");
        ASSERT_NE(why, nullptr) << "no reason shown for " << platform::Narrow(bad);
        EXPECT_TRUE(::IsWindowVisible(box)) << "the input box stays open";
        ASSERT_TRUE(Answer(why, IDOK));
        EXPECT_EQ(Field(box), bad) << "the typed name stays for correcting";
        EXPECT_EQ(Caption(), reader::kReaderFailurePrompt);
    }
    Type(box, L"张三_110101");
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return Caption() == "张三_110101"; }, 3s)) << Caption();
}

TEST_F(ManualNaming, TheArrowKeysWorkInTheBoxNotOnThePreview) {
    const Report before = MustQuery(mc::kPreviewBox.name);
    HWND box = OpenInputBox();
    ASSERT_NE(box, nullptr);
    PressKey(VK_LEFT);
    Pause(300ms);
    EXPECT_EQ(MustQuery(mc::kPreviewBox.name)["x"], before.at("x")) << "the hotkeys are let go while the box is open";
    ASSERT_TRUE(Answer(box, IDCANCEL));
}

}  // namespace
}  // namespace e2e
