#include "ui/basic_controls.h"

#include "platform/win_text.h"
#include "ui/picture_layout.h"
#include "ui/pictures.h"

#include <commctrl.h>

namespace ui {

// ---- drawing board --------------------------------------------------------------------

void DrawingBoard::SetPicture(std::vector<std::uint8_t> bmpFile) {
    picture_ = std::move(bmpFile);
    ::InvalidateRect(Handle(), nullptr, FALSE);
    ::UpdateWindow(Handle());
}

void DrawingBoard::Paint(HDC dc, const RECT& client) {
    ::FillRect(dc, &client, host_.Cache().Brush(kButtonFace));
    DrawBmpCentred(dc, client, picture_);
}

std::optional<LRESULT> DrawingBoard::OnMessage(UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_SETFOCUS: host_.Fire(index_, ControlEvent::GotFocus); return 0;
    case WM_KILLFOCUS: host_.Fire(index_, ControlEvent::LostFocus); return 0;
    default: return RaisePointerEvents(message);
    }
}

std::optional<std::string> DrawingBoard::AccessibleValue() const {
    const auto view = ParseBmp(picture_);
    return view ? PictureSize(view->width, view->height) : std::string();
}

// ---- shape box with a window ----------------------------------------------------------

void WindowedShapeBox::Paint(HDC dc, const RECT& client) {
    PaintShapeBox(dc, client, state_.row->background, state_.outline, state_.outlineWidth, host_.Cache());
}

// ---- push button ----------------------------------------------------------------------

void PushButton::Created() {
    ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(host_.Cache().Font(state_.row->font)), FALSE);
}

void PushButton::OnCommand(WORD code) {
    if (code == BN_CLICKED) host_.Fire(index_, ControlEvent::Clicked);
}

// ---- list box -------------------------------------------------------------------------

NativeControl::WindowTraits ListBox::Traits() const {
    return {.windowClass = L"LISTBOX",
            .style = LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL,
            .exStyle = WS_EX_CLIENTEDGE,
            .focusable = true};
}

void ListBox::Created() {
    ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(host_.Cache().Font(state_.row->font)), FALSE);
}

void ListBox::OnCommand(WORD code) {
    if (code == LBN_DBLCLK) host_.Fire(index_, ControlEvent::EntryDoubleClick);
}

std::optional<std::string> ListBox::AccessibleValue() const {
    HWND list = Handle();
    const auto selected = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
    const auto length = selected < 0 ? LB_ERR : ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(selected), 0);
    if (length < 0) return std::string();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return platform::Narrow(text);
}

// ---- slider ---------------------------------------------------------------------------

NativeControl::WindowTraits Slider::Traits() const {
    return {.windowClass = TRACKBAR_CLASSW,
            .style = static_cast<DWORD>(TBS_HORZ | TBS_BOTTOM | (state_.row->slider.ticks ? TBS_AUTOTICKS : TBS_NOTICKS)),
            .focusable = true};
}

void Slider::Created() {
    const SliderRange& s = state_.row->slider;
    HWND slider = Handle();
    ::SendMessageW(slider, TBM_SETRANGE, FALSE, MAKELPARAM(s.minimum, s.maximum));
    ::SendMessageW(slider, TBM_SETTICFREQ, 1, 0);
    ::SendMessageW(slider, TBM_SETLINESIZE, 0, s.lineSize);
    ::SendMessageW(slider, TBM_SETPAGESIZE, 0, s.pageSize);
    ::SendMessageW(slider, TBM_SETPOS, TRUE, s.position);
    lastPosition_ = s.position;
}

void Slider::OnScroll() {
    const int position = static_cast<int>(::SendMessageW(Handle(), TBM_GETPOS, 0, 0));
    if (position == lastPosition_) return;  // the end of a drag repeats the position
    lastPosition_ = position;
    host_.Fire(index_, ControlEvent::PositionChanged);
}

std::optional<std::string> Slider::AccessibleValue() const {
    return std::to_string(::SendMessageW(Handle(), TBM_GETPOS, 0, 0));
}

}  // namespace ui
