#include "chrome/help_window.h"

#include "chrome/browser_hook.h"
#include "chrome/chrome.h"  // OpenHelpWindow, SetWndShadow
#include "chrome/help_files.h"
#include "chrome/secondary_templates.h"
#include "platform/win_text.h"
#include "ui/modal_window.h"

#include <memory>

namespace chrome {

void PrepareHelpPage(HWND help, ui::HtmlViewerHandle viewer) {
    constexpr COLORREF kShadowColour = 0x808080;
    constexpr int kShadowSize = 5;
    const std::wstring page = EnsureHelpPage(DefaultHelpPageDirectories());
    viewer.Navigate(platform::Narrow(page));
    SetWndShadow(help, kShadowColour, kShadowSize);
    viewer.Focus();
}

void OpenHelpWindow(ui::Window& owner) {
    // Resolved when the window is made; its events use the same handle.
    auto viewer = std::make_shared<ui::HtmlViewerHandle>();
    ui::WindowBehaviour behaviour;
    behaviour.created = [viewer](ui::Window& w) {
        *viewer = w.Get(kHelpViewer);
        PrepareHelpPage(w.Handle(), *viewer);
    };
    behaviour.events = {
        {kHelpViewer, ui::ControlEvent::DocumentReady, [viewer](ui::Window&) { HookBrowserServer(viewer->Handle()); }},
        {kHelpClose, ui::ControlEvent::Clicked, [](ui::Window& w) { w.Close(); }},
    };
    ui::ShowModalWindow(HelpWindowTemplate(), std::move(behaviour), owner.Handle());
}

}  // namespace chrome
