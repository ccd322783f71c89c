// Whether the Main window may close (Esc, the close button, Windows ending the session):
// with unsaved work in a slot (photo/unsaved_work.h) the operator is asked first.
#pragma once

namespace photo {
class PhotoSlots;
}

namespace app {

// True at once when nothing is unsaved; otherwise the operator's answer (OK closes,
// Cancel, the default, keeps the program and the photos).
bool MayCloseMainWindow(const photo::PhotoSlots& photos);

}  // namespace app
