#include "platform/program_resource.h"

#include <windows.h>

#include <string>

namespace platform {

std::span<const std::uint8_t> ProgramResource(std::wstring_view name) {
    const std::wstring id(name);
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC info = ::FindResourceW(module, id.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!info) return {};
    HGLOBAL loaded = ::LoadResource(module, info);  // resources live as long as the module
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes) return {};
    return {static_cast<const std::uint8_t*>(bytes), ::SizeofResource(module, info)};
}

}  // namespace platform
