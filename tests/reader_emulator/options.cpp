#include "options.h"

#include "com_link.h"

#include <charconv>
#include <string_view>

#ifndef ORVIA_READER_CARDS_DIR
#define ORVIA_READER_CARDS_DIR "cards"
#endif

namespace emulator {

const char kUsage[] =
    "usage: orvia_reader_emulator --com N --control DIR [--card NAME] [--fault FAULT]\n"
    "                             [--cards DIR] [--prefix WINEPREFIX] [--replace]\n"
    "                             [--parent-pid PID] [--lifetime S] [--heartbeat S]\n"
    "Serves an ID-card reader module on a pty linked as COM<N> of the Wine prefix\n"
    "($WINEPREFIX by default) until DIR/stop appears or it is told to end.\n";

namespace {

bool Number(std::string_view text, int low, int high, int& out) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) return false;
    out = value;
    return true;
}

}  // namespace

std::optional<Options> ParseOptions(int argc, char** argv, std::string* error) {
    Options options;
    options.cards = ORVIA_READER_CARDS_DIR;
    options.prefix = DefaultWinePrefix();
    auto fail = [&](std::string reason) {
        if (error) *error = std::move(reason);
        return std::nullopt;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string_view name = argv[i];
        if (name == "--replace") {
            options.replace = true;
            continue;
        }
        if (i + 1 >= argc) return fail(std::string(name) + " needs a value");
        const std::string_view value = argv[++i];
        int number = 0;
        if (name == "--com") {
            if (!Number(value, 1, 255, options.com)) return fail("--com takes 1..255");
        } else if (name == "--control") {
            options.control = value;
        } else if (name == "--card") {
            options.card = std::string(value);
        } else if (name == "--fault") {
            options.fault = std::string(value);
        } else if (name == "--cards") {
            options.cards = value;
        } else if (name == "--prefix") {
            options.prefix = value;
        } else if (name == "--parent-pid") {
            if (!Number(value, 1, 1 << 30, number)) return fail("--parent-pid takes a process id");
            options.parentPid = number;
        } else if (name == "--lifetime") {
            if (!Number(value, 0, 1 << 30, options.lifetimeSeconds)) return fail("--lifetime takes seconds");
        } else if (name == "--heartbeat") {
            if (!Number(value, 0, 1 << 30, options.heartbeatSeconds)) return fail("--heartbeat takes seconds");
        } else {
            return fail("unknown option " + std::string(name));
        }
    }
    if (options.com == 0) return fail("--com is missing");
    if (options.control.empty()) return fail("--control is missing");
    if (options.prefix.empty()) return fail("no Wine prefix: set WINEPREFIX or pass --prefix");
    return options;
}

}  // namespace emulator
