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
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    platform::MarkStartup("common controls");

    std::unique_ptr<MainDesk> desk;  // made by the window's created event; outlives the window
    auto window = ui::Window::Create(MainWindowTemplate(), MainWindowBehaviour(desk));
    if (!window) {
        ui::ShowMessageBox(nullptr, "主窗口无法创建，请重新启动程序。", "Orvia", MB_ICONERROR | MB_OK);
        return 1;
    }
    const int exitCode = ui::RunMessageLoop();
    window.reset();
    desk.reset();
    return exitCode;
}

}  // namespace app
