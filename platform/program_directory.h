// The directory of the running executable, without a trailing separator.
#pragma once

#include <string>

namespace platform {

std::wstring ProgramDirectory();
// ProgramDirectory() + L"\\" + name.
std::wstring BesideProgram(std::wstring_view name);

}  // namespace platform
