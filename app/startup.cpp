#include "app/startup.h"

#include "app/main_events.h"
#include "app/main_template.h"
#include "platform/gdiplus.h"
#include "platform/startup_trace.h"
#include "ui/message_loop.h"
#include "ui/modal.h"
#include "ui/window.h"

#include <commctrl.h>

namespace app {

void StartGdiplusOnce() {
    // A process singleton: GDI+ serves every window and every encoder until the process ends.
    static ULONG_PTR token = 0;
    if (token != 0) return;
    Gdiplus::GdiplusStartupInput input;  // version 1, no callback, background thread on
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
}

int RunProgram() {
    platform::MarkStartup("entry");  // the process's creation, its imports and the runtime's start
    StartGdiplusOnce();
    platform::MarkStartup("GDI+");
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    platform::MarkStartup("common controls");

    std::unique_ptr<MainDesk> desk;  // made by the window's created event; outlives the window
    auto window = ui::Window::Create(MainWindowTemplate(), MainWindowBehaviour(desk));
    if (!window) {
        ui::ShowMessageBox(nullptr, "主窗口无法创建，请重新启动程序。", "Orvia", MB_ICONERROR | MB_OK);
        return 1;
    }
    // The window's controls and what the program binds to them are checked as it is made
    // (the desk has resolved its controls by now): a mismatch is a fault of this build.
    if (!window->BindingErrors().empty()) {
        std::string text = "这个版本的 Orvia 有错误，部分按钮可能不起作用。请把下面的内容告诉维护人员：";
        for (const std::string& error : window->BindingErrors()) text += "\n" + error;
        ui::ShowMessageBox(window->Handle(), text, "Orvia", MB_ICONERROR | MB_OK);
    }
    const int exitCode = ui::RunMessageLoop();
    window.reset();
    desk.reset();
    return exitCode;
}

}  // namespace app
