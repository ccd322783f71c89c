// The HTML viewer kind: a page in the platform's web browser. Where the platform has no
// browser, a plain note stands in its place and the window works on without it.
#pragma once

#include "ui/html_viewer.h"
#include "ui/native_control.h"

#include <memory>
#include <string>

namespace ui {

// What the viewer shows when there is no browser.
inline constexpr char kNoBrowserNote[] = "无法显示页面：本机没有可用的浏览器组件。";

class HtmlViewerControl final : public NativeControl {
public:
    using NativeControl::NativeControl;
    ~HtmlViewerControl() override;

    void Navigate(std::string_view pathOrAddress);
    bool PreTranslate(MSG& message) override;
    // Where there is no browser, the note it shows in its place.
    std::string AccessibleName() const override;
    // The address of the page, as browsers give their document's.
    std::optional<std::string> AccessibleValue() const override { return address_; }

private:
    WindowTraits Traits() const override { return {.style = WS_CLIPCHILDREN, .focusable = true}; }
    void Created() override;
    void Paint(HDC dc, const RECT& client) override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    std::unique_ptr<HtmlViewer> viewer_;
    std::string address_;  // the last page asked for
};

}  // namespace ui
