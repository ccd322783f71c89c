// A reader maker's own termb.dll beside the program, as for a USB reader: found at start-up,
// read, and the photo saved under the name on the card. And libraries of the other width,
// which the program cannot load: the operator is told which file and what to do, and the
// desk works on without them.
#include "app/main_controls.h"
#include "reader/reader.h"
#include "tests/e2e/orvia_session.h"

#include "platform/win_text.h"

namespace e2e {
namespace {

namespace mc = app::main_controls;

constexpr wchar_t kPhotoDirectory[] = L"学员照片";
constexpr char kMakersCard[] = "王小明_110101199003010015";

class MakerLibrary : public OrviaSession {
protected:
    std::string Caption() { return MustQuery(mc::kStudentLabel.name)["caption"]; }
    bool Shown(std::string_view control) { return MustQuery(control)["shown"] == "1"; }
    // Copies `from` into the program directory as `name`; the bytes copied.
    std::vector<std::uint8_t> Place(const std::wstring& from, const wchar_t* name) {
        const auto bytes = platform::ReadWholeFile(from);
        EXPECT_TRUE(bytes) << "cannot read " << platform::Narrow(from);
        if (!bytes) return {};
        EXPECT_TRUE(platform::WriteWholeFile(dir_ / name, *bytes));
        return *bytes;
    }
    bool Answer(HWND box, int button) {
        return PressDialogButton(box, button) && WaitUntil([&] { return !::IsWindowVisible(box); }, 3s);
    }
};

TEST_F(MakerLibrary, ItsReaderIsFoundItsCardReadAndThePhotoSavedUnderItsName) {
    const std::wstring maker = PathFromEnvironment(L"ORVIA_MAKER_TERMB");
    ASSERT_FALSE(maker.empty()) << "ORVIA_MAKER_TERMB is not set";
    const std::vector<std::uint8_t> library = Place(maker, L"termb.dll");
    ASSERT_FALSE(library.empty());
    ASSERT_NO_FATAL_FAILURE(StartOrvia());

    // Found on its USB port at start-up and watched through the same three functions: the
    // card lying on it is read with no press.
    ASSERT_TRUE(WaitUntil([&] { return Caption() == kMakersCard; }, 10s)) << "the name bar says " << Caption();
    EXPECT_TRUE(Shown(mc::kPhotoLabel.name));
    EXPECT_FALSE(Shown(mc::kReadCardLabel.name));

    // A photo, saved under the card's name.
    ClickAt(CentreOf(MustQuery(mc::kPhotoLabel.name)));
    DoubleClickAt(CentreOf(MustQuery(mc::kSlots[0].board.name)));
    const HWND question = WaitForBoxSaying(orvia_.Id(), L"的图片吗？");
    ASSERT_NE(question, nullptr) << "no question after the double-click";
    EXPECT_EQ(MessageBoxText(question), L"要保存" + platform::Wide(kMakersCard) + L"的图片吗？");
    ASSERT_TRUE(Answer(question, IDOK));
    const std::wstring photo = JoinPath(dir_ / kPhotoDirectory, platform::Wide(kMakersCard) + L".jpg");
    EXPECT_TRUE(WaitUntil([&] { return IsPlainFile(photo); }, 3s)) << "no " << platform::Narrow(photo);

    // The maker's library is theirs: never overwritten; its partners are ours, written.
    EXPECT_EQ(platform::ReadWholeFile(dir_ / L"termb.dll"), library);
    EXPECT_TRUE(IsPlainFile(dir_ / L"sdtapi.dll"));
    EXPECT_TRUE(IsPlainFile(dir_ / L"UnPack.dll"));
}

// An old 15-digit ID number, padded with spaces to the field's width as some makers' libraries
// write it: the identity ends in spaces, and its photo is saved all the same.
TEST_F(MakerLibrary, APaddedIdNumberIsSavedAsItIs) {
    const std::wstring maker = PathFromEnvironment(L"ORVIA_MAKER_TERMB");
    ASSERT_FALSE(maker.empty()) << "ORVIA_MAKER_TERMB is not set";
    ASSERT_FALSE(Place(maker, L"termb.dll").empty());
    constexpr char kPadded[] = "王小明_110101900301001   ";
    ASSERT_NO_FATAL_FAILURE(StartOrvia({{L"ORVIA_MAKER_CARD_ID", L"110101900301001   "}}));
    ASSERT_TRUE(WaitUntil([&] { return Caption() == kPadded; }, 10s)) << "the name bar says " << Caption();

    ClickAt(CentreOf(MustQuery(mc::kPhotoLabel.name)));
    DoubleClickAt(CentreOf(MustQuery(mc::kSlots[0].board.name)));
    const HWND question = WaitForBoxSaying(orvia_.Id(), L"的图片吗？");
    ASSERT_NE(question, nullptr) << "no question after the double-click";
    ASSERT_TRUE(Answer(question, IDOK));
    const std::wstring photo = JoinPath(dir_ / kPhotoDirectory, platform::Wide(kPadded) + L".jpg");
    EXPECT_TRUE(WaitUntil([&] { return IsPlainFile(photo); }, 3s)) << "no " << platform::Narrow(photo);
    EXPECT_EQ(WaitForBoxSaying(orvia_.Id(), L"保存失败", 500ms), nullptr) << "the save was refused";
}

class WrongWidth : public MakerLibrary {};

TEST_F(WrongWidth, EachLibraryIsNamedWithWhatToDoAndTheDeskWorksWithoutIt) {
    const std::wstring termb = PathFromEnvironment(L"ORVIA_OTHER_WIDTH_TERMB");
    const std::wstring camera = PathFromEnvironment(L"ORVIA_OTHER_WIDTH_CAMERA");
    if (termb.empty() || camera.empty()) GTEST_SKIP() << "no build of the other width (ORVIA_OTHER_WIDTH_BUILD)";
    const std::vector<std::uint8_t> reader = Place(termb, L"termb.dll");
    const std::vector<std::uint8_t> vedio = Place(camera, L"VedioCapture.dll");
    ASSERT_FALSE(reader.empty());
    ASSERT_FALSE(vedio.empty());
    ASSERT_NO_FATAL_FAILURE(StartOrvia());

    const std::wstring ours = sizeof(void*) == 8 ? L"64" : L"32";
    const std::wstring theirs = sizeof(void*) == 8 ? L"32" : L"64";
    const std::wstring build = sizeof(void*) == 8 ? L"32 位（x86）" : L"64 位（x64）";
    for (const std::wstring file : {L"VedioCapture.dll", L"termb.dll"}) {
        const HWND box = WaitForBoxSaying(orvia_.Id(), L"“" + file + L"”", 10s);
        ASSERT_NE(box, nullptr) << "nothing said about " << platform::Narrow(file);
        const std::wstring text = MessageBoxText(box);
        EXPECT_NE(text.find(L"“" + file + L"”是 " + theirs + L" 位的库，这个 " + ours + L" 位的 Orvia 不能使用它。"),
                  std::wstring::npos)
            << platform::Narrow(text);
        EXPECT_NE(text.find(L"请改用 " + build + L"的 Orvia"), std::wstring::npos) << platform::Narrow(text);
        ASSERT_TRUE(Answer(box, IDOK));
    }

    // As without a reader: the Photo button and naming by hand; and no camera in the list.
    EXPECT_TRUE(WaitUntil([&] { return Caption() == reader::kReaderFailurePrompt; }, 3s)) << Caption();
    EXPECT_TRUE(Shown(mc::kPhotoLabel.name));
    EXPECT_FALSE(Shown(mc::kReadCardLabel.name));
    EXPECT_EQ(::SendMessageW(ReportWindow(MustQuery(mc::kCameraList.name)), LB_GETCOUNT, 0, 0), 0);
    // Nothing of the operator's was overwritten.
    EXPECT_EQ(platform::ReadWholeFile(dir_ / L"termb.dll"), reader);
    EXPECT_EQ(platform::ReadWholeFile(dir_ / L"VedioCapture.dll"), vedio);
}

}  // namespace
}  // namespace e2e
