#include "beside_this_module.h"

#include "platform/files.h"
#include "platform/module_directory.h"

namespace termb {

std::wstring ThisModuleDirectory() {
    HMODULE self = platform::ModuleContaining(reinterpret_cast<const void*>(&ThisModuleDirectory));
    return self ? platform::ModuleDirectory(self) : std::wstring();
}

HMODULE LoadBesideThisModule(const wchar_t* name) {
    const std::wstring directory = ThisModuleDirectory();
    if (directory.empty()) return nullptr;
    const std::wstring path = platform::JoinPath(directory, name);
    return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace termb
