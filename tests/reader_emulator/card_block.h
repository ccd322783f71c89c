// The 256-byte text block a sample card gives the module: the resident and permit cards
// in the layout the reader interface knows, the foreign card in the permanent-residence
// layout of foreigners, which it must refuse.
#pragma once

#include "sample_card.h"

#include <cstdint>
#include <vector>

namespace emulator {

std::vector<std::uint8_t> TextBlockOf(const SampleCard& card);

}  // namespace emulator
