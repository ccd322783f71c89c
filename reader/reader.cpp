#include "reader/reader.h"

#include "app/components.h"
#include "app/main_template.h"
#include "platform/component_library.h"
#include "platform/program_directory.h"
#include "ui/window.h"

namespace reader {

namespace {
using InitCommFn = int(__stdcall*)(int port);

constexpr int kFirstPort = 1;
constexpr int kLastPort = 1200;

// Loaded on first use and kept: the reader's port stays open until the program ends.
const platform::ComponentLibrary& ReaderLibrary() {
    static const platform::ComponentLibrary library(platform::BesideProgram(app::kTermb.fileName));
    return library;
}
}  // namespace

int InitialiseReader() {
    app::DeployComponent(app::kTermb);
    app::DeployComponent(app::kUnPack);
    app::DeployComponent(app::kSdtapi);
    // A library that cannot be loaded simply means no reader.
    const auto initComm = ReaderLibrary().Find<InitCommFn>("CVR_InitComm");
    if (!initComm) return 0;
    for (int port = kFirstPort; port <= kLastPort; ++port)
        if (initComm(port) == 1) return 1;
    return 0;
}

void ChooseStartupButton(ui::Window& window, int readerFound) {
    if (readerFound == 1) {
        window["外形框_拍照"].SetVisible(false);
        window["透明标签_拍照"].SetVisible(false);
        return;
    }
    window["外形框_读身份证"].SetVisible(false);
    window["透明标签_读身份证"].SetVisible(false);
    window["透明标签_名字"].SetCaption(app::kReaderFailurePrompt);
}

// Card reading and manual naming come with the reader's own piece of work.
void OnReadCard(ui::Window&) {}
void OnNameLabelPressed(ui::Window&) {}

}  // namespace reader
