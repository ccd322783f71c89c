#include "tests/e2e/harness.h"

#include "app/main_controls.h"
#include "app/main_template.h"
#include "app/startup.h"
#include "platform/dib.h"
#include "platform/gdiplus.h"
#include "platform/win_text.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <utility>

namespace e2e {

namespace {
using Clock = std::chrono::steady_clock;

constexpr wchar_t kOrviaWindowClass[] = L"Orvia.Window";
constexpr UINT kMessageTimeoutMs = 2000;
constexpr Milliseconds kInputSettle{30};

void PumpSentMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

}  // namespace

// ---- waiting ---------------------------------------------------------------------------

void Pause(Milliseconds duration) {
    const auto end = Clock::now() + duration;
    for (;;) {
        PumpSentMessages();
        const auto now = Clock::now();
        if (now >= end) return;
        const auto left = std::chrono::duration_cast<Milliseconds>(end - now);
        ::Sleep(static_cast<DWORD>(std::min<Milliseconds::rep>(left.count(), 10)));
    }
}

bool WaitUntil(const std::function<bool()>& condition, Milliseconds timeout) {
    const auto end = Clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (Clock::now() >= end) return condition();
        Pause(15ms);
    }
}

// ---- paths and files -------------------------------------------------------------------

std::wstring WindowsPath(std::wstring_view path) {
    std::wstring result(path);
    if (!result.empty() && result.front() == L'/') result = L"Z:" + result;
    if (result.size() >= 2 && result[1] == L':') std::replace(result.begin(), result.end(), L'/', L'\\');
    return result;
}

std::wstring PathFromEnvironment(const wchar_t* variable) {
    const auto value = EnvironmentValue(variable);
    return value ? WindowsPath(*value) : std::wstring();
}

std::wstring OrviaExePath() { return PathFromEnvironment(L"ORVIA_EXE"); }
std::wstring ComponentDir() { return PathFromEnvironment(L"ORVIA_COMPONENT_DIR"); }

bool IsPlainFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool RemoveTree(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return ::RemoveDirectoryW(path.c_str()) != FALSE;
        return ::DeleteFileW(path.c_str()) != FALSE;
    }
    bool ok = true;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(JoinPath(path, L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring_view name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            ok = RemoveTree(JoinPath(path, name)) && ok;
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    return ::RemoveDirectoryW(path.c_str()) != FALSE && ok;
}

std::vector<std::wstring> DirectoryEntries(const std::wstring& directory) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    HANDLE find = ::FindFirstFileW(JoinPath(directory, L"*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

DWORD FileAttributesAsSet(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) || !RunsUnderWine())
        return attributes;
    // The one place the archive bit is ignored; see the declaration.
    return attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE);
}

TempProgramDir::TempProgramDir() {
    static std::atomic<unsigned> counter{0};
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring base = length ? std::wstring(temp, length) : std::wstring(L".\\");
    for (;;) {
        // A space in the name, as in "Program Files", on purpose.
        const std::wstring candidate = JoinPath(base, L"orvia e2e " + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                                          std::to_wstring(++counter) + L"-" +
                                                          std::to_wstring(::GetTickCount()));
        if (::CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS) return;  // path_ stays empty
    }
}

TempProgramDir::~TempProgramDir() {
    if (path_.empty()) return;
    // A program that just ended may hold its files for a moment longer.
    WaitUntil([&] { return RemoveTree(path_); }, 5s);
}

std::wstring TempProgramDir::CopyOrvia() const {
    const std::wstring source = OrviaExePath();
    const std::wstring target = *this / L"orvia.exe";
    if (path_.empty() || source.empty() || !::CopyFileW(source.c_str(), target.c_str(), FALSE)) return {};
    return target;
}

// ---- asking the program's windows -------------------------------------------------------

long long ReportNumber(const Report& report, const std::string& key, long long fallback) {
    const auto it = report.find(key);
    if (it == report.end()) return fallback;
    long long value = 0;
    const char* first = it->second.data();
    const char* last = first + it->second.size();
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last && first != last ? value : fallback;
}

std::optional<std::uint64_t> ReportHex(const Report& report, const std::string& key) {
    const auto it = report.find(key);
    if (it == report.end()) return std::nullopt;
    std::string_view text = it->second;
    if (text.starts_with("0x") || text.starts_with("0X")) text.remove_prefix(2);
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

RECT OnScreen(const Report& control) {
    const LONG x = static_cast<LONG>(ReportNumber(control, "screen_x"));
    const LONG y = static_cast<LONG>(ReportNumber(control, "screen_y"));
    return {x, y, x + static_cast<LONG>(ReportNumber(control, "w")), y + static_cast<LONG>(ReportNumber(control, "h"))};
}

POINT CentreOf(const Report& control) {
    const RECT r = OnScreen(control);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

HWND ReportWindow(const Report& report) {
    const auto value = ReportHex(report, "hwnd");
    return value ? reinterpret_cast<HWND>(static_cast<std::uintptr_t>(*value)) : nullptr;
}

// ---- the program -----------------------------------------------------------------------

namespace {
struct WindowSearch {
    DWORD processId;
    std::wstring_view className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && ::IsWindowVisible(window) && ClassOf(window) == search.className)
        search.found.push_back(window);
    return TRUE;
}

HWND FindMainWindow(DWORD processId) {
    for (HWND window : VisibleWindowsOf(processId, kOrviaWindowClass)) {
        const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
        if (!::GetWindow(window, GW_OWNER) && (exStyle & WS_EX_APPWINDOW)) return window;
    }
    return nullptr;
}

bool IsUniform(const Screenshot& shot) { return shot.IsAll(shot.Pixel(0, 0)); }

// Our environment with `extra` set on top, as a CreateProcessW environment block.
std::wstring EnvironmentBlock(const std::vector<std::pair<std::wstring, std::wstring>>& extra) {
    std::vector<std::wstring> entries;
    if (wchar_t* strings = ::GetEnvironmentStringsW()) {
        for (const wchar_t* p = strings; *p; p += wcslen(p) + 1) entries.emplace_back(p);
        ::FreeEnvironmentStringsW(strings);
    }
    for (const auto& [name, value] : extra) {
        const std::wstring prefix = name + L"=";
        std::erase_if(entries, [&](const std::wstring& entry) {
            return entry.size() >= prefix.size() &&
                   ::CompareStringOrdinal(entry.data(), static_cast<int>(prefix.size()), prefix.data(),
                                          static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
        });
        entries.push_back(prefix + value);
    }
    std::wstring block;
    for (const std::wstring& entry : entries) {
        block += entry;
        block += L'\0';
    }
    block += L'\0';
    return block;
}
}  // namespace

OrviaProcess::~OrviaProcess() {
    Terminate();
    if (process_) ::CloseHandle(process_);
}

bool OrviaProcess::Start(const std::wstring& programDir,
                         const std::vector<std::pair<std::wstring, std::wstring>>& environment,
                         Milliseconds timeout) {
    if (process_) {
        if (IsRunning()) {
            error_ = "this OrviaProcess still runs";
            return false;
        }
        // Started again after it ended (a restart).
        ::CloseHandle(std::exchange(process_, nullptr));
        main_ = nullptr;
    }
    const auto deadline = Clock::now() + timeout;
    const auto left = [&] {
        return std::max(0ms, std::chrono::duration_cast<Milliseconds>(deadline - Clock::now()));
    };
    const std::wstring exe = JoinPath(programDir, L"orvia.exe");
    std::wstring commandLine = L"\"" + exe + L"\"";
    std::wstring block = EnvironmentBlock(environment);
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                          block.data(), programDir.c_str(), &startup, &info)) {
        error_ = "CreateProcessW failed for " + platform::Narrow(exe) + " (error " + std::to_string(::GetLastError()) + ")";
        return false;
    }
    ::CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;

    const auto ended = [&] {
        if (IsRunning()) return false;
        error_ = "orvia.exe ended with exit code " + std::to_string(ExitCode().value_or(0)) + " before its window was ready";
        return true;
    };
    // Visible first; then answering, which means its message loop runs and the first
    // paint is done; then its pixels on the screen, which reach the X server a little later.
    WaitUntil([&] { return (main_ = FindMainWindow(id_)) != nullptr || ended(); }, left());
    if (!main_) {
        if (error_.empty()) error_ = "no visible main window appeared";
        return false;
    }
    if (!WaitUntil([&] { return !Query("").empty() || ended(); }, left()) || !IsRunning()) {
        if (error_.empty()) error_ = "the main window did not answer";
        return false;
    }
    ::WaitForInputIdle(process_, static_cast<DWORD>(left().count()));
    Screenshot previous = Screenshot::OfWindow(main_);
    const bool settled = WaitUntil([&] {
        Pause(30ms);
        Screenshot now = Screenshot::OfWindow(main_);
        const bool same = !now.Empty() && now.SamePixels(previous) && !IsUniform(now);
        previous = std::move(now);
        return same;
    }, left());
    if (!settled) {
        error_ = IsRunning() ? "the main window was never painted on the screen" : error_;
        return false;
    }
    return true;
}

bool OrviaProcess::IsRunning() const {
    return process_ && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

RECT OrviaProcess::WindowRect() const {
    RECT r{};
    ::GetWindowRect(main_, &r);
    return r;
}

POINT OrviaProcess::ToScreen(int clientX, int clientY) const {
    POINT p{clientX, clientY};
    ::ClientToScreen(main_, &p);
    return p;
}

bool OrviaProcess::WaitForExit(Milliseconds timeout) {
    if (!process_) return true;
    return WaitUntil([&] { return !IsRunning(); }, timeout);
}

std::optional<DWORD> OrviaProcess::ExitCode() const {
    DWORD code = 0;
    if (!process_ || IsRunning() || !::GetExitCodeProcess(process_, &code)) return std::nullopt;
    return code;
}

void OrviaProcess::Terminate() {
    if (!IsRunning()) return;
    ::TerminateProcess(process_, 1);
    ::WaitForSingleObject(process_, 10000);
}

// ---- windows of a process --------------------------------------------------------------

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    const int length = ::GetClassNameW(window, name, 256);
    return std::wstring(name, static_cast<std::size_t>(std::max(length, 0)));
}

std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &length))
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                               SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied))
        return {};
    text.resize(std::min<std::size_t>(copied, text.size() - 1));
    return text;
}

std::vector<HWND> VisibleWindowsOf(DWORD processId, std::wstring_view className) {
    WindowSearch search{processId, className, {}};
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindowOf(DWORD processId, std::wstring_view className, Milliseconds timeout) {
    HWND found = nullptr;
    WaitUntil([&] {
        const auto windows = VisibleWindowsOf(processId, className);
        found = windows.empty() ? nullptr : windows.front();
        return found != nullptr;
    }, timeout);
    return found;
}

std::wstring MessageBoxText(HWND dialog) {
    HWND text = ::GetDlgItem(dialog, kMessageBoxTextId);
    return text ? TextOf(text) : std::wstring();
}

HWND WaitForBoxSaying(DWORD processId, std::wstring_view part, Milliseconds timeout) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND box : VisibleWindowsOf(processId, kDialogClass)) {
                if (MessageBoxText(box).find(part) != std::wstring::npos || TextOf(box).find(part) != std::wstring::npos)
                    found = box;
            }
            return found != nullptr;
        },
        timeout);
    return found;
}

HWND WaitForBoxWithText(DWORD processId, std::wstring_view text, Milliseconds timeout) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND box : VisibleWindowsOf(processId, kDialogClass))
                if (MessageBoxText(box) == text) found = box;
            return found != nullptr;
        },
        timeout);
    return found;
}

bool PressDialogButton(HWND dialog, int id) {
    // Posted: the handler of the button may well open the next modal window.
    if (HWND button = ::GetDlgItem(dialog, id)) return ::PostMessageW(button, BM_CLICK, 0, 0) != FALSE;
    return ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0) != FALSE;
}

namespace {
// The pixels `text` gives in the menu font, `ink` on `paper`, cut down to where ink fell.
struct Glyphs {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
};

Glyphs MenuText(std::wstring_view text, COLORREF ink, COLORREF paper) {
    Glyphs out;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return out;
    platform::UniqueFont font(::CreateFontIndirectW(&metrics.lfMenuFont));
    platform::WindowDC screen(nullptr);
    platform::UniqueDC dc(::CreateCompatibleDC(screen.get()));
    if (!font || !dc) return out;
    platform::Selection useFont(dc.get(), font.get());
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.get(), text.data(), static_cast<int>(text.size()), &extent);
    const int width = extent.cx + 8, height = extent.cy + 8;
    const platform::TopDownDib dib = platform::CreateTopDownDib(screen.get(), width, height);
    if (!dib.bits) return out;
    platform::Selection useDib(dc.get(), dib.bitmap.get());
    platform::UniqueBrush background(::CreateSolidBrush(paper));
    RECT all{0, 0, width, height};
    ::FillRect(dc.get(), &all, background.get());
    ::SetBkMode(dc.get(), TRANSPARENT);
    ::SetTextColor(dc.get(), ink);
    RECT place{4, 4, width, height};
    ::DrawTextW(dc.get(), text.data(), static_cast<int>(text.size()), &place, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    ::GdiFlush();
    const auto* bits = static_cast<const std::uint32_t*>(dib.bits);
    const auto at = [&](int x, int y) {
        const std::uint32_t p = bits[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    };
    RECT inked{width, height, 0, 0};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (at(x, y) != paper) inked = {std::min<LONG>(inked.left, x), std::min<LONG>(inked.top, y),
                                           std::max<LONG>(inked.right, x + 1), std::max<LONG>(inked.bottom, y + 1)};
    if (inked.right <= inked.left) return out;
    out.width = inked.right - inked.left;
    out.height = inked.bottom - inked.top;
    for (int y = inked.top; y < inked.bottom; ++y)
        for (int x = inked.left; x < inked.right; ++x) out.pixels.push_back(at(x, y));
    return out;
}

bool Shows(const Screenshot& shot, const Glyphs& glyphs) {
    if (glyphs.pixels.empty()) return false;
    for (int top = 0; top + glyphs.height <= shot.Height(); ++top) {
        for (int left = 0; left + glyphs.width <= shot.Width(); ++left) {
            bool same = true;
            for (int y = 0; same && y < glyphs.height; ++y)
                for (int x = 0; same && x < glyphs.width; ++x)
                    same = shot.Pixel(left + x, top + y) ==
                           glyphs.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(glyphs.width) + static_cast<std::size_t>(x)];
            if (same) return true;
        }
    }
    return false;
}
}  // namespace

bool MenuShowsItem(HWND menuWindow, std::wstring_view text) {
    DWORD_PTR handle = 0;
    if (::SendMessageTimeoutW(menuWindow, MN_GETHMENU, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &handle) && handle) {
        HMENU menu = reinterpret_cast<HMENU>(handle);
        const int count = ::GetMenuItemCount(menu);
        for (int i = 0; i < count; ++i) {
            wchar_t item[256] = {};
            const int length = ::GetMenuStringW(menu, static_cast<UINT>(i), item, 256, MF_BYPOSITION);
            if (std::wstring_view(item, static_cast<std::size_t>(std::max(length, 0))) == text) return true;
        }
        if (count >= 0) return false;  // the menu could be read, and the item is not in it
    }
    const Screenshot shot = Screenshot::OfWindow(menuWindow);
    return Shows(shot, MenuText(text, ::GetSysColor(COLOR_MENUTEXT), ::GetSysColor(COLOR_MENU))) ||
           Shows(shot, MenuText(text, ::GetSysColor(COLOR_HIGHLIGHTTEXT), ::GetSysColor(COLOR_HIGHLIGHT))) ||
           Shows(shot, MenuText(text, ::GetSysColor(COLOR_HIGHLIGHTTEXT), ::GetSysColor(COLOR_MENUHILIGHT)));
}

HWND FocusOfThreadOf(HWND window) {
    GUITHREADINFO info{sizeof info};
    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    return thread && ::GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// ---- input -----------------------------------------------------------------------------

namespace {
void SendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof input);
}
}  // namespace

void MoveMouseTo(int x, int y) {
    ::SetCursorPos(x, y);
    // Under Wine the pointer warp comes back to this process as X pointer motion, which it
    // feeds in as one more move to the same place. Take it in now: arriving after a later
    // button press it would be a move with the button held, at a point already left.
    Pause(kInputSettle);
}
void MoveMouseTo(POINT at) { MoveMouseTo(at.x, at.y); }

POINT MousePosition() {
    POINT at{};
    ::GetCursorPos(&at);
    return at;
}

void LeftDown() { SendMouse(MOUSEEVENTF_LEFTDOWN); }
void LeftUp() { SendMouse(MOUSEEVENTF_LEFTUP); }

void ClickAt(int x, int y) {
    MoveMouseTo(x, y);
    LeftDown();
    LeftUp();
}
void ClickAt(POINT at) { ClickAt(at.x, at.y); }

void DoubleClickAt(POINT at) {
    MoveMouseTo(at);
    // One batch: a busy machine can part presses sent one by one by more than the
    // double-click time, and the program then sees two clicks.
    INPUT presses[4]{};
    for (int i = 0; i < 4; ++i) {
        presses[i].type = INPUT_MOUSE;
        presses[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    }
    ::SendInput(4, presses, sizeof presses[0]);
}

void PressAndDrag(POINT press, int dx, int dy) {
    MoveMouseTo(press);
    LeftDown();
    const POINT start{press.x + 1, press.y + 1};
    MoveMouseTo(start);
    for (int step = 1; step <= 4; ++step) MoveMouseTo(start.x + dx * step / 4, start.y + dy * step / 4);
}

void PressKey(WORD virtualKey) {
    INPUT keys[2]{};
    for (INPUT& key : keys) {
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = virtualKey;
        key.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    }
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, keys, sizeof keys[0]);
}

bool BringToForeground(HWND window) {
    return WaitUntil([&] {
        if (::GetForegroundWindow() == window) return true;
        ::SetForegroundWindow(window);
        return false;
    }, 3s);
}

bool PickSettingsMenuItem(HWND main, std::string_view caption) {
    // The item's place among the entries under the one top-level item.
    int place = -1;
    for (const ui::MenuItemRow& row : app::MainWindowTemplate().menu) {
        if (row.level == 1) ++place;
        if (row.level == 1 && row.caption == caption) break;
    }
    DWORD process = 0;
    ::GetWindowThreadProcessId(main, &process);
    if (!BringToForeground(main)) return false;
    ClickAt(CentreOf(QueryWindowControl(main, app::main_controls::kSettingsButton.name)));
    if (!WaitForWindowOf(process, kMenuClass)) return false;
    for (int i = 0; i <= place; ++i) PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    return WaitUntil([&] { return VisibleWindowsOf(process, kMenuClass).empty(); });
}

// ---- the screen ------------------------------------------------------------------------

Screenshot Screenshot::Capture(const RECT& area) {
    Screenshot shot;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return shot;
    platform::WindowDC screen(nullptr);
    platform::UniqueDC memory(::CreateCompatibleDC(screen.get()));
    const platform::TopDownDib dib = platform::CreateTopDownDib(screen.get(), width, height);
    if (memory && dib.bits) {
        platform::Selection select(memory.get(), dib.bitmap.get());
        if (::BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY | CAPTUREBLT)) {
            ::GdiFlush();
            const auto* pixels = static_cast<const std::uint32_t*>(dib.bits);
            shot.pixels_.assign(pixels, pixels + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
            for (std::uint32_t& p : shot.pixels_) p &= 0x00FFFFFF;
            shot.area_ = area;
            shot.width_ = width;
            shot.height_ = height;
        }
    }
    return shot;
}

Screenshot Screenshot::OfWindow(HWND window) {
    RECT r{};
    if (!::GetWindowRect(window, &r)) return {};
    return Capture(r);
}

Screenshot Screenshot::WholeScreen() {
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    return Capture({left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                    top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)});
}

COLORREF Screenshot::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    const std::uint32_t p = pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int Screenshot::CountColour(const RECT& within, COLORREF colour) const {
    int count = 0;
    for (int y = std::max<int>(within.top, 0); y < std::min<int>(within.bottom, height_); ++y)
        for (int x = std::max<int>(within.left, 0); x < std::min<int>(within.right, width_); ++x)
            if (Pixel(x, y) == colour) ++count;
    return count;
}

bool Screenshot::IsAll(COLORREF colour) const {
    const RECT all{0, 0, width_, height_};
    return !pixels_.empty() && CountColour(all, colour) == width_ * height_;
}

bool Screenshot::SamePixels(const Screenshot& other) const {
    return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
}

std::uint64_t Screenshot::Hash() const {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    const auto mix = [&](std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) hash = (hash ^ ((value >> shift) & 0xFF)) * 0x100000001b3ull;
    };
    mix(static_cast<std::uint32_t>(width_));
    mix(static_cast<std::uint32_t>(height_));
    for (const std::uint32_t p : pixels_) mix(p);
    return hash;
}

int CountColourOnScreen(const RECT& area, COLORREF colour) {
    const Screenshot shot = Screenshot::Capture(area);
    return shot.CountColour({0, 0, shot.Width(), shot.Height()}, colour);
}

Screenshot SettledCapture(const RECT& area, Milliseconds timeout) {
    Screenshot last = Screenshot::Capture(area);
    WaitUntil([&] {
        Pause(40ms);
        Screenshot now = Screenshot::Capture(area);
        const bool settled = now.SamePixels(last);
        last = std::move(now);
        return settled;
    }, timeout);
    return last;
}

namespace {
void CreateParentDirectories(const std::wstring& path) {
    for (std::size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1))
        ::CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
}
}  // namespace

bool Screenshot::SavePng(const std::wstring& path) const {
    if (pixels_.empty()) return false;
    app::StartGdiplusOnce();
    CreateParentDirectories(path);
    // image/png
    static const CLSID kPngEncoder{0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    std::vector<std::uint32_t> copy = pixels_;
    Gdiplus::Bitmap bitmap(width_, height_, width_ * 4, PixelFormat32bppRGB, reinterpret_cast<BYTE*>(copy.data()));
    return bitmap.Save(path.c_str(), &kPngEncoder, nullptr) == Gdiplus::Ok;
}

std::wstring ShotPath(std::string_view name) {
    wchar_t current[MAX_PATH + 1] = {};
    const DWORD length = ::GetCurrentDirectoryW(MAX_PATH + 1, current);
    return JoinPath(JoinPath(std::wstring(current, length), L"e2e-shots"), platform::Wide(name) + L".png");
}

}  // namespace e2e
