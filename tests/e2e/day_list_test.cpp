// The day's list at the desk, with the reader emulator: a class list of 40 imported through
// the file dialog, three trainees on it read from their cards and photographed and one
// stranger, the list window counting them within a second of each save, a trainee without
// a card named by a double-click, the record, the two hand-over files, and the same list
// after a restart.
#include "tests/e2e/trainee_desk.h"

#include "roster/class_list.h"
#include "roster/id_number.h"
#include "roster/save_record.h"
#include "roster/zip_reader.h"

#include <commctrl.h>

namespace e2e {
namespace {

using DayList = TraineeDesk;

constexpr char kWangyan[] = "王䶮_310104200105050017";
constexpr wchar_t kNotOnList[] = L"名单里没有这位学员";

std::string Slurp(const std::wstring& path) {
    const auto bytes = platform::ReadWholeFile(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

// 40 trainees in a spreadsheet's UTF-8 CSV: the three sample cards' trainees among 37
// others with valid numbers, in three classes.
std::string ClassListOfForty() {
    std::string csv = "\xEF\xBB\xBF姓名,身份证号码,班级\r\n";
    const char* const cards[] = {kZhangsan, kLisi, kWangyan};
    for (int i = 0; i < 40; ++i) {
        std::string name, number;
        if (i % 13 == 5 && i / 13 < 3) {
            const roster::NameAndId who = roster::SplitIdentity(cards[i / 13]);
            name = who.name;
            number = who.idNumber;
        } else {
            char first17[18];
            std::snprintf(first17, sizeof first17, "32010219950101%03d", i);
            name = "学员" + std::to_string(i + 1);
            number = std::string(first17) + *roster::IdCheckCharacter(first17);
        }
        csv += name + "," + number + ",电工" + std::to_string(i % 3 + 1) + "班\r\n";
    }
    return csv;
}

// The open dialog's file name field: its first visible edit control.
BOOL CALLBACK FindFileNameField(HWND child, LPARAM found) {
    if (ClassOf(child) != L"Edit" || !::IsWindowVisible(child)) return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

class DayListDesk : public DayList {
protected:
    // Imports `file` through the open dialog.
    void Import(const std::wstring& file) {
        ASSERT_TRUE(PickSettingsMenuItem(orvia_.MainWindow(), mc::kImportItem));
        HWND dialog = WaitForBoxSaying(orvia_.Id(), L"导入学员名单", 10s);
        ASSERT_NE(dialog, nullptr) << "no file dialog";
        HWND edit = nullptr;
        ::EnumChildWindows(dialog, &FindFileNameField, reinterpret_cast<LPARAM>(&edit));
        ASSERT_NE(edit, nullptr) << "the dialog has no file name field";
        ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
        ASSERT_TRUE(PressDialogButton(dialog, IDOK));
    }
    // The list window, opened from the menu (or found open).
    HWND OpenList() {
        if (HWND open = ListWindow()) return open;
        PickSettingsMenuItem(orvia_.MainWindow(), mc::kListItem);
        HWND list = nullptr;
        WaitUntil([&] { return (list = ListWindow()) != nullptr; }, 5s);
        return list;
    }
    HWND ListWindow() {
        for (HWND w : VisibleWindowsOf(orvia_.Id(), L"Orvia.Window"))
            if (w != orvia_.MainWindow()) return w;
        return nullptr;
    }
    static std::string Title(HWND list) { return QueryWindowControl(list, "透明标签_已拍")["caption"]; }
    static bool TitleBecomes(HWND list, const std::string& title, Milliseconds within = 1s) {
        return WaitUntil([&] { return Title(list) == title; }, within);
    }
    static HWND Rows(HWND list) { return ReportWindow(QueryWindowControl(list, "列表_学员")); }
    static int RowCount(HWND list) { return static_cast<int>(::SendMessageW(Rows(list), LVM_GETITEMCOUNT, 0, 0)); }
    void Press(HWND list, std::string_view button) { ClickAt(CentreOf(QueryWindowControl(list, button))); }
    // OK on the box that says `part`; its whole text.
    std::wstring Acknowledge(std::wstring_view part, Milliseconds timeout = 5s) {
        HWND box = WaitForBoxSaying(orvia_.Id(), part, timeout);
        if (!box) return {};
        const std::wstring text = MessageBoxText(box);
        PressDialogButton(box, IDOK);
        WaitUntil([&] { return !::IsWindowVisible(box); }, 3s);
        return text;
    }
    std::wstring Beside(std::wstring_view name) { return dir_ / name; }
    static std::wstring Today() {
        SYSTEMTIME now{};
        ::GetLocalTime(&now);
        wchar_t stamp[16];
        std::swprintf(stamp, 16, L"%04d%02d%02d", now.wYear, now.wMonth, now.wDay);
        return stamp;
    }
};

TEST_F(DayListDesk, FortyImportedThreeCardsAndAStrangerThenExportPackAndRestart) {
    const std::wstring source = Beside(L"电工班名单.csv");
    const std::string csv = ClassListOfForty();
    ASSERT_TRUE(platform::WriteWholeFile(source, {reinterpret_cast<const std::uint8_t*>(csv.data()), csv.size()}));
    ASSERT_NO_FATAL_FAILURE(StartWithReader("none"));

    ASSERT_NO_FATAL_FAILURE(Import(source));
    const std::wstring imported = Acknowledge(L"已导入");
    EXPECT_NE(imported.find(L"已导入 40 名学员"), std::wstring::npos) << platform::Narrow(imported);
    HWND list = OpenList();
    ASSERT_NE(list, nullptr) << "no list window";
    EXPECT_TRUE(TitleBecomes(list, "已拍 0 / 共 40")) << Title(list);
    EXPECT_EQ(RowCount(list), 40);
    // This screen has no room beside the Main window: the list is moved aside, as an
    // operator would, leaving a strip of it in view.
    ::SetWindowPos(list, nullptr, 150 - 644, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    // Three trainees on the list, each read and saved: the window counts each within a second.
    const std::pair<const char*, const char*> onList[] = {{"zhangsan", kZhangsan}, {"lisi", kLisi}, {"wangyan", kWangyan}};
    int saved = 0;
    for (const auto& [card, identity] : onList) {
        ASSERT_TRUE(LayCard(card, identity)) << Caption();
        EXPECT_FALSE(WaitForBoxSaying(orvia_.Id(), kNotOnList, 500ms)) << identity << " is on the list";
        EXPECT_EQ(QueryWindowControl(list, "列表_学员")["value"].find(roster::SplitIdentity(identity).idNumber) !=
                      std::string::npos,
                  true)
            << "the card marks its trainee";
        ASSERT_TRUE(CaptureInto(1));
        ASSERT_TRUE(Save(1, identity));
        ++saved;
        EXPECT_TRUE(TitleBecomes(list, "已拍 " + std::to_string(saved) + " / 共 40")) << Title(list);
    }
    // A stranger's card: the note, and the desk goes on as usual.
    ASSERT_TRUE(SwapCard("longterm"));
    HWND note = WaitForBoxSaying(orvia_.Id(), kNotOnList, 10s);
    EXPECT_NE(note, nullptr) << "no note for a card not on the list";
    EXPECT_TRUE(CaptionBecomes("王秀英_210103195601012028")) << Caption();
    EXPECT_TRUE(WaitUntil([&] { return !note || !::IsWindowVisible(note); }, 6s)) << "the note stays";

    // 未拍 only: 37 rows. A double-click on the first names that trainee, as typed by hand.
    ::SetWindowPos(list, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
    Press(list, "按钮_只看未拍");
    ASSERT_TRUE(WaitUntil([&] { return RowCount(list) == 37; }, 2s)) << RowCount(list);
    RECT header{};
    ::GetWindowRect(::FindWindowExW(Rows(list), nullptr, WC_HEADERW, nullptr), &header);
    DoubleClickAt(POINT{header.left + 40, header.bottom + 8});
    const std::string chosen = QueryWindowControl(list, "列表_学员")["value"];
    ASSERT_EQ(chosen.rfind("学员1 3201021995010100", 0), 0u) << chosen;
    EXPECT_TRUE(WaitUntil([&] { return Caption().rfind("学员1_3201021995010100", 0) == 0; }, 3s)) << Caption();

    // The record: one row per save, from the cards.
    const roster::SaveRecord record = roster::ReadSaveRecord(Slurp(dir_ / L"学员照片\\拍照记录.csv"));
    ASSERT_EQ(record.entries.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(record.entries[i].name + "_" + record.entries[i].idNumber, onList[i].second);
        EXPECT_EQ(record.entries[i].way, roster::SaveWay::Card);
    }

    // Hand-over: the 37 still missing, and the three photos with the record in one archive.
    Press(list, "按钮_导出未拍名单");
    EXPECT_NE(Acknowledge(L"未拍名单已导出（37 人）"), L"");
    const roster::ClassList missing =
        roster::ReadClassListCsv(Slurp(Beside(L"未拍名单_" + Today() + L".csv")), {2026, 1, 1});
    EXPECT_EQ(missing.trainees.size(), 37u);
    Press(list, "按钮_打包照片");
    EXPECT_NE(Acknowledge(L"照片已打包（3 张照片）"), L"");
    const std::string archive = Slurp(Beside(L"学员照片_" + Today() + L".zip"));
    roster::ZipReader zip({reinterpret_cast<const std::uint8_t*>(archive.data()), archive.size()});
    ASSERT_EQ(zip.Problem(), roster::ZipProblem::None);
    EXPECT_EQ(zip.Entries().size(), 4u) << "three photos and the record";
    for (const roster::ZipEntry& entry : zip.Entries()) {
        std::string bytes;
        EXPECT_EQ(zip.Read(entry.name, bytes), roster::ZipProblem::None) << "an entry's bytes or CRC are wrong";
    }
    ShootMainWindow("list");

    // After a restart the list and its photos are the same; a second import asks first, and
    // No keeps the list.
    ASSERT_TRUE(emulator_.TakeCardAway());
    ::PostMessageW(orvia_.MainWindow(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(orvia_.WaitForExit(10s)) << "the program did not end";
    ASSERT_NO_FATAL_FAILURE(StartOrvia());
    list = OpenList();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(TitleBecomes(list, "已拍 3 / 共 40")) << Title(list);
    ASSERT_NO_FATAL_FAILURE(Import(source));
    ASSERT_TRUE(Answer(L"已有学员名单（共 40 人），换成新的名单吗？", IDNO));
    EXPECT_EQ(RowCount(list), 40);
}

}  // namespace
}  // namespace e2e
