// termb.dll's own directory (the program directory) and the DLLs it loads from there by
// full path, never through the DLL search path.
#pragma once

#include <windows.h>

#include <string>

namespace termb {

// The directory this DLL was loaded from, without a trailing separator; empty when the
// system does not say.
std::wstring ThisModuleDirectory();

// `name` loaded from ThisModuleDirectory(), or null. The caller keeps the module for the
// rest of the process: it is never freed from DllMain.
HMODULE LoadBesideThisModule(const wchar_t* name);

// The export `name` of `module` as a function pointer of type Fn, or null.
template <typename Fn>
Fn FindExport(HMODULE module, const char* name) {
    // Through void(*)(), which converts to any function pointer type without warnings.
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name))) : nullptr;
}

}  // namespace termb
