// COM streams over bytes in memory, for the codecs that read and write through IStream.
#pragma once

#include "platform/com_ptr.h"

#include <objidl.h>

#include <cstdint>
#include <span>
#include <vector>

namespace platform {

// A stream over a copy of `bytes`, or, for none, an empty one that grows as it is written;
// null when it cannot be had.
ComPtr<IStream> MemoryStream(std::span<const std::uint8_t> bytes = {});

// Everything the stream holds, from its start; empty when it cannot be read.
std::vector<std::uint8_t> StreamBytes(IStream* stream);

}  // namespace platform
