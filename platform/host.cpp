#include "platform/host.h"

#include <windows.h>

namespace platform {

bool RunsUnderWine() {
    // Wine's ntdll exports its version; Windows' has no such function.
    static const bool wine = [] {
        const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
        return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
    }();
    return wine;
}

}  // namespace platform
