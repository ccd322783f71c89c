// Drives the real orvia.exe from another process, as a user at the photo desk would:
// starts it in a program directory of its own, finds and reads its controls as assistive
// tools do (MSAA), moves the mouse, presses keys, looks at the screen and finds the windows
// it pops up.
#pragma once

#include "platform/files.h"
#include "platform/host.h"

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;
using Milliseconds = std::chrono::milliseconds;

// ---- waiting ---------------------------------------------------------------------------

// Polls `condition` with short sleeps until it holds or `timeout` has passed; true when it
// held. Messages sent to this thread meanwhile are handled.
bool WaitUntil(const std::function<bool()>& condition, Milliseconds timeout = 5s);

// Lets `duration` pass while handling messages sent to this thread.
void Pause(Milliseconds duration);

// ---- paths and files -------------------------------------------------------------------

// A path as CMake passes it: "/x/y" becomes "Z:\x\y"; a Windows path stays as it is.
std::wstring WindowsPath(std::wstring_view path);
using platform::EnvironmentValue;
// The variable's value as a Windows path; empty when it is not set.
std::wstring PathFromEnvironment(const wchar_t* variable);

std::wstring OrviaExePath();  // ORVIA_EXE
std::wstring ComponentDir();  // ORVIA_COMPONENT_DIR: where the component DLLs were built

using platform::JoinPath;
bool IsPlainFile(const std::wstring& path);
// Removes a file or a whole directory tree, read-only and hidden entries included.
bool RemoveTree(const std::wstring& path);

// The names in a directory (no "." or ".."), sorted; none when it cannot be read.
std::vector<std::wstring> DirectoryEntries(const std::wstring& directory);

using platform::RunsUnderWine;

// GetFileAttributesW with the attribute Wine adds on its own taken out: Wine reports
// FILE_ATTRIBUTE_ARCHIVE on every regular file, whatever was set (it keeps the attributes
// that were set, e.g. exactly FILE_ATTRIBUTE_HIDDEN, and adds ARCHIVE when reading them
// back). On Windows this is GetFileAttributesW itself.
// INVALID_FILE_ATTRIBUTES when the entry is missing.
DWORD FileAttributesAsSet(const std::wstring& path);

// A fresh directory of its own, removed with everything in it at the end.
class TempProgramDir {
public:
    TempProgramDir();
    ~TempProgramDir();
    TempProgramDir(const TempProgramDir&) = delete;
    TempProgramDir& operator=(const TempProgramDir&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring operator/(std::wstring_view name) const { return JoinPath(path_, name); }
    // Copies the orvia.exe under test in; its path, or empty when the copy failed.
    std::wstring CopyOrvia() const;

private:
    std::wstring path_;
};

// ---- the program -----------------------------------------------------------------------

// What a Template window's accessible object says about one of its controls, found by its
// Template name (the child's description); empty when nothing answered or the name is
// unknown. Keys:
//   name      the Template name          caption   the accessible name (the caption)
//   role      the MSAA role, decimal     shown     "1" unless the control is invisible
//   focused   "1" when it has the focus  value     the accessible value, where it has one
//   action    the default action, where it has one
//   x, y, w, h          where it lies in the window's client area
//   screen_x, screen_y  its top-left corner on the screen
//   hwnd      its window (hexadecimal), for controls that have one
// and from the standard messages to its window: items ("|" between them) and selection of
// a list, position of a slider.
using Report = std::map<std::string, std::string>;

// Where a reported control lies on the screen, and its middle.
RECT OnScreen(const Report& control);
POINT CentreOf(const Report& control);

// A decimal report value; `fallback` when it is missing or not a number.
long long ReportNumber(const Report& report, const std::string& key, long long fallback = -1);
// A hexadecimal report value (handles).
std::optional<std::uint64_t> ReportHex(const Report& report, const std::string& key);
// The report's "hwnd"; null when it has none.
HWND ReportWindow(const Report& report);

// Asks the accessible object of the Template window `window` about its control `name`
// (about its client for an empty name: role, place, state and its window).
Report QueryWindowControl(HWND window, std::string_view name);

class OrviaProcess {
public:
    OrviaProcess() = default;
    ~OrviaProcess();  // terminates the program if it still runs
    OrviaProcess(const OrviaProcess&) = delete;
    OrviaProcess& operator=(const OrviaProcess&) = delete;

    // Starts programDir\orvia.exe in programDir, with extra environment variables on top
    // of ours, and waits until its main window is visible, answers and has been painted.
    // False (with the reason in Error()) when it did not get there within `timeout`, or
    // when it still runs from an earlier start.
    bool Start(const std::wstring& programDir,
               const std::vector<std::pair<std::wstring, std::wstring>>& environment = {},
               Milliseconds timeout = 30s);

    const std::string& Error() const { return error_; }
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_; }
    HWND MainWindow() const { return main_; }
    bool IsRunning() const;

    // About a control of the main window; Query("") about the main window's client.
    Report Query(std::string_view name) const { return QueryWindowControl(main_, name); }
    RECT WindowRect() const;  // the main window on the screen
    // A point given in the main window's client coordinates, on the screen.
    POINT ToScreen(int clientX, int clientY) const;

    bool WaitForExit(Milliseconds timeout);
    std::optional<DWORD> ExitCode() const;  // once it has ended
    void Terminate();

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
    HWND main_ = nullptr;
    std::string error_;
};

// ---- windows of a process --------------------------------------------------------------

std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);
// The visible top-level windows of class `className` that belong to process `processId`.
std::vector<HWND> VisibleWindowsOf(DWORD processId, std::wstring_view className);
// The first of them, waiting up to `timeout` for one to appear; null when none did.
HWND WaitForWindowOf(DWORD processId, std::wstring_view className, Milliseconds timeout = 5s);

inline constexpr wchar_t kDialogClass[] = L"#32770";  // dialogs and message boxes
inline constexpr wchar_t kMenuClass[] = L"#32768";    // pop-up menus
inline constexpr int kMessageBoxTextId = 0xFFFF;      // a message box's text
std::wstring MessageBoxText(HWND dialog);
// The visible dialog of the process whose message text (or, failing that, title) contains
// `part`; null when none did within `timeout`. A box that is closing may still be listed, so
// the text decides.
HWND WaitForBoxSaying(DWORD processId, std::wstring_view part, Milliseconds timeout = 5s);
// The same for a box whose whole text is `text`.
HWND WaitForBoxWithText(DWORD processId, std::wstring_view text, Milliseconds timeout = 5s);
// Presses the dialog's button with control id `id` (IDOK, IDCANCEL, IDYES...): BM_CLICK
// when the button exists, otherwise WM_COMMAND as a button would send it.
bool PressDialogButton(HWND dialog, int id);
// Whether a pop-up menu window (class #32768) of another process shows an item: its
// entries as MN_GETHMENU and GetMenuStringW give them where menus are shared between
// processes (Windows), otherwise its pixels (Wine 8 keeps a process's menus to itself):
// the text drawn as menus draw it, normal or highlighted, somewhere in the window.
bool MenuShowsItem(HWND menuWindow, std::wstring_view text);
// The window with the keyboard focus in the thread that owns `window` (GetGUIThreadInfo).
HWND FocusOfThreadOf(HWND window);

// ---- input -----------------------------------------------------------------------------

// Moves the pointer (screen coordinates); the window under it gets a mouse move. The
// pointer Wine reports afterwards may lag behind while another program holds the mouse
// (a drag, a menu): compare with where it was sent, not with MousePosition().
void MoveMouseTo(int x, int y);
void MoveMouseTo(POINT at);
POINT MousePosition();
void LeftDown();
void LeftUp();
void ClickAt(int x, int y);
void ClickAt(POINT at);
void DoubleClickAt(POINT at);
// Presses the left button at `press` and moves the pointer by (dx, dy) in four steps,
// leaving the button held. A caption drag starts on the first move with the button held,
// one pixel on from `press`; the window then follows the pointer by (dx, dy).
void PressAndDrag(POINT press, int dx, int dy);
void PressKey(WORD virtualKey);
// Makes `window` the foreground window so that keys reach it; true once it is.
bool BringToForeground(HWND window);
// Picks the item `caption` of the settings pop-up of Orvia's main window `main` with the
// keyboard, as an operator would; true once the menu has closed again.
bool PickSettingsMenuItem(HWND main, std::string_view caption);

// ---- the screen ------------------------------------------------------------------------

class Screenshot {
public:
    // The pixels now on the screen inside `area` (screen coordinates).
    static Screenshot Capture(const RECT& area);
    static Screenshot OfWindow(HWND window);
    static Screenshot WholeScreen();

    int Width() const { return width_; }
    int Height() const { return height_; }
    RECT Area() const { return area_; }
    bool Empty() const { return pixels_.empty(); }
    // The colour at (x, y) relative to the captured area's top-left corner; CLR_INVALID
    // outside it.
    COLORREF Pixel(int x, int y) const;
    // How many pixels of the given rectangle (same coordinates as Pixel) have the colour.
    int CountColour(const RECT& within, COLORREF colour) const;
    // Whether every pixel has the colour (false for an empty shot).
    bool IsAll(COLORREF colour) const;
    bool SamePixels(const Screenshot& other) const;
    // Tells pictures apart (FNV-1a over the pixels and the size).
    std::uint64_t Hash() const;
    // Writes a PNG file, creating the directory it goes into when needed.
    bool SavePng(const std::wstring& path) const;

private:
    RECT area_{};
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;  // 0x00RRGGBB, top row first
};

// The pixels inside `area` once they have stopped changing (two looks in a row alike),
// or as they are after `timeout`: a picture that is being painted is not taken half done.
Screenshot SettledCapture(const RECT& area, Milliseconds timeout = 1s);

// How many pixels inside `area` (screen coordinates) have the colour now.
int CountColourOnScreen(const RECT& area, COLORREF colour);

// Where a test keeps its pictures: <working directory>\e2e-shots\<name>.png.
std::wstring ShotPath(std::string_view name);

}  // namespace e2e
