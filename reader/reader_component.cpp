#include "reader/reader_component.h"

#include "platform/files.h"
#include "platform/program_directory.h"
#include "platform/win_text.h"
#include "reader/card_file.h"
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
}  // namespace

const platform::ComponentLibrary& ReaderComponent::Library() {
    // Loaded once the files are deployed; a failed load is not tried again.
    if (!loaded_) {
        library_ = platform::ComponentLibrary(platform::BesideProgram(kTermb.fileName));
        loaded_ = true;
    }
    return library_;
}

int ReaderComponent::Initialise() {
    for (const platform::ComponentFile& file : kReaderComponentFiles) platform::DeployComponent(file);
    const auto initComm = Library().Find<InitCommFn>("CVR_InitComm");
    if (!initComm) return 0;
    for (int port = kFirstPort; port <= kLastPort; ++port)
        if (initComm(port) == kSuccess) return 1;
    return 0;
}

int ReaderComponent::ReadCard() {
    if (Call<AuthenticateFn>("CVR_Authenticate") != kSuccess) return 0;
    if (Call<ReadContentFn>("CVR_Read_Content", kTextAndPhoto) != kSuccess) return 0;
    ::MessageBeep(MB_OK);
    return 1;
}

std::string ReaderComponent::LookUpCardField(HWND owner, int position) {
    if (Initialise() == 0) {
        ui::ShowMessageBox(owner, kReaderLost, {}, MB_ICONERROR | MB_OK);
        return {};
    }
    const auto bytes = platform::ReadWholeFile(platform::BesideProgram(kCardFileName));
    if (!bytes) return {};
    return platform::FromCodePage(CardFileField(*bytes, position), platform::kGb18030CodePage);
}

}  // namespace reader
