#include "framing/guide_window.h"

#include "framing/guide_drawing.h"
#include "platform/dib.h"
#include "platform/host.h"

#include <algorithm>
#include <cwchar>


namespace framing {

namespace {
constexpr wchar_t kGuideClass[] = L"Orvia.FramingGuide";

// Posted to a guide when the keyboard focus has moved inside its owner, or the owner has
// been activated: the guide then climbs back over it.
UINT ClimbMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"Orvia.FramingGuide.Climb");
    return message;
}

// Posts the climb to `window` when it is a guide owned by the window in `owner`.
BOOL CALLBACK PostClimbToGuide(HWND window, LPARAM owner) {
    wchar_t name[64]{};
    if (::GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(owner) && ::GetClassNameW(window, name, 64) &&
        std::wcscmp(name, kGuideClass) == 0)
        ::PostMessageW(window, ClimbMessage(), 0, 0);
    return TRUE;
}

bool RegisterGuideClass(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSEXW wc{sizeof wc};
        wc.lpfnWndProc = procedure;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kGuideClass;
        return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}
}  // namespace

GuideWindow::~GuideWindow() {
    if (HWND window = window_.get()) ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

bool GuideWindow::Create(HWND owner, OtherMessages other) {
    if (window_ || !RegisterGuideClass(&GuideWindow::Procedure)) return false;
    other_ = std::move(other);
    // Layered and transparent together: the pointer goes through to the window beneath.
    constexpr DWORD kExStyle = WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
    window_.reset(::CreateWindowExW(kExStyle, kGuideClass, L"", WS_POPUP, 0, 0, 1, 1, owner, nullptr,
                                    ::GetModuleHandleW(nullptr), this));
    if (!window_) return false;
    // Wine without a window manager raises a window's X window above all others, its owned
    // pop-ups included, whenever the keyboard focus moves inside it: a click on a photo slot
    // would bury the guide under the Main window. The guide climbs back after each move.
    // Windows keeps an owned window above its owner by itself. A WinEvent hook, because
    // the focus moves between the Main window's child windows, whose messages no hook on
    // the Main window sees.
    if (!platform::RunsUnderWine()) return true;
    focusHook_.reset(::SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, &GuideWindow::FocusMoved,
                                       ::GetCurrentProcessId(), ::GetCurrentThreadId(), WINEVENT_OUTOFCONTEXT));
    return true;
}

void GuideWindow::Show(const RECT& area, GuideColour colour) {
    if (!window_) return;
    const bool same = shown_ && ::EqualRect(&area, &drawnArea_) && colour == drawnColour_;
    if (!same && !Draw(area, colour)) return;
    drawnArea_ = area;
    drawnColour_ = colour;
    if (!shown_) ::SetWindowPos(window_.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    shown_ = true;
}

void GuideWindow::FocusMoved(HWINEVENTHOOK, DWORD, HWND focused, LONG, LONG, DWORD, DWORD) {
    if (HWND owner = focused ? ::GetAncestor(focused, GA_ROOT) : nullptr)
        ::EnumThreadWindows(::GetCurrentThreadId(), &PostClimbToGuide, reinterpret_cast<LPARAM>(owner));
}

void GuideWindow::ClimbSoon() {
    if (window_ && platform::RunsUnderWine()) ::PostMessageW(window_.get(), ClimbMessage(), 0, 0);
}

void GuideWindow::ClimbAboveOwner() {
    if (!window_ || !shown_) return;
    // Already first among the windows, a plain "to the top" changes nothing and so restacks
    // nothing; through the topmost band and back, it is raised for real and ends where it was.
    constexpr UINT kOnlyOrder = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    ::SetWindowPos(window_.get(), HWND_TOPMOST, 0, 0, 0, 0, kOnlyOrder);
    ::SetWindowPos(window_.get(), HWND_NOTOPMOST, 0, 0, 0, 0, kOnlyOrder);
}

void GuideWindow::Hide() {
    if (window_ && shown_) ::ShowWindow(window_.get(), SW_HIDE);
    shown_ = false;
}

bool GuideWindow::Draw(const RECT& area, GuideColour colour) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return false;
    if (width != maskWidth_ || height != maskHeight_) {
        mask_ = GuideMask(width, height);
        maskWidth_ = width;
        maskHeight_ = height;
    }

    const platform::UniqueDC memory(::CreateCompatibleDC(nullptr));
    if (!memory) return false;
    const platform::TopDownDib dib = platform::CreateTopDownDib(memory.get(), width, height);
    if (!dib.bits) return false;
    // Premultiplied blue, green, red, alpha: the outline opaque, everything else clear.
    const std::uint32_t rgb = GuideRgb(colour);
    const std::uint32_t opaque = 0xFF000000u | rgb;
    auto* pixels = static_cast<std::uint32_t*>(dib.bits);
    for (std::size_t i = 0; i < mask_.size(); ++i) pixels[i] = mask_[i] ? opaque : 0u;
    if (colour == GuideColour::Unsure) SayCrownUnclear(width, height, rgb, pixels);

    const platform::Selection select(memory.get(), dib.bitmap.get());
    POINT to{area.left, area.top};
    SIZE size{width, height};
    POINT from{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return ::UpdateLayeredWindow(window_.get(), nullptr, &to, &size, memory.get(), &from, 0, &blend, ULW_ALPHA) != FALSE;
}

void GuideWindow::SayCrownUnclear(int width, int height, std::uint32_t rgb, std::uint32_t* pixels) {
    // The words are drawn white on black into a picture of their own, whose brightness is
    // then how much of each pixel they cover: the guide's colour over a dark edge, so that
    // they read over light and dark hair alike.
    const platform::UniqueDC dc(::CreateCompatibleDC(nullptr));
    if (!dc) return;
    const platform::TopDownDib words = platform::CreateTopDownDib(dc.get(), width, height);
    if (!words.bits) return;
    const platform::Selection selectWords(dc.get(), words.bitmap.get());
    const platform::Selection selectFont(dc.get(), fonts_.Font({"微软雅黑", std::max(12, height / 24), true}));
    ::SetBkMode(dc.get(), TRANSPARENT);
    ::SetTextColor(dc.get(), RGB(255, 255, 255));
    RECT line{0, height - height / 10, width, height - height / 40};
    ::DrawTextW(dc.get(), kCrownUnclearText, -1, &line, DT_CENTER | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
    ::GdiFlush();

    const auto* cover = static_cast<const std::uint32_t*>(words.bits);
    const auto coverAt = [&](int x, int y) -> std::uint32_t {
        if (x < 0 || y < 0 || x >= width || y >= height) return 0;
        return (cover[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] >> 8) & 0xFF;
    };
    const std::uint32_t red = (rgb >> 16) & 0xFF, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
    for (int y = std::max(0, static_cast<int>(line.top) - 2); y < line.bottom + 2 && y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t edge = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) edge = std::max(edge, coverAt(x + dx, y + dy));
            const std::uint32_t a = coverAt(x, y);
            if (edge == 0) continue;
            // Premultiplied: the colour at the words' cover, black around them.
            const std::uint32_t alpha = std::max(a, edge * 3 / 4);
            pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
                (alpha << 24) | ((red * a / 255) << 16) | ((green * a / 255) << 8) | (blue * a / 255);
        }
    }
}

LRESULT CALLBACK GuideWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<GuideWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == ClimbMessage()) {
        if (self) self->ClimbAboveOwner();
        return 0;
    }
    switch (message) {
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_PRINT:
    case WM_PRINTCLIENT:
    case WM_ERASEBKGND:
        return 0;  // the guide is never part of a picture of the frame
    case WM_NCDESTROY:
        // Destroyed with its owner: the handle is no longer ours to destroy.
        if (self) {
            if (self->other_) self->other_(message, wParam, lParam);
            self->window_.release();
            self->focusHook_.reset();
            self->shown_ = false;
        }
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return ::DefWindowProcW(window, message, wParam, lParam);
    default:
        break;
    }
    if (self && self->other_)
        if (const auto answer = self->other_(message, wParam, lParam)) return *answer;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace framing
