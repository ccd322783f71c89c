#include "photo/image_encoding.h"

namespace photo {

bool EncodeImage(std::span<const std::uint8_t>, EncoderFormat, const std::wstring&, std::vector<std::uint8_t>&,
                 WriteOutcome* outcome) {
    if (outcome) *outcome = WriteOutcome::NotAsked;
    return false;
}

}  // namespace photo
