// The fixture of the tests that walk one trainee after another at the desk: the program with
// the reader emulator, cards laid down and swapped, shots, saves and the questions between.
#pragma once

#include "tests/e2e/demo_camera.h"
#include "tests/e2e/orvia_session.h"
#include "tests/e2e/reader_emulator_client.h"

#include "app/main_controls.h"
#include "platform/win_text.h"
#include "reader/reader.h"
#include "ui/input_box.h"

#include <cstdio>
#include <string>

namespace e2e {

namespace mc = app::main_controls;

inline constexpr int kPort = 11;
inline constexpr char kZhangsan[] = "张三_110101199003071234";
inline constexpr char kLisi[] = "李四_440106199808081212";
inline constexpr char kCaptured[] = "295×412";  // a slot's value once it holds a picture
inline constexpr wchar_t kNotSaved[] = L" 张照片还没有保存，换下一位学员会清空它们。确定换吗？";
inline constexpr wchar_t kInputTitle[] = L"输入照片名称";
inline constexpr wchar_t kPlaceCardAgain[] = L"请重新放好身份证";

// The Student label while `waitingName`'s card waits behind the trainee `identity`.
inline std::string Waiting(const char* identity, const char* waitingName) {
    return std::string(identity) + std::string(reader::kWaitingCardBefore) + waitingName;
}

class TraineeDesk : public OrviaSession {
protected:
    void TearDown() override {
        if (HasFailure() && emulator_.Port() != 0) std::printf("emulator log:\n%s\n", emulator_.Log().c_str());
        OrviaSession::TearDown();
    }
    void StartWithReader(std::string_view card,
                         const std::vector<std::pair<std::wstring, std::wstring>>& environment = {}) {
        if (const std::string why = ReaderEmulator::Unavailable(); !why.empty()) GTEST_SKIP() << why;
        ASSERT_TRUE(emulator_.Start(kPort, card)) << emulator_.Error();
        ASSERT_NO_FATAL_FAILURE(StartOrvia(environment));
    }
    // The same with the demo camera running, so that each shot is a picture of its own (with
    // no camera every shot is the same black picture, which a save of one has on disk).
    void StartWithReaderAndCamera(std::string_view card) {
        ASSERT_NO_FATAL_FAILURE(StartWithReader(card, DemoCameraEnvironment()));
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
        return WaitForBoxWithText(orvia_.Id(), text, timeout);
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

}  // namespace e2e
