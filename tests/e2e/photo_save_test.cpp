// Saving a slot's photo as the operator does: a double-click on the slot, the question box,
// and the file <name>.jpg in 学员照片 beside the program, or a box that says why not.
#include "tests/e2e/demo_camera.h"
#include "tests/e2e/orvia_session.h"

#include "app/main_controls.h"
#include "app/startup.h"
#include "platform/gdiplus.h"
#include "platform/win_text.h"
#include "roster/save_record.h"
#include "ui/pictures.h"

#include <algorithm>
#include <array>

namespace mc = app::main_controls;

namespace e2e {
namespace {

constexpr std::array<const char*, 4> kBoards{"画板1", "画板2", "画板3", "画板4"};
constexpr char kCaptured[] = "295×412";  // a slot's value once it holds a frame
constexpr wchar_t kPhotoDirectory[] = L"学员照片";

std::string Decoded(const std::optional<std::vector<std::uint8_t>>& file) {
    if (!file) return "no file";
    app::StartGdiplusOnce();
    const auto bitmap = ui::DecodePicture(*file);
    if (!bitmap) return "not a picture";
    return std::to_string(bitmap->GetWidth()) + "x" + std::to_string(bitmap->GetHeight());
}

class PhotoSave : public OrviaSession {
protected:
    std::wstring Photos() const { return dir_ / kPhotoDirectory; }
    std::wstring Name() { return platform::Wide(MustQuery(mc::kStudentLabel.name)["caption"]); }
    std::wstring PhotoPath() { return JoinPath(Photos(), Name() + L".jpg"); }
    // The size of the slot's picture; empty while it holds none.
    std::string Picture(int slot) { return MustQuery(kBoards[static_cast<std::size_t>(slot - 1)])["value"]; }
    bool CaptureInto(int slot) {
        ClickAt(CentreOf(MustQuery(mc::kPhotoLabel.name)));
        return WaitUntil([&] { return Picture(slot) == kCaptured; }, 3s);
    }
    // Double-clicks the slot and waits for the question, which names the name bar's text.
    HWND AskToSave(int slot) {
        DoubleClickAt(CentreOf(MustQuery(kBoards[static_cast<std::size_t>(slot - 1)])));
        return WaitForBoxSaying(orvia_.Id(), L"的图片吗？");
    }
    bool Answer(HWND box, int button) {
        return PressDialogButton(box, button) && WaitUntil([&] { return !::IsWindowVisible(box); }, 3s);
    }
};

TEST_F(PhotoSave, OkSavesTheSlotUnderTheNameAndCancelSavesNothing) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia(DemoCameraEnvironment()));
    ASSERT_TRUE(StartDemoCamera(orvia_.MainWindow())) << "the camera shows no picture";
    ASSERT_TRUE(CaptureInto(1));

    // No reader here: the name bar holds its prompt, and the question names that.
    HWND question = AskToSave(1);
    ASSERT_NE(question, nullptr) << "no question after the double-click";
    EXPECT_EQ(MessageBoxText(question), L"要保存身份证读卡器连接失败!请双击我填写名字的图片吗？");
    EXPECT_EQ(TextOf(question), L"信息：");
    ASSERT_TRUE(Answer(question, IDCANCEL));
    Pause(300ms);
    EXPECT_FALSE(platform::Exists(PhotoPath())) << "saved after Cancel";

    // The directory went while the program ran: the save makes it again.
    ASSERT_TRUE(RemoveTree(Photos()));
    question = AskToSave(1);
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(Answer(question, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return IsPlainFile(PhotoPath()); }, 3s)) << "no " << platform::Narrow(PhotoPath());
    const auto first = platform::ReadWholeFile(PhotoPath());
    EXPECT_EQ(Decoded(first), "295x412");

    // A second save replaces the file of that name, whatever it holds by then.
    const std::vector<std::uint8_t> stale{'s', 't', 'a', 'l', 'e'};
    ASSERT_TRUE(platform::WriteWholeFile(PhotoPath(), stale));
    question = AskToSave(1);
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(Answer(question, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return platform::ReadWholeFile(PhotoPath()) == first; }, 3s)) << "not replaced";
    EXPECT_TRUE(VisibleWindowsOf(orvia_.Id(), kDialogClass).empty()) << "a box after a save that worked";

    // Each save that wrote a photo is a row of the record, named by hand here (no reader).
    const auto record = platform::ReadWholeFile(JoinPath(Photos(), L"拍照记录.csv"));
    ASSERT_TRUE(record) << "no record of the saves";
    const roster::SaveRecord rows = roster::ReadSaveRecord(std::string(record->begin(), record->end()));
    ASSERT_EQ(rows.entries.size(), 2u);
    for (const roster::SaveEntry& row : rows.entries) {
        EXPECT_EQ(row.fileName, platform::Narrow(Name() + L".jpg"));
        EXPECT_EQ(row.fileSize, first->size());
        EXPECT_EQ(row.way, roster::SaveWay::Typed);
    }
    EXPECT_TRUE(rows.unreadLines.empty());
}

// Nothing saved is lost: a save over a photo keeps the one it replaces in 已替换, whole,
// and changes nothing else in 学员照片 but the record of saves.
TEST_F(PhotoSave, AReplacedPhotoIsKeptInTheReplacedFolder) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia(DemoCameraEnvironment()));
    ASSERT_TRUE(StartDemoCamera(orvia_.MainWindow())) << "the camera shows no picture";
    ASSERT_TRUE(CaptureInto(1));
    ASSERT_TRUE(CaptureInto(2));
    const std::wstring replaced = JoinPath(Photos(), L"已替换");
    std::vector<std::vector<std::uint8_t>> versions;
    for (const int slot : {1, 2, 1}) {
        HWND question = AskToSave(slot);
        ASSERT_NE(question, nullptr);
        ASSERT_TRUE(Answer(question, IDOK));
        // Each save after the first moves the photo before it into 已替换.
        const std::size_t kept = versions.size();
        ASSERT_TRUE(WaitUntil([&] { return IsPlainFile(PhotoPath()) && DirectoryEntries(replaced).size() == kept; }, 3s))
            << "after save " << kept + 1 << ": " << DirectoryEntries(replaced).size() << " in 已替换";
        versions.push_back(platform::ReadWholeFile(PhotoPath()).value_or(std::vector<std::uint8_t>{}));
    }
    EXPECT_NE(versions[0], versions[1]) << "slots 1 and 2 hold the same picture";

    // The two replaced photos, each whole, under <name>_<yyyyMMdd-HHmmss>[_n].jpg.
    std::vector<std::vector<std::uint8_t>> kept;
    for (const std::wstring& entry : DirectoryEntries(replaced)) {
        EXPECT_EQ(entry.rfind(Name() + L"_", 0), 0u) << platform::Narrow(entry);
        EXPECT_GE(entry.size(), Name().size() + 20) << platform::Narrow(entry);
        kept.push_back(platform::ReadWholeFile(JoinPath(replaced, entry)).value_or(std::vector<std::uint8_t>{}));
    }
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(std::count(kept.begin(), kept.end(), versions[0]), 1) << "the first photo is not kept as it was";
    EXPECT_EQ(std::count(kept.begin(), kept.end(), versions[1]), 1) << "the second photo is not kept as it was";
    EXPECT_EQ(platform::ReadWholeFile(PhotoPath()), versions[2]);
    std::vector<std::wstring> entries{Name() + L".jpg", L"已替换", L"拍照记录.csv"};
    std::sort(entries.begin(), entries.end());  // as DirectoryEntries gives them
    EXPECT_EQ(DirectoryEntries(Photos()), entries) << "something else changed in 学员照片";
}

TEST_F(PhotoSave, AnEmptySlotIsNotSavedAndTheOperatorIsTold) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    HWND question = AskToSave(3);
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(Answer(question, IDOK));

    HWND error = WaitForBoxSaying(orvia_.Id(), L"第3张照片还没有拍摄");
    ASSERT_NE(error, nullptr) << "no word that the slot is empty";
    EXPECT_NE(MessageBoxText(error).find(Name() + L".jpg"), std::wstring::npos) << "the box does not name the file";
    EXPECT_EQ(TextOf(error), L"保存失败");
    ShootMainWindow("told");
    ASSERT_TRUE(Answer(error, IDOK));
    EXPECT_TRUE(platform::IsDirectory(Photos()));
    EXPECT_FALSE(platform::Exists(PhotoPath()));
    EXPECT_TRUE(orvia_.IsRunning());
}

// The mean red of a patch of a photo file: the cyan bar of the demonstration camera at
// start-up, whose red (none) brightening steps raise without clipping, unlike its green
// and blue (full).
double PatchRed(const std::optional<std::vector<std::uint8_t>>& file) {
    if (!file) return -1;
    app::StartGdiplusOnce();
    const auto bitmap = ui::DecodePicture(*file);
    if (!bitmap) return -1;
    double sum = 0;
    int count = 0;
    for (UINT y = 150; y < 250; y += 5) {
        for (UINT x = 20; x < 120; x += 5) {
            Gdiplus::Color c;
            bitmap->GetPixel(static_cast<INT>(x), static_cast<INT>(y), &c);
            sum += c.GetR();
            ++count;
        }
    }
    return sum / count;
}

// The whole road with a still picture: capture, brighten, save, and the keys around it.
using PhotoRoad = PhotoSave;

TEST_F(PhotoRoad, TheSavedPhotoCarriesItsBrightnessStepsAndThenEscClosesAtOnce) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia(DemoCameraEnvironment(L"still")));
    ASSERT_TRUE(StartDemoCamera(orvia_.MainWindow()));
    Pause(200ms);
    ASSERT_TRUE(CaptureInto(1));
    ASSERT_TRUE(CaptureInto(2));
    // Slot 2: three steps brighter.
    ClickAt(CentreOf(MustQuery(mc::kSlots[1].board.name)));
    ASSERT_TRUE(WaitUntil([&] { return ReportNumber(MustQuery(mc::kSlots[1].brightnessGroup.name), "shown") == 1; }, 2s));
    const RECT slot2 = OnScreen(MustQuery(mc::kSlots[1].board.name));
    for (int press = 0; press < 3; ++press) {
        const std::uint64_t before = SettledCapture(slot2).Hash();
        ClickAt(CentreOf(MustQuery(mc::kSlots[1].brighter.label.name)));
        ASSERT_TRUE(WaitUntil([&] { return SettledCapture(slot2).Hash() != before; }, 2s));
    }

    HWND question = AskToSave(1);
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(Answer(question, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return IsPlainFile(PhotoPath()); }, 3s));
    const double plain = PatchRed(platform::ReadWholeFile(PhotoPath()));
    question = AskToSave(2);
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(Answer(question, IDOK));
    double brighter = plain;
    WaitUntil([&] { return (brighter = PatchRed(platform::ReadWholeFile(PhotoPath()))) != plain; }, 3s);
    // Three steps of 10; the JPEG's rounding takes a little.
    EXPECT_NEAR(brighter - plain, 30.0, 6.0) << plain << " -> " << brighter;

    // Everything taken has been saved since: Esc ends the program without asking.
    ASSERT_TRUE(BringToForeground(orvia_.MainWindow()));
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(orvia_.WaitForExit(5s)) << "Esc asked or did nothing after the save";
}

TEST_F(PhotoRoad, EnterWhileTheSaveQuestionIsOpenAnswersItAndCapturesNothing) {
    ASSERT_NO_FATAL_FAILURE(StartOrvia(DemoCameraEnvironment()));
    ASSERT_TRUE(StartDemoCamera(orvia_.MainWindow()));
    ASSERT_TRUE(CaptureInto(1));
    HWND question = AskToSave(1);
    ASSERT_NE(question, nullptr);
    // The box has the keyboard: the slot's brightness buttons are gone meanwhile.
    EXPECT_TRUE(WaitUntil([&] { return ReportNumber(MustQuery(mc::kSlots[0].brightnessGroup.name), "shown") == 0; }, 2s));
    ASSERT_TRUE(BringToForeground(question));
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(question); }, 3s)) << "Enter did not answer the box";
    EXPECT_TRUE(WaitUntil([&] { return IsPlainFile(PhotoPath()); }, 3s)) << "Enter is OK: the photo is saved";
    Pause(300ms);
    EXPECT_EQ(Picture(2), "") << "Enter took a photo behind the box";
}

}  // namespace
}  // namespace e2e
