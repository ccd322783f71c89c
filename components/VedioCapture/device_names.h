// Device names as the camera list text carries them.
#pragma once

#include <string>
#include <string_view>

namespace vedio {

// A "|" would split a name in two and a control character has no business in a list; a
// name that is empty or all digits would be skipped by whoever reads the list, shifting
// the index of every camera after it, so it gets a word in front.
std::u16string ListableName(std::u16string_view name);

}  // namespace vedio
