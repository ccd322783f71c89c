// The reader interface termb.dll: opens a reader on a port, finds and selects the card on
// it and reads it into the card text file and the portrait beside this DLL. It speaks to
// the reader through sdtapi.dll and decodes portraits through UnPack.dll, both loaded by
// full path from its own directory. Every export returns 1 for success, never throws, and
// takes its turn when called from several threads.
#include "beside_this_module.h"
#include "card_file_writer.h"
#include "card_text.h"
#include "platform/files.h"
#include "sam_base_message.h"
#include "sam_frame.h"
#include "sdtapi.h"
#include "unpack.h"

#include <windows.h>

#include <mutex>
#include <vector>

namespace termb {

namespace {

constexpr int kSuccess = 1;
constexpr int kFailure = 0;

// The transport hands over exactly the card's text block and portrait.
static_assert(card::kTextBlockSize == sam::kBaseTextSize && card::kPhotoSize == sam::kBasePhotoSize);

struct Transport {
    SamOpenPortFn openPort = nullptr;
    SamClosePortFn closePort = nullptr;
    SamModuleStatusFn moduleStatus = nullptr;
    SamFindCardFn findCard = nullptr;
    SamSelectCardFn selectCard = nullptr;
    SamReadTextAndPhotoFn readTextAndPhoto = nullptr;

    bool Complete() const {
        return openPort && closePort && moduleStatus && findCard && selectCard && readTextAndPhoto;
    }
};

std::mutex& Turn() {
    static std::mutex turn;
    return turn;
}

// sdtapi.dll, loaded on first use and kept; tried again on a later call while it is
// missing. Called with the turn held.
const Transport* LoadedTransport() {
    static Transport transport;
    if (transport.Complete()) return &transport;
    const HMODULE module = LoadBesideThisModule(L"sdtapi.dll");
    if (!module) return nullptr;
    transport.openPort = FindExport<SamOpenPortFn>(module, "SamOpenPort");
    transport.closePort = FindExport<SamClosePortFn>(module, "SamClosePort");
    transport.moduleStatus = FindExport<SamModuleStatusFn>(module, "SamModuleStatus");
    transport.findCard = FindExport<SamFindCardFn>(module, "SamFindCard");
    transport.selectCard = FindExport<SamSelectCardFn>(module, "SamSelectCard");
    transport.readTextAndPhoto = FindExport<SamReadTextAndPhotoFn>(module, "SamReadTextAndPhoto");
    return transport.Complete() ? &transport : nullptr;
}

// UnPack.dll's decoder, looked up on each read: it is optional.
DecodePortraitFn LoadedDecoder() {
    static HMODULE module = nullptr;
    if (!module) module = LoadBesideThisModule(L"UnPack.dll");
    return FindExport<DecodePortraitFn>(module, "DecodePortrait");
}

// Runs an export's body in its turn; nothing it throws crosses the DLL's border.
template <typename Body>
int Exported(Body body) noexcept {
    try {
        std::lock_guard turn(Turn());
        return body();
    } catch (...) {
        return kFailure;
    }
}

int InitComm(int port) {
    const Transport* transport = LoadedTransport();
    if (!transport) return kFailure;
    // Opening closes an earlier port; an absent port or a number outside 1..255 fails here
    // at once, and only a port that opened is asked whether a module answers on it.
    if (transport->openPort(port) != 1) return kFailure;
    if (transport->moduleStatus() == sam::kSuccess) return kSuccess;
    transport->closePort();
    return kFailure;
}

int Authenticate() {
    const Transport* transport = LoadedTransport();
    if (!transport) return kFailure;
    if (transport->findCard() != sam::kCardFound) return kFailure;
    return transport->selectCard() == sam::kSuccess ? kSuccess : kFailure;
}

// A decoded portrait when UnPack.dll can make one; ours cannot, so normally nothing.
void DecodePortraitBeside(const std::wstring& directory, const std::vector<std::uint8_t>& portrait) {
    const DecodePortraitFn decode = LoadedDecoder();
    if (!decode) return;
    std::vector<std::uint8_t> bmp(unpack::kBmpCapacity);
    const int length = decode(portrait.data(), static_cast<int>(portrait.size()), bmp.data(),
                              static_cast<int>(bmp.size()));
    if (length <= 0 || length > static_cast<int>(bmp.size())) return;
    platform::WriteFileWhole(platform::JoinPath(directory, kDecodedPortraitFile),
                             std::span(bmp).first(static_cast<std::size_t>(length)));
}

int ReadContent(int mode) {
    const std::wstring directory = ThisModuleDirectory();
    if (directory.empty()) return kFailure;
    // Whatever happens next, no earlier card's files are left for the next reader to take.
    if (!RemoveCardFiles(directory)) return kFailure;
    // Every mode the family knows (1..4) reads text and photo.
    if (mode < 1 || mode > 4) return kFailure;
    const Transport* transport = LoadedTransport();
    if (!transport) return kFailure;

    std::vector<std::uint8_t> text(card::kTextBlockSize);
    std::vector<std::uint8_t> portrait(card::kPhotoSize);
    if (transport->readTextAndPhoto(text.data(), portrait.data()) != sam::kSuccess) return kFailure;
    const std::optional<card::CardFields> fields = card::ParseTextBlock(text);
    if (!fields) return kFailure;  // a layout we do not know is refused, not misread
    if (!WriteCardFiles(directory, card::CardFileFields(*fields), portrait)) return kFailure;
    DecodePortraitBeside(directory, portrait);
    return kSuccess;
}

int CloseComm() {
    if (const Transport* transport = LoadedTransport()) transport->closePort();
    return kSuccess;
}

}  // namespace

}  // namespace termb

extern "C" {

int __stdcall CVR_InitComm(int port) {
    return termb::Exported([&] { return termb::InitComm(port); });
}

int __stdcall CVR_Authenticate() {
    return termb::Exported([] { return termb::Authenticate(); });
}

int __stdcall CVR_Read_Content(int mode) {
    return termb::Exported([&] { return termb::ReadContent(mode); });
}

int __stdcall CVR_CloseComm() {
    return termb::Exported([] { return termb::CloseComm(); });
}

}  // extern "C"
