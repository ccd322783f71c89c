// A component DLL loaded by its full path, never through the DLL search path. Its own
// dependencies are looked up beside it first.
#pragma once

#include "platform/owners.h"

#include <string>

namespace platform {

class ComponentLibrary {
public:
    ComponentLibrary() = default;
    explicit ComponentLibrary(const std::wstring& fullPath)
        : module_(::LoadLibraryExW(fullPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {}

    explicit operator bool() const { return static_cast<bool>(module_); }

    // The export as a function pointer of type Fn, or null.
    template <typename Fn>
    Fn Find(const char* name) const {
        if (!module_) return nullptr;
        // Through void(*)(), which converts to any function pointer type without warnings.
        return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module_.get(), name)));
    }

private:
    UniqueModule module_;
};

}  // namespace platform
