// The baseline for the start-up benchmark: the least a Win32 program can do to put a
// window like Orvia's on the screen. A borderless 1024x650 pop-up, centred, painted white,
// with a message loop. Linked the same way as orvia.exe, so the two start alike.
#include <windows.h>

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

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
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
