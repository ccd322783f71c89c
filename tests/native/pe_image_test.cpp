#include "platform/pe_image.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using platform::MachineOf;
using platform::PeMachine;

// A file start with the DOS signature, the PE header at `at` and the machine given.
std::vector<std::uint8_t> Image(std::uint32_t at, std::uint16_t machine, std::size_t size = 512) {
    std::vector<std::uint8_t> bytes(size, 0);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    for (int i = 0; i < 4; ++i) bytes[0x3C + i] = static_cast<std::uint8_t>(at >> (8 * i));
    if (std::size_t{at} + 6 <= size) {
        bytes[at] = 'P';
        bytes[at + 1] = 'E';
        bytes[at + 4] = static_cast<std::uint8_t>(machine);
        bytes[at + 5] = static_cast<std::uint8_t>(machine >> 8);
    }
    return bytes;
}

TEST(PeImage, TellsThirtyTwoFromSixtyFourBitImages) {
    EXPECT_EQ(MachineOf(Image(0x80, 0x014C)), PeMachine::X86);
    EXPECT_EQ(MachineOf(Image(0x80, 0x8664)), PeMachine::X64);
    EXPECT_EQ(MachineOf(Image(0xF8, 0xAA64)), PeMachine::Other);  // ARM64
}

TEST(PeImage, AnythingElseIsUnknownAndNeverReadPastItsBytes) {
    EXPECT_EQ(MachineOf({}), PeMachine::Unknown);
    EXPECT_EQ(MachineOf(std::vector<std::uint8_t>(64, 'M')), PeMachine::Unknown);
    auto text = Image(0x80, 0x014C);
    text[0] = 'P';  // no DOS signature
    EXPECT_EQ(MachineOf(text), PeMachine::Unknown);
    auto noPe = Image(0x80, 0x014C);
    noPe[0x81] = 'X';
    EXPECT_EQ(MachineOf(noPe), PeMachine::Unknown);
    // The header offset points at, near or far past the end of what was read.
    for (std::uint32_t at : {507u, 508u, 511u, 512u, 0xFFFFFFF0u, 0xFFFFFFFFu})
        EXPECT_EQ(MachineOf(Image(at, 0x014C, 512)), PeMachine::Unknown) << at;
    EXPECT_EQ(MachineOf(Image(506, 0x014C, 512)), PeMachine::X86);  // the last place it fits
}

}  // namespace
