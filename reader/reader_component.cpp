#include "reader/reader_component.h"

#include "platform/files.h"
#include "platform/program_directory.h"
#include "platform/win_text.h"
#include "reader/card_file.h"

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
}  // namespace

const platform::ComponentLibrary& ReaderComponent::Library() {
    // Loaded once the files are deployed; a failed load is not tried again.
    if (!loaded_) {
        library_ = platform::ComponentLibrary(platform::BesideProgram(kTermb.fileName));
        loaded_ = true;
    }
    return library_;
}

void ReaderComponent::DeployFiles() {
    for (const platform::ComponentFile& file : kReaderComponentFiles) platform::DeployComponent(file);
}

int ReaderComponent::Initialise() {
    const auto initComm = Library().Find<InitCommFn>("CVR_InitComm");
    if (!initComm) return 0;
    port_ = 0;
    portOpen_ = false;
    for (int port = kFirstPort; port <= kLastPort; ++port) {
        if (initComm(port) == kSuccess) {
            port_ = port;
            portOpen_ = true;
            return 1;
        }
    }
    return 0;
}

int ReaderComponent::SelectCard() { return Call<AuthenticateFn>("CVR_Authenticate") == kSuccess ? 1 : 0; }

int ReaderComponent::ReadSelectedCard(bool beep) {
    if (Call<ReadContentFn>("CVR_Read_Content", kTextAndPhoto) != kSuccess) return 0;
    if (beep) ::MessageBeep(MB_OK);
    return 1;
}

int ReaderComponent::ReadCard() {
    // A check that met a silent or babbling reader closed its port; without opening it again,
    // the operator's read would fail without a word to the reader, however well it answers now.
    if (!portOpen_ && !ReaderAnswers()) return 0;
    return SelectCard() == 1 ? ReadSelectedCard() : 0;
}

bool ReaderComponent::ReaderAnswers() {
    portOpen_ = port_ != 0 && Call<InitCommFn>("CVR_InitComm", port_) == kSuccess;
    return portOpen_;
}

std::optional<std::string> ReaderComponent::CardField(int position) {
    // The reader's own port is asked first: a full scan tries up to 1200 ports.
    if (!ReaderAnswers() && Initialise() == 0) return std::nullopt;
    const auto bytes = platform::ReadWholeFile(platform::BesideProgram(kCardFileName));
    if (!bytes) return std::string();
    return platform::FromCodePage(CardFileField(*bytes, position), platform::kGb18030CodePage);
}

}  // namespace reader
