// A stand-in for a reader maker's own termb.dll, as an operator copies it beside orvia.exe for
// a USB reader: the same four functions, no Orvia version resource, a reader only on port
// 1001 (the first USB port of that interface) and always the same card on it. Reading the
// card writes wz.txt beside this library in code page 936, eight fields joined by CR LF, as
// the makers' libraries write it.
#include "platform/files.h"
#include "platform/module_directory.h"
#include "platform/win_text.h"

#include <windows.h>

#include <string>

namespace {

constexpr int kUsbPort = 1001;
constexpr UINT kGbkCodePage = 936;
bool g_open = false;

// 王小明, male, Han, born 1 March 1990, Beijing, the ID number, the police office, valid 2015–2035.
// ORVIA_MAKER_CARD_ID gives another ID number, written as it is (a maker's library may pad an
// old 15-digit number with spaces to the field's 18 characters).
constexpr wchar_t kBeforeIdNumber[] = L"王小明\r\n男\r\n汉\r\n19900301\r\n北京市东城区景山前街4号\r\n";
constexpr wchar_t kIdNumber[] = L"110101199003010015";
constexpr wchar_t kAfterIdNumber[] = L"\r\n北京市公安局东城分局\r\n2015.03.01-2035.03.01";

std::wstring CardText() {
    wchar_t id[64] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"ORVIA_MAKER_CARD_ID", id, 64);
    const std::wstring number = length > 0 && length < 64 ? std::wstring(id, length) : std::wstring(kIdNumber);
    return kBeforeIdNumber + number + kAfterIdNumber;
}

std::wstring BesideThisLibrary(const wchar_t* name) {
    const HMODULE self = platform::ModuleContaining(reinterpret_cast<const void*>(&BesideThisLibrary));
    return platform::JoinPath(platform::ModuleDirectory(self), name);
}

}  // namespace

extern "C" {

int __stdcall CVR_InitComm(int port) {
    g_open = port == kUsbPort;
    return g_open ? 1 : 0;
}

int __stdcall CVR_Authenticate() { return g_open ? 1 : 0; }

int __stdcall CVR_Read_Content(int mode) {
    if (!g_open || mode != 4) return 0;
    const std::string bytes = platform::ToCodePage(CardText(), kGbkCodePage);
    const auto span = std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return platform::WriteWholeFile(BesideThisLibrary(L"wz.txt"), span) ? 1 : 0;
}

int __stdcall CVR_CloseComm() {
    g_open = false;
    return 1;
}

}  // extern "C"
