#include "app/startup.h"

#include "app/components.h"
#include "app/hotkeys.h"
#include "app/main_events.h"
#include "app/main_template.h"
#include "app/photo_directory.h"
#include "camera/preview.h"
#include "chrome/chrome.h"
#include "photo/slots.h"
#include "platform/gdiplus.h"
#include "platform/program_directory.h"
#include "reader/reader.h"
#include "ui/message_loop.h"
#include "ui/modal.h"
#include "ui/window.h"

#include <commctrl.h>

namespace app {

void StartGdiplusOnce() {
    static ULONG_PTR token = 0;
    if (token != 0) return;
    Gdiplus::GdiplusStartupInput input;  // version 1, no callback, background thread on
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
}

void OnMainWindowCreated(ui::Window& window) {
    constexpr int kStartupPreviewHeight = 800;
    constexpr COLORREF kShadowColour = 0x808080;
    constexpr int kShadowSize = 5;

    RegisterStartupHotkeys(window);
    DeployComponent(kVedioCapture);
    camera::PlacePreview(window, kStartupPreviewHeight);
    camera::FillCameraList(window);
    window["列表框1"].SetSelection(0);
    photo::ResetNextSlot();
    const int readerFound = reader::InitialiseReader();  // blocks while it tries the ports
    reader::ChooseStartupButton(window, readerFound);
    EnsurePhotoDirectory();
    chrome::SetWndShadow(window.Handle(), kShadowColour, kShadowSize);
    window.SetMenuItemVisible("帮助", false);  // the menu lives on as the settings pop-up
    HideComponentFiles(platform::ProgramDirectory());
}

int RunProgram() {
    StartGdiplusOnce();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    auto window = ui::Window::Create(MainWindowTemplate(), MainWindowBehaviour());
    if (!window) {
        ui::ShowMessageBox(nullptr, "主窗口无法创建，请重新启动程序。", "Orvia", MB_ICONERROR | MB_OK);
        return 1;
    }
    return ui::RunMessageLoop();
}

}  // namespace app
