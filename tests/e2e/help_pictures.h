// The pictures Orvia shows about itself: the help page's illustrations, recorded from a
// running Orvia, and the Contact window's card.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// Walks a running Orvia with its demonstration camera (orvia started with
// ORVIA_DEMO_DEVICES=1, nothing done in it yet) through the main steps and writes into
// `directory`: camera.gif (start the camera), zoom_pan.gif (zoom and pan), capture.gif
// (take photos), brighten_save.gif (brighten and save) and window.png (the whole window).
// False, with the reason on stderr, when a step did not come about.
bool RecordHelpPictures(HWND mainWindow, const std::wstring& directory);

// The Contact window's picture: a 512 x 512 JPEG card saying what Orvia is and where its
// help is.
bool DrawContactCard(const std::wstring& path);

}  // namespace e2e
