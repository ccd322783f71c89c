// Creation of a Template window, its window procedures and its messages. Events and hooks
// live in window_events.cpp, the menu in window_menu.cpp, the control operations in
// control.cpp and what assistive tools see in accessibility.cpp.
#include "ui/window.h"

#include "ui/accessibility.h"
#include "ui/buffered_paint.h"
#include "ui/dispatch_scope.h"
#include "ui/native_control.h"
#include "ui/window_ids.h"

#include <algorithm>

namespace ui {

namespace {
constexpr wchar_t kWindowClass[] = L"Orvia.Window";
constexpr wchar_t kWindowProperty[] = L"Orvia.Window";
// Tells the window's thread that work was posted to it (Window::MakePoster).
constexpr UINT kPostedWork = WM_APP + 0x300;
constexpr int kProgramIcon = 1;

HINSTANCE Instance() { return ::GetModuleHandleW(nullptr); }
}  // namespace

// ---- creation -------------------------------------------------------------------------

Window::Window(ControlTree tree, WindowBehaviour behaviour, bool ownsItself)
    : tree_(std::move(tree)), behaviour_(std::move(behaviour)), ownsItself_(ownsItself) {}

Window::~Window() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

std::unique_ptr<Window> Window::Create(const WindowTemplate& layout, WindowBehaviour behaviour, HWND owner) {
    return std::unique_ptr<Window>(Build(layout, std::move(behaviour), owner, false));
}

Window* Window::Open(const WindowTemplate& layout, WindowBehaviour behaviour, HWND owner) {
    return Build(layout, std::move(behaviour), owner, true);
}

Window* Window::Build(const WindowTemplate& layout, WindowBehaviour behaviour, HWND owner, bool ownsItself) {
    auto tree = ControlTree::Build(layout.controls);
    if (!tree) return nullptr;

    static const bool registered = [] {
        WNDCLASSEXW wc{sizeof wc};
        wc.style = CS_DBLCLKS;
        wc.hInstance = Instance();
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = ::LoadIconW(Instance(), MAKEINTRESOURCEW(kProgramIcon));
        wc.lpfnWndProc = &Window::WindowProc;
        wc.lpszClassName = kWindowClass;
        ::RegisterClassExW(&wc);
        wc.hIcon = nullptr;
        wc.lpfnWndProc = &Window::NativeControlProc;
        wc.lpszClassName = kControlClass;
        ::RegisterClassExW(&wc);
        return true;
    }();
    (void)registered;

    auto* window = new Window(std::move(*tree), std::move(behaviour), ownsItself);
    const auto alive = window->Lifetime();
    bool created = false;
    {
        // The created handler may close the window: the object stays until this ends.
        DispatchScope building(*window);
        // Centred on the screen; integer division, so a narrow screen gives a negative left.
        const int x = (::GetSystemMetrics(SM_CXSCREEN) - layout.width) / 2;
        const int y = (::GetSystemMetrics(SM_CYSCREEN) - layout.height) / 2;
        ::CreateWindowExW(WS_EX_APPWINDOW, kWindowClass, L"",
                          WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, x, y, layout.width,
                          layout.height, owner, nullptr, Instance(), window);
        created = window->hwnd_ != nullptr;
        if (created) {
            window->CreateNativeControls();
            window->BindEvents();
            window->BuildMenu(layout.menu, window->behaviour_.menu);
            if (window->behaviour_.created) window->behaviour_.created(*window);
            if (window->hwnd_) {
                ::ShowWindow(window->hwnd_, SW_SHOW);
                ::UpdateWindow(window->hwnd_);
                if (window->hwnd_ && window->behaviour_.shown) window->behaviour_.shown(*window);
            }
        }
    }
    if (alive.expired()) return nullptr;  // it owned itself and was closed meanwhile
    if (!created) {
        delete window;
        return nullptr;
    }
    return window;
}

void Window::CreateNativeControls() {
    natives_.resize(static_cast<std::size_t>(tree_.Count()));
    for (int i = 0; i < tree_.Count(); ++i) {
        auto control = MakeNativeControl(*this, tree_.At(i), i);
        if (!control) continue;
        const int host = tree_.HostOf(i);
        HWND parent = host < 0 ? hwnd_ : (NativeAt(host) ? NativeAt(host)->Handle() : nullptr);
        if (!parent) continue;
        // Stored first: messages sent while it is being created find their control.
        natives_[static_cast<std::size_t>(i)] = std::move(control);
        if (!NativeAt(i)->Create(parent, kControlIdBase + i, tree_.RectInHost(i), tree_.IsShown(i)))
            natives_[static_cast<std::size_t>(i)].reset();
    }
}

int Window::IndexOfId(const AnyControlId& id) const {
    std::string problem = ControlIdProblem(tree_, id);
    if (problem.empty()) return tree_.IndexOf(id.name);
    // Kept with the binding errors, which the program shows: a fault of the program, never silent.
    if (std::find(bindingErrors_.begin(), bindingErrors_.end(), problem) == bindingErrors_.end())
        bindingErrors_.push_back(std::move(problem));
    return -1;
}

void Window::BindEvents() {
    for (EventBinding& b : behaviour_.events) {
        if (std::string problem = ControlIdProblem(tree_, b.control); !problem.empty()) {
            bindingErrors_.push_back(std::move(problem));
        } else if (!CanRaise(b.control.kind, b.event)) {
            bindingErrors_.push_back(std::string(b.control.name) + " cannot raise the bound event");
        } else {
            bindings_.push_back({tree_.IndexOf(b.control.name), b.event, b.handler});
        }
    }
}

void Window::Close() {
    if (!hwnd_ || askingToClose_) return;
    DispatchScope closing(*this);
    if (behaviour_.closing) {
        askingToClose_ = true;
        const bool mayClose = behaviour_.closing(*this);
        askingToClose_ = false;
        if (!mayClose || !hwnd_) return;
    }
    ::DestroyWindow(hwnd_);
}

// ---- painting -------------------------------------------------------------------------

void Window::PaintContent(HDC dc, const RECT& area) {
    const Rect want{area.left, area.top, area.right - area.left, area.bottom - area.top};
    ::FillRect(dc, &area, cache_.Brush(kButtonFace));  // the window's own background, where no control lies
    for (int i = 0; i < tree_.Count(); ++i) {
        const ControlState& c = tree_.At(i);
        if (NeedsOwnWindow(*c.row) || !tree_.IsShown(i)) continue;
        const Rect visible = tree_.VisibleRect(i);
        if (Intersect(visible, want).Empty()) continue;
        platform::SavedDC saved(dc);
        ::IntersectClipRect(dc, visible.left, visible.top, visible.Right(), visible.Bottom());
        PaintWindowless(dc, ToRECT(tree_.AbsoluteRect(i)), c, cache_);
    }
}

void Window::Invalidate(int control) {
    if (!hwnd_) return;
    if (NativeControl* native = NativeAt(control)) {
        ::InvalidateRect(native->Handle(), nullptr, FALSE);
        return;
    }
    // Painted controls always belong to the top-level window (the tree guarantees it).
    const RECT rc = ToRECT(tree_.VisibleRect(control));
    ::InvalidateRect(hwnd_, &rc, FALSE);
    ::UpdateWindow(hwnd_);  // a changed look shows at once, even inside a long handler
}

void Window::SyncNativeVisibility(int under) {
    for (int i = under; i < tree_.Count(); ++i) {
        if (!tree_.IsWithin(i, under)) continue;
        if (NativeControl* native = NativeAt(i)) ::ShowWindow(native->Handle(), tree_.IsShown(i) ? SW_SHOWNA : SW_HIDE);
    }
}

void Window::PlaceNativeWindows(int under) {
    for (int i = under; i < tree_.Count(); ++i) {
        if (!tree_.IsWithin(i, under)) continue;
        NativeControl* native = NativeAt(i);
        if (!native) continue;
        const Rect r = tree_.RectInHost(i);
        ::SetWindowPos(native->Handle(), nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// ---- window procedures ----------------------------------------------------------------

Window* Window::FromHandle(HWND window) {
    return window ? static_cast<Window*>(::GetPropW(window, kWindowProperty)) : nullptr;
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetPropW(hwnd, kWindowProperty, self);
        self->posts_ = std::make_shared<PostQueue>([hwnd] { ::PostMessageW(hwnd, kPostedWork, 0, 0); });
    }
    Window* self = FromHandle(hwnd);
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    DispatchScope dispatching(*self);
    if (message != WM_NCDESTROY)
        if (const auto consumed = self->RunHooks(message, wParam, lParam)) return *consumed;
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT CALLBACK Window::NativeControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = FromHandle(::GetAncestor(hwnd, GA_ROOT));
    // Messages that arrive while the control is being created get the default handling.
    const int index = ::GetDlgCtrlID(hwnd) - kControlIdBase;
    if (!self || index < 0 || index >= self->tree_.Count() || !self->NativeAt(index) ||
        self->NativeAt(index)->Handle() != hwnd)
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    DispatchScope dispatching(*self);
    return self->NativeAt(index)->HandleMessage(message, wParam, lParam);
}

void Window::OnDestroyed() {
    ::RemovePropW(hwnd_, kWindowProperty);
    for (auto& native : natives_)
        if (native) native->Forget();
    hwnd_ = nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        BufferedPaint(hwnd_, [this](HDC dc, const RECT& area) { PaintContent(dc, area); });
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PRINTCLIENT: {
        RECT area{};
        ::GetClipBox(reinterpret_cast<HDC>(wParam), &area);
        PaintContent(reinterpret_cast<HDC>(wParam), area);
        return 0;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        OnMouse(message, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        // The press ended somewhere else (a dialog took the mouse): release the control.
        if (pressed_ >= 0) {
            const int target = std::exchange(pressed_, -1);
            Fire(target, ControlEvent::LeftUp);
        }
        return 0;
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    case WM_NOTIFY:
        return OnNotify(lParam);
    case WM_CLOSE:  // Alt+F4 and the taskbar ask like the close button does
        Close();
        return 0;
    case WM_QUERYENDSESSION: {
        if (!behaviour_.endingSession || askingToClose_) return TRUE;
        DispatchScope ending(*this);
        askingToClose_ = true;
        const bool mayEnd = behaviour_.endingSession(*this);
        askingToClose_ = false;
        return mayEnd ? TRUE : FALSE;
    }
    case WM_HSCROLL:
    case WM_VSCROLL: {
        const int index = IndexOfHandle(reinterpret_cast<HWND>(lParam));
        if (index >= 0) NativeAt(index)->OnScroll();
        return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case kPostedWork:
        posts_->RunPending();
        return 0;
    case WM_DESTROY:
        posts_->Close();
        DetachMenuBar();  // the popups are ours to destroy
        if (behaviour_.endsProgram) ::PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY: {
        HWND old = hwnd_;
        OnDestroyed();
        return ::DefWindowProcW(old, message, wParam, lParam);
    }
    default:
        if (const auto answer = AnswerAccessibility(*this, message, wParam, lParam)) return *answer;
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

}  // namespace ui
