#include "ui/graphic_button.h"

#include "platform/gdiplus.h"
#include "platform/program_resource.h"
#include "platform/win_text.h"
#include "ui/pictures.h"

#include <windowsx.h>

namespace ui {

GraphicButton::GraphicButton(ControlHost& host, const ControlState& state, int index)
    : NativeControl(host, state, index) {}

GraphicButton::~GraphicButton() = default;

void GraphicButton::Paint(HDC dc, const RECT& client) {
    // What lies beneath first, so the picture's alpha blends with it.
    HWND self = Handle();
    HWND parent = ::GetParent(self);
    POINT origin{0, 0};
    ::MapWindowPoints(self, parent, &origin, 1);
    POINT previous{};
    ::OffsetViewportOrgEx(dc, -origin.x, -origin.y, &previous);
    ::SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    ::SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
    if (!decoded_) {
        // Decoding loads the imaging codecs; doing it here keeps it out of the way of the
        // window's first appearance.
        decoded_ = true;
        for (std::size_t k = 0; k < images_.size(); ++k)
            images_[k] = DecodePicture(platform::ProgramResource(platform::Wide(state_.row->pictures[k])));
    }
    const std::size_t look = pressed_ ? 2 : hover_ ? 1 : 0;
    if (Gdiplus::Bitmap* image = images_[look].get()) {
        Gdiplus::Graphics g(dc);
        g.DrawImage(image, static_cast<INT>(client.left), static_cast<INT>(client.top),
                    static_cast<INT>(client.right - client.left), static_cast<INT>(client.bottom - client.top));
    }
}

std::optional<LRESULT> GraphicButton::OnMessage(UINT message, WPARAM, LPARAM lParam) {
    HWND self = Handle();
    switch (message) {
    case WM_MOUSEMOVE:
        if (!hover_) {
            hover_ = true;
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, self, 0};
            ::TrackMouseEvent(&track);
            ::InvalidateRect(self, nullptr, FALSE);
        }
        return 0;
    case WM_MOUSELEAVE:
        hover_ = false;
        ::InvalidateRect(self, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        pressed_ = true;
        ::SetCapture(self);
        ::InvalidateRect(self, nullptr, FALSE);
        return 0;
    case WM_LBUTTONUP: {
        if (!pressed_) return 0;
        pressed_ = false;
        ::ReleaseCapture();
        ::InvalidateRect(self, nullptr, FALSE);
        RECT client{};
        ::GetClientRect(self, &client);
        const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (::PtInRect(&client, at)) host_.Fire(index_, ControlEvent::Clicked);  // may close the window
        return 0;
    }
    case BM_CLICK:  // a press asked for from outside, as the platform's buttons take it
        host_.Fire(index_, ControlEvent::Clicked);  // may close the window
        return 0;
    case WM_CAPTURECHANGED:
        if (pressed_) {
            pressed_ = false;
            ::InvalidateRect(self, nullptr, FALSE);
        }
        return 0;
    default:
        return std::nullopt;
    }
}

}  // namespace ui
