// Whether the Main window may close: with photos taken or adjusted since the last save,
// the operator is asked first.
#pragma once

namespace photo {
class PhotoSlots;
}

namespace app {

// True at once when nothing is unsaved; otherwise the operator's answer (OK closes).
bool MayCloseMainWindow(const photo::PhotoSlots& photos);

}  // namespace app
