#include "photo/unsaved_work.h"

#include <algorithm>

namespace photo {

namespace {
bool Same(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}
}  // namespace

void SavedWork::Written(std::string_view identity, std::span<const std::uint8_t> picture) {
    if (identity != identity_) {
        identity_ = identity;
        written_.clear();
    }
    if (picture.empty() || !IsUnsaved(picture, identity)) return;
    written_.emplace_back(picture.begin(), picture.end());
}

bool SavedWork::IsUnsaved(std::span<const std::uint8_t> picture, std::string_view identity) const {
    if (picture.empty()) return false;
    if (identity != identity_) return true;
    return std::none_of(written_.begin(), written_.end(),
                        [&](const std::vector<std::uint8_t>& written) { return Same(written, picture); });
}

int SavedWork::CountUnsaved(std::span<const std::vector<std::uint8_t>> slots, std::string_view identity) const {
    return static_cast<int>(
        std::count_if(slots.begin(), slots.end(), [&](const auto& picture) { return IsUnsaved(picture, identity); }));
}

}  // namespace photo
