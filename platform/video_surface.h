// The window our camera component (VedioCapture.dll) draws into, as the program may ask
// it: its class, and a registered message whose answer says what it shows, so that a
// capture can wait out the stand-in of a restart. A maker's camera library has no such
// window, and the program then asks nothing. Portable: the message is registered by name.
#pragma once

namespace platform {

inline constexpr wchar_t kVideoSurfaceClass[] = L"Orvia.VideoSurface";
// RegisterWindowMessageW(kVideoSurfaceQuery), sent with no parameters.
inline constexpr wchar_t kVideoSurfaceQuery[] = L"Orvia.VideoSurface.Shows";

// The answer to the query.
enum class SurfaceShows : int {
    Nothing = 0,  // black, or the notice that the picture has stopped
    Live = 1,     // a frame of the camera as it runs now
    StandIn = 2,  // the picture before a restart, stretched, until the new start's first frame
};

}  // namespace platform
