// The operations of control handles.
#include "ui/window.h"

#include "platform/win_text.h"
#include "ui/basic_controls.h"
#include "ui/html_viewer_control.h"
#include "ui/native_control.h"
#include "ui/report_list.h"

#include <commctrl.h>

namespace ui {

NativeControl* Control::Native() const { return *this ? window_->NativeAt(index_) : nullptr; }

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
    if (visible) c.shownAtTick = ::GetTickCount();
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
    const NativeControl* native = Native();
    return native ? native->Handle() : nullptr;
}

HWND Control::WindowHandle() const { return *this ? window_->Handle() : nullptr; }

void Control::Focus() {
    if (HWND h = Handle()) ::SetFocus(h);
}

void DrawingBoardHandle::SetPicture(std::vector<std::uint8_t> bmpFile) {
    if (auto* board = dynamic_cast<DrawingBoard*>(Native()); board && board->Handle())
        board->SetPicture(std::move(bmpFile));
}

const std::vector<std::uint8_t>& DrawingBoardHandle::Picture() const {
    static const std::vector<std::uint8_t> none;
    const auto* board = dynamic_cast<const DrawingBoard*>(Native());
    return board && board->Handle() ? board->Picture() : none;
}

void ListBoxHandle::AddItem(std::string_view utf8) {
    if (HWND h = Handle()) ::SendMessageW(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::Wide(utf8).c_str()));
}

int ListBoxHandle::Selection() const {
    HWND h = Handle();
    return h ? static_cast<int>(::SendMessageW(h, LB_GETCURSEL, 0, 0)) : -1;
}

void ListBoxHandle::SetSelection(int index) {
    if (HWND h = Handle()) ::SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int SliderHandle::Position() const {
    HWND h = Handle();
    return h ? static_cast<int>(::SendMessageW(h, TBM_GETPOS, 0, 0)) : 0;
}

void SliderHandle::MoveTo(int position) {
    HWND h = Handle();
    if (!h) return;
    ::SendMessageW(h, TBM_SETPOS, TRUE, position);
    // The same path as the platform's scroll notification.
    if (NativeControl* native = Native()) native->OnScroll();
}

void HtmlViewerHandle::Navigate(std::string_view pathOrAddress) {
    if (auto* viewer = dynamic_cast<HtmlViewerControl*>(Native()); viewer && viewer->Handle())
        viewer->Navigate(pathOrAddress);
}

void ReportListHandle::SetRows(std::vector<std::vector<std::string>> rows) {
    if (auto* list = dynamic_cast<ReportList*>(Native())) list->SetRows(std::move(rows));
}

int ReportListHandle::Selection() const {
    const auto* list = dynamic_cast<const ReportList*>(Native());
    return list ? list->Selection() : -1;
}

void ReportListHandle::Select(int row) {
    if (auto* list = dynamic_cast<ReportList*>(Native())) list->Select(row);
}

void Control::SetMessageHook(MessageHook hook) {
    if (NativeControl* native = Native(); native && native->Handle()) native->SetHook(std::move(hook));
}

}  // namespace ui
