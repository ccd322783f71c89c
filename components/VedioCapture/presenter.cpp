#include "presenter.h"

#include "platform/dib.h"
#include "platform/module_directory.h"
#include "platform/owners.h"
#include "platform/video_surface.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <utility>

namespace vedio {

namespace {
constexpr const wchar_t* kSurfaceClass = platform::kVideoSurfaceClass;
constexpr UINT kFrameDrawn = WM_APP + 1;
constexpr UINT_PTR kWatchTimer = 1;
// A look four times a second: the notice shows within 1.25 s of the last frame, and the
// look itself is a lock and a comparison of two times.
constexpr UINT kWatchPeriodMs = 250;

constexpr wchar_t kStoppedTitle[] = L"摄像头画面已停止";
constexpr wchar_t kStoppedAdvice[] = L"请检查摄像头连接后，双击摄像头名称重新打开";

HINSTANCE ThisModule() { return platform::ModuleContaining(reinterpret_cast<const void*>(&ThisModule)); }

bool RegisterSurfaceClass(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSEXW wc{sizeof wc};
        wc.lpfnWndProc = procedure;
        wc.hInstance = ThisModule();
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kSurfaceClass;
        return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

// Draws `picture` over the whole of a `width` x `height` surface: 1:1 when the sizes
// match, stretched otherwise (the placeholder of a restart on another size).
void DrawPicture(HDC dc, const Picture& picture, int width, int height) {
    const BITMAPINFO info = platform::TopDownBitmapInfo(picture.width, picture.height);
    if (picture.width == width && picture.height == height) {
        ::SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                            static_cast<UINT>(height), picture.bgrx.data(), &info, DIB_RGB_COLORS);
        return;
    }
    ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchDIBits(dc, 0, 0, width, height, 0, 0, picture.width, picture.height, picture.bgrx.data(), &info,
                    DIB_RGB_COLORS, SRCCOPY);
}

platform::UniqueFont NoticeFont(int pixelHeight, int weight) {
    return platform::UniqueFont(::CreateFontW(-pixelHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                              DEFAULT_PITCH, L"微软雅黑"));
}

RECT ToRect(const NoticeRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// One line of the notice, centred in `box`; a font too wide for it (a face wider than the
// layout assumed) is made smaller until the line fits.
void DrawNoticeLine(HDC dc, const wchar_t* text, RECT box, int pixelHeight, int weight, COLORREF colour) {
    const int length = static_cast<int>(std::wcslen(text));
    platform::UniqueFont font = NoticeFont(pixelHeight, weight);
    {
        const platform::Selection select(dc, font.get());
        SIZE extent{};
        const int room = static_cast<int>(box.right - box.left);
        if (::GetTextExtentPoint32W(dc, text, length, &extent) && extent.cx > room && room > 0) {
            const int smaller = std::max(8, static_cast<int>(static_cast<long long>(pixelHeight) * room / extent.cx));
            font = NoticeFont(smaller, weight);
        }
    }
    const platform::Selection select(dc, font.get());
    ::SetTextColor(dc, colour);
    ::DrawTextW(dc, text, length, &box, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

// The notice that the picture has stopped: a dark band with a red heading and white
// advice, across the middle of the part of the picture the operator sees (notice_layout.h).
void DrawStoppedNotice(HDC dc, int width, int height, const NoticeRect& visible) {
    constexpr int kTitleChars = static_cast<int>(std::size(kStoppedTitle)) - 1;
    constexpr int kAdviceChars = static_cast<int>(std::size(kStoppedAdvice)) - 1;
    const NoticeLayout layout = LayOutNotice(width, height, visible, kTitleChars, kAdviceChars);
    const RECT band = ToRect(layout.band);
    platform::UniqueBrush dark(::CreateSolidBrush(RGB(24, 24, 24)));
    ::FillRect(dc, &band, dark.get());
    ::SetBkMode(dc, TRANSPARENT);
    DrawNoticeLine(dc, kStoppedTitle, ToRect(layout.title), layout.titleHeight, FW_BOLD, RGB(255, 72, 72));
    DrawNoticeLine(dc, kStoppedAdvice, ToRect(layout.advice), layout.adviceHeight, FW_NORMAL, RGB(255, 255, 255));
}

void DrawPictureOrBlack(HDC dc, const Picture* picture, int width, int height) {
    if (picture && !picture->bgrx.empty()) {
        DrawPicture(dc, *picture, width, height);
        return;
    }
    const RECT all{0, 0, width, height};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
}
}  // namespace

std::shared_ptr<Presenter> Presenter::Create(HWND target, std::shared_ptr<const Picture> placeholder) {
    RECT client{};
    if (!::IsWindow(target) || !::GetClientRect(target, &client)) return nullptr;
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0 || !RegisterSurfaceClass(&Presenter::SurfaceProc)) return nullptr;

    std::shared_ptr<Presenter> presenter(new Presenter);
    presenter->width_ = width;
    presenter->height_ = height;
    presenter->latest_ = std::move(placeholder);
    presenter->latestIsPlaceholder_ = presenter->latest_ != nullptr;
    presenter->watch_ = StallWatch(StallWatch::Clock::now(), presenter->latestIsPlaceholder_);
    presenter->surface_ = ::CreateWindowExW(0, kSurfaceClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
                                            width, height, target, nullptr, ThisModule(), presenter.get());
    if (!presenter->surface_) return nullptr;
    ::SetTimer(presenter->surface_, kWatchTimer, kWatchPeriodMs, nullptr);  // ends with the window
    return presenter;
}

Presenter::~Presenter() { Detach(); }

void Presenter::Detach() {
    HWND surface = nullptr;
    {
        std::lock_guard lock(drawing_);
        detached_ = true;
        surface = std::exchange(surface_, nullptr);
    }
    if (surface && ::IsWindow(surface)) ::DestroyWindow(surface);
}

std::shared_ptr<const Picture> Presenter::Latest() const {
    std::lock_guard lock(latestLock_);
    return watch_.ShowsNotice() ? nullptr : latest_;
}

void Presenter::Watch() {
    bool changed = false;
    bool notice = false;
    {
        std::lock_guard lock(latestLock_);
        changed = watch_.Update(StallWatch::Clock::now());
        notice = watch_.ShowsNotice();
        if (changed && latestIsPlaceholder_ && !watch_.ShowsPlaceholder()) {
            latest_.reset();  // the restart's stand-in: not this camera's picture
            latestIsPlaceholder_ = false;
        }
    }
    // A pan moves the window under a notice already drawn: the notice follows what is seen.
    // (surface_ changes on this thread only.)
    const bool moved = notice && surface_ && VisiblePart(surface_) != noticeArea_;
    if (!changed && !moved) return;
    std::lock_guard lock(drawing_);
    if (surface_) ::InvalidateRect(surface_, nullptr, FALSE);
}

std::shared_ptr<Picture> Presenter::SparePicture() {
    // A picture nobody else holds: not on show, not being painted by the window's thread.
    for (const auto& picture : pool_)
        if (picture.use_count() == 1) return picture;
    auto picture = std::make_shared<Picture>();
    picture->width = width_;
    picture->height = height_;
    picture->bgrx.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4);
    if (pool_.size() < 4) pool_.push_back(picture);
    return picture;
}

void Presenter::Present(const SourceFrame& frame) {
    {
        std::lock_guard lock(drawing_);
        if (detached_) return;
    }
    std::shared_ptr<Picture> picture = SparePicture();
    scaler_.Scale(frame, {picture->bgrx.data(), picture->width, picture->height,
                          static_cast<std::ptrdiff_t>(picture->width) * 4});
    {
        std::lock_guard lock(latestLock_);
        latest_ = picture;
        latestIsPlaceholder_ = false;
        watch_.FrameArrived(StallWatch::Clock::now());  // the whole picture below covers any notice
    }
    std::lock_guard lock(drawing_);
    if (detached_ || !surface_) return;
    if (HDC dc = ::GetDC(surface_)) {
        DrawPicture(dc, *picture, width_, height_);
        ::ReleaseDC(surface_, dc);
    }
    // Some window systems (Wine among them) put what a thread drew on the screen when the
    // window's own thread next goes idle: wake it, once per frame at most.
    if (!wakePending_.exchange(true)) ::PostMessageW(surface_, kFrameDrawn, 0, 0);
}

NoticeRect Presenter::VisiblePart(HWND surface) const {
    RECT visible{0, 0, width_, height_};
    // The surface lies at the target's origin with the picture's size, so the surface's
    // coordinates are the picture's.
    for (HWND window = surface; (::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0;) {
        const HWND parent = ::GetParent(window);
        RECT client{};
        if (!parent || !::GetClientRect(parent, &client)) break;
        ::MapWindowPoints(parent, surface, reinterpret_cast<POINT*>(&client), 2);
        if (!::IntersectRect(&visible, &visible, &client)) return {};
        window = parent;
    }
    return {visible.left, visible.top, visible.right, visible.bottom};
}

void Presenter::Paint(HDC dc, HWND surface) {
    std::shared_ptr<const Picture> picture;
    bool notice = false;
    {
        std::lock_guard lock(latestLock_);
        picture = latest_;
        notice = watch_.ShowsNotice();
    }
    if (!notice) {
        DrawPictureOrBlack(dc, picture.get(), width_, height_);
        return;
    }
    noticeArea_ = VisiblePart(surface);
    // The picture and the notice composed off screen, then shown at once: no flicker.
    platform::UniqueDC memory(::CreateCompatibleDC(dc));
    platform::UniqueBitmap bitmap(memory ? ::CreateCompatibleBitmap(dc, width_, height_) : nullptr);
    if (!bitmap) {
        DrawPictureOrBlack(dc, picture.get(), width_, height_);
        DrawStoppedNotice(dc, width_, height_, noticeArea_);
        return;
    }
    const platform::Selection select(memory.get(), bitmap.get());
    DrawPictureOrBlack(memory.get(), picture.get(), width_, height_);
    DrawStoppedNotice(memory.get(), width_, height_, noticeArea_);
    ::BitBlt(dc, 0, 0, width_, height_, memory.get(), 0, 0, SRCCOPY);
}

platform::SurfaceShows Presenter::Shows() const {
    using platform::SurfaceShows;
    std::lock_guard lock(latestLock_);
    if (watch_.ShowsNotice() || !latest_) return SurfaceShows::Nothing;
    return latestIsPlaceholder_ ? SurfaceShows::StandIn : SurfaceShows::Live;
}

LRESULT CALLBACK Presenter::SurfaceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static const UINT showsQuery = ::RegisterWindowMessageW(platform::kVideoSurfaceQuery);
    if (message == showsQuery && showsQuery != 0) {
        auto* self = reinterpret_cast<Presenter*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        return static_cast<LRESULT>(self ? self->Shows() : platform::SurfaceShows::Nothing);
    }
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Presenter*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case kFrameDrawn:
        if (self) self->wakePending_ = false;
        return 0;
    case WM_TIMER:
        if (self && wParam == kWatchTimer) self->Watch();
        return 0;
    case WM_NCHITTEST:
        return HTTRANSPARENT;  // the mouse belongs to the window beneath (dragging, clicks)
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(window, &ps);
        if (dc && self) self->Paint(dc, window);
        ::EndPaint(window, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        if (self) self->Paint(reinterpret_cast<HDC>(wParam), window);
        return 0;
    case WM_DESTROY:
        // The program closed the window under us (it ends): draw no more.
        if (self) {
            std::lock_guard lock(self->drawing_);
            self->detached_ = true;
            self->surface_ = nullptr;
        }
        return 0;
    case WM_NCDESTROY:
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace vedio
