#include "platform/pe_image.h"

namespace platform {

namespace {
constexpr std::size_t kNewHeaderOffsetAt = 0x3C;  // e_lfanew in the DOS header
constexpr std::uint16_t kMachineX86 = 0x014C;
constexpr std::uint16_t kMachineX64 = 0x8664;

std::uint32_t Little(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i) value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    return value;
}
}  // namespace

PeMachine MachineOf(std::span<const std::uint8_t> start) {
    if (start.size() < kNewHeaderOffsetAt + 4 || start[0] != 'M' || start[1] != 'Z') return PeMachine::Unknown;
    const std::uint32_t pe = Little(start, kNewHeaderOffsetAt, 4);
    // "PE\0\0", then the machine: six bytes from the header's start.
    if (pe > start.size() || start.size() - pe < 6) return PeMachine::Unknown;
    if (start[pe] != 'P' || start[pe + 1] != 'E' || start[pe + 2] != 0 || start[pe + 3] != 0) return PeMachine::Unknown;
    switch (Little(start, pe + 4, 2)) {
    case kMachineX86: return PeMachine::X86;
    case kMachineX64: return PeMachine::X64;
    default: return PeMachine::Other;
    }
}

}  // namespace platform
