// A component DLL loaded by its full path, never through the DLL search path. Its own
// dependencies are looked up beside it first.
#pragma once

#include "platform/owners.h"

#include <string>
#include <string_view>

namespace platform {

// A library of the system folder by its full path (never found through the search path);
// empty when the system folder cannot be read.
std::wstring SystemLibraryPath(std::wstring_view name);

class ComponentLibrary {
public:
    ComponentLibrary() = default;
    explicit ComponentLibrary(const std::wstring& fullPath);

    explicit operator bool() const { return static_cast<bool>(module_); }

    // The export as a function pointer of type Fn, or null.
    template <typename Fn>
    Fn Find(const char* name) const {
        if (!module_) return nullptr;
        // Through void(*)(), which converts to any function pointer type without warnings.
        return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module_.get(), name)));
    }

    // Keeps the library in the process until it ends, whatever frees it later: for a library
    // whose own threads may still run its code while the process shuts down. False when
    // nothing is loaded or the system refused.
    bool PinForProcessLifetime() const;

    // Why a file that is there could not be loaded, in words for the operator ("“termb.dll”
    // 是 64 位的库……" and what to do); empty when it loaded, or when there is no file.
    std::string Problem() const;

private:
    std::wstring path_;
    UniqueModule module_;
    unsigned long loadError_ = 0;
};

}  // namespace platform
