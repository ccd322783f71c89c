// The text a window gives back when a test asks it about one of its controls:
// "key=value" lines, with backslash, CR and LF escaped in the values.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ui {

using ReportFields = std::vector<std::pair<std::string, std::string>>;

std::string FormatReport(const ReportFields& fields);
std::map<std::string, std::string> ParseReport(std::string_view text);

// WM_COPYDATA tags of the question (the control's name, UTF-16) and of the answer.
inline constexpr unsigned long kControlQueryTag = 0x4F525601;
inline constexpr unsigned long kControlReportTag = 0x4F525602;

}  // namespace ui
