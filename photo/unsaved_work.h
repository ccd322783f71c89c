// One definition of unsaved work, for every question that could lose a photo: the next
// trainee, Esc, the close button and Windows ending the session. A slot holds unsaved work
// when its picture, brightness included, was never written to disk under the Student
// identity shown now. Every picture written under an identity stays on disk: the newest as
// <identity>.jpg, each one it replaced in 已替换.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace photo {

class SavedWork {
public:
    // `picture` was written to disk as `identity`'s photo. A save under another identity
    // starts that identity's record: the slots are emptied when a trainee is named, so the
    // pictures of the one before are never asked about again.
    void Written(std::string_view identity, std::span<const std::uint8_t> picture);

    // Whether a slot holding `picture` holds work the disk does not have while `identity`
    // is shown. An empty slot holds none.
    bool IsUnsaved(std::span<const std::uint8_t> picture, std::string_view identity) const;

    // How many of `slots` hold unsaved work under `identity`.
    int CountUnsaved(std::span<const std::vector<std::uint8_t>> slots, std::string_view identity) const;

private:
    std::string identity_;
    std::vector<std::vector<std::uint8_t>> written_;  // each picture once, as it was written
};

}  // namespace photo
