// Where a module (the program, one of its component DLLs) lies on disk.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

// The module whose code or data holds `address` (a function of the caller's own module);
// null when the system does not say. Its reference count is left as it was.
HMODULE ModuleContaining(const void* address);

// The directory `module` was loaded from (null: the executable), without a trailing
// separator; empty when the system does not say.
std::wstring ModuleDirectory(HMODULE module);

}  // namespace platform
