#include "camera_control.h"

namespace vcam {

namespace {

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view kSpace = " \t\r";
    const auto first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

}  // namespace

Control ParseControl(std::string_view text) {
    Control control;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line == "stall") {
            control.stall = true;
        } else if (line == "lose") {
            control.lose = true;
        } else if (line == "fail-start") {
            control.failStart = true;
        } else if (line.starts_with("only ")) {
            control.only = FormatNamed(Trimmed(line.substr(5)));
        }
    }
    return control;
}

}  // namespace vcam
