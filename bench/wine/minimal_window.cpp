// The baseline for the start-up benchmark: the least a Win32 program can do to put a
// window like Orvia's on the screen. A borderless 1024x650 pop-up, centred, painted white,
// with a message loop. Linked the same way as orvia.exe, so the two start alike.
//
// With --exit it shows nothing and ends at once: the cost of starting a process. Any
// further arguments name DLLs it loads first (orvia.exe's imports), and +com starts COM
// after them, so the start-up steps benchmark can time what each adds.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace {

constexpr wchar_t kClassName[] = L"OrviaBench.Minimal";
constexpr int kWidth = 1024;
constexpr int kHeight = 650;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        if (dc) ::FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT covers every pixel
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// The command line split at spaces outside quotes. Not CommandLineToArgvW, whose shell32
// would add to the start this program is the baseline of.
std::vector<std::wstring> Words(const wchar_t* line) {
    std::vector<std::wstring> words;
    std::wstring word;
    bool quoted = false;
    for (;; ++line) {
        if (*line == 0 || (!quoted && (*line == L' ' || *line == L'\t'))) {
            if (!word.empty()) words.push_back(std::exchange(word, {}));
            if (*line == 0) return words;
        } else if (*line == L'"') {
            quoted = !quoted;
        } else {
            word += *line;
        }
    }
}

// COM as the camera component starts it, looked up so that ole32 is no import of this program.
bool StartCom() {
    using CoInitializeExFn = HRESULT(WINAPI*)(void*, DWORD);
    HMODULE ole32 = ::LoadLibraryW(L"ole32.dll");
    const auto start = reinterpret_cast<CoInitializeExFn>(
        reinterpret_cast<void (*)()>(ole32 ? ::GetProcAddress(ole32, "CoInitializeEx") : nullptr));
    return start && SUCCEEDED(start(nullptr, 0x2 /* COINIT_APARTMENTTHREADED */));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    if (const std::vector<std::wstring> words = Words(::GetCommandLineW()); words.size() > 1 && words[1] == L"--exit") {
        bool ok = true;
        for (std::size_t i = 2; i < words.size(); ++i) {
            if (words[i] == L"+com") {
                ok = ok && StartCom();
            } else {
                ok = ok && ::LoadLibraryW(words[i].c_str()) != nullptr;
            }
        }
        return ok ? 0 : 3;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpfnWndProc = &WindowProc;
    wc.lpszClassName = kClassName;
    if (!::RegisterClassExW(&wc)) return 1;

    const int x = (::GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    HWND hwnd = ::CreateWindowExW(WS_EX_APPWINDOW, kClassName, L"", WS_POPUP, x, y, kWidth, kHeight,
                                  nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    ::ShowWindow(hwnd, SW_SHOW);
    ::UpdateWindow(hwnd);

    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
