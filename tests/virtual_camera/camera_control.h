// What the tests tell the virtual camera, as lines of a small text file whose path the
// environment variable ORVIA_VIRTUAL_CAMERA_CONTROL gives. The camera reads the file when
// it lists its formats, when it starts and before every frame, so a test changes its
// behaviour while it runs. Unknown lines are ignored.
//   only YUY2      offer that one format (YUY2, NV12 or RGB24), in every size
//   stall          deliver no frames while the line is there
//   lose           report the device lost once, then deliver nothing more
//   fail-start     refuse to start (pause and run fail)
#pragma once

#include "camera_pattern.h"

#include <optional>
#include <string_view>

namespace vcam {

struct Control {
    std::optional<PixelFormat> only;
    bool stall = false;
    bool lose = false;
    bool failStart = false;
    friend bool operator==(const Control&, const Control&) = default;
};

Control ParseControl(std::string_view text);

inline constexpr char kControlVariable[] = "ORVIA_VIRTUAL_CAMERA_CONTROL";

}  // namespace vcam
