#include "platform/program_directory.h"

#include "platform/files.h"

#include <windows.h>

namespace platform {

std::wstring ProgramDirectory() {
    // Paths may be longer than MAX_PATH; grow until the whole name fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return L".";
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

std::wstring BesideProgram(std::wstring_view name) { return JoinPath(ProgramDirectory(), name); }

}  // namespace platform
