// Naming the next trainee empties the slots; photos the disk does not have (unsaved work,
// photo/unsaved_work.h) are emptied only when the operator says so.
#pragma once

namespace photo {
class PhotoSlots;
}
namespace reader {
struct IdentityChange;
}

namespace app {

// Whether the Student identity may change as `change` says; when it may, the slots are
// made ready for the trainee named next. Asks the operator, naming how many photos would
// be lost, when a slot holds unsaved work; No (the default) keeps the name and the slots.
bool MayNameNextTrainee(photo::PhotoSlots& photos, const reader::IdentityChange& change);

}  // namespace app
