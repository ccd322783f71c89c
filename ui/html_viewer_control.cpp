#include "ui/html_viewer_control.h"

#include "platform/win_text.h"

namespace ui {

HtmlViewerControl::~HtmlViewerControl() = default;

void HtmlViewerControl::Created() {
    // The event goes through the host, which keeps the window alive while handlers run.
    ControlHost& host = host_;
    const int index = index_;
    viewer_ = HtmlViewer::Create(Handle(), [&host, index] { host.Fire(index, ControlEvent::DocumentReady); });
}

void HtmlViewerControl::Navigate(std::string_view pathOrAddress) {
    address_ = std::string(pathOrAddress);
    if (viewer_) viewer_->Navigate(platform::Wide(pathOrAddress));
}

bool HtmlViewerControl::PreTranslate(MSG& message) {
    if (!viewer_ || !Handle() || !::IsChild(Handle(), message.hwnd)) return false;
    return viewer_->TranslateKey(message);
}

void HtmlViewerControl::Paint(HDC dc, const RECT& client) {
    // Only seen where no browser covers the control.
    ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    if (viewer_) return;
    const std::wstring note = platform::Wide(kNoBrowserNote);
    platform::Selection font(dc, host_.Cache().Font(state_.row->font));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0x40, 0x40, 0x40));
    RECT place = client;
    ::DrawTextW(dc, note.c_str(), static_cast<int>(note.size()), &place,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

std::optional<LRESULT> HtmlViewerControl::OnMessage(UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_SIZE:
        if (viewer_) viewer_->Resize();
        return 0;
    case WM_DESTROY:
        // The browser goes first, while the window it lives in is still there.
        viewer_.reset();
        return 0;
    case WM_SETFOCUS:
        if (viewer_) viewer_->Focus();
        return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        return 0;  // the right button does nothing here: no context menu
    default:
        return std::nullopt;
    }
}

std::string HtmlViewerControl::AccessibleName() const { return viewer_ ? state_.caption : std::string(kNoBrowserNote); }

}  // namespace ui
