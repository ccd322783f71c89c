#include "reader/reader_component.h"

#include "app/components.h"
#include "platform/component_library.h"
#include "platform/files.h"
#include "platform/program_directory.h"
#include "platform/win_text.h"
#include "reader/card_file.h"
#include "reader/reader.h"
#include "ui/modal.h"

namespace reader {

namespace {
using InitCommFn = int(__stdcall*)(int port);
using AuthenticateFn = int(__stdcall*)();
using ReadContentFn = int(__stdcall*)(int mode);

constexpr int kFirstPort = 1;
constexpr int kLastPort = 1200;
constexpr int kTextAndPhoto = 4;  // the read mode the program always asks for
constexpr int kSuccess = 1;
constexpr wchar_t kCardFileName[] = L"wz.txt";
constexpr std::string_view kReaderLost = "读卡器连接失败";

// Loaded on first use and kept: the reader's port stays open until the program ends.
const platform::ComponentLibrary& ReaderLibrary() {
    static const platform::ComponentLibrary library(platform::BesideProgram(app::kTermb.fileName));
    return library;
}

// A missing export reads as a failed call: a component that cannot be used is no reader.
template <typename Fn, typename... Args>
int Call(const char* name, Args... args) {
    const auto function = ReaderLibrary().Find<Fn>(name);
    return function ? function(args...) : 0;
}
}  // namespace

int InitialiseReader() {
    app::DeployComponent(app::kTermb);
    app::DeployComponent(app::kUnPack);
    app::DeployComponent(app::kSdtapi);
    const auto initComm = ReaderLibrary().Find<InitCommFn>("CVR_InitComm");
    if (!initComm) return 0;
    for (int port = kFirstPort; port <= kLastPort; ++port)
        if (initComm(port) == kSuccess) return 1;
    return 0;
}

int ReadCard() {
    if (Call<AuthenticateFn>("CVR_Authenticate") != kSuccess) return 0;
    if (Call<ReadContentFn>("CVR_Read_Content", kTextAndPhoto) != kSuccess) return 0;
    ::MessageBeep(MB_OK);
    return 1;
}

std::string LookUpCardField(HWND owner, int position) {
    if (InitialiseReader() == 0) {
        ui::ShowMessageBox(owner, kReaderLost, {}, MB_ICONERROR | MB_OK);
        return {};
    }
    const auto bytes = platform::ReadWholeFile(platform::BesideProgram(kCardFileName));
    if (!bytes) return {};
    constexpr UINT kChineseCodePage = 936;
    return platform::FromCodePage(CardFileField(*bytes, position), kChineseCodePage);
}

}  // namespace reader
