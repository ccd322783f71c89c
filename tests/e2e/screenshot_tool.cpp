// orvia_screenshot [--walk] <out.png>: saves the whole screen as a PNG picture. With --walk
// it first walks a running Orvia through the photo desk's road with the demonstration
// camera: reads the card when a reader is attached, starts the camera, frames the head with
// the F key, takes two photos, brightens the second and saves it, then opens the day's list
// beside it, so the picture shows what the program does.
// orvia_screenshot --help-pictures <directory>: records the help page's illustrations from
// a running Orvia with its demonstration camera (see help_pictures.h).
// orvia_screenshot --contact-card <out.jpg>: draws the Contact window's picture.
#include "tests/e2e/demo_camera.h"
#include "tests/e2e/help_pictures.h"

#include "app/main_controls.h"
#include "reader/reader.h"

#include <cstdio>
#include <cwchar>

namespace mc = app::main_controls;

namespace {

using namespace e2e;

// Orvia's main window: a visible, unowned Template window with a taskbar button.
BOOL CALLBACK TakeOrviaWindow(HWND window, LPARAM context) {
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
    if (ClassOf(window) != L"Orvia.Window" || !::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER) ||
        !(exStyle & WS_EX_APPWINDOW))
        return TRUE;
    *reinterpret_cast<HWND*>(context) = window;
    return FALSE;
}

HWND FindOrviaWindow() {
    HWND found = nullptr;
    ::EnumWindows(&TakeOrviaWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool Shown(HWND main, std::string_view control) { return QueryWindowControl(main, control)["shown"] == "1"; }

// With a reader attached, the card on it names the trainee; a read that fails is answered.
void ReadCard(HWND main) {
    if (!Shown(main, app::main_controls::kReadCardLabel.name)) return;
    ClickAt(CentreOf(QueryWindowControl(main, app::main_controls::kReadCardLabel.name)));
    DWORD process = 0;
    ::GetWindowThreadProcessId(main, &process);
    WaitUntil([&] { return Shown(main, app::main_controls::kPhotoLabel.name) || !VisibleWindowsOf(process, kDialogClass).empty(); }, 10s);
    for (HWND box : VisibleWindowsOf(process, kDialogClass)) PressDialogButton(box, IDOK);
    Pause(300ms);
}

// OK to every box of the process that shows within `within` (a question, a note).
void AnswerBoxes(HWND main, Milliseconds within) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(main, &process);
    WaitUntil([&] { return !VisibleWindowsOf(process, kDialogClass).empty(); }, within);
    for (HWND box : VisibleWindowsOf(process, kDialogClass)) PressDialogButton(box, IDOK);
    Pause(300ms);
}

// The list window: owned by the main window.
BOOL CALLBACK TakeListWindow(HWND window, LPARAM context) {
    auto* found = reinterpret_cast<HWND*>(context);
    if (ClassOf(window) != L"Orvia.Window" || !::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER) != found[0])
        return TRUE;
    found[1] = window;
    return FALSE;
}

// The main window to the top-left corner, the day's list to the bottom-right one, where the
// two overlap least on this screen.
void ShowDayList(HWND main) {
    ::SetWindowPos(main, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    if (!PickSettingsMenuItem(main, mc::kListItem)) return;
    HWND found[2] = {main, nullptr};
    WaitUntil(
        [&] {
            ::EnumWindows(&TakeListWindow, reinterpret_cast<LPARAM>(found));
            return found[1] != nullptr;
        },
        3s);
    if (!found[1]) return;
    RECT list{};
    ::GetWindowRect(found[1], &list);
    ::SetWindowPos(found[1], HWND_TOP, ::GetSystemMetrics(SM_CXSCREEN) - (list.right - list.left),
                   ::GetSystemMetrics(SM_CYSCREEN) - (list.bottom - list.top), 0, 0, SWP_NOSIZE);
    Pause(800ms);
}

bool Walk() {
    const HWND main = FindOrviaWindow();
    if (!main) return false;
    ReadCard(main);
    if (!StartDemoCamera(main)) return false;
    Pause(500ms);
    // F brings the head onto the framing guide, when the camera shows one.
    PressKey('F');
    Pause(1500ms);
    for (int photo = 0; photo < 2; ++photo) {
        // The Photo button, or Enter while the Read-card button still stands.
        if (Shown(main, app::main_controls::kPhotoLabel.name))
            ClickAt(CentreOf(QueryWindowControl(main, app::main_controls::kPhotoLabel.name)));
        else
            PressKey(VK_RETURN);
        Pause(400ms);
    }
    ClickAt(CentreOf(QueryWindowControl(main, mc::kSlots[1].board.name)));
    Pause(200ms);
    ClickAt(CentreOf(QueryWindowControl(main, mc::kSlots[1].brighter.label.name)));
    Pause(500ms);
    DoubleClickAt(CentreOf(QueryWindowControl(main, mc::kSlots[1].board.name)));
    AnswerBoxes(main, 3s);  // the save question
    ShowDayList(main);
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wcscmp(argv[1], L"--help-pictures") == 0) {
        const HWND main = FindOrviaWindow();
        if (!main) {
            std::fputs("orvia_screenshot: no Orvia window\n", stderr);
            return 1;
        }
        return e2e::RecordHelpPictures(main, argv[2]) ? 0 : 1;
    }
    if (argc == 3 && std::wcscmp(argv[1], L"--contact-card") == 0) return e2e::DrawContactCard(argv[2]) ? 0 : 1;
    const bool walk = argc == 3 && std::wcscmp(argv[1], L"--walk") == 0;
    if (argc != 2 && !walk) {
        std::fputs("usage: orvia_screenshot [--walk] <out.png> | --help-pictures <directory> | --contact-card <out.jpg>\n", stderr);
        return 2;
    }
    if (walk && !Walk()) std::fputs("orvia_screenshot: no Orvia with its demonstration camera to walk\n", stderr);
    const e2e::Screenshot shot = e2e::Screenshot::WholeScreen();
    if (shot.Empty() || !shot.SavePng(argv[argc - 1])) {
        std::fputs("orvia_screenshot: the screen could not be saved\n", stderr);
        return 1;
    }
    return 0;
}
