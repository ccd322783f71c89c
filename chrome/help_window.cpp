#include "chrome/help_window.h"

#include "chrome/browser_hook.h"
#include "chrome/chrome.h"  // OpenHelpWindow, SetWndShadow
#include "chrome/help_files.h"
#include "chrome/secondary_templates.h"
#include "platform/win_text.h"
#include "ui/modal_window.h"

namespace chrome {

void PrepareHelpPage(ui::Window& help) {
    constexpr COLORREF kShadowColour = 0x808080;
    constexpr int kShadowSize = 5;
    const std::wstring page = EnsureHelpPage(DefaultHelpPageDirectories());
    ui::Control viewer = help[kHelpViewer];
    viewer.Navigate(platform::Narrow(page));
    SetWndShadow(help.Handle(), kShadowColour, kShadowSize);
    viewer.Focus();
}

void OpenHelpWindow(ui::Window& owner) {
    ui::WindowBehaviour behaviour;
    behaviour.created = &PrepareHelpPage;
    behaviour.events = {
        {kHelpViewer, ui::ControlEvent::DocumentReady, [](ui::Window& w) { HookBrowserServer(w[kHelpViewer].Handle()); }},
        {kHelpClose, ui::ControlEvent::Clicked, [](ui::Window& w) { w.Close(); }},
    };
    ui::ShowModalWindow(HelpWindowTemplate(), std::move(behaviour), owner.Handle());
}

}  // namespace chrome
