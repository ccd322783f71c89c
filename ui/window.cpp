#include "ui/window.h"

#include "platform/gdiplus.h"
#include "platform/win_text.h"
#include "ui/control_report.h"
#include "ui/modal.h"
#include "ui/pictures.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstdio>

namespace ui {

namespace {
constexpr wchar_t kWindowClass[] = L"Orvia.Window";
constexpr wchar_t kControlClass[] = L"Orvia.Control";
constexpr wchar_t kWindowProperty[] = L"Orvia.Window";
constexpr int kControlIdBase = 100;
constexpr int kMenuIdBase = 1000;
constexpr int kProgramIcon = 1;
constexpr UINT kAnswerTimeoutMs = 250;

HINSTANCE Instance() { return ::GetModuleHandleW(nullptr); }

// Paints through a memory bitmap so a repaint never flickers.
template <typename Paint>
void BufferedPaint(HWND window, Paint&& paint) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window, &ps);
    const RECT r = ps.rcPaint;
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    if (dc && w > 0 && h > 0) {
        platform::UniqueDC memory(::CreateCompatibleDC(dc));
        platform::UniqueBitmap bitmap(::CreateCompatibleBitmap(dc, w, h));
        if (memory && bitmap) {
            platform::Selection select(memory.get(), bitmap.get());
            ::SetViewportOrgEx(memory.get(), -r.left, -r.top, nullptr);
            paint(memory.get(), r);
            ::SetViewportOrgEx(memory.get(), 0, 0, nullptr);
            ::BitBlt(dc, r.left, r.top, w, h, memory.get(), 0, 0, SRCCOPY);
        }
    }
    ::EndPaint(window, &ps);
}

// Tells pictures apart in answers to tests, without sending them whole.
std::uint64_t Fnv1a(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const std::uint8_t b : bytes) hash = (hash ^ b) * 0x100000001b3ull;
    return hash;
}

std::string Hex(std::uint64_t value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%llx", static_cast<unsigned long long>(value));
    return buffer;
}
}  // namespace

bool CanRaise(ControlKind kind, ControlEvent event) {
    const bool mouse = event == ControlEvent::LeftDown || event == ControlEvent::LeftUp ||
                       event == ControlEvent::DoubleClick || event == ControlEvent::MouseMove;
    switch (kind) {
    case ControlKind::ShapeBox:
    case ControlKind::TransparentLabel:
    case ControlKind::GroupBox:
        return mouse;
    case ControlKind::DrawingBoard:
        return mouse || event == ControlEvent::GotFocus || event == ControlEvent::LostFocus;
    case ControlKind::PushButton:
    case ControlKind::GraphicButton:
        return event == ControlEvent::Clicked;
    case ControlKind::ListBox:
        return event == ControlEvent::EntryDoubleClick;
    case ControlKind::Slider:
        return event == ControlEvent::PositionChanged;
    }
    return false;
}

struct Window::Native {
    HWND hwnd = nullptr;
    bool hover = false;    // graphic button
    bool pressed = false;  // graphic button
    int lastPosition = 0;  // slider
    std::vector<std::uint8_t> picture;  // drawing board
    std::array<std::unique_ptr<Gdiplus::Bitmap>, 3> images;  // graphic button
    bool decoded = false;
    MessageHook hook;  // a module that took the control over
};

// ---- creation -------------------------------------------------------------------------

Window::Window(ControlTree tree, WindowBehaviour behaviour)
    : tree_(std::move(tree)), behaviour_(std::move(behaviour)) {}

Window::~Window() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

std::unique_ptr<Window> Window::Create(const WindowTemplate& layout, WindowBehaviour behaviour, HWND owner) {
    auto tree = ControlTree::Build(layout.controls);
    if (!tree) return nullptr;
    std::unique_ptr<Window> window(new Window(std::move(*tree), std::move(behaviour)));

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

    // Centred on the screen; integer division, so a narrow screen gives a negative left.
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - layout.width) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - layout.height) / 2;
    ::CreateWindowExW(WS_EX_APPWINDOW, kWindowClass, L"",
                      WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, x, y, layout.width,
                      layout.height, owner, nullptr, Instance(), window.get());
    if (!window->hwnd_) return nullptr;

    ControlTree& t = window->tree_;
    window->natives_.resize(static_cast<std::size_t>(t.Count()));
    for (int i = 0; i < t.Count(); ++i)
        if (NeedsOwnWindow(*t.At(i).row)) window->CreateNativeWindow(i);

    for (EventBinding& b : window->behaviour_.events) {
        const int index = t.IndexOf(b.control);
        if (index < 0) {
            window->bindingErrors_.push_back("no control named " + std::string(b.control));
        } else if (!CanRaise(t.At(index).row->kind, b.event)) {
            window->bindingErrors_.push_back(std::string(b.control) + " cannot raise the bound event");
        } else {
            window->bindings_.push_back({index, b.event, b.handler});
        }
    }
    window->BuildMenu(layout.menu, window->behaviour_.menu);

    if (window->behaviour_.created) window->behaviour_.created(*window);
    if (window->hwnd_) {
        ::ShowWindow(window->hwnd_, SW_SHOW);
        ::UpdateWindow(window->hwnd_);
    }
    return window;
}

bool Window::CreateNativeWindow(int index) {
    const ControlState& c = tree_.At(index);
    const ControlRow& row = *c.row;
    auto native = std::make_unique<Native>();
    const int host = tree_.HostOf(index);
    HWND parent = host < 0 ? hwnd_ : natives_[static_cast<std::size_t>(host)]->hwnd;
    const Rect r = tree_.RectInHost(index);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (tree_.IsShown(index) ? WS_VISIBLE : 0u) |
                  (row.tabStop ? WS_TABSTOP : 0u);
    DWORD exStyle = 0;
    const wchar_t* windowClass = kControlClass;
    std::wstring caption = platform::Wide(c.caption);

    switch (row.kind) {
    case ControlKind::DrawingBoard: style |= WS_BORDER; break;
    case ControlKind::ShapeBox: style |= WS_CLIPCHILDREN; break;
    case ControlKind::GraphicButton: break;  // pictures are decoded when first painted
    case ControlKind::PushButton: windowClass = L"BUTTON"; style |= BS_PUSHBUTTON; break;
    case ControlKind::ListBox:
        windowClass = L"LISTBOX";
        style |= LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
        exStyle |= WS_EX_CLIENTEDGE;
        break;
    case ControlKind::Slider:
        windowClass = TRACKBAR_CLASSW;
        style |= TBS_HORZ | TBS_BOTTOM | (row.slider.ticks ? TBS_AUTOTICKS : TBS_NOTICKS);
        break;
    case ControlKind::TransparentLabel:
    case ControlKind::GroupBox:
        return false;
    }

    HWND child = ::CreateWindowExW(exStyle, windowClass, caption.c_str(), style, r.left, r.top, r.width,
                                   r.height, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlIdBase + index)),
                                   Instance(), nullptr);
    if (!child) return false;
    native->hwnd = child;
    if (row.kind == ControlKind::PushButton || row.kind == ControlKind::ListBox)
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(cache_.Font(row.font)), FALSE);
    if (row.kind == ControlKind::Slider) {
        const SliderRange& s = row.slider;
        ::SendMessageW(child, TBM_SETRANGE, FALSE, MAKELPARAM(s.minimum, s.maximum));
        ::SendMessageW(child, TBM_SETTICFREQ, 1, 0);
        ::SendMessageW(child, TBM_SETLINESIZE, 0, s.lineSize);
        ::SendMessageW(child, TBM_SETPAGESIZE, 0, s.pageSize);
        ::SendMessageW(child, TBM_SETPOS, TRUE, s.position);
        native->lastPosition = s.position;
    }
    natives_[static_cast<std::size_t>(index)] = std::move(native);
    return true;
}

// ---- menu -----------------------------------------------------------------------------

void Window::BuildMenu(std::span<const MenuItemRow> items, std::vector<MenuBinding>& bindings) {
    menu_.clear();
    HMENU currentPopup = nullptr;
    for (const MenuItemRow& item : items) {
        MenuEntry entry{std::string(item.caption), item.level};
        for (const MenuBinding& b : bindings)
            if (b.item == item.caption) entry.handler = b.handler;
        const std::wstring caption = platform::Wide(item.caption);
        if (item.level == 0) {
            entry.popup.reset(::CreatePopupMenu());
            currentPopup = entry.popup.get();
        } else if (currentPopup) {
            ::AppendMenuW(currentPopup, MF_STRING,
                          static_cast<UINT_PTR>(kMenuIdBase + static_cast<int>(menu_.size())), caption.c_str());
        }
        menu_.push_back(std::move(entry));
    }
    for (const MenuBinding& b : bindings) {
        bool found = false;
        for (const MenuEntry& e : menu_) found = found || e.caption == b.item;
        if (!found) bindingErrors_.push_back("no menu item named " + std::string(b.item));
    }
    AttachMenuBar();
}

void Window::AttachMenuBar() {
    // The bar only refers to the popups, which we own: take them out before it goes.
    if (menuAttached_) ::SetMenu(hwnd_, nullptr);
    menuAttached_ = false;
    if (menuBar_) {
        while (::GetMenuItemCount(menuBar_.get()) > 0) ::RemoveMenu(menuBar_.get(), 0, MF_BYPOSITION);
        menuBar_.reset();
    }
    if (!HasMenuBar() || !hwnd_) return;
    menuBar_.reset(::CreateMenu());
    for (const MenuEntry& e : menu_) {
        if (e.level != 0 || !e.visible) continue;
        ::AppendMenuW(menuBar_.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(e.popup.get()),
                      platform::Wide(e.caption).c_str());
    }
    menuAttached_ = ::SetMenu(hwnd_, menuBar_.get()) != FALSE;
}

bool Window::HasMenuBar() const {
    for (const MenuEntry& e : menu_)
        if (e.level == 0 && e.visible) return true;
    return false;
}

void Window::SetMenuItemVisible(std::string_view caption, bool visible) {
    for (MenuEntry& e : menu_)
        if (e.caption == caption && e.level == 0) e.visible = visible;
    AttachMenuBar();
}

void Window::PopUpMenu(std::string_view caption) {
    for (const MenuEntry& e : menu_) {
        if (e.caption != caption || !e.popup) continue;
        POINT at{};
        ::GetCursorPos(&at);
        ::SetForegroundWindow(hwnd_);  // otherwise the menu does not close when clicked away
        ModalScope modal;              // the arrow keys and Enter work the menu
        ::TrackPopupMenu(e.popup.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, hwnd_, nullptr);
        ::PostMessageW(hwnd_, WM_NULL, 0, 0);
        return;
    }
}

void Window::Close() {
    if (!hwnd_ || askingToClose_) return;
    if (behaviour_.closing) {
        askingToClose_ = true;
        const bool mayClose = behaviour_.closing(*this);
        askingToClose_ = false;
        if (!mayClose || !hwnd_) return;
    }
    ::DestroyWindow(hwnd_);
}

// ---- events ---------------------------------------------------------------------------

void Window::Fire(int control, ControlEvent event) {
    // A handler may close the window; the object stays, so indexing stays valid.
    for (std::size_t i = 0; i < bindings_.size(); ++i) {
        if (bindings_[i].control != control || bindings_[i].event != event) continue;
        Handler handler = bindings_[i].handler;
        if (handler) handler(*this);
    }
}

bool Window::IsBound(int control, ControlEvent event) const {
    for (const Binding& b : bindings_)
        if (b.control == control && b.event == event) return true;
    return false;
}

void Window::OnMouse(UINT message, LPARAM lParam) {
    const int hit = tree_.HitTestWindowless(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    switch (message) {
    case WM_MOUSEMOVE: {
        // While a press lasts the moves belong to what was pressed, not to what the pointer
        // slides over: a held button never starts the background's drag.
        const int target = ::GetCapture() == hwnd_ ? pressed_ : hit;
        if (target >= 0) Fire(target, ControlEvent::MouseMove);
        break;
    }
    case WM_LBUTTONDBLCLK:
        if (hit >= 0 && IsBound(hit, ControlEvent::DoubleClick)) {
            Fire(hit, ControlEvent::DoubleClick);
            break;
        }
        [[fallthrough]];  // a quick second press is still a press
    case WM_LBUTTONDOWN:
        pressed_ = hit;
        ::SetCapture(hwnd_);  // so the release reaches the control that was pressed
        if (hit >= 0) Fire(hit, ControlEvent::LeftDown);
        break;
    case WM_LBUTTONUP: {
        const int target = pressed_ >= 0 ? pressed_ : hit;
        pressed_ = -1;
        if (::GetCapture() == hwnd_) ::ReleaseCapture();
        if (target >= 0) Fire(target, ControlEvent::LeftUp);
        break;
    }
    default:
        break;
    }
}

int Window::IndexOfHandle(HWND child) const {
    // Every native control carries its index in its control identifier.
    if (!child) return -1;
    const int index = ::GetDlgCtrlID(child) - kControlIdBase;
    if (index < 0 || index >= tree_.Count()) return -1;
    const auto& native = natives_[static_cast<std::size_t>(index)];
    return native && native->hwnd == child ? index : -1;
}

LRESULT Window::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    if (lParam == 0 && HIWORD(wParam) == 0) {  // a menu item
        const int item = id - kMenuIdBase;
        if (item >= 0 && item < static_cast<int>(menu_.size()) && menu_[static_cast<std::size_t>(item)].handler) {
            Handler handler = menu_[static_cast<std::size_t>(item)].handler;
            handler(*this);
        }
        return 0;
    }
    const int index = IndexOfHandle(reinterpret_cast<HWND>(lParam));
    if (index < 0) return 0;
    const ControlKind kind = tree_.At(index).row->kind;
    if (kind == ControlKind::PushButton && HIWORD(wParam) == BN_CLICKED) Fire(index, ControlEvent::Clicked);
    if (kind == ControlKind::ListBox && HIWORD(wParam) == LBN_DBLCLK) Fire(index, ControlEvent::EntryDoubleClick);
    return 0;
}

LRESULT Window::OnControlColour(HDC dc, HWND child) {
    // Native controls take the background of the painted container they sit on.
    const int index = IndexOfHandle(child);
    Colour background = kButtonFace;
    for (int p = index >= 0 ? tree_.At(index).parent : -1; p >= 0; p = tree_.At(p).parent) {
        const ControlKind kind = tree_.At(p).row->kind;
        if (kind == ControlKind::ShapeBox || kind == ControlKind::GroupBox) {
            background = tree_.At(p).row->background;
            break;
        }
    }
    ::SetBkColor(dc, Resolve(background));
    return reinterpret_cast<LRESULT>(cache_.Brush(background));
}

// ---- painting -------------------------------------------------------------------------

void Window::PaintContent(HDC dc, const RECT& area) {
    const Rect want{area.left, area.top, area.right - area.left, area.bottom - area.top};
    for (int i = 0; i < tree_.Count(); ++i) {
        const ControlState& c = tree_.At(i);
        if (NeedsOwnWindow(*c.row) || !tree_.IsShown(i)) continue;
        const Rect visible = tree_.VisibleRect(i);
        if (Intersect(visible, want).Empty()) continue;
        platform::SavedDC saved(dc);
        ::IntersectClipRect(dc, visible.left, visible.top, visible.Right(), visible.Bottom());
        const RECT r = ToRECT(tree_.AbsoluteRect(i));
        switch (c.row->kind) {
        case ControlKind::ShapeBox: PaintShapeBox(dc, r, c.row->background, c.outline, c.outlineWidth, cache_); break;
        case ControlKind::TransparentLabel: PaintLabel(dc, r, c, cache_); break;
        case ControlKind::GroupBox: PaintGroupBox(dc, r, c, cache_); break;
        default: break;
        }
    }
}

void Window::PaintNative(int index, HWND child, HDC dc) {
    const ControlState& c = tree_.At(index);
    Native& native = *natives_[static_cast<std::size_t>(index)];
    RECT client{};
    ::GetClientRect(child, &client);
    switch (c.row->kind) {
    case ControlKind::ShapeBox:
        PaintShapeBox(dc, client, c.row->background, c.outline, c.outlineWidth, cache_);
        break;
    case ControlKind::DrawingBoard:
        ::FillRect(dc, &client, cache_.Brush(kButtonFace));
        DrawBmpCentred(dc, client, native.picture);
        break;
    case ControlKind::GraphicButton: {
        // What lies beneath first, so the picture's alpha blends with it.
        HWND parent = ::GetParent(child);
        POINT origin{0, 0};
        ::MapWindowPoints(child, parent, &origin, 1);
        POINT previous{};
        ::OffsetViewportOrgEx(dc, -origin.x, -origin.y, &previous);
        ::SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        ::SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
        const std::size_t state = native.pressed ? 2 : native.hover ? 1 : 0;
        if (!native.decoded) {
            // Decoding loads the imaging codecs; doing it here keeps it out of the way of
            // the window's first appearance.
            native.decoded = true;
            for (std::size_t k = 0; k < native.images.size(); ++k)
                native.images[k] = DecodePicture(ProgramResource(platform::Wide(c.row->pictures[k])));
        }
        if (Gdiplus::Bitmap* image = native.images[state].get()) {
            Gdiplus::Graphics g(dc);
            g.DrawImage(image, static_cast<INT>(client.left), static_cast<INT>(client.top),
                        static_cast<INT>(client.right - client.left), static_cast<INT>(client.bottom - client.top));
        }
        break;
    }
    default:
        break;
    }
}

void Window::Invalidate(int control) {
    if (!hwnd_) return;
    if (Native* native = natives_[static_cast<std::size_t>(control)].get()) {
        ::InvalidateRect(native->hwnd, nullptr, FALSE);
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
        if (Native* native = natives_[static_cast<std::size_t>(i)].get())
            ::ShowWindow(native->hwnd, tree_.IsShown(i) ? SW_SHOWNA : SW_HIDE);
    }
}

void Window::PlaceNativeWindows(int under) {
    for (int i = under; i < tree_.Count(); ++i) {
        if (!tree_.IsWithin(i, under)) continue;
        Native* native = natives_[static_cast<std::size_t>(i)].get();
        if (!native) continue;
        const Rect r = tree_.RectInHost(i);
        ::SetWindowPos(native->hwnd, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
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
    }
    Window* self = FromHandle(hwnd);
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message != WM_NCDESTROY)
        if (const auto consumed = self->RunHooks(message, wParam, lParam)) return *consumed;
    return self->HandleMessage(message, wParam, lParam);
}

std::optional<LRESULT> Window::RunHooks(UINT message, WPARAM wParam, LPARAM lParam) {
    if (hooks_.empty()) return std::nullopt;
    // A copy: a hook may add or remove hooks, or close the window, while it runs.
    const auto hooks = hooks_;
    for (const auto& [id, hook] : hooks) {
        if (!hwnd_) break;
        if (const auto consumed = hook(hwnd_, message, wParam, lParam)) return consumed;
    }
    return std::nullopt;
}

int Window::AddMessageHook(MessageHook hook) {
    const int id = nextHookId_++;
    hooks_.emplace_back(id, std::move(hook));
    return id;
}

void Window::RemoveMessageHook(int id) {
    std::erase_if(hooks_, [id](const auto& entry) { return entry.first == id; });
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
    case WM_CLOSE:  // Alt+F4 and the taskbar ask like the close button does
        Close();
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL: {
        const int index = IndexOfHandle(reinterpret_cast<HWND>(lParam));
        if (index >= 0 && tree_.At(index).row->kind == ControlKind::Slider) {
            Native& native = *natives_[static_cast<std::size_t>(index)];
            const int position = static_cast<int>(::SendMessageW(native.hwnd, TBM_GETPOS, 0, 0));
            if (position != native.lastPosition) {  // the end of a drag repeats the position
                native.lastPosition = position;
                Fire(index, ControlEvent::PositionChanged);
            }
        }
        return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_COPYDATA: {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data && data->dwData == kControlQueryTag)
            return AnswerQuery(reinterpret_cast<HWND>(wParam), data->lpData, data->cbData) ? TRUE : FALSE;
        return FALSE;
    }
    case WM_ENTERMENULOOP:
        menuOpen_ = true;
        return 0;
    case WM_EXITMENULOOP:
        menuOpen_ = false;
        return 0;
    case WM_DESTROY:
        if (menuAttached_) ::SetMenu(hwnd_, nullptr);  // the popups are ours to destroy
        menuAttached_ = false;
        if (behaviour_.endsProgram) ::PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY: {
        ::RemovePropW(hwnd_, kWindowProperty);
        for (auto& native : natives_)
            if (native) native->hwnd = nullptr;
        HWND old = std::exchange(hwnd_, nullptr);
        return ::DefWindowProcW(old, message, wParam, lParam);
    }
    default:
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

LRESULT CALLBACK Window::NativeControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = FromHandle(::GetAncestor(hwnd, GA_ROOT));
    // Messages that arrive while the control is being created get the default handling.
    const int index = ::GetDlgCtrlID(hwnd) - kControlIdBase;
    if (!self || index < 0 || index >= self->tree_.Count() || !self->natives_[static_cast<std::size_t>(index)])
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return self->HandleNativeMessage(index, hwnd, message, wParam, lParam);
}

LRESULT Window::HandleNativeMessage(int index, HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
    Native& native = *natives_[static_cast<std::size_t>(index)];
    const ControlKind kind = tree_.At(index).row->kind;
    if (native.hook && message != WM_NCDESTROY) {
        const MessageHook hook = native.hook;  // it may clear itself
        if (const auto consumed = hook(child, message, wParam, lParam)) return *consumed;
    }
    switch (message) {
    case WM_PAINT:
        BufferedPaint(child, [&](HDC dc, const RECT&) { PaintNative(index, child, dc); });
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PRINTCLIENT:
        PaintNative(index, child, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    default:
        break;
    }

    if (kind == ControlKind::GraphicButton) {
        switch (message) {
        case WM_MOUSEMOVE:
            if (!native.hover) {
                native.hover = true;
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, child, 0};
                ::TrackMouseEvent(&track);
                ::InvalidateRect(child, nullptr, FALSE);
            }
            return 0;
        case WM_MOUSELEAVE:
            native.hover = false;
            ::InvalidateRect(child, nullptr, FALSE);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            native.pressed = true;
            ::SetCapture(child);
            ::InvalidateRect(child, nullptr, FALSE);
            return 0;
        case WM_LBUTTONUP: {
            if (!native.pressed) return 0;
            native.pressed = false;
            ::ReleaseCapture();
            ::InvalidateRect(child, nullptr, FALSE);
            RECT client{};
            ::GetClientRect(child, &client);
            const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (::PtInRect(&client, at)) Fire(index, ControlEvent::Clicked);  // may destroy us
            return 0;
        }
        case WM_CAPTURECHANGED:
            if (native.pressed) {
                native.pressed = false;
                ::InvalidateRect(child, nullptr, FALSE);
            }
            return 0;
        default:
            return ::DefWindowProcW(child, message, wParam, lParam);
        }
    }

    switch (message) {  // drawing boards and shape boxes with windows of their own
    case WM_MOUSEMOVE: Fire(index, ControlEvent::MouseMove); return 0;
    case WM_LBUTTONDOWN: Fire(index, ControlEvent::LeftDown); return 0;
    case WM_LBUTTONUP: Fire(index, ControlEvent::LeftUp); return 0;
    case WM_LBUTTONDBLCLK:
        Fire(index, IsBound(index, ControlEvent::DoubleClick) ? ControlEvent::DoubleClick : ControlEvent::LeftDown);
        return 0;
    case WM_SETFOCUS:
        if (kind == ControlKind::DrawingBoard) Fire(index, ControlEvent::GotFocus);
        return 0;
    case WM_KILLFOCUS:
        if (kind == ControlKind::DrawingBoard) Fire(index, ControlEvent::LostFocus);
        return 0;
    default:
        return ::DefWindowProcW(child, message, wParam, lParam);
    }
}

// ---- questions from tests -------------------------------------------------------------

bool Window::AnswerQuery(HWND asker, const void* data, std::size_t bytes) {
    if (!asker || !::IsWindow(asker)) return false;
    const std::wstring wide(static_cast<const wchar_t*>(data), bytes / sizeof(wchar_t));
    const std::string name = platform::Narrow(wide);
    ReportFields fields;
    if (name.empty()) {
        RECT r{};
        ::GetWindowRect(hwnd_, &r);
        std::string items;
        for (const MenuEntry& e : menu_) {
            if (!items.empty()) items += '|';
            items += e.caption;
        }
        fields = {{"hwnd", Hex(reinterpret_cast<std::uintptr_t>(hwnd_))},
                  {"x", std::to_string(r.left)}, {"y", std::to_string(r.top)},
                  {"w", std::to_string(r.right - r.left)}, {"h", std::to_string(r.bottom - r.top)},
                  {"menu_bar", HasMenuBar() ? "1" : "0"}, {"menu_open", menuOpen_ ? "1" : "0"},
                  {"menu_items", items}};
    } else {
        const int index = tree_.IndexOf(name);
        if (index < 0) return false;
        Control control(this, index);
        const ControlState& c = tree_.At(index);
        const Rect abs = tree_.AbsoluteRect(index);
        POINT screen{abs.left, abs.top};
        ::ClientToScreen(hwnd_, &screen);
        fields = {{"name", name}, {"kind", std::to_string(static_cast<int>(c.row->kind))},
                  {"visible", c.visible ? "1" : "0"}, {"shown", tree_.IsShown(index) ? "1" : "0"},
                  {"x", std::to_string(abs.left)}, {"y", std::to_string(abs.top)},
                  {"w", std::to_string(abs.width)}, {"h", std::to_string(abs.height)},
                  {"screen_x", std::to_string(screen.x)}, {"screen_y", std::to_string(screen.y)},
                  {"caption", c.caption}, {"text", Hex(c.text.value)}, {"outline", Hex(c.outline.value)},
                  {"outline_width", std::to_string(c.outlineWidth)}};
        if (const Native* native = natives_[static_cast<std::size_t>(index)].get()) {
            fields.push_back({"hwnd", Hex(reinterpret_cast<std::uintptr_t>(native->hwnd))});
            fields.push_back({"focused", ::GetFocus() == native->hwnd ? "1" : "0"});
            fields.push_back({"picture_bytes", std::to_string(native->picture.size())});
            fields.push_back({"picture_hash", Hex(Fnv1a(native->picture))});
            if (c.row->kind == ControlKind::ListBox) {
                std::string items;
                const int count = static_cast<int>(::SendMessageW(native->hwnd, LB_GETCOUNT, 0, 0));
                for (int k = 0; k < count; ++k) {
                    const auto length = ::SendMessageW(native->hwnd, LB_GETTEXTLEN, static_cast<WPARAM>(k), 0);
                    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
                    ::SendMessageW(native->hwnd, LB_GETTEXT, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(text.data()));
                    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
                    if (k) items += '|';
                    items += platform::Narrow(text);
                }
                fields.push_back({"items", items});
                fields.push_back({"selection", std::to_string(control.Selection())});
            }
            if (c.row->kind == ControlKind::Slider) fields.push_back({"position", std::to_string(control.Position())});
        }
    }
    const std::string text = FormatReport(fields);
    COPYDATASTRUCT reply{kControlReportTag, static_cast<DWORD>(text.size()), const_cast<char*>(text.data())};
    // The asker waits for this answer and takes it at once; one that hangs must not take
    // the program with it.
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(asker, WM_COPYDATA, reinterpret_cast<WPARAM>(hwnd_), reinterpret_cast<LPARAM>(&reply),
                          SMTO_ABORTIFHUNG | SMTO_ERRORONEXIT, kAnswerTimeoutMs, &ignored);
    return true;
}

// ---- control operations ---------------------------------------------------------------

std::string Control::Caption() const { return *this ? window_->tree_.At(index_).caption : std::string(); }

void Control::SetCaption(std::string_view utf8) {
    if (!*this) return;
    window_->tree_.At(index_).caption = std::string(utf8);
    if (HWND h = Handle()) ::SetWindowTextW(h, platform::Wide(utf8).c_str());
    window_->Invalidate(index_);
}

Colour Control::TextColour() const { return *this ? window_->tree_.At(index_).text : Colour{}; }

void Control::SetTextColour(Colour colour) {
    if (!*this) return;
    window_->tree_.At(index_).text = colour;
    window_->Invalidate(index_);
}

void Control::SetOutline(Colour colour, int width) {
    if (!*this) return;
    ControlState& c = window_->tree_.At(index_);
    c.outline = colour;
    c.outlineWidth = width;
    window_->Invalidate(index_);
}

bool Control::IsVisible() const { return *this && window_->tree_.At(index_).visible; }
bool Control::IsShown() const { return *this && window_->tree_.IsShown(index_); }

void Control::SetVisible(bool visible) {
    if (!*this) return;
    ControlState& c = window_->tree_.At(index_);
    if (c.visible == visible) return;
    c.visible = visible;
    window_->SyncNativeVisibility(index_);
    if (!Handle()) window_->Invalidate(index_);
}

Rect Control::Geometry() const { return *this ? window_->tree_.At(index_).rect : Rect{}; }

void Control::SetGeometry(const Rect& rect) {
    if (!*this) return;
    const bool painted = Handle() == nullptr;
    if (painted) window_->Invalidate(index_);  // where it was
    window_->tree_.At(index_).rect = rect;
    window_->PlaceNativeWindows(index_);
    if (painted) window_->Invalidate(index_);
}

HWND Control::Handle() const {
    if (!*this) return nullptr;
    const auto& native = window_->natives_[static_cast<std::size_t>(index_)];
    return native ? native->hwnd : nullptr;
}

void Control::Focus() {
    if (HWND h = Handle()) ::SetFocus(h);
}

void Control::SetPicture(std::vector<std::uint8_t> bmpFile) {
    if (!Handle()) return;
    window_->natives_[static_cast<std::size_t>(index_)]->picture = std::move(bmpFile);
    ::InvalidateRect(Handle(), nullptr, FALSE);
    ::UpdateWindow(Handle());
}

const std::vector<std::uint8_t>& Control::Picture() const {
    static const std::vector<std::uint8_t> none;
    if (!Handle()) return none;
    return window_->natives_[static_cast<std::size_t>(index_)]->picture;
}

void Control::AddItem(std::string_view utf8) {
    if (HWND h = Handle()) ::SendMessageW(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::Wide(utf8).c_str()));
}

int Control::Selection() const {
    HWND h = Handle();
    return h ? static_cast<int>(::SendMessageW(h, LB_GETCURSEL, 0, 0)) : -1;
}

void Control::SetSelection(int index) {
    if (HWND h = Handle()) ::SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Control::SetMessageHook(MessageHook hook) {
    if (!Handle()) return;
    window_->natives_[static_cast<std::size_t>(index_)]->hook = std::move(hook);
    ::InvalidateRect(Handle(), nullptr, FALSE);  // whoever paints now paints it all
}

int Control::Position() const {
    HWND h = Handle();
    return h ? static_cast<int>(::SendMessageW(h, TBM_GETPOS, 0, 0)) : 0;
}

}  // namespace ui
