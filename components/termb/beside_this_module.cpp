#include "beside_this_module.h"

#include "platform/files.h"

namespace termb {

std::wstring ThisModuleDirectory() {
    HMODULE self = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCWSTR>(&ThisModuleDirectory), &self)) {
        return {};
    }
    // Long paths are cut silently to the buffer: grow it until the whole path fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(self, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
    const std::size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos) return {};
    path.resize(separator);
    return path;
}

HMODULE LoadBesideThisModule(const wchar_t* name) {
    const std::wstring directory = ThisModuleDirectory();
    if (directory.empty()) return nullptr;
    const std::wstring path = platform::JoinPath(directory, name);
    return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace termb
