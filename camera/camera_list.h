// The camera component's list text: "index|name|" per device.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace camera {

// False for an empty text; true when every character is an ASCII digit.
bool IsAllDigits(std::string_view text);

// The device names of a camera list text, in order: every field between "|" that is
// neither empty nor all digits. A null text gives none.
std::vector<std::string> SplitCameraList(const char* text);

}  // namespace camera
