// The emulator's command line.
//
//   orvia_reader_emulator --com N --control DIR [--card NAME] [--fault FAULT]
//                         [--cards DIR] [--prefix WINEPREFIX] [--replace]
//                         [--parent-pid PID] [--lifetime S] [--heartbeat S]
#pragma once

#include <optional>
#include <string>
#include <sys/types.h>

namespace emulator {

struct Options {
    int com = 0;                       // links <prefix>/dosdevices/com<com>
    std::string control;               // the control directory (see control_dir.h)
    std::optional<std::string> card;   // written to control/card at start
    std::optional<std::string> fault;  // written to control/fault at start
    std::string cards;                 // where card names are looked up
    std::string prefix;                // the Wine prefix
    bool replace = false;              // take over a live comN link (put back at the end)
    pid_t parentPid = 0;               // end when this process has gone
    int lifetimeSeconds = 0;           // end after this long (0: no limit)
    int heartbeatSeconds = 0;          // end when control/heartbeat is older (0: not watched)
};

// The options, or nullopt with what is wrong in `error`.
std::optional<Options> ParseOptions(int argc, char** argv, std::string* error);

extern const char kUsage[];

}  // namespace emulator
