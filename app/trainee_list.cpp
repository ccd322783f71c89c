#include "app/trainee_list.h"

#include "app/trainee_list_window.h"
#include "photo/photo_save.h"
#include "platform/component_library.h"
#include "platform/files.h"
#include "platform/win_text.h"
#include "roster/hand_over.h"
#include "roster/record_file.h"
#include "roster/save_record.h"
#include "ui/modal.h"

#include <commdlg.h>

#include <string_view>

namespace app {

namespace {
namespace lc = list_controls;

constexpr std::string_view kNotRead = "没有读到学员名单：";
constexpr std::string_view kListNotKept = "学员名单没有保存：";
constexpr std::string_view kReplaceBefore = "已有学员名单（共 ";
constexpr std::string_view kReplaceAfter = " 人），换成新的名单吗？";
constexpr std::string_view kNoList = "还没有学员名单。请先在设置菜单里选“导入学员名单…”。";
constexpr std::string_view kMissingWritten = "未拍名单已导出（";
constexpr std::string_view kPacked = "照片已打包（";
constexpr std::string_view kNotWritten = "没有写成：";
constexpr std::string_view kNoDialog = "打不开选择文件的窗口，请重新启动 Orvia 再试。";

void Say(HWND owner, std::string_view text, UINT icon = MB_ICONINFORMATION) {
    ui::ShowMessageBox(owner, text, "Orvia", MB_OK | icon);
}

// The file the operator picks in the platform's open dialog; empty when cancelled.
std::wstring AskForListFile(HWND owner) {
    wchar_t path[MAX_PATH * 4] = L"";
    static constexpr wchar_t kFilter[] = L"学员名单 (*.csv;*.xlsx)\0*.csv;*.xlsx\0所有文件 (*.*)\0*.*\0";
    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFilter = kFilter;
    request.lpstrFile = path;
    request.nMaxFile = static_cast<DWORD>(std::size(path));
    request.lpstrTitle = L"导入学员名单";
    request.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    // The dialog's library is loaded the first time it is asked for: linked in, it would load
    // the shell's libraries at every start-up.
    using GetOpenFileNameFn = BOOL(WINAPI*)(LPOPENFILENAMEW);
    static const platform::ComponentLibrary dialogs(platform::SystemLibraryPath(L"comdlg32.dll"));
    const auto getOpenFileName = dialogs.Find<GetOpenFileNameFn>("GetOpenFileNameW");
    if (!getOpenFileName) {
        Say(owner, kNoDialog, MB_ICONWARNING);
        return {};
    }
    ui::ModalScope modal;
    return getOpenFileName(&request) ? std::wstring(path) : std::wstring();
}

// Beside the Main window where the screen has room, so the desk stays in view; otherwise
// where it opened (the middle of the screen), for the operator to move.
void PlaceBeside(HWND window, HWND main) {
    RECT mainRect{}, own{};
    MONITORINFO monitor{sizeof monitor};
    if (!::GetWindowRect(main, &mainRect) || !::GetWindowRect(window, &own) ||
        !::GetMonitorInfoW(::MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const RECT& work = monitor.rcWork;
    const int width = own.right - own.left;
    int left = 0;
    if (work.right - mainRect.right >= width)
        left = mainRect.right;
    else if (mainRect.left - work.left >= width)
        left = mainRect.left - width;
    else
        return;
    ::SetWindowPos(window, nullptr, left, mainRect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

TraineeList::TraineeList(std::wstring programDirectory, std::wstring photoDirectory,
                         std::function<void(const std::string&)> nameTrainee)
    : programDirectory_(std::move(programDirectory)),
      photoDirectory_(std::move(photoDirectory)),
      nameTrainee_(std::move(nameTrainee)) {}

TraineeList::~TraineeList() {
    if (ui::Window* window = Window()) ::DestroyWindow(window->Handle());
}

ui::Window* TraineeList::Window() const { return windowLifetime_.expired() ? nullptr : window_; }

void TraineeList::Load() {
    if (loaded_) return;
    loaded_ = true;
    const std::wstring path = platform::JoinPath(programDirectory_, platform::Wide(roster::kClassListFileName));
    if (const auto bytes = platform::ReadWholeFile(path)) {
        const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
        list_.SetTrainees(roster::ReadClassListCsv(text, roster::LocalTimeNow().date).trainees);
    }
    ListFolder();
}

void TraineeList::ListFolder() {
    if (!list_.Empty()) list_.SetPhotos(roster::ListPhotoFolder(photoDirectory_));
    listedAt_ = ::GetTickCount64();
}

bool TraineeList::ListFolderUnlessFresh() {
    // A listing within the last second is as good (the list was just read, or a box closing
    // over the window activated it again); saves since are marked as they happen.
    constexpr unsigned long long kFreshForMs = 1000;
    if (::GetTickCount64() - listedAt_ < kFreshForMs) return false;
    ListFolder();
    return true;
}

void TraineeList::ShowInWindow() {
    ui::Window* window = Window();
    if (!window) return;
    roster::ShownRows shown = roster::RowsToShow(list_, onlyMissing_);
    shownPositions_ = std::move(shown.positions);
    const std::string title = list_.Empty() ? std::string("学员名单") : roster::CountTitle(list_.Status());
    window->Get(lc::kTitle).SetCaption(title);
    ::SetWindowTextW(window->Handle(), platform::Wide(title).c_str());
    window->Get(lc::kOnlyMissing).SetCaption(onlyMissing_ ? lc::kShowAll : lc::kShowOnlyMissing);
    ui::ReportListHandle rows = window->Get(lc::kTrainees);
    rows.SetRows(std::move(shown.cells));
    if (marked_) {
        for (std::size_t row = 0; row < shownPositions_.size(); ++row)
            if (shownPositions_[row] == *marked_) rows.Select(static_cast<int>(row));
    }
}

void TraineeList::OpenWindow(ui::Window& owner) {
    Load();
    if (ui::Window* open = Window()) {
        ::SetForegroundWindow(open->Handle());
        return;
    }
    if (list_.Empty()) {
        Say(owner.Handle(), kNoList);
        return;
    }
    ListFolderUnlessFresh();
    ui::Window::Open(ListWindowTemplate(), ListWindowBehaviour(*this), owner.Handle());
}

void TraineeList::OnWindowCreated(ui::Window& window) {
    // Filled and placed before it shows: its first paint is the list.
    window_ = &window;
    windowLifetime_ = window.Lifetime();
    PlaceBeside(window.Handle(), ::GetWindow(window.Handle(), GW_OWNER));
    ShowInWindow();
}

void TraineeList::OnActivated() {
    // Files copied in by hand show when the operator comes back to the window.
    if (ListFolderUnlessFresh()) ShowInWindow();
}

void TraineeList::Import(HWND owner) {
    Load();
    const std::wstring path = AskForListFile(owner);
    if (path.empty()) return;
    roster::ListFile file = roster::ReadListFile(path, roster::LocalTimeNow().date);
    if (!file.problem.empty()) return Say(owner, std::string(kNotRead) + file.problem + "。", MB_ICONWARNING);
    if (file.list.problem != roster::ListProblem::None)
        return Say(owner, std::string(kNotRead) + roster::DescribeImport(file.list), MB_ICONWARNING);
    if (!list_.Empty()) {
        const std::string question =
            std::string(kReplaceBefore) + std::to_string(list_.Trainees().size()) + std::string(kReplaceAfter);
        // No keeps the list there: Enter never throws a list away.
        if (ui::ShowMessageBox(owner, question, "Orvia", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;
    }
    const std::wstring kept = platform::JoinPath(programDirectory_, platform::Wide(roster::kClassListFileName));
    if (const unsigned long error = roster::WriteListFile(kept, file.list.trainees)) {
        return Say(owner,
                   std::string(kListNotKept) + roster::DescribeWriteFailure(error, roster::kClassListFileName) + "。",
                   MB_ICONWARNING);
    }
    const std::string described = roster::DescribeImport(file.list);
    const bool allRight = file.list.wrongIds.empty() && file.list.duplicates.empty();
    list_.SetTrainees(std::move(file.list.trainees));
    marked_.reset();
    ListFolder();
    ShowInWindow();
    Say(owner, described, allRight ? MB_ICONINFORMATION : MB_ICONWARNING);
}

void TraineeList::OnPhotoSaved(std::string_view identity) {
    if (!loaded_ || list_.Empty()) return;
    list_.PhotoSaved({platform::Narrow(photo::PhotoFileName(identity)), roster::LocalTimeNow()});
    ShowInWindow();
}

bool TraineeList::OnCardRead(std::string_view idNumber) {
    Load();
    if (list_.Empty()) return true;
    marked_ = list_.Find(idNumber);
    ShowInWindow();
    return marked_.has_value();
}

void TraineeList::OnRowChosen(int shownRow) {
    if (shownRow < 0 || static_cast<std::size_t>(shownRow) >= shownPositions_.size()) return;
    const std::size_t position = shownPositions_[static_cast<std::size_t>(shownRow)];
    marked_ = position;
    nameTrainee_(roster::IdentityOf(list_.Trainees()[position]));
}

void TraineeList::OnOnlyMissingToggled() {
    onlyMissing_ = !onlyMissing_;
    ShowInWindow();
}

void TraineeList::ExportMissing() {
    ui::Window* window = Window();
    HWND owner = window ? window->Handle() : nullptr;
    const std::string name = "未拍名单_" + platform::Narrow(roster::DayStamp(roster::LocalTimeNow().date)) + ".csv";
    const std::wstring path = platform::JoinPath(programDirectory_, platform::Wide(name));
    if (const unsigned long error = roster::WriteMissingFile(path, list_))
        return Say(owner, name + std::string(kNotWritten) + roster::DescribeWriteFailure(error, name) + "。",
                   MB_ICONWARNING);
    const std::size_t missing = list_.Status().total - list_.Status().taken;
    Say(owner, std::string(kMissingWritten) + std::to_string(missing) + " 人）：\n" + platform::Narrow(path));
}

void TraineeList::PackPhotos() {
    ui::Window* window = Window();
    HWND owner = window ? window->Handle() : nullptr;
    ListFolder();
    ShowInWindow();
    const roster::LocalTime now = roster::LocalTimeNow();
    const std::string name = "学员照片_" + platform::Narrow(roster::DayStamp(now.date)) + ".zip";
    const std::wstring path = platform::JoinPath(programDirectory_, platform::Wide(name));
    const HCURSOR before = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    const roster::PackOutcome packed = roster::PackPhotos(path, photoDirectory_, list_, now);
    ::SetCursor(before);
    if (packed.error != 0)
        return Say(owner, name + std::string(kNotWritten) + roster::DescribeWriteFailure(packed.error, name) + "。",
                   MB_ICONWARNING);
    std::string text = std::string(kPacked) + std::to_string(packed.photos) + " 张照片）：\n" + platform::Narrow(path);
    if (packed.gone > 0) text += "\n有 " + std::to_string(packed.gone) + " 张照片读不出，没有打包，请查看学员照片文件夹。";
    Say(owner, text, packed.gone > 0 ? MB_ICONWARNING : MB_ICONINFORMATION);
}

}  // namespace app
