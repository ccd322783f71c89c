// The demonstration camera: the moving test pattern at 1280 x 720 and 30 frames a second,
// through the same presenter as a real device. Listed only when ORVIA_DEMO_DEVICES=1.
//
// ORVIA_DEMO_CAMERA_FAULT makes it misbehave the way real devices do, for tests:
//   "unplugged"  delivers frames for half a second, then ends as a device pulled out;
//   "frozen"     delivers one frame, then nothing, yet keeps running;
//   "slow-stop"  takes three seconds to stop, as a driver stuck in its stop call.
// ORVIA_DEMO_PHOTO and ORVIA_DEMO_PHOTO_PLACE make it play a still photo (still_photo.h).
// ORVIA_DEMO_MARKER makes it show one colour, the one a file names (the trainee's "face").
#pragma once

#include "capture_thread.h"
#include "presenter.h"

#include <memory>

namespace vedio {

inline constexpr wchar_t kSyntheticCameraName[] = L"Orvia Demo Camera";

// Whether the demonstration devices are switched on for this process.
bool DemoDevicesEnabled();

// Runs until `stop`: draws and presents one pattern frame every 1/30 s.
void RunSyntheticCamera(const std::shared_ptr<Presenter>& presenter, const StopSignal& stop);

}  // namespace vedio
