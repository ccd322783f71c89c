// The resources the program carries inside its executable.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace platform {

// The bytes of an RCDATA resource of the program itself (empty when it is missing). They
// live as long as the program.
std::span<const std::uint8_t> ProgramResource(std::wstring_view name);

}  // namespace platform
