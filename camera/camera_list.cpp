#include "camera/camera_list.h"

#include <algorithm>

namespace camera {

bool IsAllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::string> SplitCameraList(const char* text) {
    std::vector<std::string> names;
    if (!text) return names;
    std::string_view rest(text);
    while (true) {
        const std::size_t bar = rest.find('|');
        const std::string_view field = rest.substr(0, bar);
        // The component puts each device's index before its name; those fields are no devices.
        if (!field.empty() && !IsAllDigits(field)) names.emplace_back(field);
        if (bar == std::string_view::npos) break;
        rest.remove_prefix(bar + 1);
    }
    return names;
}

}  // namespace camera
