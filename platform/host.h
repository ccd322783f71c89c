// What the program runs on and was started with: whether under Wine (for the few places
// where Wine behaves otherwise than Windows and the program makes up for it), and its
// environment variables.
#pragma once

#include <optional>
#include <string>

namespace platform {

bool RunsUnderWine();

// The variable's value, of any length; nullopt when it is not set.
std::optional<std::wstring> EnvironmentValue(const wchar_t* name);

}  // namespace platform
