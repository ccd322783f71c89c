// Marks along the program's start-up, for the start-up benchmark. With ORVIA_STARTUP_TRACE
// naming a file, each mark appends a line "<step> <milliseconds since the process was
// created>" to it, so the benchmark splits a start into its steps as they really happened,
// the process's own creation and imports included. Without the variable a mark does nothing.
#pragma once

#include <string_view>

namespace platform {

void MarkStartup(std::string_view step);

}  // namespace platform
