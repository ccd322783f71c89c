// The tests' instructions to the virtual camera, read afresh on every call (see camera_control.h).
#pragma once

#include "camera_control.h"

namespace vcam {

// The control file named by ORVIA_VIRTUAL_CAMERA_CONTROL, parsed; no instructions when the
// variable is unset or the file is missing.
Control ReadControl();

}  // namespace vcam
