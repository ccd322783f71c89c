#include "ui/window_render.h"

#include "platform/dib.h"

#include <cstring>

namespace ui {

namespace {

// Where a window's client area lies in the rendered window's coordinates.
RECT ClientIn(HWND window, HWND root) {
    RECT client{};
    ::GetClientRect(window, &client);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    RECT rootArea{};
    ::GetWindowRect(root, &rootArea);
    ::OffsetRect(&client, -rootArea.left, -rootArea.top);
    return client;
}

// Draws `window` clipped to `visible` (rendered coordinates), then its children on top:
// GW_CHILD is the top of the stack, so they are drawn from the last one up.
void RenderOne(HWND window, HWND root, HDC dc, const RECT& visible) {
    const RECT client = ClientIn(window, root);
    RECT area{};
    if (!::IntersectRect(&area, &client, &visible)) return;

    {
        const platform::SavedDC saved(dc);
        const platform::UniqueRegion clip(::CreateRectRgnIndirect(&area));
        ::SelectClipRgn(dc, clip.get());
        ::SetViewportOrgEx(dc, client.left, client.top, nullptr);
        ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    }
    HWND top = ::GetWindow(window, GW_CHILD);
    for (HWND child = top ? ::GetWindow(top, GW_HWNDLAST) : nullptr; child; child = ::GetWindow(child, GW_HWNDPREV)) {
        if ((::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) == 0) continue;
        RenderOne(child, root, dc, area);
    }
}

}  // namespace

void RenderWindowTree(HWND window, HDC dc) {
    RECT whole{};
    if (!::IsWindow(window) || !::GetWindowRect(window, &whole)) return;
    const RECT all{0, 0, whole.right - whole.left, whole.bottom - whole.top};
    RenderOne(window, window, dc, all);
}

platform::BgrxPicture RenderWindowPixels(HWND window) {
    RECT r{};
    if (!window || !::GetWindowRect(window, &r)) return {};
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return {};

    const platform::UniqueDC memory(::CreateCompatibleDC(nullptr));
    if (!memory) return {};
    const platform::TopDownDib dib = platform::CreateTopDownDib(memory.get(), width, height);
    if (!dib.bits) return {};
    platform::BgrxPicture out{width, height, {}};
    {
        const platform::Selection select(memory.get(), dib.bitmap.get());
        RenderWindowTree(window, memory.get());
        ::GdiFlush();
    }
    const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    out.bgrx.resize(size);
    std::memcpy(out.bgrx.data(), dib.bits, size);
    return out;
}

}  // namespace ui
