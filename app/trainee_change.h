// Naming the next trainee: a save ends a trainee, and a trainee named before a photo of the
// current one was saved costs those photos only when the operator says so.
#pragma once

namespace photo {
class PhotoSlots;
}
namespace reader {
struct IdentityChange;
}

namespace app {

// Whether the Student identity may change as `change` says; when it may, the slots are
// made ready for the trainee named next. Asks the operator when the current trainee has
// photos and none saved since naming.
bool MayNameNextTrainee(photo::PhotoSlots& photos, const reader::IdentityChange& change);

}  // namespace app
