// Which processor a Windows executable or DLL is built for, from the first bytes of its file.
// Portable, so it is tested natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace platform {

enum class PeMachine { Unknown, X86, X64, Other };

// How many bytes of the file's start MachineOf needs at most: the DOS header points to the
// PE header, which lies within the first page in every linker's output.
inline constexpr std::size_t kPeHeaderBytes = 4096;

// The machine of the PE image whose first bytes are `start`; Unknown when they are no PE
// image (or the header lies beyond them).
PeMachine MachineOf(std::span<const std::uint8_t> start);

// The machine this program is built for.
constexpr PeMachine ThisProgramMachine() { return sizeof(void*) == 8 ? PeMachine::X64 : PeMachine::X86; }

}  // namespace platform
